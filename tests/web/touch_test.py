#!/usr/bin/python3
"""The page on phones, tablets and gamepads, in headless Chromium with its device emulation: the
picture and the touch buttons fit a phone's screen both ways up; taps and the touch buttons play
level 1 through; the page neither zooms nor offers a menu; a large window gets a large picture; a
gamepad plays; a hidden page is silent and lets go of its keys; full screen comes and goes; and a
storm of all of it leaves the game whole.
    tests/web/touch_test.py SITE_DIR GAME_DIR LEVELS_DIR"""
import json
import random
import sys
import time

from browser import run_checks
from browser_test import BrowserTest

PHONES = {"landscape": (844, 390), "portrait": (390, 844)}
DESKTOP = (1920, 1080)
# Screens the storm switches between: phones, tablets and windows, both ways up.
STORM_SCREENS = [(844, 390), (390, 844), (1180, 820), (820, 1180), (1024, 768), (640, 360),
                 (360, 640), (1920, 1080), (700, 700), (300, 500)]
STORM_SECONDS = 30
# The game's states, as the game numbers them.
TITLE, INSTRUCTIONS, PLAYING, LOST = 0, 1, 2, 5
# 1 while the game steers left, 2 while it steers right.
LEFT, RIGHT = 1, 2
THUMB_PX = 48  # about 9 mm on a phone: the least a button may be

# Gamepads the test holds in its hand: navigator.getGamepads answers with window.testPads, which
# setPad fills in the standard mapping (12-15 the d-pad, 0 the south button, 9 Start).
GAMEPAD_STUB = """
window.testPads = [null, null, null, null];
navigator.getGamepads = () => window.testPads;
window.setPad = (index, pressed, stickX) => {
  if (pressed === null) { window.testPads[index] = null; return; }
  const buttons = [];
  for (let i = 0; i < 17; i++) {
    const down = pressed.includes(i);
    buttons.push({ pressed: down, touched: down, value: down ? 1 : 0 });
  }
  window.testPads[index] = { index, id: 'test pad', connected: true, mapping: 'standard',
                             timestamp: performance.now(), buttons, axes: [stickX || 0, 0, 0, 0] };
  window.dispatchEvent(new Event('gamepadconnected'));
};
"""
PAD_LEFT, PAD_RIGHT, PAD_SOUTH, PAD_START = 14, 15, 0, 9

# Counts what a person would see go wrong: menus not prevented, key events the game was sent.
WATCHERS = """
window.openMenus = 0;
window.addEventListener('contextmenu', (event) => { if (!event.defaultPrevented) window.openMenus++; });
window.gameKeys = [];
window.addEventListener('keydown', (event) => window.gameKeys.push('+' + event.key));
window.addEventListener('keyup', (event) => window.gameKeys.push('-' + event.key));
"""


def inside(rect, width, height):
    return (rect["width"] > 0 and rect["height"] > 0 and rect["x"] >= -0.5 and rect["y"] >= -0.5 and
            rect["x"] + rect["width"] <= width + 0.5 and rect["y"] + rect["height"] <= height + 0.5)


def overlap(a, b):
    return (a["x"] < b["x"] + b["width"] and b["x"] < a["x"] + a["width"] and
            a["y"] < b["y"] + b["height"] and b["y"] < a["y"] + a["height"])


def centre(rect):
    return rect["x"] + rect["width"] / 2, rect["y"] + rect["height"] / 2


