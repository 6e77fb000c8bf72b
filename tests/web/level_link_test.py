#!/usr/bin/python3
"""Level links in headless Chromium, in real time: a link made from a shell plays its level as the
only level, byte for byte; from the editor the level shows at once and waits, still, until the
player's first key, which steers; the level's route typed with keys wins, and the page then offers
to play again (which waits again) and says so; quitting and a click after a crash end the game with
their own line, and the page leads back to the editor with the level unchanged; a link that holds
no playable level says why, starts no game and leaves the editor's draft alone.
    tests/web/level_link_test.py SITE_DIR LEVELS_DIR"""
import json
import os
import subprocess
import sys
import zlib
import base64

from browser import in_editor, run_checks
from browser_test import ARROWS, BrowserTest, difference, pixels

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
level_link = __import__("level-link")

# The game's states, as the game numbers them.
PLAYING, WON, LOST = 2, 4, 5
RIGHT = 2  # the game's steering while Right is held
DRAFT = "zarvolith.editor.draft"
HELD_SECONDS = 3
# The page holds the game's frames while the level waits for the player. A page just reloaded
# has no Module until its modules have run.
WAITING = "window.Module && Module.calledRun && Module._zarvolithGameState() === %d && Module.preMainLoop() === false" % PLAYING
ENDED = "!document.getElementById('ended').hidden && document.getElementById('hint').textContent"


def raw_code(packed):
    return base64.urlsafe_b64encode(packed).rstrip(b"=").decode()


