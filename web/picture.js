// The game's picture on the page: a click gives it the keyboard, and drawn at twice its size or
// more it is scaled by whole pixels; below that the smooth filter looks better than pixels of
// uneven widths.

// Returns stop().
export function start(canvas) {
  const controller = new AbortController();
  canvas.addEventListener('mousedown', () => canvas.focus(), { signal: controller.signal });
  const sizes = new ResizeObserver((entries) => {
    const box = entries[0].devicePixelContentBoxSize;
    const width = box ? box[0].inlineSize : entries[0].contentRect.width * devicePixelRatio;
    canvas.classList.toggle('sharp', width >= 2 * canvas.width);
  });
  sizes.observe(canvas);
  return () => {
    controller.abort();
    sizes.disconnect();
  };
}
