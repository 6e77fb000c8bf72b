// The editor's WebAssembly core (core.js, built from core/EditorApi.cpp): the level checker,
// solver, timing-error replays, kind route search and backdrop drawing of the command-line tools.
// Runs in the page and in workers alike; every JSON answer is parsed here.
import createEditorCore from './core.js';
import { BACKDROP, SEARCH_LIMITS, RATE_TRIALS } from '../game-facts.js';
import { levelText, PACK } from '../level-code.js';

// Each function of the core, with the types core/EditorApi.h declares.
function wrap(module) {
  return {
    tiles: module.cwrap('zv_tiles', 'string', []),
    check: module.cwrap('zv_check', 'string', ['number']),
    solve: module.cwrap('zv_solve', 'string', ['number', 'number', 'number', 'number']),
    rates: module.cwrap('zv_rates', 'string', ['number', 'string', 'number']),
    kind: module.cwrap('zv_kind', 'string', ['number', 'string', 'number']),
    route: module.cwrap('zv_route', 'string', ['number', 'string']),
    backdropPixels: module.cwrap('zv_backdrop_pixels', 'number', ['number']),
    backdropPng: module.cwrap('zv_backdrop_png', 'number', ['number', 'number']),
    readPack: module.cwrap('zv_read_pack', 'string', ['number']),
    writePack: module.cwrap('zv_write_pack', 'string', ['string', 'number']),
    generate: module.cwrap('zv_generate', 'string', ['number', 'number']),
    dailyLevel: module.cwrap('zv_daily_level', 'string', ['number', 'number', 'number']),
  };
}

// Level texts hold one byte a character (as `levelBytes` in level-code.js reads them), so they
// reach the core byte for byte, as a pointer to a copy filled here, rather than through UTF-8.
function withText(module, text, use) {
  const at = module._malloc(text.length + 1);
  for (let i = 0; i < text.length; ++i) module.HEAPU8[at + i] = text.charCodeAt(i) & 0xff;
  module.HEAPU8[at + text.length] = 0;
  try {
    return use(at);
  } finally {
    module._free(at);
  }
}

// Loads a core. `hooks.onSearchProgress(runs)` and `hooks.onKindProgress({script, trials,
// rates})` hear from long searches while they run.
export async function loadCore(hooks = {}) {
  const module = await createEditorCore({
    onSearchProgress: hooks.onSearchProgress,
    onKindProgress: hooks.onKindProgress,
    print: () => {},
    printErr: () => {},
  });
  const withLevel = (text, use) => withText(module, text, use);
  const zv = wrap(module);

  const answer = (json) => JSON.parse(json);
  // A copy of `length` bytes the core returned at `at`, which stay only until its next call.
  const bytes = (at, length) => module.HEAPU8.slice(at, at + length);
  return {
    tiles: () => answer(zv.tiles()),
    check: (text) => withLevel(text, (level) => answer(zv.check(level))),
    solve: (text, limits = SEARCH_LIMITS) =>
      withLevel(text, (level) => answer(zv.solve(level, limits.maxGameSeconds, limits.greed, limits.maxRuns))),
    rates: (text, script, trials = RATE_TRIALS) => withLevel(text, (level) => answer(zv.rates(level, script, trials))),
    kind: (text, from, budgetSeconds) => withLevel(text, (level) => answer(zv.kind(level, from, budgetSeconds))),
    route: (text, script) => withLevel(text, (level) => answer(zv.route(level, script))),
    // A level the generator makes from the seed at the target +-100 ms win rate (0 to 1):
    // {found, text, route, rate100, rooms}; and level index (from 0) of the date's daily pack,
    // made at the target, answered the same way, or {error} for a date that is not a day.
    generate: (seed, targetRate) => answer(zv.generate(seed, targetRate)),
    dailyLevel: (date, index, targetRate) => withLevel(date, (at) => answer(zv.dailyLevel(at, index, targetRate))),
    // A level pack's file text read: {errors, name, levels: [text...], issues}.
    readPack: (text) => withLevel(text, (pack) => answer(zv.readPack(pack))),
    // A pack's file of a name and level texts, and what reading it back finds: {text, errors,
    // issues}. The text holds one byte a character, as a file read by `levelText` does.
    writePack: (name, levels) => withLevel(levels.join(''), (all) => {
      const written = answer(zv.writePack(name, all));
      return { ...written, text: levelText(new TextEncoder().encode(written.text), PACK).text };
    }),
    // The backdrop as RGBA pixels, BACKDROP.width x BACKDROP.height.
    backdropPixels: (text) => withLevel(text, (level) =>
      new Uint8ClampedArray(bytes(zv.backdropPixels(level), BACKDROP.width * BACKDROP.height * 4).buffer)),
    // The backdrop as the bytes of an RGB PNG file, which the game loads like its own.
    backdropPng: (text) => withLevel(text, (level) => {
      const size = module._malloc(4);  // the core's size_t, 32 bits in wasm32
      try {
        const at = zv.backdropPng(level, size);
        if (!at) throw new Error('the backdrop could not be drawn');
        return bytes(at, module.HEAPU32[size >> 2]);
      } finally {
        module._free(size);
      }
    }),
  };
}
