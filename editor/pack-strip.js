// The pack's levels as a strip of small pictures: a click shows a level, a drag moves it to where
// it is let go. Each picture carries the level's number, its state at a glance (errors, searching,
// winnable, no winning run) and its difficulty; the level shown is marked.
import { BACKDROP } from '../game-facts.js';
import { COLUMNS, ROWS, START, rowsOf, cellAt } from './level-grid.js';
import { CELL, drawGlider } from './tile-pictures.js';

const WIDTH = 96;
const HEIGHT = Math.round((WIDTH * BACKDROP.height) / BACKDROP.width);
// The pointer moves this far, in CSS pixels, before a press becomes a drag.
const DRAG_START = 6;
const STATE_WORDS = {
  error: 'has errors', searching: 'being searched', won: 'winnable', lost: 'no winning run found', unknown: 'waiting',
};

export class PackStrip {
  // actions: select(index), move(from, to). The signal ends its listeners.
  constructor(element, actions, signal) {
    this.element = element;
    this.actions = actions;
    this.pictures = null;  // TilePictures, once cut
    this.drawn = new Map();  // text -> its small picture, for the texts shown last
    this.press = null;  // {index, x, y, dragging}
    this.waiting = null;  // the items to show once the press ends
    const on = (type, listener) => element.addEventListener(type, listener, { signal });
    on('pointerdown', (event) => this.down(event));
    on('pointermove', (event) => this.drag(event));
    on('pointerup', (event) => this.up(event));
    on('pointercancel', () => this.cancel());
  }

  // items: [{text, summary: {state, errors, difficulty: {short, line}}}]; current: the one shown.
  show(items, current) {
    if (this.press) {
      this.waiting = [items, current];  // shown when the press ends, not under the pointer
      return;
    }
    const drawn = new Map();
    const nodes = items.map((item, index) => {
      const picture = this.drawn.get(item.text) || this.picture(item.text);
      drawn.set(item.text, picture);
      return this.item(index, item, picture, index === current);
    });
    this.drawn = drawn;
    this.element.replaceChildren(...nodes);
    const shown = nodes[current];
    if (shown) shown.scrollIntoView({ block: 'nearest', inline: 'nearest' });
  }

  setPictures(pictures) {
    this.pictures = pictures;
    this.drawn.clear();
  }

  item(index, { summary }, picture, shown) {
    const node = document.createElement('li');
    node.className = 'pack-level' + (shown ? ' shown' : '');
    node.dataset.index = index;
    node.dataset.state = summary.state;
    const words = summary.state === 'error' ? `${summary.errors} error${summary.errors === 1 ? '' : 's'}`
                                            : STATE_WORDS[summary.state];
    node.title = `Level ${index + 1}: ${words}` + (summary.difficulty ? `. ${summary.difficulty.line}` : '') +
                 '\nClick to edit it; drag to move it.';
    const canvas = picture.cloneNode(false);
    canvas.getContext('2d').drawImage(picture, 0, 0);
    const number = document.createElement('span');
    number.className = 'number';
    number.textContent = index + 1;
    const state = document.createElement('span');
    state.className = 'state';
    state.textContent = summary.difficulty ? summary.difficulty.short : words;
    node.append(canvas, number, state);
    return node;
  }

  // The level small, from the tile pictures once they are cut, and as coloured cells before.
  picture(text) {
    const canvas = document.createElement('canvas');
    Object.assign(canvas, { width: WIDTH, height: HEIGHT });
    const g = canvas.getContext('2d');
    const rows = rowsOf(text);
    const scale = WIDTH / BACKDROP.width;
    g.fillStyle = '#1a1d26';
    g.fillRect(0, 0, WIDTH, HEIGHT);
    g.setTransform(scale, 0, 0, scale, 0, 0);
    for (let row = 0; row < ROWS; ++row) {
      for (let column = 0; column < COLUMNS; ++column) {
        const char = cellAt(rows, row, column);
        if (char === START) drawGlider(g, (column + 0.5) * CELL, (row + 0.5) * CELL, 0.8);
        else if (this.pictures) this.pictures.drawCell(g, row, column, char);
        else if (char.trim() && char !== '.') g.fillStyle = '#6b7386', g.fillRect(column * CELL, row * CELL, CELL, CELL);
      }
    }
    return canvas;
  }

  indexAt(event) {
    const node = event.target.closest('.pack-level');
    return node && this.element.contains(node) ? Number(node.dataset.index) : null;
  }

  // The place a drag let go at x would put the level: the picture under it, or the end nearer.
  placeAt(x) {
    const nodes = [...this.element.children];
    const index = nodes.findIndex((node) => x < node.getBoundingClientRect().right);
    return index < 0 ? nodes.length - 1 : index;
  }

  down(event) {
    const index = this.indexAt(event);
    if (index === null || event.button !== 0) return;
    this.press = { index, x: event.clientX, y: event.clientY, dragging: false };
    this.element.setPointerCapture(event.pointerId);
    event.preventDefault();
  }

  drag(event) {
    const press = this.press;
    if (!press) return;
    if (!press.dragging && Math.hypot(event.clientX - press.x, event.clientY - press.y) < DRAG_START) return;
    press.dragging = true;
    const to = this.placeAt(event.clientX);
    for (const node of this.element.children) {
      const index = Number(node.dataset.index);
      node.classList.toggle('dragged', index === press.index);
      node.classList.toggle('drop-before', index === to && to < press.index);
      node.classList.toggle('drop-after', index === to && to > press.index);
    }
  }

  up(event) {
    const press = this.press;
    this.cancel();
    if (!press) return;
    if (press.dragging) this.actions.move(press.index, this.placeAt(event.clientX));
    else this.actions.select(press.index);
  }

  cancel() {
    this.press = null;
    for (const node of this.element.children) node.classList.remove('dragged', 'drop-before', 'drop-after');
    const waiting = this.waiting;
    this.waiting = null;
    if (waiting) this.show(...waiting);
  }
}
