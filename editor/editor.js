// The level editor page: paints the levels of a pack on the game's own backdrop, checks each and
// proves it winnable as it changes, keeps the draft in the browser, and opens, saves, shares and
// plays a level or the pack. This module holds the pack and wires the page's parts together.
import { BACKDROP, PACK_LIMITS } from '../game-facts.js';
import { loadCore } from './core-api.js';
import { loadDraft, keepDraft, loadSession, keepSession, KEPT_STEPS, KEPT_STEPS_HIDDEN } from './draft-store.js';
import { EMPTY, textOf, rowsOf, newRoomRows, rowsForText } from './level-grid.js';
import { LevelPack } from './level-pack.js';
import { PackBar } from './pack-bar.js';
import { LevelView } from './level-view.js';
import { ProofPanel } from './proof-panel.js';
import { message, startMessages } from './messages.js';
import { showChecks, onIssueClick } from './checks-list.js';
import { Palette } from './palette.js';
import { Painting } from './painting.js';
import { BackdropDrawing } from './backdrop-drawing.js';
import { LevelLoading } from './level-loading.js';
import { LevelGenerating } from './level-generating.js';
import { saveFile, attachLevelOut } from './level-out.js';

const $ = (id) => document.getElementById(id);
const canvas = $('level');

// The level shown: its rows and text (ahead of its history while a stroke is painted) and checks.
const state = { rows: null, text: '', issues: [], errors: false, fileName: 'zarvolith-level.txt', packFileName: null };
let pack = new LevelPack([textOf(newRoomRows())]);
let core, view, proof, palette, painting, backdrops, loading, packBar, generating;
// Every listener the page adds goes with this signal: stop() takes them all away.
const controller = new AbortController();
const { signal } = controller;

// What the page shows, read back without the DOM (tests/web/editor_test.py imports this module:
// a module is loaded once, so it finds the page's own).
export const editor = {
  ready: false,
  text: () => state.text,
  pack: () => ({ name: pack.name, texts: packTexts(), current: pack.current }),
  summaries: () => packTexts().map((text) => packBar.proof.summary(text)),
  verdict: () => (proof ? proof.verdict : null),
  issues: () => state.issues,
  marks: () => (view ? view.marks.map((m) => ({ line: m.row + 1, column: m.column + 1, warning: m.warning })) : []),
  brush: () => (palette ? palette.brush : null),
  backdropText: () => (view && view.backdropRows ? textOf(view.backdropRows) : null),
  flashing: () => (view && view.flash ? { line: view.flash.row + 1, column: view.flash.column + 1 } : null),
  picturesReady: () => !!(view && view.pictures),
  routeShown: () => !!(view && view.route && view.showRoute),
};

// The pack's texts, the level shown as it is now, even in the middle of a stroke.
function packTexts() {
  const texts = pack.texts;
  texts[pack.current] = state.text;
  return texts;
}

function packFile(texts = packTexts(), name = pack.name) {
  return core.writePack(name, texts);
}

// The draft as a pack file, kept on every change; a failure is said once until one succeeds.
let keepFailed = false;
function keepPack() {
  try {
    keepDraft(packFile().text);
    keepFailed = false;
  } catch (error) {
    if (!keepFailed) message('The draft could not be kept in this browser: ' + error.message, { error: true });
    keepFailed = true;
  }
}

// Every history and the level shown, kept after each step (the shown level keeps more steps).
function keepHistories() {
  keepSession({
    current: pack.current,
    histories: pack.levels.map((level, i) => level.steps.saved(i === pack.current ? KEPT_STEPS : KEPT_STEPS_HIDDEN)),
  });
}

// Every change goes through here: the draft is saved, the checker runs, the view redraws, and
// unless a stroke is still being painted, the backdrop and the proof start.
function setRows(rows) {
  state.rows = rows;
  state.text = textOf(rows);
  keepPack();
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
  else proof.prove(state.text, keptRoute(state.text));
  packBar.update();
}

// The route kept for a text on an earlier visit, {text, script, settled}, or null.
function keptRoute(text) {
  const kept = (loadSession().routes || {})[text];
  return kept ? { text, ...kept } : null;
}

function keepRoute({ text, script, settled }) {
  const texts = new Set(packTexts());
  const routes = Object.fromEntries(Object.entries(loadSession().routes || {}).filter(([t]) => texts.has(t)));
  keepSession({ routes: { ...routes, [text]: { script, settled } } });
}

// Shows the pack's level as it stands after a step or a choice of level.
function showLevel() {
  setRows(rowsOf(pack.text));
  keepHistories();
}

function undo() {
  if (!painting.active && pack.undo()) showLevel();
}
function redo() {
  if (!painting.active && pack.redo()) showLevel();
}

// Plays from the level shown to the end of the pack; every level on the way must be free of errors.
function playFrom() {
  const texts = packTexts().slice(pack.current);
  const bad = texts.findIndex((text) => packBar.errorsOf(text) > 0);
  return bad < 0 ? { texts } : { error: `level ${pack.current + bad + 1} has errors` };
}

