// The proof as you draw: every level without errors goes to the solver in a worker; the panel
// shows the search's progress, then the verdict, the winning route's keys and its win rates under
// timing error, how hard that makes it beside the shipped levels, and the kind route search.
import { Prover } from './prover.js';
import { RATE_TRIALS } from './core-api.js';

const percent = (wins, trials) => (trials ? (100 * wins) / trials : 0);
const seconds = (frames) => (frames / 60).toFixed(2);
const count = (n) => Math.round(n).toLocaleString('en-US');
const KIND_BUDGET_SECONDS = 30;

// "About as hard as level N": the shipped level whose committed route's win rate at +-100 ms is
// nearest this route's, the lower number on a tie; outside the shipped levels' range it says so.
export function difficultyLine(rate, shipped) {
  const rated = shipped.map((l) => ({ number: l.number, rate: percent(l.rates['100'].wins, l.rates['100'].trials) }));
  if (!rated.length) return '';
  const easiest = rated.reduce((a, b) => (b.rate > a.rate ? b : a));
  const hardest = rated.reduce((a, b) => (b.rate < a.rate ? b : a));
  const show = (r) => r.toFixed(0) + '%';
  if (rate > easiest.rate + 0.5)
    return `Easier than every shipped level (the easiest, level ${easiest.number}, wins ${show(easiest.rate)} at ±100 ms).`;
  if (rate < hardest.rate - 0.5)
    return `Harder than every shipped level (the hardest, level ${hardest.number}, wins ${show(hardest.rate)} at ±100 ms).`;
  let best = rated[0];
  for (const r of rated)
    if (Math.abs(r.rate - rate) < Math.abs(best.rate - rate) ||
        (Math.abs(r.rate - rate) === Math.abs(best.rate - rate) && r.number < best.number)) best = r;
  return `About as hard as level ${best.number} (its route wins ${show(best.rate)} at ±100 ms, this one ${show(rate)}).`;
}

export class ProofPanel {
  // ui: the panel's elements by name; core: for drawing routes; shipped: shipped-levels.json's
  // levels; showRoute(route or null): draws it over the level.
  constructor(ui, core, shipped, showRoute) {
    this.ui = ui;
    this.core = core;
    this.shipped = shipped;
    this.showRoute = showRoute;
    this.text = null;
    this.verdict = null;   // the solver's answer for this.text, null while it searches
    this.script = null;    // the route shown: the solver's, or the kind search's latest
    this.kindUntil = 0;
    this.prover = new Prover({
      searching: (p, text) => text === this.text && this.searching(p),
      verdict: (v, text) => text === this.text && this.answered(v),
      rates: (r, text) => text === this.text && r.script === this.script && this.rated(r),
      kindProgress: (k, text) => text === this.text && this.kindStep(k),
      kindDone: (k, text) => text === this.text && this.kindDone(k),
      failed: (e, text) => text === this.text && this.failed(e),
    });
    ui.kinder.addEventListener('click', () => this.findKinderRoute());
  }

  show(state, headline, detail = '') {
    this.ui.panel.dataset.state = state;
    this.ui.headline.textContent = headline;
    this.ui.detail.textContent = detail;
  }

  clearRoute() {
    this.script = null;
    this.ui.script.textContent = '';
    this.ui.routeBox.hidden = true;
    this.ui.rates.replaceChildren();
    this.ui.difficulty.textContent = '';
    this.ui.kinder.disabled = true;
    this.ui.kindStatus.textContent = '';
    this.kindUntil = 0;
    this.kindRan = false;
    this.showRoute(null);
  }

  // A level with errors is not sent: the panel says why, and any search stops.
  blocked(errorCount) {
    this.prover.stop();
    this.text = null;
    this.verdict = { sent: false, reason: 'the level has errors' };
    this.clearRoute();
    this.ui.progress.hidden = true;
    this.show('blocked', 'Not sent to the solver',
              `The level has ${errorCount === 1 ? 'an error' : errorCount + ' errors'}: mend ${errorCount === 1 ? 'it' : 'them'} (see Checks) and the search starts.`);
  }

  // While a stroke is being painted nothing is proved; the search starts when it ends.
  editing() {
    this.prover.stop();
    this.text = null;
    this.verdict = null;
    this.clearRoute();
    this.ui.progress.hidden = true;
    this.show('editing', 'Painting…', 'The search starts when you let go.');
  }

  prove(text) {
    if (text === this.text) return;
    this.text = text;
    this.verdict = null;
    this.clearRoute();
    this.prover.prove(text);
  }

  searching({ runs, maxRuns }) {
    this.ui.progress.hidden = false;
    this.ui.bar.max = maxRuns;
    this.ui.bar.value = runs;
    this.ui.progressLabel.textContent = `${count(runs)} of ${count(maxRuns)} runs`;
    this.show('searching', 'Searching for a winning run…', 'Keep painting: a change starts the search again.');
  }

