// What is known of each level of the pack, by its text: its state (error, searching, won, lost,
// or unknown while it waits) and, once won, the win rate at ±100 ms of the kindest route found,
// the figure its difficulty is judged by. The proof panel tells it about the level shown; the
// levels not shown are put through the same solver, kind route search and replays here, one at a
// time in workers of their own. A shipped level's figures come with it.
import { Prover } from './prover.js';
import { AUTO_KIND_SECONDS, nearestShipped, percent } from './proof-panel.js';

const SHORT = { easier: () => 'easiest', harder: () => 'hardest', about: (n) => `like level ${n}` };

export class PackProof {
  // changed() hears of every new summary.
  constructor(changed) {
    this.changed = changed;
    this.summaries = new Map();
    this.shipped = [];
    this.queue = [];
    this.working = null;  // the text being summed up here
    this.prover = null;  // made on the first level to search
  }

  setShipped(shipped) {
    this.shipped = shipped;
    for (const level of shipped)
      this.summaries.set(level.text, { state: 'won', rate: percent(level.rates['100'].wins, level.rates['100'].trials) });
    this.changed();
  }

  // The summary of a text, with its difficulty beside the shipped levels once its rate is known.
  summary(text) {
    const known = this.summaries.get(text) || { state: 'unknown' };
    if (known.rate === undefined) return known;
    const near = nearestShipped(known.rate, this.shipped);
    const line = `Its kindest route wins ${known.rate.toFixed(0)}% at ±100 ms` +
                 (near ? (near.relation === 'about' ? `, about as hard as level ${near.level}.`
                                                    : `, ${near.relation} than every shipped level.`) : '.');
    return { ...known, difficulty: { short: near ? SHORT[near.relation](near.level) : `${known.rate.toFixed(0)}%`, line } };
  }

  tell(text, summary) {
    this.summaries.set(text, summary);
    this.changed();
  }

  // The pack's texts now: those with errors are known at once, the others not known yet wait
  // their turn, but not the one shown, which the proof panel works on.
  update(levels, shown) {
    const texts = new Set(levels.map((l) => l.text));
    for (const text of this.summaries.keys())
      if (!texts.has(text) && !this.shipped.some((l) => l.text === text)) this.summaries.delete(text);
    for (const { text, errors } of levels)
      if (errors) this.summaries.set(text, { state: 'error', errors });
    this.queue = levels.filter((l) => !l.errors && l.text !== shown && !this.settled(l.text)).map((l) => l.text);
    if (this.working !== null && (this.working === shown || !this.queue.includes(this.working))) this.stop();
    this.next();
  }

  // Known for good: errors, no winning run, a winnable level's rate, or a search that failed.
  settled(text) {
    const known = this.summaries.get(text);
    return !!known && (known.state === 'error' || known.state === 'lost' || known.rate !== undefined || known.failed);
  }

  next() {
    if (this.working !== null || !this.queue.length) return;
    this.working = this.queue.shift();
    if (!this.prover) {
      this.prover = new Prover({
        verdict: (v, text) => this.verdict(v, text),
        kindDone: (k) => (k.error ? this.finish({ state: 'won', failed: true }) : this.prover.rate(k.script)),
        rates: (r, text) => this.finish({ state: 'won', rate: percent(r.rates['100'].wins, r.rates['100'].trials) }, text),
        failed: () => this.finish({ state: 'unknown', failed: true }),
      });
    }
    this.summaries.set(this.working, { state: 'searching' });
    this.changed();
    this.prover.prove(this.working);
  }

  verdict(v, text) {
    if (v.error) this.finish({ state: 'error', errors: 1 }, text);
    else if (!v.won) this.finish({ state: 'lost' }, text);
    else this.prover.kind('', AUTO_KIND_SECONDS);
  }

  finish(summary, text = this.working) {
    if (text !== this.working) return;
    this.working = null;
    this.tell(text, summary);
    this.next();
  }

  stop() {
    if (this.prover) this.prover.stop();
    if (this.working !== null && this.summaries.get(this.working)?.state === 'searching') this.summaries.delete(this.working);
    this.working = null;
  }
}
