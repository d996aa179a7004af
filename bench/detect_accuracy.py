#!/usr/bin/python3
"""Accuracy of "Авто" on held-out text, beside uchardet and enca.

  bench/detect_accuracy.py [BUILD_DIR]

Writes the held-out part of the detector's corpus (see
scripts/build_detector_stats.py; needs manpages-ru) to a temporary folder,
runs BUILD_DIR/bench/detect_accuracy on it (our table: plain code pages,
garbled texts, speed), then runs `uchardet` and `enca -L ru` on the same
plain-encoded cases and prints the three side by side. A peer is right when
the encoding it names decodes the file to the original text. The
side-by-side table counts only the cases where the true encoding does that
with Python's codecs and some chain of ours does it too.
"""

import codecs
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PAGES = ["Windows-1251", "KOI8-R", "DOS 866", "ISO-8859-5", "Mac Cyrillic", "UTF-8"]
CODECS = ["cp1251", "koi8_r", "cp866", "iso8859_5", "mac_cyrillic", "utf-8"]
BUCKETS = ["8-30", "31-120", "121+"]
ALIASES = {"maccyrillic": "mac_cyrillic", "ascii": "ascii"}


def decodes_to(data, name, original):
    try:
        codec = codecs.lookup(ALIASES.get(name.lower(), name))
    except LookupError:
        return False
    text = data.decode(codec.name, errors="replace")
    return text.encode("cp1251", errors="replace") == original


def run_peer(command, files):
    """Encoding names by file, from one run per batch of files."""
    names = {}
    for i in range(0, len(files), 400):
        batch = files[i:i + 400]
        out = subprocess.run(command + batch, capture_output=True, text=True).stdout
        for line in out.splitlines():
            path, _, name = line.rpartition(": ")
            names[path] = name.strip()
    return names


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build")
    work = tempfile.mkdtemp(prefix="detect_accuracy.")
    try:
        heldout = os.path.join(work, "heldout.txt")
        subprocess.run([os.path.join(ROOT, "scripts", "build_detector_stats.py"),
                        "--heldout", heldout], check=True)
        cases = os.path.join(work, "cases")
        subprocess.run([os.path.join(build, "bench", "detect_accuracy"), heldout, cases],
                       check=True)

        ours = {}
        with open(os.path.join(cases, "ours.txt")) as f:
            for line in f:
                key, can, ok = line.split()
                ours[key] = (can == "1", ok == "1")

        peers = [("uchardet", ["uchardet"]), ("enca -L ru", ["enca", "-L", "ru", "-i"])]
        peers = [(label, cmd) for label, cmd in peers if shutil.which(cmd[0])]
        files = sorted(os.path.join(cases, k) for k in ours)
        named = {label: run_peer(cmd, files) for label, cmd in peers}

        print("\nPlain-encoded cases, right / counted (cases whose true encoding decodes back)")
        header = f"{'page':14} {'bucket':7} {'cases':>6} {'ours':>8}"
        for label, _ in peers:
            header += f" {label:>11}"
        print(header)
        totals = {}
        for p, page in enumerate(PAGES):
            for bucket in BUCKETS:
                counted = 0
                right = {"ours": 0, **{label: 0 for label, _ in peers}}
                folder = os.path.join(cases, bucket)
                n = 0
                while os.path.exists(os.path.join(folder, f"{n}.orig")):
                    key = f"{bucket}/{n}.{p}"
                    path = os.path.join(cases, key)
                    with open(os.path.join(folder, f"{n}.orig"), "rb") as f:
                        original = f.read()
                    with open(path, "rb") as f:
                        data = f.read()
                    n += 1
                    can, ok = ours[key]
                    if not can or not decodes_to(data, CODECS[p], original):
                        continue
                    counted += 1
                    right["ours"] += ok
                    for label, _ in peers:
                        right[label] += decodes_to(data, named[label].get(path, "?"), original)
                line = f"{page:14} {bucket:7} {counted:6} {100 * right['ours'] / counted:7.2f}%"
                for label, _ in peers:
                    line += f" {100 * right[label] / counted:10.2f}%"
                print(line)
                t = totals.setdefault(bucket, {"n": 0, **{k: 0 for k in right}})
                t["n"] += counted
                for k, v in right.items():
                    t[k] += v
        for bucket in BUCKETS:
            t = totals[bucket]
            line = f"{'all pages':14} {bucket:7} {t['n']:6} {100 * t['ours'] / t['n']:7.2f}%"
            for label, _ in peers:
                line += f" {100 * t[label] / t['n']:10.2f}%"
            print(line)
        if not peers:
            print("(uchardet and enca not installed: apt-get install uchardet enca)")
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
