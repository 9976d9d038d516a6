#!/usr/bin/env python3
"""The offline page, quillmark.html, opened from disk in headless Chromium: its size, the time
from navigation to its engine ready (the wasm decoded from base64, compiled and started), and
from picking the test tree's folder to its site shown. Medians of five runs.

usage: bench/page_bench.py   (after scripts/build-web.sh)
"""
import gzip
import os
import shutil
import statistics
import sys
import tempfile
import time

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(root, "tests", "cli", "site"))
from browser_test import Browser  # noqa: E402

PAGE = os.path.join(root, "build-web", "quillmark.html")
FOLDER = os.path.join(root, "tests", "cli", "site", "OrderDesk")
READY = "return 'ready' in document.documentElement.dataset"
SHOWN = "return document.getElementById('view').contentDocument.querySelectorAll('.Module').length > 0"


def until(browser, script):
    while not browser.run(script):
        time.sleep(0.005)


def main():
    with open(PAGE, "rb") as f:
        data = f.read()
    print(f"quillmark.html: {len(data):,} bytes; {len(gzip.compress(data, 9)):,} with gzip -9")
    opening, showing = [], []
    with tempfile.TemporaryDirectory() as work:
        browser = Browser(shutil.which("chromedriver"), shutil.which("chromium"), os.path.join(work, "profile"))
        try:
            for _ in range(5):
                browser.go("about:blank")
                started = time.perf_counter()
                browser.go("file://" + PAGE)
                until(browser, READY)
                opening.append(time.perf_counter() - started)
                started = time.perf_counter()
                browser.call("POST", browser.element("#folder") + "/value", {"text": FOLDER})
                until(browser, SHOWN)
                showing.append(time.perf_counter() - started)
        finally:
            browser.quit()
    print(f"opening, navigation to ready: {statistics.median(opening) * 1000:.0f} ms "
          f"({min(opening) * 1000:.0f}-{max(opening) * 1000:.0f})")
    print(f"the test tree's folder picked to its site shown: {statistics.median(showing) * 1000:.0f} ms "
          f"({min(showing) * 1000:.0f}-{max(showing) * 1000:.0f})")


if __name__ == "__main__":
    main()
