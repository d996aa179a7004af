#!/usr/bin/python3
"""The folder commands on a generated tree, beside uchardet and enca.

  bench/batch_bench.py [BUILD_DIR/lirvane]   (env SMALL=5000 BIG_MB=10,30,100
                                             BASELINE=another/lirvane to time beside)

Builds a tree of SMALL small text files (300 B to 6 KB of held-out Russian
text from scripts/build_detector_stats.py --heldout, in every page this
program reads, garbled as UTF-8 read as Windows-1251 (once or twice), Windows-1252
or KOI8-R, Windows-1251 read as Windows-1252, KOI8-R read as Windows-1251, UTF-8
with characters Windows-1251 lacks, plain ASCII, binary, mixed) and a few large
ones, with the known answer of each. Then, side by side in one run:
  - `lirvane --check -r` against `uchardet FILES...` and `enca -L ru
    FILES...` (all files to one process each): time, and right/wrong on the
    known answers, per class;
  - `--check` with --jobs 2 against --jobs 1;
  - `lirvane --fix -r` on a copy: every Russian file right in UTF-8, every
    other file byte-identical with its time unchanged, no temporary file
    left; peak memory (GNU time) of --check and --fix.
Times are the median of three runs, the commands taking turns. Needs
manpages-ru, uchardet, enca and time (Debian packages).
"""

import codecs
import collections
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PAGES = ["cp1251", "koi8_r", "cp866", "iso8859_5", "mac_cyrillic"]
# class: (our verdict, uchardet's right answer, a word of enca's right answer)
CLASSES = {
    "utf-8": ("ok utf-8", "UTF-8", "UTF-8"),
    "cp1251": ("ok windows-1251", "WINDOWS-1251", "code page 1251"),
    "koi8_r": ("ok koi8-r", "KOI8-R", "KOI8-R"),
    "cp866": ("ok cp866", "IBM866", "code page 866"),
    "iso8859_5": ("ok iso-8859-5", "ISO-8859-5", "8859-5"),
    "mac_cyrillic": ("ok mac-cyrillic", "MAC-CYRILLIC", "Macintosh"),
    "utf8-as-1251": ("fix utf-8>windows-1251", None, "Doubly-encoded to UTF-8 from CP1251"),
    "utf8-as-1251*2": ("fix utf-8>windows-1251*2", None, None),
    "koi8-as-1251": ("fix koi8-r>windows-1251", None, None),
    "utf8-as-1252": ("fix utf-8>windows-1252", None, None),
    "1251-as-1252": ("fix windows-1251>windows-1252", None, None),
    "utf8-as-koi8": ("fix utf-8>koi8-r", None, None),
    "utf-8-emoji": ("ok utf-8", "UTF-8", "UTF-8"),
    "ascii": ("ok ascii", "ASCII", "7bit ASCII"),
    "binary": ("binary", None, None),
    "mixed": ("mixed", None, None),
}
WEIGHTS = {"utf-8": 30, "cp1251": 20, "koi8_r": 8, "cp866": 8, "iso8859_5": 3,
           "mac_cyrillic": 3, "utf8-as-1251": 10, "utf8-as-1251*2": 2, "koi8-as-1251": 4, "ascii": 6,
           "binary": 3, "mixed": 3, "utf8-as-1252": 2, "1251-as-1252": 2, "utf8-as-koi8": 1,
           "utf-8-emoji": 3}


def sloppy(error):
    """Bytes a page leaves undefined read as the C1 control or Latin-1
    character of the same value, as browsers and this program do."""
    return "".join(chr(b) for b in error.object[error.start:error.end]), error.end


codecs.register_error("sloppy", sloppy)


def common_text(raw):
    """Held-out text reduced to characters every page has."""
    text = raw.decode("cp1251", errors="replace")
    kept = []
    for c in text:
        try:
            for page in PAGES:
                c.encode(page)
            kept.append(c)
        except UnicodeEncodeError:
            kept.append(" ")
    return "".join(kept)


def paragraphs(text):
    out = []
    for p in text.split("\n\n"):
        letters = sum(1 for c in p if "\u0400" <= c <= "\u04ff")
        if letters >= 30:
            out.append(p.strip("\n\f") + "\n")
    return out


