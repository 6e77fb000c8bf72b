// The touch buttons (button[data-key="left|right|up|quit"]): each finger holds the button under
// it, and follows it as it slides. They show from the first touch, or from the start where the
// browser says the screen is a touch screen.

// The key of the pad's button at a point in the page, or null.
function keyAt(pad, x, y) {
  const element = document.elementFromPoint(x, y);
  const button = element && element.closest('button[data-key]');
  return button && pad.contains(button) ? button.dataset.key : null;
}

function showHeld(pad, touched) {
  for (const button of pad.querySelectorAll('button[data-key]'))
    button.classList.toggle('held', touched.has(button.dataset.key));
}

// Returns stop(), which also lets go of what the fingers hold.
//   pad   the element holding the buttons
//   held  the HeldKeys all sources share
//   hint  the line under the picture, told when a touch is used
export function start({ pad, held, hint }) {
  const controller = new AbortController();
  const { signal } = controller;
  const fingers = new Map();  // pointerId -> key name, or null off the buttons
  const buttonAt = (x, y) => keyAt(pad, x, y);
  const showFingers = () => showHeld(pad, new Set(fingers.values()));
  const moveFinger = (id, name) => {
    const before = fingers.get(id);
    if (before === name) return;
    fingers.set(id, name);
    if (before) held.releaseAndSend('finger' + id, before);
    if (name) held.pressAndSend('finger' + id, name);
    showFingers();
  };
  const liftFinger = (event) => {
    if (!fingers.has(event.pointerId)) return;
    moveFinger(event.pointerId, null);
    fingers.delete(event.pointerId);
  };
  const useTouch = () => {
    document.documentElement.classList.add('touch');
    hint.use('touch');
  };

  pad.addEventListener('pointerdown', (event) => {
    const name = buttonAt(event.clientX, event.clientY);
    if (!name) return;
    event.preventDefault();
    if (event.pointerType === 'touch') useTouch();
    moveFinger(event.pointerId, name);
  }, { signal });
  // A touch stays captured by the button it began on, so the finger is followed by position.
  window.addEventListener('pointermove', (event) => {
    if (fingers.has(event.pointerId)) moveFinger(event.pointerId, buttonAt(event.clientX, event.clientY));
  }, { signal });
  for (const type of ['pointerup', 'pointercancel']) window.addEventListener(type, liftFinger, { signal });
  // No emulated mouse events from the buttons, and no long-press menu but a link's.
  pad.addEventListener('touchstart', (event) => event.cancelable && event.preventDefault(), { passive: false, signal });
  document.addEventListener('contextmenu', (event) => {
    if (!event.target.closest || !event.target.closest('a[href]')) event.preventDefault();
  }, { signal });
  window.addEventListener('touchstart', useTouch, { capture: true, passive: true, signal });
  held.addEventListener('letgo', () => {
    fingers.clear();
    showFingers();
  }, { signal });
  if (matchMedia('(pointer: coarse)').matches) useTouch();

  return () => {
    controller.abort();
    for (const id of [...fingers.keys()]) moveFinger(id, null);
    fingers.clear();
  };
}
