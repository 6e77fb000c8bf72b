// The line under the picture: how to play, in the words of the way the player plays (keys, touch
// or a pad), for where the game is; once it is over, how it ended.

// How to leave the title screen, how to start a level that waits for the player (the only words
// while it waits), and the controls.
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

export class Hint {
  constructor(element) {
    this.element = element;
    this.mode = 'keys';   // 'keys', 'touch' or 'pad'
    this.phase = 'begin';
    this.endLine = '';
    this.refresh();
  }

  // Where the game is: 'begin' (the title screens), 'wait' (a level waits for the player's first
  // act), 'play', 'making' with the line that says which level the game waits for, or 'over'
  // with the line that says how the game ended.
  show(phase, line = '') {
    this.phase = phase;
    this.endLine = line;
    this.refresh();
  }

  // The player has just used keys, touch or a pad.
  use(mode) {
    if (this.mode === mode) return;
    this.mode = mode;
    this.refresh();
  }

  refresh() {
    // The page's own controls follow the phase too (game.css).
    document.documentElement.dataset.phase = this.phase;
    if (this.phase === 'over' || this.phase === 'making') {
      this.element.textContent = this.endLine;
      return;
    }
    // While a level waits, the line says only what starts it: kept to one line, the picture
    // above it keeps its size when play begins.
    const { begin, wait, controls } = HINTS[this.mode];
    const parts = this.phase === 'wait' ? [wait] : [this.phase === 'begin' ? begin : '', controls];
    if (document.fullscreenElement) parts.push(FULLSCREEN_HINT);
    this.element.textContent = parts.filter(Boolean).join(' ');
  }
}
