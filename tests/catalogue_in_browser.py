#!/usr/bin/python3
"""catalogue.html as a person sees it, in headless Chromium driven over its
DevTools protocol: after two batch passes into one works folder it has a row
for every work folder, the "start" head sorts the rows by date both ways, the
filter leaves only the rows of the sample typed, and every link and picture
leads to a file.

Usage: catalogue_in_browser.py KORVANE SOURCE_DIR SCREENSHOT.png
Exits 77 (skipped) without chromium or python3-websocket."""

import datetime
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.parse
import urllib.request

SKIP = 77

# Two starts that text order puts the wrong way round (12 before 3).
EARLY = "Cu foil 19a       19-3-5 09:07:00  -  19-3-5 09:30:00"
LATE = "Cu foil 19b       19-12-24 09:07:00  -  19-12-24 09:30:00"
# Work folders named so that a link must encode them to reach them.
WORK_NAME = "Cu#K?%"
PASSES = [
    ["Cu_foil_K_001.dat", "CuO_K_002.dat", "Cu2O_K_003.dat", "late.dat"],
    ["CuSO4_sol_004.dat", "Cu_foil_K_005.dat", "Cu_sulfate_fl_006.dat", "Cu_foil_quick_007.qd",
     "early.dat"],
]


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def check(ok, message):
    if not ok:
        fail(message)
    print("ok: " + message)


def make_night(source, folder):
    shutil.copytree(os.path.join(source, "examples"), folder)
    lines = open(os.path.join(folder, "Cu_foil_K_005.dat"), encoding="utf-8").read().split("\n")
    for name, line2 in (("early.dat", EARLY), ("late.dat", LATE)):
        with open(os.path.join(folder, name), "w", encoding="utf-8") as f:
            f.write("\n".join([lines[0], line2] + lines[2:]))


def run_passes(korvane, night):
    for files in PASSES:
        result = subprocess.run([korvane, "-e", "-wud", "0", "-wut", "0", "-wn", WORK_NAME,
                                 "-files"] + files +
                                ["-gw", "works"], cwd=night, capture_output=True, text=True,
                                timeout=120)
        if result.returncode != 0:
            fail("korvane pass failed: " + result.stderr)


def work_folders(works):
    """The work folders and the sample name of each one's data copy."""
    samples = {}
    for folder in sorted(os.listdir(works)):
        path = os.path.join(works, folder)
        copies = [n for n in os.listdir(path) if n.endswith((".dat", ".qd"))] \
            if os.path.isdir(path) else []
        if copies:
            with open(os.path.join(path, copies[0]), encoding="utf-8") as f:
                f.readline()
                samples[folder] = f.readline()[:17].strip()
    return samples


