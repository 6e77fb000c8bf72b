// Runs the editor core's long jobs in workers so that painting never waits: a JobRunner holds
// one worker at a time, with a spare already loaded, and stops a job by ending its worker. The
// Prover puts a level through the solver, searches for a kinder route and measures a route's win
// rates, as the proof panel asks; a new level stops all of that and starts again.
import { SEARCH_LIMITS, RATE_TRIALS } from '../game-facts.js';

const WORKER_URL = new URL('./core-worker.js', import.meta.url);
const WARM_ID = -1;

function spawn() {
  const worker = new Worker(WORKER_URL, { type: 'module' });
  worker.postMessage({ type: 'warm', id: WARM_ID });  // loads and compiles the core now
  return worker;
}

export class JobRunner {
  constructor({ spare = true } = {}) {
    this.keepSpare = spare;
    this.spare = spare ? spawn() : null;
    this.worker = null;
    this.pending = null;  // the running job's resolve, or null when the worker is idle
    this.nextId = 0;
  }

  // Runs one job; resolves with the worker's 'done' message, or with null when stopped first.
  // onProgress hears every other message the job posts.
  run(job, onProgress) {
    this.stop();
    if (!this.worker) {
      this.worker = this.spare || spawn();
      this.spare = this.keepSpare ? spawn() : null;
    }
    const id = ++this.nextId;
    const worker = this.worker;
    return new Promise((resolve, reject) => {
      this.pending = resolve;
      worker.onmessage = (event) => {
        const message = event.data;
        if (worker !== this.worker) return;
        if (message.type === 'done' && message.id === id) {
          this.pending = null;
          resolve(message);
        } else if (message.type === 'failed') {
          this.pending = null;
          reject(new Error(message.error));
        } else if (message.id === undefined && onProgress) {
          onProgress(message);
        }
      };
      worker.onerror = (event) => {
        event.preventDefault();
        this.pending = null;
        this.worker = null;
        worker.terminate();
        reject(new Error('the editor core stopped: ' + (event.message || 'unknown error')));
      };
      worker.postMessage({ ...job, id });
    });
  }

  get busy() { return this.pending !== null; }

  // Ends the running job, if any, by ending its worker; the next job takes the spare.
  stop() {
    if (!this.pending) return;
    const resolve = this.pending;
    this.pending = null;
    this.worker.terminate();
    this.worker = null;
    resolve(null);
  }
}

// listener: searching({runs, maxRuns}), verdict(result), rates({script, exact, rates}),
// kindProgress({script, trials, rates}), kindDone(result), failed(error). Rates are keyed by
// their timing error in ms, as the core writes them.
// Each is optional. Every call carries the text it is about as a second argument; calls about a
// text that is no longer being proved are never made.
export class Prover {
  constructor(listener) {
    this.listener = listener;
    this.proof = new JobRunner();
    this.kindRunner = null;  // made on the first kind search
    this.text = null;
  }

  tell(name, value, text) {
    const hear = this.listener[name];
    if (hear && text === this.text) hear(value, text);
  }

  stop() {
    this.proof.stop();
    if (this.kindRunner) this.kindRunner.stop();
  }

  // Puts the level through the solver, stopping the work on the previous one.
  async prove(text) {
    this.stop();
    this.text = text;
    const started = performance.now();
    const maxRuns = SEARCH_LIMITS.maxRuns;
    this.tell('searching', { runs: 0, maxRuns }, text);
    try {
      const solved = await this.proof.run({ type: 'solve', text, limits: SEARCH_LIMITS }, (m) => {
        if (m.type === 'progress') this.tell('searching', { runs: m.runs, maxRuns }, text);
      });
      if (solved) this.tell('verdict', { ...solved.result, ms: performance.now() - started, searchMs: solved.ms }, text);
    } catch (error) {
      this.tell('failed', error, text);
    }
  }

  // Measures the script's win rates on the level being proved.
  async rate(script) {
    const text = this.text;
    try {
      const rated = await this.proof.run({ type: 'rates', text, script, trials: RATE_TRIALS });
      if (rated) this.tell('rates', { script, ...rated.result }, text);
    } catch (error) {
      this.tell('failed', error, text);
    }
  }

  // Runs the kind route search on the level being proved for budgetSeconds, from the script
  // `from` (or from the calm fast route when it is empty), reporting each improvement.
  async kind(from, budgetSeconds) {
    const text = this.text;
    if (text === null) return;
    if (!this.kindRunner) this.kindRunner = new JobRunner({ spare: false });
    try {
      const found = await this.kindRunner.run({ type: 'kind', text, from, budget: budgetSeconds }, (m) => {
        if (m.type === 'kind-progress') this.tell('kindProgress', m, text);
      });
      if (found) this.tell('kindDone', found.result, text);
    } catch (error) {
      this.tell('failed', error, text);
    }
  }
}
