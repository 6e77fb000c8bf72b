// "#daily" plays today's pack (the date in UTC), "#daily=2026-12-24" a given day's: ten levels the
// editor's core generates from the date, the same on every device, each about as hard as a shipped
// level. The game loads while the first is made; the rest are made in a worker while the player
// flies, and a level whose next one is not made yet waits at its start until it is, so the game
// never ends early.
import { DAILY_LIKE } from './game-facts.js';
import { Module } from './game-module.js';
import { levelBytes } from './level-code.js';
import { play } from './play.js';

const $ = (id) => document.getElementById(id);

export const DAILY = { noun: 'daily pack', key: 'daily' };
export const LEVEL_COUNT = DAILY_LIKE.length;

// The date a hash asks for: today's for "#daily", the given one for "#daily=DATE", or null when the
// hash is not a daily link. The core judges whether it is a real day.
export function dailyDate(hash) {
  const m = /^#daily(?:=(.*))?$/.exec(hash);
  if (!m) return null;
  if (m[1] === undefined) return new Date().toISOString().slice(0, 10);
  try {
    return decodeURIComponent(m[1]);
  } catch {
    return m[1];
  }
}

// The page's link to a day's pack.
export const dailyUrl = (date) => new URL(`index.html#daily=${date}`, location.href).href;

// Makes the date's levels in a worker, one after another, and writes each into the game's files
// once its runtime is up. Then the level played waits while the next one is being made.
export class DailyPack {
  constructor(date, { onRefused, onLevelMade }) {
    this.date = date;
    this.onRefused = onRefused;
    this.onLevelMade = onLevelMade;
    this.made = [];        // {text, png} of the levels made, in order
    this.written = 0;      // how many of them the game's files hold
    this.runtimeUp = false;
    this.gaveUp = false;   // a level could not be made: the pack ends before it
    this.first = new Promise((resolve) => { this.firstMade = resolve; });
    play.nextLevelReady = (number) => this.gaveUp || number >= LEVEL_COUNT || this.written > number;
  }

  // Makes the levels in order; install() lets the game start once the first is made. A level that
  // cannot be made ends the pack before it (onRefused says why and at which index).
  async start() {
    try {
      const { JobRunner } = await import('./editor/prover.js');
      this.runner = new JobRunner({ spare: false });
      const shipped = await fetch('editor/shipped-levels.json').then((r) => r.json());
      this.targets = DAILY_LIKE.map((n) => {
        const at100 = shipped.levels[n - 1].rates['100'];
        return at100.wins / at100.trials;
      });
      for (let index = 0; index < LEVEL_COUNT; ++index) {
        const level = await this.make(index);
        if (!level) break;
        this.made.push(level);
        this.writeMade();
        if (index === 0) this.firstMade(true);
      }
    } catch (error) {
      this.refuse(String(error.message || error), this.made.length);
    } finally {
      this.firstMade(false);
      if (this.runner) this.runner.stop();
    }
  }

  // No level after this one: a level held for it goes on, and the page says why.
  refuse(why, index) {
    this.gaveUp = true;
    this.onLevelMade(this.written);
    this.onRefused(why, index);
  }

  // Level index made and its backdrop drawn, {text, png}; or null, with onRefused told why.
  async make(index) {
    const made = await this.runner.run({ type: 'dailyLevel', date: this.date, index, target: this.targets[index] });
    const level = made.result;
    if (level.error || !level.found) {
      this.refuse(level.error || `the generator made no level ${index + 1} from this date`, index);
      return null;
    }
    const drawn = await this.runner.run({ type: 'backdropPng', text: level.text });
    return { text: level.text, png: drawn.result };
  }

  // Before main: the shipped levels make way, and the game starts only once level 1 is made.
  install() {
    Module.preRun = [() => {
      Module.addRunDependency('daily-level-1');
      this.first.then((made) => made && Module.removeRunDependency('daily-level-1'));
    }];
    Module.onRuntimeInitialized = () => {
      for (const name of Module.FS.readdir('/levels'))
        if (/^level\d+\.txt$/.test(name)) Module.FS.unlink('/levels/' + name);
      this.runtimeUp = true;
      this.writeMade();
    };
  }

  // Writes the levels made since the last call into the game's files.
  writeMade() {
    if (!this.runtimeUp) return;
    for (; this.written < this.made.length; ++this.written) {
      const { text, png } = this.made[this.written];
      Module.FS.writeFile(`/images/level${this.written + 1}bg.png`, png);
      Module.FS.writeFile(`/levels/level${this.written + 1}.txt`, levelBytes(text));
    }
    this.onLevelMade(this.written);
  }

  // The text of level number (from 1), once made.
  text(number) { return this.made[number - 1]?.text ?? null; }
}

// The line above the picture: the pack's name, the date, with what is made so far.
export function showDaily(date, made) {
  const making = made < LEVEL_COUNT ? `, ${made} made so far` : '';
  $('pack').textContent = `The levels of ${date} — ${LEVEL_COUNT} levels${making}`;
  $('pack').hidden = false;
}
