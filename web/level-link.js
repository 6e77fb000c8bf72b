// "#level=CODE" plays that one level: the link's level file and a backdrop drawn from it by the
// editor's core replace the shipped levels before the game starts, so its exit wins the game.
// A link that holds no playable level says why, and the game never starts.
import { decodeLevel, levelBytes, levelUrl } from './level-code.js';
import { Module } from './game-module.js';

const $ = (id) => document.getElementById(id);

// The checker's errors, in one line.
const errorLine = (issues) => issues.filter((issue) => !issue.warning)
  .map((issue) => (issue.line ? `line ${issue.line}, column ${issue.column}: ` : '') + issue.message).join('; ');

// The level a code holds with its backdrop as PNG bytes, {text, png}; or {error}. The editor's
// core loads only for a link: the game's own start waits for nothing more.
export async function readLink(code) {
  const decoded = await decodeLevel(code);
  if (decoded.error) return decoded;
  const { loadCore } = await import('./editor/core-api.js');
  try {
    const core = await loadCore();
    const check = core.check(decoded.text);
    if (check.errors) return { error: errorLine(check.issues) };
    return { text: decoded.text, png: core.backdropPng(decoded.text) };
  } catch (error) {
    return { error: String(error.message || error) };
  }
}

// Once the game's data is mounted, before main: the level is the game's only one.
export function installLevel({ text, png }) {
  Module.onRuntimeInitialized = () => {
    for (const name of Module.FS.readdir('/levels'))
      if (/^level\d+\.txt$/.test(name)) Module.FS.unlink('/levels/' + name);
    Module.FS.writeFile('/levels/level1.txt', levelBytes(text));
    Module.FS.writeFile('/images/level1bg.png', png);
  };
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

// Says on the picture why the level cannot be played.
export function refuse(message) {
  $('progress').textContent = '';
  const problem = document.createElement('div');
  problem.id = 'problem';
  problem.textContent = 'This level cannot be played: ' + message;
  const edit = document.createElement('a');
  edit.href = 'editor.html';
  edit.textContent = 'Open the level editor';
  $('loading').append(problem, edit);
}
