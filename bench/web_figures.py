#!/usr/bin/python3
"""The browser build's figures: the site's download size against its 12 MB budget, the time from
opening the page to the title's first frame (fresh browser and cache each time, from a server on
127.0.0.1), and frame times during level 1 in headless Chromium with software rendering, beside a
bare WebGL page's in the same run; and the time from opening a link sent from the editor to its
first level's picture, for one level and for the shipped levels as a pack of 30.
    bench/web_figures.py SITE_DIR [STARTS] [SECONDS_OF_PLAY]"""
import json
import os
import shutil
import statistics
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
from browser import Page, SiteServer  # noqa: E402
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
level_link = __import__("level-link")

BUDGET_BYTES = 12 * 1000 * 1000

# The display callback's own time and the time between frames, from the page's ring of timings.
TIMINGS = """(function (since) {
  var t = Module.frameTiming, work = [], gaps = [];
  for (var i = Math.max(since + 1, t.count - t.work.length + 1); i < t.count; i++) {
    work.push(t.work[i % t.work.length]);
    gaps.push(t.ends[i % t.ends.length] - t.ends[(i - 1) % t.ends.length]);
  }
  return JSON.stringify({work: work, gaps: gaps});
})(SINCE)"""


# The baseline timed in the same run: a page that only clears a 1024x768 WebGL canvas each frame.
BARE_PAGE = """<!doctype html><canvas id="c" width="1024" height="768"></canvas><script>
var gl = document.getElementById('c').getContext('webgl'), ends = [];
function frame(now) { gl.clearColor(0, 0, ends.length % 2, 1); gl.clear(gl.COLOR_BUFFER_BIT);
  ends.push(performance.now()); requestAnimationFrame(frame); }
requestAnimationFrame(frame);
</script>"""


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(share * len(ordered)))]


def download_size(site):
    sizes = {name: os.path.getsize(os.path.join(site, name)) for name in sorted(os.listdir(site))}
    total = sum(sizes.values())
    for name, size in sizes.items():
        print("  %-16s %10d bytes" % (name, size))
    verdict = "pass" if total <= BUDGET_BYTES else "FAIL"
    print("download: %d bytes = %.2f MB (target <= 12 MB): %s" % (total, total / 1e6, verdict))
    return verdict == "pass"


def first_frame_ms(server, starts):
    times = []
    for _ in range(starts):
        page = Page()
        try:
            page.navigate(server.url)
            times.append(page.wait_for("Module.frameTiming.firstFrameMs", 60))
        finally:
            page.close()
    print("first title frame: median %.0f ms, slowest %.0f ms over %d fresh starts"
          % (statistics.median(times), max(times), starts))


def link_to_level_ms(server, site, starts):
    """From opening a link the editor's Play sends (its mark set beforehand, on a page of the same
    site without scripts) to the game holding the link's first level on the picture."""
    shipped = json.load(open(os.path.join(site, "editor", "shipped-levels.json")))["levels"]
    texts = [level["text"].encode("latin-1") for level in shipped]
    links = {"one level": "level=" + level_link.level_code(texts[0]),
             "a pack of %d" % len(texts): "pack=" + level_link.level_code(b"Zarvolith level pack: All\n" + b"".join(texts))}
    medians = {}
    for name, link in links.items():
        times = []
        for _ in range(starts):
            page = Page()
            try:
                page.navigate(server.url + "editor/shipped-levels.json")
                page.evaluate("sessionStorage.setItem('zarvolith.fromEditor', '1')")
                page.navigate(server.url + "index.html#" + link)
                times.append(page.wait_for("window.Module && Module.calledRun && Module._zarvolithGameState() === 2 && "
                                           "performance.now()", 60))
            finally:
                page.close()
        medians[name] = statistics.median(times)
        print("link to its first level's picture, %s: median %.0f ms, slowest %.0f ms over %d fresh starts"
              % (name, medians[name], max(times), starts))
    one, pack = medians.values()
    print("  the pack's over the one level's: %.2fx (target <= 1.5x)" % (pack / one))


def level_one_frames(server, seconds):
    page = Page()
    try:
        page.navigate(server.url)
        page.wait_for("Module.frameTiming.firstFrameMs", 60)
        rect = json.loads(page.evaluate("JSON.stringify(canvas.getBoundingClientRect())"))
        for _ in range(2):  # title, then instructions, then level 1
            page.click(rect["x"] + rect["width"] / 2, rect["y"] + rect["height"] / 2)
            page.pump(0.5)
        page.pump(1.0)  # the level's first frames upload its backdrop
        since = page.evaluate("Module.frameTiming.count")
        page.pump(seconds)
        timings = json.loads(page.evaluate(TIMINGS.replace("SINCE", str(since))))
    finally:
        page.close()
    work, gaps = timings["work"], timings["gaps"]
    print("level 1, %d frames in %.0f s:" % (len(gaps), seconds))
    print("  frame to frame:    median %.1f ms, p99 %.1f ms" % (statistics.median(gaps), percentile(gaps, 0.99)))
    print("  display callback:  median %.2f ms, p99 %.2f ms" % (statistics.median(work), percentile(work, 0.99)))


def bare_frames(seconds):
    folder = tempfile.mkdtemp(prefix="zarvolith-bare-page-")
    with open(os.path.join(folder, "index.html"), "w") as page_file:
        page_file.write(BARE_PAGE)
    server, page = SiteServer(folder), Page()
    try:
        page.navigate(server.url)
        page.pump(1.0)
        since = page.evaluate("ends.length")
        page.pump(seconds)
        ends = page.evaluate("ends")[since:]
    finally:
        page.close()
        server.close()
        shutil.rmtree(folder, ignore_errors=True)
    gaps = [b - a for a, b in zip(ends, ends[1:])]
    print("bare WebGL clear, same browser: median %.1f ms, p99 %.1f ms"
          % (statistics.median(gaps), percentile(gaps, 0.99)))


DAILY_DATES = ("2026-12-24", "2027-01-01", "2027-03-15")


def daily_figures(server):
    """A day's pack opened in a fresh tab: how soon its title shows (its first level made and
    handed to the game), then how long each of the other levels takes to be made and drawn in the
    page's worker, one after another."""
    firsts, levels = [], []
    for date in DAILY_DATES:
        page = Page()
        try:
            page.navigate(server.url + "index.html#daily=" + date)
            firsts.append(page.wait_for("window.Module && Module.calledRun && Module.frameTiming.firstFrameMs", 60))
            page.evaluate("window.madeAt = []; (function poll() { const n = Module.FS.readdir('/levels').filter((f) => /^level\\d+\\.txt$/.test(f)).length;"
                          " while (madeAt.length < n) madeAt.push(performance.now()); if (n < 10) setTimeout(poll, 20); })()")
            made = page.wait_for("madeAt.length === 10 && madeAt", 600)
            levels += [b - a for a, b in zip(made, made[1:])]
        finally:
            page.close()
    print("daily pack: first level playable (title shown) median %.0f ms, slowest %.0f ms over %d days (target <= 5000 ms)"
          % (statistics.median(firsts), max(firsts), len(firsts)))
    print("  levels 2-10 made and drawn in the worker: median %.0f ms, worst %.0f ms over %d levels (target <= 3000 ms median)"
          % (statistics.median(levels), max(levels), len(levels)))


def main():
    site = sys.argv[1]
    starts = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 10
    ok = download_size(site)
    server = SiteServer(site)
    try:
        first_frame_ms(server, starts)
        link_to_level_ms(server, site, starts)
        daily_figures(server)
        level_one_frames(server, seconds)
    finally:
        server.close()
    bare_frames(seconds)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
