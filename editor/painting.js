// Painting on the level view with a pointer (mouse, pen or finger): the left button paints the
// brush, the right button erases, a drag paints every cell on its way, and one stroke is one
// step of the undo history.
import { GRID } from '../game-facts.js';
import { EMPTY, cellAt, withCell } from './level-grid.js';

const HINT = 'Left button paints the selected tile, right button erases. Drag to paint a line.';
const lower = (text) => text[0].toLowerCase() + text.slice(1);

export class Painting {
  // editor: rows(), brush(), about(char), change(rows, firstOfStroke) and strokeDone(); signal
  // ends the canvas's listeners.
  constructor(canvas, view, hoverLine, editor, signal) {
    this.view = view;
    this.hoverLine = hoverLine;
    this.editor = editor;
    this.stroke = null;  // {char, last: {row, column}, changed}
    this.hovered = null; // the cell under the pointer, {row, column}, or null
    const on = (type, listener) => canvas.addEventListener(type, listener, { signal });
    on('contextmenu', (event) => event.preventDefault());
    on('pointerdown', (event) => {
      if (!editor.rows() || (event.button !== 0 && event.button !== 2) || this.stroke) return;
      const cell = view.cellAtPoint(event.clientX, event.clientY);
      if (!cell) return;
      event.preventDefault();
      canvas.focus();
      canvas.setPointerCapture(event.pointerId);
      this.stroke = { char: event.button === 2 ? EMPTY : editor.brush(), last: cell, changed: false };
      this.paintLine(cell, cell);
    });
    on('pointermove', (event) => {
      if (!editor.rows()) return;
      const cell = view.cellAtPoint(event.clientX, event.clientY);
      this.hover(cell);
      if (!this.stroke || !cell) return;
      this.paintLine(this.stroke.last, cell);
      this.stroke.last = cell;
    });
    for (const end of ['pointerup', 'pointercancel', 'lostpointercapture']) on(end, () => this.end());
    on('pointerleave', () => this.hover(null));
  }

  get active() { return this.stroke !== null; }

  hover(cell) {
    this.hovered = cell;
    this.view.set({ hover: cell });
    this.refresh();
  }

  // The line under the level says what lies under the pointer now, and what a click would do
  // with the tile chosen now: it is redrawn after every change of either.
  refresh() {
    const cell = this.hovered;
    if (!cell || !this.editor.rows()) {
      this.hoverLine.textContent = HINT;
      return;
    }
    const char = cellAt(this.editor.rows(), cell.row, cell.column);
    const brush = this.editor.brush();
    // The tile's name only ("fire, strength 10"): its whole line is in the palette.
    const what = GRID.empty.includes(char) ? 'empty' : `'${char}', ${lower(this.editor.about(char).split(':')[0])}`;
    const click = brush === char ? 'the left button keeps it' :
      brush === EMPTY ? 'the left button erases it' : `the left button paints '${brush}'`;
    this.hoverLine.textContent = `Line ${cell.row + 1}, column ${cell.column + 1}: ${what}. ` +
      `${click[0].toUpperCase() + click.slice(1)}${GRID.empty.includes(char) ? '' : ', the right erases it'}.`;
  }

  // Every cell on the line between the two, so that a fast drag leaves no gaps.
  paintLine(from, to) {
    const before = this.editor.rows();
    let rows = before;
    const cells = Math.max(Math.abs(to.row - from.row), Math.abs(to.column - from.column));
    for (let i = 0; i <= cells; ++i) {
      const t = cells ? i / cells : 0;
      rows = withCell(rows, Math.round(from.row + (to.row - from.row) * t),
                      Math.round(from.column + (to.column - from.column) * t), this.stroke.char);
    }
    if (rows === before) return;
    const first = !this.stroke.changed;
    this.stroke.changed = true;
    this.editor.change(rows, first);
  }

  end() {
    const stroke = this.stroke;
    if (!stroke) return;
    this.stroke = null;
    if (stroke.changed) this.editor.strokeDone();
  }
}
