// The level on the canvas as the game will show it: the core's backdrop, with the cells painted
// since it was drawn laid over it from the tile pictures, then the light grid, the glider at the
// start, the guarded faces (on request), the checker's marks, the winning route and the cell
// under the pointer. Drawing happens once per animation frame at most, and only when something
// changed.
import { BACKDROP, GRID, ROUTE_COLOURS } from '../game-facts.js';
import { COLUMNS, ROWS, START, cellAt } from './level-grid.js';
import { CELL, drawGlider } from './tile-pictures.js';

const BACKDROP_WIDTH = BACKDROP.width, BACKDROP_HEIGHT = BACKDROP.height;
// The route's dark edge lets a little of the level show through it here.
const OUTLINE_ALPHA = 0.85;
// Guarded faces: white where a wall stops the glider, pink where a hazard wrecks it, green where
// an exit ends the level; colours none of the tiles are drawn in.
export const FACE_COLOURS = { wall: '#ffffff', hazard: '#ff5ad9', exit: '#7dff5d' };
const MARK_COLOURS = { error: '#ff4d4d', warning: '#ffb020' };
const FLASH_MS = 1600;

// Each face the tile guards as a line along that side of its cell, over a dark edge so that it
// shows on any picture.
export function drawFaceLines(g, x, y, size, tile) {
  if (!tile.faces.length) return;
  const inset = size * 0.07, x0 = x + inset, y0 = y + inset, x1 = x + size - inset, y1 = y + size - inset;
  const sides = { left: [x0, y0, x0, y1], right: [x1, y0, x1, y1], top: [x0, y0, x1, y0], bottom: [x0, y1, x1, y1] };
  g.beginPath();
  for (const face of tile.faces) {
    const [ax, ay, bx, by] = sides[face];
    g.moveTo(ax, ay);
    g.lineTo(bx, by);
  }
  g.lineCap = 'round';
  g.strokeStyle = 'rgba(10,12,20,0.9)';
  g.lineWidth = size * 0.13;
  g.stroke();
  g.strokeStyle = FACE_COLOURS[tile.kind];
  g.lineWidth = size * 0.06;
  g.stroke();
  g.lineCap = 'butt';
}

// The route's key colours as CSS custom properties (--route-L, --route-R, --route-N) from the
// start, for the page's legend.
for (const key of ['L', 'R', 'N']) document.documentElement.style.setProperty(`--route-${key}`, ROUTE_COLOURS[key]);

export class LevelView {
  constructor(canvas, tiles) {
    Object.assign(canvas, { width: BACKDROP_WIDTH, height: BACKDROP_HEIGHT });
    canvas.style.aspectRatio = `${BACKDROP_WIDTH} / ${BACKDROP_HEIGHT}`;
    this.canvas = canvas;
    this.context = canvas.getContext('2d');
    this.faces = new Map(tiles.map((t) => [t.char, { kind: t.kind, faces: t.faces }]));
    this.rows = null;
    this.backdrop = null;      // a canvas with the core's backdrop of backdropRows
    this.backdropRows = null;
    this.pictures = null;      // TilePictures, once cut
    this.showFaces = false;
    this.showRoute = true;
    this.route = null;         // {points, keys, outcome, stop?} over the current rows
    this.routeLayer = null;    // the route drawn, made when first needed
    this.marks = [];           // [{row, column, warning}]
    this.flash = null;         // {row, column, until}
    this.hover = null;         // {row, column}
    this.brush = null;         // the character the pointer would paint
    this.queued = false;
  }

  set(changes) {
    Object.assign(this, changes);
    if ('route' in changes) this.routeLayer = null;
    this.invalidate();
  }

  invalidate() {
    if (this.queued) return;
    this.queued = true;
    requestAnimationFrame(() => {
      this.queued = false;
      this.draw();
    });
  }

  // The cell under a point of the page, or null off the grid.
  cellAtPoint(clientX, clientY) {
    const box = this.canvas.getBoundingClientRect();
    const column = Math.floor(((clientX - box.left) / box.width) * COLUMNS);
    const row = Math.floor(((clientY - box.top) / box.height) * ROWS);
    return row >= 0 && row < ROWS && column >= 0 && column < COLUMNS ? { row, column } : null;
  }

