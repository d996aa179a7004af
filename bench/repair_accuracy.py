#!/usr/bin/python3
"""Accuracy of the "Авто" repair on garbled held-out text, beside ftfy.

  bench/repair_accuracy.py [BUILD_DIR] [PER_BUCKET]

Writes the held-out part of the detector's corpus (see
scripts/build_detector_stats.py; needs manpages-ru), makes garbled cases of
it with bench/repair_cases.py (Python's codecs), runs
BUILD_DIR/bench/repair_accuracy on them and ftfy's fix_encoding (from
../shared/peers/ftfy-src, never a dependency) on the same inputs, and prints
per class and length bucket the share repaired exactly (for the classes of
correct text: left exactly as it was), then the misses of ours, then the
speed line. ftfy is given the text classes only: it reads no bytes.
"""

import os
import subprocess
import sys
import tempfile
import shutil

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PEERS = os.path.join(os.path.dirname(ROOT), "shared", "peers", "ftfy-src")
BUCKETS = ["8-30", "31-120", "121+"]


def load_ftfy():
    for base in (PEERS, os.path.join("/work", "shared", "peers", "ftfy-src")):
        if os.path.isdir(base):
            sys.path[:0] = [base, os.path.join(base, "standin")]
            try:
                import ftfy
                return ftfy
            except ImportError:
                pass
    return None


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build")
    per_bucket = sys.argv[2] if len(sys.argv) > 2 else "200"
    work = tempfile.mkdtemp(prefix="repair_accuracy.")
    try:
        heldout = os.path.join(work, "heldout.txt")
        subprocess.run([os.path.join(ROOT, "scripts", "build_detector_stats.py"),
                        "--heldout", heldout], check=True, stdout=subprocess.DEVNULL)
        cases = os.path.join(work, "cases")
        subprocess.run([os.path.join(ROOT, "bench", "repair_cases.py"), heldout, cases,
                        per_bucket], check=True)
        # Timing text: the held-out text as UTF-8.
        timing = os.path.join(work, "timing.txt")
        with open(heldout, "rb") as f, open(timing, "wb") as t:
            t.write(f.read().replace(b"\x98", b"").decode("cp1251").encode("utf-8"))
        out = subprocess.run([os.path.join(build, "bench", "repair_accuracy"), cases, timing],
                             check=True, capture_output=True, text=True).stdout
        ours, timing_line = {}, ""
        for line in out.splitlines():
            if line.startswith("timing:"):
                timing_line = line
                continue
            key, ok = line.split()
            ours[key] = ok == "1"

        ftfy = load_ftfy()
        theirs = {}
        if ftfy:
            for key in ours:
                if key.startswith("bytes_"):
                    continue
                base = os.path.join(cases, key)
                with open(base + ".in", encoding="utf-8") as f:
                    source = f.read()
                with open(base + ".out", encoding="utf-8") as f:
                    expected = f.read()
                theirs[key] = ftfy.fix_encoding(source) == expected

        classes = sorted({k.split("/")[0] for k in ours})
        print(f"{'class':28} {'bucket':7} {'cases':>6} {'ours':>8} {'ftfy':>8}")
        for klass in classes:
            for bucket in BUCKETS + ["all"]:
                keys = [k for k in ours if k.split("/")[0] == klass and
                        (bucket == "all" or k.split("/")[1] == bucket)]
                if not keys:
                    continue
                right = sum(ours[k] for k in keys)
                line = f"{klass:28} {bucket:7} {len(keys):6} {100 * right / len(keys):7.2f}%"
                if theirs and not klass.startswith("bytes_"):
                    line += f" {100 * sum(theirs[k] for k in keys) / len(keys):7.2f}%"
                else:
                    line += f" {'-':>8}"
                print(line)
        misses = sorted(k for k, ok in ours.items() if not ok)
        print(f"\nmisses of ours ({len(misses)}):")
        for k in misses[:40]:
            print("  " + k)
        print("\n" + timing_line)
        if not ftfy:
            print("(ftfy not found beside the project: ../shared/peers/ftfy-src)")
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
