#!/usr/bin/env python3
"""Runs tessel-cli with --html, --json and --tei beside its result files
over every whole-run case (tests/data/<case>, as WholeRunCasesTest runs
them) and lays the outputs out for the report checks:

    NAME.html, NAME.json, NAME.tei.xml   the reports
    NAME.diff.txt                        the run's difference file
    NAME.source1.txt                     source 1 as it is
    NAME.compared<k>.txt                 source k's characters, UTF-8, with
                                         the ignored symbols the JSON lists
                                         and control characters left out

    cli_report_cases.py CLI DATA OUT

A case the command line refuses writes nothing and is skipped; every other
case must leave all three reports, and a failing one fails this script.
The real-edition cases run once more with the semantic variant table, as
variants-CASE.
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

import check_tei
import source_text


def compared_text(source, encoding, ignored, reached, stretches):
    with open(source, "rb") as f:
        raw = f.read()[:reached]
    if encoding == "big5":
        # The walk stops at a 0x1A.
        raw = check_tei.without_lone_last_byte(raw.split(b"\x1a", 1)[0])
    text = source_text.decode(source_text.without_mark(raw, encoding),
                              encoding)
    text = source_text.without_stretches(text, stretches)
    for symbol in ignored:
        if len(symbol) > 1:  # an ignored notation, in any case
            text = re.sub(re.escape(symbol), "", text, flags=re.IGNORECASE)
    return check_tei.without_ignored(text, ignored)


# The cases run again with a variant table, and the option that asks for it.
VARIANT_CASES = ("real-yunji-j022-two", "real-yunji-j022-three")
VARIANT_ARGS = ["--variants", "semantic"]


def run_case(cli, case_dir, out, name, extra_args=()):
    args = []
    with open(os.path.join(case_dir, "args"), encoding="utf-8") as f:
        args = [line.rstrip("\n") for line in f if line.strip() != ""]
    sources = [s for s in ("s1", "s2", "s3")
               if os.path.exists(os.path.join(case_dir, s))]
    with tempfile.TemporaryDirectory() as work:
        for entry in os.listdir(case_dir):
            path = os.path.join(case_dir, entry)
            if os.path.isfile(path):
                shutil.copy(path, work)
        outputs = []
        for k in range(len(sources)):
            outputs += ["--result", "r%d" % (k + 1)]
        reports = ["--html", "report.html", "--json", "report.json",
                   "--tei", "report.tei.xml"]
        run = subprocess.run([cli] + args + list(extra_args) + sources + outputs +
                             ["--diff", "d"] + reports, cwd=work,
                             capture_output=True)
        if run.returncode == 2:
            return None
        for ext in ("html", "json", "tei.xml"):
            shutil.copy(os.path.join(work, "report." + ext),
                        os.path.join(out, "%s.%s" % (name, ext)))
        with open(os.path.join(work, "d"), "rb") as f:
            diff = f.read()
        with open(os.path.join(out, name + ".diff.txt"), "wb") as f:
            f.write(diff)
        for k, source in enumerate(sources):
            shutil.copy(os.path.join(work, source),
                        os.path.join(out, "%s.source%d.txt" % (name, k + 1)))
        with open(os.path.join(out, name + ".json"), encoding="utf-8") as f:
            document = json.load(f)
        ignored = set(document["options"]["ignored"])
        stretches = source_text.stretch_pairs(args)
        if stretches:
            with open(os.path.join(out, name + ".stretches"), "w",
                      encoding="utf-8") as f:
                json.dump(stretches, f, ensure_ascii=False)
        for k, source in enumerate(sources):
            # A cut-off run has read each source to the end of its last
            # span; a completed one, all of it.
            reached = None
            if document["end"]["outcome"] != "completed":
                last = document["differences"][-1]["spans"][k]
                reached = last["offset"] + last["length"]
            with open(os.path.join(out, "%s.compared%d.txt" % (name, k + 1)),
                      "w", encoding="utf-8", newline="") as f:
                f.write(compared_text(os.path.join(work, source),
                                      document["sources"][k]["encoding"],
                                      ignored, reached, stretches))
    return run.returncode


def main():
    cli, data, out = sys.argv[1:4]
    os.makedirs(out, exist_ok=True)
    written = 0
    for case in sorted(os.listdir(data)):
        case_dir = os.path.join(data, case)
        if not os.path.exists(os.path.join(case_dir, "args")):
            continue
        status = run_case(os.path.abspath(cli), case_dir, out, "case-" + case)
        if status is not None:
            written += 1
        if case in VARIANT_CASES:
            status = run_case(os.path.abspath(cli), case_dir, out,
                              "variants-" + case, VARIANT_ARGS)
            if status is None:
                print("variants-%s: refused" % case)
                return 1
            written += 1
    print("%d cases written to %s" % (written, out))
    return 0 if written > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