  flashCell(row, column) {
    this.flash = { row, column, until: performance.now() + FLASH_MS };
    this.invalidate();
  }

  draw() {
    const g = this.context;
    g.setTransform(1, 0, 0, 1, 0, 0);
    if (this.backdrop) g.drawImage(this.backdrop, 0, 0);
    else g.fillStyle = '#0c1730', g.fillRect(0, 0, BACKDROP_WIDTH, BACKDROP_HEIGHT);
    if (!this.rows) return;
    this.drawChangedCells(g);
    this.drawGrid(g);
    this.drawStarts(g);
    if (this.showFaces) this.drawFaces(g);
    if (this.showRoute && this.route) g.drawImage(this.routePicture(), 0, 0);
    this.drawMarks(g);
    this.drawHover(g);
  }

  // Cells that differ from the backdrop's level, from the pictures (or as letters before those).
  drawChangedCells(g) {
    for (let r = 0; r < ROWS; ++r) {
      for (let c = 0; c < COLUMNS; ++c) {
        const char = cellAt(this.rows, r, c);
        if (this.backdropRows && cellAt(this.backdropRows, r, c) === char) continue;
        if (this.pictures) {
          this.pictures.drawCell(g, r, c, char);
        } else if (!GRID.empty.includes(char) && char !== START) {
          g.fillStyle = 'rgba(255,255,255,0.12)';
          g.fillRect(c * CELL + 2, r * CELL + 2, CELL - 4, CELL - 4);
          g.fillStyle = '#e8ecf6';
          g.font = 'bold 28px monospace';
          g.textAlign = 'center';
          g.textBaseline = 'middle';
          g.fillText(char, (c + 0.5) * CELL, (r + 0.5) * CELL);
        }
      }
    }
  }

  drawGrid(g) {
    g.strokeStyle = 'rgba(200,215,255,0.10)';
    g.lineWidth = 1;
    g.beginPath();
    for (let c = 1; c < COLUMNS; ++c) g.moveTo(c * CELL, 0), g.lineTo(c * CELL, BACKDROP_HEIGHT);
    for (let r = 1; r < ROWS; ++r) g.moveTo(0, r * CELL), g.lineTo(BACKDROP_WIDTH, r * CELL);
    g.stroke();
  }

  // The glider at the start that counts (the last 'g'), and the others faint.
  drawStarts(g) {
    const starts = [];
    for (let r = 0; r < ROWS; ++r)
      for (let c = 0; c < COLUMNS; ++c) if (cellAt(this.rows, r, c) === START) starts.push([r, c]);
    starts.forEach(([r, c], i) => {
      g.globalAlpha = i === starts.length - 1 ? 1 : 0.4;
      drawGlider(g, (c + 0.5) * CELL, (r + 0.5) * CELL);
    });
    g.globalAlpha = 1;
  }

  drawFaces(g) {
    for (let r = 0; r < ROWS; ++r)
      for (let c = 0; c < COLUMNS; ++c) {
        const tile = this.faces.get(cellAt(this.rows, r, c));
        if (tile) drawFaceLines(g, c * CELL, r * CELL, CELL, tile);
      }
  }

  // The route is drawn once into a layer of its own: a long path is costly to draw every frame.
  routePicture() {
    if (!this.routeLayer) {
      this.routeLayer = Object.assign(document.createElement('canvas'), { width: BACKDROP_WIDTH, height: BACKDROP_HEIGHT });
      this.drawRoute(this.routeLayer.getContext('2d'));
    }
    return this.routeLayer;
  }

