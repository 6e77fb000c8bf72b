// The level being edited, as 15 rows of characters, its undo history, and the rule that decides
// which texts may be loaded into it.
import { GRID } from '../game-facts.js';

export const COLUMNS = GRID.columns;
export const ROWS = GRID.rows;
// The empty cell the shipped levels use (the format also reads the others in GRID.empty).
export const EMPTY = GRID.empty[0];
// The cell the glider starts from; the last one counts.
export const START = GRID.start;

// The text's lines without their line ends, as the game reads them: a CR just before an LF
// belongs to the line end, and a last line without an LF still counts.
function splitLines(text) {
  const lines = text.split('\n');
  if (lines[lines.length - 1] === '') lines.pop();
  return lines.map((line) => (line.endsWith('\r') ? line.slice(0, -1) : line));
}

// The level file's text of the rows: each line ending in a line feed, as the game reads it.
export function textOf(rows) {
  return rows.map((row) => row + '\n').join('');
}

// The rows of a text that textOf wrote (the editor's own texts: draft, history, backdrop).
export function rowsOf(text) {
  return text.split('\n').slice(0, ROWS);
}

export function cellAt(rows, row, column) {
  return rows[row][column] ?? EMPTY;
}

// The rows with one cell changed; a row shorter than the cell is padded with empty cells, and an
// empty cell past the end of a row is already empty, so it changes nothing.
export function withCell(rows, row, column, char) {
  const line = rows[row];
  if (cellAt(rows, row, column) === char) return rows;
  const padded = line.length > column ? line : line + EMPTY.repeat(column - line.length + 1);
  const out = rows.slice();
  out[row] = padded.slice(0, column) + char + padded.slice(column + 1);
  return out;
}

// A room closed by walls that guard its inside faces, with a start at the top left and a
// two-cell exit in the floor at the right, so that it is a winnable level from the first moment.
export function newRoomRows() {
  const rows = [')' + '('.repeat(COLUMNS - 1)];
  for (let r = 1; r < ROWS - 1; ++r) rows.push(')' + EMPTY.repeat(COLUMNS - 2) + '(');
  rows.push(')'.repeat(COLUMNS - 3) + 'GG(');
  rows[1] = ')' + EMPTY + START + rows[1].slice(3);
  return rows;
}

// What a text loads as: {rows} or {refused: [messages]}, the first message saying in one line
// what the text is ("2 lines of text; a level has 15 lines of at most 20 characters; line 1 has 43").
//
// The rule: a text loads, even with checker errors, when every byte of it has a place on the
// 20x15 grid: at most 15 lines, none longer than 20 characters, every character a tile or an
// empty cell. Errors of that kind of text (no start, no exit, fewer than 15 lines, no line feed
// at the end) are what the editor is there to mend: missing lines are added empty, the last line
// gets its line feed, CR LF line ends become LF. Anything else would lose bytes on the grid or
// change what they mean, so it is refused with the checker's messages about those bytes, and the
// draft is left as it was. An empty text is refused too: it is a mistake, not a level.
export function rowsForText(text, core, known) {
  if (text.length === 0) return { refused: ['the text is empty'] };
  const lines = splitLines(text);
  const unknown = (line, column) => !known.has((lines[line - 1] || '')[column - 1] ?? EMPTY);
  const fits = lines.length <= ROWS && lines.every((line) => line.length <= COLUMNS) &&
               lines.every((line) => [...line].every((c) => known.has(c)));
  if (fits) {
    const rows = lines.slice();
    while (rows.length < ROWS) rows.push('');
    return { rows };
  }
  // The line end missing from a long last line is not what keeps the text off the grid.
  const lineEnd = (issue) => issue.column !== COLUMNS + 1 && issue.column === (lines[issue.line - 1] || '').length + 1;
  const off = core.check(text).issues.filter((issue) => !issue.warning && !lineEnd(issue) && (
    issue.line > ROWS ||
    (issue.column > COLUMNS && (lines[issue.line - 1] || '').length > COLUMNS) ||
    (issue.line > 0 && issue.column > 0 && issue.column <= COLUMNS && unknown(issue.line, issue.column))));
  const messages = off.map((issue) => `line ${issue.line}, column ${issue.column}: ${issue.message}`);
  return { refused: [shapeOf(lines, known), ...messages] };
}

