/* The level editor's core: the game's level checker, the solver, the timing-error replays, the
 * kind route search and the backdrop drawing behind a small C interface, for the browser (built
 * to WebAssembly, called from editor/core-api.js) and for native programs and tests alike.
 *
 * Levels arrive as their file's text: NUL-terminated, one byte a character, as the game reads a
 * level file. Scripts are key scripts as the solver prints them ("R12 N30 L6"). The core never
 * takes ownership of what it is given.
 *
 * Answers are owned by the core: a returned pointer stays valid until the next call of any zv_
 * function, and the caller never frees it. The core plays levels in the game's one world, so
 * calls must not overlap: one at a time per process. JSON answers are UTF-8 text; a level with errors, or
 * a script that cannot be read, gives {"error": "...", ...} instead of the usual answer.
 * Win rates are keyed by their timing error in milliseconds: {"50": R, "100": R, "150": R}, each
 * R {"wins": n, "trials": n}, or null where a search has not measured it yet.
 *
 * Every exported function is declared on one line that starts with ZV_API: the browser build
 * reads its list of exports from those lines. */
#ifndef ZARVOLITH_EDITOR_API_H
#define ZARVOLITH_EDITOR_API_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define ZV_API extern "C"
#else
#define ZV_API extern
#endif

/* Every tile character with what the game makes of it: {"tiles": [{"char", "kind" (wall, hazard,
 * exit, fire or start), "faces": [guarded faces], "width" and "height" (world units, blocks) or
 * "strength" (fires), "about": one line on what it does}], "empty": [empty cell characters],
 * "columns": 20, "rows": 15}. */
ZV_API const char* zv_tiles(void);

/* The checker's verdict: {"errors": bool, "issues": [{"warning", "line", "column", "message"}]},
 * line and column counted from 1, 0 where an issue has no place. */
ZV_API const char* zv_check(const char* text);

/* Searches for a winning run within the limits (game seconds, greed, segments simulated):
 * {"won", "script", "frames", "keyChanges", "runs", "states", "exhausted", "maxRuns",
 * "maxGameSeconds"}, and without a win "attempt": {"script", "ending", "line", "column",
 * "cellsFromExit" (null with no open way to an exit), "seconds", and a route as zv_route's}. */
ZV_API const char* zv_solve(const char* text, double maxGameSeconds, double greed, double maxRuns);

/* The script's win rates under timing error, over `trials` jittered replays at each error:
 * {"exact": bool (it wins played exactly), "rates": {"50", "100", "150"}}. */
ZV_API const char* zv_rates(const char* text, const char* script, int trials);

/* The kind route search from `from` (or from the calm fast route when it is ""), for
 * budgetSeconds of wall-clock time: {"script", "candidates", "converged"}. Each route kept on
 * the way is reported to the progress hook as {"script", "trials", "rates"}. */
ZV_API const char* zv_kind(const char* text, const char* from, double budgetSeconds);

/* The glider's path for the script and its run-out: {"outcome" (won, lost or playing), "points":
 * [x0, y0, x1, y1, ...] in backdrop pixels, one point a frame and one more, "keys": one letter a
 * frame, "L", "R" or "N"}. */
ZV_API const char* zv_route(const char* text, const char* script);

/* The level's backdrop as RGBA pixels, top row first, 1024 x 768 x 4 bytes. */
ZV_API const uint8_t* zv_backdrop_pixels(const char* text);

/* The level's backdrop as the bytes of an RGB PNG file, their count in *size; NULL (and 0) when
 * it could not be encoded. */
ZV_API const uint8_t* zv_backdrop_png(const char* text, size_t* size);

/* A level the generator makes from the seed, as hard as targetRate (0 to 1) says at +-100 ms:
 * {"found": bool, "text", "route", "rate100", "rooms"}, text and route empty when none was made. */
ZV_API const char* zv_generate(double seed, double targetRate);

/* Level index (0 to 9) of the daily pack of the date (YYYY-MM-DD), made as hard as targetRate:
 * as zv_generate's answer, or {"error"} for a date that is not a day or an index out of range. */
ZV_API const char* zv_daily_level(const char* date, int index, double targetRate);

/* A level pack's text read as the game reads a .zvpack file: {"errors": bool, "name", "levels":
 * [each level's text], "issues": [as zv_check's, at the pack file's own lines and columns]}. */
ZV_API const char* zv_read_pack(const char* text);

/* The pack file of a name (UTF-8) and levels (their texts back to back, 15 lines each), with what
 * reading it back finds: {"text", "errors": bool, "issues": [as zv_read_pack's]}. */
ZV_API const char* zv_write_pack(const char* name, const char* levels);

#endif
