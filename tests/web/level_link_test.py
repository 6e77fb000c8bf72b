#!/usr/bin/python3
"""Level links in headless Chromium, in real time: a link made from a shell plays its level as the
only level, byte for byte; from the editor the level shows at once and waits, still, until the
player's first key, which steers; the level's route typed with keys wins, and the page then offers
to play again (which waits again) and says so; quitting and a click after a crash end the game with
their own line, and the page leads back to the editor with the level unchanged; a link that holds
no playable level says why, starts no game and leaves the editor's draft alone. A level pack's link
carries the pack file byte for byte; its levels, typed through with keys, win the game in order;
a pack that cannot be played says where, in the pack reader's words. A day's pack plays the levels
the solver makes for that date, byte for byte; a level whose next one is not made yet waits at its
start until it is; the first level's route typed in real time reaches level 2; Share gives the
day's link and "Today's levels" leads to today's.
    tests/web/level_link_test.py SITE_DIR LEVELS_DIR SOLVER"""
import json
import os
import re
import tempfile
import subprocess
import sys
import zlib
import base64

from browser import in_editor, run_checks
from browser_test import ARROWS, BrowserTest, difference, pixels

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
level_link = __import__("level-link")

# The game's states, as the game numbers them.
TITLE, INSTRUCTIONS, PLAYING, WON, LOST = 0, 1, 2, 4, 5
RIGHT = 2  # the game's steering while Right is held
DRAFT = "zarvolith.editor.draft"
HELD_SECONDS = 3
# The page holds the game's frames while the level waits for the player. A page just reloaded
# has no Module until its modules have run.
WAITING = "window.Module && Module.calledRun && Module._zarvolithGameState() === %d && Module.preMainLoop() === false" % PLAYING
ENDED = "!document.getElementById('ended').hidden && document.getElementById('hint').textContent"


def raw_code(packed):
    return base64.urlsafe_b64encode(packed).rstrip(b"=").decode()


def pack_file(name, levels):
    """A level pack's file: its heading line, then each level's text."""
    return b"Zarvolith level pack: " + name + b"\n" + b"".join(levels)


def room(start, floor):
    """A closed room with its start at that column of row 2, over the floor given in row 13."""
    wall = b")" + b" " * 18 + b"("
    rows = [b")" + b"(" * 19, wall, wall[:start] + b"g" + wall[start + 1:]] + [wall] * 10 + [floor, b")" * 19 + b"("]
    return b"".join(row + b"\n" for row in rows)


# Three rooms with their routes, each winning under 150 ms of timing error every time (the
# solver's --rates): exits to the right, to the left, and straight below the start.
ROOMS = [
    (room(3, b")" + b"=" * 9 + b"G" * 9 + b"("), "N8 R180"),
    (room(16, b")" + b"G" * 9 + b"=" * 9 + b"("), "N10 L180"),
    (room(10, b")" + b"=" * 6 + b"G" * 6 + b"=" * 6 + b"("), ""),
]
MARKUP_NAME = b"<b>Three</b> & <i>co</i>"
# The states the game passes through after each frame, kept by the test beside the page's own.
RECORD_STATES = ("window.states = []; const after = Module.postMainLoop; Module.postMainLoop = () => { after(); "
                 "const s = Module._zarvolithGameState(); if (states[states.length - 1] !== s) states.push(s); }")
PROBLEM = "document.getElementById('problem') && document.getElementById('problem').textContent"
NO_GAME = "typeof Module.calledRun === 'undefined' && !document.querySelector('script[src=\"zarvolith.js\"]')"


DAILY_DATE = "2026-12-24"
LEVEL_FILES = "Module.FS.readdir('/levels').filter((n) => /^level\\d+\\.txt$/.test(n)).length"
# Keeps the day's levels made after this from the game's files until release() (the test's own
# stand-in for a slow worker), so that a level's wait for the next one can be seen.
HOLD_BACK = ("import('./daily-pack.js').then(({ DailyPack }) => { const write = DailyPack.prototype.writeMade;"
             " DailyPack.prototype.writeMade = function () { if (window.released) return write.call(this); window.heldBack = this; };"
             " window.release = () => { window.released = true; if (window.heldBack) write.call(window.heldBack); }; })")


