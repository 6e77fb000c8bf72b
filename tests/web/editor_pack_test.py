#!/usr/bin/python3
"""Level packs in the editor (editor.html) in headless Chromium, driven as a person drives it: the
shipped levels 1 to 10 as a pack file opened and saved byte for byte, and sent through the share
dialog's link and back; the strip's pictures dragged into a new order, a level deleted and brought
back by Ctrl+Z, each level's strokes undone in its own history; three rooms painted with the mouse
into a pack, played from its first level in the game with their routes typed in real time to the
won picture and Play again.
    tests/web/editor_pack_test.py SITE_DIR SOLVER LEVELS_DIR"""
import json
import os
import sys
import zlib
import base64

from browser import in_editor, run_checks
from browser_test import BrowserTest
from editor_test import EditorTest, PACK_HEADING, read_level
from level_link_test import ROOMS, RECORD_STATES, ENDED, PLAYING, WAITING, WON

NAME = "The first ten"


def pack_text(name, levels):
    return "%s %s\n%s" % (PACK_HEADING, name, "".join(levels))


class PackTest(EditorTest):
    def shipped(self, n):
        return read_level(os.path.join(self.levels, "level%d.txt" % n))

    def pack(self):
        return self.state("editor.pack()")

    def strip_drag(self, source, target):
        """Presses on one picture of the strip, moves over to another in steps and lets go there."""
        (x0, y0), (x1, y1) = (self.centre("#pack-levels li:nth-child(%d)" % (n + 1)) for n in (source, target))
        self.mouse("mousePressed", (x0, y0))
        for step in range(1, 9):
            self.mouse("mouseMoved", (x0 + (x1 - x0) * step / 8, y0 + (y1 - y0) * step / 8))
        self.mouse("mouseReleased", (x1, y1))
        self.page.pump(0.1)

    def fresh(self):
        """The editor as a first visit finds it."""
        self.open()
        self.js("localStorage.clear()")
        self.open()

    def round_trip(self):
        self.fresh()
        levels = [self.shipped(n) for n in range(1, 11)]
        data = pack_text(NAME, levels)
        path = os.path.join(self.scratch, "first-ten.zvpack")
        open(path, "wb").write(data.encode("latin-1"))
        self.choose_file(path)
        pack = self.pack()
        self.check("a pack file opens as the pack, its name in the name box and its levels in the strip",
                   pack["texts"] == levels and pack["name"] == NAME and self.js("document.getElementById('pack-name').value") == NAME and
                   self.js("document.querySelectorAll('#pack-levels li').length") == 10, self.message())
        self.save_and_compare(data, "first-ten.zvpack", "#save-pack", "the pack")
        self.click("#share")
        link = self.page.wait_for("document.getElementById('share-dialog').open && document.getElementById('share-pack-link').value", 10) or ""
        code = link.split("#pack=")[-1]
        inflated = zlib.decompress(base64.urlsafe_b64decode(code + "=" * (-len(code) % 4)), -15)
        self.check("Share gives the pack's link, holding the pack file byte for byte", inflated == data.encode("latin-1"), link[:80])
        self.js("document.getElementById('share-dialog').close()")
        self.fresh()
        self.open("#pack=" + code)
        pack = self.pack()
        self.check("editor.html#pack=CODE opens the pack", pack["texts"] == levels and pack["name"] == NAME)
        self.open()
        self.check("the pack is kept in the browser over a reload", self.pack()["texts"] == levels)
        return levels

    def strip(self, levels):
        self.dismiss()
        self.strip_drag(0, 2)
        moved = levels[1:3] + levels[:1] + levels[3:]
        pack = self.pack()
        self.check("dragging level 1's picture onto level 3's moves it there, and it stays shown",
                   pack["texts"] == moved and pack["current"] == 2, "%s" % [levels.index(t) + 1 for t in pack["texts"]])
        self.click("#pack-levels li:nth-child(5)")
        self.click("#delete-level")
        deleted = self.pack()
        self.key("z", modifiers=2)
        restored = self.pack()
        self.check("a deleted level is gone, and Ctrl+Z brings it back in its place",
                   deleted["texts"] == moved[:4] + moved[5:] and restored["texts"] == moved and restored["current"] == 4,
                   "%d then %d levels" % (len(deleted["texts"]), len(restored["texts"])))
        # A stroke in level 2, then one in level 1: each level's Ctrl+Z takes back its own.
        self.click("#pack-levels li:nth-child(2)")
        self.select_tile("U", by_key=True)
        self.drag([(7, 9)])
        second = self.text()
        self.click("#pack-levels li:nth-child(1)")
        self.drag([(7, 9)])
        self.click("#pack-levels li:nth-child(2)")
        self.key("z", modifiers=2)
        texts = self.pack()["texts"]
        self.check("each level keeps its own undo: Ctrl+Z in level 2 undoes its stroke, not level 1's",
                   texts[1] == moved[1] and texts[0] != moved[0] and second != moved[1])

    def make_and_play(self):
        self.fresh()
        strokes = 0
        for n, (room, _) in enumerate(ROOMS):
            if n:
                self.click("#add-room")
            painting = self.strokes_to(room.decode())
            strokes += len(painting)
            self.paint(painting)
        pack = self.pack()
        made = pack["texts"] == [room.decode() for room, _ in ROOMS]
        self.check("three rooms painted with the mouse (%d strokes) make a pack of three levels" % strokes, made,
                   json.dumps(pack["texts"]))
        self.click("#pack-levels li:nth-child(1)")
        self.page.wait_for("!document.getElementById('play').disabled", 10)
        self.click("#play")
        self.page.wait_for(WAITING, 60)
        self.page.evaluate(RECORD_STATES)
        self.check("Play opens the game on the pack's first level, waiting", made and
                   self.js("document.getElementById('pack').textContent").endswith("3 levels"))
        game = BrowserTest.__new__(BrowserTest)
        game.page = self.page
        for n, (_, route) in enumerate(ROOMS, 1):
            started = n == 1 or self.page.wait_for("states.filter((s) => s === %d).length >= %d" % (PLAYING, n), 20)
            if n == 1:
                self.page.key("ArrowUp", True)  # any key starts the waiting level
                self.page.key("ArrowUp", False)
            game.play_route(route or "N0")
            self.check("the pack's level %d plays, in order" % n, started, str(self.page.evaluate("states")))
        won = self.page.wait_for("Module._zarvolithGameState() === %d" % WON, 15)
        line = self.page.wait_for(ENDED, 5)
        self.check("the last exit shows the won picture and Play again", won and line and
                   self.js("document.activeElement.textContent") == "Play again", repr(line))

    def run(self):
        levels = self.round_trip()
        self.strip(levels)
        self.make_and_play()
        self.check("no JavaScript exception", not self.page.exceptions, "; ".join(self.page.exceptions))


def main():
    return run_checks(PackTest(*sys.argv[1:4]), "editor packs")


if __name__ == "__main__":
    sys.exit(main())
