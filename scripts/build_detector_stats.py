#!/usr/bin/python3
"""Builds the Russian text statistics behind the code page detector.

Reads the Russian manual pages of manpages-ru (/usr/share/man/ru), the
Russian message catalogues under /usr/share/locale/ru/LC_MESSAGES (of
whatever packages are installed), the Russian LibreOffice help of
libreoffice-help-ru (/usr/share/libreoffice/help/ru: prose) and the word
list of hunspell-ru (/usr/share/hunspell/ru_RU.dic), turns them into
Windows-1251 text and counts byte-class bigrams, writing the costs as a
compact C++ table (recode/detect_stats_table.cpp) so that the build needs no
corpus. Debian's fortunes-ru is deliberately not read.

About one file in five is held out for testing: a file is held out when the
CRC-32 of its base name (e.g. "ls.1.gz", "coreutils.mo"; "_" read as "-")
is divisible by 5. With
--heldout FILE the held-out text is written there (Windows-1251, one source
file after another, separated by a line holding a form feed) instead of
building the table.

Usage: scripts/build_detector_stats.py [--heldout FILE] [--out FILE]
"""

import argparse
import gettext
import html.parser
import gzip
import hashlib
import subprocess
import math
import os
import re
import sys
import zlib

MAN_ROOT = "/usr/share/man/ru"
MO_ROOT = "/usr/share/locale/ru/LC_MESSAGES"
HELP_ROOT = "/usr/share/libreoffice/help/ru"
WORD_LIST = "/usr/share/hunspell/ru_RU.dic"
HELD_OUT_MODULUS = 5

# Byte classes of Windows-1251 text. Letters fold case: а..я are 0..31, ё 32;
# the case model below keeps the case apart.
LETTERS = 33
SPACE, NEWLINE, LATIN, DIGIT, STOP, PUNCT, CONTROL = range(LETTERS, LETTERS + 7)
FIRST_SYMBOL = LETTERS + 7  # each high non-letter byte is a class of its own

# Case classes: how case falls in words and sentences.
CASE_CLASSES = ["lower", "upper", "latin lower", "latin upper", "space",
                "stop", "punct", "digit", "line break"]


def byte_class(b):
    if 0xE0 <= b <= 0xFF:
        return b - 0xE0
    if 0xC0 <= b <= 0xDF:
        return b - 0xC0
    if b in (0xA8, 0xB8):
        return 32
    if b >= 0x80:
        # 0x80..0xBF without 0xA8 and 0xB8
        return FIRST_SYMBOL + sum(1 for x in range(0x80, b) if x not in (0xA8, 0xB8))
    c = chr(b)
    if c in " \t":
        return SPACE
    if c in "\r\n":
        return NEWLINE
    if c.isascii() and c.isalpha():
        return LATIN
    if c.isascii() and c.isdigit():
        return DIGIT
    if c in ".!?":
        return STOP
    if b < 0x20 or b == 0x7F:
        return CONTROL
    return PUNCT


def case_class(b):
    if 0xE0 <= b <= 0xFF or b == 0xB8:
        return 0
    if 0xC0 <= b <= 0xDF or b == 0xA8:
        return 1
    c = chr(b)
    if b < 0x80 and c.islower():
        return 2
    if b < 0x80 and c.isupper():
        return 3
    if c in "\r\n":
        return 8
    if c in " \t":
        return 4
    if c in ".!?":
        return 5
    # Only ASCII digits: chr() reads a high byte as Latin-1, where 0xB2,
    # 0xB3 and 0xB9 are digits, but in Windows-1251 they are І, і and №.
    if b < 0x80 and c.isdigit():
        return 7
    return 6


# Case across the gaps between high bytes: the case of the previous high
# byte (lower, upper, not a letter, or the text's start), what stands between
# (nothing, or ASCII with or without a sentence end), the case of this one.
# Lets a whole line of capitals, or a capital after a full stop, pass cheaply.
HIGH_CASES = 3        # lower, upper, non-letter
HIGH_PREVIOUS = 4     # ... or the start of the text
GAPS = 4              # adjacent, ASCII, a line break, a sentence end between


def high_case(b):
    if 0xE0 <= b <= 0xFF or b == 0xB8:
        return 0
    if 0xC0 <= b <= 0xDF or b == 0xA8:
        return 1
    return 2


# Letter trigrams: the 33 folded letters and one class for everything else.
TRIGRAM_CLASSES = LETTERS + 1


def trigram_class(b):
    c = byte_class(b)
    return c if c < LETTERS else LETTERS


NUM_CLASSES = FIRST_SYMBOL + 62
BYTE_CLASS = [byte_class(b) for b in range(256)]
CASE_CLASS = [case_class(b) for b in range(256)]
assert max(BYTE_CLASS) == NUM_CLASSES - 1


