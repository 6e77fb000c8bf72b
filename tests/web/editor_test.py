#!/usr/bin/python3
"""The level editor (editor.html) in headless Chromium, driven as a person drives it: a shipped
level painted into a new room with the mouse and saved byte for byte; the checker's messages and
marks for a missing start, a second start and an open border, gone once mended; a shipped level
proved winnable with the route the native solver finds; a sealed level searched while the page
keeps answering; undo and redo; every kind of bad input refused with the draft kept; the draft
kept over a reload; pasting, sharing and playing; the generator's levels the same in the page's
worker as from the native solver.
    tests/web/editor_test.py SITE_DIR SOLVER LEVELS_DIR"""
import base64
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zlib

from browser import Page, SiteServer, in_editor, run_checks

WINDOW = (1280, 900)
DRAFT_KEY = "zarvolith.editor.draft"
PACK_HEADING = "Zarvolith level pack:"
PAINTED_LEVEL = 4   # walls, hazards of three kinds, small fires and an exit column
PROVED_LEVEL = 1    # the native solver wins it in a tenth of a second


class EditorPage(Page):
    """A Page that also keeps the file chooser and download events it hears."""

    def _note(self, message):
        super()._note(message)
        if message.get("method") in ("Page.fileChooserOpened", "Page.frameNavigated"):
            self.events.append(message)

    def __init__(self, *size):
        self.events = []
        super().__init__(*size)


def read_level(path):
    return open(path, "rb").read().decode("latin-1")


