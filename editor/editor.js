// The level editor page: paints a level on the game's own backdrop, checks it and proves it
// winnable as it changes, keeps the draft in the browser, and opens, saves, shares and plays it.
import { loadCore } from './core-api.js';
import { JobRunner } from './prover.js';
import { levelText, levelBytes, decodeLevel, codeFromHash, levelUrl, DRAFT_KEY, MAX_LEVEL_BYTES } from './level-code.js';
import { COLUMNS, ROWS, EMPTY, textOf, cellAt, withCell, newRoomRows, rowsForText, History } from './level-grid.js';
import { TilePictures, samplerLevel } from './tile-pictures.js';
import { LevelView, drawFaceLines } from './level-view.js';
import { ProofPanel } from './proof-panel.js';

const $ = (id) => document.getElementById(id);
const capital = (text) => text[0].toUpperCase() + text.slice(1);
// Painting pauses this long before the real backdrop is drawn.
const BACKDROP_DELAY_MS = 150;
const ERASER_KEYS = [' ', 'Backspace', 'Delete', 'e'];
const KIND_ORDER = { start: 0, exit: 1, wall: 2, hazard: 3, fire: 4 };

const state = {
  rows: null,
  text: '',
  issues: [],
  errors: false,
  brush: ')',
  stroke: null,       // {char, last: {row, column}, changed}
  fileName: 'zarvolith-level.txt',
};
const steps = new History(500);
let core, tiles, known, view, proof, shipped = [], backdrops, backdropTimer = 0;

// The test hook (tests/web/editor_test.py): what the page shows, read back without the DOM.
window.zvEditor = {
  ready: false,
  text: () => state.text,
  verdict: () => (proof ? proof.verdict : null),
  issues: () => state.issues,
  marks: () => (view ? view.marks.map((m) => ({ line: m.row + 1, column: m.column + 1, warning: m.warning })) : []),
  brush: () => state.brush,
  backdropText: () => (view && view.backdropRows ? textOf(view.backdropRows) : null),
  flashing: () => (view && view.flash ? { line: view.flash.row + 1, column: view.flash.column + 1 } : null),
  picturesReady: () => !!(view && view.pictures),
  routeShown: () => !!(view && view.route && view.showRoute),
};

// ---- Messages ----

let messageTimer = 0;
function message(text, { error = false, lasting = error } = {}) {
  clearTimeout(messageTimer);
  const box = $('message');
  $('message-text').textContent = text;
  box.className = error ? 'error' : 'info';
  box.hidden = false;
  if (!lasting) messageTimer = setTimeout(() => (box.hidden = true), 6000);
}
$('message-close').addEventListener('click', () => ($('message').hidden = true));

// ---- The level and its changes ----

function rowsOf(text) {
  return text.split('\n').slice(0, ROWS);
}

// Every change goes through here: the draft is saved, the checker runs, the view redraws, and
// unless a stroke is still being painted, the backdrop and the proof start.
function setRows(rows) {
  state.rows = rows;
  state.text = textOf(rows);
  try {
    localStorage.setItem(DRAFT_KEY, state.text);
  } catch (error) {
    message('The draft could not be kept in this browser: ' + error.message, { error: true });
  }
  runChecks();
  view.set({ rows });
  if (!state.stroke) settle();
  updateButtons();
}

function settle() {
  clearTimeout(backdropTimer);
  backdropTimer = setTimeout(drawBackdrop, BACKDROP_DELAY_MS);
  if (state.errors) proof.blocked(state.issues.filter((i) => !i.warning).length);
  else proof.prove(state.text);
}

// One worker draws every backdrop. The tile pictures' two, drawn once the level's first is up,
// are never stopped: the level's wait for them. A level's backdrop is stopped by a newer one; one
// stopped by the pictures' is asked for again.
const backdropShown = {};
const firstBackdrop = new Promise((resolve) => (backdropShown.resolve = resolve));
let picturesJob = Promise.resolve(), backdropRequest = 0;

function pictureBackdrop(text) {
  const job = picturesJob.then(() => backdrops.run({ type: 'backdrop', text }));
  picturesJob = job.catch(() => {});
  return job;
}

async function drawBackdrop() {
  const text = state.text, request = ++backdropRequest;
  let done = null;
  try {
    while (!done && request === backdropRequest) {
      await picturesJob;
      if (request === backdropRequest) done = await backdrops.run({ type: 'backdrop', text });
    }
  } catch (error) {
    message('The backdrop could not be drawn: ' + error.message, { error: true });
    return;
  }
  if (!done) return;
  // Decoded into a bitmap off the page's thread, so that the page never waits for the pixels.
  const bitmap = await createImageBitmap(new ImageData(done.result, 1024, 768));
  if (request !== backdropRequest && view.backdrop) return bitmap.close();
  if (view.backdrop) view.backdrop.close();
  view.set({ backdrop: bitmap, backdropRows: rowsOf(text) });
  backdropShown.resolve();
}

