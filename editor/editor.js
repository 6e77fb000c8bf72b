// The level editor page: paints a level on the game's own backdrop, checks it and proves it
// winnable as it changes, keeps the draft in the browser, and opens, saves, shares and plays it.
// This module holds the level and wires the page's parts together.
import { BACKDROP } from '../game-facts.js';
import { loadCore } from './core-api.js';
import { loadDraft, keepDraft, loadSession, keepSession, KEPT_STEPS } from './draft-store.js';
import { EMPTY, textOf, rowsOf, newRoomRows, rowsForText, History } from './level-grid.js';
import { LevelView } from './level-view.js';
import { ProofPanel } from './proof-panel.js';
import { message, startMessages } from './messages.js';
import { showChecks, onIssueClick } from './checks-list.js';
import { Palette } from './palette.js';
import { Painting } from './painting.js';
import { BackdropDrawing } from './backdrop-drawing.js';
import { LevelLoading } from './level-loading.js';
import { saveLevel, attachLevelOut } from './level-out.js';

const $ = (id) => document.getElementById(id);
const canvas = $('level');

const state = { rows: null, text: '', issues: [], errors: false, fileName: 'zarvolith-level.txt' };
const steps = new History(500);
let core, view, proof, palette, painting, backdrops, loading;
// Every listener the page adds goes with this signal: stop() takes them all away.
const controller = new AbortController();
const { signal } = controller;

// What the page shows, read back without the DOM (tests/web/editor_test.py imports this module:
// a module is loaded once, so it finds the page's own).
export const editor = {
  ready: false,
  text: () => state.text,
  verdict: () => (proof ? proof.verdict : null),
  issues: () => state.issues,
  marks: () => (view ? view.marks.map((m) => ({ line: m.row + 1, column: m.column + 1, warning: m.warning })) : []),
  brush: () => (palette ? palette.brush : null),
  backdropText: () => (view && view.backdropRows ? textOf(view.backdropRows) : null),
  flashing: () => (view && view.flash ? { line: view.flash.row + 1, column: view.flash.column + 1 } : null),
  picturesReady: () => !!(view && view.pictures),
  routeShown: () => !!(view && view.route && view.showRoute),
};

// Every change goes through here: the draft is saved, the checker runs, the view redraws, and
// unless a stroke is still being painted, the backdrop and the proof start.
function setRows(rows) {
  state.rows = rows;
  state.text = textOf(rows);
  try {
    keepDraft(state.text);
    keepSession({ history: steps.saved(KEPT_STEPS) });
  } catch (error) {
    message('The draft could not be kept in this browser: ' + error.message, { error: true });
  }
  const checked = core.check(state.text);
  state.issues = checked.issues;
  state.errors = checked.errors;
  view.set({ rows, marks: showChecks($('issues'), $('check-count'), checked.issues) });
  painting.refresh();
  if (!painting.active) settle();
  updateButtons();
}

function settle() {
  backdrops.soon(state.text);
  if (state.errors) proof.blocked(state.issues.filter((i) => !i.warning).length);
  else proof.prove(state.text, loadSession().route);
}

function undo() {
  const text = steps.undo();
  if (text !== null) setRows(rowsOf(text));
}
function redo() {
  const text = steps.redo();
  if (text !== null) setRows(rowsOf(text));
}

function updateButtons() {
  $('undo').disabled = !steps.canUndo;
  $('redo').disabled = !steps.canRedo;
  $('play').disabled = state.errors;
  $('play').title = state.errors ? 'Mend the errors listed in Checks to play the level' : 'Play this level in the game';
}

function showFaces(on) {
  $('show-faces').checked = on;
  view.set({ showFaces: on });
  palette.drawIcons(view.pictures, on);
  keepSession({ faces: on });
}

function save() {
  saveLevel(state.text, state.fileName);
  message(`Saved ${state.fileName}, ${state.rows.length} lines, to the browser's downloads.`);
}

function onKey(event) {
  if (!editor.ready || document.querySelector('dialog[open]')) return;
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
    const brush = palette.brushForKey(event.key);
    if (brush === null) return;
    palette.select(brush);
  }
  event.preventDefault();
}

// The level as large as the space beside the tools allows, in the backdrop's proportions.
const stageSize = new ResizeObserver(() => {
  const box = $('stage').getBoundingClientRect();
  const aspect = BACKDROP.width / BACKDROP.height;
  const width = Math.max(160, Math.floor(Math.min(box.width, box.height * aspect)));
  canvas.style.width = width + 'px';
  canvas.style.height = Math.floor(width / aspect) + 'px';
});
stageSize.observe($('stage'));

function proofUi() {
  return {
    panel: $('proof'), headline: $('verdict-headline'), detail: $('verdict-detail'), progress: $('search-progress'),
    bar: $('search-bar'), progressLabel: $('search-label'), routeBox: $('route-box'), script: $('route-script'),
    rates: $('rates'), difficulty: $('difficulty'), kinder: $('kinder'), kindStatus: $('kind-status'),
    facts: $('route-facts'),
  };
}

