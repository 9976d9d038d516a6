#!/usr/bin/env python3
"""Times the search box of a site's index in headless Chromium: a folder of MODULES generated
modules (3 to 8 procedures each, in 50 subfolders) goes through `quillmark site`, and each
keystroke of a search is timed inside the page, from the input event to the next frame drawn,
and by the processor time of the browser's processes (which a busy machine does not inflate).

usage: bench/index_search_bench.py [MODULES]   (after scripts/build.sh; BUILD picks the build)
Needs chromium and chromium-driver.
"""
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "cli", "site"))
from browser_test import Browser  # noqa: E402  (the tests' WebDriver client)

WORDS = ["Read", "Write", "Order", "Customer", "Total", "Log", "Sheet", "Range", "Invoice", "Tax", "Print",
         "Export", "Import", "Check", "Format", "Amount", "Date", "Report", "Cache", "Update"]
# What a user types: a procedure name letter by letter, a module's number, nothing found, empty again.
SEARCHES = ["w", "wr", "wri", "writ", "write", "writer", "writera", "writerange", "", "module1234", "",
            "no such thing", ""]
KEYSTROKE = """const [text, done] = arguments;
    const box = document.getElementById('search');
    const start = performance.now();
    box.value = text;
    box.dispatchEvent(new Event('input', {bubbles: true}));
    const filtered = performance.now();
    document.body.getBoundingClientRect();
    const laidOut = performance.now();
    requestAnimationFrame(() => setTimeout(() => done([filtered - start, laidOut - start,
        performance.now() - start])));"""


def write_modules(folder, count):
    procedures = 0
    for i in range(1, count + 1):
        sub = os.path.join(folder, f"part{i % 50:02}")
        os.makedirs(sub, exist_ok=True)
        lines = [f'Attribute VB_Name = "Module{i}"', "Option Explicit"]
        for k in range(3 + i % 6):
            name = WORDS[(i + k) % len(WORDS)] + WORDS[(i * 7 + k * 3) % len(WORDS)] + str(k)
            lines += [f"Public Sub {name}(ByVal n As Long)", f"    Debug.Print n * {k}", "End Sub"]
            procedures += 1
        with open(os.path.join(sub, f"Module{i}.bas"), "w", newline="\r\n") as f:
            f.write("\n".join(lines) + "\n")
    return procedures


def processes(profile):
    """The browser's processes: those started with the profile."""
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                if profile.encode() in f.read():
                    yield int(pid)
        except OSError:
            pass


def cpu_ms(profile):
    """Processor time the browser has used, all its processes together."""
    total = 0
    for pid in processes(profile):
        try:
            with open(f"/proc/{pid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])
        except OSError:
            pass
    return total * 1000 / os.sysconf("SC_CLK_TCK")


def kill_leftovers(profile):
    """Ends what the browser left running when it did not quit in time (it has the profile)."""
    for pid in processes(profile):
        try:
            os.kill(pid, signal.SIGKILL)
        except OSError:
            pass


def main():
    modules = int(sys.argv[1]) if len(sys.argv) > 1 else 20000
    quillmark = os.path.join(HERE, "..", os.environ.get("BUILD", "build"), "quillmark")
    driver, binary = shutil.which("chromedriver"), shutil.which("chromium")
    if not driver or not binary:
        sys.exit("chromium and chromium-driver are needed")
    with tempfile.TemporaryDirectory() as work:
        source, site = os.path.join(work, "Project"), os.path.join(work, "site")
        procedures = write_modules(source, modules)
        subprocess.run([quillmark, "site", "--recursive", "--quiet", "-o", site, source], check=True)
        size = os.path.getsize(os.path.join(site, "index.html"))
        print(f"{modules} modules, {procedures} procedures; index.html {size / 1e6:.1f} MB")
        profile = os.path.join(work, "profile")
        browser = Browser(driver, binary, profile)
        try:
            started = time.monotonic()
            browser.go("file://" + os.path.join(site, "index.html"))
            print(f"opening the index: {time.monotonic() - started:.2f} s")
            browser.call("POST", browser.session + "/timeouts", {"script": 600000})
            rows = []
            for text in SEARCHES:
                cpu = cpu_ms(profile)
                timing = browser.call("POST", browser.session + "/execute/async",
                                      {"script": KEYSTROKE, "args": [text]})
                cpu = cpu_ms(profile) - cpu
                shown = browser.run("return [...document.querySelectorAll('.Module')]"
                                    ".filter(m => !m.hidden).length;")
                rows.append(timing + [cpu])
                print(f"{text!r:16} filter {timing[0]:7.1f} ms, with layout {timing[1]:7.1f} ms, "
                      f"until drawn {timing[2]:7.1f} ms, processor {cpu:5.0f} ms; {shown} modules shown")
            for column, what in ((2, "until drawn"), (3, "processor time")):
                values = [row[column] for row in rows]
                print(f"{what}: median {statistics.median(values):.0f} ms, slowest {max(values):.0f} ms")
        finally:
            try:
                browser.quit()
            finally:
                kill_leftovers(profile)


if __name__ == "__main__":
    main()
