#!/usr/bin/python3
"""The browser build in headless Chromium, in real time: the page loads cleanly, the title, the
instructions and level 1 show the desktop game's own pictures, level 1's committed route played
with key events reaches level 2, the music plays after the first click, and Escape ends the game
on the page.
    tests/web/browser_test.py SITE_DIR GAME_DIR LEVELS_DIR"""
import json
import os
import subprocess
import sys
import time

from browser import Page, SiteServer, run_checks

# Console lines the page may print, each with its reason. Anything else at warning level or
# above fails the test.
ALLOWED_WARNINGS = {
    "using emscripten GL emulation": "emscripten announces its fixed-function GL emulation at start",
    "using emscripten GL immediate mode emulation": "the same, for glBegin/glEnd drawing",
    "The ScriptProcessorNode is deprecated": "SDL2's browser audio still plays through it",
}

# A window smaller than the canvas, so the page's scaling is exercised too.
WINDOW = (960, 720)
COMPARE_SIZE = "128x96"
ARROWS = {"R": "ArrowRight", "L": "ArrowLeft"}


def pixels(png_path_or_bytes):
    """The picture scaled to COMPARE_SIZE, as RGB bytes (ImageMagick does the decoding)."""
    source = "png:-" if isinstance(png_path_or_bytes, bytes) else png_path_or_bytes
    return subprocess.run(["/usr/bin/convert", source, "-resize", COMPARE_SIZE + "!", "-depth", "8",
                           "rgb:-"], input=png_path_or_bytes if source == "png:-" else None,
                          capture_output=True, check=True).stdout


def difference(a, b):
    """Mean absolute difference per channel, 0 to 255."""
    return sum(abs(x - y) for x, y in zip(a, b)) / len(a)


class BrowserTest:
    allowed_warnings = ALLOWED_WARNINGS

    def __init__(self, site, game, levels):
        self.game = game
        self.levels = levels
        self.results = []
        self.server = SiteServer(site)
        self.page = Page(*WINDOW)
        self.clip = None

    def check(self, name, ok, detail=""):
        ok = bool(ok)
        self.results.append(ok)
        print("%s - %s%s" % ("ok" if ok else "FAIL", name, (": " + detail) if detail else ""), flush=True)
        return ok

    def route(self):
        return open(os.path.join(self.levels, "level1.route")).read().strip()

    def picture(self, name):
        return pixels(os.path.join(self.game, "images", name))

    def looks_like(self, expected, other):
        """Whether the canvas shows `expected` (a picture of the game's) rather than `other`, and
        how far it is from each."""
        shot = pixels(self.page.screenshot(self.clip))
        near = difference(shot, self.picture(expected))
        far = difference(shot, self.picture(other))
        return near < 12 and near < far / 2, near, far

    def shows(self, name, expected, other):
        ok, near, far = self.looks_like(expected, other)
        return self.check(name, ok, "differs from %s by %.1f, from %s by %.1f" % (expected, near, other, far))

    def click_canvas(self):
        x, y, w, h = self.clip
        self.page.click(x + w / 2, y + h / 2)

    def open_page(self):
        self.page.navigate(self.server.url)
        first = self.page.wait_for("Module.frameTiming.firstFrameMs", 60)
        self.check("the title's first frame is drawn", first is not None,
                   "%.0f ms after opening the page" % first if first else "none within 60 s")
        rect = json.loads(self.page.evaluate(
            "JSON.stringify(document.getElementById('canvas').getBoundingClientRect())"))
        self.clip = (rect["x"], rect["y"], rect["width"], rect["height"])
        fits = self.page.evaluate(
            "document.documentElement.scrollWidth <= innerWidth && "
            "document.documentElement.scrollHeight <= innerHeight")
        shape = rect["width"] / rect["height"]
        self.check("the canvas fits the window at 4:3 with no scroll bars",
                   fits and abs(shape - 4 / 3) < 0.01 and rect["width"] <= WINDOW[0],
                   "%.0fx%.0f" % (rect["width"], rect["height"]))
        self.check("the download's progress reached 100%",
                   self.page.evaluate("document.getElementById('progress').textContent") == "Loading 100%")
        self.page.pump(0.5)

    def play_route(self, route, hold=None):
        """Holds each key of a route ("R90 N540 R120": frames at 60 per second) in real time;
        hold(letter, down) presses and releases one, the arrow keys unless given."""
        hold = hold or (lambda letter, down: self.page.key(ARROWS[letter], down))
        held = "N"
        at = time.monotonic()
        for step in route.split() + ["N0"]:
            letter, frames = step[0], int(step[1:])
            if letter != held:
                if held != "N":
                    hold(held, False)
                if letter != "N":
                    hold(letter, True)
                held = letter
            at += frames / 60
            self.page.pump(max(0.0, at - time.monotonic()))

    def reaches_level_2(self, name, route, hold=None):
        self.play_route(route, hold)
        for _ in range(10):  # the route ends in the air: the glider may need a moment more
            self.page.pump(0.5)
            if self.looks_like("level2bg.png", "level1bg.png")[0]:
                break
        return self.shows(name, "level2bg.png", "level1bg.png")

    def console_is_clean(self):
        self.check("no JavaScript exception", not self.page.exceptions, "; ".join(self.page.exceptions))
        unexpected = [text for level, text in self.page.console
                      if level in ("warning", "error") and not any(a in text for a in self.allowed_warnings)]
        self.check("no console error and no unlisted warning", not unexpected, "; ".join(unexpected[:5]))

    def run(self):
        self.open_page()
        self.shows("the title screen shows the title picture", "titlescreen.png", "instructions.png")
        self.check("no music before the first click", not self.page.evaluate("Module.musicPlaying()"))

        self.click_canvas()
        self.page.pump(1.0)
        self.shows("a click shows the instructions", "instructions.png", "titlescreen.png")
        self.check("the music plays after the first click",
                   self.page.wait_for("Module.musicPlaying()", 5) is True)

        self.click_canvas()
        self.page.pump(0.3)
        self.shows("a second click starts level 1", "level1bg.png", "level2bg.png")

        self.page.pump(0.2)
        self.reaches_level_2("level 1's route played with keys reaches level 2", self.route())
        self.check("the arrow keys did not scroll the page", self.page.evaluate("scrollX === 0 && scrollY === 0"))

        self.page.key("Escape", True)
        self.page.key("Escape", False)
        ended = self.page.wait_for(
            "!document.getElementById('ended').hidden && document.getElementById('ended').innerText", 5)
        self.check("Escape ends the game and the page says so", bool(ended) and "ended" in ended, repr(ended))
        self.check("the music stops when the game ends", self.page.wait_for("!Module.musicPlaying()", 5) is True)

        self.page.pump(0.5)
        self.console_is_clean()

    def close(self):
        self.page.close()
        self.server.close()


def main():
    return run_checks(BrowserTest(*sys.argv[1:4]), "browser")


if __name__ == "__main__":
    sys.exit(main())