// Loads a text as one undoable step, or refuses it (see rowsForText) and keeps the draft.
function loadText(text, source, { name = null, quiet = false, sameQuietly = false } = {}) {
  const loaded = rowsForText(text, core, known);
  if (loaded.refused) {
    const shown = loaded.refused.slice(0, 4).join('\n');
    const more = loaded.refused.length > 4 ? `\n…and ${loaded.refused.length - 4} more` : '';
    message(`${capital(source)} was not loaded: it does not fit the 20x15 level grid.\n${shown}${more}\nYour level is unchanged.`, { error: true });
    return false;
  }
  if (name) state.fileName = name;
  if (textOf(loaded.rows) === state.text) {
    if (!quiet && !sameQuietly) message(`${capital(source)} is the level shown already.`);
    return true;
  }
  steps.push(textOf(loaded.rows));
  setRows(loaded.rows);
  if (!quiet) {
    const errors = state.issues.filter((i) => !i.warning).length;
    message(`Loaded ${source}.` + (errors ? ` It has ${errors === 1 ? 'an error' : errors + ' errors'} to mend: see Checks.` : '') +
            ' Undo brings back what was there.');
  }
  return true;
}

function loadBytes(bytes, source, options) {
  const read = levelText(bytes);
  if (read.error) {
    message(`${capital(source)} was not loaded: ${read.error}.\nYour level is unchanged.`, { error: true });
    return false;
  }
  return loadText(read.text, source, options);
}

async function loadFile(file) {
  const source = `“${file.name}”`;
  if (file.size > MAX_LEVEL_BYTES) {
    message(`${source} was not loaded: the level is ${file.size} bytes; a level file is at most ${MAX_LEVEL_BYTES}.\nYour level is unchanged.`, { error: true });
    return;
  }
  try {
    loadBytes(new Uint8Array(await file.arrayBuffer()), source, { name: file.name });
  } catch (error) {
    message(`${source} could not be read: ${error.message}.\nYour level is unchanged.`, { error: true });
  }
}

// Pasted text arrives as Unicode; as UTF-8 bytes, anything beyond ASCII is an unknown character.
function loadPasted(text) {
  return loadBytes(new TextEncoder().encode(text), 'the pasted text');
}

async function loadFromHash() {
  const code = codeFromHash(location.hash);
  if (code === null) return;
  // The link has done its work: a reload now shows the draft, with whatever was done since.
  history.replaceState(null, '', location.pathname + location.search);
  const decoded = await decodeLevel(code);
  if (decoded.error) message(`The level in the link was not loaded: ${decoded.error}.\nYour draft is kept.`, { error: true });
  // Back from playing it, the link's level is usually the draft already: nothing to say then.
  else loadText(decoded.text, 'the level from the link', { sameQuietly: true });
}

function undo() {
  const text = steps.undo();
  if (text !== null) setRows(rowsOf(text));
}
function redo() {
  const text = steps.redo();
  if (text !== null) setRows(rowsOf(text));
}

// ---- Checks ----

function runChecks() {
  const checked = core.check(state.text);
  state.issues = checked.issues;
  state.errors = checked.errors;
  const list = $('issues');
  list.replaceChildren();
  // Errors first: they are what stops the level being played.
  for (const issue of [...checked.issues].sort((a, b) => a.warning - b.warning)) {
    const item = document.createElement('li');
    item.className = issue.warning ? 'warning' : 'error';
    item.dataset.line = issue.line;
    item.dataset.column = issue.column;
    if (issue.line > 0) {
      const where = document.createElement('span');
      where.className = 'where';
      where.textContent = `${issue.line}:${issue.column}`;
      item.append(where);
      item.title = 'Click to show the cell';
    }
    item.append(issue.message);
    list.append(item);
  }
  if (!checked.issues.length) {
    const item = document.createElement('li');
    item.className = 'ok';
    item.textContent = 'No problems found.';
    list.append(item);
  }
  const errors = checked.issues.filter((i) => !i.warning).length, warnings = checked.issues.length - errors;
  $('check-count').textContent = checked.issues.length ? `— ${errors} error${errors === 1 ? '' : 's'}, ${warnings} warning${warnings === 1 ? '' : 's'}` : '';
  const marks = checked.issues.filter((i) => i.line >= 1 && i.line <= ROWS && i.column >= 1 && i.column <= COLUMNS)
    .map((i) => ({ row: i.line - 1, column: i.column - 1, warning: i.warning }));
  view.set({ marks });
}

