// The proof as you draw: every level without errors goes to the solver in a worker; the panel
// shows the search's progress, then the verdict. A winnable level's difficulty is that of the
// kindest route known for it, so the kind route search follows the verdict by itself for a short
// while, and the panel shows the route it holds, that route's keys and figures, its win rates
// under timing error and how hard that makes it beside the shipped levels. An unwinnable level
// shows its best attempt instead: where it got nearest an exit and what stopped it.
import { Prover } from './prover.js';
import { FRAMES_PER_SECOND, RATE_TRIALS, RATE_MILLISECONDS } from '../game-facts.js';

export const percent = (wins, trials) => (trials > 0 ? (100 * wins) / trials : 0);
const seconds = (frames) => (frames / FRAMES_PER_SECOND).toFixed(2);
const count = (n) => Math.round(n).toLocaleString('en-US');
const plural = (n, word) => `${count(n)} ${word}${n === 1 ? '' : 's'}`;
// The kind route search after each verdict, and the longer one the button asks for, seconds.
export const AUTO_KIND_SECONDS = 20;
export const LONG_KIND_SECONDS = 60;

// Where a route's win rate at +-100 ms (in %) stands among the shipped levels': {relation:
// 'easier' than all of them, 'harder' than all, or 'about' as hard as `level`, and that level's
// rate}; null without shipped levels. The lower number wins a tie.
export function nearestShipped(rate, shipped) {
  const rated = shipped.map((l) => ({ number: l.number, rate: percent(l.rates['100'].wins, l.rates['100'].trials) }));
  if (!rated.length) return null;
  const easiest = rated.reduce((a, b) => (b.rate > a.rate ? b : a));
  const hardest = rated.reduce((a, b) => (b.rate < a.rate ? b : a));
  if (rate > easiest.rate + 0.5) return { relation: 'easier', level: easiest.number, rate: easiest.rate };
  if (rate < hardest.rate - 0.5) return { relation: 'harder', level: hardest.number, rate: hardest.rate };
  let best = rated[0];
  for (const r of rated)
    if (Math.abs(r.rate - rate) < Math.abs(best.rate - rate) ||
        (Math.abs(r.rate - rate) === Math.abs(best.rate - rate) && r.number < best.number)) best = r;
  return { relation: 'about', level: best.number, rate: best.rate };
}

// How the shipped level nearest this route's win rate compares: "about as hard as level N" once
// the route is settled, "at most as hard as level N" while a kinder one may still be found;
// outside the shipped levels' range it says so.
export function difficultyLine(rate, shipped, settled = true) {
  const near = nearestShipped(rate, shipped);
  if (!near) return '';
  const show = (r) => r.toFixed(0) + '%';
  if (near.relation === 'easier')
    return `Easier than every shipped level (the easiest, level ${near.level}, wins ${show(near.rate)} at ±100 ms).`;
  if (near.relation === 'harder')
    return `${settled ? 'Harder' : 'So far harder'} than every shipped level (the hardest, level ${near.level}, wins ${show(near.rate)} at ±100 ms).`;
  return `${settled ? 'About' : 'At most'} as hard as level ${near.level} (its route wins ${show(near.rate)} at ±100 ms, this one ${show(rate)}).`;
}

// One sentence on where the best attempt of an unwinnable level got and what stopped it.
export function attemptLine(attempt, maxGameSeconds) {
  const cell = `at line ${attempt.line}, column ${attempt.column}`;
  const fate = {
    wrecked: `the hazard ${cell} wrecked it`,
    burnt: `the fire ${cell} burnt it`,
    flying: `it was still flying when ${count(maxGameSeconds)} s of play ran out`,
    resting: `it came to rest there with no way on`,
    won: `with no key held it drifts into an exit, a run the search did not reach before its bound`,
  }[attempt.ending] || 'it ended there';
  const lead = attempt.cellsFromExit === null
    ? 'No open way leads from the start to an exit; in the best attempt'
    : `The best attempt came within ${attempt.cellsFromExit.toFixed(1)} cells of an exit after ${attempt.seconds.toFixed(1)} s; then`;
  return `${lead} ${fate}. It is drawn over the level.`;
}

