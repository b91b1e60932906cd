#!/usr/bin/env python3
"""Checks every NAME.tei.xml in a folder.

    check_tei.py --xmllint FOLDER   each file is well-formed for xmllint
    check_tei.py FOLDER             for every witness, the base text with
                                    that witness's readings put in gives
                                    back its compared characters
                                    (NAME.compared<k>.txt); for witness 1
                                    it gives back its whole text
                                    (NAME.source1.txt) but carriage returns
                                    and control characters other than tab
                                    and line feed.

The ignored symbols are those NAME.json lists, and control characters.
"""
import glob
import json
import os
import re
import subprocess
import sys
import unicodedata
import xml.etree.ElementTree as ET

import source_text

TEI = "{http://www.tei-c.org/ns/1.0}"
XML_ID = "{http://www.w3.org/XML/1998/namespace}id"


def check_xmllint(paths):
    failed = 0
    for path in paths:
        result = subprocess.run(["xmllint", "--noout", path],
                                capture_output=True, text=True)
        if result.returncode != 0:
            print("%s: %s" % (path, result.stderr.strip()[:2000]))
            failed += 1
    # The check must be able to fail.
    broken = subprocess.run(["xmllint", "--noout", "-"], input="<a><b></a>",
                            capture_output=True, text=True)
    if broken.returncode == 0:
        print("xmllint took a document that is not well-formed")
        failed += 1
    return failed


def without_lone_last_byte(raw):
    """`raw` less a last byte 0x80 or above that has no second byte: the
    reader drops it, and so do the result files."""
    i = 0
    while i < len(raw):
        if raw[i] < 0x80:
            i += 1
        elif i + 1 >= len(raw):
            return raw[:i]
        else:
            i += 1 if raw[i + 1] in b"\n\r\x1a" else 2
    return raw


def reading(element, witness):
    """The text of `element` with `witness`'s reading in every app."""
    out = [element.text or ""]
    for child in element:
        if child.tag == TEI + "app":
            chosen = [r for r in child if ("#" + witness) in (r.get("wit") or "").split()]
            if len(chosen) != 1:
                raise ValueError("app %s has %d readings for %s"
                                 % (child.get("n"), len(chosen), witness))
            out.append(reading(chosen[0], witness))
        else:
            out.append(reading(child, witness))
        out.append(child.tail or "")
    return "".join(out)


# What may be a notation: one character, whose own characters (the digits
# of "&x-5185;") are not ignored one by one.
NOTATION = re.compile(r"&[^;&\[\n]{1,19};|\[[^\]\[\n]{1,99}\]")


def without_ignored(text, ignored):
    """`text` less control characters and the one-character symbols in
    `ignored`, outside whatever may be a notation."""
    keep = lambda t: "".join(c for c in t if ord(c) >= 0x20 and c not in ignored)
    out = []
    start = 0
    for match in NOTATION.finditer(text):
        out.append(keep(text[start:match.start()]))
        out.append(match.group(0))
        start = match.end()
    out.append(keep(text[start:]))
    return "".join(out)


def strip(text, ignored):
    # An ignored notation is one symbol of several characters.
    for symbol in ignored:
        if len(symbol) > 1:
            text = text.replace(symbol, "")
    return without_ignored(text, ignored)


NAMED = re.compile(r"&x-([0-9A-Fa-f]{1,6});|&#[xX]([0-9A-Fa-f]{1,6});|&#([0-9]+);")


def as_compared(text, fold):
    """`text` as a Unicode run compares it: a notation that names a
    character is that character, and a character whose canonical
    decomposition is one character is that one. Where two sources agree
    so, the base text keeps source 1's spelling."""
    def named(match):
        hex_digits = match.group(1) or match.group(2)
        value = int(hex_digits, 16) if hex_digits else int(match.group(3))
        if value > 0x10FFFF or 0xD800 <= value <= 0xDFFF:
            return match.group(0)
        return chr(value)
    if fold:
        text = NAMED.sub(named, text)
    out = []
    for c in text:
        decomposition = unicodedata.decomposition(c)
        single = decomposition and " " not in decomposition and \
            not decomposition.startswith("<")
        out.append(chr(int(decomposition, 16)) if single else c)
    return "".join(out)


def same(text, expected, fold, unicode_run=False):
    """Equal, or with folding equal but for the case of ASCII letters: a
    folded notation is written in its first-met spelling. In a Unicode run,
    equal as the run compares them (as_compared)."""
    if text == expected:
        return True
    lower = lambda t: "".join(c.lower() if c < "\x80" else c for c in t)
    if fold and lower(text) == lower(expected):
        return True
    return unicode_run and \
        lower(as_compared(text, fold)) == lower(as_compared(expected, fold))


def check_witnesses(paths):
    failed = 0
    for path in paths:
        base = path[:-len(".tei.xml")]
        with open(base + ".json", encoding="utf-8") as f:
            document = json.load(f)
        ignored = set(document["options"]["ignored"])
        fold = document["options"]["fold_notations"]
        # The --ignore-between pairs of the run, when it had any: their
        # stretches are no more recorded than ignored symbols are.
        stretches = []
        if os.path.exists(base + ".stretches"):
            with open(base + ".stretches", encoding="utf-8") as f:
                stretches = [tuple(pair) for pair in json.load(f)]
        # A run that did not complete read a part of source 1 from its
        # start (where the part ends, NAME.compared1.txt says).
        partial = document["end"]["outcome"] != "completed"
        encoding = document["sources"][0]["encoding"]
        unicode_run = any(source["encoding"] != "big5"
                          for source in document["sources"])
        tree = ET.parse(path)
        witnesses = tree.getroot().findall(".//%slistWit/%switness" % (TEI, TEI))
        body = tree.getroot().find(".//%sbody" % TEI)
        problems = []
        for k, witness in enumerate(witnesses):
            name = witness.get(XML_ID)
            text = "".join(reading(p, name) for p in body.findall(TEI + "p"))
            # A stray byte is U+FFFD in the reports, as "replace" reads it.
            with open("%s.compared%d.txt" % (base, k + 1), encoding="utf-8",
                      errors="replace") as f:
                expected = f.read()
            compared = source_text.without_stretches(text, stretches)
            if not same(strip(compared, ignored), expected, fold, unicode_run):
                problems.append("witness %s: compared characters differ" % name)
            if k == 0:
                with open(base + ".source1.txt", "rb") as f:
                    raw = f.read()
                if encoding == "big5":  # the walk ends a source at a 0x1A
                    raw = without_lone_last_byte(raw.split(b"\x1a", 1)[0])
                raw = source_text.without_mark(raw, encoding)
                whole = "".join(c for c in source_text.decode(raw, encoding)
                                if c in "\t\n" or ord(c) >= 0x20)
                if partial:
                    whole = whole[:len(text)]
                if not same(text, whole, fold):
                    problems.append("witness %s: not its whole text" % name)
        if len(witnesses) not in (2, 3):
            problems.append("%d witnesses" % len(witnesses))
        for problem in problems:
            print("%s: %s" % (os.path.basename(path), problem))
        failed += bool(problems)
    return failed


def main():
    args = sys.argv[1:]
    lint = args[0] == "--xmllint"
    folder = args[-1]
    paths = sorted(glob.glob(os.path.join(folder, "*.tei.xml")))
    if not paths:
        print("no TEI files in %s" % folder)
        return 1
    failed = check_xmllint(paths) if lint else check_witnesses(paths)
    print("%d TEI files checked, %d failed" % (len(paths), failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
