// The level editor's C interface for JavaScript: the level checker, the solver, the timing-error
// replays, the kind route search and the backdrop drawing, the same code the command-line tools
// run. Levels arrive as their file's text; answers leave as JSON in a buffer that lives until the
// next call.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "backdrop/Backdrop.h"
#include "backdrop/PngWriter.h"
#include "backdrop/WorldView.h"
#include "game/Block.h"
#include "game/HeatSource.h"
#include "game/LevelObject.h"
#include "game/LevelObjectList.h"
#include "level/LevelCheck.h"
#include "level/LevelFile.h"
#include "level/TileTable.h"
#include "route/BestAttempt.h"
#include "route/InputScript.h"
#include "route/KindRouteSearch.h"
#include "route/LevelRun.h"
#include "route/LevelSearch.h"
#include "route/RouteTrace.h"
#include "route/TimingError.h"

// Hooks the page sets on the module to hear from a long search while it runs.
EM_JS(void, reportSearchProgress, (double runs), {
  if (Module.onSearchProgress) Module.onSearchProgress(runs);
});
EM_JS(void, reportKindProgress, (const char* script, int wins100, int wins150, int wins50, int trials), {
  if (Module.onKindProgress) Module.onKindProgress(UTF8ToString(script), wins100, wins150, wins50, trials);
});