export class ProofPanel {
  // ui: the panel's elements by name; core: for tracing routes; shipped: shipped-levels.json's
  // levels; editor: showRoute(route or null), which draws it over the level, keepRoute({text,
  // script, settled}), which keeps the route shown for the next visit, and summary(text, {state,
  // rate}), which hears the level's state and its settled win rate at ±100 ms; signal ends its
  // listener.
  constructor(ui, core, shipped, editor) {
    this.ui = ui;
    this.core = core;
    this.shipped = shipped;
    this.editor = editor;
    this.text = null;
    this.verdict = null;   // the solver's answer for this.text, null while it searches
    this.script = null;    // the route shown
    this.settled = false;  // the route shown is the kindest this page will look for unasked
    this.kindUntil = 0;    // when the running kind search ends (performance.now()), or 0
    this.kept = null;      // a route kept from an earlier visit, for the text it was found for
    this.prover = new Prover({
      searching: (p) => this.searching(p),
      verdict: (v) => this.answered(v),
      rates: (r) => r.script === this.script && this.rated(r),
      kindProgress: (k) => this.kindUntil && this.kindStep(k),
      kindDone: (k) => this.kindDone(k),
      failed: (e) => this.failed(e),
    });
    ui.kinder.addEventListener('click', () => this.findKinderRoute(LONG_KIND_SECONDS), { signal: editor.signal });
    ui.kinder.title = this.kinderTitle(false);
    for (const rate of ui.routeBox.querySelectorAll('.frame-rate')) rate.textContent = FRAMES_PER_SECOND;
  }

  show(state, headline, detail = '') {
    this.ui.panel.dataset.state = state;
    this.ui.headline.textContent = headline;
    this.ui.detail.textContent = detail;
  }

  clearRoute() {
    this.script = null;
    this.settled = false;
    this.kindUntil = 0;
    this.ui.script.textContent = '';
    this.ui.facts.textContent = '';
    this.ui.routeBox.hidden = true;
    this.ui.rates.replaceChildren();
    this.ui.difficulty.textContent = '';
    this.ui.kinder.disabled = true;
    this.converged = false;
    this.ui.kindStatus.textContent = '';
    this.editor.showRoute(null);
  }

  // A level with errors is not sent: the panel says why, and any search stops.
  blocked(errorCount) {
    this.prover.stop();
    this.prover.text = null;
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
    this.prover.text = null;
    this.text = null;
    this.verdict = null;
    this.clearRoute();
    this.ui.progress.hidden = true;
    this.show('editing', 'Painting…', 'The search starts when you let go.');
  }

  // Proves the text; `kept` ({text, script, settled}) is a route found for it on an earlier
  // visit, shown again rather than searched for again when it still wins.
  prove(text, kept = null) {
    if (text === this.text) return;
    this.text = text;
    this.kept = kept && kept.text === text ? kept : null;
    this.verdict = null;
    this.clearRoute();
    this.prover.prove(text);
  }

  searching({ runs, maxRuns }) {
    this.ui.progress.hidden = false;
    this.ui.bar.max = maxRuns;
    this.ui.bar.value = runs;
    this.ui.progressLabel.textContent = `${count(runs)} of ${count(maxRuns)} runs`;
    if (!runs) this.editor.summary(this.text, { state: 'searching' });
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
    this.editor.summary(this.text, { state: v.won ? 'won' : 'lost' });
    if (!v.won) {
      this.showAttempt(v);
      return;
    }
    this.show('won', 'Winnable', `The solver found a win in ${(v.searchMs / 1000).toFixed(1)} s (${plural(v.runs, 'run')}).`);
    const kept = this.kept && this.routeWins(this.kept.script) ? this.kept : null;
    this.setRoute(kept ? kept.script : v.script);
    if (kept && kept.settled) this.settle();
    else this.findKinderRoute(AUTO_KIND_SECONDS, kept ? kept.script : '');
  }

  showAttempt(v) {
    const play = `${count(v.maxGameSeconds)} s of play`;
    const bound = v.exhausted ? `Every run within ${play} was tried (${plural(v.runs, 'run')}): none reaches an exit.`
                              : `The search reached its bound: within ${play}, ${plural(v.maxRuns, 'run')}.`;
    const attempt = v.attempt;
    this.verdict.attempt = attempt || null;
    this.show('lost', 'No winning run found', attempt ? `${attemptLine(attempt, v.maxGameSeconds)} ${bound}` : bound);
    if (!attempt) return;
    const stop = attempt.line > 0 ? { row: attempt.line - 1, column: attempt.column - 1 } : null;
    this.editor.showRoute({ points: attempt.points, keys: attempt.keys, outcome: attempt.outcome, stop });
  }

  routeWins(script) {
    const route = this.core.route(this.text, script);
    return !route.error && route.outcome === 'won';
  }

  // Shows a route, its keys and its own figures, and draws it as the core traces it.
  setRoute(script) {
    if (script === this.script) return;
    this.script = script;
    this.verdict.route = script;
    this.ui.script.textContent = script;
    this.ui.routeBox.hidden = false;
    const route = this.core.route(this.text, script);
    const changes = script.trim() ? script.trim().split(/\s+/).length : 0;
    this.ui.facts.textContent = route.error ? '' :
      `This route: ${plural(changes, 'key change')}, ${seconds(route.keys.length)} s of play.`;
    this.editor.showRoute(route.error ? null : route);
    this.measuring();
  }

  // The rates of the route shown are not known until they are measured.
  measuring() {
    this.ui.rates.replaceChildren(this.rateRow('Win rate with each key change off by up to:', null),
                                  ...RATE_MILLISECONDS.map((ms) => this.rateRow(`±${ms} ms`, null, true)));
  }

