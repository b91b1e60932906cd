#!/usr/bin/env python3
"""Checks every NAME.json in a folder against the JSON Schema, and beyond
it: numbers run from 1, the counts agree, each span's offset and length
point at exactly its text in NAME.source<k>.txt, and "agree" names every
source once; with variant tables, each variant place points at its
character and the pair counts are those of the list, in order. Also makes sure the check can fail: a document without its
"end" must be refused.

    check_json.py SCHEMA FOLDER
"""
import glob
import json
import os
import re
import sys

import jsonschema

import source_text


def same_text(piece, encoding, text, document):
    """Whether source bytes `piece` read as `text`, but for what the format
    allows: a NUL after a byte 0x80 or above of a Big5 source is dropped,
    and a folded notation is written in its first-met spelling, which may
    differ from this one in the case of its ASCII letters."""
    if encoding == "big5":
        piece = re.sub(rb"([\x80-\xff])\x00", rb"\1", piece)
    read = source_text.decode(piece, encoding)
    if read == text:
        return True
    fold = document["options"]["fold_notations"]
    return fold and ascii_lower(read) == ascii_lower(text)


def ascii_lower(text):
    return "".join(c.lower() if c < "\x80" else c for c in text)


# A notation that names a character, as a variant place may be spelled.
NAMING = re.compile(r"&(?:x-|#x)([0-9A-Fa-f]+);|&#([0-9]+);")


def names_character(piece, encoding, character):
    text = source_text.decode(piece, encoding)
    if text == character:
        return True
    named = NAMING.fullmatch(text)
    if not named:
        return False
    value = int(named.group(1), 16) if named.group(1) else int(named.group(2))
    return value == ord(character)


def variant_problems(document, sources):
    has_tables = "variant_tables" in document["options"]
    if has_tables != ("variants" in document) or \
            has_tables != (document.get("minor") == 1):
        yield "variant tables, variants and minor version 1 go together"
        return
    if not has_tables:
        return
    variants = document["variants"]
    count = len(document["sources"])
    if document["end"].get("variants") != len(variants):
        yield "end: %s variants, the list holds %d" % (
            document["end"].get("variants"), len(variants))
    pairs = {}
    for i, variant in enumerate(variants):
        where = "variant %d" % (i + 1)
        if variant["number"] != i + 1 or len(variant["places"]) != count:
            yield "%s: numbered %d, %d places" % (
                where, variant["number"], len(variant["places"]))
            continue
        characters = tuple(p["character"] for p in variant["places"])
        pairs[characters] = pairs.get(characters, 0) + 1
        for k, place in enumerate(variant["places"]):
            source = sources[k] if k < len(sources) else None
            if source is None:
                continue
            piece = source[place["offset"]:place["offset"] + place["length"]]
            encoding = document["sources"][k]["encoding"]
            if not names_character(piece, encoding, place["character"]):
                yield "%s, source %d: bytes %r, character %r" % (
                    where, k + 1, piece, place["character"])
    expected = sorted(pairs.items(),
                      key=lambda p: (-p[1], [ord(c) for c in p[0]]))
    found = [(tuple(p["characters"]), p["count"])
             for p in document["variant_pairs"]]
    if found != expected:
        yield "variant_pairs %s, the list gives %s" % (found[:5], expected[:5])


def problems(path, document, validator):
    for error in validator.iter_errors(document):
        yield "schema: %s at %s" % (error.message, list(error.absolute_path))
    if not validator.is_valid(document):
        return
    base = path[:-len(".json")]
    count = len(document["sources"])
    sources = []
    for k in range(count):
        name = "%s.source%d.txt" % (base, k + 1)
        sources.append(open(name, "rb").read() if os.path.exists(name) else None)
    for k, source in enumerate(document["sources"]):
        if source["encoding"] not in source_text.CODECS:
            yield "source %d: no such encoding %r" % (k + 1, source["encoding"])
            return
    for k, source in enumerate(sources):
        if source is not None and len(source) != document["sources"][k]["bytes"]:
            yield "source %d: %d bytes, not %d" % (k + 1, len(source),
                                                   document["sources"][k]["bytes"])
    end = document["end"]
    if len(end["lines"]) != count or len(end["ended"]) != count:
        yield "end: lines and ended need one entry per source"
    if end["differences"] != len(document["differences"]):
        yield "end: %d differences, the list holds %d" % (
            end["differences"], len(document["differences"]))
    for i, difference in enumerate(document["differences"]):
        where = "difference %d" % (i + 1)
        if difference["number"] != i + 1:
            yield "%s: numbered %d" % (where, difference["number"])
        if len(difference["spans"]) != count:
            yield "%s: %d spans for %d sources" % (where, len(difference["spans"]), count)
        members = sorted(k for group in difference["agree"] for k in group)
        if members != list(range(1, count + 1)):
            yield "%s: agree %s" % (where, difference["agree"])
        for k, span in enumerate(difference["spans"]):
            source = sources[k] if k < len(sources) else None
            if source is None:
                continue
            piece = source[span["offset"]:span["offset"] + span["length"]]
            encoding = document["sources"][k]["encoding"]
            # A byte-order mark is never inside a span.
            mark = len(source) - len(source_text.without_mark(source, encoding))
            if not same_text(piece, encoding, span["text"], document) or \
                    span["offset"] + span["length"] > len(source) or \
                    span["offset"] < mark:
                yield "%s, source %d: bytes %r, text %r" % (
                    where, k + 1, piece, span["text"])
    yield from variant_problems(document, sources)


def main():
    schema_path, folder = sys.argv[1], sys.argv[2]
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.Draft7Validator.check_schema(schema)
    validator = jsonschema.Draft7Validator(schema)
    paths = sorted(glob.glob(os.path.join(folder, "*.json")))
    if not paths:
        print("no JSON files in %s" % folder)
        return 1
    failed = 0
    for path in paths:
        with open(path, encoding="utf-8", errors="strict") as f:
            document = json.load(f)
        found = list(problems(path, document, validator))
        for problem in found[:20]:
            print("%s: %s" % (os.path.basename(path), problem))
        failed += bool(found)
        broken = dict(document)
        del broken["end"]
        if validator.is_valid(broken):
            print("%s: the schema takes a document without its end" % path)
            failed += 1
    print("%d JSON files checked, %d failed" % (len(paths), failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