class LinkTest(BrowserTest):
    def __init__(self, site, levels, solver):
        super().__init__(site, None, levels)
        self.solver = solver

    def level(self, n):
        return open(os.path.join(self.levels, "level%d.txt" % n), "rb").read()

    def open_link(self, code, from_editor=False, key="level"):
        # The draft is set from a page without scripts, so that no editor can save over it.
        self.page.navigate(self.server.url + "editor/shipped-levels.json")
        self.page.evaluate("localStorage.setItem(%s, 'draft kept')" % json.dumps(DRAFT))
        if from_editor:
            self.page.evaluate("sessionStorage.setItem('zarvolith.fromEditor', '1')")
        self.page.navigate(self.server.url + "index.html#%s=%s" % (key, code))
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
            message = self.page.wait_for(PROBLEM, 20)
            self.check("a link whose level %s says so" % name, bool(message) and words in message, repr(message))
            self.check("a link whose level %s starts no game" % name, self.page.evaluate(NO_GAME))
            self.check("a link whose level %s leaves the draft alone" % name,
                       self.page.evaluate("localStorage.getItem(%s)" % json.dumps(DRAFT)) == "draft kept")

    def shipped_pack(self):
        self.page.navigate(self.server.url + "editor/shipped-levels.json")
        for last in (30, 20, 10):  # the page's own codes, as its editor would share them
            data = pack_file(b"The first ten" if last == 10 else b"The first %d" % last, [self.level(n) for n in range(1, last + 1)])
            made = self.page.evaluate(
                "import('/level-code.js').then(async (m) => { const text = %s; const code = await m.encodeLevel(text);"
                " return { code, same: (await m.decodeLevel(code, m.PACK)).text === text }; })" % json.dumps(data.decode("latin-1")))
            print("pack of shipped levels 1-%d: code %d characters" % (last, len(made["code"])))
        self.check("the shipped levels 1 to 10 as a pack round-trip in a code of at most 600 characters",
                   made["same"] and len(made["code"]) <= 600, str(len(made["code"])))
        self.open_link(made["code"], key="pack")
        self.page.wait_for("window.Module && Module.calledRun", 60)
        files = self.page.evaluate("Module.FS.readdir('/levels').filter((n) => /^level\\d+\\.txt$/.test(n)).length")
        played = [bytes(self.page.evaluate("Array.from(Module.FS.readFile('/levels/level%d.txt'))" % n)) for n in range(1, 11)]
        shown = self.page.evaluate("document.getElementById('pack').textContent")
        self.check("the pack's link plays its ten levels byte for byte, and no other, under its name and count",
                   played == [self.level(n) for n in range(1, 11)] and files == 10 and
                   "The first ten" in shown and "10 levels" in shown, "%d files; %r" % (files, shown))
        # The backdrops after the first stand in with its picture until they are drawn, while the game runs.
        drawn = self.page.wait_for("(() => { const first = Module.FS.readFile('/images/level1bg.png').join();"
                                   " return [2, 3, 4, 5, 6, 7, 8, 9, 10].every((n) =>"
                                   " Module.FS.readFile(`/images/level${n}bg.png`).join() !== first); })()", 60)
        self.check("each level of the pack gets its own backdrop soon after the game starts", drawn)

    def pack_played(self):
        self.open_link(level_link.level_code(pack_file(MARKUP_NAME, [text for text, _ in ROOMS])), key="pack")
        self.page.wait_for("window.Module && Module.calledRun && Module._zarvolithGameState() === %d" % TITLE, 60)
        self.page.evaluate(RECORD_STATES)
        shown = self.page.evaluate("[document.getElementById('pack').textContent, document.querySelector('#pack *') === null]")
        self.check("a pack's name with markup shows as plain text", MARKUP_NAME.decode() in shown[0] and shown[1], repr(shown))
        self.click_canvas()
        self.page.wait_for("Module._zarvolithGameState() === %d" % INSTRUCTIONS, 10)
        self.click_canvas()
        for n, (_, route) in enumerate(ROOMS, 1):
            started = self.page.wait_for("states.filter((s) => s === %d).length >= %d" % (PLAYING, n), 20)
            self.play_route(route or "N0")
            self.check("the pack's level %d starts after the one before" % n, started, str(self.page.evaluate("states")))
        won = self.page.wait_for("Module._zarvolithGameState() === %d" % WON, 15)
        line = self.page.wait_for(ENDED, 5)
        self.check("the pack's last exit wins the game, and the page offers Play again",
                   won and line and "Every level" in line and self.page.evaluate("document.activeElement.textContent") == "Play again",
                   "%r, states %s" % (line, self.page.evaluate("states")))

    def bad_packs(self):
        a, b = ROOMS[0][0], ROOMS[1][0]
        big = zlib.compressobj(9, zlib.DEFLATED, -15)
        cases = [
            ("holds no level", pack_file(b"Empty", []), ["no levels"]),
            ("holds 51 levels", pack_file(b"Long", [a] * 51), ["51 levels", "at most 50"]),
            ("has a level with an error", pack_file(b"Broken", [a, room(3, b")====~====GGGGGGGGG(")]), ["level 2", "line 30"]),
            ("has a control character in its name", pack_file(b"Bad\x01name", [a]), ["control character"]),
            ("has a name of 41 characters", pack_file(b"x" * 41, [a]), ["41 characters"]),
            ("has its last level cut short", pack_file(b"Short", [a, b[:7 * 21]]), ["level 2", "cut short"]),
            ("inflates past 64 KB", raw_code(big.compress(pack_file(b"Big", [a] * 3200)) + big.flush()), ["larger than 65536"]),
            ("is not base64url", "abc$def", ["base64url"]),
        ]
        for name, data, words in cases:
            self.open_link(data if isinstance(data, str) else level_link.level_code(data), key="pack")
            message = self.page.wait_for(PROBLEM, 20)
            self.check("a pack link that %s says so and starts no game" % name,
                       message and all(w in message for w in words) and self.page.evaluate(NO_GAME), repr(message))

    def text_of(self, element_id):
        return self.page.evaluate("document.getElementById(%s).textContent" % json.dumps(element_id))

    def daily_pack(self, native):
        self.page.navigate(self.server.url + "index.html")
        self.page.wait_for("window.Module && Module.calledRun", 60)
        today = self.page.evaluate("new Date().toISOString().slice(0, 10)")
        self.page.loaded = False
        self.page.evaluate("document.getElementById('today').click()")
        shown = self.page.wait_for("document.getElementById('pack')?.textContent.includes(%s)" % json.dumps(today), 30)
        self.check("the shipped game's Today's levels leads to today's pack", shown, self.text_of("pack"))

        self.open_link(DAILY_DATE, key="daily")
        self.page.wait_for("window.Module && Module.calledRun", 60)
        self.page.evaluate(HOLD_BACK)
        made = self.page.evaluate(LEVEL_FILES)
        self.page.evaluate("document.getElementById('share').click()")
        shared = self.page.wait_for("!document.getElementById('shared').hidden && document.getElementById('shared').textContent", 5)
        self.check("Share gives the day's link", shared and shared.endswith("index.html#daily=" + DAILY_DATE), repr(shared))
        self.click_canvas()
        self.page.wait_for("Module._zarvolithGameState() === %d" % INSTRUCTIONS, 10)
        self.click_canvas()
        output, _ = native.communicate(timeout=600)
        route = re.search(r"^level 1, .*: (\S.*)$", output, re.M).group(1)
        if made == 1:
            self.held(1)
        self.play_route(route)
        reached = self.page.wait_for("Module._zarvolithLevelNumber() === 2 && Module._zarvolithGameState() === %d" % PLAYING, 15)
        self.check("the day's first level, its route typed in real time, reaches level 2", reached,
                   "level %s" % self.page.evaluate("Module._zarvolithLevelNumber()"))
        if made == 2:
            self.held(2)
        self.check("the test kept level 3 back in time", made <= 2, "%d levels made" % made)
        self.page.wait_for("%s === 10" % LEVEL_FILES, 300)
        played = b"".join(bytes(self.page.evaluate("Array.from(Module.FS.readFile('/levels/level%d.txt'))" % n)) for n in range(1, 11))
        with open(self.daily_file, "rb") as pack:
            heading = pack.readline()
            self.check("the page's day's pack is the solver's, byte for byte", played == pack.read(), heading.decode())
        edit = self.page.evaluate("document.getElementById('edit').href").split("#level=")[1]
        same = self.page.evaluate("import('./level-code.js').then(m => m.decodeLevel(%s))" % json.dumps(edit))
        self.check("the page offers the level played to the editor",
                   same.get("text") == bytes(self.page.evaluate("Array.from(Module.FS.readFile('/levels/level2.txt'))")).decode("latin-1"))

        self.open_link("2026-02-30", key="daily")
        message = self.page.wait_for(PROBLEM, 30)
        self.check("a day that is not in the calendar says so and starts no game",
                   message and "is not a date" in message and self.page.evaluate("!Module.calledRun"), repr(message))

    def held(self, level):
        """Level n waits at its start while the next one is not made, and goes once it is."""
        waiting = self.page.wait_for("Module._zarvolithLevelNumber() === %d && Module.preMainLoop() === false" % level, 10)
        before = self.shot()
        self.page.pump(1)
        self.check("level %d waits at its start, unchanged, while level %d is made, and the page says so" % (level, level + 1),
                   waiting and before == self.shot() and "still being made" in self.text_of("hint"), self.text_of("hint"))
        self.page.evaluate("release()")
        self.check("level %d goes on once level %d is made" % (level, level + 1),
                   self.page.wait_for("Module.preMainLoop() === true", 5))

    def run(self):
        with tempfile.TemporaryDirectory() as folder:
            self.daily_file = os.path.join(folder, "daily.zvpack")
            native = subprocess.Popen([self.solver, "--generate", "--daily", DAILY_DATE, "--pack", self.daily_file,
                                       "--levels", self.levels], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
            self.daily_pack(native)
        self.shipped_pack()
        self.pack_played()
        self.bad_packs()
        self.shared_link()
        self.play_from_editor()
        self.endings()
        self.bad_links()
        self.check("no JavaScript exception", not self.page.exceptions, "; ".join(self.page.exceptions))


def main():
    return run_checks(LinkTest(*sys.argv[1:4]), "level links")


if __name__ == "__main__":
    sys.exit(main())