  answered(v) {
    this.ui.progress.hidden = true;
    if (v.error) {
      this.verdict = { sent: false, reason: v.error };
      this.show('failed', 'The solver refused the level', v.error);
      return;
    }
    this.verdict = { sent: true, ...v, route: v.won ? v.script : null };
    if (!v.won) {
      const play = `${count(v.maxGameSeconds)} s of play`;
      this.show('lost', 'No winning run found',
                v.exhausted ? `Every run within ${play} was tried (${count(v.runs)} runs): none reaches an exit.`
                            : `The search reached its bound: within ${play}, ${count(v.maxRuns)} runs.`);
      return;
    }
    this.show('won', 'Winnable',
              `Won in ${seconds(v.frames)} s of play with ${v.keyChanges} key changes (search: ${count(v.runs)} runs, ${(v.searchMs / 1000).toFixed(1)} s).`);
    this.setRoute(v.script);
    this.measuring();
  }

  // Shows a route's keys and draws it, as the core traces it with its run-out.
  setRoute(script) {
    this.script = script;
    this.verdict.route = script;
    this.ui.script.textContent = script;
    this.ui.routeBox.hidden = false;
    const route = this.core.route(this.text, script);
    this.showRoute(route.error ? null : route);
  }

  // The rates take a while (RATE_TRIALS jittered replays at each of three errors): the row says
  // how long it has been measuring.
  measuring() {
    const row = this.rateRow('', null);
    const started = performance.now();
    const tick = () => {
      if (!row.isConnected) return;
      row.firstChild.textContent = `Measuring its win rates (${count(3 * RATE_TRIALS)} jittered replays)… ` +
        `${Math.floor((performance.now() - started) / 1000)} s`;
      setTimeout(tick, 1000);
    };
    this.ui.rates.replaceChildren(row);
    tick();
  }

  rateRow(label, rate) {
    const row = document.createElement('div');
    row.className = 'rate';
    const name = document.createElement('span');
    name.textContent = label;
    row.append(name);
    if (rate) {
      const p = percent(rate.wins, rate.trials);
      const bar = document.createElement('span');
      bar.className = 'rate-bar';
      bar.style.setProperty('--p', p.toFixed(1) + '%');
      const figure = document.createElement('span');
      figure.textContent = `${p.toFixed(1)}% (${rate.wins} of ${rate.trials})`;
      row.append(bar, figure);
    }
    return row;
  }

  rated({ exact, rates }) {
    this.ui.rates.replaceChildren(this.rateRow('Win rate with each key change off by up to:', null),
                                  ...rates.map((r) => this.rateRow(`±${r.ms} ms`, r)));
    if (!exact) this.ui.rates.append(this.rateRow('This route does not win when played exactly.', null));
    this.ui.difficulty.textContent = difficultyLine(percent(rates[1].wins, rates[1].trials), this.shipped);
    this.verdict.rates = rates;
    this.verdict.difficulty = this.ui.difficulty.textContent;
    this.ui.kinder.disabled = !!this.kindUntil || this.kindRan;
  }

  findKinderRoute() {
    if (!this.verdict || !this.verdict.won) return;
    this.ui.kinder.disabled = true;
    this.kindUntil = performance.now() + KIND_BUDGET_SECONDS * 1000;
    this.kindScore = null;
    const text = this.text;
    const tick = () => {
      if (this.text !== text || !this.kindUntil) return;
      const left = Math.max(0, Math.ceil((this.kindUntil - performance.now()) / 1000));
      this.ui.kindStatus.textContent = (this.kindScore ? `Kinder route so far: ${this.kindScore}` : 'Looking for a kinder route…') +
        ` · ${left} s left`;
      setTimeout(tick, 500);
    };
    tick();
    this.prover.findKinderRoute(KIND_BUDGET_SECONDS);
  }

  kindStep({ script, wins50, wins100, wins150, trials }) {
    if (script !== this.script) this.setRoute(script);
    this.kindScore = `±100 ms wins ${wins100} of ${trials} replays`;
    this.ui.rates.replaceChildren(this.rateRow(`A quick score, ${trials} replays at each error:`, null),
      ...[[50, wins50], [100, wins100], [150, wins150]].map(([ms, wins]) => this.rateRow(`±${ms} ms`, { wins, trials })));
    this.ui.difficulty.textContent = 'The full rates follow when the search ends.';
  }

  kindDone(result) {
    this.kindUntil = 0;
    if (result.error) {
      this.ui.kindStatus.textContent = 'The kind route search gave up: ' + result.error;
      this.ui.kinder.disabled = false;
      return;
    }
    this.kindRan = true;
    if (result.script !== this.script) this.setRoute(result.script);
    this.ui.kindStatus.textContent = result.converged
      ? `The kindest route found: no small change helps (${result.candidates} candidates tried).`
      : `The kindest route in ${KIND_BUDGET_SECONDS} s (${result.candidates} candidates tried).`;
    this.ui.difficulty.textContent = '';
    this.measuring();
  }

  failed(error) {
    this.kindUntil = 0;
    this.ui.progress.hidden = true;
    this.verdict = { sent: false, reason: String(error.message || error) };
    this.show('failed', 'The solver stopped', String(error.message || error));
  }
}
