#!/usr/bin/env python3
"""Opens numbered fragments with marked lines in headless Chromium, as a blog shows them: the
fragment of classes under `quillmark css`, and the fragment styled inline, in every theme. Code
copied from them is the code of the same fragment without numbers; each marked line has a box
of the theme's target colour behind it, as wide as its block and level with its line, and only
the lines asked for have one.

usage: numbered_lines_test.py QUILLMARK PROJECT MODULE ENTRY MARKED
Exits 77 (skipped) when chromedriver or Chromium cannot be started here.
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "site"))
from browser_test import SKIP, Browser, Skip, expect  # noqa: E402

COPIED = """const range = document.createRange();
    range.selectNodeContents(document.body);
    getSelection().removeAllRanges(); getSelection().addRange(range);
    return getSelection().toString();"""

# For each marked line: its number (the anchor's, or the text in front of the code), whether the
# box spans its block and stands level with the line, and its colour.
MARKS = """return [...document.querySelectorAll('.Marked, span[style^="position: absolute"]')].map(box => {
        const number = box.nextElementSibling;
        const block = box.closest('p').getBoundingClientRect(), own = box.getBoundingClientRect();
        return [number.id || number.textContent, own.width === block.width,
            Math.abs(own.top - number.getBoundingClientRect().top) < 2, getComputedStyle(box).backgroundColor];
    });"""


def main():
    quillmark, project, module, entry, marked = sys.argv[1:6]
    driver, binary = shutil.which("chromedriver"), shutil.which("chromium") or shutil.which("chromium-browser")
    if not driver or not binary:
        print("skipped: chromedriver or chromium is not installed")
        return SKIP

    def run(*arguments):
        return subprocess.run([quillmark, *arguments], check=True, capture_output=True).stdout.decode()

    first, last = (int(n) for n in marked.split("-"))
    with tempfile.TemporaryDirectory() as work:
        try:
            browser = Browser(driver, binary, os.path.join(work, "profile"))
        except Skip as e:
            print(f"skipped: {e}")
            return SKIP
        try:
            for theme in ("light", "dark", "editor"):
                sheet = run("css", "--theme", theme)
                colours = set()
                for name, style in (("classes", []), ("inline", ["--inline-styles", "--theme", theme])):
                    texts = []
                    for numbers in ([], ["--line-numbers", "--highlight-lines", marked]):
                        fragment = run("convert", *style, *numbers, "--module", module, "--entry", entry, project)
                        path = os.path.join(work, f"{theme}-{name}-{len(numbers)}.html")
                        with open(path, "w", encoding="utf-8") as file:
                            file.write(f"<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<style>\n{sheet}"
                                       f"</style>\n</head>\n<body>\n{fragment}\n</body>\n</html>\n")
                        browser.go("file://" + path)
                        texts.append(browser.run(COPIED))
                    expect(f"{theme} {name}: copied code carries no numbers", texts[1], texts[0])
                    marks = browser.run(MARKS)
                    wanted = [f"L{n}" if name == "classes" else str(n) for n in range(first, last + 1)]
                    expect(f"{theme} {name}: the marked lines", [m[0] for m in marks], wanted)
                    expect(f"{theme} {name}: boxes as wide as the block, level with the line",
                           {tuple(m[1:3]) for m in marks}, {(True, True)})
                    colours |= {m[3] for m in marks}
                expect(f"{theme}: marks in one colour in both fragments", len(colours - {"rgba(0, 0, 0, 0)"}), 1)
        finally:
            browser.quit()
    return 0


if __name__ == "__main__":
    sys.exit(main())
