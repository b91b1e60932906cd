#!/usr/bin/env python3
"""Opens every NAME.html in a folder in headless Chromium and checks that
its script ran to the end without error (it marks the root element
data-report="ready"), that the editions and the list were drawn (and, with
variant tables, the variant list and marks), and that the file fetches
nothing.

    check_html.py FOLDER
    check_html.py --screenshot PNG HTML [WIDTHxHEIGHT]
"""
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
         "--disable-background-networking", "--disable-component-update",
         "--disable-sync", "--hide-scrollbars"]


def chromium():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        path = shutil.which(name)
        if path:
            return path
    sys.exit("no chromium found; install the Debian package chromium")


def run_browser(args):
    with tempfile.TemporaryDirectory() as profile:
        return subprocess.run([chromium()] + FLAGS +
                              ["--user-data-dir=" + profile] + args,
                              capture_output=True, text=True, timeout=180)


def dump_dom(path):
    return run_browser(["--dump-dom", "file://" + os.path.abspath(path)]).stdout


# Anything that would make the browser fetch: an address, or an attribute
# that loads a file.
FETCHES = re.compile(r"https?:|\ssrc=|\shref=|@import|url\(", re.I)


def problems(path):
    with open(path, encoding="utf-8") as f:
        page = f.read()
    fetch = FETCHES.search(page)
    if fetch:
        yield "fetches something: %r" % page[fetch.start():fetch.start() + 40]
    dom = dump_dom(path)
    root = re.search(r"<html[^>]*>", dom)
    state = re.search(r'data-report="([^"]*)"', root.group(0)) if root else None
    if not state:
        yield "the script never finished"
        return
    if state.group(1) != "ready":
        yield "the script failed: " + state.group(1)
        return
    if "\n[-1," in page:
        if '<mark data-d="0"' not in dom:
            yield "the first difference is not drawn"
        if 'class="row' not in dom:
            yield "the list is empty"
    if "\n[-2," in page:
        if 'class="row" style="top:0px" data-v="0"' not in dom:
            yield "the first variant is not listed"
        if '<span class="vr" data-v="0">' not in dom:
            yield "the first variant is not marked in the editions"
    if "<div class=\"seg\">" not in dom:
        yield "no edition text drawn"


def main():
    if sys.argv[1] == "--screenshot":
        png, html = sys.argv[2], sys.argv[3]
        size = sys.argv[4] if len(sys.argv) > 4 else "1366x768"
        result = run_browser(["--window-size=" + size.replace("x", ","),
                              "--screenshot=" + os.path.abspath(png),
                              "file://" + os.path.abspath(html)])
        return result.returncode
    paths = sorted(glob.glob(os.path.join(sys.argv[1], "*.html")))
    if not paths:
        print("no HTML files in %s" % sys.argv[1])
        return 1
    failed = 0
    for path in paths:
        found = list(problems(path))
        for problem in found:
            print("%s: %s" % (os.path.basename(path), problem))
        failed += bool(found)
    print("%d HTML files checked, %d failed" % (len(paths), failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