$('issues').addEventListener('click', (event) => {
  const item = event.target.closest('li[data-line]');
  if (item && +item.dataset.line > 0 && +item.dataset.column > 0) view.flashCell(+item.dataset.line - 1, Math.min(+item.dataset.column, COLUMNS) - 1);
});

function updateButtons() {
  $('undo').disabled = !steps.canUndo;
  $('redo').disabled = !steps.canRedo;
  $('play').disabled = state.errors;
  $('play').title = state.errors ? 'Mend the errors listed in Checks to play the level' : 'Play this level in the game';
}

// ---- Palette ----

function tileAbout(char) {
  if (char === EMPTY) return 'Eraser: an empty cell, which the glider flies through';
  return tiles.find((t) => t.char === char).about;
}
function tileKey(char) {
  return char === EMPTY ? 'Space' : char;
}

function buildPalette() {
  const entries = [EMPTY, ...tiles.slice().sort((a, b) =>
    KIND_ORDER[a.kind] - KIND_ORDER[b.kind] || (a.strength || 0) - (b.strength || 0)).map((t) => t.char)];
  const palette = $('palette');
  for (const char of entries) {
    const button = document.createElement('button');
    button.className = 'tile';
    button.dataset.char = char;
    button.setAttribute('role', 'option');
    button.title = `${tileAbout(char)} (key: ${char === EMPTY ? 'Space, Backspace, Delete or E' : char})`;
    const key = document.createElement('span');
    key.className = 'key';
    key.textContent = char === EMPTY ? '␣' : char;
    button.append(document.createElement('canvas'), key);
    button.addEventListener('click', () => selectBrush(char));
    palette.append(button);
  }
  selectBrush(state.brush);
}

// The palette's pictures, with each tile's guarded faces while the level shows them.
function drawPaletteIcons() {
  const pictures = view.pictures;
  if (!pictures) return;
  const faces = $('show-faces').checked;
  for (const button of $('palette').children) {
    const tile = tiles.find((t) => t.char === button.dataset.char);
    const overlay = faces && tile ? (g, x, y, size) => drawFaceLines(g, x, y, size, tile) : null;
    button.firstChild.replaceWith(pictures.icon(button.dataset.char, 80, overlay));
  }
}

function showFaces(on) {
  $('show-faces').checked = on;
  view.set({ showFaces: on });
  drawPaletteIcons();
}

function selectBrush(char) {
  state.brush = char;
  for (const button of $('palette').children) {
    const selected = button.dataset.char === char;
    button.classList.toggle('selected', selected);
    button.setAttribute('aria-selected', selected);
  }
  const about = $('tile-about');
  const key = document.createElement('b');
  key.textContent = char === EMPTY ? 'Eraser' : `'${char}'`;
  about.replaceChildren(key, tileAbout(char) + '. ', Object.assign(document.createElement('kbd'), { textContent: tileKey(char) }));
  view.set({ brush: char });
}

async function cutPictures() {
  await firstBackdrop;
  const sampler = samplerLevel(tiles);
  const drawn = await pictureBackdrop(sampler.text);
  const empty = await pictureBackdrop(EMPTY + '\n');
  view.set({ pictures: new TilePictures(tiles, drawn.result, empty.result, sampler.places) });
  drawPaletteIcons();
}

// ---- Painting ----

function paintLine(from, to, char) {
  // Every cell on the line between the two, so that a fast drag leaves no gaps.
  let rows = state.rows;
  const cells = Math.max(Math.abs(to.row - from.row), Math.abs(to.column - from.column));
  for (let i = 0; i <= cells; ++i) {
    const t = cells ? i / cells : 0;
    rows = withCell(rows, Math.round(from.row + (to.row - from.row) * t), Math.round(from.column + (to.column - from.column) * t), char);
  }
  if (rows === state.rows) return;
  if (!state.stroke.changed) proof.editing();
  state.stroke.changed = true;
  setRows(rows);
}

function hoverInfo(cell) {
  if (!cell) return 'Left button paints the selected tile, right button erases. Drag to paint a line.';
  const char = cellAt(state.rows, cell.row, cell.column);
  const what = char === EMPTY || char === '.' ? 'empty' : `'${char}' — ${tileAbout(char)}`;
  return `Line ${cell.row + 1}, column ${cell.column + 1}: ${what}`;
}

