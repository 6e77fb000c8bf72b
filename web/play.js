// Where the game is, followed after every frame it draws: for a level from the editor, the title
// screens passed at once and the level held until the player's first act; and the end of the
// game, won, quit or lost, which offers to play again and says what happened.
import { STATE } from './game-facts.js';
import { clickPicture } from './held-keys.js';
import { Module } from './game-module.js';
import { close as closeSound } from './sound.js';
import { markFromEditor } from './from-editor.js';

export const play = {
  link: false,        // one level, from a link
  fromEditor: false,  // ...sent by the editor's Play: no title screens, and the level waits
  waiting: false,     // the page still passes the title screens, then holds the level
  holding: false,     // the level is drawn and waits for the player's first act
  making: false,      // the level waits at its start while the pack's next level is made
  level: 0,           // the level number the game last asked for
  nextLevelReady: () => true,  // whether the level after level n is there to play (a pack still being made says)
  onLevel: null,      // hears each new level number
  over: false,
  state: null,
};

const END_LINES = {
  won: 'You escaped! Every level is done.',
  wonLevel: 'You escaped! The level is done.',
  crashed: 'The glider crashed, and the game is over.',
  quit: 'You quit the game.',
};

// Keys that never start a waiting level.
const NOT_STARTING = new Set(['Escape', 'Tab', 'Shift', 'Control', 'Alt', 'Meta', 'CapsLock', 'AltGraph']);
const startsPlay = (event) => !(event.repeat || event.ctrlKey || event.altKey || event.metaKey ||
                                NOT_STARTING.has(event.key) || /^F\d+$/.test(event.key));

const $ = (id) => document.getElementById(id);

// The game is from a link: one level, or a pack's levels, played as the game plays its own; from
// the editor, it waits for the player.
export function playLink(hint, fromEditor, oneLevel = true) {
  play.link = oneLevel;
  play.fromEditor = play.waiting = fromEditor;
  if (play.waiting) hint.show('wait');
}

// A level whose next one is still being made waits at its start until it is made, so the game
// never ends early as if the level were the last.
function followLevel(state, hint) {
  const level = Module._zarvolithLevelNumber();
  if (level !== play.level) {
    play.level = level;
    if (play.onLevel) play.onLevel(level);
  }
  if (play.making || play.nextLevelReady(level) || (state !== STATE.playing && state !== STATE.levelExit)) return;
  play.making = true;
  hint.show('making', `Level ${level + 1} is still being made: the glider waits at its start until it is ready.`);
}

// A level the pack has just made may let the waiting one go.
export function levelMade(hint) {
  if (!play.making || !play.nextLevelReady(play.level)) return;
  play.making = false;
  // The frame clock would count the wait as one long frame.
  Module._zarvolithRestartClock();
  hint.show(play.holding ? 'wait' : 'play');
}

// After each frame the game draws.
function afterFrame(canvas, hint, gameOver) {
  const state = Module._zarvolithGameState();
  if (play.waiting && (state === STATE.title || state === STATE.instructions)) {
    // The two clicks a player would make, at once: the next frame is the level's first.
    clickPicture(canvas);
    if (Module._zarvolithGameState() === STATE.instructions) clickPicture(canvas);
    return;
  }
  followLevel(state, hint);
  if (state === play.state) return;
  play.state = state;
  if (state === STATE.playing && play.waiting) {
    // The level's first frame is on the picture: it stays there until the player acts.
    play.waiting = false;
    play.holding = true;
    hint.show('wait');
  } else if (state === STATE.playing && !play.making) {
    hint.show('play');
  } else if (state === STATE.escaped) {
    gameOver('won');
  }
}

// Won (the escape picture stays, under the panel at its foot), quit, or lost for good. The
// first ending is the one told.
function endGame(how, hint) {
  if (play.over) return;
  play.over = true;
  play.holding = false;
  $('ending').textContent = how === 'won' ? 'The game is won.' : 'The game has ended.';
  $('ended').hidden = false;
  // The panel leads to the editor where the line below would.
  if (play.link) $('edit').hidden = true;
  hint.show('over', END_LINES[how === 'won' && play.link ? 'wonLevel' : how]);
  $('again').focus();
}

// Hooks the page into the game's frames and its end. Returns stop().
export function start({ canvas, hint }) {
  const controller = new AbortController();
  const { signal } = controller;
  const gameOver = (how) => endGame(how, hint);
  // Emscripten asks before each frame whether to draw it, and calls after it.
  Module.preMainLoop = () => !play.holding && !play.making;
  Module.postMainLoop = () => afterFrame(canvas, hint, gameOver);
  Module.onGameEnded = () => {
    closeSound();
    gameOver(Module._zarvolithGameState() === STATE.lost ? 'crashed' : 'quit');
  };
  // The player's own act starts the waiting level: a key (also the touch buttons' and a pad's,
  // which the page sends), a click or a tap on the picture, but never the page's own clicks.
  // The key goes on to the game too, so an arrow steers from the first frame.
  const letGo = () => {
    if (!play.holding || play.over) return;
    play.holding = false;
    // The frame clock would count the wait as one long frame.
    Module._zarvolithRestartClock();
    hint.show('play');
  };
  window.addEventListener('keydown', (event) => startsPlay(event) && letGo(), { signal });
  canvas.addEventListener('pointerdown', (event) => event.isTrusted && letGo(), { signal });
  // A level from the editor waits for the player again.
  $('again').addEventListener('click', () => {
    if (play.fromEditor) markFromEditor();
    location.reload();
  }, { signal });
  return () => controller.abort();
}
