#!/usr/bin/env python3
"""Renders a Markdown post with the package's markdown-it plugin in headless Chromium, the
package and markdown-it loaded as a blog's page loads them (served from 127.0.0.1), and checks
that the page gets the HTML that Node gets from the same post, styled by the package's sheet.

usage: markdown_post_test.py PACKAGE
Exits 77 (skipped) when chromedriver or Chromium cannot be started here.
"""
import functools
import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "cli", "site"))
from browser_test import SKIP, Browser, Skip, expect  # noqa: E402

POST = """# Summing a month

The macro below runs when the workbook opens.

```vba
Private Sub Workbook_Open()
    Rem totals first
    Total = Sum(1, 2) & "<b>" ' not bold
10  GoTo Done
Done:
End Sub
```

Helpers live in a module of their own:

```bas
Public Function Sum(a As Long, b As Long) As Long
    Sum = a + b
End Function
```

```js
const notVba = "<i>";
```
"""

PAGE = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>loading</title>
<script type="importmap">{"imports": {"pako": "/package/node_modules/pako/dist/pako.esm.mjs"}}</script>
<script src="/package/node_modules/markdown-it/dist/markdown-it.min.js"></script>
<style id="sheet"></style>
</head><body><article id="post"></article>
<script type="module">
import plugin from "/package/markdown-it.mjs";
import { css } from "/package/index.mjs";
const post = await (await fetch("/post.md")).text();
document.getElementById("sheet").textContent = css("light");
window.rendered = window.markdownit().use(plugin, { links: true }).render(post);
document.getElementById("post").innerHTML = window.rendered;
document.title = "done";
</script></body></html>
"""

NODE_RENDER = """
const [packageFolder, post] = process.argv.slice(1);
const { default: plugin } = await import(packageFolder + '/markdown-it.mjs');
const { createRequire } = await import('node:module');
const MarkdownIt = createRequire(packageFolder + '/package.json')('markdown-it');
process.stdout.write(new MarkdownIt().use(plugin, { links: true }).render(post));
"""


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def main():
    package = os.path.abspath(sys.argv[1])
    driver, binary = shutil.which("chromedriver"), shutil.which("chromium") or shutil.which("chromium-browser")
    if not driver or not binary:
        print("skipped: chromedriver or chromium is not installed")
        return SKIP
    in_node = subprocess.run(["node", "--input-type=module", "-e", NODE_RENDER, package, POST], check=True,
                             capture_output=True).stdout.decode()
    with tempfile.TemporaryDirectory() as work:
        site = os.path.join(work, "site")
        os.mkdir(site)
        os.symlink(package, os.path.join(site, "package"))
        for name, text in (("post.md", POST), ("post.html", PAGE)):
            with open(os.path.join(site, name), "w", encoding="utf-8") as out:
                out.write(text)
        Quiet.extensions_map = {**Quiet.extensions_map, ".mjs": "text/javascript", ".wasm": "application/wasm"}
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=site))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        try:
            browser = Browser(driver, binary, os.path.join(work, "profile"))
        except Skip as e:
            server.shutdown()
            print(f"skipped: {e}")
            return SKIP
        try:
            browser.go(f"http://127.0.0.1:{server.server_address[1]}/post.html")
            for _ in range(100):
                if browser.run("return document.title") == "done":
                    break
                browser.run("return new Promise(r => setTimeout(r, 100))")
            expect("the page rendered the post", browser.run("return document.title"), "done")
            expect("the post's HTML in Chromium", browser.run("return window.rendered"), in_node)
            looks = browser.run("""return {
                blocks: document.querySelectorAll('.CodeArea').length,
                keyword: getComputedStyle(document.querySelector('.Deco3')).color,
                text: getComputedStyle(document.body).color,
                space: getComputedStyle(document.querySelector('.CodeArea p')).whiteSpace,
                js: document.querySelectorAll('code.language-js').length};""")
            expect("converted fences", looks["blocks"], 2)
            expect("the keywords coloured by the sheet", looks["keyword"] != looks["text"], True)
            expect("the code's lines kept", looks["space"], "pre")
            expect("the JavaScript fence left to markdown-it", looks["js"], 1)
        finally:
            browser.quit()
            server.shutdown()
    print("the Markdown post renders in Chromium as in Node")
    return 0


if __name__ == "__main__":
    sys.exit(main())
