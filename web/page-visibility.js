// A hidden page, or a window left with a key down, never hears the key come up: every source lets
// go. A hidden page also pauses its sound. The game itself stops with the page's frames and goes
// on where it was when they come back.

// Returns stop().
//   held      the HeldKeys all sources share
//   onHidden, onShown   the page pauses and resumes its sound
export function start({ held, onHidden, onShown }) {
  const controller = new AbortController();
  const { signal } = controller;
  window.addEventListener('blur', () => held.releaseEveryone(), { signal });
  document.addEventListener('visibilitychange', () => {
    if (document.hidden) {
      held.releaseEveryone();
      onHidden();
    } else {
      onShown();
    }
  }, { signal });
  return () => controller.abort();
}
