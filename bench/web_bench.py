#!/usr/bin/env python3
"""The web edition against the native command: the module's size (raw and compressed), the time
to open it (the package's import in Node; a page that imports it in headless Chromium, from
navigation to ready), and `convert --links` of one generated module in Node and in Chromium
against the native process. Each time is the median of five runs; in Node and for the native
process the processor time too (user and system), which a busy machine disturbs less.

usage: bench/web_bench.py [LINES]   (100,000 by default; after scripts/build.sh and
                                     scripts/build-web.sh)
"""
import functools
import gzip
import http.server
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(root, "tests", "cli", "site"))
from browser_test import Browser  # noqa: E402

NODE = """
const started = performance.now();
const q = await import(process.argv[1] + '/index.mjs');
const opened = performance.now() - started;
const bytes = (await import('node:fs')).readFileSync(process.argv[2]);
const times = [];
const cpu = [];
let size = 0;
for (let i = 0; i < 5; ++i) {
  const t = performance.now();
  const c = process.cpuUsage();
  size = q.convert(bytes, { links: true }).length;
  const used = process.cpuUsage(c);
  times.push(performance.now() - t);
  cpu.push((used.user + used.system) / 1000);
}
console.log(JSON.stringify({ opened, times, cpu, size }));
"""

PAGE = """<!DOCTYPE html><meta charset="utf-8"><title>loading</title>
<script type="importmap">{"imports": {"pako": "/package/node_modules/pako/dist/pako.esm.mjs"}}</script>
<script type="module">
const q = await import("/package/index.mjs");
const opened = performance.now();
const bytes = new Uint8Array(await (await fetch("/module.bas")).arrayBuffer());
const times = [];
let size = 0;
for (let i = 0; i < 5; ++i) {
  const t = performance.now();
  size = q.convert(bytes, { links: true }).length;
  times.push(performance.now() - t);
}
window.result = { opened, times, size };
document.title = "done";
</script>"""


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def main():
    lines = int(sys.argv[1]) if len(sys.argv) > 1 else 100000
    package = os.path.join(root, "build-web", "npm")
    wasm = open(os.path.join(package, "dist", "quillmark.wasm"), "rb").read()
    glue = open(os.path.join(package, "dist", "quillmark.mjs"), "rb").read()
    print(f"quillmark.wasm {len(wasm):,} bytes, gzip -9 {len(gzip.compress(wasm, 9)):,}; "
          f"quillmark.mjs {len(glue):,} bytes, gzip -9 {len(gzip.compress(glue, 9)):,}")
    with tempfile.TemporaryDirectory() as work:
        module = os.path.join(work, "module.bas")
        subprocess.run([os.path.join(root, "build", "bench", "generate_module"), str(lines), module], check=True)
        print(f"module: {lines:,} lines, {os.path.getsize(module):,} bytes")

        times, cpu = [], []
        for _ in range(5):
            t = time.perf_counter()
            before = os.times()
            subprocess.run([os.path.join(root, "build", "quillmark"), "convert", "--links", module], check=True,
                           stdout=subprocess.DEVNULL)
            after = os.times()
            times.append((time.perf_counter() - t) * 1000)
            cpu.append((after.children_user + after.children_system - before.children_user -
                        before.children_system) * 1000)
        native, native_cpu = statistics.median(times), statistics.median(cpu)
        print(f"native command (whole process): {native:.1f} ms, processor {native_cpu:.0f} ms; "
              f"load average {open('/proc/loadavg').read().split()[0]}")

        result = json.loads(subprocess.run(["node", "--input-type=module", "-e", NODE, package, module],
                                           check=True, capture_output=True).stdout)
        node, node_cpu = statistics.median(result["times"]), statistics.median(result["cpu"])
        print(f"Node {subprocess.run(['node', '--version'], capture_output=True, text=True).stdout.strip()}: "
              f"opened in {result['opened']:.0f} ms, convert {node:.1f} ms ({native / node:.2f} of native speed), "
              f"processor {node_cpu:.0f} ms ({native_cpu / node_cpu:.2f} of native)")

        site = os.path.join(work, "site")
        os.mkdir(site)
        os.symlink(package, os.path.join(site, "package"))
        shutil.copy(module, os.path.join(site, "module.bas"))
        with open(os.path.join(site, "bench.html"), "w") as out:
            out.write(PAGE)
        Quiet.extensions_map = {**Quiet.extensions_map, ".mjs": "text/javascript", ".wasm": "application/wasm"}
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=site))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        browser = Browser(shutil.which("chromedriver"), shutil.which("chromium"), os.path.join(work, "profile"))
        try:
            browser.go(f"http://127.0.0.1:{server.server_address[1]}/bench.html")
            while browser.run("return document.title") != "done":
                time.sleep(0.2)
            result = browser.run("return window.result")
        finally:
            browser.quit()
            server.shutdown()
        chromium = statistics.median(result["times"])
        print(f"Chromium: page ready in {result['opened']:.0f} ms, convert {chromium:.1f} ms "
              f"({native / chromium:.2f} of native speed)")


if __name__ == "__main__":
    main()