class LinkTest(BrowserTest):
    def __init__(self, site, levels):
        super().__init__(site, None, levels)

    def level(self, n):
        return open(os.path.join(self.levels, "level%d.txt" % n), "rb").read()

    def open_link(self, code, from_editor=False):
        # The draft is set from a page without scripts, so that no editor can save over it.
        self.page.navigate(self.server.url + "editor/shipped-levels.json")
        self.page.evaluate("localStorage.setItem(%s, 'draft kept')" % json.dumps(DRAFT))
        if from_editor:
            self.page.evaluate("sessionStorage.setItem('zarvolith.fromEditor', '1')")
        self.page.navigate(self.server.url + "index.html#level=" + code)
        rect = json.loads(self.page.evaluate(
            "JSON.stringify(document.getElementById('canvas').getBoundingClientRect())"))
        self.clip = (rect["x"], rect["y"], rect["width"], rect["height"])

    def state(self):
        return self.page.evaluate("window.Module && Module.calledRun ? Module._zarvolithGameState() : -1")

    def shared_link(self):
        data = self.level(9)
        self.open_link(level_link.level_code(data))
        self.check("a shell-made link starts the game", self.page.wait_for("Module.frameTiming.firstFrameMs", 60) is not None)
        files = self.page.evaluate("Module.FS.readdir('/levels').filter(n => n[0] !== '.').join(' ')")
        self.check("the link's level is the only level", files == "level1.txt", files)
        played = bytes(self.page.evaluate("Array.from(Module.FS.readFile('/levels/level1.txt'))"))
        self.check("the level played is the link's file byte for byte", played == data)
        self.check("a shared link shows the title screen first", self.state() == 0, str(self.state()))
        edit = self.page.evaluate("document.getElementById('edit').href")
        same = self.page.evaluate("import('./level-code.js').then(m => m.decodeLevel(%s))"
                                  % json.dumps(edit.split("#level=")[1]))
        self.check("the page offers the editor with the same level", same.get("text") == data.decode("latin-1"))

    def shot(self):
        return subprocess.run(["/usr/bin/convert", "png:-", "-depth", "8", "rgb:-"], check=True,
                              input=self.page.screenshot(self.clip), capture_output=True).stdout

    def box(self, element_id):
        return json.loads(self.page.evaluate(
            "JSON.stringify(document.getElementById(%s).getBoundingClientRect())" % json.dumps(element_id)))

    def waits(self, name, seconds=HELD_SECONDS):
        """Whether the level shows and waits for the player, its picture unchanged for that long."""
        held = self.page.wait_for(WAITING, 60)
        self.page.pump(0.3)  # the held frame reaches the screen
        before = self.shot()
        self.page.pump(seconds)
        after = self.shot()
        self.check(name, held and before == after and self.page.evaluate(WAITING))
        return after

    def start_with_right(self, held):
        frames = self.page.evaluate("Module.frameTiming.count")
        self.page.key("ArrowRight", True)
        going = self.page.wait_for("Module.frameTiming.count > %d + 10" % frames, 2)
        steering = self.page.evaluate("Module._zarvolithSteering()")
        self.check("the first arrow starts the level, and steers", going and self.state() == PLAYING and
                   steering == RIGHT and held != self.shot(), "state %s, steering %s" % (self.state(), steering))

    def play_from_editor(self):
        self.open_link(level_link.level_code(self.level(1)), from_editor=True)
        held = self.waits("from the editor the level shows and waits for the player", 0.5)
        shown = pixels(self.page.screenshot(self.clip))
        level, instructions = (pixels(bytes(self.page.evaluate("Array.from(Module.FS.readFile('/images/%s.png'))" % name)))
                               for name in ("level1bg", "instructions"))
        self.check("the waiting picture is the level's, and the line says what starts it",
                   difference(shown, level) < difference(shown, instructions) / 2 and
                   "to start" in self.page.evaluate("document.getElementById('hint').textContent"))
        self.started = False

        def hold(letter, down):  # the route's first key is checked as it starts the level
            if not self.started:
                self.started = True
                return self.start_with_right(held)
            self.page.key(ARROWS[letter], down)
        self.play_route(open(os.path.join(self.levels, "level1.route")).read().strip(), hold)
        won = self.page.wait_for("Module._zarvolithGameState() === %d" % WON, 8)
        self.check("the level's route typed in real time wins the game", bool(won), str(self.state()))
        line = self.page.wait_for(ENDED, 2)
        panel, picture = self.box("ended"), self.box("canvas")
        self.check("won, Play again shows at once, focused, at the foot of the picture; the line says so",
                   line and "escaped" in line and self.page.evaluate("document.activeElement.id") == "again" and
                   abs(panel["bottom"] - picture["bottom"]) < 1 and panel["height"] < picture["height"] / 4, repr(line))
        self.page.evaluate("window.playedOnce = true")
        self.page.key("Enter", True)
        self.page.key("Enter", False)
        self.page.wait_for("!window.playedOnce", 30)
        self.waits("Enter plays the editor's level again, and it waits again", 1)

    def crash(self):
        self.waits("the level waits %d s, its glider held where it would fall" % HELD_SECONDS)
        self.click_canvas()  # a click on the picture starts the level too
        self.check("a click on the picture starts the level",
                   self.page.wait_for("Module._zarvolithGameState() === %d" % LOST, 10), str(self.state()))
        self.click_canvas()

    def escape(self):
        self.page.key("Escape", True)
        self.page.key("Escape", False)

    def crash_level(self):
        """Level 1 with no floor under the start and hazards over the bottom floor."""
        rows = self.level(1).split(b"\n")
        rows[2], rows[13] = b")                  (", b")[[[[[[[[[[[[[[[[[[("
        return b"\n".join(rows)

    # Each ending: its level, what the player does once the level waits, and the line's words.
    ENDINGS = [
        ("a click after a crash", crash_level, crash, "crashed"),
        ("Escape while the level waits", lambda self: self.level(1), escape, "quit"),
    ]

    def endings(self):
        for name, level, act, words in self.ENDINGS:
            data = level(self)
            self.open_link(level_link.level_code(data), from_editor=True)
            self.page.wait_for(WAITING, 60)
            act(self)
            line = self.page.wait_for(ENDED, 5)
            self.check("%s ends the game: the page offers Play again and says so" % name,
                       line and words in line and self.page.evaluate("!document.getElementById('back').hidden"), repr(line))
        back = self.box("back")
        self.page.loaded = False
        self.page.click(back["x"] + back["width"] / 2, back["y"] + back["height"] / 2)
        text = self.page.wait_for(in_editor("editor.ready && editor.text()"), 30)
        self.check("Edit this level leads to the editor with the level as it was",
                   text == data.decode("latin-1"), repr(text)[:80])

    BAD_LINKS = [
        ("is not base64url", "abc$def", "base64url"),
        ("does not inflate", raw_code(b"\xff\xfe\xfd\xfc"), "inflate"),
        ("inflates to more than 4 KB", raw_code(zlib.compress(b" " * 5000)[2:-4]), "larger"),
        ("is not a level", None, "no start"),
    ]

    def bad_links(self):
        for name, code, words in self.BAD_LINKS:
            if code is None:
                code = level_link.level_code(self.level(1).replace(b"g", b" "))
            self.open_link(code)
            message = self.page.wait_for("document.getElementById('problem') && document.getElementById('problem').textContent", 20)
            self.check("a link whose level %s says so" % name, bool(message) and words in message, repr(message))
            self.check("a link whose level %s starts no game" % name,
                       self.page.evaluate("typeof Module.calledRun === 'undefined' && !document.querySelector('script[src=\"zarvolith.js\"]')"))
            self.check("a link whose level %s leaves the draft alone" % name,
                       self.page.evaluate("localStorage.getItem(%s)" % json.dumps(DRAFT)) == "draft kept")

    def run(self):
        self.shared_link()
        self.play_from_editor()
        self.endings()
        self.bad_links()
        self.check("no JavaScript exception", not self.page.exceptions, "; ".join(self.page.exceptions))


def main():
    return run_checks(LinkTest(*sys.argv[1:3]), "level links")


if __name__ == "__main__":
    sys.exit(main())