const canvas = $('level');
canvas.addEventListener('contextmenu', (event) => event.preventDefault());
canvas.addEventListener('pointerdown', (event) => {
  if (!state.rows || (event.button !== 0 && event.button !== 2) || state.stroke) return;
  const cell = view.cellAtPoint(event.clientX, event.clientY);
  if (!cell) return;
  event.preventDefault();
  canvas.focus();
  canvas.setPointerCapture(event.pointerId);
  state.stroke = { char: event.button === 2 ? EMPTY : state.brush, last: cell, changed: false };
  paintLine(cell, cell, state.stroke.char);
});
canvas.addEventListener('pointermove', (event) => {
  if (!state.rows) return;
  const cell = view.cellAtPoint(event.clientX, event.clientY);
  view.set({ hover: cell });
  $('hover-info').textContent = hoverInfo(cell);
  if (!state.stroke || !cell) return;
  paintLine(state.stroke.last, cell, state.stroke.char);
  state.stroke.last = cell;
});
function endStroke() {
  const stroke = state.stroke;
  if (!stroke) return;
  state.stroke = null;
  if (stroke.changed) {
    steps.push(state.text);
    settle();
    updateButtons();
  }
}
canvas.addEventListener('pointerup', endStroke);
canvas.addEventListener('pointercancel', endStroke);
canvas.addEventListener('lostpointercapture', endStroke);
canvas.addEventListener('pointerleave', () => {
  view.set({ hover: null });
  $('hover-info').textContent = hoverInfo(null);
});

// ---- Keys ----

function brushForKey(key) {
  if (ERASER_KEYS.includes(key)) return EMPTY;
  if (key.length !== 1) return null;
  for (const char of [key, key.toUpperCase(), key.toLowerCase()])
    if (tiles.some((t) => t.char === char)) return char;
  return null;
}

document.addEventListener('keydown', (event) => {
  if (!window.zvEditor.ready || document.querySelector('dialog[open]')) return;
  const typing = event.target.closest('input[type=text], textarea, select');
  const ctrl = event.ctrlKey || event.metaKey;
  const key = event.key.length === 1 ? event.key.toLowerCase() : event.key;
  if (ctrl && !event.altKey) {
    if (typing) return;
    if (key === 'z' && !event.shiftKey) undo();
    else if ((key === 'z' && event.shiftKey) || key === 'y') redo();
    else if (key === 's') save();
    else return;
    event.preventDefault();
    return;
  }
  if (typing || event.altKey) return;
  if (key === 'f') {
    showFaces(!$('show-faces').checked);
  } else {
    const brush = brushForKey(event.key);
    if (brush === null) return;
    selectBrush(brush);
  }
  event.preventDefault();
});

// Ctrl+V of level text anywhere but in a text field.
document.addEventListener('paste', (event) => {
  if (!window.zvEditor.ready || event.target.closest('input, textarea')) return;
  const text = event.clipboardData.getData('text/plain');
  if (!text) return;
  event.preventDefault();
  loadPasted(text);
});

// ---- Opening, saving, sharing, playing ----

$('new-room').addEventListener('click', () => {
  if (loadText(textOf(newRoomRows()), 'a new room', { name: 'zarvolith-level.txt', quiet: true }))
    message('A new room: walls all round that keep the glider in, a start at the top left and an exit in the floor at the right. Paint the rest; Undo brings back what was there.');
});

$('shipped').addEventListener('change', (event) => {
  const level = shipped.find((l) => String(l.number) === event.target.value);
  event.target.value = '';
  if (level) loadText(level.text, `level ${level.number}`, { name: `level${level.number}.txt` });
  canvas.focus();
});

$('open').addEventListener('click', () => $('file').click());
$('file').addEventListener('change', async (event) => {
  const file = event.target.files[0];
  event.target.value = '';
  if (file) await loadFile(file);
});

$('paste').addEventListener('click', () => {
  $('paste-text').value = '';
  $('paste-dialog').showModal();
});
$('paste-dialog').addEventListener('close', () => {
  if ($('paste-dialog').returnValue === 'load') loadPasted($('paste-text').value);
});

let dragDepth = 0;
document.addEventListener('dragenter', (event) => {
  if (!event.dataTransfer.types.includes('Files')) return;
  ++dragDepth;
  $('drop-cover').hidden = false;
});
document.addEventListener('dragleave', () => {
  if (--dragDepth <= 0) dragDepth = 0, ($('drop-cover').hidden = true);
});
document.addEventListener('dragover', (event) => event.preventDefault());
document.addEventListener('drop', (event) => {
  event.preventDefault();
  dragDepth = 0;
  $('drop-cover').hidden = true;
  const file = event.dataTransfer.files[0];
  if (file) loadFile(file);
  else if (event.dataTransfer.getData('text/plain')) loadPasted(event.dataTransfer.getData('text/plain'));
});

