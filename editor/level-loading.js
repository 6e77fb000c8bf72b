// Levels coming in: a file opened or dropped, pasted text, a shipped level, a link; and whole
// packs the same ways. Each is loaded as one undoable step, or refused with the reason and the
// draft left as it was.
import { levelText, levelBytes, decodeLevel, codeFromHash, LEVEL, PACK } from '../level-code.js';
import { GRID, PACK_LIMITS } from '../game-facts.js';
import { textOf, rowsForText } from './level-grid.js';
import { message, capital } from './messages.js';

const $ = (id) => document.getElementById(id);
const HEADING = [...PACK_LIMITS.heading].map((c) => c.charCodeAt(0));

// A pack file opens with its heading; anything else is taken for a level.
const isPack = (bytes) => bytes.length >= HEADING.length && HEADING.every((b, i) => bytes[i] === b);

export class LevelLoading {
  // editor: text(); load(rows, name), which applies the rows and returns their error count (null
  // when it cannot now); loadPack(name, texts, fileName), which replaces the pack (false when it
  // cannot now).
  constructor(core, known, editor) {
    this.core = core;
    this.known = known;
    this.editor = editor;
  }

  // Loads a text, or refuses it (see rowsForText) and keeps the level; true when loaded.
  text(text, source, { name = null, quiet = false, sameQuietly = false } = {}) {
    const loaded = rowsForText(text, this.core, this.known);
    if (loaded.refused) {
      const [what, ...details] = loaded.refused;
      const shown = details.slice(0, 4).join('\n');
      const more = details.length > 4 ? `\n…and ${details.length - 4} more` : '';
      message(`${capital(source)} was not loaded: ${what}.\n${shown}${more}${shown ? '\n' : ''}Your level is unchanged.`, { error: true });
      return false;
    }
    if (textOf(loaded.rows) === this.editor.text()) {
      if (!quiet && !sameQuietly) message(`${capital(source)} is the level shown already.`);
      return true;
    }
    const errors = this.editor.load(loaded.rows, name);
    if (errors === null) return false;
    if (!quiet)
      message(`Loaded ${source}.` + (errors ? ` It has ${errors === 1 ? 'an error' : errors + ' errors'} to mend: see Checks.` : '') +
              ' Undo brings back what was there.');
    return true;
  }

  bytes(bytes, source, options) {
    if (isPack(bytes)) return this.pack(bytes, source, options);
    const read = levelText(bytes);
    if (read.error) {
      message(`${capital(source)} was not loaded: ${read.error}.\nYour level is unchanged.`, { error: true });
      return false;
    }
    return this.text(read.text, source, options);
  }

  // A pack file's bytes: loaded whole when the game's pack reader finds no error in them.
  pack(bytes, source, { name = null } = {}) {
    const read = levelText(bytes, PACK);
    const reading = read.error ? { issues: [{ message: read.error }] } : this.core.readPack(read.text);
    const errors = reading.issues.filter((issue) => !issue.warning);
    if (errors.length) {
      const shown = errors.slice(0, 4).map((i) => (i.line ? `line ${i.line}, column ${i.column}: ` : '') + i.message);
      const more = errors.length > 4 ? `\n…and ${errors.length - 4} more` : '';
      message(`${capital(source)} was not loaded: the level pack has ${errors.length === 1 ? 'an error' : errors.length + ' errors'}.\n` +
              `${shown.join('\n')}${more}\nYour pack is unchanged.`, { error: true });
      return false;
    }
    if (!this.editor.loadPack(reading.name, reading.levels.map((text) => textOf(rowsForText(text, this.core, this.known).rows)), name))
      return false;
    const count = reading.levels.length === 1 ? '1 level' : `${reading.levels.length} levels`;
    message(`Loaded ${source}: ${reading.name ? `“${reading.name}”, ` : ''}a pack of ${count}. Undo brings back what was there.`);
    return true;
  }

  async file(file) {
    const source = `“${file.name}”`;
    try {
      const kind = isPack(new Uint8Array(await file.slice(0, HEADING.length).arrayBuffer())) ? PACK : LEVEL;
      const what = kind === PACK ? 'pack' : 'level';
      if (file.size > kind.maxBytes) {
        message(`${source} was not loaded: the ${kind.noun} is ${file.size} bytes; a ${kind.noun} file is at most ${kind.maxBytes}.\nYour ${what} is unchanged.`, { error: true });
        return;
      }
      this.bytes(new Uint8Array(await file.arrayBuffer()), source, { name: file.name });
    } catch (error) {
      message(`${source} could not be read: ${error.message}.\nYour level is unchanged.`, { error: true });
    }
  }

  // Pasted text arrives as Unicode; as UTF-8 bytes, anything beyond ASCII is an unknown character.
  pasted(text) {
    return this.bytes(new TextEncoder().encode(text), 'the pasted text');
  }

  async fromHash() {
    const packCode = codeFromHash(location.hash, PACK);
    if (packCode !== null) {
      history.replaceState(null, '', location.pathname + location.search);
      const decoded = await decodeLevel(packCode, PACK);
      if (decoded.error) message(`The pack in the link was not loaded: ${decoded.error}.\nYour draft is kept.`, { error: true });
      else this.pack(levelBytes(decoded.text), 'the pack from the link');
      return;
    }
    const code = codeFromHash(location.hash);
    if (code === null) return;
    // The link has done its work: a reload now shows the draft, with whatever was done since.
    history.replaceState(null, '', location.pathname + location.search);
    const decoded = await decodeLevel(code);
    if (decoded.error) message(`The level in the link was not loaded: ${decoded.error}.\nYour draft is kept.`, { error: true });
    // Back from playing it, the link's level is usually the draft already: nothing to say then.
    else this.text(decoded.text, 'the level from the link', { sameQuietly: true });
  }

  // The page's ways in: the Open button, the paste dialog, Ctrl+V and dropping on the page,
  // until the signal ends them.
  attach(ready, signal) {
    const on = (target, type, listener) => target.addEventListener(type, listener, { signal });
    on($('open'), 'click', () => $('file').click());
    on($('file'), 'change', async (event) => {
      const file = event.target.files[0];
      event.target.value = '';
      if (file) await this.file(file);
    });
    $('paste-shape').textContent = `${GRID.rows} lines of at most ${GRID.columns} characters, as in a level file.`;
    on($('paste'), 'click', () => {
      $('paste-text').value = '';
      $('paste-dialog').showModal();
    });
    on($('paste-dialog'), 'close', () => {
      if ($('paste-dialog').returnValue === 'load') this.pasted($('paste-text').value);
    });
    // Ctrl+V of level text anywhere but in a text field.
    on(document, 'paste', (event) => {
      if (!ready() || event.target.closest('input, textarea')) return;
      const text = event.clipboardData.getData('text/plain');
      if (!text) return;
      event.preventDefault();
      this.pasted(text);
    });
    let dragDepth = 0;
    on(document, 'dragenter', (event) => {
      if (!event.dataTransfer.types.includes('Files')) return;
      ++dragDepth;
      $('drop-cover').hidden = false;
    });
    on(document, 'dragleave', () => {
      if (--dragDepth <= 0) dragDepth = 0, ($('drop-cover').hidden = true);
    });
    on(document, 'dragover', (event) => event.preventDefault());
    on(document, 'drop', (event) => {
      event.preventDefault();
      dragDepth = 0;
      $('drop-cover').hidden = true;
      const file = event.dataTransfer.files[0];
      if (file) this.file(file);
      else if (event.dataTransfer.getData('text/plain')) this.pasted(event.dataTransfer.getData('text/plain'));
    });
  }
}
