#!/usr/bin/env python3
"""Opens quillmark.html from disk (file://) in headless Chromium and uses it as a reader would: the
test tree's folder picked (its module list, a module page and a link to a line, the copy, the
downloads, another theme), then, with ../shared/testdata, documents and a loose CP932 module file
dropped (a damaged and a locked document's messages, the modules, the CP932 page), each against
the native command on the same files. Every request the browser makes is recorded: none but the
page itself may be.

usage: page_test.py QUILLMARK PAGE
Exits 77 (skipped) when chromedriver or Chromium cannot be started here.
"""
import base64
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "cli", "site"))
from browser_test import SKIP, Browser, Skip, expect  # noqa: E402

REPO = os.path.realpath(os.path.join(here, "..", ".."))
FOLDER = os.path.join(REPO, "tests", "cli", "site", "OrderDesk")
OFFICE = os.path.join(os.path.dirname(REPO), "shared", "testdata", "office")
FRAME = "const frame = document.getElementById('view').contentDocument; "
MODULES = FRAME + "return [...frame.querySelectorAll('.Module .Name a')].map(a => a.textContent);"
SHOWN = FRAME + "return frame.querySelector('main') && frame.querySelector('main').outerHTML;"
NATIVE_MODULES = """return [...new DOMParser().parseFromString(arguments[0], 'text/html')
    .querySelectorAll('.Module .Name a')].map(a => a.textContent);"""
MAIN = "return new DOMParser().parseFromString(arguments[0], 'text/html').querySelector('main').outerHTML;"
DROP = """const transfer = new DataTransfer();
    for (const [name, data] of arguments[0])
        transfer.items.add(new File([Uint8Array.from(atob(data), c => c.charCodeAt(0))], name));
    document.dispatchEvent(new DragEvent('drop', {dataTransfer: transfer, bubbles: true, cancelable: true}));"""
# What the copy button puts on the clipboard, caught after the page's own handler.
CATCH_COPY = """window.addEventListener('copy', e => {
    window.copied = ['text/html', 'text/plain'].map(type => e.clipboardData.getData(type)); }, {once: true});"""
# What a download button hands the browser: the file's name and its text, or a zip's files.
DOWNLOAD = """const done = arguments[arguments.length - 1];
    const made = [];
    const createObjectURL = URL.createObjectURL, click = HTMLAnchorElement.prototype.click;
    URL.createObjectURL = (blob) => { made.push(blob); return createObjectURL(blob); };
    HTMLAnchorElement.prototype.click = function () { made.push(this.download); };
    document.getElementById(arguments[0]).click();
    URL.createObjectURL = createObjectURL;
    HTMLAnchorElement.prototype.click = click;
    (async () => {
        const bytes = new Uint8Array(await made[0].arrayBuffer());
        if (!made[1].endsWith('.zip')) return [made[1], new TextDecoder().decode(bytes)];
        const files = {};
        for (const [name, data] of Object.entries(fflate.unzipSync(bytes))) files[name] = new TextDecoder().decode(data);
        return [made[1], files];
    })().then(done);"""


def native_site(quillmark, folder, names, out):
    """The native site of names (in folder) made in out, as the page makes it: its files and its messages."""
    run = subprocess.run([quillmark, "site", "--quiet", "--recursive", "--theme", "light", "--line-numbers", "-o", out,
                          *names], cwd=folder, capture_output=True, text=True)
    files = {}
    for root, _, found in os.walk(out):
        for name in found:
            with open(os.path.join(root, name), encoding="utf-8", newline="") as f:
                files[os.path.relpath(os.path.join(root, name), out)] = f.read()
    return files, run.stderr


def command(quillmark, *args):
    """What the native command prints, run beside the test tree's folder."""
    return subprocess.run([quillmark, *args], cwd=os.path.dirname(FOLDER), capture_output=True,
                          check=True).stdout.decode()


def download(browser, button):
    return browser.call("POST", browser.session + "/execute/async", {"script": DOWNLOAD, "args": [button]})


def wait(browser, script, until=bool):
    """What script returns once until accepts it, or after ten seconds."""
    for _ in range(100):
        got = browser.run(script)
        if until(got):
            break
        time.sleep(0.1)
    return got


