#!/usr/bin/env python3
"""Checks that the three reports of each sample case tell the same
differences: for every NAME.json, the TEI apparatus NAME.tei.xml has one
app per difference, numbered alike, in which each witness reads its span's
text; the HTML report's data in NAME.html holds every difference with the
same number, line numbers and texts; and where the run's difference file
is there as NAME.diff.txt, each of its lines is rebuilt from the JSON.
With variant tables, the HTML data holds every variant of the JSON, and
the difference file's count line (absent after a stop) counts them.

    check_agreement.py FOLDER
"""
import glob
import json
import os
import re
import sys
import xml.etree.ElementTree as ET

TEI = "{http://www.tei-c.org/ns/1.0}"
XML_ID = "{http://www.w3.org/XML/1998/namespace}id"


def tei_differences(path):
    """[(number, [text per witness])] from the apps of differences, in
    document order."""
    root = ET.parse(path).getroot()
    ids = [w.get(XML_ID) for w in root.iter(TEI + "witness")]
    found = []
    for app in root.iter(TEI + "app"):
        if app.get("type") == "variant":
            continue
        texts = [None] * len(ids)
        for rdg in app:
            for ref in (rdg.get("wit") or "").split():
                texts[ids.index(ref[1:])] = "".join(rdg.itertext())
        found.append((int(app.get("n")), texts))
    return found


def html_differences(path):
    """[(number, lines, texts)] from the page's data items."""
    with open(path, encoding="utf-8") as f:
        page = f.read()
    start = page.index("var D=[\n") + len("var D=")
    end = page.index("];\n</script>", start)
    data = page[start:end].rstrip().rstrip(",") + "]"
    items = json.loads(data)
    return [(item[1], item[2], item[3]) for item in items if item[0] == -1]


def html_variants(path):
    """[(number, lines, characters)] from the page's variant items."""
    with open(path, encoding="utf-8") as f:
        page = f.read()
    start = page.index("var D=[\n") + len("var D=")
    end = page.index("];\n</script>", start)
    items = json.loads(page[start:end].rstrip().rstrip(",") + "]")
    return [(item[1], item[2], item[3]) for item in items if item[0] == -2]


# The difference file's last line with a table in use, in Big5 or, in a
# Unicode run, in UTF-8.
VARIANT_COUNT = re.compile(
    rb"====== (?:\xb2\xa7\xc5\xe9\xa6r|" + "異體字".encode("utf-8") +
    rb") (\d+) (?:\xb3B|" + "處".encode("utf-8") + rb") ======")


def variant_problems(base, document):
    if "variants" not in document:
        return
    expected = [(v["number"], [p["line"] for p in v["places"]],
                 [p["character"] for p in v["places"]])
                for v in document["variants"]]
    if os.path.exists(base + ".html") and html_variants(base + ".html") != expected:
        yield "the HTML variants differ from the JSON variants"
    if not os.path.exists(base + ".diff.txt"):
        return
    with open(base + ".diff.txt", "rb") as f:
        counts = VARIANT_COUNT.findall(f.read())
    if document["end"]["outcome"] == "stopped":
        if counts:
            yield "a stopped run's difference file counts variants"
    elif counts != [b"%d" % len(expected)]:
        yield "the difference file counts %s variants, the JSON lists %d" % (
            counts, len(expected))


def problems(path):
    base = path[:-len(".json")]
    with open(path, encoding="utf-8") as f:
        document = json.load(f)
    differences = document["differences"]
    yield from variant_problems(base, document)
    expected = [(d["number"], [s["text"] for s in d["spans"]]) for d in differences]
    if os.path.exists(base + ".tei.xml"):
        tei = tei_differences(base + ".tei.xml")
        # XML keeps no carriage return or control character but tab.
        clean = [(n, ["".join(c for c in t if c in "\t\n" or ord(c) >= 0x20)
                      for t in texts]) for n, texts in expected]
        if tei != clean:
            yield "the TEI apps differ from the JSON differences"
    if os.path.exists(base + ".html"):
        html = html_differences(base + ".html")
        lines = [(d["number"], [s["line"] for s in d["spans"]],
                  [s["text"] for s in d["spans"]]) for d in differences]
        if [(n, l, t) for n, l, t in html] != lines:
            yield "the HTML data differs from the JSON differences"
    if os.path.exists(base + ".diff.txt"):
        yield from difference_file_problems(base + ".diff.txt", differences)


def big5_line_pattern(spans):
    """A Big5 run's line: the line numbers, then the texts in columns of at
    least 31 bytes."""
    line = b"".join(b"%6d, " % span["line"] for span in spans)
    # A U+FFFD stands for a byte 0x80 or above that made no character
    # (a lead byte before a line end or a NUL): one byte, any of them.
    pattern = re.escape(line)
    for k, span in enumerate(spans):
        try:
            text = span["text"].replace("\ufffd", "?").encode("cp950")
        except UnicodeEncodeError:
            return None  # a character Big5 lacks: no Big5 run's line
        pattern += b"".join(
            b"[\x80-\xff]" if c == "\ufffd" else re.escape(c.encode("cp950"))
            for c in span["text"])
        if k + 1 < len(spans):
            pattern += re.escape(b" " * max(0, 31 - len(text)) + b", ")
    return pattern


def unicode_line_pattern(spans):
    """A Unicode run's line, in UTF-8: the same, padded by display columns
    (their count is the engine's own tests' business, not this check's)."""
    pattern = re.escape(b"".join(b"%6d, " % span["line"] for span in spans))
    for k, span in enumerate(spans):
        # A raw byte of a UTF-8 source is copied as it is; any other raw
        # character is written as U+FFFD.
        pattern += b"".join(
            b"(?:\xef\xbf\xbd|[\x80-\xff])" if c == "\ufffd"
            else re.escape(c.encode("utf-8")) for c in span["text"])
        if k + 1 < len(spans):
            pattern += b" *, "
    return pattern


def difference_file_problems(path, differences):
    """Rebuilds every line of the run's difference file from the JSON."""
    with open(path, "rb") as f:
        lines = f.read().split(b"\r\n")
    for i, difference in enumerate(differences):
        spans = difference["spans"]
        if i >= len(lines) or not any(
                pattern is not None and
                re.fullmatch(pattern, lines[i], re.DOTALL)
                for pattern in (big5_line_pattern(spans),
                                unicode_line_pattern(spans))):
            yield "difference %d: the difference file says %r" % (
                i + 1, lines[i] if i < len(lines) else None)
            return
    if len(lines) <= len(differences) or lines[len(differences)].strip():
        yield "the difference file holds more differences than the JSON"


def main():
    paths = sorted(glob.glob(os.path.join(sys.argv[1], "*.json")))
    if not paths:
        print("no JSON files in %s" % sys.argv[1])
        return 1
    failed = 0
    for path in paths:
        found = list(problems(path))
        for problem in found:
            print("%s: %s" % (os.path.basename(path), problem))
        failed += bool(found)
    print("%d cases checked, %d failed" % (len(paths), failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
