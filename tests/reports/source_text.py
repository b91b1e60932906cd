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


LINE_ENDS = "\n\r\x1a\x00"


def without_stretches(text, pairs):
    """`text` without the stretches --ignore-between leaves uncompared: from
    an OPEN to the first CLOSE after it on the same line, the first pair
    given winning where several open at one place."""
    out = []
    i = 0
    while i < len(text):
        for opener, closer in pairs:
            if not text.startswith(opener, i):
                continue
            end = text.find(closer, i + len(opener))
            if end < 0 or any(c in text[i:end] for c in LINE_ENDS):
                continue
            i = end + len(closer)
            break
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def stretch_pairs(args):
    """The (OPEN, CLOSE) pairs of --ignore-between in a case's arguments."""
    return [(args[i + 1], args[i + 2]) for i, arg in enumerate(args)
            if arg == "--ignore-between" and i + 2 < len(args)]