def test(browser, quillmark, page, work):
    browser.go("about:blank")
    browser.log("performance")  # the new tab's own loading, before the page
    browser.go("file://" + page)
    expect("the page starts its engine", wait(browser, "return 'ready' in document.documentElement.dataset"), True)

    # A folder picked, as its input hands it over: the site's module list and pages.
    browser.call("POST", browser.element("#folder") + "/value", {"text": FOLDER})
    native, _ = native_site(quillmark, os.path.dirname(FOLDER), ["OrderDesk"], os.path.join(work, "folder-site"))
    folder_modules = wait(browser, MODULES)
    expect("the folder's modules", folder_modules, browser.run(NATIVE_MODULES, native["index.html"]))
    browser.run(FRAME + "frame.querySelector('a[href$=\"Order.html\"]').click();")
    order = os.path.join("OrderDesk", "src", "classes", "Order.html")
    expect("the module page, highlighted and numbered", wait(browser, SHOWN), browser.run(MAIN, native[order]))
    browser.run(FRAME + "frame.querySelector('.UsedBy a').click();")
    expect("a link within the page goes to its line there", browser.run(
        FRAME + "return [frame.title, frame.querySelector(':target') && frame.querySelector(':target').id];"),
        ["Order — OrderDesk", "L17"])
    browser.run(CATCH_COPY)
    browser.click("#copy")
    copied = browser.run("return window.copied;")
    inline = command(quillmark, "convert", "--links", "--module", "Order", "--inline-styles", "--theme", "light",
                     "OrderDesk/src/classes/Order.cls")
    fragment = command(quillmark, "convert", "--links", "--module", "Order", "OrderDesk/src/classes/Order.cls")
    expect("the copy: HTML with inline styles, the fragment as text", copied, [inline, fragment])
    expect("the site's zip", download(browser, "site"), ["quillmark-site.zip", native])
    page_html = command(quillmark, "convert", "--links", "--module", "Order", "--page", "--theme", "light",
                        "--line-numbers", "OrderDesk/src/classes/Order.cls")
    for button, wanted in (("fragment", fragment), ("page", page_html)):
        expect(f"the {button} downloaded", download(browser, button), ["Order.html", wanted])

    # Another theme: the site made anew, the same module still shown.
    browser.run("const theme = document.getElementById('theme'); theme.value = 'dark';"
                "theme.dispatchEvent(new Event('change'));")
    expect("the dark theme's sheet on the module's page", wait(browser, FRAME + "return frame.title === 'Order — OrderDesk' "
           "&& frame.querySelector('style').textContent;"), command(quillmark, "css", "--page", "--theme", "dark"))

    if os.path.exists(OFFICE):
        drop_documents(browser, quillmark, work, folder_modules)
    else:
        print("skipped: dropped documents (no ../shared/testdata here)")

    requests = [entry for entry in (json.loads(e["message"])["message"] for e in browser.log("performance"))
                if entry["method"] == "Network.requestWillBeSent"]
    urls = [r["params"]["request"]["url"] for r in requests]
    expect("the recorder saw the page's own load", "file://" + page in urls, True)
    expect("no request but the page itself", [u for u in urls if u != "file://" + page and not u.startswith("blob:")],
           [])


def drop_documents(browser, quillmark, work, folder_modules):
    """Documents and a loose module file dropped: the same modules and messages as the command's."""
    dropped = {}
    for name in ("unlock_excel/xlsm/Locked_with_macro.xlsm", "pre-commit-VBA/test.xlsm", "ariawase/MonkeyTest.cls",
                 "poi/spreadsheet/SimpleMacro.xls"):
        with open(os.path.join(OFFICE, name), "rb") as f:
            dropped[os.path.basename(name)] = f.read()
    # Its module's compressed source overwritten, which both container readers reach.
    damaged = bytearray(dropped.pop("SimpleMacro.xls"))
    at = len(damaged) * 55 // 100
    damaged[at:at + 512] = b"\xff" * 512
    dropped["Damaged.xls"] = bytes(damaged)
    folder = os.path.join(work, "dropped")
    os.makedirs(os.path.join(folder, "VBAProject"))
    names = []
    for name, data in dropped.items():
        loose = name.endswith(".cls")
        with open(os.path.join(folder, "VBAProject" if loose else "", name), "wb") as f:
            f.write(data)
        if not loose or "VBAProject" not in names:
            names.append("VBAProject" if loose else name)
    browser.run(DROP, [[name, base64.b64encode(data).decode()] for name, data in dropped.items()])
    native, messages = native_site(quillmark, folder, names, os.path.join(work, "dropped-site"))
    expect("the messages of the damaged and locked documents", wait(browser, "return document.getElementById('messages')"
                                                                     ".textContent"), messages.replace(folder + "/", ""))
    expect("the dropped projects' modules", wait(browser, MODULES, lambda got: got != folder_modules),
           browser.run(NATIVE_MODULES, native["index.html"]))
    browser.run(FRAME + "frame.querySelector('a[href$=\"MonkeyTest.html\"]').click();")
    expect("the CP932 module's page", wait(browser, SHOWN), browser.run(MAIN, native["VBAProject/MonkeyTest.html"]))

    # Nothing readable: the message alone, no page of the projects before.
    locked = "Locked_with_macro.xlsm"
    browser.run(DROP, [[locked, base64.b64encode(dropped[locked]).decode()]])
    _, messages = native_site(quillmark, folder, [locked], os.path.join(work, "locked-site"))
    expect("a locked document alone", wait(browser, MODULES, lambda got: not got), [])
    expect("its messages", browser.run("return document.getElementById('messages').textContent"),
           messages.replace(folder + "/", ""))


def test_engine_refused(browser, page, work):
    """An engine the browser cannot compile: the page says what it needs."""
    broken = os.path.join(work, "broken.html")
    with open(page, encoding="utf-8") as original, open(broken, "w", encoding="utf-8") as out:
        out.write(original.read().replace('wasmBase64 = "AGFzbQ', 'wasmBase64 = "AAAAAA', 1))
    browser.go("file://" + broken)
    expect("an engine that does not compile is named", wait(
        browser, "return document.getElementById('messages').textContent").startswith(
        "This browser cannot run Quillmark: it needs WebAssembly with SIMD"), True)


def main():
    quillmark, page = (os.path.abspath(p) for p in sys.argv[1:3])
    driver, binary = shutil.which("chromedriver"), shutil.which("chromium") or shutil.which("chromium-browser")
    if not driver or not binary:
        print("skipped: chromedriver or chromium is not installed")
        return SKIP
    with tempfile.TemporaryDirectory() as work:
        try:
            browser = Browser(driver, binary, os.path.join(work, "profile"),
                              {"goog:loggingPrefs": {"performance": "ALL"}})
        except Skip as e:
            print(f"skipped: {e}")
            return SKIP
        try:
            test(browser, quillmark, page, work)
            test_engine_refused(browser, page, work)
        finally:
            browser.quit()
    print("the offline page works from disk and asks for nothing")
    return 0


if __name__ == "__main__":
    sys.exit(main())