function listShipped(shipped) {
  for (const level of shipped) {
    const option = document.createElement('option');
    option.value = level.number;
    option.textContent = `Level ${level.number}` + (level.about ? ` — ${level.about}` : '');
    $('shipped').append(option);
  }
  $('shipped').addEventListener('change', (event) => {
    const level = shipped.find((l) => String(l.number) === event.target.value);
    event.target.value = '';
    if (level) loading.text(level.text, `level ${level.number}`, { name: `level${level.number}.txt` });
    canvas.focus();
  }, { signal });
}

function wireControls() {
  onIssueClick($('issues'), (row, column) => view.flashCell(row, column), signal);
  loading.attach(() => editor.ready, signal);
  attachLevelOut(() => state.text, () => !state.errors, signal);
  const on = (id, type, listener) => $(id).addEventListener(type, listener, { signal });
  on('new-room', 'click', () => {
    if (loading.text(textOf(newRoomRows()), 'a new room', { name: 'zarvolith-level.txt', quiet: true }))
      message('A new room: walls all round that keep the glider in, a start at the top left and an exit in the floor at the right. Paint the rest; Undo brings back what was there.');
  });
  on('save', 'click', save);
  on('show-faces', 'change', (event) => showFaces(event.target.checked));
  on('show-route', 'change', (event) => view.set({ showRoute: event.target.checked }));
  on('undo', 'click', undo);
  on('redo', 'click', redo);
  document.addEventListener('keydown', onKey, { signal });
  // Buttons and boxes take no focus from the mouse, so that Space and the tile keys keep painting
  // rather than pressing the last button clicked.
  for (const control of document.querySelectorAll('#toolbar button, #toolbar input, #palette'))
    control.addEventListener('mousedown', (event) => event.preventDefault(), { signal });
}

// The page's parts, over the core's tiles.
function makeParts(tiles, known) {
  view = new LevelView(canvas, tiles);
  backdrops = new BackdropDrawing(view, (error) => message('The backdrop could not be drawn: ' + error.message, { error: true }));
  proof = new ProofPanel(proofUi(), core, [], {
    showRoute: (route) => view.set({ route }),
    keepRoute: (route) => keepSession({ route }),
    signal,
  });
  palette = new Palette($('palette'), $('tile-about'), tiles, (char) => {
    view.set({ brush: char });
    if (painting) painting.refresh();
    keepSession({ brush: char });
  }, signal);
  const brush = loadSession().brush;
  palette.select(tiles.some((t) => t.char === brush) || brush === EMPTY ? brush : ')');
  painting = new Painting(canvas, view, $('hover-info'), {
    rows: () => state.rows,
    brush: () => palette.brush,
    about: (char) => palette.about(char),
    change(rows, firstOfStroke) {
      if (firstOfStroke) proof.editing();
      setRows(rows);
    },
    strokeDone() {
      steps.push(state.text);
      keepSession({ history: steps.saved(KEPT_STEPS) });
      settle();
      updateButtons();
    },
  }, signal);
  loading = new LevelLoading(core, known, {
    text: () => state.text,
    load(rows, name) {
      if (name) state.fileName = name;
      steps.push(textOf(rows));
      setRows(rows);
      return state.issues.filter((i) => !i.warning).length;
    },
  });
}

// The draft, as it was left, with its undo history; a draft that no longer loads is replaced by
// a new room.
function restoreDraft(known) {
  const session = loadSession();
  const draft = loadDraft();
  const rows = (draft !== null && rowsForText(draft, core, known).rows) || newRoomRows();
  if (!steps.restore(session.history, textOf(rows))) steps.reset(textOf(rows));
  if (session.faces) showFaces(true);
  setRows(rows);
  if (draft !== null && textOf(rows) !== draft) message('The draft kept in this browser could not be read; this is a new room.', { error: true });
}

async function start() {
  const shippedFile = fetch('editor/shipped-levels.json').then((r) => (r.ok ? r.json() : { levels: [] }))
    .catch(() => ({ levels: [] }));
  core = await loadCore();
  const table = core.tiles();
  const tiles = table.tiles;
  const known = new Set([...tiles.map((t) => t.char), ...table.empty]);
  makeParts(tiles, known);
  wireControls();
  restoreDraft(known);

  const shipped = (await shippedFile).levels || [];
  proof.shipped = shipped;
  listShipped(shipped);
  await loading.fromHash();
  window.addEventListener('hashchange', () => loading.fromHash(), { signal });
  backdrops.tilePictures(tiles).then((pictures) => {
    view.set({ pictures });
    palette.drawIcons(pictures, $('show-faces').checked);
  }).catch((error) => message('The tile pictures could not be drawn: ' + error.message, { error: true }));
  editor.ready = true;
}

// Takes the page down: every listener goes, and so do the solver's work and a backdrop waiting
// to be drawn.
export function stop() {
  controller.abort();
  stageSize.disconnect();
  if (proof) proof.prover.stop();
  if (backdrops) clearTimeout(backdrops.timer);
  editor.ready = false;
}

startMessages(signal);
// A page left for good goes down; one kept for the Back button keeps going.
window.addEventListener('pagehide', (event) => event.persisted || stop(), { signal });

start().catch((error) => {
  message('The editor could not start: ' + (error && error.message ? error.message : error), { error: true });
  $('verdict-headline').textContent = 'The editor could not start.';
});