ALL_CAPITALS = re.compile(rb"[\xc0-\xdf\xa8]{2,}(?![\xe0-\xff\xb8])")


def all_capitals_mask(data):
    mask = bytearray(len(data))
    for m in ALL_CAPITALS.finditer(data):
        if m.start() > 0 and data[m.start() - 1] in range(0xE0, 0x100):
            continue
        mask[m.start():m.end()] = b"\x01" * (m.end() - m.start())
    return mask


def held_out(path):
    # A word list is no text to test on: it always trains.
    if path == WORD_LIST:
        return False
    # Some files come twice under names differing in "_" and "-"
    # (iso_3166-2.mo, iso_3166_2.mo): they fall on the same side.
    name = os.path.basename(path).replace("_", "-")
    return zlib.crc32(name.encode()) % HELD_OUT_MODULUS == 0


# --- Reading the corpus -------------------------------------------------

ROFF_TEXT_MACROS = {"SH", "SS", "B", "I", "BR", "IR", "RB", "RI", "BI", "IB",
                    "SM", "SB", "IP", "TP", "UR", "MT", "Nm", "Nd", "Dt"}
ROFF_GLYPHS = {"em": "\u2014", "en": "\u2013", "lq": "\u201c", "rq": "\u201d",
               "Fo": "\u00ab", "Fc": "\u00bb", "hy": "-", "aq": "'", "dq": '"',
               "bu": "*", "co": "\u00a9", "ti": "~", "ha": "^", "rs": "\\",
               "oq": "'", "cq": "'", "mi": "-", "pl": "+", "eq": "="}


def roff_escapes(line):
    line = line.replace("\\\\", "\x00")
    line = re.sub(r"\\f(\[[^\]]*\]|\(..|.)", "", line)
    line = re.sub(r"\\s[+-]?\d", "", line)
    line = re.sub(r"\\\((..)", lambda m: ROFF_GLYPHS.get(m.group(1), ""), line)
    line = re.sub(r"\\\[([^\]]*)\]", lambda m: ROFF_GLYPHS.get(m.group(1), ""), line)
    line = re.sub(r"\\\*(\(..|\[[^\]]*\]|.)", "", line)
    line = re.sub(r"\\[-e]", lambda m: "-" if m.group(0) == "\\-" else "\\", line)
    line = re.sub(r"\\[ ~0]", " ", line)
    line = re.sub(r"\\[&,/:^|%)c]", "", line)
    line = re.sub(r"\\.", "", line)
    return line.replace("\x00", "\\")


def man_page_text(path):
    with gzip.open(path, "rt", encoding="utf-8", errors="replace") as f:
        source = f.read()
    out = []
    for line in source.splitlines():
        if line.startswith(('.\\"', "'\\\"", '\\"')):
            continue
        if line.startswith((".", "'")):
            parts = line[1:].strip().split(None, 1)
            if not parts or parts[0] not in ROFF_TEXT_MACROS or len(parts) < 2:
                continue
            line = parts[1].replace('"', "")
        out.append(roff_escapes(line))
    return "\n".join(out)


def catalogue_text(path):
    with open(path, "rb") as f:
        catalogue = gettext.GNUTranslations(f)._catalog
    messages = []
    for key, value in catalogue.items():
        if not key or not value:  # the header
            continue
        value = value.replace("\0", "\n")  # plural forms
        value = re.sub(r"%(\d+\$)?[-+ #0]*\d*(\.\d+)?[hlLqjzt]*[a-zA-Z%]", "", value)
        value = value.replace("&", "").replace("_", "")
        messages.append(value)
    messages.sort()
    return "\n".join(messages)


class _HelpText(html.parser.HTMLParser):
    """The text of a help page: paragraphs on lines of their own, without
    scripts, styles and the navigation of the page's head."""
    BLOCKS = {"p", "h1", "h2", "h3", "h4", "li", "td", "div", "br", "tr", "title"}

    def __init__(self):
        super().__init__()
        self.parts, self.skip = [], 0

    def handle_starttag(self, tag, attrs):
        if tag in ("script", "style", "head"):
            self.skip += 1
        elif tag in self.BLOCKS:
            self.parts.append("\n")

    def handle_endtag(self, tag):
        if tag in ("script", "style", "head"):
            self.skip = max(0, self.skip - 1)
        elif tag in self.BLOCKS:
            self.parts.append("\n")

    def handle_data(self, data):
        if not self.skip:
            self.parts.append(data)


