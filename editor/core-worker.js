// A worker that runs the editor core's long jobs off the page's thread: the solver's search, the
// win rates, the kind route search, the level generator (the daily pack's levels too) and the
// backdrop drawing (as pixels for the editor, as PNG files for the game). One job at a time;
// progress is posted as it comes. A job is stopped by ending the worker, so it never needs to look for a signal.
import { loadCore } from './core-api.js';

const ready = loadCore({
  onSearchProgress: (runs) => postMessage({ type: 'progress', runs }),
  onKindProgress: (route) => postMessage({ type: 'kind-progress', ...route }),
});

onmessage = async (event) => {
  const job = event.data;
  let core;
  try {
    core = await ready;
  } catch (error) {
    postMessage({ type: 'failed', id: job.id, error: String(error) });
    return;
  }
  const started = performance.now();
  let result;
  if (job.type === 'solve') result = core.solve(job.text, job.limits);
  else if (job.type === 'rates') result = core.rates(job.text, job.script, job.trials);
  else if (job.type === 'kind') result = core.kind(job.text, job.from, job.budget);
  else if (job.type === 'backdrop') result = core.backdropPixels(job.text);
  else if (job.type === 'backdropPng') result = core.backdropPng(job.text);
  else if (job.type === 'generate') result = core.generate(job.seed, job.target);
  else if (job.type === 'dailyLevel') result = core.dailyLevel(job.date, job.index, job.target);
  else if (job.type === 'warm') result = true;
  const message = { type: 'done', id: job.id, job: job.type, result, ms: performance.now() - started };
  if (ArrayBuffer.isView(result)) postMessage(message, [result.buffer]);
  else postMessage(message);
};