namespace {

// Every level the editor plays is level 1, as the game plays it from the editor.
constexpr int kEditorLevelNumber = 1;

std::string answer;  // the last call's JSON, which JavaScript reads before its next call

const char* reply(std::string json) {
  answer = std::move(json);
  return answer.c_str();
}

std::string quote(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

const char* outcomeName(Outcome outcome) {
  return outcome == Outcome::Won ? "won" : outcome == Outcome::Lost ? "lost" : "playing";
}

// zv_route's answer without its braces: how the script and its run-out end, the glider's path in
// backdrop pixels, and the key held in each frame ("N", "L" or "R").
std::string routeMembers(LevelRun& run, const InputScript& script) {
  const RouteTrace trace = traceRoute(run, withRunOut(script));
  std::string points = "[", keys;
  for (const TracePoint& p : trace.points) {
    if (points.size() > 1) points += ',';
    points += number(art::pixelX(p.x)) + "," + number(art::pixelY(p.y));
  }
  for (Steer key : trace.keys) keys += key == Steer::Left ? 'L' : key == Steer::Right ? 'R' : 'N';
  return std::string("\"outcome\":\"") + outcomeName(trace.outcome) + "\",\"points\":" + points +
         "],\"keys\":" + quote(keys);
}

std::string issuesJson(const LevelCheck& check) {
  std::string out = "[";
  for (const LevelIssue& issue : check.issues) {
    if (out.size() > 1) out += ',';
    out += "{\"warning\":" + std::string(issue.warning ? "true" : "false") + ",\"line\":" +
           std::to_string(issue.line) + ",\"column\":" + std::to_string(issue.column) +
           ",\"message\":" + quote(issue.message) + "}";
  }
  return out + "]";
}

// The error the editor answers with when a level is not fit to play.
const char* notPlayable(const char* text) {
  const LevelCheck check = checkLevelText(text);
  if (check.hasErrors()) return reply("{\"error\":\"the level has errors\",\"issues\":" + issuesJson(check) + "}");
  return nullptr;
}

const char* faceName(BlockFace face) {
  switch (face) {
    case Left: return "left";
    case Right: return "right";
    case Top: return "top";
    case Bottom: return "bottom";
  }
  return "?";
}

const char* kindName(BlockKind kind) { return kind == Wall ? "wall" : kind == Hazard ? "hazard" : "exit"; }

// Where a glider comes from when it meets each face, in a player's words.
const char* comingFrom(BlockFace face) {
  switch (face) {
    case Left: return "from the left";
    case Right: return "from the right";
    case Top: return "from above";
    case Bottom: return "from below";
  }
  return "?";
}

// "from the left, from below or from above".
std::string sides(const std::vector<BlockFace>& faces) {
  std::string out;
  for (std::size_t i = 0; i < faces.size(); ++i) {
    out += i == 0 ? "" : i + 1 == faces.size() ? " or " : ", ";
    out += comingFrom(faces[i]);
  }
  return out;
}

// What a tile makes, for telling apart tiles that differ only in their picture.
std::string objectKey(const std::vector<LevelObject*>& objects) {
  std::string key;
  for (const LevelObject* object : objects) {
    if (const HeatSource* fire = dynamic_cast<const HeatSource*>(object)) {
      key += "fire" + number(fire->strength) + ";";
    } else {
      const Block* block = static_cast<const Block*>(object);
      key += std::string(kindName(block->kind)) + faceName(block->face) + number(block->width) + "x" +
             number(block->height) + ";";
    }
  }
  return key;
}

// One line on what a tile does, from the objects the game's tile table makes of it; `twins` are
// the other tiles that make the same objects.
std::string tileLine(const std::vector<LevelObject*>& objects, const std::string& twins) {
  if (objects.empty()) return "Start: where the glider begins (the last one counts)";
  if (const HeatSource* fire = dynamic_cast<const HeatSource*>(objects[0])) {
    const float cells = fire->strength * kReachPerStrength / kCellSize;
    return "Fire, strength " + number(fire->strength) + ": its heat lifts the glider up to " +
           number(cells) + " cells above it, and burns it up close";
  }
  const Block* first = static_cast<const Block*>(objects[0]);
  const std::string size =
      first->height > kCellSize  ? ". A unit taller than its cell: it reaches half a unit into the cells above and below"
      : first->width > kCellSize ? ". A unit wider than its cell: it reaches half a unit into the cells at each side, so a row of them has no gaps"
                                 : "";
  std::string same;
  for (std::size_t i = 0; i < twins.size(); ++i)
    same += std::string(i == 0 ? "" : " and ") + "'" + twins[i] + "'";
  if (!same.empty()) same = ". It makes the same " + std::string(kindName(first->kind)) + " as " + same + "; only the picture differs";
  std::vector<BlockFace> guarded, open;
  for (const LevelObject* object : objects) guarded.push_back(static_cast<const Block*>(object)->face);
  for (BlockFace face : {Left, Right, Top, Bottom})
    if (std::find(guarded.begin(), guarded.end(), face) == guarded.end()) open.push_back(face);
  const std::string through = open.empty() ? "" : "; one coming " + sides(open) + " flies through it";
  switch (first->kind) {
    case Wall: return "Wall: stops a glider coming " + sides(guarded) + through + same;
    case Hazard: return "Hazard: wrecks a glider coming " + sides(guarded) + through + size + same;
    case Exit: return "Exit: a glider coming " + sides(guarded) + " finishes the level" + same;
  }
  return "";
}

}  // namespace

extern "C" {

// Every character the level format knows, what the game makes of it, and one line on what it does.
EMSCRIPTEN_KEEPALIVE const char* zv_tiles() {
  // Each tile's objects, as the game's tile table makes them.
  std::vector<std::pair<char, std::vector<LevelObject*>>> tiles;
  for (int c = 0x21; c < 0x7f; ++c) {
    const char symbol = static_cast<char>(c);
    if (!isTileCharacter(symbol)) continue;
    LevelRows rows;
    rows[0] = std::string(1, symbol);
    std::vector<LevelObject*> objects;
    float startX = 0, startY = 0;
    buildLevelObjects(rows, objects, startX, startY);
    tiles.emplace_back(symbol, std::move(objects));
  }
  std::string out = "[";
  for (auto& [symbol, objects] : tiles) {
    std::string twins;
    for (const auto& [other, otherObjects] : tiles)
      if (other != symbol && !objects.empty() && objectKey(otherObjects) == objectKey(objects)) twins += other;
    std::string kind = "start", faces = "[", extra;
    if (!objects.empty()) {
      if (const HeatSource* fire = dynamic_cast<const HeatSource*>(objects[0])) {
        kind = "fire";
        extra = ",\"strength\":" + number(fire->strength);
      } else {
        const Block* block = static_cast<const Block*>(objects[0]);
        kind = kindName(block->kind);
        extra = ",\"width\":" + number(block->width) + ",\"height\":" + number(block->height);
        for (const LevelObject* object : objects)
          faces += std::string(faces.size() > 1 ? "," : "") + quote(faceName(static_cast<const Block*>(object)->face));
      }
    }
    if (out.size() > 1) out += ',';
    out += "{\"char\":" + quote(std::string(1, symbol)) + ",\"kind\":" + quote(kind) + ",\"faces\":" + faces +
           "]" + extra + ",\"about\":" + quote(tileLine(objects, twins)) + "}";
  }
  for (auto& tile : tiles)
    for (LevelObject* object : tile.second) delete object;
  out += "],\"empty\":[";
  for (std::size_t i = 0; i < sizeof kEmptyCellChars; ++i)
    out += std::string(i ? "," : "") + quote(std::string(1, kEmptyCellChars[i]));
  return reply("{\"tiles\":" + out + "],\"columns\":" + std::to_string(kGridColumns) +
               ",\"rows\":" + std::to_string(kGridRows) + "}");
}

// The checker's verdict on the file's bytes: {"errors": bool, "issues": [...]}.
EMSCRIPTEN_KEEPALIVE const char* zv_check(const char* text) {
  const LevelCheck check = checkLevelText(text);
  return reply(std::string("{\"errors\":") + (check.hasErrors() ? "true" : "false") +
               ",\"issues\":" + issuesJson(check) + "}");
}

// Searches for a winning run as `solver level.txt` does with the same limits. Without a win, the
// best attempt too, as the solver prints it: its keys, how it ended (the hazard or fire cell that
// ended it, or 0 and 0), its distance from the exit in cells (null with no open way to one), when
// it was nearest, and its route as zv_route draws that script.
EMSCRIPTEN_KEEPALIVE const char* zv_solve(const char* text, double maxGameSeconds, double greed,
                                          double maxRuns) {
  if (const char* error = notPlayable(text)) return error;
  SearchLimits limits;
  limits.maxGameSeconds = maxGameSeconds;
  limits.greed = static_cast<float>(greed);
  limits.maxRuns = static_cast<std::size_t>(maxRuns);
  limits.progress = [](std::size_t runs) { reportSearchProgress(static_cast<double>(runs)); };
  LevelRun run(readLevelText(text).rows, kEditorLevelNumber);
  const SearchResult result = searchLevel(run, limits);
  std::string attempt;
  if (!result.won) {
    const BestAttempt best = describeAttempt(run, result, limits);
    attempt = ",\"attempt\":{\"script\":" + quote(formatScript(best.script)) + ",\"ending\":" +
              quote(endingName(best.ending)) + ",\"line\":" + std::to_string(best.line) + ",\"column\":" +
              std::to_string(best.column) + ",\"cellsFromExit\":" +
              (best.wayToExit ? number(best.cellsFromExit()) : "null") + ",\"seconds\":" +
              number(best.nearestSeconds()) + "," + routeMembers(run, best.script) + "}";
  }
  return reply(std::string("{\"won\":") + (result.won ? "true" : "false") +
               ",\"script\":" + quote(formatScript(result.script)) + ",\"frames\":" +
               std::to_string(result.frames) + ",\"keyChanges\":" + std::to_string(result.script.size()) +
               ",\"runs\":" + number(static_cast<double>(result.runs)) + ",\"states\":" +
               number(static_cast<double>(result.states)) + ",\"exhausted\":" +
               (result.exhausted ? "true" : "false") + ",\"maxRuns\":" + number(maxRuns) +
               ",\"maxGameSeconds\":" + number(maxGameSeconds) + attempt + "}");
}

// The script's win rates at +-50, +-100 and +-150 ms, as `solver --rates` measures them.
EMSCRIPTEN_KEEPALIVE const char* zv_rates(const char* text, const char* scriptText, int trials) {
  if (const char* error = notPlayable(text)) return error;
  InputScript script;
  std::string problem;
  if (!parseScript(scriptText, script, problem)) return reply("{\"error\":" + quote(problem) + "}");
  LevelRun run(readLevelText(text).rows, kEditorLevelNumber);
  const RouteRates figures = measureRouteRates(run, script, trials);
  std::string rates = "[";
  for (int i = 0; i < 3; ++i)
    rates += std::string(i ? "," : "") + "{\"ms\":" + std::to_string(kRateMilliseconds[i]) + ",\"wins\":" +
             std::to_string(figures.rates[i].wins) + ",\"trials\":" + std::to_string(figures.rates[i].trials) + "}";
  return reply(std::string("{\"exact\":") + (figures.exact ? "true" : "false") + ",\"rates\":" + rates + "]}");
}

// The kind route search of `solver --kind`: from `from`, or from the calm fast route when it is
// empty, for `budgetSeconds`; each improvement is reported as it is kept.
EMSCRIPTEN_KEEPALIVE const char* zv_kind(const char* text, const char* fromText, double budgetSeconds) {
  if (const char* error = notPlayable(text)) return error;
  LevelRun run(readLevelText(text).rows, kEditorLevelNumber);
  InputScript from;
  std::string problem;
  if (*fromText) {
    if (!parseScript(fromText, from, problem)) return reply("{\"error\":" + quote(problem) + "}");
  } else if (!calmFastRoute(run, from)) {
    return reply("{\"error\":\"no winning route found to start from\"}");
  }
  KindSearchLimits limits;
  limits.budgetSeconds = budgetSeconds;
  const KindSearchResult found = searchKindRoute(run, from, limits, [](const InputScript& script, const KindScore& score, int trials) {
    reportKindProgress(formatScript(script).c_str(), score.wins100, score.wins150, score.wins50, trials);
  });
  if (!found.startWon) return reply("{\"error\":\"the starting route does not win unjittered\"}");
  return reply("{\"script\":" + quote(formatScript(found.script)) + ",\"candidates\":" +
               std::to_string(found.candidates) + ",\"converged\":" + (found.converged ? "true" : "false") + "}");
}

// The glider's path for the script and its run-out, in backdrop pixels, with the key held in each
// frame ("N", "L" or "R"), for drawing the route over the level.
EMSCRIPTEN_KEEPALIVE const char* zv_route(const char* text, const char* scriptText) {
  if (const char* error = notPlayable(text)) return error;
  InputScript script;
  std::string problem;
  if (!parseScript(scriptText, script, problem)) return reply("{\"error\":" + quote(problem) + "}");
  LevelRun run(readLevelText(text).rows, kEditorLevelNumber);
  return reply("{" + routeMembers(run, script) + "}");
}

// Draws the level's backdrop as the shipped backdrops are drawn, without their colour reduction.
// With a path, writes it there as an RGB PNG and returns "" or what went wrong; without one,
// returns the 1024 x 768 RGBA pixels, which live until the next call.
EMSCRIPTEN_KEEPALIVE const char* zv_backdrop(const char* text, const char* pngPath) {
  static std::vector<std::uint8_t> pixels;
  const art::Canvas canvas = art::renderBackdrop(readLevelText(text).rows);
  if (*pngPath) return reply(art::writePng(pngPath, canvas, art::PngChannels::Rgb));
  pixels = canvas.toBytes(true);
  return reinterpret_cast<const char*>(pixels.data());
}

}  // extern "C"
