#!/usr/bin/env python3
"""Opens a site made by `quillmark site` in headless Chromium through chromedriver (WebDriver,
JSON over HTTP) and uses it as a reader would: the index, its search box and contents, a module page, a link
to a procedure of another module and to a class, a procedure's "Used by", copying numbered code, a line's anchor and its number's link, and
the index on a phone's screen (and a line's anchor on a page without numbers).

usage: browser_test.py QUILLMARK PROJECT
Exits 77 (skipped) when chromedriver or Chromium cannot be started here.
"""
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.parse
import urllib.request

SKIP = 77
CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--window-size=1200,900"]


class Skip(Exception):
    pass


class Browser:
    def __init__(self, driver, binary, profile, capabilities=None):
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            port = s.getsockname()[1]
        self.base = f"http://127.0.0.1:{port}"
        self.driver = subprocess.Popen([driver, f"--port={port}"], stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
        for _ in range(100):
            try:
                if self.call("GET", "/status")["ready"]:
                    break
            except OSError:
                time.sleep(0.1)
        else:
            self.driver.kill()
            raise Skip("chromedriver does not answer")
        options = {"binary": binary, "args": CHROMIUM_FLAGS + [f"--user-data-dir={profile}"]}
        try:
            session = self.call("POST", "/session", {"capabilities": {"alwaysMatch": {
                "browserName": "chrome", "goog:chromeOptions": options, **(capabilities or {})}}})
        except RuntimeError as e:
            self.driver.kill()
            raise Skip(f"Chromium does not start: {e}")
        self.session = f"/session/{session['sessionId']}"

    def call(self, method, path, body=None):
        data = json.dumps(body).encode() if body is not None else None
        request = urllib.request.Request(self.base + path, data=data, method=method,
                                         headers={"Content-Type": "application/json"})
        try:
            with urllib.request.urlopen(request, timeout=60) as response:
                return json.load(response)["value"]
        except urllib.error.HTTPError as e:
            raise RuntimeError(json.load(e)["value"].get("message", str(e)).splitlines()[0])

    def go(self, url):
        self.call("POST", self.session + "/url", {"url": url})

    def back(self):
        self.call("POST", self.session + "/back", {})

    def run(self, script, *args):
        return self.call("POST", self.session + "/execute/sync", {"script": script, "args": list(args)})

    def element(self, css):
        found = self.call("POST", self.session + "/element", {"using": "css selector", "value": css})
        return self.session + "/element/" + next(iter(found.values()))

    def click(self, css):
        self.call("POST", self.element(css) + "/click", {})

    def type(self, css, text):
        """Replaces the field's text as a user would: select all, delete, type."""
        self.call("POST", self.element(css) + "/value", {"text": "\ue009a\ue000\ue003" + text})

    def log(self, kind):
        """The entries of a log asked for with goog:loggingPrefs since the last call."""
        return self.call("POST", self.session + "/se/log", {"type": kind})

    def quit(self):
        try:
            self.call("DELETE", self.session)
        finally:
            self.driver.kill()
            self.driver.wait()


VISIBLE_MODULES = """return [...document.querySelectorAll('.Module')].filter(m => m.offsetParent !== null)
    .map(m => m.querySelector('.Name a').textContent + ':' + [...m.querySelectorAll('.Procedures li')]
    .filter(p => p.offsetParent !== null).length);"""
TARGET = "return [location.pathname.split('/').pop(), decodeURIComponent(location.hash), " \
         "document.querySelector(':target') && document.querySelector(':target').id];"
# The page queries made by one keystroke's filtering, which must not grow with the modules.
QUERIES_OF_A_KEYSTROKE = """const counted = [];
    let queries = 0;
    for (const type of [Document, Element])
        for (const name of ['querySelector', 'querySelectorAll', 'getElementsByClassName', 'getElementsByTagName']) {
            const real = type.prototype[name];
            counted.push([type, name, real]);
            type.prototype[name] = function () { queries++; return real.apply(this, arguments); };
        }
    const box = document.getElementById('search');
    box.value = arguments[0];
    box.dispatchEvent(new Event('input'));
    for (const [type, name, real] of counted) type.prototype[name] = real;
    return queries;"""
COPIED_BLOCK = """const range = document.createRange();
    range.selectNodeContents(document.getElementById(arguments[0]));
    getSelection().removeAllRanges(); getSelection().addRange(range);
    return getSelection().toString();"""

# Whether the box behind the targeted line has the targeted colour, spans its block's width and is
# one line high.
HIGHLIGHT = """const line = document.querySelector(':target');
    const box = getComputedStyle(line, '::after');
    const probe = document.body.appendChild(document.createElement('div'));
    probe.style.background = 'var(--target)';
    const block = line.closest('p');
    const result = [box.backgroundColor === getComputedStyle(probe).backgroundColor,
        parseFloat(box.width) === block.clientWidth,
        Math.abs(parseFloat(box.height) - parseFloat(getComputedStyle(block).lineHeight)) < 0.5];
    probe.remove();
    return result;"""


def expect(what, got, wanted):
    if got != wanted:
        raise AssertionError(f"{what}: got {got!r}, wanted {wanted!r}")
    print(f"ok: {what}")


def test(browser, site):
    browser.go("file://" + os.path.join(site, "index.html"))
    expect("index title", browser.call("GET", browser.session + "/title"), "OrderDesk")
    every = browser.run(VISIBLE_MODULES)
    expect("modules listed", len(every), 6)

    browser.type("#search", "writelog")
    expect("search by procedure", browser.run(VISIBLE_MODULES), ["Logging:1"])
    browser.type("#search", "集計")
    expect("search by a Japanese module name", browser.run(VISIBLE_MODULES), ["受注集計:1"])
    browser.type("#search", "no such thing")
    expect("search without a match", browser.run(
        "return [document.querySelector('.NoMatch').hidden, document.querySelectorAll('.Project')[0].hidden];"),
        [False, True])
    browser.type("#search", "")
    expect("search box emptied", len(browser.run(VISIBLE_MODULES)), len(every))
    expect("a keystroke queries the page for nothing", browser.run(QUERIES_OF_A_KEYSTROKE, "init"), 0)
    browser.type("#search", "")
    browser.click('.Contents a[href="#P1-4"]')
    expect("the contents lead to a folder's modules", browser.run(TARGET)[1:], ["#P1-4", "P1-4"])

    browser.click('.Module .Name a[href="App.html"], .Module .Name a[href$="/App.html"]')
    expect("module page title", browser.call("GET", browser.session + "/title"), "App — OrderDesk")
    browser.click('a[href$="Logging.html#L9"]')
    expect("cross-link to another module's procedure, on its statement's line",
           browser.run(TARGET) + [browser.run("return document.querySelector(':target').nextSibling.textContent;")],
           ["Logging.html", "#L9", "L9", "Public"])
    browser.back()
    browser.click('a[href*="%E9%9B%86%E8%A8%88.html#L"]')
    expect("cross-link to a Japanese procedure", browser.run(TARGET),
           ["%E5%8F%97%E6%B3%A8%E9%9B%86%E8%A8%88.html", "#L4", "L4"])
    browser.back()
    browser.click('a[href$="classes/Order.html"]')
    expect("a class's name links to its page", browser.call("GET", browser.session + "/title"), "Order — OrderDesk")
    browser.back()
    browser.click('.Trail a')
    expect("back to the index", browser.call("GET", browser.session + "/title"), "OrderDesk")

    browser.go("file://" + os.path.join(site, "OrderDesk/src/modules/Infrastructure/Logging.html"))
    expect("numbered lines copy without numbers", browser.run(COPIED_BLOCK, "Logging.Declarations"),
           "Option Explicit\n\nPrivate mLines As Collection")
    expect("line numbers drawn", browser.run(
        "return getComputedStyle(document.querySelector('.Ln'), '::before').content;"), "counter(line)")

    logging = "file://" + os.path.join(site, "OrderDesk/src/modules/Infrastructure/Logging.html")
    browser.go(logging + "#L12")
    expect("a line's anchor", browser.run(TARGET), ["Logging.html", "#L12", "L12"])
    expect("the targeted line highlighted across its block", browser.run(HIGHLIGHT), [True, True, True])
    browser.click('a.Ln[href="#L5"]')
    expect("a line's number links to its line", browser.run(TARGET), ["Logging.html", "#L5", "L5"])
    expect("the numbers are drawn from the lines' anchors", browser.run(
        "return getComputedStyle(document.getElementById('L5'), '::before').content;"), "counter(line)")
    browser.go(logging)
    browser.click('.UsedBy a[href$="App.html#L8"]')
    expect("a procedure's Used by leads to where it is used", browser.run(TARGET), ["App.html", "#L8", "L8"])


# Modules and procedures whose names are wider than the screen, and whose boxes would clip them.
OVERFLOWING = """return [document.documentElement.scrollWidth > innerWidth,
    [...document.querySelectorAll('.Module')].filter(m => m.scrollWidth > m.clientWidth).length];"""


def test_phone(browser, site):
    """The index of long names on a phone's screen, 390 pixels wide: it wraps them."""
    browser.call("POST", browser.session + "/window/rect", {"width": 390, "height": 800})
    browser.go("file://" + os.path.join(site, "index.html"))
    expect("index title on a phone", browser.call("GET", browser.session + "/title"), "Long names")
    expect("no name runs off a phone's screen", browser.run(OVERFLOWING), [False, 0])
    browser.click(".Module .Name a")
    browser.go(browser.call("GET", browser.session + "/url") + "#L2")
    expect("a line without a number targeted", browser.run(TARGET)[1:], ["#L2", "L2"])
    expect("and highlighted across its block", browser.run(HIGHLIGHT), [True, True, True])


def long_names(folder):
    name = "ModuleWithAnExceedinglyLongNameThatNeverBreaksAnywhereAtAll"
    path = os.path.join(folder, "AFolderWhoseNameIsFarTooLongForAnyPhoneScreenToShowOnOneLine", name + ".bas")
    os.makedirs(os.path.dirname(path))
    with open(path, "w") as module:
        module.write(f'Attribute VB_Name = "{name}"\r\nSub ProcedureWithAnEquallyLongNameThatNeverBreaks()\r\nEnd Sub\r\n')
    return folder


def main():
    quillmark, project = sys.argv[1], os.path.abspath(sys.argv[2])
    driver, binary = shutil.which("chromedriver"), shutil.which("chromium") or shutil.which("chromium-browser")
    if not driver or not binary:
        print("skipped: chromedriver or chromium is not installed")
        return SKIP
    with tempfile.TemporaryDirectory() as work:
        site, profile = os.path.join(work, "site"), os.path.join(work, "profile")
        subprocess.run([quillmark, "site", "--recursive", "--line-numbers", "--quiet", "-o", site, project],
                       check=True)
        phone = os.path.join(work, "phone")
        subprocess.run([quillmark, "site", "--recursive", "--quiet", "--title", "Long names", "-o", phone,
                        long_names(os.path.join(work, "Long"))], check=True)
        try:
            browser = Browser(driver, binary, profile)
        except Skip as e:
            print(f"skipped: {e}")
            return SKIP
        try:
            test(browser, site)
            test_phone(browser, phone)
        finally:
            browser.quit()
    return 0


if __name__ == "__main__":
    sys.exit(main())
