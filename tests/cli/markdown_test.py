#!/usr/bin/env python3
"""Renders `convert --format markdown` with a real CommonMark implementation (cmark) and
compares the document it makes with the fragment's own: the same elements, attributes and text,
for every module of a project and for modules of blank, space-only and tab-only lines, with and
without links and line numbers. The Deco fragment itself, rendered the same way, breaks apart,
which shows that the comparison can tell.

usage: markdown_test.py QUILLMARK PROJECT
Exits 77 (skipped) when cmark is not installed.
"""
import html.parser
import shutil
import subprocess
import sys

SKIP = 77

# Lines that end an HTML block, start an indented code block or a paragraph, in every place a
# block can hold them; a module without procedures gives its link list empty lines.
MODULES = {
    "Blanks": "Sub A()\r\n\r\n    x = 1 < 2\r\n  \r\n\t\r\n\r\n        y = \"a\"\r\nEnd Sub\r\n\r\nSub B()\r\nEnd Sub\r\n",
    "Bare": "x = 1\r\n\r\n    y = 2\r\n",
}


class Tree(html.parser.HTMLParser):
    """Elements as (tag, attributes, children), runs of text joined, as a browser builds them."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.root = ("#root", (), [])
        self.open = [self.root]

    def handle_starttag(self, tag, attrs):
        element = (tag, tuple(sorted(attrs)), [])
        self.open[-1][2].append(element)
        self.open.append(element)

    def handle_endtag(self, tag):
        while len(self.open) > 1:
            if self.open.pop()[0] == tag:
                break

    def handle_data(self, data):
        children = self.open[-1][2]
        if children and isinstance(children[-1], str):
            children[-1] += data
        else:
            children.append(data)


def tree(text):
    parser = Tree()
    parser.feed(text.replace("\r\n", "\n"))
    parser.close()
    # Whitespace between the top-level blocks is no part of the code.
    return [c for c in parser.root[2] if not (isinstance(c, str) and not c.strip())]


def run(arguments, stdin=None):
    return subprocess.run(arguments, input=stdin, capture_output=True, check=True).stdout.decode()


def main():
    if not shutil.which("cmark"):
        print("cmark is not installed")
        return SKIP
    quillmark, project = sys.argv[1], sys.argv[2]
    modules = [line.split(" ", 1)[1] for line in run([quillmark, "list", project]).splitlines()]
    cases = [(m, [project], None) for m in modules] + [(m, ["-"], t.encode()) for m, t in MODULES.items()]
    failures = 0
    for module, paths, stdin in cases:
        for options in ([], ["--links"], ["--line-numbers", "--highlight-lines", "2-4"], ["--entry", "A"]):
            if options == ["--entry", "A"] and module != "Blanks":
                continue
            common = options + ["--module", module] + paths
            fragment = run([quillmark, "convert"] + common, stdin)
            markdown = run([quillmark, "convert", "--format", "markdown"] + common, stdin)
            blank = [n for n, line in enumerate(markdown.split("\n")[:-1], 1) if not line.strip(" \t")]
            rendered = run(["cmark", "--unsafe"], markdown.encode())
            if blank or tree(rendered) != tree(fragment):
                failures += 1
                print(f"FAIL {module} {options}: blank lines {blank}\n{rendered[:2000]}")
    # The comparison tells a broken block: the Deco fragment of a module with blank lines.
    fragment = run([quillmark, "convert", "--module", "Blanks", "-"], MODULES["Blanks"].encode())
    if tree(run(["cmark", "--unsafe"], fragment.encode())) == tree(fragment):
        failures += 1
        print("FAIL the fragment's blank lines should have broken its HTML block")
    print(f"{len(cases)} modules, {failures} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
