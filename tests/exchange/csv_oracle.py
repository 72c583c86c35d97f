#!/usr/bin/env python3
"""Python's csv module as the oracle of the delimited reader.

Makes a few thousand delimited text files of the kinds people bring (quotes
inside values and after them, line breaks inside quoted values, a byte-order
mark, both encodings, blank lines, short and long rows, control characters,
an end-of-file mark, NUL bytes, values over 255 characters), reads each with
the program's reader (the dump tool given as the first argument) and with
csv.reader, and checks that every record holds the fields csv reads, after the
import's documented rules:

- a line break inside a quoted value (CR LF, CR or LF) is one blank, and the
  line breaks of the fields read are counted;
- a tab is one blank; other control characters (below 32) are dropped;
- a value keeps its first 255 characters, and the values cut are counted;
- a line whose only field is empty is no record; fields past the names'
  count are not read;
- a NUL anywhere refuses the file;
- a field name is cut to 20 characters, an empty one is "<BLANK FIELD>".

Usage: csv_oracle.py DUMP_TOOL [FILES] [SEED]
"""

import csv
import io
import json
import os
import random
import re
import subprocess
import sys
import tempfile

NOT_TEXT = 4
LINE_BREAK = re.compile(r"\r\n|\r|\n")
CONTROL = re.compile(r"[\x00-\x1f]")

CP1252_TEXT = "abcdefghijklmnopqrstuvwxyz ABCXYZ 0123456789 éüßñøÆ€’“”–"
UTF8_TEXT = CP1252_TEXT + "✓日本語ŁĘ"


def value_text(rng, alphabet, longest):
    return "".join(rng.choice(alphabet) for _ in range(rng.randint(0, longest)))


def field(rng, alphabet):
    """One field as written in a file, in one of the shapes met in the wild."""
    kind = rng.random()
    longest = 300 if rng.random() < 0.03 else 12
    text = value_text(rng, alphabet, longest)
    if kind < 0.30:
        return '"' + text.replace('"', '""') + '"'
    if kind < 0.45:
        return text.replace('"', "").replace(",", "")  # plain, unquoted
    if kind < 0.55:  # a quote inside a field no quote opened
        return text[:3].replace(",", "") + '"' + text[3:].replace(",", "")
    if kind < 0.65:  # text after the closing quote
        return '"' + text[:4] + '"' + text[4:].replace(",", "").replace('"', "")
    if kind < 0.75:  # line breaks, commas and doubled quotes inside quotes
        inner = [text]
        for _ in range(rng.randint(1, 3)):
            inner.append(rng.choice(["\r\n", "\n", "\r", ",", '""', " "]))
            inner.append(value_text(rng, alphabet, 5).replace('"', '""'))
        return '"' + "".join(inner) + '"'
    if kind < 0.82:  # control characters and the end-of-file mark
        return '"' + text + rng.choice(["\t", "\x01", "\x1a", "\x1f"]) + text[:2] + '"'
    if kind < 0.88:  # blanks around the quotes
        return " " * rng.randint(0, 2) + '"' + text.replace('"', "") + '"' + " " * rng.randint(0, 2)
    if kind < 0.94:
        return ""
    return '""'


def make_file(rng, index, folder):
    utf8 = rng.random() < 0.5
    alphabet = (UTF8_TEXT if utf8 else CP1252_TEXT) + '",'
    names = ['"Name %d"' % i if rng.random() < 0.8 else "Plain%d" % i for i in range(rng.randint(1, 12))]
    if rng.random() < 0.05:
        names.append('""')
    if len(names) == 1:
        names = ['"Name 0"']  # one plain value on the first line is a text file, not delimited text
    line_end = rng.choice(["\r\n", "\n", "\r", None])
    lines = [",".join(names)]
    rows = rng.randint(0, 30) if rng.random() < 0.98 else 2000  # now and then past 64 KiB
    for _ in range(rows):
        if rng.random() < 0.06:
            lines.append("")
            continue
        count = max(1, len(names) + rng.randint(-3, 3))
        lines.append(",".join(field(rng, alphabet) for _ in range(count)))
    text = ""
    for i, line in enumerate(lines):
        text += line
        if i + 1 < len(lines) or rng.random() < 0.7:
            text += line_end if line_end else rng.choice(["\r\n", "\n", "\r"])
    if rng.random() < 0.03 and len(lines) > 1 and text.endswith(("\n", "\r")):
        text += '"never closed, to the end'
    if utf8 and rng.random() < 0.2:
        text = "\ufeff" + text
    data = text.encode("utf-8" if utf8 else "cp1252")
    if rng.random() < 0.1:
        data += b"\x1a"
    if rng.random() < 0.03:
        at = rng.randint(0, len(data))
        data = data[:at] + b"\x00" + data[at:]
    path = os.path.join(folder, "f%05d.txt" % index)
    with open(path, "wb") as out:
        out.write(data)
    return path


def as_text(data):
    try:
        text = data.decode("utf-8")
        if any(ord(c) > 127 for c in text):
            return text[1:] if text.startswith("\ufeff") else text
    except UnicodeDecodeError:
        pass
    return data.decode("cp1252")


def stored(value):
    return CONTROL.sub("", LINE_BREAK.sub(" ", value).replace("\t", " "))


def expected(path):
    with open(path, "rb") as f:
        data = f.read()
    if b"\x00" in data:
        return {"result": NOT_TEXT}
    rows = list(csv.reader(io.StringIO(as_text(data), newline="")))
    if rows and rows[0] == []:
        rows = rows[1:]  # one empty line before the names
    names = [stored(v) for v in rows[0]]
    names = ["<BLANK FIELD>" if n == "" else n[:20] for n in names]
    records, cut, breaks = [], 0, 0
    for row in rows[1:]:
        breaks += sum(len(LINE_BREAK.findall(v)) for v in row[: len(names)])
        values = [stored(v) for v in row[: len(names)]]
        if not values or (len(values) == 1 and values[0] == "" and len(row) == 1):
            continue
        cut += sum(1 for v in values if len(v) > 255)
        records.append([v[:255] for v in values])
    return {"result": 0, "names": names, "records": records, "cut": cut, "lineBreaks": breaks}


def main():
    tool = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else int(os.environ.get("CSV_ORACLE_FILES", "3000"))
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    rng = random.Random(seed)
    with tempfile.TemporaryDirectory() as folder:
        paths = [make_file(rng, i, folder) for i in range(count)]
        read = {}
        for start in range(0, len(paths), 500):
            out = subprocess.run([tool] + paths[start : start + 500], check=True, capture_output=True, text=True).stdout
            for line in out.splitlines():
                got = json.loads(line)
                read[got.pop("file")] = got
        failures = 0
        for path in paths:
            want, got = expected(path), read[path]
            if want != got:
                failures += 1
                if failures <= 5:
                    with open(path, "rb") as f:
                        print("%s differs\n  file: %r\n  csv:  %s\n  ours: %s" % (path, f.read()[:400], want, got))
        print("%d files read, %d differ from Python's csv module" % (count, failures))
        return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
