// Emscripten's Module, the one global the game's script reads, with what the page gives it: the
// canvas, the progress line, the frame times and the questions the page's tests ask the game.
// Then the game's script itself.
import { musicPlaying } from './sound.js';

const progress = document.getElementById('progress');
const cover = document.getElementById('loading');

export const Module = {
  canvas: document.getElementById('canvas'),
  frameTiming: { firstFrameMs: null, count: 0, work: new Float64Array(8192), ends: new Float64Array(8192) },
  // Emscripten reports the download as "Downloading data... (done/total)", then an empty status.
  setStatus(text) {
    const m = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text);
    if (m) progress.textContent = 'Loading ' + Math.floor(100 * m[1] / m[2]) + '%';
    else if (!text) cover.hidden = true;
  },
  musicPlaying,
  gameState: () => (Module._zarvolithGameState ? Module._zarvolithGameState() : null),
  onAbort(what) {
    progress.textContent = 'The game stopped: ' + what;
    cover.hidden = false;
  },
};
window.Module = Module;

// Loads and starts the game: its script reads Module, fetches its data and runs main.
export function loadGame() {
  const script = document.createElement('script');
  script.src = 'zarvolith.js';
  document.body.appendChild(script);
}
