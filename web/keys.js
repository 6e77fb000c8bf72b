// The keyboard beside the page's other controls: a key another source already holds is not
// pressed twice, nor released while another still holds it; the game's keys neither scroll nor
// leave the page; and once the game is over, the other keys work the end's buttons.
import { NAME_OF_KEY } from './held-keys.js';

// Keys the game takes, which the browser would use to scroll the page or leave it.
const GAME_KEYS = new Set(['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', ' ', 'Escape']);

// Starts before the game's script: its toolkit listens on the window too, and the filter has to
// see each key first. Returns stop().
//   held       the HeldKeys all sources share
//   hint       the line under the picture, told when the keyboard is used
//   isOver     () => whether the game is over
//   playAgain  the end's Play again button, which takes Space when it has the focus
export function start({ held, hint, isOver, playAgain }) {
  const controller = new AbortController();
  const { signal } = controller;
  // Once the game is over, Enter, Space and Tab work the end's buttons: the game's toolkit would
  // take them (the won picture still runs), and the game has no use for them.
  const forTheEndButtons = (event) => {
    if (!isOver() || NAME_OF_KEY[event.key]) return false;
    event.stopImmediatePropagation();
    return true;
  };
  window.addEventListener('keydown', (event) => {
    if (!event.isTrusted || forTheEndButtons(event)) return;
    const name = NAME_OF_KEY[event.key];
    if (!name || event.repeat) return;
    hint.use('keys');
    if (!held.press('keyboard', name)) event.stopImmediatePropagation();
  }, { capture: true, signal });
  window.addEventListener('keyup', (event) => {
    if (!event.isTrusted || forTheEndButtons(event)) return;
    const name = NAME_OF_KEY[event.key];
    if (name && !held.release('keyboard', name)) event.stopImmediatePropagation();
  }, { capture: true, signal });
  window.addEventListener('keydown', (event) => {
    if (GAME_KEYS.has(event.key) && document.activeElement !== playAgain) event.preventDefault();
  }, { signal });
  return () => controller.abort();
}