class Browser:
    def __init__(self, chromium, websocket):
        # The browser is on this machine: no proxy between.
        os.environ["no_proxy"] = os.environ["NO_PROXY"] = "127.0.0.1,localhost"
        self.profile = tempfile.mkdtemp()
        self.process = subprocess.Popen(
            [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--disable-dev-shm-usage",
             "--remote-debugging-port=0", "--remote-debugging-address=127.0.0.1",
             "--user-data-dir=" + self.profile, "--window-size=1400,900", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        for _ in range(300):
            if os.path.exists(port_file) and open(port_file).read().count("\n") >= 1:
                break
            time.sleep(0.1)
        port = open(port_file).read().split("\n")[0]
        with urllib.request.urlopen("http://127.0.0.1:%s/json/list" % port) as answer:
            pages = [t for t in json.load(answer) if t["type"] == "page"]
        self.socket = websocket.create_connection(pages[0]["webSocketDebuggerUrl"],
                                                  suppress_origin=True, timeout=60)
        self.next_id = 0

    def call(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    fail("%s: %s" % (method, message["error"]))
                return message["result"]

    def js(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True)
        if "exceptionDetails" in result:
            fail("script failed: %s" % result["exceptionDetails"])
        return result["result"].get("value")

    def open(self, path):
        self.call("Page.navigate", url="file://" + urllib.parse.quote(path))
        for _ in range(200):
            if self.js("document.readyState") == "complete" and self.js(
                    "!!document.getElementById('works')"):
                return
            time.sleep(0.05)
        fail("the page did not load")

    def close(self):
        self.socket.close()
        self.process.terminate()
        self.process.wait(30)
        shutil.rmtree(self.profile, ignore_errors=True)


SHOWN_ROWS = "Array.from(document.querySelectorAll('#works tbody tr')).filter(r => !r.hidden)"


def column_texts(browser, column):
    return browser.js("(() => { const i = Array.from(document.querySelectorAll('#works th'))"
                      ".findIndex(h => h.dataset.column === '%s');"
                      "return %s.map(r => r.cells[i].textContent); })()" % (column, SHOWN_ROWS))


def as_date(text):
    date, clock = text.split(" ")
    y, mo, d = (int(x) for x in date.split("-"))
    h, mi, s = (float(x) for x in clock.split(":"))
    return datetime.datetime(y, mo, d) + datetime.timedelta(hours=h, minutes=mi, seconds=s)


def check_sorting(browser):
    for direction in ("ascending", "descending"):
        browser.js("document.querySelector('th[data-column=start]').click()")
        dates = [as_date(t) for t in column_texts(browser, "start")]
        wanted = sorted(dates, reverse=direction == "descending")
        check(dates == wanted, "a click on start sorts the rows by date, " + direction)


def check_filter(browser, samples):
    for sample in ("Cu foil 7um", "CuO/BN pellet"):
        browser.js("(() => { const f = document.getElementById('filter');"
                   "f.value = ''; f.dispatchEvent(new Event('input')); f.focus(); })()")
        browser.call("Input.insertText", text=sample)
        shown = sorted(column_texts(browser, "work"))
        wanted = sorted(f for f, s in samples.items() if s == sample)
        check(shown == wanted and wanted, "typing %r leaves its %d rows" % (sample, len(wanted)))
    browser.js("(() => { const f = document.getElementById('filter');"
               "f.value = ''; f.dispatchEvent(new Event('input')); })()")


def check_links(browser):
    urls = browser.js("Array.from(document.querySelectorAll('a[href]')).map(a => a.href)"
                      ".concat(Array.from(document.querySelectorAll('img')).map(i => i.src))")
    missing = [u for u in urls if not os.path.isfile(urllib.parse.unquote(
        urllib.parse.urlparse(u).path))]
    check(urls and not missing, "all %d links and pictures lead to files %s" % (len(urls), missing))
    kinds = {u.rsplit(".", 1)[-1] for u in urls}
    check({"yml", "png", "dat", "qd", "xdi"} <= kinds, "links to every kind of file: %s" % kinds)


def main():
    korvane, source, screenshot = sys.argv[1:4]
    chromium = shutil.which("chromium")
    try:
        import websocket
    except ImportError:
        websocket = None
    if not chromium or not websocket:
        print("SKIP: chromium or python3-websocket is not installed (scripts/setup.sh)")
        return SKIP
    tmp = tempfile.mkdtemp()
    night = os.path.join(tmp, "night <&> 夜")
    make_night(source, night)
    works = os.path.join(night, "works")
    run_passes(korvane, night)
    samples = work_folders(works)
    # The XDI file another export leaves beside the copy.
    with open(os.path.join(works, WORK_NAME + "-refs-0001", "Cu_foil_K_001.xdi"), "w") as f:
        f.write("# XDI/1.0\n# Element.symbol: Cu\n# Element.edge: K\n# ///\n")

    run_passes(korvane, night)  # again: the works are found, the page made anew
    browser = Browser(chromium, websocket)
    try:
        browser.open(os.path.join(works, "catalogue.html"))
        rows = browser.js("document.querySelectorAll('#works tbody tr').length")
        check(rows == len(samples) == 9, "%d rows for %d work folders" % (rows, len(samples)))
        check(browser.js("document.title").startswith("Works in "), "the title names the folder")
        check(column_texts(browser, "element")[0] == "Cu", "the XDI file's element is shown")
        check_sorting(browser)
        check_filter(browser, samples)
        check_links(browser)
        browser.js("document.querySelector('th[data-column=start]').click()")
        shot = browser.call("Page.captureScreenshot", format="png")["data"]
        import base64
        with open(screenshot, "wb") as f:
            f.write(base64.b64decode(shot))
        print("screenshot: " + screenshot)
    finally:
        browser.close()
        shutil.rmtree(tmp, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
