#!/usr/bin/python3
"""Character-level diff of two Big5 files with diff-match-patch.

The benchmark's peer for a general-purpose character diff: it reads both
files as code page 950 text, diffs them with no time limit (Diff_Timeout
= 0, so the result is exact rather than cut short), and writes the diff as
a delta to OUTPUT, so the work includes handing the result over, as every
other tool in the table does.

Usage: dmp_diff.py FILE1 FILE2 OUTPUT
Exit status: 0 the files agree, 1 they differ, 2 trouble.
"""

import sys

from diff_match_patch import diff_match_patch


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    with open(argv[1], "rb") as f:
        a = f.read().decode("cp950")
    with open(argv[2], "rb") as f:
        b = f.read().decode("cp950")
    dmp = diff_match_patch()
    dmp.Diff_Timeout = 0
    diffs = dmp.diff_main(a, b, checklines=False)
    with open(argv[3], "w", encoding="utf-8") as out:
        out.write(dmp.diff_toDelta(diffs))
    return 0 if all(op == dmp.DIFF_EQUAL for op, _ in diffs) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
