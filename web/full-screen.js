// Full screen, the Fullscreen API on the whole page: the button enters and leaves it, and the
// Escape that leaves it does nothing else.

// After leaving full screen a browser may still hand the page the Escape that left it.
const ESCAPE_GRACE_MS = 500;

// Starts before the keyboard's filter and the game's script, so that its Escape comes first.
// Returns stop().
//   button  the full-screen button; canvas  the game's canvas, focused after a press
//   hint    the line under the picture, which speaks of Esc while in full screen
export function start({ button, canvas, hint }) {
  const controller = new AbortController();
  const { signal } = controller;
  const root = document.documentElement;
  let leftAt = -Infinity;
  button.hidden = !(document.fullscreenEnabled && root.requestFullscreen);
  button.addEventListener('click', () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else root.requestFullscreen().catch(() => {});
    canvas.focus();
  }, { signal });
  document.addEventListener('fullscreenchange', () => {
    button.setAttribute('aria-pressed', document.fullscreenElement ? 'true' : 'false');
    if (!document.fullscreenElement) leftAt = performance.now();
    hint.refresh();
  }, { signal });
  window.addEventListener('keydown', (event) => {
    if (!event.isTrusted || event.key !== 'Escape') return;
    if (!document.fullscreenElement && performance.now() - leftAt >= ESCAPE_GRACE_MS) return;
    event.stopImmediatePropagation();
    event.preventDefault();
    if (document.fullscreenElement) document.exitFullscreen();
  }, { capture: true, signal });
  return () => controller.abort();
}
