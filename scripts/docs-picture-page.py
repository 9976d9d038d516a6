#!/usr/bin/env python3
"""Draws docs/offline-page.png in headless Chromium: quillmark.html opened from disk, the example
project's folder picked and its Ledger module shown. After scripts/build-web.sh."""
import base64
import os
import shutil
import sys
import tempfile
import time

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(root, "tests", "cli", "site"))
from browser_test import Browser  # noqa: E402

FRAME = "const frame = document.getElementById('view').contentDocument; "


def until(browser, script):
    for _ in range(200):
        if browser.run(script):
            return
        time.sleep(0.05)
    sys.exit(f"docs-picture-page.py: the page did not get there: {script}")


with tempfile.TemporaryDirectory() as work:
    browser = Browser(shutil.which("chromedriver"), shutil.which("chromium"), os.path.join(work, "profile"))
    try:
        browser.go("file://" + os.path.join(root, "build-web", "quillmark.html"))
        until(browser, "return 'ready' in document.documentElement.dataset")
        browser.call("POST", browser.element("#folder") + "/value", {"text": os.path.join(root, "examples", "Sample")})
        until(browser, FRAME + "return frame.querySelector('a[href$=\"Ledger.html\"]') !== null")
        browser.run(FRAME + "frame.querySelector('a[href$=\"Ledger.html\"]').click();")
        until(browser, FRAME + "return frame.querySelector('main') !== null")
        png = base64.b64decode(browser.call("GET", browser.session + "/screenshot"))
    finally:
        browser.quit()
with open(os.path.join(root, "docs", "offline-page.png"), "wb") as f:
    f.write(png)
print("docs/offline-page.png")
