"""A source's bytes as the reports read them, for the report checks.

Every encoding a run names, with the reports' reading of bytes that make
no character: each ill-formed UTF-8 byte and each unpaired UTF-16 unit
(or last odd byte) is one U+FFFD, where Python's own "replace" would
merge some of them. A byte-order mark is never text.
"""
import codecs

CODECS = {"big5": "cp950", "utf-8": "utf-8", "utf-16le": "utf-16-le",
          "utf-16be": "utf-16-be"}
MARKS = {"utf-8": codecs.BOM_UTF8, "utf-16le": codecs.BOM_UTF16_LE,
         "utf-16be": codecs.BOM_UTF16_BE}


def _one_per_unit(error):
    size = 2 if "16" in error.encoding else 1
    count = (error.end - error.start + size - 1) // size
    return "\ufffd" * count, error.end


codecs.register_error("tessel-units", _one_per_unit)


def without_mark(raw, encoding):
    mark = MARKS.get(encoding)
    return raw[len(mark):] if mark and raw.startswith(mark) else raw


def decode(raw, encoding):
    """`raw`, the bytes of a source or a span in `encoding`, as text."""
    if encoding == "big5":
        return raw.decode("cp950", "replace")
    return raw.decode(CODECS[encoding], "tessel-units")
