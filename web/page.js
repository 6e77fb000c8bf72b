// The game's page: the picture, its sound and the controls beside the keyboard, then the game,
// or the one level or the level pack a link holds.
import { Module, loadGame } from './game-module.js';
import { HeldKeys } from './held-keys.js';
import { Hint } from './hint.js';
import { codeFromHash, PACK } from './level-code.js';
import { takeFromEditorMark } from './from-editor.js';
import { readLink, readPackLink, installLevels, showPack, offerEditing, refuse } from './level-link.js';
import { play, playLink, levelMade, start as startPlay } from './play.js';
import { DAILY, DailyPack, dailyDate, dailyUrl, showDaily } from './daily-pack.js';
import * as sound from './sound.js';
import * as picture from './picture.js';
import * as fullScreen from './full-screen.js';
import * as keys from './keys.js';
import * as touchPad from './touch-pad.js';
import * as gamepad from './gamepad.js';
import * as pageVisibility from './page-visibility.js';

const $ = (id) => document.getElementById(id);
const canvas = $('canvas');
const hint = new Hint($('hint'));
const held = new HeldKeys();
const isOver = () => play.over;

// All before the game's script: full screen's Escape, then the keyboard's filter, see each key
// before the game's toolkit does.
const stops = [
  picture.start(canvas),
  sound.start(canvas),
  fullScreen.start({ button: $('fullscreen'), canvas, hint }),
  keys.start({ held, hint, isOver, playAgain: $('again') }),
  touchPad.start({ pad: $('pad'), held, hint }),
  gamepad.start({ canvas, held, hint, gameState: Module.gameState, isOver, endPanel: $('ended') }),
  pageVisibility.start({ held, onHidden: sound.pause, onShown: sound.resumeAfterHiding }),
  startPlay({ canvas, hint }),
];

// A new link typed over this one, as "Today's levels" makes, starts the page again with it.
const links = new AbortController();
window.addEventListener('hashchange', () => location.reload(), { signal: links.signal });
stops.push(() => links.abort());

// Takes the page's own listeners, timers and animation frames away; the game runs on alone.
export function stop() {
  for (const stopOne of stops.splice(0)) stopOne();
}
// A page left for good goes down; one kept for the Back button keeps going.
const leaving = new AbortController();
window.addEventListener('pagehide', (event) => event.persisted || stop(), { signal: leaving.signal });
stops.push(() => leaving.abort());

async function startLink(code) {
  const level = await readLink(code);
  if (level.error) return refuse(level.error);
  installLevels([level]);
  await offerEditing(level.text);
  playLink(hint, takeFromEditorMark());
  loadGame();
}

// A pack is played as the game plays its own levels, from the title screen on unless the editor
// sent it.
async function startPack(code) {
  const pack = await readPackLink(code);
  if (pack.error) return refuse(pack.error, PACK.noun);
  installLevels(pack.levels, true);
  showPack(pack);
  playLink(hint, takeFromEditorMark(), false);
  loadGame();
}

// A day's pack: the game loads while its first level is made, and each level offers itself to the
// editor while it is played. Share gives the day's link.
async function startDaily(date) {
  showDaily(date, 0);
  const daily = new DailyPack(date, {
    onRefused: (why, index) => {
      if (index === 0) refuse(why, DAILY.noun);
      else $('pack').textContent = `The levels of ${date}: level ${index + 1} could not be made (${why}), so the pack ends at level ${index}.`;
    },
    onLevelMade: (made) => {
      showDaily(date, made);
      levelMade(hint);
    },
  });
  play.onLevel = (number) => {
    const text = daily.text(number);
    if (text) offerEditing(text);
  };
  const share = $('share');
  share.hidden = false;
  share.addEventListener('click', () => shareLink(dailyUrl(date)), { signal: links.signal });
  daily.install();
  playLink(hint, false, false);
  loadGame();
  await daily.start();
}

// Copies the link, or shows it to copy by hand when the browser will not.
async function shareLink(url) {
  let copied = true;
  try {
    await navigator.clipboard.writeText(url);
  } catch {
    copied = false;
  }
  $('shared').textContent = copied ? `Link copied: ${url}` : `Copy this link: ${url}`;
  $('shared').hidden = false;
}

const code = codeFromHash(location.hash);
const packCode = codeFromHash(location.hash, PACK);
const date = dailyDate(location.hash);
if (code !== null) startLink(code).catch((error) => refuse(String(error.message || error)));
else if (packCode !== null) startPack(packCode).catch((error) => refuse(String(error.message || error), PACK.noun));
else if (date !== null) startDaily(date).catch((error) => refuse(String(error.message || error), DAILY.noun));
else {
  $('today').hidden = false;
  loadGame();
}
