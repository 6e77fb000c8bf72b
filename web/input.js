// The page's own controls, turned into the key and mouse events the game already takes from a
// keyboard and a mouse: touch buttons, a gamepad, full screen, and a page that is hidden.
// Every source that holds a key (the keyboard, a finger, a pad) is counted, so the game sees one
// key press when the first source presses it and one release when the last lets go.

const KEYS = {
  left: { key: 'ArrowLeft', keyCode: 37 },
  right: { key: 'ArrowRight', keyCode: 39 },
  up: { key: 'ArrowUp', keyCode: 38 },
  quit: { key: 'Escape', keyCode: 27 },
};
const NAME_OF_KEY = Object.fromEntries(Object.entries(KEYS).map(([name, { key }]) => [key, name]));

// The game's states, as the game numbers them (game/GameState.h): the page's one copy.
export const STATE = { title: 0, instructions: 1, playing: 2, levelExit: 3, escaped: 4, lost: 5 };
// The states in which a click moves on (title and instructions); elsewhere the pad's south
// button is "try again", since a click after a crash quits.
const CLICK_STATES = [STATE.title, STATE.instructions];
// Standard gamepad mapping: south face button, Start/Options, d-pad left and right.
const PAD = { south: 0, start: 9, left: 14, right: 15 };
const STICK_DEAD_ZONE = 0.5;
// After leaving full screen a browser may still hand the page the Escape that left it.
const FULLSCREEN_ESCAPE_GRACE_MS = 500;

// The line under the picture, for each way of playing: how to leave the title screen, how to
// start a level that waits for the player (the only words while it waits), and the controls.
const HINTS = {
  keys: { begin: 'Click to begin.',
          wait: 'Press an arrow key or click the picture to start: the glider waits at its start.',
          controls: 'Left and Right arrows steer, Up tries a level again after a crash, Esc quits.' },
  touch: { begin: 'Tap the picture to begin.',
           wait: 'Tap the picture, ◀ or ▶ to start: the glider waits at its start.',
           controls: 'Hold ◀ ▶ to steer, ↻ tries again after a crash, ✕ quits.' },
  pad: { begin: 'Press A to begin.',
         wait: 'Press A or the d-pad to start: the glider waits at its start.',
         controls: 'The d-pad or the left stick steers, A tries again after a crash, Start quits.' },
};
const FULLSCREEN_HINT = 'In full screen Esc only leaves full screen: press it again, or ✕, to quit.';

// The game's mouse click, as a press and release at the middle of the picture.
export function clickPicture(canvas) {
  const rect = canvas.getBoundingClientRect();
  const at = { clientX: rect.left + rect.width / 2, clientY: rect.top + rect.height / 2, button: 0,
               bubbles: true, cancelable: true };
  canvas.dispatchEvent(new MouseEvent('mousedown', at));
  canvas.dispatchEvent(new MouseEvent('mouseup', at));
}

// Who holds which key, and the events that tell the game.
class HeldKeys {
  constructor() {
    this.holders = new Map(Object.keys(KEYS).map((name) => [name, new Set()]));
  }

  static send(type, name) {
    const { key, keyCode } = KEYS[name];
    window.dispatchEvent(new KeyboardEvent(type, { key, code: key, keyCode, which: keyCode,
                                                   bubbles: true, cancelable: true }));
  }

  // Returns whether the game had to be told (no other source held the key).
  press(source, name) {
    const holders = this.holders.get(name);
    const first = holders.size === 0;
    holders.add(source);
    return first;
  }

  release(source, name) {
    const holders = this.holders.get(name);
    return holders.delete(source) && holders.size === 0;
  }

  // For the page's own sources, which send their events themselves.
  pressAndSend(source, name) {
    if (this.press(source, name)) HeldKeys.send('keydown', name);
  }

  releaseAndSend(source, name) {
    if (this.release(source, name)) HeldKeys.send('keyup', name);
  }

  releaseAll(source) {
    for (const [name, holders] of this.holders)
      if (holders.has(source)) this.releaseAndSend(source, name);
  }

  releaseEveryone() {
    for (const [name, holders] of this.holders)
      if (holders.size) {
        holders.clear();
        HeldKeys.send('keyup', name);
      }
  }
}