  // The route in the key's colour frame by frame, a dot where the key changes, and at its end a
  // ring when it wins or a cross when it does not.
  drawRoute(g) {
    const { points, keys, outcome } = this.route;
    const at = (i) => [points[2 * i], points[2 * i + 1]];
    const count = points.length / 2;
    if (count < 2) return;
    g.lineJoin = 'round';
    g.lineCap = 'round';
    g.beginPath();
    for (let i = 0; i < count; ++i) g[i ? 'lineTo' : 'moveTo'](...at(i));
    g.globalAlpha = OUTLINE_ALPHA;
    g.strokeStyle = ROUTE_COLOURS.outline;
    g.lineWidth = 6;
    g.stroke();
    g.globalAlpha = 1;
    for (let f = 0; f < keys.length;) {
      let end = f;
      while (end < keys.length && keys[end] === keys[f]) ++end;
      g.beginPath();
      for (let i = f; i <= end && i < count; ++i) g[i === f ? 'moveTo' : 'lineTo'](...at(i));
      g.strokeStyle = ROUTE_COLOURS[keys[f]];
      g.lineWidth = 3;
      g.stroke();
      f = end;
    }
    for (let f = 0; f < keys.length; ++f) {
      if (f > 0 && keys[f] === keys[f - 1]) continue;
      g.beginPath();
      g.arc(...at(f), 6, 0, 2 * Math.PI);
      g.fillStyle = ROUTE_COLOURS[keys[f]];
      g.fill();
      g.lineWidth = 2;
      g.globalAlpha = OUTLINE_ALPHA;
      g.strokeStyle = ROUTE_COLOURS.outline;
      g.stroke();
      g.globalAlpha = 1;
    }
    const [ex, ey] = at(count - 1);
    g.lineWidth = 3;
    if (outcome === 'won') {
      g.beginPath();
      g.arc(ex, ey, 10, 0, 2 * Math.PI);
      g.strokeStyle = ROUTE_COLOURS.won;
      g.stroke();
    } else {
      g.strokeStyle = ROUTE_COLOURS.crash;
      g.beginPath();
      g.moveTo(ex - 8, ey - 8), g.lineTo(ex + 8, ey + 8);
      g.moveTo(ex - 8, ey + 8), g.lineTo(ex + 8, ey - 8);
      g.stroke();
    }
    g.lineCap = 'butt';
    if (this.route.stop) this.drawStop(g, this.route.stop);
  }

  // The cell that wrecked or burnt a failed attempt, boxed in the crash colour.
  drawStop(g, { row, column }) {
    g.globalAlpha = OUTLINE_ALPHA;
    g.strokeStyle = ROUTE_COLOURS.outline;
    g.lineWidth = 7;
    g.strokeRect(column * CELL - 2, row * CELL - 2, CELL + 4, CELL + 4);
    g.globalAlpha = 1;
    g.strokeStyle = ROUTE_COLOURS.crash;
    g.lineWidth = 3;
    g.strokeRect(column * CELL - 2, row * CELL - 2, CELL + 4, CELL + 4);
  }

  drawMarks(g) {
    for (const mark of this.marks) {
      g.strokeStyle = mark.warning ? MARK_COLOURS.warning : MARK_COLOURS.error;
      g.lineWidth = 3;
      g.setLineDash(mark.warning ? [8, 5] : []);
      g.strokeRect(mark.column * CELL + 1.5, mark.row * CELL + 1.5, CELL - 3, CELL - 3);
    }
    g.setLineDash([]);
    const flash = this.flash;
    if (!flash) return;
    const left = flash.until - performance.now();
    if (left <= 0) {
      this.flash = null;
      return;
    }
    const pulse = 0.5 + 0.5 * Math.cos((left / 400) * 2 * Math.PI);
    g.fillStyle = `rgba(255,255,255,${0.15 + 0.35 * pulse})`;
    g.fillRect(flash.column * CELL, flash.row * CELL, CELL, CELL);
    g.strokeStyle = '#fff';
    g.lineWidth = 2 + 3 * pulse;
    g.strokeRect(flash.column * CELL - 4, flash.row * CELL - 4, CELL + 8, CELL + 8);
    this.invalidate();
  }

  // The cell under the pointer, with the brush's picture faintly on it.
  drawHover(g) {
    if (!this.hover) return;
    const { row, column } = this.hover;
    if (this.pictures && this.brush !== null && cellAt(this.rows, row, column) !== this.brush) {
      g.globalAlpha = 0.55;
      if (this.brush === START) drawGlider(g, (column + 0.5) * CELL, (row + 0.5) * CELL);
      else this.pictures.drawCell(g, row, column, this.brush);
      g.globalAlpha = 1;
    }
    g.strokeStyle = 'rgba(255,255,255,0.85)';
    g.lineWidth = 2;
    g.strokeRect(column * CELL + 1, row * CELL + 1, CELL - 2, CELL - 2);
  }
}