def help_page_text(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        parser = _HelpText()
        parser.feed(f.read())
    lines = (" ".join(l.split()) for l in "".join(parser.parts).split("\n"))
    return "\n".join(l for l in lines if l)


def word_list_text(path):
    """The word list's stems, twelve to a line (its first line is a count)."""
    with open(path, encoding="utf-8", errors="replace") as f:
        words = [w.split("/")[0].strip() for w in f.read().splitlines()[1:]]
    words = [w for w in words if w]
    return "\n".join(" ".join(words[i:i + 12]) for i in range(0, len(words), 12))


def corpus_files():
    files = []
    for root, _, names in os.walk(MAN_ROOT):
        files += [os.path.join(root, n) for n in names if n.endswith(".gz")]
    for root, _, names in os.walk(HELP_ROOT):
        files += [os.path.join(root, n) for n in names if n.endswith(".html")]
    if os.path.isfile(WORD_LIST):
        files.append(WORD_LIST)
    if os.path.isdir(MO_ROOT):
        files += [os.path.join(MO_ROOT, n) for n in os.listdir(MO_ROOT) if n.endswith(".mo")]
    files = [f for f in files if "fortune" not in f]
    return sorted(files)


# Dashes Windows-1251 has no byte for become hyphens; quotes and the
# no-break space it has stay as they are.
TYPOGRAPHY = str.maketrans({"\u2010": "-", "\u2011": "-", "\u2212": "-"})


def win1251(text):
    return text.translate(TYPOGRAPHY).encode("cp1251", errors="replace")


def file_text(path):
    if path.endswith(".gz"):
        return win1251(man_page_text(path))
    if path.endswith(".html"):
        return win1251(help_page_text(path))
    if path == WORD_LIST:
        return win1251(word_list_text(path))
    return win1251(catalogue_text(path))


def input_record(files):
    """Versions of the Debian packages the corpus comes from, and a SHA-256
    of the text read from it, for the generated file's header."""
    packages = set()
    try:
        out = subprocess.run(["dpkg", "-S"] + files, capture_output=True, text=True).stdout
        for line in out.splitlines():
            owners, _, _ = line.partition(": ")
            packages.update(p.strip().split(":")[0] for p in owners.split(","))
        versions = subprocess.run(["dpkg-query", "-W"] + sorted(packages),
                                  capture_output=True, text=True).stdout.split("\n")
    except OSError:
        versions = []
    digest = hashlib.sha256()
    for path in files:
        digest.update(path.encode() + b"\0" + file_text(path) + b"\0")
    return [v.replace("\t", " ") for v in versions if v.strip()], digest.hexdigest()


# --- Statistics -----------------------------------------------------------

def costs(counts, n, scale, rows=None):
    """Conditional costs -log2 P(next | previous) * scale, one byte each,
    with add-half smoothing so unseen pairs stay finite."""
    table = []
    for a in range(rows or n):
        row = counts[a * n:(a + 1) * n]
        total = sum(row) + 0.5 * n
        for c in row:
            p = (c + 0.5) / total
            table.append(round(-scale * math.log2(p)))
    return table


def c_array(name, values, per_line=24):
    lines = []
    for i in range(0, len(values), per_line):
        lines.append("    " + ", ".join(str(v) for v in values[i:i + per_line]) + ",")
    return f"const uint8_t {name}[{len(values)}] = {{\n" + "\n".join(lines) + "\n};\n"


COST_SCALE = 16  # cost units per bit


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--heldout", help="write the held-out text here and stop")
    parser.add_argument("--out", default=os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "recode", "detect_stats_table.cpp"))
    args = parser.parse_args()

    files = corpus_files()
    if not any(f.startswith(MAN_ROOT) for f in files):
        sys.exit("no Russian manual pages: apt-get install manpages-ru")
    # Some pages come under several names (iso_8859-2.7, iso-8859-2.7,
    # latin2.7): each text counts once, on the training side if any copy
    # is there, so that no held-out text was trained on.
    texts = {}
    for path in sorted(files, key=held_out):
        texts.setdefault(file_text(path), path)
    kept = set(texts.values())
    test_files = [f for f in files if held_out(f) and f in kept]
    train_files = [f for f in files if not held_out(f) and f in kept]

    if args.heldout:
        with open(args.heldout, "wb") as out:
            for path in test_files:
                out.write(file_text(path) + b"\n\f\n")
        print(f"held out {len(test_files)} of {len(kept)} distinct texts", file=sys.stderr)
        return

    pair = [0] * (NUM_CLASSES * NUM_CLASSES)
    case_pair = [0] * (len(CASE_CLASSES) ** 2)
    gap_case = [0] * (HIGH_PREVIOUS * GAPS * HIGH_CASES)
    tri = [0] * (TRIGRAM_CLASSES ** 3)
    total_bytes = 0
    for path in train_files:
        data = file_text(path)
        total_bytes += len(data)
        # Case is counted without the words in capitals (manual pages have
        # many: headings, placeholders); the detector reads a text in
        # capitals by trading case, so they would only be counted twice.
        capitals = all_capitals_mask(data)
        for i, (a, b) in enumerate(zip(data, data[1:])):
            pair[BYTE_CLASS[a] * NUM_CLASSES + BYTE_CLASS[b]] += 1
            if not (capitals[i] or capitals[i + 1]):
                case_pair[CASE_CLASS[a] * len(CASE_CLASSES) + CASE_CLASS[b]] += 1
        t = [trigram_class(b) for b in data]
        for a, b, c in zip(t, t[1:], t[2:]):
            tri[(a * TRIGRAM_CLASSES + b) * TRIGRAM_CLASSES + c] += 1
        previous, gap = 3, 3
        for i, b in enumerate(data):
            if capitals[i]:
                previous, gap = 2, 1  # as after a non-letter
                continue
            if b >= 0x80:
                gap_case[(previous * GAPS + gap) * HIGH_CASES + high_case(b)] += 1
                previous, gap = high_case(b), 0
            else:
                gap = max(gap, 3 if b in b".!?" else 2 if b in b"\r\n" else 1)

    bigram = [min(255, c) for c in costs(pair, NUM_CLASSES, COST_SCALE)]
    case_costs = [min(255, c) for c in costs(case_pair, len(CASE_CLASSES), COST_SCALE)]
    # Whole bits, two to a byte (low nibble first), at most 15.
    tri_bits = [min(15, (c + 8) // 16) for c in costs(tri, TRIGRAM_CLASSES, COST_SCALE,
                                                     rows=TRIGRAM_CLASSES ** 2)]
    tri_packed = [tri_bits[i] | tri_bits[i + 1] << 4 for i in range(0, len(tri_bits), 2)]
    gap_case_costs = [min(255, c) for c in costs(gap_case, HIGH_CASES, COST_SCALE,
                                                 rows=HIGH_PREVIOUS * GAPS)]

    versions, digest = input_record(train_files)
    with open(args.out, "w", encoding="utf-8") as out:
        out.write(
            "// Generated by scripts/build_detector_stats.py; do not edit.\n"
            f"// Trained on {len(train_files)} files ({total_bytes} bytes of Windows-1251 text)\n"
            "// from manpages-ru, libreoffice-help-ru, hunspell-ru and the Russian message\n"
            "// catalogues; files whose base\n"
            f"// name's CRC-32 (\"_\" read as \"-\") is divisible by {HELD_OUT_MODULUS} are held out.\n"
            f"// Costs are -log2 P(next class | previous class) * {COST_SCALE}.\n"
            f"// Input text SHA-256 (path, NUL, text, NUL per file): {digest}\n"
            "// Packages the files came from (dpkg-query -W):\n"
            + "".join(f"//   {v}\n" for v in versions) +
            '#include "recode/detect_stats.h"\n\n'
            "namespace lirvane::detect_stats {\n\n")
        out.write(c_array("kByteClass", BYTE_CLASS))
        out.write("\n" + c_array("kCaseClass", CASE_CLASS))
        out.write("\n" + c_array("kBigramCost", bigram))
        out.write("\n" + c_array("kCaseCost", case_costs))
        out.write("\n" + c_array("kGapCaseCost", gap_case_costs))
        out.write("\n" + c_array("kTrigramBits", tri_packed, per_line=32))
        out.write("\n}  // namespace lirvane::detect_stats\n")
    constants = os.path.join(os.path.dirname(args.out), "detect_stats_constants.h")
    with open(constants, "w", encoding="utf-8") as out:
        out.write(
            "// Generated by scripts/build_detector_stats.py with detect_stats_table.cpp;\n"
            "// do not edit. The shapes of its tables.\n"
            "#pragma once\n\n"
            "namespace lirvane::detect_stats {\n\n"
            f"inline constexpr int kClasses = {NUM_CLASSES};\n"
            f"inline constexpr int kCaseClasses = {len(CASE_CLASSES)};\n"
            f"inline constexpr int kHighCases = {HIGH_CASES};\n"
            f"inline constexpr int kStartOfText = {HIGH_PREVIOUS - 1};\n"
            f"inline constexpr int kGaps = {GAPS};\n"
            f"inline constexpr int kCostPerBit = {COST_SCALE};\n"
            f"inline constexpr int kTrigramClasses = {TRIGRAM_CLASSES};\n"
            f"inline constexpr int kDigitCaseClass = {CASE_CLASSES.index('digit')};\n"
            "\n}  // namespace lirvane::detect_stats\n")
    print(f"trained on {len(train_files)} files, {total_bytes} bytes; "
          f"held out {len(test_files)}", file=sys.stderr)


if __name__ == "__main__":
    main()