  // One row of the rates; a rate not measured yet says so rather than show a figure.
  rateRow(label, rate, pending = false) {
    const row = document.createElement('div');
    row.className = 'rate';
    const name = document.createElement('span');
    name.textContent = label;
    row.append(name);
    if (rate && rate.trials > 0) {
      const p = percent(rate.wins, rate.trials);
      const bar = document.createElement('span');
      bar.className = 'rate-bar';
      bar.style.setProperty('--p', p.toFixed(1) + '%');
      const figure = document.createElement('span');
      figure.textContent = `${p.toFixed(1)}% (${rate.wins} of ${rate.trials})`;
      row.append(bar, figure);
    } else if (rate || pending) {
      const figure = document.createElement('span');
      figure.className = 'pending';
      figure.textContent = 'measuring…';
      row.append(figure);
    }
    return row;
  }

  // The full rates of the route shown: its difficulty is settled unless a search still runs.
  rated({ exact, rates }) {
    this.ui.rates.replaceChildren(this.rateRow(`Win rate with each key change off by up to (${count(RATE_TRIALS)} replays):`, null),
                                  ...RATE_MILLISECONDS.map((ms) => this.rateRow(`±${ms} ms`, rates[ms])));
    if (!exact) this.ui.rates.append(this.rateRow('This route does not win when played exactly.', null));
    this.ui.difficulty.textContent = difficultyLine(percent(rates['100'].wins, rates['100'].trials), this.shipped, !this.kindUntil);
    this.verdict.rates = rates;
    this.verdict.difficulty = this.ui.difficulty.textContent;
    this.verdict.settled = !this.kindUntil;
    if (this.verdict.settled) this.editor.summary(this.text, { state: 'won', rate: percent(rates['100'].wins, rates['100'].trials) });
    this.ui.kinder.disabled = !!this.kindUntil || this.converged;
  }

  // The route shown is the one to keep: its full rates are measured and it is kept for later.
  settle() {
    this.settled = true;
    this.editor.keepRoute({ text: this.text, script: this.script, settled: true });
    this.ui.difficulty.textContent = 'Measuring the win rates of this route…';
    this.prover.rate(this.script);
  }

  // Looks for a kinder route for budget seconds, from `from` (the current route by default, the
  // calm fast route when it is empty); the panel shows each better route as it is found.
  findKinderRoute(budget, from = this.script) {
    if (!this.verdict || !this.verdict.won) return;
    this.ui.kinder.disabled = true;
    this.settled = false;
    this.kindUntil = performance.now() + budget * 1000;
    this.kindScore = null;
    this.ui.difficulty.textContent = 'Looking for a kinder route…';
    const text = this.text;
    const tick = () => {
      if (this.text !== text || !this.kindUntil) return;
      const left = Math.max(0, Math.ceil((this.kindUntil - performance.now()) / 1000));
      this.ui.kindStatus.textContent = 'Looking for a kinder route…' + ` ${left} s left`;
      setTimeout(tick, 500);
    };
    tick();
    this.prover.kind(from, budget);
  }

  // A better route from the kind search, scored on its quick trials: the difficulty may still fall.
  // A rate the search has not measured yet is null.
  kindStep({ script, trials, rates }) {
    this.setRoute(script);
    this.ui.rates.replaceChildren(this.rateRow(`A quick score, ${trials} replays at each error:`, null),
      ...RATE_MILLISECONDS.map((ms) => this.rateRow(`±${ms} ms`, rates[ms], true)));
    const at100 = rates['100'];
    if (at100 && at100.trials > 0)
      this.ui.difficulty.textContent = difficultyLine(percent(at100.wins, at100.trials), this.shipped, false).replace(/\.$/, '') +
        '; looking for a kinder route…';
  }

  kindDone(result) {
    this.kindUntil = 0;
    if (result.error) {
      this.ui.kindStatus.textContent = 'The kind route search could not run: ' + result.error + '. The rates are those of the route shown.';
      this.settle();
      return;
    }
    this.setRoute(result.script);
    this.ui.kindStatus.textContent = result.converged
      ? `The kindest route found: no small change helps (${plural(result.candidates, 'candidate')} tried).`
      : `The kindest route found in the time given (${plural(result.candidates, 'candidate')} tried); a longer search may find a kinder one.`;
    this.converged = result.converged;
    this.ui.kinder.title = this.kinderTitle(result.converged);
    this.settle();
  }

  kinderTitle(converged) {
    return converged ? 'No small change to this route wins more often'
      : `Search for ${LONG_KIND_SECONDS} s more for a route that forgives late and early key presses better`;
  }

  failed(error) {
    this.kindUntil = 0;
    this.ui.progress.hidden = true;
    this.verdict = { sent: false, reason: String(error.message || error) };
    this.show('failed', 'The solver stopped', String(error.message || error));
  }
}
