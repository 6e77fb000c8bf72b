// The pack being edited: its name, its levels in order and the level shown. Each level keeps its
// own undo history of strokes; adding, deleting, moving and loading levels are steps of the pack's
// layout. Every step is stamped as it is made, and undo takes back whichever step came last: a
// stroke of the level shown or a change of the layout.
import { PACK_LIMITS } from '../game-facts.js';
import { History } from './level-grid.js';

const LEVEL_STEPS = 500;
const LAYOUT_STEPS = 200;

function levelOf(text) {
  const steps = new History(LEVEL_STEPS);
  steps.reset(text);
  return { steps };
}

export class LevelPack {
  constructor(texts, name = '', current = 0) {
    this.clock = 0;
    this.levels = texts.map(levelOf);
    this.name = name;
    this.current = Math.max(0, Math.min(current, this.levels.length - 1));
    this.layout = new History(LAYOUT_STEPS);
    this.layout.reset(this.snapshot());
  }

  get level() { return this.levels[this.current]; }
  get text() { return this.level.steps.current; }
  get texts() { return this.levels.map((level) => level.steps.current); }
  get full() { return this.levels.length >= PACK_LIMITS.maxLevels; }
  get canUndo() { return this.layout.canUndo || this.level.steps.canUndo; }
  get canRedo() { return this.layout.canRedo || this.level.steps.canRedo; }

  snapshot() { return { levels: this.levels.slice(), current: this.current, name: this.name }; }

  // A new text for the level shown: one step of its own history.
  push(text) { return this.level.steps.push(text, ++this.clock); }

  // Shows another level; not a step.
  select(index) {
    if (index < 0 || index >= this.levels.length) return false;
    this.current = index;
    return true;
  }

  rename(name) {
    this.name = name;
    this.layout.current.name = name;
  }

  // A change of the layout; undone, it shows again the level shown when it was made.
  arrange(levels, current, name = this.name) {
    this.layout.current.current = this.current;
    this.levels = levels;
    this.current = current;
    this.name = name;
    this.layout.push(this.snapshot(), ++this.clock);
  }

  // Puts a level with the text at `at` (after the one shown by default) and shows it; false when
  // the pack is full.
  add(text, at = this.current + 1) {
    if (this.full) return false;
    const levels = this.levels.slice();
    levels.splice(at, 0, levelOf(text));
    this.arrange(levels, at);
    return true;
  }

  // Takes a level out; a pack keeps at least one.
  remove(index) {
    if (this.levels.length <= 1 || index < 0 || index >= this.levels.length) return false;
    const levels = this.levels.filter((_, i) => i !== index);
    const current = this.current > index || this.current === levels.length ? this.current - 1 : this.current;
    this.arrange(levels, current);
    return true;
  }

  // Moves a level to `to`, its place counted once it is out; the level shown stays shown.
  move(from, to) {
    if (from === to || from < 0 || to < 0 || from >= this.levels.length || to >= this.levels.length) return false;
    const shown = this.level;
    const levels = this.levels.slice();
    const [moving] = levels.splice(from, 1);
    levels.splice(to, 0, moving);
    this.arrange(levels, levels.indexOf(shown));
    return true;
  }

  // Replaces the whole pack, as one step.
  replace(texts, name) {
    this.arrange(texts.map(levelOf), 0, name);
  }

  restore({ levels, current, name }) {
    this.levels = levels.slice();
    this.current = current;
    this.name = name;
  }

  // Takes back the last step, of the layout or of the level shown; false when there is none.
  undo() {
    const steps = this.level.steps;
    if (this.layout.canUndo && this.layout.undoStamp > steps.undoStamp) {
      this.restore(this.layout.undo());
      return true;
    }
    return steps.undo() !== null;
  }

  redo() {
    const steps = this.level.steps;
    if (this.layout.canRedo && this.layout.redoStamp < steps.redoStamp) {
      this.restore(this.layout.redo());
      return true;
    }
    return steps.redo() !== null;
  }
}