def content(cls, text):
    """The bytes of a file of the class, and its right text in UTF-8 after --fix
    (None: --fix must leave it as it is)."""
    if cls == "utf-8":
        return text.encode(), None
    if cls in PAGES:
        return text.encode(cls), text.encode()
    if cls == "utf8-as-1251":
        return text.encode().decode("cp1251", errors="sloppy").encode(), text.encode()
    if cls == "utf8-as-1251*2":
        once = text.encode().decode("cp1251", errors="sloppy")
        return once.encode().decode("cp1251", errors="sloppy").encode(), text.encode()
    if cls == "koi8-as-1251":
        return text.encode("koi8_r").decode("cp1251", errors="sloppy").encode(), text.encode()
    if cls == "utf8-as-1252":
        return text.encode().decode("cp1252", errors="sloppy").encode(), text.encode()
    if cls == "1251-as-1252":
        return text.encode("cp1251").decode("cp1252", errors="sloppy").encode(), text.encode()
    if cls == "utf8-as-koi8":
        return text.encode().decode("koi8_r", errors="sloppy").encode(), text.encode()
    if cls == "utf-8-emoji":
        # Characters Windows-1251 lacks, one to a paragraph.
        marks = iter(["😀", "é", "€", "™", "中"] * len(text))
        return "".join(c + " " + next(marks) if c == "\n" else c for c in text).encode(), None
    if cls == "ascii":
        return ("The quick brown fox jumps over the lazy dog.\n" * (len(text) // 45 + 1)).encode(), None
    if cls == "binary":
        return bytes(random.getrandbits(8) for _ in range(len(text))), None
    half = text[: len(text) // 2]
    rest = text[len(half):]
    cut = rest.find("\n") + 1
    return (half.encode() + rest[:cut].encode() + rest[cut:].encode("cp1251"),
            (half + rest).encode())


def make_tree(root, small, big_mb, paras):
    answers = {}
    classes = [c for c, w in WEIGHTS.items() for _ in range(w)]
    for i in range(small):
        cls = classes[i % len(classes)]
        size = random.randint(300, 6000)
        start = random.randrange(len(paras))
        text = ""
        while len(text) < size:
            text += paras[start % len(paras)]
            start += 1
        text = text[:size].rsplit("\n", 1)[0] + "\n" if "\n" in text[:size] else text[:size] + "\n"
        folder = os.path.join(root, "d%02d" % (i % 50), "e%d" % (i % 7))
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, "f%05d.txt" % i)
        data, fixed = content(cls, text)
        with open(path, "wb") as f:
            f.write(data)
        answers[path] = (cls, fixed)
    body = "".join(paras)
    for n, (mb, cls) in enumerate(zip(big_mb, ["koi8_r", "utf8-as-1251", "cp1251", "utf-8"])):
        path = os.path.join(root, "big%d.txt" % n)
        unit, unit_fixed = content(cls, body)
        repeat = mb * 1024 * 1024 // len(unit) + 1
        with open(path, "wb") as f:
            for _ in range(repeat):
                f.write(unit)
        answers[path] = (cls, None if unit_fixed is None else ("big", unit_fixed, repeat))
    return answers


def timed(command, **kw):
    start = time.perf_counter()
    result = subprocess.run(command, capture_output=True, **kw)
    return time.perf_counter() - start, result


def peak_kib(command):
    r = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, capture_output=True)
    return int(r.stderr.decode().strip().splitlines()[-1])


def ours(out):
    verdicts = {}
    for line in out.decode("utf-8", errors="replace").splitlines():
        path, _, verdict = line.partition("\t")
        verdicts[path] = verdict
    return verdicts


def uchardet_answers(out):
    names = {}
    for line in out.decode(errors="replace").splitlines():
        path, _, name = line.rpartition(": ")
        names[path] = name.strip()
    return names


def enca_answers(out):
    names = {}
    last = None
    for line in out.decode(errors="replace").splitlines():
        if line.startswith("  ") and last:
            names[last] += "; " + line.strip()
        else:
            last, _, name = line.partition(": ")
            names[last] = name
    return names


def main():
    lirvane = os.path.realpath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "lirvane"))
    small = int(os.environ.get("SMALL", "5000"))
    big_mb = [int(x) for x in os.environ.get("BIG_MB", "10,30,100").split(",") if x]
    random.seed(22)
    work = tempfile.mkdtemp(prefix="batch_bench.")
    try:
        heldout = os.path.join(work, "heldout.txt")
        subprocess.run([os.path.join(ROOT, "scripts", "build_detector_stats.py"), "--heldout", heldout],
                       check=True, capture_output=True)
        paras = paragraphs(common_text(open(heldout, "rb").read()))
        tree = os.path.join(work, "tree")
        answers = make_tree(tree, small, big_mb, paras)
        files = sorted(answers)
        total_mb = sum(os.path.getsize(f) for f in files) / 2**20
        print(f"tree: {len(files)} files, {total_mb:.0f} MB ({small} small, large: {big_mb} MB)")
        subprocess.run(["cat"] + files, stdout=subprocess.DEVNULL)  # into the page cache

        runs = {
            "lirvane --check -r (jobs 2)": [lirvane, "--check", "--jobs", "2", "-r", tree],
            "lirvane --check -r (jobs 1)": [lirvane, "--check", "--jobs", "1", "-r", tree],
            **({"baseline --check -r (jobs 2)": [os.environ["BASELINE"], "--check", "--jobs", "2", "-r",
                                                  tree]} if os.environ.get("BASELINE") else {}),
            "uchardet FILES...": ["uchardet"] + files,
            "enca -L ru FILES...": ["enca", "-L", "ru"] + files,
        }
        times = collections.defaultdict(list)
        outs = {}
        for _ in range(3):
            for name, command in runs.items():
                seconds, result = timed(command)
                times[name].append(seconds)
                outs[name] = result.stdout
        median = {name: statistics.median(t) for name, t in times.items()}
        base = median["lirvane --check -r (jobs 2)"]
        print("\ntime on the tree (median of 3):")
        for name in runs:
            print(f"  {name:30s} {median[name]:7.2f} s   {median[name] / base:5.2f}x lirvane's")
        print(f"  --jobs 2 against --jobs 1: {median['lirvane --check -r (jobs 1)'] / base:.2f}x faster")

        # Right and wrong per class.
        got = {
            "lirvane": ours(outs["lirvane --check -r (jobs 2)"]),
            "uchardet": uchardet_answers(outs["uchardet FILES..."]),
            "enca": enca_answers(outs["enca -L ru FILES..."]),
        }
        table = collections.defaultdict(lambda: collections.Counter())
        misses = collections.defaultdict(list)
        for path in files:
            cls = answers[path][0]
            verdict, uchardet_right, enca_word = CLASSES[cls]
            mine = got["lirvane"].get(path, "")
            right = mine.startswith(verdict)
            table[cls]["lirvane", right] += 1
            if not right:
                misses[cls].append(f"{path}: {mine}")
            if cls in ("binary", "mixed"):
                continue  # no peer has a word for these
            u = got["uchardet"].get(path, "")
            table[cls]["uchardet", uchardet_right is not None and u == uchardet_right] += 1
            e = got["enca"].get(path, "")
            e_right = enca_word is not None and enca_word in e and (
                cls != "utf-8" or "Doubly" not in e)
            table[cls]["enca", e_right] += 1
        print("\nright/wrong on the known answers:")
        print(f"  {'class':14s} {'lirvane':>12s} {'uchardet':>12s} {'enca':>12s}")
        totals = collections.Counter()
        for cls in CLASSES:
            if cls not in table:
                continue
            row = f"  {cls:14s}"
            for tool in ("lirvane", "uchardet", "enca"):
                r, w = table[cls][tool, True], table[cls][tool, False]
                totals[tool, True] += r
                totals[tool, False] += w
                row += f" {r:6d}/{w:<5d}" if r + w else f" {'-':>12s}"
            print(row)
        row = f"  {'all':14s}"
        for tool in ("lirvane", "uchardet", "enca"):
            row += f" {totals[tool, True]:6d}/{totals[tool, False]:<5d}"
        print(row + "   (right/wrong)")
        for cls, lines in misses.items():
            for line in lines[:5]:
                print(f"  miss [{cls}] {line}")

        # --fix on a copy.
        fixed_tree = os.path.join(work, "fixed")
        shutil.copytree(tree, fixed_tree, symlinks=True)  # copies times too
        before = {f: (os.stat(f).st_mtime_ns) for f in
                  (os.path.join(d, n) for d, _, ns in os.walk(fixed_tree) for n in ns)}
        seconds, result = timed([lirvane, "--fix", "-r", fixed_tree])
        print(f"\n--fix -r: {seconds:.2f} s, status {result.returncode}: "
              f"{result.stderr.decode().strip()}")
        right = wrong = kept = changed = 0
        fix_misses = []
        for path in files:
            cls, fixed = answers[path]
            copy = fixed_tree + path[len(tree):]
            data = open(copy, "rb").read()
            if fixed is None:
                same = data == open(path, "rb").read() and os.stat(copy).st_mtime_ns == before[copy]
                kept += same
                changed += not same
            else:
                if isinstance(fixed, tuple):
                    ok = data == fixed[1] * fixed[2]
                else:
                    ok = data == fixed
                right += ok
                wrong += not ok
                if not ok and wrong <= 8:
                    fix_misses.append(f"{cls}: {copy}")
        leftovers = [n for d, _, ns in os.walk(fixed_tree) for n in ns if "~tmp" in n]
        print(f"  repaired files right {right}, wrong {wrong}; untouched files the same "
              f"(bytes and time) {kept}, changed {changed}; temporary files left {len(leftovers)}")
        for line in fix_misses:
            print(f"  not repaired right [{line}]")

        print("\npeak memory (KiB, GNU time):")
        print(f"  --check -r: {peak_kib([lirvane, '--check', '-r', tree])}")
        shutil.rmtree(fixed_tree)
        shutil.copytree(tree, fixed_tree)
        print(f"  --fix -r:   {peak_kib([lirvane, '--fix', '-r', fixed_tree])}")
        print(f"  uchardet:   {peak_kib(['uchardet'] + files)}")
        print(f"  enca:       {peak_kib(['enca', '-L', 'ru'] + files)}")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