class EditorTest:
    def __init__(self, site, solver, levels):
        self.solver, self.levels = solver, levels
        self.results = []
        self.server = SiteServer(site)
        self.page = EditorPage(*WINDOW)
        self.scratch = tempfile.mkdtemp(prefix="zarvolith-editor-test-")

    def check(self, name, ok, detail=""):
        self.results.append(bool(ok))
        print("%s - %s%s" % ("ok" if ok else "FAIL", name, (": " + detail) if detail else ""), flush=True)
        return ok

    # ---- driving the page ----

    def js(self, expression):
        return self.page.evaluate(expression)

    def state(self, expression):
        """An expression over `editor`, what the page shows (editor/editor.js exports it)."""
        return self.page.evaluate(in_editor(expression))

    def open(self, hash=""):
        # By way of a blank page, so that a new hash loads the page afresh rather than scrolling it.
        self.page.navigate("about:blank")
        self.page.navigate(self.server.url + "editor.html" + hash)
        return self.page.wait_for(in_editor("editor.ready"), 30)

    def text(self):
        return self.state("editor.text()")

    def draft(self):
        """The kept draft's levels: a pack file after its heading line."""
        kept = self.js("localStorage.getItem(%s)" % json.dumps(DRAFT_KEY))
        return kept.split("\n", 1)[1] if kept and kept.startswith(PACK_HEADING) else kept

    def centre(self, selector):
        box = self.js("(() => { const r = document.querySelector(%s).getBoundingClientRect();"
                      " return [r.x + r.width / 2, r.y + r.height / 2]; })()" % json.dumps(selector))
        return box

    def click(self, selector):
        self.page.click(*self.centre(selector))
        self.page.pump(0.05)

    def cell(self, row, column):
        x, y, w, h = self.js("(() => { const r = document.getElementById('level').getBoundingClientRect();"
                             " return [r.x, r.y, r.width, r.height]; })()")
        return x + (column + 0.5) * w / 20, y + (row + 0.5) * h / 15

    def mouse(self, kind, point, button="left"):
        pressed = {"left": 1, "right": 2}[button] if kind != "mouseReleased" else 0
        self.page.send("Input.dispatchMouseEvent", type=kind, x=point[0], y=point[1], button=button,
                       buttons=pressed, clickCount=1)

    def drag(self, cells, button="left"):
        """Presses on the first cell, moves through the others and lets go on the last."""
        self.mouse("mousePressed", self.cell(*cells[0]), button)
        for c in cells[1:]:
            self.mouse("mouseMoved", self.cell(*c), button)
        self.mouse("mouseReleased", self.cell(*cells[-1]), button)
        self.page.pump(0.02)

    def key(self, key, modifiers=0, code=None):
        """One key press; modifiers: 2 Ctrl, 8 Shift."""
        text = key if len(key) == 1 and not modifiers & 2 else ""
        named = {"Backspace": 8, "Delete": 46, "Escape": 27}
        vk = named[key] if key in named else ord(key.upper()) if key.isalnum() else 0
        for kind in ("keyDown", "keyUp"):
            self.page.send("Input.dispatchKeyEvent", type=kind, key=key, text=text if kind == "keyDown" else "",
                           modifiers=modifiers, windowsVirtualKeyCode=vk, code=code or "")
        self.page.pump(0.02)

    def select_tile(self, char, by_key):
        if by_key:
            self.key(char, modifiers=8 if char.isupper() else 0)
        else:
            self.click('#palette [data-char="%s"]' % char.replace('"', '\\"'))
        # Under load the page may take a moment to act on the key or click: wait for the brush, so
        # that the next stroke never paints with the one before.
        return bool(self.page.wait_for(in_editor("editor.brush() === %s" % json.dumps(char)), 5))

    def choose_file(self, path):
        """Opens a file the way a person does: the Open… button, then the file chooser."""
        self.page.events.clear()
        self.page.send("Page.setInterceptFileChooserDialog", enabled=True)
        self.click("#open")
        deadline = time.time() + 5
        while time.time() < deadline:
            opened = [e for e in self.page.events if e["method"] == "Page.fileChooserOpened"]
            if opened:
                self.page.send("DOM.setFileInputFiles", files=[path], backendNodeId=opened[0]["params"]["backendNodeId"])
                self.page.pump(0.3)
                return True
            self.page.pump(0.05)
        return False

    def message(self):
        return self.js("document.getElementById('message').hidden ? '' : document.getElementById('message').innerText")

    def dismiss(self):
        if self.message():
            self.click("#message-close")

    def strokes_to(self, level):
        """The strokes, (char, row, first column, last column), that paint the level shown into
        the level given, a row's run of one character at a time."""
        target = level.split("\n")[:15]
        strokes = []
        for r in range(15):
            row = self.text().split("\n")[r]
            c = 0
            while c < 20:
                want = target[r][c]
                if row[c] == want:
                    c += 1
                    continue
                end = c
                while end + 1 < 20 and target[r][end + 1] == want and row[end + 1] != want:
                    end += 1
                strokes.append((want, r, c, end))
                c = end + 1
        return strokes

    def paint(self, strokes):
        """Paints the strokes, choosing tiles by key and by click in turn: the texts after each, and
        whether every tile was chosen."""
        texts, selected = [self.text()], True
        for i, (char, r, c0, c1) in enumerate(strokes):
            cells = [(r, c) for c in range(c0, c1 + 1)]
            if char == " ":
                self.drag(cells, "right")
            else:
                selected &= self.select_tile(char, by_key=i % 2 == 0)
                self.drag(cells if len(cells) < 3 else [cells[0], cells[-1]])  # a fast drag leaves no gaps
            texts.append(self.text())
        return texts, selected

    def load_shipped_by_file(self, number):
        self.choose_file(os.path.abspath(os.path.join(self.levels, "level%d.txt" % number)))
        return self.text() == read_level(os.path.join(self.levels, "level%d.txt" % number))

    # ---- cases ----

    def start(self):
        ok = self.open()
        self.check("the editor loads", ok)
        self.js("localStorage.clear()")
        self.open()
        fits = self.js("document.documentElement.scrollWidth <= innerWidth && "
                       "document.documentElement.scrollHeight <= innerHeight")
        self.check("the editor fits a %dx%d window with no scroll bars" % WINDOW, fits)
        self.check("a first visit starts from a closed room with no checker issue",
                   self.state("editor.issues().length") == 0, json.dumps(self.state("editor.issues()")))
        self.check("the palette shows every tile of the core and the eraser",
                   self.js("document.querySelectorAll('#palette .tile canvas').length") == 19)

    def paint_shipped_level(self):
        self.click("#new-room")
        strokes = self.strokes_to(read_level(os.path.join(self.levels, "level%d.txt" % PAINTED_LEVEL)))
        # A painted cell shows at once, from the tile's picture, before the backdrop is redrawn.
        # A painted cell shows in the next frame, while the stroke goes on, from the tile's picture;
        # once painting pauses the backdrop takes over, looking the same there.
        self.page.wait_for(in_editor("editor.picturesReady() && editor.backdropText() === editor.text()"), 20)
        sample = ("new Promise(done => requestAnimationFrame(() => done(Array.from(document.getElementById('level')"
                  ".getContext('2d').getImageData(%d, %d, 24, 24).data))))" % (8 * 51.2 + 14, 7 * 51.2 + 14))
        before = self.js(sample)
        self.select_tile("[", by_key=True)
        self.mouse("mousePressed", self.cell(7, 8))
        during = self.js(sample)
        self.mouse("mouseReleased", self.cell(7, 8))
        self.page.wait_for(in_editor("editor.backdropText() === editor.text()"), 10)
        drawn = self.js(sample)
        # Hazard stripes run on across the level, so the preview's are out of phase: compare the
        # cell's mean colour.
        mean = lambda px: [sum(px[k::4]) / (len(px) / 4) for k in range(3)]
        far = max(abs(a - b) for a, b in zip(mean(during), mean(before)))
        near = max(abs(a - b) for a, b in zip(mean(during), mean(drawn)))
        self.check("a painted cell shows in the next frame, as the backdrop then draws it", far > 30 and near < 8,
                   "mean colour %.0f from the empty cell's, %.1f from the backdrop's" % (far, near))
        self.key("z", modifiers=2)
        texts, selected = self.paint(strokes)
        expected = read_level(os.path.join(self.levels, "level%d.txt" % PAINTED_LEVEL))
        self.check("tiles are selected by key and by palette click", selected)
        self.check("level %d painted into a new room with the mouse (%d strokes)" % (PAINTED_LEVEL, len(strokes)),
                   self.text() == expected, "" if self.text() == expected else repr(self.text()))
        self.check("the draft follows every change", self.draft() == expected)
        self.page.pump(1.0)
        self.check("the backdrop is redrawn once painting pauses", self.page.wait_for(in_editor("editor.backdropText() === editor.text()"), 10))
        self.save_and_compare(expected, "zarvolith-level.txt")
        self.undo_redo(texts)

    def save_and_compare(self, expected, name, button="#save", what="the level"):
        folder = os.path.join(self.scratch, "downloads", button[1:])
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        self.page.send("Browser.setDownloadBehavior", behavior="allow", downloadPath=folder, eventsEnabled=True)
        self.click(button)
        deadline = time.time() + 10
        files = []
        while time.time() < deadline:
            files = [f for f in os.listdir(folder) if not f.endswith(".crdownload")]
            if files:
                break
            self.page.pump(0.1)
        saved = open(os.path.join(folder, files[0]), "rb").read() if files else None
        self.check("Save downloads %s byte for byte as %s" % (what, name),
                   saved == expected.encode("latin-1") and files == [name], "" if saved == expected.encode("latin-1") else "%s: %r" % (files, saved))

    def undo_redo(self, texts):
        self.key("z", modifiers=2)
        undone = self.text() == texts[-2]
        for _ in range(len(texts) - 2):
            self.key("z", modifiers=2)
        self.check("Ctrl+Z undoes one stroke at a time, back to the new room", undone and self.text() == texts[0])
        self.key("z", modifiers=2 | 8)
        first = self.text() == texts[1]
        for i in range(len(texts) - 2):
            self.key("y", modifiers=2)
        self.check("Ctrl+Shift+Z and Ctrl+Y redo every stroke", first and self.text() == texts[-1])
        self.click("#undo")
        back = self.text() == texts[-2]
        self.click("#redo")
        self.check("the Undo and Redo buttons step back and forth", back and self.text() == texts[-1])

    def issue(self, part):
        return self.state("editor.issues().find(i => i.message.includes(%s)) || null" % json.dumps(part))

    def marked(self, line, column):
        return self.state("editor.marks().some(m => m.line === %d && m.column === %d)" % (line, column))

    def listed(self, part):
        return part in self.js("document.getElementById('issues').innerText")

    def pick_shipped(self, number):
        """The shipped level picker, by mouse and arrow keys as a person picks from a list."""
        self.click("#shipped")
        for name, vk in [("ArrowDown", 40)] * number + [("Enter", 13)]:
            for kind in ("keyDown", "keyUp"):
                self.page.send("Input.dispatchKeyEvent", type=kind, key=name, code=name, windowsVirtualKeyCode=vk)
        self.page.pump(0.2)
        return self.text() == read_level(os.path.join(self.levels, "level%d.txt" % number))

    def checker(self):
        self.check("the shipped level picker loads level %d" % PROVED_LEVEL, self.pick_shipped(PROVED_LEVEL))
        start = [(r, line.index("g")) for r, line in enumerate(self.text().split("\n")) if "g" in line][0]
        self.drag([start], "right")
        self.check("no start: the checker says so, Play is off and the solver is not asked",
                   self.listed("no start cell 'g'") and self.js("document.getElementById('play').disabled") and
                   self.state("editor.verdict() && editor.verdict().sent === false"))
        self.select_tile("g", by_key=True)
        self.drag([start])
        self.check("no start: the message goes once a start is painted", not self.issue("no start"))

        second = (11, 15)
        self.drag([second])
        issue = self.issue("another start")
        self.check("two starts: the warning names the later start's cell and it is marked",
                   issue and (issue["line"], issue["column"]) == (12, 16) and self.marked(12, 16) and
                   self.listed("another start"), json.dumps(issue))
        self.click("#issues li.warning")
        self.check("clicking the message flashes its cell", self.state("JSON.stringify(editor.flashing())") ==
                   json.dumps({"line": 12, "column": 16}, separators=(",", ":")))
        self.drag([second], "right")
        self.check("two starts: the warning and its mark go once the cell is erased",
                   not self.issue("another start") and not self.marked(12, 16))

        self.key("Delete")
        self.drag([(6, 0)])
        issue = self.issue("open border")
        self.check("open border: the warning marks the open cell on the left edge",
                   issue and (issue["line"], issue["column"]) == (7, 1) and self.marked(7, 1), json.dumps(issue))
        self.select_tile(")", by_key=False)
        self.drag([(6, 0)])
        self.check("open border: mended with a wall, the warning goes", not self.issue("open border") and
                   self.state("editor.marks().length") == 0)

    def proof(self):
        path = os.path.join(self.levels, "level%d.txt" % PROVED_LEVEL)
        native = subprocess.run([self.solver, path], capture_output=True, text=True).stdout.splitlines()
        route = native[1].strip() if len(native) > 1 else None
        self.load_shipped_by_file(PROVED_LEVEL)
        verdict = self.page.wait_for(in_editor("editor.verdict() && editor.verdict().sent && editor.verdict()"), 60)
        self.check("level %d is winnable with the route the native solver finds" % PROVED_LEVEL,
                   verdict and verdict.get("won") and verdict.get("script") == route,
                   "page: %s, solver: %s" % (verdict and verdict.get("script"), route))
        self.check("the page says so and draws the route",
                   "Winnable" in self.js("document.getElementById('proof').innerText") and
                   self.state("editor.routeShown()"))
        self.kind_search(path)

        # The exit sealed under walls: the search runs until every run is tried, reporting as it goes.
        # The walls reach a cell past the exit on each side: the glider, wider than a cell, touches
        # an exit's top from the cell beside the one above it.
        exits = [c for c, ch in enumerate(self.text().split("\n")[14]) if ch == "G"]
        self.select_tile("(", by_key=True)
        self.drag([(13, exits[0] - 1), (13, exits[-1] + 1)])
        first = self.page.wait_for("(() => { const b = document.getElementById('search-bar');"
                                   " return !b.parentNode.hidden && b.value > 0 &&"
                                   " [b.value, document.getElementById('verdict-headline').textContent]; })()", 30)
        later = first and self.page.wait_for("(() => { const v = document.getElementById('search-bar').value;"
                                             " return v > %d && v; })()" % first[0], 30)
        self.check("a sealed level shows the search and its progress",
                   first and later and "Searching" in first[1], "runs %s then %s" % (first, later))
        # The clicks come while the worker searches on.
        slowest = 0
        for char in ("U", "3", ")"):
            began = time.time()
            self.click('#palette [data-char="%s"]' % char)
            ok = self.state("editor.brush()") == char
            slowest = max(slowest, time.time() - began if ok else 99)
        self.check("the page answers palette clicks within 200 ms while the worker searches",
                   slowest < 0.2, "slowest %.0f ms" % (slowest * 1000))
        self.key("z", modifiers=2)

    def generated(self):
        """The generator in the page's worker makes the native solver's levels byte for byte, and
        Generate… loads one to edit."""
        rates = {l["number"]: l["rates"]["100"] for l in self.js(
            "fetch('editor/shipped-levels.json').then((r) => r.json()).then((d) => d.levels)")}
        cases = [(seed, like) for like in (3, 12, 25) for seed in range(1, 6)]
        jobs = [[seed, rates[like]["wins"] / rates[like]["trials"]] for seed, like in cases]
        self.js("import('./editor/prover.js').then(async ({ JobRunner }) => { const runner = new JobRunner({ spare: false });"
                " const made = []; for (const [seed, target] of %s)"
                " made.push((await runner.run({ type: 'generate', seed, target })).result.text);"
                " runner.stop(); window.generatedLevels = made; }) && true" % json.dumps(jobs))
        native = [subprocess.run([self.solver, "--levels", self.levels, "--generate", "--seed", str(seed), "--like", str(like)],
                                 capture_output=True, text=True).stdout.split("\n")[:15] for seed, like in cases]
        native = ["".join(line + "\n" for line in lines) if len(lines) == 15 else "" for lines in native]
        made = self.page.wait_for("window.generatedLevels", 600) or []
        same = [case for case, page, there in zip(cases, made, native) if page == there]
        self.check("the page's worker generates the native solver's levels byte for byte (%d seeds at levels 3, 12 and 25)" % 5,
                   len(same) == len(cases) and all(native), "%d of %d the same" % (len(same), len(cases)))
        self.js("(() => { const s = document.getElementById('generate'); s.value = '5'; s.dispatchEvent(new Event('change')); })()")
        shown = self.page.wait_for("(t => t.startsWith('Loaded a level generated') && t)(document.getElementById('message-text').textContent)", 120)
        self.check("Generate… loads a generated level to edit, which the checker passes", shown and
                   self.state("editor.issues().length") == 0, repr(shown))
        self.key("z", modifiers=2)

    def panel(self, element):
        return self.js("document.getElementById(%s).innerText" % json.dumps(element))

    def kind_search(self, path):
        """The kind route search follows the verdict by itself; while it runs no rate is shown
        that was not measured, and once it settles, the route shown, its rates (as the native
        solver measures them) and the difficulty line all belong together."""
        started = self.page.wait_for("/Looking for a kinder route/.test(document.getElementById('kind-status').textContent)", 10)
        self.check("the kind route search starts by itself after the verdict", started)
        unmeasured, samples = [], 0
        deadline = time.time() + 150
        while time.time() < deadline and not self.state("editor.verdict() && editor.verdict().settled"):
            rows = self.panel("rates")
            samples += 1
            if re.search(r"-\d", rows) or "NaN" in rows:
                unmeasured.append(rows.replace("\n", " / "))
            self.page.pump(0.25)
        self.check("no rate row shows a negative or unmeasured figure (%d looks)" % samples, samples > 3 and not unmeasured,
                   "; ".join(unmeasured[:2]))
        script = self.js("document.getElementById('route-script').textContent")
        native = subprocess.run([self.solver, "--rates", script, path], capture_output=True, text=True).stdout
        wins = dict((int(ms), int(w)) for ms, w in re.findall(r"\+-\s*(\d+) ms:\s*[\d.]+% \((\d+) of", native))
        shown = dict((int(ms), int(w)) for ms, w in re.findall(r"±(\d+) ms\s*[\d.]+% \((\d+) of", self.panel("rates")))
        self.check("the rates shown are those of the route shown, as the native solver measures them",
                   wins and shown == wins, "page %s, solver %s for %r" % (shown, wins, script))
        shipped = json.loads(self.js("fetch('editor/shipped-levels.json').then(r => r.text())"))["levels"]
        rate = wins.get(100, 0) / 5.0
        nearest = min(shipped, key=lambda l: (abs(100.0 * l["rates"]["100"]["wins"] / l["rates"]["100"]["trials"] - rate), l["number"]))
        line = self.panel("difficulty")
        self.check("the settled difficulty names the level nearest the kindest route's rate",
                   line.startswith("About as hard as level %d " % nearest["number"]) or line.startswith("Easier than every"), line)
        facts = self.panel("route-facts")
        changes = len(script.split())
        self.check("the route's key changes are counted from the route shown",
                   ("%d key change" % changes) in facts, "%r for %r" % (facts, script))
        self.kindest = script

    def best_attempt(self):
        """A room whose floor is all hazard: every run is wrecked, and the page shows the attempt
        that got nearest the exit, naming the cell that wrecked it as `solver` does."""
        rows = [")" + " " * 18 + "(" for _ in range(15)]
        rows[0] = ")" + "(" * 19
        rows[11] = ")g" + " " * 17 + "("
        rows[13] = ")" + "=" * 16 + "  ("
        rows[14] = ")" * 17 + "GG("
        level = "\n".join(rows) + "\n"
        path = os.path.join(self.scratch, "floored.txt")
        open(path, "w", encoding="latin-1").write(level)
        self.choose_file(path)
        self.dismiss()
        verdict = self.page.wait_for(in_editor("editor.verdict() && editor.verdict().sent && editor.verdict()"), 120)
        attempt = (verdict or {}).get("attempt") or {}
        native = subprocess.run([self.solver, path], capture_output=True, text=True).stdout
        cell = re.search(r"line (\d+), column (\d+)", native)
        detail = self.panel("verdict-detail")
        shown = re.search(r"line (\d+), column (\d+)", detail)
        near = re.search(r"([\d.]+) cells from the exit", native)
        self.check("an unwinnable level shows its best attempt, how near it got and the cell that wrecked it, as `solver` prints them",
                   verdict and not verdict.get("won") and attempt.get("ending") == "wrecked" and cell and shown and near and
                   cell.groups() == shown.groups() and rows[int(cell.group(1)) - 1][int(cell.group(2)) - 1] == "=" and
                   ("within %s cells of an exit" % near.group(1)) in detail, "page: %r; solver: %r" % (detail, native))
        self.check("the attempt is drawn over the level", self.state("editor.routeShown()"))
        self.key("z", modifiers=2)

    def bad_inputs(self):
        self.click("#new-room")
        self.dismiss()
        kept = self.draft()
        level = read_level(os.path.join(self.levels, "level1.txt"))
        pack = lambda name, levels: PACK_HEADING.encode() + b" " + name + b"\n" + b"".join(levels)
        one = level.encode("latin-1")
        broken = level.replace("g", "x", 1).encode("latin-1")
        broken_line = 2 + 15 + next(i for i, line in enumerate(level.split("\n")) if "g" in line)  # after the heading and level 1
        files = [
            ("too big", "big.txt", (level * 20).encode("latin-1"), []),
            ("binary", "picture.txt", b"\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR" + bytes(range(256)), []),
            ("not a level", "notes.txt", ("Notes on my levels, which are not a level at all\n" * 3).encode(), []),
            ("unknown characters", "odd.txt", level.replace("g", "x").encode("latin-1"), []),
            ("too many lines", "long.txt", (level + ")\n").encode("latin-1"), []),
            ("pack of no levels", "empty.zvpack", pack(b"None", []), ["no levels"]),
            ("pack of 51 levels", "long.zvpack", pack(b"Long", [one] * 51), ["51 levels", "at most 50"]),
            ("pack with a level in error", "broken.zvpack", pack(b"Broken", [one, broken]), ["level 2", "line %d" % broken_line]),
            ("pack named with a control character", "bell.zvpack", pack(b"Bell\x07", [one]), ["control character"]),
            ("pack named in 41 characters", "wordy.zvpack", pack(b"w" * 41, [one]), ["41 characters"]),
            ("pack with its last level cut short", "short.zvpack", pack(b"Short", [one, one[:100]]), ["level 2", "cut short"]),
            ("pack past 64 KB", "huge.zvpack", pack(b"Huge", [one] * 230), ["at most 65536"]),
        ]
        for what, name, data, words in files:
            path = os.path.join(self.scratch, name)
            open(path, "wb").write(data)
            self.choose_file(path)
            shown = self.message()
            self.check("a file %s is refused with a message and the draft is kept" % what,
                       "not loaded" in shown and all(w in shown for w in words) and self.draft() == kept and
                       self.text() == kept and len(self.state("editor.pack().texts")) == 1, shown.replace("\n", " / "))
            self.dismiss()
        mendable = os.path.join(self.scratch, "nostart.txt")
        open(mendable, "wb").write(level.replace("g", " ").encode("latin-1"))
        self.choose_file(mendable)
        self.check("a level file with checker errors loads for mending", self.text() == level.replace("g", " ") and
                   self.listed("no start cell"))
        self.key("z", modifiers=2)
        self.dismiss()
        self.click("#paste")
        self.click("#paste-text")
        prose = "Here are two lines that are surely not a level"
        self.page.send("Input.insertText", text=prose + "\nof this game.")
        self.click("#paste-load")
        shown = self.page.wait_for("(t => t.startsWith('The pasted') && t)(document.getElementById('message-text').textContent)", 5) or ""
        self.check("a paste of two lines says first what it is", shown.split("\n")[0] == "The pasted text was not loaded: 2 lines "
                   "of text; a level has 15 lines of at most 20 characters; line 1 has %d." % len(prose), repr(shown))
        self.dismiss()
        kept = self.draft()
        hello = base64.urlsafe_b64encode(zlib.compress(b"hello\n", 9)[2:-4]).decode().rstrip("=")
        huge = zlib.compressobj(9, zlib.DEFLATED, -15)
        huge = base64.urlsafe_b64encode(huge.compress(b"Zarvolith level pack: \n" + b"(" * 70000) + huge.flush()).decode().rstrip("=")
        for what, hash in (("not base64url", "#level=@@not*a*code"), ("that does not inflate", "#level=AAAAAAAA"),
                           ("that holds no level", "#level=" + hello), ("that is empty", "#level="),
                           ("whose pack inflates past 64 KB", "#pack=" + huge)):
            self.open(hash)
            shown = self.message()
            self.check("a link %s is refused with a message, the draft kept, the editor usable" % what,
                       "not loaded" in shown and self.draft() == kept and self.text() == kept and
                       self.select_tile("T", by_key=True), shown.replace("\n", " / "))

    def draft_and_links(self):
        level3 = read_level(os.path.join(self.levels, "level3.txt"))
        self.click("#paste")
        self.click("#paste-text")
        self.page.send("Input.insertText", text=level3)
        self.click("#paste-load")
        self.check("pasted level text loads", self.page.wait_for(in_editor("editor.text() === %s" % json.dumps(level3)), 5))
        level5 = os.path.abspath(os.path.join(self.levels, "level5.txt"))
        for kind in ("dragEnter", "dragOver", "drop"):
            self.page.send("Input.dispatchDragEvent", type=kind, x=self.cell(7, 7)[0], y=self.cell(7, 7)[1],
                           data={"items": [], "files": [level5], "dragOperationsMask": 1})
        self.check("a level file dropped on the page loads", self.page.wait_for(in_editor("editor.text() === %s" % json.dumps(read_level(level5))), 5))
        before = self.text()
        self.select_tile("3", by_key=True)
        self.click("#show-faces")
        self.drag([(5, 5)])
        edited = self.text()
        self.open()
        kept = self.text() == edited and edited != level3
        self.check("the draft, the chosen tile and Faces survive a reload", kept and self.state("editor.brush()") == "3" and
                   self.js("document.getElementById('show-faces').checked"))
        self.key("z", modifiers=2)
        self.check("undo after a reload undoes the last stroke", self.text() == before)
        self.key("z", modifiers=2 | 8)

        self.click("#share")
        link = self.page.wait_for("document.getElementById('share-dialog').open && document.getElementById('share-link').value", 5) or ""
        code = link.split("#level=", 1)[1] if "#level=" in link else ""
        decoded = zlib.decompress(base64.urlsafe_b64decode(code + "=" * (-len(code) % 4)), -15) if code else b""
        self.check("Share shows the link to index.html that holds the level, selected",
                   link.startswith(self.server.url + "index.html#level=") and decoded == edited.encode("latin-1") and
                   self.js("document.activeElement.id") == "share-link", "%s, focus on %s, holds %r" % (
                       link, self.js("document.activeElement.id"), decoded))
        self.click("#share-copy")
        note = self.page.wait_for("(t => /Copied|Ctrl\\+C/.test(t) && t)(document.getElementById('share-note').textContent)", 5)
        self.check("Copy copies the link, or says how to", bool(note), repr(note))
        self.key("Escape")
        self.open("#level=" + code)
        self.check("editor.html#level=CODE opens the level", self.text() == edited)
        self.before_play = [before, edited]

        self.link = link

    def play(self):
        self.page.events.clear()
        self.page.loaded = False
        self.click("#play")
        deadline = time.time() + 10
        while not self.page.loaded and time.time() < deadline:
            self.page.pump(0.05)
        frames = [e["params"]["frame"] for e in self.page.events if e["method"] == "Page.frameNavigated"]
        url = frames[0]["url"] + frames[0].get("urlFragment", "") if frames else None
        self.check("Play opens the game with the level's link and the editor's mark",
                   url == self.link and self.js("sessionStorage.getItem('zarvolith.fromEditor')") == "1", url)
        # The game's page goes on to fetch its data: let it finish rather than cut it off.
        self.page.wait_for("performance.getEntriesByType('resource').some(e => e.name.endsWith('.data') && e.responseEnd > 0)", 30)
        back = self.js("document.getElementById('edit').href")
        self.page.navigate(back)
        self.page.wait_for(in_editor("editor.ready"), 30)
        self.key("z", modifiers=2)
        self.check("after Play and back, the level is kept and undo undoes the last stroke",
                   self.text() == self.before_play[-2], repr(self.text()))
        self.key("z", modifiers=2 | 8)

    def stopped(self):
        """The page's stop takes every listener away: a tile key, Ctrl+Z, the palette, New room and
        a stroke on the level then change nothing."""
        shown = "JSON.stringify([editor.text(), editor.brush(), document.getElementById('message').hidden])"
        before = self.state(shown)
        self.js("import('./editor/editor.js').then((page) => page.stop())")
        other = "(" if json.loads(before)[1] != "(" else ")"
        self.key(other)
        self.key("z", modifiers=2)
        self.click('#palette [data-char="%s"]' % other)
        self.click("#new-room")
        self.drag([(7, 3), (7, 9)])
        after = self.state(shown)
        self.check("once the editor is stopped, keys, buttons and strokes change nothing", after == before, after[:80])

    def run(self):
        self.start()
        self.paint_shipped_level()
        self.checker()
        self.proof()
        self.best_attempt()
        self.generated()
        self.bad_inputs()
        self.draft_and_links()
        self.check("no JavaScript exception", not self.page.exceptions, "; ".join(self.page.exceptions))
        # Chromium suggests willReadFrequently once this test has read the canvas back a few times.
        errors = [text for level, text in self.page.console
                  if level in ("warning", "error") and "willReadFrequently" not in text]
        self.check("no console error or warning", not errors, "; ".join(errors[:5]))
        self.play()
        self.stopped()

    def close(self):
        self.page.close()
        self.server.close()
        shutil.rmtree(self.scratch, ignore_errors=True)


def main():
    return run_checks(EditorTest(*sys.argv[1:4]), "editor")


if __name__ == "__main__":
    sys.exit(main())