class TouchTest(BrowserTest):
    allowed_warnings = dict(BrowserTest.allowed_warnings, **{
        "The AudioContext was not allowed to start":
            "emscripten's SDL tries to resume its sound on touchstart and on a gamepad's click, "
            "which browsers do not count as a person's act; the page resumes it when the touch ends",
        "Ignored attempt to cancel a touchend event":
            "emscripten's touchHandler cancels every touch on the picture, also one the browser no "
            "longer lets be cancelled (a touch held while the screen changed size); nothing follows"})

    def __init__(self, site, game, levels):
        super().__init__(site, game, levels)
        self.page.send("Page.addScriptToEvaluateOnNewDocument", source=GAMEPAD_STUB + WATCHERS)

    # The page and what is on it.

    def open(self, width, height, mobile=True):
        self.page.emulate(width, height, mobile=mobile, touch=mobile)
        self.page.navigate(self.server.url)
        self.page.wait_for("Module.frameTiming.firstFrameMs", 60)
        self.page.pump(0.3)
        self.clip = self.picture_clip()

    def rect(self, selector):
        return json.loads(self.page.evaluate(
            "JSON.stringify(document.querySelector(%s).getBoundingClientRect())" % json.dumps(selector)))

    def button(self, name):
        """Where the button is whose accessible name (its label, or else its text) is `name`."""
        return json.loads(self.page.evaluate(
            "JSON.stringify([...document.querySelectorAll('button')].find((b) => "
            "(b.getAttribute('aria-label') || b.textContent.trim()) === %s).getBoundingClientRect())"
            % json.dumps(name)))

    def picture_clip(self):
        r = self.rect("#canvas")
        return r["x"], r["y"], r["width"], r["height"]

    def state(self):
        return self.page.evaluate("Module.gameState()")

    def steering(self):
        return self.page.evaluate("Module._zarvolithSteering()")

    def finger_on(self, fingers):
        """Puts fingers {id: label or (x, y)} down on the named buttons or at those points."""
        self.page.touch({i: centre(self.button(where)) if isinstance(where, str) else where
                         for i, where in fingers.items()})
        self.page.pump(0.1)

    def tap_picture(self):
        x, y, w, h = self.clip
        self.page.tap(x + w / 2, y + h / 2)
        self.page.pump(0.5)

    # The checks.

    def layout(self, name, width, height):
        self.open(width, height)
        rects = {label: self.button(label) for label in ("Left", "Right", "Try again", "Quit", "Full screen")}
        rects["controls line"] = self.rect("#hint")
        picture = self.rect("#canvas")
        off = [label for label, r in rects.items() if not inside(r, width, height)]
        fits = self.page.evaluate("document.documentElement.scrollWidth <= innerWidth && "
                                  "document.documentElement.scrollHeight <= innerHeight")
        self.check("%s %dx%d: the whole picture and every control are on screen, nothing scrolls" %
                   (name, width, height), inside(picture, width, height) and not off and fits and
                   abs(picture["width"] / picture["height"] - 4 / 3) < 0.01,
                   "picture %.0fx%.0f at %.0f,%.0f; off screen: %s" %
                   (picture["width"], picture["height"], picture["x"], picture["y"], off or "none"))
        pads = [rects[label] for label in ("Left", "Right", "Try again", "Quit")]
        middle = dict(picture, x=picture["x"] + picture["width"] / 4, width=picture["width"] / 2)
        clear = (all(r["y"] >= picture["y"] + picture["height"] - 0.5 for r in pads) if name == "portrait"
                 else not any(overlap(r, middle) for r in pads))
        self.check("%s: the buttons are a thumb's size, apart, and %s" %
                   (name, "below the picture" if name == "portrait" else "clear of the picture's middle"),
                   clear and all(min(r["width"], r["height"]) >= THUMB_PX for r in pads) and
                   not any(overlap(a, b) for i, a in enumerate(pads) for b in pads[i + 1:]),
                   ", ".join("%.0fx%.0f at %.0f,%.0f" % (r["width"], r["height"], r["x"], r["y"]) for r in pads))

    def touch_play(self):
        """Taps through the title and the instructions and plays level 1 on the buttons."""
        self.open(*PHONES["landscape"])
        self.finger_on({0: "Left"})
        self.finger_on({})
        self.page.pump(0.3)
        self.check("a touch on a steer button is no click: the title stays", self.state() == TITLE,
                   "state %s" % self.state())
        self.tap_picture()
        self.shows("a tap on the picture shows the instructions", "instructions.png", "titlescreen.png")
        self.check("the music plays after the first tap", self.page.wait_for("Module.musicPlaying()", 5) is True)
        self.tap_picture()
        self.shows("a second tap starts level 1", "level1bg.png", "level2bg.png")
        labels = {"R": "Right", "L": "Left"}
        held = {}

        def hold(letter, down):
            if down:
                held[1] = labels[letter]
            else:
                held.pop(1, None)
            self.page.touch({i: centre(self.button(label)) for i, label in held.items()})
        self.page.pump(0.2)
        self.reaches_level_2("level 1's route played on the touch buttons reaches level 2", self.route(), hold)

    def fingers(self):
        """In level 2: fingers together, sliding off and cancelled, read from the game's steering."""
        picture_middle = centre(self.rect("#canvas"))
        hint = centre(self.rect("#hint"))
        self.page.evaluate("window.gameKeys = []")
        self.finger_on({1: "Right"})
        right = self.page.wait_for("Module._zarvolithSteering() === %d" % RIGHT, 2)
        self.finger_on({1: "Right", 2: "Try again"})
        self.finger_on({1: "Right"})
        still = self.steering()
        self.finger_on({1: "Right", 2: "Left"})
        left = self.page.wait_for("Module._zarvolithSteering() === %d" % LEFT, 2)
        self.finger_on({1: "Right"})
        keys = self.page.evaluate("window.gameKeys.join(' ')")
        self.check("a held Right with a tap on Try again sends the two keys; Left with it steers left",
                   right and still == RIGHT and left and
                   keys == "+ArrowRight +ArrowUp -ArrowUp +ArrowLeft -ArrowLeft", keys)
        self.finger_on({1: hint})
        slid_off = self.page.wait_for("Module._zarvolithSteering() === 0", 2)
        self.finger_on({1: "Right"})
        back = self.page.wait_for("Module._zarvolithSteering() === %d" % RIGHT, 2)
        self.finger_on({1: picture_middle})
        over_picture = self.page.wait_for("Module._zarvolithSteering() === 0", 2)
        self.check("a finger sliding off a button lets go of it, and sliding back on holds it again",
                   slid_off and back and over_picture and self.state() != 4)
        self.finger_on({})
        self.finger_on({1: "Left", 2: "Try again"})
        self.page.send("Input.dispatchTouchEvent", type="touchCancel", touchPoints=[])
        self.page.fingers = {}
        self.page.pump(0.2)
        self.check("a cancelled touch lets go of every key it held",
                   self.page.wait_for("Module._zarvolithSteering() === 0", 2) and
                   self.page.evaluate("window.gameKeys.slice(-2).sort().join(' ')") == "-ArrowLeft -ArrowUp",
                   self.page.evaluate("window.gameKeys.slice(-4).join(' ')"))

    def no_menu_no_zoom(self):
        """Long presses and double taps, by emulated touch; headless Chromium raises neither its
        long-press menu nor its double-tap zoom for them, so the page is also asked whether it
        cancels the menu a long press raises and whether it lets the browser pan or zoom."""
        places = {"picture": "#canvas", "Left": '[aria-label="Left"]', "controls line": "#hint"}
        where = {name: centre(self.rect(selector)) for name, selector in places.items() if name != "picture"}
        for at in where.values():
            self.page.touch({0: at})
            self.page.pump(1.2)
            self.page.touch({})
            self.page.pump(0.2)
            for _ in range(2):
                self.page.tap(*at, hold=0.03)
                self.page.pump(0.08)
        self.page.pump(0.5)
        menus, scale, selected = json.loads(self.page.evaluate(
            "JSON.stringify([window.openMenus, visualViewport.scale, String(getSelection())])"))
        declared = json.loads(self.page.evaluate(
            "JSON.stringify(Object.fromEntries(Object.entries(%s).map(([name, selector]) => {"
            "  const element = document.querySelector(selector);"
            "  const menu = new MouseEvent('contextmenu', { bubbles: true, cancelable: true });"
            "  element.dispatchEvent(menu);"
            "  let touch = 'auto';"  # what the browser may do is what the element and all it sits in allow
            "  for (let e = element; e; e = e.parentElement)"
            "    if (getComputedStyle(e).touchAction === 'none') touch = 'none';"
            "  return [name, [menu.defaultPrevented, touch, getComputedStyle(element).userSelect]]; })))"
            % json.dumps(places)))
        wrong = {name: got for name, got in declared.items() if got != [True, "none", "none"]}
        self.check("a long press shows no menu and selects nothing; a double tap does not zoom",
                   menus == 0 and scale == 1 and not selected and not wrong,
                   "menus %d, scale %.2f, selected %r; menu cancelled, touch-action, user-select: %s" %
                   (menus, scale, selected, wrong or "all right"))

    def hidden_page(self):
        self.finger_on({1: "Right"})
        held = self.page.wait_for("Module._zarvolithSteering() === %d" % RIGHT, 2)
        self.page.hide()
        self.page.pump(0.5)
        hidden = json.loads(self.page.evaluate(
            "JSON.stringify([document.hidden, Module.SDL2.audioContext.state, Module._zarvolithSteering()])"))
        self.page.show()  # a hidden tab takes no input: the finger comes up once it is shown
        self.page.touch({})
        shown = self.page.wait_for("!document.hidden && Module.musicPlaying()", 5)
        self.check("a hidden page suspends its sound and lets go of held keys; shown, it plays on",
                   held and hidden == [True, "suspended", 0] and shown is True, "hidden: %s" % hidden)

    def full_screen(self):
        before = self.state()
        self.page.tap(*centre(self.button("Full screen")))
        entered = self.page.wait_for("!!document.fullscreenElement && document.getElementById('fullscreen')"
                                     ".getAttribute('aria-pressed') === 'true'", 2)
        self.page.pump(0.5)
        says = self.page.evaluate("document.getElementById('hint').textContent")
        self.page.key("Escape", True)
        self.page.key("Escape", False)
        self.page.pump(0.8)
        left, ended = json.loads(self.page.evaluate(
            "JSON.stringify([!document.fullscreenElement, !document.getElementById('ended').hidden])"))
        self.check("the full-screen button enters full screen, the line says how to quit there, and "
                   "Escape leaves it without ending the game",
                   entered and "full screen" in says and left and not ended and self.state() in (before, LOST),
                   "entered %s, left %s, ended %s, says %r" % (entered, left, ended, says))
        self.page.tap(*centre(self.button("Full screen")))
        again = self.page.wait_for("!!document.fullscreenElement", 2)
        self.page.pump(0.5)
        self.page.tap(*centre(self.button("Full screen")))
        left_again = self.page.wait_for("!document.fullscreenElement", 2)
        self.check("the button enters full screen again and leaves it",
                   again and left_again and self.page.evaluate("document.getElementById('ended').hidden"),
                   "entered %s, left %s" % (again, left_again))

    def large_window(self):
        self.open(*DESKTOP, mobile=False)
        _, _, w, h = self.clip
        self.check("a 1920x1080 window shows the picture at least 1380x1035, at 4:3, with no touch buttons",
                   w >= 1380 and h >= 1035 and abs(w / h - 4 / 3) < 0.01 and
                   self.page.evaluate("getComputedStyle(document.getElementById('pad')).display") == "none",
                   "%.0fx%.0f" % (w, h))

    def set_pad(self, pressed, stick=0.0, index=0):
        self.page.evaluate("setPad(%d, %s, %f)" % (index, json.dumps(pressed), stick))
        self.page.pump(0.1)

    def gamepad(self):
        self.open(960, 720, mobile=False)
        for _ in range(2):
            self.set_pad([PAD_SOUTH])
            self.set_pad([])
            self.page.pump(0.4)
        self.shows("the pad's south button leaves the title and the instructions", "level1bg.png", "titlescreen.png")
        buttons = {"R": PAD_RIGHT, "L": PAD_LEFT}
        self.page.pump(0.2)
        self.reaches_level_2("level 1's route played on a gamepad's d-pad reaches level 2", self.route(),
                             lambda letter, down: self.set_pad([buttons[letter]] if down else []))
        steered = []
        for stick in (0.3, 0.9, -0.9):
            self.set_pad([], stick)
            steered.append(self.steering())
        self.set_pad([], 0.9, index=1)  # a second pad plugged in mid-game, holding right
        second = self.page.wait_for("Module._zarvolithSteering() === %d" % RIGHT, 2)
        self.page.evaluate("setPad(1, null)")
        unplugged = self.page.wait_for("Module._zarvolithSteering() === 0", 2)
        self.check("the stick steers past its dead zone; a pad plugged in works at once, unplugged lets go",
                   steered == [0, RIGHT, LEFT] and second and unplugged, "steering %s" % steered)
        self.set_pad([PAD_START])
        ended = self.page.wait_for("!document.getElementById('ended').hidden", 5)
        self.set_pad(None)
        self.check("the pad's Start quits", ended is True)

    def storm(self):
        """Random touches, taps, keys, pads, screens and hidden spells for STORM_SECONDS; never a
        quit, and never a tap on the picture once a level is played (a click after a crash quits)."""
        rng = random.Random(26)
        self.open(*PHONES["portrait"])
        self.page.console.clear()
        self.page.exceptions.clear()
        labels = ("Left", "Right", "Try again", "Full screen")
        fingers, keys, hidden = {}, set(), False
        deadline = time.monotonic() + STORM_SECONDS
        counts = {}
        while time.monotonic() < deadline:
            # A hidden tab takes no touches or keys: the test's input would wait for its next frame.
            action = rng.choice(["pad", "screen", "hide"] if hidden else
                                ["finger", "finger", "finger", "tap", "key", "key", "pad", "screen", "hide"])
            counts[action] = counts.get(action, 0) + 1
            if action == "finger":
                finger = rng.randrange(3)
                if finger in fingers and rng.random() < 0.4:
                    del fingers[finger]
                else:
                    at = centre(self.button(rng.choice(labels)))
                    fingers[finger] = (at[0] + rng.uniform(-40, 40), at[1] + rng.uniform(-40, 40))
                self.page.touch(fingers)
            elif action == "tap" and self.state() in (TITLE, INSTRUCTIONS) and not fingers:
                self.tap_picture()
            elif action == "key":
                key = rng.choice(["ArrowLeft", "ArrowRight", "ArrowUp"])
                down = key not in keys
                self.page.key(key, down)
                keys.symmetric_difference_update({key})
            elif action == "pad":
                self.page.evaluate("setPad(%d, %s, %f)" % (
                    rng.randrange(2), "null" if rng.random() < 0.2 else
                    json.dumps(rng.sample([PAD_LEFT, PAD_RIGHT, PAD_SOUTH], rng.randrange(3))),
                    rng.uniform(-1, 1)))
            elif action == "screen":
                self.page.emulate(*rng.choice(STORM_SCREENS), mobile=rng.random() < 0.7)
            elif action == "hide":
                self.page.show() if hidden else self.page.hide()
                hidden = not hidden
            self.page.pump(rng.uniform(0.01, 0.08))
        # The tab is shown first (a hidden one takes no input), then everything lets go, and the
        # screen is a phone's again.
        if hidden:
            self.page.show()
        self.page.touch({})
        for key in keys:
            self.page.key(key, False)
        self.page.evaluate("setPad(0, null); setPad(1, null); document.fullscreenElement && document.exitFullscreen()")
        self.page.emulate(*PHONES["portrait"])
        self.page.pump(1.0)
        self.clip = self.picture_clip()
        self.console_is_clean()
        self.check("after the storm (%s) the game has not ended" %
                   ", ".join("%d %s" % (n, a) for a, n in sorted(counts.items())),
                   self.page.evaluate("document.getElementById('ended').hidden"))
        self.check("after the storm the game still answers the keys", self.answers_keys(),
                   "state %s" % self.state())

    def answers_keys(self):
        for _ in range(3):
            if self.state() in (TITLE, INSTRUCTIONS):
                self.tap_picture()
        if self.page.wait_for("Module.gameState() === %d || Module.gameState() === %d" % (PLAYING, LOST), 5) and \
                self.state() == LOST:
            self.page.key("ArrowUp", True)
            self.page.key("ArrowUp", False)
        if not self.page.wait_for("Module.gameState() === %d" % PLAYING, 5):
            return False
        answers = []
        for key, steering in (("ArrowRight", RIGHT), ("ArrowLeft", LEFT)):
            self.page.key(key, True)
            answers.append(bool(self.page.wait_for("Module._zarvolithSteering() === %d" % steering, 2)))
            self.page.key(key, False)
            answers.append(bool(self.page.wait_for("Module._zarvolithSteering() === 0", 2)))
        return all(answers)

    def stopped(self):
        """The page's stop takes its controls away: a touch button, a pad, the full-screen button
        and a hidden tab then send the game nothing and leave its sound alone."""
        self.page.evaluate("import('./page.js').then((page) => page.stop())")
        self.page.evaluate("window.gameKeys = []")
        self.finger_on({0: "Right"})
        self.set_pad([PAD_LEFT])
        self.page.touch({})
        self.page.tap(*centre(self.button("Full screen")))
        self.page.hide()
        self.page.pump(0.5)
        sound = self.page.evaluate("Module.SDL2.audioContext.state")
        self.page.show()
        self.set_pad(None)
        after = json.loads(self.page.evaluate("JSON.stringify([window.gameKeys.join(' '), "
                                              "!!document.fullscreenElement, document.querySelectorAll('#pad .held').length])"))
        self.check("once the page is stopped, its buttons, a pad, full screen and a hidden tab do nothing",
                   after == ["", False, 0] and sound == "running",
                   "keys %r, full screen %s, buttons held %d; sound %s" % (after[0], after[1], after[2], sound))

    def run(self):
        for name, (width, height) in PHONES.items():
            self.layout(name, width, height)
        self.touch_play()
        self.fingers()
        self.no_menu_no_zoom()
        self.hidden_page()
        self.full_screen()
        self.console_is_clean()
        self.large_window()
        self.gamepad()
        self.storm()
        self.stopped()


def main():
    return run_checks(TouchTest(*sys.argv[1:4]), "touch")


if __name__ == "__main__":
    sys.exit(main())