function updateButtons() {
  $('undo').disabled = !pack.canUndo;
  $('redo').disabled = !pack.canRedo;
  const play = playFrom();
  $('play').disabled = !!play.error;
  const rest = pack.levels.length - pack.current;
  $('play').title = play.error ? `Mend the errors first: ${play.error}` :
    rest > 1 ? `Play the pack in the game from this level on (${rest} levels)` : 'Play this level in the game';
}

function showFaces(on) {
  $('show-faces').checked = on;
  view.set({ showFaces: on });
  palette.drawIcons(view.pictures, on);
  keepSession({ faces: on });
}

function save() {
  saveFile(state.text, state.fileName);
  message(`Saved ${state.fileName}, ${state.rows.length} lines, to the browser's downloads.`);
}

// A file name for the pack: the one it was opened from, or one made from its name.
function packFileName() {
  if (state.packFileName) return state.packFileName;
  const stem = pack.name.toLowerCase().replace(/[^a-z0-9]+/g, '-').replace(/^-|-$/g, '');
  return (stem || 'zarvolith-pack') + '.zvpack';
}

function savePack() {
  const written = packFile();
  const name = packFileName();
  saveFile(written.text, name);
  const count = pack.levels.length === 1 ? '1 level' : `${pack.levels.length} levels`;
  message(`Saved ${name}, ${count}, to the browser's downloads.` +
          (written.errors ? ' Some levels have errors: the game refuses the pack until they are mended.' : ''));
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
  attachLevelOut(() => state.text, () => ({
    ...playFrom(), name: pack.name, count: pack.levels.length, file: packFile(), packText: (name, texts) => packFile(texts, name).text,
  }), signal);
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

// The pack's bar, over the pack and the level shown.
function makePackBar() {
  return new PackBar(core, {
    pack: () => pack,
    texts: packTexts,
    busy: () => painting.active,
    stepped: showLevel,
    renamed() {
      keepPack();
      updateButtons();
    },
    savePack,
  }, signal);
}

// The page's parts, over the core's tiles.
function makeParts(tiles, known) {
  view = new LevelView(canvas, tiles);
  backdrops = new BackdropDrawing(view, (error) => message('The backdrop could not be drawn: ' + error.message, { error: true }));
  proof = new ProofPanel(proofUi(), core, [], {
    showRoute: (route) => view.set({ route }),
    keepRoute,
    summary: (text, summary) => packBar.proof.tell(text, summary),
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
      pack.push(state.text);
      keepHistories();
      settle();
      updateButtons();
    },
  }, signal);
  packBar = makePackBar();
  loading = new LevelLoading(core, known, {
    text: () => state.text,
    load(rows, name) {
      if (painting.active) return null;
      if (name) state.fileName = name;
      pack.push(textOf(rows));
      showLevel();
      return state.issues.filter((i) => !i.warning).length;
    },
    loadPack(name, texts, fileName) {
      if (painting.active) return false;
      state.packFileName = fileName;
      pack.replace(texts, name);
      packBar.rename(name);
      showLevel();
      return true;
    },
  });
}

// The draft, as it was left, with its undo histories: a pack file, or a level's text as drafts
// were kept before packs. A draft that no longer loads is replaced by a new room.
function restoreDraft(known) {
  const session = loadSession();
  const draft = loadDraft();
  const texts = draftTexts(draft, known);
  const histories = session.histories || [session.history];
  pack = new LevelPack(texts.texts, texts.name, session.current || 0);
  pack.levels.forEach((level, i) => level.steps.restore(histories[i], level.steps.current));
  packBar.rename(pack.name);
  if (session.faces) showFaces(true);
  setRows(rowsOf(pack.text));
  if (draft !== null && texts.damaged) message('The draft kept in this browser could not be read; this is a new room.', { error: true });
}

function draftTexts(draft, known) {
  const room = { texts: [textOf(newRoomRows())], name: '', damaged: draft !== null };
  if (draft === null) return room;
  if (!draft.startsWith(PACK_LIMITS.heading)) {
    const rows = rowsForText(draft, core, known).rows;
    return rows ? { texts: [textOf(rows)], name: '', damaged: textOf(rows) !== draft } : room;
  }
  const read = core.readPack(draft);
  const levels = read.levels.map((text) => rowsForText(text, core, known).rows);
  if (!levels.length || !levels.every(Boolean)) return room;
  return { texts: levels.map(textOf), name: read.name, damaged: false };
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
  packBar.setShipped(shipped);
  generating = new LevelGenerating($('generate'), loading, signal);
  generating.setShipped(shipped);
  await loading.fromHash();
  window.addEventListener('hashchange', () => loading.fromHash(), { signal });
  backdrops.tilePictures(tiles).then((pictures) => {
    view.set({ pictures });
    packBar.setPictures(pictures);
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
  if (packBar) packBar.proof.stop();
  if (generating) generating.stop();
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
