// Each tile's picture as the game draws it, cut from the core's backdrops: one of a sampler level
// that holds every tile on its own, one of an empty level for the background. A tile's picture
// keeps only the pixels the tile changed (the rest is see-through), so it can be laid over any
// cell of the background for a quick preview while the real backdrop is being drawn. The start,
// which the backdrop does not draw, is the glider drawn here.
import { BACKDROP, GLIDER, GRID } from '../game-facts.js';
import { COLUMNS, ROWS, EMPTY, START } from './level-grid.js';

const BACKDROP_WIDTH = BACKDROP.width;
export const CELL = BACKDROP_WIDTH / COLUMNS;  // 51.2 backdrop pixels
// Hazards are a unit wider or taller than their cell; a picture keeps this margin around its cell.
export const MARGIN = 8;
const SIZE = Math.ceil(CELL + 2 * MARGIN);
// A difference this large, on the most changed channel, makes a pixel fully the tile's.
const OPAQUE_DIFFERENCE = 24;

// The sampler level: fires in the top row, so that their heat plumes rise out of the picture
// rather than over other tiles, and every other tile below with empty cells between.
export function samplerLevel(tiles) {
  const rows = Array.from({ length: ROWS }, () => Array(COLUMNS).fill(EMPTY));
  const places = new Map();
  const fires = tiles.filter((t) => t.kind === 'fire');
  const others = tiles.filter((t) => t.kind !== 'fire' && t.kind !== 'start');
  fires.forEach((t, i) => places.set(t.char, { row: 1, column: 2 + 4 * i }));
  others.forEach((t, i) => places.set(t.char, { row: 4 + 3 * Math.floor(i / 6), column: 1 + 3 * (i % 6) }));
  for (const [char, { row, column }] of places) rows[row][column] = char;
  return { text: rows.map((r) => r.join('') + '\n').join(''), places };
}

function canvasOf(width, height) {
  const canvas = document.createElement('canvas');
  canvas.width = width;
  canvas.height = height;
  return canvas;
}

// The glider as the game's sprite shows it, at its size in the game, nose to the right: the near
// wing over the keel, from the sprite's own outline.
export function drawGlider(context, centreX, centreY, scale = 1) {
  const w = (GLIDER.width / GRID.cellSize) * CELL * scale, h = (GLIDER.height / GRID.cellSize) * CELL * scale;
  const at = ([x, y]) => [centreX + (x - 0.5) * w, centreY + (y - 0.5) * h];
  const { nose, tailTop, fold, keelBottom, keelFront } = GLIDER.outline;
  const shape = (points, fill) => {
    context.beginPath();
    points.forEach((p, i) => context[i ? 'lineTo' : 'moveTo'](...at(p)));
    context.closePath();
    context.fillStyle = fill;
    context.fill();
    context.stroke();
  };
  context.save();
  context.lineJoin = 'round';
  context.lineWidth = 1.5 * scale;
  context.strokeStyle = '#1d2a4a';
  shape([tailTop, nose, fold], '#e4e9f4');
  shape([fold, nose, keelFront, keelBottom], '#a9b6d6');
  context.restore();
}

export class TilePictures {
  // sampler and empty: RGBA pixels of the two backdrops; places: where the sampler put each tile.
  constructor(tiles, sampler, empty, places) {
    this.background = canvasOf(BACKDROP_WIDTH, ROWS * CELL);
    this.background.getContext('2d').putImageData(new ImageData(empty, BACKDROP_WIDTH), 0, 0);
    this.sprites = new Map();
    for (const tile of tiles) {
      const place = places.get(tile.char);
      if (place) this.sprites.set(tile.char, this.cut(sampler, empty, place));
    }
  }

  // The tile's pixels around its sampler cell, each as opaque as it differs from the background,
  // with its colour unmixed from the background so that it looks the same over another one.
  cut(sampler, empty, { row, column }) {
    const canvas = canvasOf(SIZE, SIZE);
    const context = canvas.getContext('2d');
    const image = context.createImageData(SIZE, SIZE);
    const left = Math.round(column * CELL) - MARGIN, top = Math.round(row * CELL) - MARGIN;
    for (let y = 0; y < SIZE; ++y) {
      for (let x = 0; x < SIZE; ++x) {
        const from = ((top + y) * BACKDROP_WIDTH + left + x) * 4, to = (y * SIZE + x) * 4;
        let most = 0;
        for (let k = 0; k < 3; ++k) most = Math.max(most, Math.abs(sampler[from + k] - empty[from + k]));
        const alpha = Math.min(1, most / OPAQUE_DIFFERENCE);
        if (alpha === 0) continue;
        for (let k = 0; k < 3; ++k) image.data[to + k] = empty[from + k] + (sampler[from + k] - empty[from + k]) / alpha;
        image.data[to + 3] = Math.round(alpha * 255);
      }
    }
    context.putImageData(image, 0, 0);
    return canvas;
  }

  // Draws the cell as the backdrop would show it with this character on it (neighbours aside).
  drawCell(context, row, column, char) {
    const x = column * CELL, y = row * CELL;
    context.drawImage(this.background, x, y, CELL, CELL, x, y, CELL, CELL);
    const sprite = this.sprites.get(char);
    if (sprite) context.drawImage(sprite, Math.round(x) - MARGIN, Math.round(y) - MARGIN);
  }

  // A palette button's picture: the tile over a cell of the background from the middle of the
  // level; the start shows the glider, the eraser the bare background. overlay(context, x, y,
  // size), if given, draws over the cell's square in the picture's pixels.
  icon(char, pixels, overlay = null) {
    const canvas = canvasOf(pixels, pixels);
    const context = canvas.getContext('2d');
    const zoom = pixels / (CELL + 6);
    context.setTransform(zoom, 0, 0, zoom, -(7 * CELL - 3) * zoom, -(9 * CELL - 3) * zoom);
    context.drawImage(this.background, 0, 0);
    const sprite = this.sprites.get(char);
    if (sprite) context.drawImage(sprite, Math.round(7 * CELL) - MARGIN, Math.round(9 * CELL) - MARGIN);
    else if (char === START) drawGlider(context, 7.5 * CELL, 9.5 * CELL, 0.7);
    context.setTransform(1, 0, 0, 1, 0, 0);
    if (overlay) overlay(context, 3 * zoom, 3 * zoom, CELL * zoom);
    return canvas;
  }
}
