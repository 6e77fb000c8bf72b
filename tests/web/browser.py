"""Headless Chromium driving a page through the DevTools protocol, with the page served from a
folder on 127.0.0.1 by web/serve.py. Used by the browser test and the browser figures; real time throughout
(virtual time would stall the page's animation frames)."""
import base64
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import urllib.request

import websocket

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "web"))
from serve import SiteServer  # noqa: E402  (re-exported for the test and the figures)

CHROMIUM = os.environ.get("CHROMIUM", "/usr/bin/chromium")


class Page:
    """One Chromium tab. Console messages and uncaught exceptions are kept in `console` and
    `exceptions` as they arrive."""

    def __init__(self, width=1280, height=900):
        self.profile = tempfile.mkdtemp(prefix="zarvolith-chromium-")
        self.process = subprocess.Popen(
            [CHROMIUM, "--headless", "--no-sandbox", "--no-first-run", "--disable-quic",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--disable-extensions", "--mute-audio", "--use-angle=swiftshader",
             "--enable-unsafe-swiftshader", "--remote-debugging-port=0",
             "--window-size=%d,%d" % (width, height), "--user-data-dir=" + self.profile,
             "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        try:
            port = self._debugging_port()
            targets = json.load(urllib.request.urlopen("http://127.0.0.1:%d/json/list" % port))
            page = next(t for t in targets if t["type"] == "page")
            self.ws = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=60,
                                                  suppress_origin=True)
        except Exception:
            self.close()
            raise
        self.next_id = 0
        self.console = []
        self.exceptions = []
        self.loaded = False
        for domain in ("Page", "Runtime", "Log"):
            self.send(domain + ".enable")

    def _debugging_port(self):
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.time() + 30
        while time.time() < deadline:
            if self.process.poll() is not None:
                raise RuntimeError("chromium exited with status %d" % self.process.returncode)
            if os.path.exists(port_file):
                lines = open(port_file).read().split()
                if lines:
                    return int(lines[0])
            time.sleep(0.05)
        raise RuntimeError("chromium did not open its debugging port")

    def _note(self, message):
        method = message.get("method")
        params = message.get("params", {})
        if method == "Page.loadEventFired":
            self.loaded = True
        elif method == "Runtime.consoleAPICalled":
            text = " ".join(str(a.get("value", a.get("description", ""))) for a in params["args"])
            self.console.append((params["type"], text))
        elif method == "Log.entryAdded":
            entry = params["entry"]
            self.console.append((entry["level"], entry.get("text", "") + " " + entry.get("url", "")))
        elif method == "Runtime.exceptionThrown":
            details = params["exceptionDetails"]
            self.exceptions.append(details.get("exception", {}).get("description") or details["text"])

    def send(self, method, **params):
        self.next_id += 1
        wanted = self.next_id
        self.ws.send(json.dumps({"id": wanted, "method": method, "params": params}))
        while True:
            message = json.loads(self.ws.recv())
            if message.get("id") == wanted:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message.get("result", {})
            self._note(message)

    def pump(self, seconds):
        """Keeps reading events for a while: the page runs on in real time meanwhile."""
        deadline = time.time() + seconds
        while True:
            left = deadline - time.time()
            if left <= 0:
                return
            self.ws.settimeout(left)
            try:
                self._note(json.loads(self.ws.recv()))
            except websocket.WebSocketTimeoutException:
                return
            finally:
                self.ws.settimeout(60)

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError("evaluating %r: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def wait_for(self, expression, timeout):
        """Polls a JavaScript expression until it is truthy; returns its value or None."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            try:
                value = self.evaluate(expression)
            except RuntimeError as error:  # a page on its way to another has no context to ask
                if "navigated or closed" not in str(error) and "context" not in str(error):
                    raise
                value = None
            if value:
                return value
            self.pump(0.05)
        return None

    def navigate(self, url, timeout=60):
        """Opens url and returns once its load event has fired."""
        self.loaded = False
        self.send("Page.navigate", url=url)
        deadline = time.time() + timeout
        while not self.loaded and time.time() < deadline:
            self.pump(0.05)
        if not self.loaded:
            raise RuntimeError("%s did not load within %d s" % (url, timeout))

    def click(self, x, y):
        for kind in ("mousePressed", "mouseReleased"):
            self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)

    KEYS = {"ArrowLeft": 37, "ArrowUp": 38, "ArrowRight": 39, "Escape": 27, "Enter": 13}
    # Keys that also type a character: without it a focused button takes no Enter.
    TEXT = {"Enter": "\r"}

    def key(self, name, down):
        typed = {"text": self.TEXT[name]} if down and name in self.TEXT else {}
        self.send("Input.dispatchKeyEvent", type="keyDown" if down else "keyUp", key=name,
                  code=name, windowsVirtualKeyCode=self.KEYS[name], nativeVirtualKeyCode=self.KEYS[name],
                  **typed)

    def emulate(self, width, height, mobile=True, touch=True, scale=1):
        """Makes the tab a device of that size: a phone or tablet (mobile, with a touch screen)
        or a desktop window; a width above the height is landscape."""
        landscape = width > height
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=scale, mobile=mobile,
                  screenOrientation={"type": "landscapePrimary" if landscape else "portraitPrimary",
                                     "angle": 90 if landscape else 0})
        self.send("Emulation.setTouchEmulationEnabled", enabled=touch, maxTouchPoints=5)

    def touch(self, fingers):
        """Puts the fingers {id: (x, y)} on the screen, in place of the ones there before: a
        finger left out is lifted, a new one is put down, one that changed place moves. Chromium
        takes each event's points as the ones that end, move or begin."""
        before = getattr(self, "fingers", {})

        def points(ids, where):
            return [{"x": where[i][0], "y": where[i][1], "id": i} for i in sorted(ids)]
        lifted = set(before) - set(fingers)
        moved = {i for i in set(before) & set(fingers) if before[i] != fingers[i]}
        added = set(fingers) - set(before)
        for kind, ids, where in (("touchEnd", lifted, before), ("touchMove", moved, fingers),
                                 ("touchStart", added, fingers)):
            if ids:
                self.send("Input.dispatchTouchEvent", type=kind, touchPoints=points(ids, where))
        self.fingers = dict(fingers)

    def tap(self, x, y, hold=0.05):
        self.touch({0: (x, y)})
        self.pump(hold)
        self.touch({})

    def hide(self):
        """Hides the tab behind a new one, as switching tabs or locking a phone does."""
        self.cover = self.send("Target.createTarget", url="about:blank")["targetId"]

    def show(self):
        self.send("Target.closeTarget", targetId=self.cover)
        self.cover = None

    def screenshot(self, clip):
        """PNG bytes of the region clip = (x, y, width, height) in page pixels."""
        x, y, w, h = clip
        data = self.send("Page.captureScreenshot", format="png",
                         clip={"x": x, "y": y, "width": w, "height": h, "scale": 1})["data"]
        return base64.b64decode(data)

    def close(self):
        """Ends Chromium with all its helper processes (they share its session's group)."""
        try:
            if hasattr(self, "ws"):
                self.ws.close()
        finally:
            try:
                os.killpg(self.process.pid, signal.SIGTERM)
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                os.killpg(self.process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            shutil.rmtree(self.profile, ignore_errors=True)


def in_editor(expression):
    """An expression over `editor`, the state editor/editor.js exports, for Page.evaluate on the
    editor's page (the page's own module: a module is loaded once); null on another page."""
    return ("(location.pathname.endsWith('/editor.html') ? "
            "import('./editor/editor.js').then(({ editor }) => %s) : null)" % expression)


def run_checks(test, name):
    """Runs a test made of named checks (its `run`, `close` and list of `results`), prints the
    tally under `name` and returns the exit status: 1 when any check failed."""
    try:
        test.run()
    finally:
        test.close()
    passed = sum(test.results)
    failed = len(test.results) - passed
    print("%s: %d passed, %d failed" % (name, passed, failed))
    return 1 if failed else 0
