// The keys the page's controls send to the game, as the events a keyboard makes, and who holds
// which. Every source that holds a key (the keyboard, a finger, a pad) is counted, so the game
// sees one key press when the first source presses it and one release when the last lets go.

export const KEYS = {
  left: { key: 'ArrowLeft', keyCode: 37 },
  right: { key: 'ArrowRight', keyCode: 39 },
  up: { key: 'ArrowUp', keyCode: 38 },
  quit: { key: 'Escape', keyCode: 27 },
};
export const NAME_OF_KEY = Object.fromEntries(Object.entries(KEYS).map(([name, { key }]) => [key, name]));

// The game's mouse click, as a press and release at the middle of the picture.
export function clickPicture(canvas) {
  const rect = canvas.getBoundingClientRect();
  const at = { clientX: rect.left + rect.width / 2, clientY: rect.top + rect.height / 2, button: 0,
               bubbles: true, cancelable: true };
  canvas.dispatchEvent(new MouseEvent('mousedown', at));
  canvas.dispatchEvent(new MouseEvent('mouseup', at));
}

// Who holds which key, and the events that tell the game. Sources that keep their own record of
// what they hold hear 'letgo' when every key is let go at once.
export class HeldKeys extends EventTarget {
  constructor() {
    super();
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

  // Every source lets go of every key, and forgets what it held.
  releaseEveryone() {
    this.dispatchEvent(new Event('letgo'));
    for (const [name, holders] of this.holders)
      if (holders.size) {
        holders.clear();
        HeldKeys.send('keyup', name);
      }
  }
}
