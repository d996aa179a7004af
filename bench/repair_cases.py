#!/usr/bin/python3
"""Garbled-text cases for "Авто", made with Python's codecs from held-out
Russian text (UTF-8, or Windows-1251 as scripts/build_detector_stats.py
--heldout writes it).

  bench/repair_cases.py [--pack] HELDOUT OUT_DIR [PER_BUCKET [SEED]]

Writes OUT_DIR/CLASS/BUCKET/N.in and N.out: the text a user has and the
text it should become. With --pack, one file OUT_DIR/CLASS.cases per class
instead: each case is the input, a line holding \x1d, the output, and a
line holding \x1e (the form the tests read) (UTF-8; the classes named bytes_* hold bytes of no
one page). Buckets count the original's Cyrillic letters. Undefined bytes
read as the character of the same value, as browsers read them.
"""

import os
import random
import sys

BUCKETS = [("8-30", 8, 30), ("31-120", 31, 120), ("121+", 121, 1500)]


def dec(b, page):
    if page == "utf-8":
        return b.decode("utf-8")
    return "".join(bytes([x]).decode(page, errors="ignore") or chr(x) for x in b)


def enc(t, page):
    if page == "utf-8":
        return t.encode("utf-8")
    out = bytearray()
    for ch in t:
        try:
            out += ch.encode(page)
        except UnicodeEncodeError:
            if 0x80 <= ord(ch) < 0x100 and len(bytes([ord(ch)]).decode(page, errors="ignore")) == 0:
                out.append(ord(ch))
            else:
                raise
    return bytes(out)


def garble(t, written, read):
    return dec(enc(t, written), read)


def chain(*steps):
    def f(t, rng):
        for w, r in steps:
            t = garble(t, w, r)
        return t
    return f


# Characters Windows-1251 lacks, as correct texts hold them.
EXTRAS = ["😀", "café", "€", "™", "中文", "naïve", "Ñandú", "→", "½", "Ελλάδα"]


def with_extras(t, rng):
    words = t.split(" ")
    for _ in range(max(1, len(words) // 12)):
        words.insert(rng.randrange(len(words) + 1), rng.choice(EXTRAS))
    return " ".join(words)


def mixed(t, rng):
    """Every other line garbled (UTF-8 read as Windows-1251)."""
    lines = t.split("\n")
    return "\n".join(garble(l, "utf-8", "cp1251") if i % 2 else l for i, l in enumerate(lines))


# name: (make the input from the original, expected output is the original?)
CLASSES = {
    "utf8_as_1251": chain(("utf-8", "cp1251")),
    "utf8_as_1251_twice": chain(("utf-8", "cp1251"), ("utf-8", "cp1251")),
    "utf8_as_1252": chain(("utf-8", "cp1252")),
    "utf8_as_1252_twice": chain(("utf-8", "cp1252"), ("utf-8", "cp1252")),
    "utf8_as_latin1": chain(("utf-8", "latin-1")),
    "utf8_as_koi8": chain(("utf-8", "koi8_r")),
    "utf8_as_866": chain(("utf-8", "cp866")),
    "win1251_as_latin1": chain(("cp1251", "latin-1")),
    "win1251_as_1252": chain(("cp1251", "cp1252")),
    "koi8_as_latin1": chain(("koi8_r", "latin-1")),
    "win1251_as_866": chain(("cp1251", "cp866")),
    "koi8_as_1251": chain(("koi8_r", "cp1251")),
    "correct": lambda t, rng: t,
    "correct_extras": with_extras,
    "mixed_lines": mixed,
    "bytes_utf8_with_1251_lines": None,  # made below: bytes
}


def snippets(text, low, high, count, rng):
    lines = text.split("\n")
    out = []
    tries = 0
    while len(out) < count and tries < count * 200:
        tries += 1
        i = rng.randrange(len(lines))
        want = rng.randint(low, high)
        letters, j, taken = 0, i, []
        while j < len(lines) and letters < want and lines[j] != "\f":
            taken.append(lines[j])
            letters += sum(1 for c in lines[j] if "а" <= c.lower() <= "я" or c in "ёЁ")
            j += 1
        if low <= letters <= high and taken:
            out.append("\n".join(taken))
    return out


PACKED = {}


def write(path, data):
    if PACK:
        klass = os.path.relpath(path, OUT).split(os.sep)[0]
        part = PACKED.setdefault(klass, [])
        part.append(data + (b"\n\x1d\n" if path.endswith(".in") else b"\n\x1e\n"))
        return
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


PACK = False
OUT = ""


def main():
    global PACK, OUT
    args = sys.argv[1:]
    if args and args[0] == "--pack":
        PACK = True
        args = args[1:]
    heldout, out_dir = args[0], args[1]
    OUT = out_dir
    per_bucket = int(args[2]) if len(args) > 2 else 200
    rng = random.Random(int(args[3]) if len(args) > 3 else 21)
    with open(heldout, "rb") as f:
        data = f.read()
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError:
        text = data.decode("cp1251")
    text = text.replace("\r\n", "\n").replace("\x98", "")
    for bucket, low, high in BUCKETS:
        originals = snippets(text, low, high, per_bucket, rng)
        for name, make in CLASSES.items():
            for n, original in enumerate(originals):
                base = os.path.join(out_dir, name, bucket, str(n))
                if name.startswith("bytes_"):
                    lines = original.split("\n")
                    data = b"\n".join(l.encode("cp1251") if i % 2 else l.encode("utf-8")
                                      for i, l in enumerate(lines))
                    if len(lines) < 2:
                        data += b"\n" + "Ещё строка в Windows-1251.".encode("cp1251")
                        original += "\nЕщё строка в Windows-1251."
                    write(base + ".in", data)
                    write(base + ".out", original.encode("utf-8"))
                    continue
                try:
                    source = make(original, rng)
                except UnicodeError:
                    continue  # the writer's page lacks a character of it
                expected = original if name != "correct_extras" else source
                write(base + ".in", source.encode("utf-8"))
                write(base + ".out", expected.encode("utf-8"))
    if PACK:
        os.makedirs(out_dir, exist_ok=True)
        for klass, parts in PACKED.items():
            with open(os.path.join(out_dir, klass + ".cases"), "wb") as f:
                f.write(b"".join(parts))


if __name__ == "__main__":
    main()
