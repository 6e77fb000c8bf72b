// Gamepads, read every animation frame while one is connected, in the standard mapping: each pad
// is its own source of keys. The d-pad or the left stick steers, Start quits, and the south button
// clicks on the title screens, tries again after a crash (a click there would quit), and presses
// the end's button once the game is over.
import { STATE } from './game-facts.js';
import { clickPicture } from './held-keys.js';

// Standard gamepad mapping: south face button, Start/Options, d-pad left and right.
const PAD = { south: 0, start: 9, left: 14, right: 15 };
const STICK_DEAD_ZONE = 0.5;
// The states in which a click moves on.
const CLICK_STATES = [STATE.title, STATE.instructions];

const pressed = (gamepad, index) => {
  const button = gamepad.buttons[index];
  return !!button && (button.pressed || button.value > 0.5);
};

// The logical buttons a pad holds now.
function buttonsOf(gamepad) {
  const stick = gamepad.axes.length ? gamepad.axes[0] : 0;
  const now = new Set();
  if (pressed(gamepad, PAD.left) || stick < -STICK_DEAD_ZONE) now.add('left');
  if (pressed(gamepad, PAD.right) || stick > STICK_DEAD_ZONE) now.add('right');
  if (pressed(gamepad, PAD.south)) now.add('south');
  if (pressed(gamepad, PAD.start)) now.add('quit');
  return now;
}

function connectedPads() {
  const pads = (navigator.getGamepads && navigator.getGamepads()) || [];
  return [...pads].filter((gamepad) => gamepad && gamepad.connected);
}

// The south button presses the end's focused button, or else its first.
function pressEndButton(endPanel) {
  const focused = document.activeElement;
  const target = focused && endPanel.contains(focused) && focused.matches('button, a[href]')
    ? focused : endPanel.querySelector('button');
  if (target) target.click();
}

// Returns stop(), which also lets go of what the pads hold.
//   canvas     the game's canvas, clicked by the south button on the title screens
//   held       the HeldKeys all sources share
//   hint       the line under the picture, told when a pad is used
//   gameState  () => the game's state, or null before it runs
//   isOver     () => whether the game is over
//   endPanel   the element offered when the game is over
export function start({ canvas, held, hint, gameState, isOver, endPanel }) {
  const controller = new AbortController();
  const padButtons = new Map();  // pad index -> the set of its logical buttons held last frame
  let frame = 0;
  const south = (source) => {
    if (isOver()) pressEndButton(endPanel);
    else if (CLICK_STATES.includes(gameState())) clickPicture(canvas);
    else held.pressAndSend(source, 'up');
  };
  const readPad = (gamepad) => {
    const source = 'pad' + gamepad.index;
    const now = buttonsOf(gamepad);
    const before = padButtons.get(gamepad.index) || new Set();
    padButtons.set(gamepad.index, now);
    if (now.size) hint.use('pad');
    for (const name of before)
      if (!now.has(name)) held.releaseAndSend(source, name === 'south' ? 'up' : name);
    for (const name of now) {
      if (before.has(name)) continue;
      if (name === 'south') south(source);
      else held.pressAndSend(source, name);
    }
  };
  const forgetPad = (index) => {
    held.releaseAll('pad' + index);
    padButtons.delete(index);
  };
  const poll = () => {
    const pads = connectedPads();
    const seen = new Set(pads.map((gamepad) => gamepad.index));
    for (const gamepad of pads) readPad(gamepad);
    for (const index of [...padButtons.keys()]) if (!seen.has(index)) forgetPad(index);
    frame = pads.length ? requestAnimationFrame(poll) : 0;
  };
  const startPolling = () => frame || poll();
  // Browsers announce a pad once it is plugged in, or once a button is pressed on one that was.
  window.addEventListener('gamepadconnected', startPolling, { signal: controller.signal });
  window.addEventListener('gamepaddisconnected', (event) => forgetPad(event.gamepad.index), { signal: controller.signal });
  held.addEventListener('letgo', () => padButtons.clear(), { signal: controller.signal });
  startPolling();
  return () => {
    controller.abort();
    cancelAnimationFrame(frame);
    frame = 0;
    for (const index of [...padButtons.keys()]) forgetPad(index);
  };
}