// Starts listening. Must run before the game's script: the keyboard filter has to see each key
// event before the game's toolkit does, which listens on the window too.
//   canvas      the game's canvas
//   pad         the element holding the touch buttons (button[data-key="left|right|up|quit"])
//   fullscreen  the full-screen button
//   hint        the element that says how to play
//   gameState   () => the game's state, or null before it runs
//   endPanel    the element offered when the game is over, whose first button plays again
//   onHidden, onShown   the page pauses and resumes its sound
// Returns { show(phase, line) }: the page says where the game is, and the line follows:
// 'begin' (the title screens), 'wait' (a level waits for the player's first act), 'play', or
// 'over' with the line that says how the game ended.
export function startInput({ canvas, pad, fullscreen, hint, gameState, endPanel, onHidden, onShown }) {
  const held = new HeldKeys();
  const root = document.documentElement;
  let mode = 'keys';
  let phase = 'begin';
  let endLine = '';
  let leftFullscreenAt = -Infinity;

  function describe() {
    if (phase === 'over') {
      hint.textContent = endLine;
      return;
    }
    // While a level waits, the line says only what starts it: kept to one line, the picture
    // above it keeps its size when play begins.
    const { begin, wait, controls } = HINTS[mode];
    const parts = phase === 'wait' ? [wait] : [phase === 'begin' ? begin : '', controls];
    if (document.fullscreenElement) parts.push(FULLSCREEN_HINT);
    hint.textContent = parts.filter(Boolean).join(' ');
  }

  function show(next, line = '') {
    phase = next;
    endLine = line;
    describe();
  }

  function useMode(next) {
    if (next === 'touch') root.classList.add('touch');
    if (mode === next) return;
    mode = next;
    describe();
  }

  // The keyboard: a press of a key that another source already holds, or a release while
  // another still holds it, would tell the game twice, so it stops here.
  function inFullscreenEscape(event) {
    return event.key === 'Escape' &&
      (document.fullscreenElement || performance.now() - leftFullscreenAt < FULLSCREEN_ESCAPE_GRACE_MS);
  }
  // Once the game is over, Enter, Space and Tab work the end's buttons: the game's toolkit would
  // take them (the won picture still runs), and the game has no use for them.
  function forTheEndButtons(event) {
    if (phase !== 'over' || NAME_OF_KEY[event.key]) return false;
    event.stopImmediatePropagation();
    return true;
  }
  window.addEventListener('keydown', (event) => {
    if (!event.isTrusted || forTheEndButtons(event)) return;
    if (inFullscreenEscape(event)) {
      event.stopImmediatePropagation();
      event.preventDefault();
      if (document.fullscreenElement) document.exitFullscreen();
      return;
    }
    const name = NAME_OF_KEY[event.key];
    if (!name || event.repeat) return;
    useMode('keys');
    if (!held.press('keyboard', name)) event.stopImmediatePropagation();
  }, true);
  window.addEventListener('keyup', (event) => {
    if (!event.isTrusted || forTheEndButtons(event)) return;
    const name = NAME_OF_KEY[event.key];
    if (!name) return;
    if (!held.release('keyboard', name)) event.stopImmediatePropagation();
  }, true);

  // Touch buttons: each finger holds the button under it, and follows it as it slides.
  const fingers = new Map();  // pointerId -> key name, or null off the buttons
  function buttonAt(x, y) {
    const element = document.elementFromPoint(x, y);
    const button = element && element.closest('button[data-key]');
    return button && pad.contains(button) ? button.dataset.key : null;
  }
  function moveFinger(id, name) {
    const before = fingers.get(id);
    if (before === name) return;
    fingers.set(id, name);
    if (before) held.releaseAndSend('finger' + id, before);
    if (name) held.pressAndSend('finger' + id, name);
    showFingers();
  }
  function showFingers() {
    const touched = new Set(fingers.values());
    for (const button of pad.querySelectorAll('button[data-key]'))
      button.classList.toggle('held', touched.has(button.dataset.key));
  }
  function liftFinger(event) {
    if (!fingers.has(event.pointerId)) return;
    moveFinger(event.pointerId, null);
    fingers.delete(event.pointerId);
  }
  pad.addEventListener('pointerdown', (event) => {
    const name = buttonAt(event.clientX, event.clientY);
    if (!name) return;
    event.preventDefault();
    if (event.pointerType === 'touch') useMode('touch');
    moveFinger(event.pointerId, name);
  });
  // A touch stays captured by the button it began on, so the finger is followed by position.
  window.addEventListener('pointermove', (event) => {
    if (fingers.has(event.pointerId)) moveFinger(event.pointerId, buttonAt(event.clientX, event.clientY));
  });
  for (const type of ['pointerup', 'pointercancel']) window.addEventListener(type, liftFinger);
  // No emulated mouse events from the buttons, and no long-press menu but a link's.
  pad.addEventListener('touchstart', (event) => event.cancelable && event.preventDefault(), { passive: false });
  document.addEventListener('contextmenu', (event) => {
    if (!event.target.closest || !event.target.closest('a[href]')) event.preventDefault();
  });

  // A touch screen shows its buttons from the start where the browser says so, else from the
  // first touch.
  if (matchMedia('(pointer: coarse)').matches) useMode('touch');
  window.addEventListener('touchstart', () => useMode('touch'), { capture: true, passive: true });

  // Gamepads, read every frame while one is connected: each pad is its own source of keys.
  const padButtons = new Map();  // pad index -> the set of its logical buttons held last frame
  let polling = false;
  function pressed(gamepad, index) {
    const button = gamepad.buttons[index];
    return !!button && (button.pressed || button.value > 0.5);
  }
  function readPad(gamepad) {
    const source = 'pad' + gamepad.index;
    const stick = gamepad.axes.length ? gamepad.axes[0] : 0;
    const now = new Set();
    if (pressed(gamepad, PAD.left) || stick < -STICK_DEAD_ZONE) now.add('left');
    if (pressed(gamepad, PAD.right) || stick > STICK_DEAD_ZONE) now.add('right');
    if (pressed(gamepad, PAD.south)) now.add('south');
    if (pressed(gamepad, PAD.start)) now.add('quit');
    const before = padButtons.get(gamepad.index) || new Set();
    padButtons.set(gamepad.index, now);
    if (now.size) useMode('pad');
    for (const name of before)
      if (!now.has(name)) held.releaseAndSend(source, name === 'south' ? 'up' : name);
    for (const name of now) {
      if (before.has(name)) continue;
      if (name !== 'south') held.pressAndSend(source, name);
      else if (phase === 'over') pressEndButton();
      else if (CLICK_STATES.includes(gameState())) clickPicture(canvas);
      else held.pressAndSend(source, 'up');
    }
  }
  // The pad's south button presses the end's focused button, or else its first.
  function pressEndButton() {
    const focused = document.activeElement;
    const target = focused && endPanel.contains(focused) && focused.matches('button, a[href]')
      ? focused : endPanel.querySelector('button');
    if (target) target.click();
  }
  function forgetPad(index) {
    held.releaseAll('pad' + index);
    padButtons.delete(index);
  }
  function connectedPads() {
    const pads = (navigator.getGamepads && navigator.getGamepads()) || [];
    return [...pads].filter((gamepad) => gamepad && gamepad.connected);
  }
  function pollPads() {
    const pads = connectedPads();
    const seen = new Set(pads.map((gamepad) => gamepad.index));
    for (const gamepad of pads) readPad(gamepad);
    for (const index of [...padButtons.keys()]) if (!seen.has(index)) forgetPad(index);
    polling = pads.length > 0;
    if (polling) requestAnimationFrame(pollPads);
  }
  function startPolling() {
    if (!polling) pollPads();
  }
  // Browsers announce a pad once it is plugged in, or once a button is pressed on one that was.
  window.addEventListener('gamepadconnected', startPolling);
  window.addEventListener('gamepaddisconnected', (event) => forgetPad(event.gamepad.index));
  startPolling();

  // Full screen: the button enters and leaves it; the Escape that leaves it does nothing else.
  const canFullscreen = document.fullscreenEnabled && root.requestFullscreen;
  fullscreen.hidden = !canFullscreen;
  fullscreen.addEventListener('click', () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else root.requestFullscreen().catch(() => {});
    canvas.focus();
  });
  document.addEventListener('fullscreenchange', () => {
    fullscreen.setAttribute('aria-pressed', document.fullscreenElement ? 'true' : 'false');
    if (!document.fullscreenElement) leftFullscreenAt = performance.now();
    describe();
  });

  // A hidden page or a window left with a key down never hears the key come up: every source
  // lets go. The game itself stops with the page's frames and goes on when they come back.
  function releaseEverything() {
    fingers.clear();
    showFingers();
    padButtons.clear();
    held.releaseEveryone();
  }
  window.addEventListener('blur', releaseEverything);
  document.addEventListener('visibilitychange', () => {
    if (document.hidden) {
      releaseEverything();
      onHidden();
    } else {
      onShown();
    }
  });

  describe();
  return { show };
}
