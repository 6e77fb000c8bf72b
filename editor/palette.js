// The palette: every tile the core knows, with its picture, its key and its line on what it
// does, plus the eraser. Selecting one sets the brush.
import { EMPTY } from './level-grid.js';
import { drawFaceLines } from './level-view.js';

const ERASER_KEYS = [' ', 'Backspace', 'Delete', 'e'];
const KIND_ORDER = { start: 0, exit: 1, wall: 2, hazard: 3, fire: 4 };

export class Palette {
  // element: the palette's box; about: the line under it; onSelect(char) hears each selection;
  // signal ends the buttons' listeners.
  constructor(element, about, tiles, onSelect, signal) {
    this.element = element;
    this.aboutLine = about;
    this.tiles = tiles;
    this.onSelect = onSelect;
    this.brush = null;
    const entries = [EMPTY, ...tiles.slice().sort((a, b) =>
      KIND_ORDER[a.kind] - KIND_ORDER[b.kind] || (a.strength || 0) - (b.strength || 0)).map((t) => t.char)];
    for (const char of entries) {
      const button = document.createElement('button');
      button.className = 'tile';
      button.dataset.char = char;
      button.setAttribute('role', 'option');
      button.title = `${this.about(char)} (key: ${char === EMPTY ? 'Space, Backspace, Delete or E' : char})`;
      const key = document.createElement('span');
      key.className = 'key';
      key.textContent = char === EMPTY ? '␣' : char;
      button.append(document.createElement('canvas'), key);
      button.addEventListener('click', () => this.select(char), { signal });
      element.append(button);
    }
  }

  about(char) {
    if (char === EMPTY) return 'Eraser: an empty cell, which the glider flies through';
    return this.tiles.find((t) => t.char === char).about;
  }

  select(char) {
    this.brush = char;
    for (const button of this.element.children) {
      const selected = button.dataset.char === char;
      button.classList.toggle('selected', selected);
      button.setAttribute('aria-selected', selected);
    }
    const name = document.createElement('b');
    name.textContent = char === EMPTY ? 'Eraser' : `'${char}'`;
    const key = Object.assign(document.createElement('kbd'), { textContent: char === EMPTY ? 'Space' : char });
    this.aboutLine.replaceChildren(name, this.about(char) + '. ', key);
    this.onSelect(char);
  }

  // The brush a key picks (a tile's own character, either case where that is free), or null.
  brushForKey(key) {
    if (ERASER_KEYS.includes(key)) return EMPTY;
    if (key.length !== 1) return null;
    for (const char of [key, key.toUpperCase(), key.toLowerCase()])
      if (this.tiles.some((t) => t.char === char)) return char;
    return null;
  }

  // Each tile's picture, with its guarded faces when `faces` is set.
  drawIcons(pictures, faces) {
    if (!pictures) return;
    for (const button of this.element.children) {
      const tile = this.tiles.find((t) => t.char === button.dataset.char);
      const overlay = faces && tile ? (g, x, y, size) => drawFaceLines(g, x, y, size, tile) : null;
      button.firstChild.replaceWith(pictures.icon(button.dataset.char, 80, overlay));
    }
  }
}
