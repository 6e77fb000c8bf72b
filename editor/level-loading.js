// Levels coming in: a file opened or dropped, pasted text, a shipped level, a link. Each is
// loaded as one undoable step, or refused with the reason and the level left as it was.
import { levelText, decodeLevel, codeFromHash, MAX_LEVEL_BYTES } from '../level-code.js';
import { GRID } from '../game-facts.js';
import { textOf, rowsForText } from './level-grid.js';
import { message, capital } from './messages.js';

const $ = (id) => document.getElementById(id);

export class LevelLoading {
  // editor: text(), and load(rows, name), which applies the rows and returns their error count.
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
    if (!quiet)
      message(`Loaded ${source}.` + (errors ? ` It has ${errors === 1 ? 'an error' : errors + ' errors'} to mend: see Checks.` : '') +
              ' Undo brings back what was there.');
    return true;
  }

  bytes(bytes, source, options) {
    const read = levelText(bytes);
    if (read.error) {
      message(`${capital(source)} was not loaded: ${read.error}.\nYour level is unchanged.`, { error: true });
      return false;
    }
    return this.text(read.text, source, options);
  }

  async file(file) {
    const source = `“${file.name}”`;
    if (file.size > MAX_LEVEL_BYTES) {
      message(`${source} was not loaded: the level is ${file.size} bytes; a level file is at most ${MAX_LEVEL_BYTES}.\nYour level is unchanged.`, { error: true });
      return;
    }
    try {
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
