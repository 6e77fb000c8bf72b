// The game's sound as the page handles it: SDL plays through a Web Audio context, which browsers
// start only once a person has acted, which a hidden page pauses, and which the end of the game
// closes for good.

let ended = false;
let beforeHiding = null;  // the context's state when the page was hidden

// SDL's context, once the game has opened it.
function audioContext() {
  const sdl = Module.SDL2;
  return sdl && sdl.audioContext;
}

// Browsers start sound only once a person has acted: the first click, tap or key resumes it.
function resume() {
  const audio = audioContext();
  const allowed = !navigator.userActivation || navigator.userActivation.hasBeenActive;
  if (!ended && allowed && audio && audio.state === 'suspended') audio.resume();
}

// Whether the music is heard now (the page's figures and tests ask).
export function musicPlaying() {
  const audio = audioContext();
  return !!(audio && audio.state === 'running' &&
            Module._zarvolithMusicPlaying && Module._zarvolithMusicPlaying());
}

// A hidden page is silent; shown again, it plays on if it was playing.
export function pause() {
  const audio = audioContext();
  beforeHiding = audio && audio.state;
  if (!ended && beforeHiding === 'running') audio.suspend();
}

export function resumeAfterHiding() {
  if (beforeHiding === 'running') resume();
  beforeHiding = null;
}

// The key or click that ended the game is still on its way to the page's own listeners: the
// sound is closed for good, so nothing can start it again.
export function close() {
  ended = true;
  const audio = audioContext();
  if (audio) audio.close();
}

// Listens for the player's first act. Returns stop().
export function start(canvas) {
  const controller = new AbortController();
  const { signal } = controller;
  canvas.addEventListener('mousedown', resume, { signal });
  // A touch starts sound only when it ends: only then does the browser count it as an act.
  window.addEventListener('touchend', resume, { signal });
  window.addEventListener('keydown', resume, { signal });
  // SDL asks a context the browser has not yet let start to resume, and that request waits for
  // the player's first act. When that act is Escape, closing the sound fails the request: that
  // failure is the sound ending as it should, not an error.
  window.addEventListener('unhandledrejection', (event) => {
    if (ended && event.reason && event.reason.name === 'InvalidStateError') event.preventDefault();
  }, { signal });
  return () => controller.abort();
}