function save() {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([levelBytes(state.text)], { type: 'text/plain' }));
  link.download = state.fileName;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}
$('save').addEventListener('click', save);

$('share').addEventListener('click', async () => {
  $('share-link').value = await levelUrl('index.html', state.text);
  $('share-edit-link').value = await levelUrl('editor.html', state.text);
  $('share-note').textContent = 'The whole level is in the link: nothing is uploaded.';
  $('share-dialog').showModal();
  $('share-link').select();
});
$('share-copy').addEventListener('click', async () => {
  const field = $('share-link');
  field.select();
  let copied = false;
  try {
    await navigator.clipboard.writeText(field.value);
    copied = true;
  } catch {
    try {
      copied = document.execCommand('copy');
    } catch {
      copied = false;
    }
  }
  $('share-note').textContent = copied ? 'Copied to the clipboard.' : 'The browser would not copy it: the link is selected, press Ctrl+C.';
});

$('play').addEventListener('click', async () => {
  if (state.errors) return;
  const url = await levelUrl('index.html', state.text);
  sessionStorage.setItem('zarvolith.fromEditor', '1');
  location.href = url;
});

// Buttons and boxes take no focus from the mouse, so that Space and the tile keys keep painting
// rather than pressing the last button clicked.
for (const control of document.querySelectorAll('#toolbar button, #toolbar input, #palette'))
  control.addEventListener('mousedown', (event) => event.preventDefault());

$('show-faces').addEventListener('change', (event) => showFaces(event.target.checked));
$('show-route').addEventListener('change', (event) => view.set({ showRoute: event.target.checked }));
$('undo').addEventListener('click', undo);
$('redo').addEventListener('click', redo);

// The level as large as the space beside the tools allows, at the backdrop's 4:3.
new ResizeObserver(() => {
  const box = $('stage').getBoundingClientRect();
  const width = Math.max(160, Math.floor(Math.min(box.width, (box.height * 4) / 3)));
  canvas.style.width = width + 'px';
  canvas.style.height = Math.floor((width * 3) / 4) + 'px';
}).observe($('stage'));

// ---- Start ----

function proofUi() {
  return {
    panel: $('proof'), headline: $('verdict-headline'), detail: $('verdict-detail'), progress: $('search-progress'),
    bar: $('search-bar'), progressLabel: $('search-label'), routeBox: $('route-box'), script: $('route-script'),
    rates: $('rates'), difficulty: $('difficulty'), kinder: $('kinder'), kindStatus: $('kind-status'),
  };
}

async function start() {
  const shippedFile = fetch('editor/shipped-levels.json').then((r) => (r.ok ? r.json() : { levels: [] }))
    .catch(() => ({ levels: [] }));
  core = await loadCore();
  const table = core.tiles();
  tiles = table.tiles;
  known = new Set([...tiles.map((t) => t.char), ...table.empty]);
  view = new LevelView(canvas, tiles);
  backdrops = new JobRunner({ spare: false });
  proof = new ProofPanel(proofUi(), core, [], (route) => view.set({ route }));
  buildPalette();

  // The draft, as it was left; a draft that no longer loads is replaced by a new room.
  const draft = localStorage.getItem(DRAFT_KEY);
  const rows = (draft !== null && rowsForText(draft, core, known).rows) || newRoomRows();
  steps.reset(textOf(rows));
  setRows(rows);
  if (draft !== null && textOf(rows) !== draft) message('The draft kept in this browser could not be read; this is a new room.', { error: true });

  shipped = (await shippedFile).levels || [];
  proof.shipped = shipped;
  for (const level of shipped) {
    const option = document.createElement('option');
    option.value = level.number;
    option.textContent = `Level ${level.number}` + (level.about ? ` — ${level.about}` : '');
    $('shipped').append(option);
  }
  await loadFromHash();
  window.addEventListener('hashchange', loadFromHash);
  cutPictures().catch((error) => message('The tile pictures could not be drawn: ' + error.message, { error: true }));
  window.zvEditor.ready = true;
}

start().catch((error) => {
  message('The editor could not start: ' + (error && error.message ? error.message : error), { error: true });
  $('verdict-headline').textContent = 'The editor could not start.';
});
