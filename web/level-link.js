// "#level=CODE" plays that one level, "#pack=CODE" a level pack's levels in order: each level file
// and a backdrop drawn from it by the editor's core replace the shipped levels before the game
// starts (a pack's backdrops after the first follow while it runs), so the last one's exit wins
// the game. A link that holds nothing playable says why, and the game never starts.
import { decodeLevel, levelBytes, levelUrl, PACK } from './level-code.js';
import { Module } from './game-module.js';

const $ = (id) => document.getElementById(id);

// The checker's (or the pack reader's) errors, in one line.
const errorLine = (issues) => issues.filter((issue) => !issue.warning)
  .map((issue) => (issue.line ? `line ${issue.line}, column ${issue.column}: ` : '') + issue.message).join('; ');

// What use(core) answers, or {error} when the core fails. The editor's core loads only for a
// link: the game's own start waits for nothing more.
async function withCore(use) {
  const { loadCore } = await import('./editor/core-api.js');
  try {
    return await use(await loadCore());
  } catch (error) {
    return { error: String(error.message || error) };
  }
}

// A level's text with its backdrop as PNG bytes, as installLevels takes it.
const withBackdrop = (core, text) => ({ text, png: core.backdropPng(text) });

// The level a code holds with its backdrop, {text, png}; or {error}.
export async function readLink(code) {
  const decoded = await decodeLevel(code);
  if (decoded.error) return decoded;
  return withCore((core) => {
    const check = core.check(decoded.text);
    return check.errors ? { error: errorLine(check.issues) } : withBackdrop(core, decoded.text);
  });
}

// The pack a code holds, read by the game's pack reader: {name, levels: [{text, png}]}; or
// {error} in the reader's words. Only the first level's backdrop is drawn now, so that the game
// starts as soon as a one-level link's would: the others stand in with it until drawBackdrops
// draws them.
export async function readPackLink(code) {
  const decoded = await decodeLevel(code, PACK);
  if (decoded.error) return decoded;
  return withCore((core) => {
    const reading = core.readPack(decoded.text);
    if (reading.errors) return { error: errorLine(reading.issues) };
    const { png } = withBackdrop(core, reading.levels[0]);
    return { name: reading.name, levels: reading.levels.map((text) => ({ text, png })) };
  });
}

// Once the game's data is mounted, before main: the levels, in order, are the game's only ones.
// Then, with `later`, the backdrops after the first are drawn in a worker while the game runs,
// each written over its stand-in as it comes: level 1 takes longer to play than they to draw.
export function installLevels(levels, later = false) {
  Module.onRuntimeInitialized = () => {
    for (const name of Module.FS.readdir('/levels'))
      if (/^level\d+\.txt$/.test(name)) Module.FS.unlink('/levels/' + name);
    levels.forEach(({ text, png }, index) => {
      Module.FS.writeFile(`/levels/level${index + 1}.txt`, levelBytes(text));
      Module.FS.writeFile(`/images/level${index + 1}bg.png`, png);
    });
    if (later) drawBackdrops(levels).catch((error) => console.warn('A backdrop could not be drawn: ' + error.message));
  };
}

async function drawBackdrops(levels) {
  const { JobRunner } = await import('./editor/prover.js');
  const runner = new JobRunner({ spare: false });
  for (let index = 1; index < levels.length; ++index) {
    const drawn = await runner.run({ type: 'backdropPng', text: levels[index].text });
    Module.FS.writeFile(`/images/level${index + 1}bg.png`, drawn.result);
  }
  runner.stop();
}

// The pack's name, as plain text, and its level count, above the picture.
export function showPack({ name, levels }) {
  const count = levels.length === 1 ? '1 level' : `${levels.length} levels`;
  $('pack').textContent = name ? `${name} — ${count}` : `A level pack of ${count}`;
  $('pack').hidden = false;
}

// The end panel's link and the line under the picture lead to the editor with the level.
export async function offerEditing(text) {
  const editorUrl = await levelUrl('editor.html', text);
  const back = $('back');
  back.href = editorUrl;
  back.hidden = false;
  const edit = $('edit');
  edit.href = editorUrl;
  edit.textContent = 'Edit this level';
}

// Says on the picture why the level (or the pack, a noun given) cannot be played.
export function refuse(message, noun = 'level') {
  $('progress').textContent = '';
  const problem = document.createElement('div');
  problem.id = 'problem';
  problem.textContent = `This ${noun} cannot be played: ${message}`;
  const edit = document.createElement('a');
  edit.href = 'editor.html';
  edit.textContent = 'Open the level editor';
  $('loading').append(problem, edit);
}