const plural = (n, word) => `${n} ${word}${n === 1 ? '' : 's'}`;

// One line on what a text that is not a level is, measured against the grid: its lines, the
// longest of them, or the characters that are not tiles.
function shapeOf(lines, known) {
  const long = lines.map((line, i) => ({ line: i + 1, length: line.length })).filter((l) => l.length > COLUMNS);
  if (lines.length > ROWS || long.length) {
    const longest = long.reduce((a, b) => (b.length > a.length ? b : a), long[0] || null);
    const more = long.length > 1 ? ` (${long.length} lines are longer than ${COLUMNS})` : '';
    return `${plural(lines.length, 'line')} of text; a level has ${ROWS} lines of at most ${COLUMNS} characters` +
      (longest ? `; line ${longest.line} has ${longest.length}${more}` : '');
  }
  const strange = lines.reduce((n, line) => n + [...line].filter((c) => !known.has(c)).length, 0);
  return `${plural(strange, 'character')} that ${strange === 1 ? 'is' : 'are'} not a tile or an empty cell`;
}

// Undo and redo over whole level texts: each step is one text, a drag stroke or a load. Each step
// may carry a stamp, a number that rises with every change anywhere in the pack, so that undo can
// tell which of several histories changed last.
export class History {
  constructor(limit = 500) {
    this.limit = limit;
    this.steps = [];
    this.stamps = [];
    this.at = -1;
  }

  reset(text) {
    this.steps = [text];
    this.stamps = [0];
    this.at = 0;
  }

  get current() { return this.steps[this.at]; }
  get canUndo() { return this.at > 0; }
  get canRedo() { return this.at < this.steps.length - 1; }
  // The stamp of the step undo would take back, and of the step redo would bring back.
  get undoStamp() { return this.canUndo ? this.stamps[this.at] : -Infinity; }
  get redoStamp() { return this.canRedo ? this.stamps[this.at + 1] : Infinity; }

  // Adds a step, dropping the steps undone before it; the same text again adds nothing.
  push(text, stamp = 0) {
    if (text === this.current) return false;
    this.steps.splice(this.at + 1);
    this.stamps.splice(this.at + 1);
    this.steps.push(text);
    this.stamps.push(stamp);
    if (this.steps.length > this.limit) this.steps.shift(), this.stamps.shift();
    this.at = this.steps.length - 1;
    return true;
  }

  undo() { return this.canUndo ? this.steps[--this.at] : null; }
  redo() { return this.canRedo ? this.steps[++this.at] : null; }

  // The last `count` steps and the place in them, to be kept between visits.
  saved(count) {
    const first = Math.max(0, Math.min(this.steps.length - count, this.at - count + 1));
    const steps = this.steps.slice(first, first + count);
    return { steps, at: this.at - first };
  }

  // Takes back steps saved(); false (and nothing changed) unless they end at `text`, the level
  // shown, so that a history kept for another level never undoes into this one. Their stamps are
  // 0: older than any change made since the page opened.
  restore(kept, text) {
    if (!kept || !Array.isArray(kept.steps) || !kept.steps.every((s) => typeof s === 'string')) return false;
    const at = kept.at;
    if (!Number.isInteger(at) || at < 0 || at >= kept.steps.length || kept.steps[at] !== text) return false;
    this.steps = kept.steps.slice(-this.limit);
    this.stamps = this.steps.map(() => 0);
    this.at = at - (kept.steps.length - this.steps.length);
    if (this.at < 0) this.reset(text);
    return true;
  }
}
