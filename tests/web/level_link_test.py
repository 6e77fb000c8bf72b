#!/usr/bin/python3
"""Level links in headless Chromium, in real time: a link made from a shell plays its level as the
only level, byte for byte; from the editor the game starts in the level, the level's route typed
with keys wins, and the page leads back to the editor with the level unchanged; a link that holds
no playable level says why, starts no game and leaves the editor's draft alone.
    tests/web/level_link_test.py SITE_DIR LEVELS_DIR"""
import json
import os
import sys
import zlib
import base64

from browser import run_checks
from browser_test import BrowserTest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
level_link = __import__("level-link")

WON = 4  # the game's state once the last level's exit is reached
DRAFT = "zarvolith.editor.draft"


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
        return self.page.evaluate("Module.calledRun ? Module._zarvolithGameState() : -1")

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
        same = self.page.evaluate("import('./editor/level-code.js').then(m => m.decodeLevel(%s))"
                                  % json.dumps(edit.split("#level=")[1]))
        self.check("the page offers the editor with the same level", same.get("text") == data.decode("latin-1"))

    def play_from_editor(self):
        data = self.level(1)
        self.open_link(level_link.level_code(data), from_editor=True)
        playing = self.page.wait_for("Module.calledRun && Module._zarvolithGameState() === 2", 60)
        self.check("from the editor the game starts in the level", bool(playing), str(self.state()))
        self.page.pump(0.2)
        self.play_route(open(os.path.join(self.levels, "level1.route")).read().strip())
        won = self.page.wait_for("Module._zarvolithGameState() === %d" % WON, 8)
        self.check("the level's route typed in real time wins the game", bool(won), str(self.state()))
        self.page.key("Escape", True)
        self.page.key("Escape", False)
        back = self.page.wait_for("!document.getElementById('ended').hidden && !document.getElementById('back').hidden", 5)
        self.check("when the game ends the page offers the way back to the editor", bool(back))
        box = json.loads(self.page.evaluate(
            "JSON.stringify(document.getElementById('back').getBoundingClientRect())"))
        self.page.loaded = False
        self.page.click(box["x"] + box["width"] / 2, box["y"] + box["height"] / 2)
        text = self.page.wait_for("window.zvEditor && zvEditor.ready && zvEditor.text()", 30)
        self.check("back in the editor the level is as it was", text == data.decode("latin-1"), repr(text)[:80])

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
        self.bad_links()
        self.check("no JavaScript exception", not self.page.exceptions, "; ".join(self.page.exceptions))


def main():
    return run_checks(LinkTest(*sys.argv[1:3]), "level links")


if __name__ == "__main__":
    sys.exit(main())
