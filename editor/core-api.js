// The editor's WebAssembly core (core.js, built from EditorApi.cpp): the level checker, solver,
// timing-error replays, kind route search and backdrop drawing of the command-line tools. Runs in
// the page and in workers alike; every answer is parsed from the JSON the core writes.
import createEditorCore from './core.js';

export const BACKDROP_WIDTH = 1024;
export const BACKDROP_HEIGHT = 768;

// The solver's own limits (`solver level.txt`), so that the editor's verdict is the tool's.
export const SEARCH_LIMITS = { maxGameSeconds: 90, greed: 4, maxRuns: 400000 };
// Replays behind each printed win rate (`solver --rates`).
export const RATE_TRIALS = 500;

const SCRATCH_PNG = '/tmp/editor-backdrop.png';

// Loads a core. `hooks.onSearchProgress(runs)` and `hooks.onKindProgress(script, wins100,
// wins150, wins50, trials)` hear from long searches while they run.
export async function loadCore(hooks = {}) {
  const module = await createEditorCore({
    onSearchProgress: hooks.onSearchProgress,
    onKindProgress: hooks.onKindProgress,
    print: () => {},
    printErr: () => {},
  });
  // Level texts hold one byte a character (as `levelBytes` in level-code.js reads them), so they
  // reach the core byte for byte rather than through UTF-8; the core reads up to the first NUL.
  const withLevel = (text, use) => {
    const at = module._malloc(text.length + 1);
    for (let i = 0; i < text.length; ++i) module.HEAPU8[at + i] = text.charCodeAt(i) & 0xff;
    module.HEAPU8[at + text.length] = 0;
    try {
      return use(at);
    } finally {
      module._free(at);
    }
  };
  const call = (name, types, args) =>
    withLevel(args[0], (at) => JSON.parse(module.ccall(name, 'string', ['number', ...types.slice(1)], [at, ...args.slice(1)])));
  return {
    tiles: () => JSON.parse(module.ccall('zv_tiles', 'string', [], [])),
    check: (text) => call('zv_check', ['string'], [text]),
    solve: (text, limits = SEARCH_LIMITS) =>
      call('zv_solve', ['string', 'number', 'number', 'number'],
           [text, limits.maxGameSeconds, limits.greed, limits.maxRuns]),
    rates: (text, script, trials = RATE_TRIALS) =>
      call('zv_rates', ['string', 'string', 'number'], [text, script, trials]),
    kind: (text, from, budgetSeconds) =>
      call('zv_kind', ['string', 'string', 'number'], [text, from, budgetSeconds]),
    route: (text, script) => call('zv_route', ['string', 'string'], [text, script]),
    // The backdrop as RGBA pixels, BACKDROP_WIDTH x BACKDROP_HEIGHT, in a copy of its own.
    backdropPixels(text) {
      const at = withLevel(text, (level) => module.ccall('zv_backdrop', 'number', ['number', 'string'], [level, '']));
      return new Uint8ClampedArray(module.HEAPU8.buffer, at, BACKDROP_WIDTH * BACKDROP_HEIGHT * 4).slice();
    },
    // The backdrop as the bytes of an RGB PNG file, which the game loads like its own.
    backdropPng(text) {
      const error = withLevel(text, (level) => module.ccall('zv_backdrop', 'string', ['number', 'string'], [level, SCRATCH_PNG]));
      if (error) throw new Error('the backdrop could not be drawn: ' + error);
      return module.FS.readFile(SCRATCH_PNG);
    },
  };
}
