#!/usr/bin/env python3
"""Opens, in headless Chromium, a module's fragment styled inline beside the same fragment under
the theme's style sheet (as --page serves it), in every theme, and compares the computed looks
of every block, span and link of the two: colours, fonts, spacing, borders and the background
each one shows on.

usage: inline_styles_test.py QUILLMARK PROJECT MODULE
Exits 77 (skipped) when chromedriver or Chromium cannot be started here.
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "site"))
from browser_test import SKIP, Browser, Skip, expect  # noqa: E402

LOOKS = """const box = ['margin', 'padding', 'border-left', 'border-top'];
    const text = ['color', 'font-weight', 'font-style', 'font-family', 'font-size', 'line-height', 'white-space',
        'text-decoration-line'];
    // A block's text is the code's; around the code only the links' colour is the fragment's.
    const properties = {DIV: box, P: box.concat(text), SPAN: text, A: ['color']};
    const background = e => {
        for (; e; e = e.parentElement) {
            const colour = getComputedStyle(e).backgroundColor;
            if (colour !== 'rgba(0, 0, 0, 0)') return colour;
        }
        return 'none';
    };
    return [...document.body.querySelectorAll('div, p, span, a')].map(e => {
        const style = getComputedStyle(e);
        return [e.tagName, e.id, properties[e.tagName].map(p => p + ': ' + style.getPropertyValue(p)), background(e)];
    });"""


def main():
    quillmark, project, module = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
    driver, binary = shutil.which("chromedriver"), shutil.which("chromium") or shutil.which("chromium-browser")
    if not driver or not binary:
        print("skipped: chromedriver or chromium is not installed")
        return SKIP

    def run(*arguments):
        return subprocess.run([quillmark, *arguments], check=True, capture_output=True).stdout.decode()

    with tempfile.TemporaryDirectory() as work:
        pages = {}
        for theme in ("light", "dark", "editor"):
            classes = run("convert", "--links", "--module", module, project)
            sheet = run("css", "--page", "--theme", theme)
            styled = (f"<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<style>\n{sheet}"
                      f"</style>\n</head>\n<body>\n{classes}\n</body>\n</html>\n")
            inline = run("convert", "--links", "--inline-styles", "--page", "--theme", theme, "--module", module,
                         project)
            expect(f"{theme}: no class in the inline page", "class=" in inline, False)
            for name, page in (("classes", styled), ("inline", inline)):
                pages[theme, name] = os.path.join(work, f"{theme}-{name}.html")
                with open(pages[theme, name], "w", encoding="utf-8") as file:
                    file.write(page)
        try:
            browser = Browser(driver, binary, os.path.join(work, "profile"))
        except Skip as e:
            print(f"skipped: {e}")
            return SKIP
        try:
            for theme in ("light", "dark", "editor"):
                looks = {}
                for name in ("classes", "inline"):
                    browser.go("file://" + pages[theme, name])
                    looks[name] = browser.run(LOOKS)
                expect(f"{theme}: as many elements", len(looks["inline"]), len(looks["classes"]))
                expect(f"{theme}: tokens in more than one colour",
                       len({str(look[2][0]) for look in looks["inline"] if look[0] == "SPAN"}) > 1, True)
                for got, wanted in zip(looks["inline"], looks["classes"]):
                    if got != wanted:
                        expect(f"{theme}: the looks of {wanted[0]} {wanted[1]}", got, wanted)
                print(f"ok: {theme}: every element looks the same")
        finally:
            browser.quit()
    return 0


if __name__ == "__main__":
    sys.exit(main())
