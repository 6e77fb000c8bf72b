// The level's backdrop, drawn by the core in a worker once painting pauses, and the tile
// pictures cut from two backdrops of its own. One worker draws them all: the tile pictures' two
// are never stopped and the level's wait for them; a level's backdrop is stopped by a newer one,
// and one stopped by the pictures' is asked for again.
import { JobRunner } from './prover.js';
import { BACKDROP } from '../game-facts.js';
import { EMPTY, rowsOf } from './level-grid.js';
import { TilePictures, samplerLevel } from './tile-pictures.js';

// Painting pauses this long before the real backdrop is drawn.
const DELAY_MS = 150;

export class BackdropDrawing {
  // view: the LevelView that shows them; failed(error) hears what could not be drawn.
  constructor(view, failed) {
    this.view = view;
    this.failed = failed;
    this.runner = new JobRunner({ spare: false });
    this.timer = 0;
    this.request = 0;
    this.picturesJob = Promise.resolve();
    this.firstShown = new Promise((resolve) => (this.shown = resolve));
  }

  // Draws the text's backdrop once no newer text has come for DELAY_MS.
  soon(text) {
    clearTimeout(this.timer);
    this.timer = setTimeout(() => this.draw(text), DELAY_MS);
  }

  pictureBackdrop(text) {
    const job = this.picturesJob.then(() => this.runner.run({ type: 'backdrop', text }));
    this.picturesJob = job.catch(() => {});
    return job;
  }

  async draw(text) {
    const request = ++this.request;
    let done = null;
    try {
      while (!done && request === this.request) {
        await this.picturesJob;
        if (request === this.request) done = await this.runner.run({ type: 'backdrop', text });
      }
    } catch (error) {
      this.failed(error);
      return;
    }
    if (!done) return;
    // Decoded into a bitmap off the page's thread, so that the page never waits for the pixels.
    const bitmap = await createImageBitmap(new ImageData(done.result, BACKDROP.width, BACKDROP.height));
    if (request !== this.request && this.view.backdrop) return bitmap.close();
    if (this.view.backdrop) this.view.backdrop.close();
    this.view.set({ backdrop: bitmap, backdropRows: rowsOf(text) });
    this.shown();
  }

  // The tile pictures, cut once the level's first backdrop is up so that it comes first.
  async tilePictures(tiles) {
    await this.firstShown;
    const sampler = samplerLevel(tiles);
    const drawn = await this.pictureBackdrop(sampler.text);
    const empty = await this.pictureBackdrop(EMPTY + '\n');
    return new TilePictures(tiles, drawn.result, empty.result, sampler.places);
  }
}
