// The pack's bar under the level: its name, its strip of levels, the buttons that add and delete
// levels and save the pack, and its difficulty curve beside the shipped levels'.
import { PACK_LIMITS } from '../game-facts.js';
import { textOf, newRoomRows } from './level-grid.js';
import { PackStrip } from './pack-strip.js';
import { PackProof } from './pack-proof.js';
import { drawCurve } from './pack-curve.js';
import { message } from './messages.js';

const $ = (id) => document.getElementById(id);
// Control characters have no place in a pack's name; the pack reader refuses them.
const CONTROL = /[\u0000-\u001f\u007f-\u009f]/g;

export class PackBar {
  // editor: pack() (the LevelPack), texts() (its texts as shown now), busy() (a stroke is being
  // painted), stepped() (shows the pack after a step or a choice of level) and savePack().
  constructor(core, editor, signal) {
    this.core = core;
    this.editor = editor;
    this.checks = new Map();  // text -> its error count
    this.shipped = [];
    this.proof = new PackProof(() => this.refresh());
    this.strip = new PackStrip($('pack-levels'), {
      select: (index) => this.act(() => this.editor.pack().select(index)),
      move: (from, to) => this.act(() => this.editor.pack().move(from, to)),
    }, signal);
    this.wire(signal);
  }

  wire(signal) {
    const on = (id, type, listener) => $(id).addEventListener(type, listener, { signal });
    on('add-room', 'click', () => this.add(textOf(newRoomRows()), 'a new room'));
    on('add-copy', 'click', () => this.add(this.editor.texts()[this.editor.pack().current], 'a copy of this level'));
    on('add-shipped', 'change', (event) => {
      const level = this.shipped.find((l) => String(l.number) === event.target.value);
      event.target.value = '';
      if (level) this.add(level.text, `level ${level.number}`);
    });
    on('delete-level', 'click', () => {
      const pack = this.editor.pack();
      const number = pack.current + 1;
      if (this.act(() => pack.remove(pack.current))) message(`Level ${number} was deleted from the pack. Undo brings it back.`);
    });
    on('pack-name', 'input', (event) => {
      const clean = event.target.value.replace(CONTROL, '');
      if (clean !== event.target.value) event.target.value = clean;
      this.editor.pack().rename(clean);
      this.editor.renamed();
    });
    on('save-pack', 'click', () => this.editor.savePack());
    new ResizeObserver(() => this.drawCurve()).observe($('pack-curve'));
  }

  // Runs a change of the pack unless a stroke is being painted; true when it changed.
  act(change) {
    if (this.editor.busy() || !change()) return false;
    this.editor.stepped();
    return true;
  }

  add(text, what) {
    const pack = this.editor.pack();
    if (pack.full) {
      message(`The pack is full: a pack holds at most ${PACK_LIMITS.maxLevels} levels.`, { error: true });
      return;
    }
    if (this.act(() => pack.add(text))) message(`Added ${what} as level ${pack.current + 1}. Undo takes it out again.`);
  }

  rename(name) { $('pack-name').value = name; }

  setShipped(shipped) {
    this.shipped = shipped;
    for (const level of shipped) {
      const option = document.createElement('option');
      option.value = level.number;
      option.textContent = `Level ${level.number}` + (level.about ? ` — ${level.about}` : '');
      $('add-shipped').append(option);
    }
    this.proof.setShipped(shipped);
  }

  setPictures(pictures) {
    this.strip.setPictures(pictures);
    this.refresh();
  }

  // A level's error count, checked once per text.
  errorsOf(text) {
    if (!this.checks.has(text)) this.checks.set(text, this.core.check(text).issues.filter((i) => !i.warning).length);
    return this.checks.get(text);
  }

  // After any change: the checks and proofs of the levels not shown, then what the bar shows.
  update() {
    const pack = this.editor.pack();
    const texts = this.editor.texts();
    const levels = texts.map((text) => ({ text, errors: this.errorsOf(text) }));
    for (const text of this.checks.keys()) if (!texts.includes(text)) this.checks.delete(text);
    this.proof.update(levels, texts[pack.current]);
    this.refresh();
  }

  refresh() {
    const pack = this.editor.pack();
    const texts = this.editor.texts();
    this.strip.show(texts.map((text) => ({ text, summary: this.proof.summary(text) })), pack.current);
    $('pack-count').textContent = `Level ${pack.current + 1} of ${texts.length}`;
    $('delete-level').disabled = texts.length <= 1;
    for (const id of ['add-room', 'add-copy', 'add-shipped']) $(id).disabled = pack.full;
    this.drawCurve();
  }

  drawCurve() {
    const texts = this.editor.texts();
    const rateOf = (summary) => (summary.rate === undefined ? null : summary.rate);
    const shipped = this.shipped.map((level) => rateOf(this.proof.summary(level.text)));
    drawCurve($('pack-curve'), texts.map((text) => rateOf(this.proof.summary(text))), shipped, this.editor.pack().current);
  }
}
