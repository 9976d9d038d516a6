#!/usr/bin/env python3
"""Puts a module's fragment and the style sheet that `quillmark css` prints into a blog's own
styled page (cream background, Georgia, a centred column, orange links, a styled heading, custom
properties of its own) in headless Chromium, in every theme. No element of the blog outside the
fragment may change its computed style, and the fragment's code must look as it does on the page
of `convert --page`. The whole page's sheet, `css --page`, does change the blog, which shows
that the comparison can tell.

usage: blog_page_test.py QUILLMARK PROJECT MODULE
Exits 77 (skipped) when chromedriver or Chromium cannot be started here.
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "site"))
from browser_test import SKIP, Browser, Skip, expect  # noqa: E402

BLOG = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Notes on Excel</title>
<style>
:root { --page: #fdf6e3; --text: #3b2f2f; --link: #d2691e; --rule: #e0c9a6; }
body { margin: 0; background: var(--page); color: var(--text); font: 18px/1.7 Georgia, serif; }
.column { max-width: 38em; margin: 0 auto; padding: 2em 1em; border-top: 4px solid var(--rule); }
h1 { font-size: 2.4em; font-weight: normal; color: #7a3e00; text-align: center; margin: 0 0 .5em; }
a { color: var(--link); text-decoration: none; border-bottom: 1px dotted; }
p { margin: 0 0 1.2em; text-align: justify; }
footer { font-size: .8em; font-style: italic; text-align: center; }
</style>
<style>
SHEET</style>
</head>
<body>
<div class="column">
<header><h1>Summing a month in VBA</h1><p class="byline">by <a href="#about">a blogger</a></p></header>
<article>
<p>Before the code, a <a href="#link">link</a> and some <em>text</em>.</p>
<ul class="tags"><li><a href="#vba">VBA</a></li><li>Excel</li></ul>
FRAGMENT
<p>After the code, <code>inline code</code> and another <a href="#x">link</a>.</p>
<h2>Next</h2>
</article>
<footer>&copy; the blog</footer>
</div>
</body>
</html>
"""

# Every computed property of each element outside the fragment (its code blocks and its link
# list, the one list without a class), but those that follow the layout's sizes.
BLOG_LOOKS = """const sized = /^(width|height|inline-size|block-size|perspective-origin|transform-origin)$/;
    const outside = e => !e.closest('.CodeArea') && !e.closest('ul:not([class])');
    return [...document.querySelectorAll('*')].filter(outside).map(e => {
        const style = getComputedStyle(e);
        return [e.tagName + (e.className ? '.' + e.className : ''),
            Object.fromEntries([...style].filter(p => !sized.test(p)).map(p => [p, style.getPropertyValue(p)]))];
    });"""

# The looks of the code: its blocks' frame and background, its text's colours and fonts.
CODE_LOOKS = """const text = ['color', 'font-weight', 'font-style', 'font-family', 'font-size', 'line-height', 'white-space',
        'text-decoration-line', 'padding', 'background-color'];
    const properties = {DIV: ['border-left', 'border-top', 'background-color'], P: text, SPAN: text};
    const value = (style, p) => p.startsWith('border') && style.getPropertyValue(p + '-style') === 'none' ? 'none'
        : style.getPropertyValue(p);
    return [...document.querySelectorAll('.CodeArea, .CodeArea p, .CodeArea span')].map(e => {
        const style = getComputedStyle(e);
        return [e.tagName, e.id, properties[e.tagName].map(p => p + ': ' + value(style, p))];
    });"""


def differences(got, wanted):
    """The properties of the blog's elements that differ, as 'element property: was -> is'."""
    found = []
    for (element, after), (_, before) in zip(got, wanted):
        found += [f"{element} {p}: {before[p]} -> {after[p]}" for p in before if after.get(p) != before[p]]
    return found


def main():
    quillmark, project, module = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
    driver, binary = shutil.which("chromedriver"), shutil.which("chromium") or shutil.which("chromium-browser")
    if not driver or not binary:
        print("skipped: chromedriver or chromium is not installed")
        return SKIP

    def run(*arguments):
        return subprocess.run([quillmark, *arguments], check=True, capture_output=True).stdout.decode()

    fragment = run("convert", "--links", "--module", module, project)
    themes = ("light", "dark", "editor")
    with tempfile.TemporaryDirectory() as work:
        pages = {}

        def write(name, text):
            pages[name] = os.path.join(work, name + ".html")
            with open(pages[name], "w", encoding="utf-8") as file:
                file.write(text)

        write("bare", BLOG.replace("SHEET", "").replace("FRAGMENT", fragment))
        for theme in themes:
            for sheet in ("fragment", "page"):
                css = run("css", "--theme", theme, *(["--page"] if sheet == "page" else []))
                write(f"{theme}-{sheet}", BLOG.replace("SHEET", css).replace("FRAGMENT", fragment))
            write(f"{theme}-converted", run("convert", "--page", "--links", "--theme", theme, "--module", module,
                                            project))
        try:
            browser = Browser(driver, binary, os.path.join(work, "profile"))
        except Skip as e:
            print(f"skipped: {e}")
            return SKIP

        def looks(page, script):
            browser.go("file://" + pages[page])
            return browser.run(script)

        try:
            bare = looks("bare", BLOG_LOOKS)
            expect("the blog's elements outside the fragment", len(bare) > 15, True)
            for theme in themes:
                styled = looks(f"{theme}-fragment", BLOG_LOOKS)
                expect(f"{theme}: the blog's elements", [e[0] for e in styled], [e[0] for e in bare])
                expect(f"{theme}: nothing outside the fragment changed", differences(styled, bare)[:10], [])
                expect(f"{theme}: the page's whole sheet would have changed the blog",
                       bool(differences(looks(f"{theme}-page", BLOG_LOOKS), bare)), True)
                code = looks(f"{theme}-fragment", CODE_LOOKS)
                converted = looks(f"{theme}-converted", CODE_LOOKS)
                expect(f"{theme}: as many code elements", len(code), len(converted))
                for got, wanted in zip(code, converted):
                    if got != wanted:
                        expect(f"{theme}: the looks of {wanted[0]} {wanted[1]}", got, wanted)
                print(f"ok: {theme}: code in the blog looks as on the converted page")
                expect(f"{theme}: tokens in more than one colour", len({str(c[2][0]) for c in code}) > 2, True)
        finally:
            browser.quit()
    return 0


if __name__ == "__main__":
    sys.exit(main())
