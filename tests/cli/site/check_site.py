#!/usr/bin/env python3
"""Builds sites with `quillmark site` and checks what must hold for any site: every local link
finds its file and its anchor, every tag is closed in order, every module page is titled
"Module — Project", and each code line begins with its anchor L<n> (n counting from 1, an id of
nothing else), which with --line-numbers is also the link to itself that shows its number.

usage: check_site.py QUILLMARK PROJECT...  (a PROJECT that does not exist is passed over)
"""
import collections
import html.parser
import re
import os
import subprocess
import sys
import tempfile
import urllib.parse

VOID = {"meta", "link", "input", "br", "img", "hr"}


class Page(html.parser.HTMLParser):
    def __init__(self, path):
        super().__init__(convert_charrefs=True)
        self.path, self.ids, self.id_count, self.hrefs, self.problems = path, set(), collections.Counter(), [], []
        self.open, self.title, self.in_title, self.line_marks = [], "", False, []
        with open(path, encoding="utf-8") as f:
            self.feed(f.read())
        self.close()
        if self.open:
            self.problems.append(f"unclosed {self.open}")

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.id_count[attrs["id"]] += 1
            self.ids.add(attrs["id"])
        if tag == "a" and "href" in attrs:
            self.hrefs.append(attrs["href"])
        if attrs.get("class") == "Ln" or (tag == "a" and re.fullmatch(r"L[0-9]+", attrs.get("id", ""))):
            self.line_marks.append((tag, attrs.get("class"), attrs.get("id"), attrs.get("href")))
        self.in_title = tag == "title"
        if tag not in VOID:
            self.open.append(tag)

    def handle_endtag(self, tag):
        if not self.open or self.open[-1] != tag:
            self.problems.append(f"</{tag}> closes {self.open[-1:]} at line {self.getpos()[0]}")
        else:
            self.open.pop()
        self.in_title = False

    def handle_data(self, data):
        if self.in_title:
            self.title += data


def check(site, line_numbers):
    pages = {}
    for folder, _, files in os.walk(site):
        for name in files:
            if name.endswith(".html"):
                pages[os.path.join(folder, name)] = Page(os.path.join(folder, name))
    problems = []
    for path, page in pages.items():
        problems += [f"{path}: {p}" for p in page.problems]
        for href in page.hrefs:
            url = urllib.parse.urlsplit(href)
            if url.scheme or url.netloc:
                problems.append(f"{path}: link leaves the site: {href}")
                continue
            target = os.path.normpath(os.path.join(os.path.dirname(path), urllib.parse.unquote(url.path))) \
                if url.path else path
            if target not in pages:
                problems.append(f"{path}: no page for {href}")
            elif url.fragment and urllib.parse.unquote(url.fragment) not in pages[target].ids:
                problems.append(f"{path}: no anchor for {href}")
        if os.path.basename(path) != "index.html":
            if " — " not in page.title:
                problems.append(f"{path}: title {page.title!r}")
            if not page.line_marks:
                problems.append(f"{path}: no line marks")
            n = 0
            for mark in page.line_marks:
                n += 1
                # A procedure named like a line keeps its anchor: the line has none, only its number.
                while not line_numbers and f"L{n}" in page.ids and mark[2] != f"L{n}":
                    n += 1
                anchor = f"L{n}"
                if line_numbers and mark == ("span", "Ln", None, None) and anchor in page.ids:
                    continue
                wanted = ("a", "Ln", anchor, "#" + anchor) if line_numbers else ("a", None, anchor, None)
                if mark != wanted:
                    problems.append(f"{path}: line {n} is marked {mark}")
                    break
                if page.id_count[anchor] > 1:
                    problems.append(f"{path}: line {n}'s anchor is another element's id too")
    return len(pages), problems


def main():
    quillmark, projects = sys.argv[1], [p for p in sys.argv[2:] if os.path.exists(p)]
    failed = False
    for flags in (["--recursive"], ["--recursive", "--line-numbers", "--theme", "dark"]):
        with tempfile.TemporaryDirectory() as site:
            run = subprocess.run([quillmark, "site", "--quiet", "-o", site, *flags, *projects],
                                 capture_output=True, text=True)
            count, problems = check(site, "--line-numbers" in flags)
            if run.returncode != 0 or run.stderr:
                problems.insert(0, f"exit {run.returncode}: {run.stderr}")
            print(f"{' '.join(flags)}: {count} pages, {len(problems)} problems")
            for problem in problems:
                print("  " + problem)
            failed = failed or bool(problems) or count < 2
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
