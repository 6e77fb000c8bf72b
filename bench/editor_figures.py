#!/usr/bin/python3
"""The level editor's figures in headless Chromium: for every shipped level, the time from loading
it into the editor to the verdict, against the native solver on the same file in the same run;
the time until a level that cannot be won gets its verdict; the longest time the page goes
without a frame while the worker searches, against idle; and the editor's download.
    bench/editor_figures.py SITE_DIR SOLVER LEVELS_DIR"""
import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
from browser import Page, SiteServer, in_editor  # noqa: E402
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
level_link = __import__("level-link")

# The longest gap between animation frames over a few seconds, ms.
FRAME_GAPS = """new Promise((done) => { let last = performance.now(), worst = 0;
  const end = last + SECONDS * 1000;
  const tick = (now) => { worst = Math.max(worst, now - last); last = now;
    if (now < end) requestAnimationFrame(tick); else done(worst); };
  requestAnimationFrame(tick); })"""


def native_seconds(solver, path):
    began = time.monotonic()
    out = subprocess.run([solver, path], capture_output=True, text=True).stdout
    return time.monotonic() - began, out.splitlines()[-1].strip() if out else ""


def verdict_after(page, action, timeout=120):
    page.evaluate(in_editor("editor.verdict() && (window.verdictBefore = editor.verdict())"))
    page.evaluate(action)
    return page.wait_for(in_editor("(() => { const v = editor.verdict(); return v && v !== window.verdictBefore && v; })()"), timeout)


def main():
    site, solver, levels = sys.argv[1:4]
    server = SiteServer(site)
    page = Page(1280, 900)
    try:
        page.navigate(server.url + "editor.html")
        page.wait_for(in_editor("editor.ready"), 60)
        page.pump(3)
        print("level  browser   native  ratio  same route")
        worst_ratio = worst_seconds = 0
        numbers = sorted(int(n[5:-4]) for n in os.listdir(levels) if n.startswith("level") and n.endswith(".txt"))
        for n in numbers:
            path = os.path.join(levels, "level%d.txt" % n)
            verdict = verdict_after(page, "(() => { const s = document.getElementById('shipped');"
                                    " s.value = '%d'; s.dispatchEvent(new Event('change')); })()" % n)
            native, line = native_seconds(solver, path)
            browser = verdict["ms"] / 1000
            ratio = browser / native if native > 0 else 0
            worst_ratio, worst_seconds = max(worst_ratio, ratio), max(worst_seconds, browser)
            print("%5d  %6.2f s  %5.2f s  %4.1fx  %s" % (n, browser, native, ratio,
                                                       "yes" if verdict.get("script") and verdict["script"] == line else "NO: " + line))
        print("slowest verdict %.2f s (target 2 s), worst ratio %.1fx (target 2.5x)" % (worst_seconds, worst_ratio))

        idle = page.evaluate(FRAME_GAPS.replace("SECONDS", "3"))
        room = open(os.path.join(levels, "level1.txt")).read().split("\n")
        # Level 1 with its exit walled in from above, a cell past each side: it cannot be won.
        exits = [c for c, ch in enumerate(room[14]) if ch == "G"]
        row = list(room[13].ljust(20))
        for c in range(exits[0] - 1, exits[-1] + 2):
            row[c] = "("
        room[13] = "".join(row)
        sealed = "\n".join(room)
        page.navigate(server.url + "editor/shipped-levels.json")  # a new document, not a new hash
        began = time.monotonic()
        page.navigate(server.url + "editor.html#level=" + level_link.level_code(sealed.encode()))
        page.wait_for(in_editor("editor.ready"), 60)
        searching = page.evaluate(FRAME_GAPS.replace("SECONDS", "3"))
        verdict = page.wait_for(in_editor("editor.verdict()"), 120)
        print("sealed exit: %s after %.1f s from opening the page (target 60 s)"
              % ("no winning run found" if verdict and not verdict.get("won") else verdict, time.monotonic() - began))
        print("longest time without a frame: %.0f ms idle, %.0f ms while the worker searches" % (idle, searching))
    finally:
        page.close()
        server.close()
    editor = sum(os.path.getsize(os.path.join(site, "editor", f)) for f in os.listdir(os.path.join(site, "editor")))
    editor += os.path.getsize(os.path.join(site, "editor.html"))
    total = sum(os.path.getsize(os.path.join(d, f)) for d, _, fs in os.walk(site) for f in fs)
    print("editor download %.2f MB; whole site %.2f MB (budget 12 MB)" % (editor / 1e6, total / 1e6))


if __name__ == "__main__":
    main()
