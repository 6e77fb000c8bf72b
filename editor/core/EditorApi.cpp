// The level editor's C interface (EditorApi.h): the level checker, the solver, the timing-error
// replays, the kind route search and the backdrop drawing, the same code the command-line tools
// run. Every answer is written by one JsonWriter and kept until the next call.
#include "editor/core/EditorApi.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "backdrop/Backdrop.h"
#include "backdrop/PngWriter.h"
#include "backdrop/WorldView.h"
#include "editor/core/CoreProgress.h"
#include "editor/core/JsonWriter.h"
#include "game/Block.h"
#include "game/HeatSource.h"
#include "game/LevelObject.h"
#include "game/LevelObjectList.h"
#include "level/LevelCheck.h"
#include "level/LevelFile.h"
#include "level/LevelPack.h"
#include "level/TileTable.h"
#include "route/BestAttempt.h"
#include "route/DailyPack.h"
#include "route/LevelGenerator.h"
#include "route/InputScript.h"
#include "route/KindRouteSearch.h"
#include "route/LevelRun.h"
#include "route/LevelSearch.h"
#include "route/RouteTrace.h"
#include "route/TimingError.h"

namespace {

// Every level the editor plays is level 1, as the game plays it from the editor.
constexpr int kEditorLevelNumber = 1;

std::string answer;                  // the last JSON answer
std::vector<std::uint8_t> picture;   // the last backdrop's pixels or PNG bytes

const char* reply(const JsonWriter& json) {
  answer = json.text();
  return answer.c_str();
}

const char* replyError(const std::string& message) {
  JsonWriter out;
  out.beginObject().key("error").string(message).endObject();
  return reply(out);
}

// A figure as text, for the tiles' lines: "2", "2.5".
std::string figure(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

const char* outcomeName(Outcome outcome) {
  return outcome == Outcome::Won ? "won" : outcome == Outcome::Lost ? "lost" : "playing";
}

// zv_route's members, into an open object: how the script and its run-out end, the glider's
// path in backdrop pixels, and the key held in each frame ("N", "L" or "R").
void writeRoute(JsonWriter& out, LevelRun& run, const InputScript& script) {
  const RouteTrace trace = traceRoute(run, withRunOut(script));
  out.key("outcome").string(outcomeName(trace.outcome));
  out.key("points").beginArray();
  for (const TracePoint& p : trace.points) out.number(art::pixelX(p.x)).number(art::pixelY(p.y));
  out.endArray();
  std::string keys;
  for (Steer key : trace.keys) keys += key == Steer::Left ? 'L' : key == Steer::Right ? 'R' : 'N';
  out.key("keys").string(keys);
}

void writeIssues(JsonWriter& out, const LevelCheck& check) {
  out.key("issues").beginArray();
  for (const LevelIssue& issue : check.issues)
    out.beginObject()
        .key("warning").boolean(issue.warning)
        .key("line").integer(issue.line)
        .key("column").integer(issue.column)
        .key("message").string(issue.message)
        .endObject();
  out.endArray();
}

// One rate under its timing error's name; null when `wins` is not measured (below 0).
void writeRate(JsonWriter& out, int milliseconds, int wins, int trials) {
  out.key(std::to_string(milliseconds));
  if (wins < 0) {
    out.null();
    return;
  }
  out.beginObject().key("wins").integer(wins).key("trials").integer(trials).endObject();
}

// The error the editor answers with when a level is not fit to play, or null when it is.
const char* notPlayable(const char* text) {
  const LevelCheck check = checkLevelText(text);
  if (!check.hasErrors()) return nullptr;
  JsonWriter out;
  out.beginObject().key("error").string("the level has errors");
  writeIssues(out, check);
  return reply(out.endObject());
}

// The kind search's report of a route it keeps: its script and its score as rates.
void reportKindRoute(const InputScript& script, const KindScore& score, int trials) {
  JsonWriter out;
  out.beginObject().key("script").string(formatScript(script)).key("trials").integer(trials);
  out.key("rates").beginObject();
  writeRate(out, 50, score.wins50, trials);
  writeRate(out, 100, score.wins100, trials);
  writeRate(out, 150, score.wins150, trials);
  out.endObject().endObject();
  coreKindProgress(out.text().c_str());
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
      key += "fire" + figure(fire->strength) + ";";
    } else {
      const Block* block = static_cast<const Block*>(object);
      key += std::string(kindName(block->kind)) + faceName(block->face) + figure(block->width) + "x" +
             figure(block->height) + ";";
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
    return "Fire, strength " + figure(fire->strength) + ": its heat lifts the glider up to " +
           figure(cells) + " cells above it, and burns it up close";
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

const char* zv_tiles() {
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
  JsonWriter out;
  out.beginObject().key("tiles").beginArray();
  for (auto& [symbol, objects] : tiles) {
    std::string twins;
    for (const auto& [other, otherObjects] : tiles)
      if (other != symbol && !objects.empty() && objectKey(otherObjects) == objectKey(objects)) twins += other;
    out.beginObject().key("char").string(std::string(1, symbol));
    const HeatSource* fire = objects.empty() ? nullptr : dynamic_cast<const HeatSource*>(objects[0]);
    const Block* block = objects.empty() || fire ? nullptr : static_cast<const Block*>(objects[0]);
    out.key("kind").string(fire ? "fire" : block ? kindName(block->kind) : "start");
    out.key("faces").beginArray();
    if (block)
      for (const LevelObject* object : objects) out.string(faceName(static_cast<const Block*>(object)->face));
    out.endArray();
    if (fire) out.key("strength").number(fire->strength);
    if (block) out.key("width").number(block->width).key("height").number(block->height);
    out.key("about").string(tileLine(objects, twins)).endObject();
  }
  for (auto& tile : tiles)
    for (LevelObject* object : tile.second) delete object;
  out.endArray().key("empty").beginArray();
  for (char empty : kEmptyCellChars) out.string(std::string(1, empty));
  out.endArray().key("columns").integer(kGridColumns).key("rows").integer(kGridRows);
  return reply(out.endObject());
}

const char* zv_check(const char* text) {
  const LevelCheck check = checkLevelText(text);
  JsonWriter out;
  out.beginObject().key("errors").boolean(check.hasErrors());
  writeIssues(out, check);
  return reply(out.endObject());
}

const char* zv_solve(const char* text, double maxGameSeconds, double greed, double maxRuns) {
  if (const char* error = notPlayable(text)) return error;
  SearchLimits limits;
  limits.maxGameSeconds = maxGameSeconds;
  limits.greed = static_cast<float>(greed);
  limits.maxRuns = static_cast<std::size_t>(maxRuns);
  limits.progress = [](std::size_t runs) { coreSearchProgress(static_cast<double>(runs)); };
  LevelRun run(readLevelText(text).rows, kEditorLevelNumber);
  const SearchResult result = searchLevel(run, limits);
  JsonWriter out;
  out.beginObject()
      .key("won").boolean(result.won)
      .key("script").string(formatScript(result.script))
      .key("frames").integer(result.frames)
      .key("keyChanges").integer(static_cast<long long>(result.script.size()))
      .key("runs").number(static_cast<double>(result.runs))
      .key("states").number(static_cast<double>(result.states))
      .key("exhausted").boolean(result.exhausted)
      .key("maxRuns").number(maxRuns)
      .key("maxGameSeconds").number(maxGameSeconds);
  if (!result.won) {
    // Where the search got nearest an exit, as the solver prints it, with its route drawn.
    const BestAttempt best = describeAttempt(run, result, limits);
    out.key("attempt").beginObject()
        .key("script").string(formatScript(best.script))
        .key("ending").string(endingName(best.ending))
        .key("line").integer(best.line)
        .key("column").integer(best.column)
        .key("cellsFromExit");
    if (best.wayToExit) out.number(best.cellsFromExit());
    else out.null();
    out.key("seconds").number(best.nearestSeconds());
    writeRoute(out, run, best.script);
    out.endObject();
  }
  return reply(out.endObject());
}

const char* zv_rates(const char* text, const char* scriptText, int trials) {
  if (const char* error = notPlayable(text)) return error;
  InputScript script;
  std::string problem;
  if (!parseScript(scriptText, script, problem)) return replyError(problem);
  LevelRun run(readLevelText(text).rows, kEditorLevelNumber);
  const RouteRates figures = measureRouteRates(run, script, trials);
  JsonWriter out;
  out.beginObject().key("exact").boolean(figures.exact).key("rates").beginObject();
  for (int i = 0; i < 3; ++i)
    writeRate(out, kRateMilliseconds[i], figures.rates[i].wins, figures.rates[i].trials);
  return reply(out.endObject().endObject());
}

namespace {

const char* replyGenerated(const GeneratedLevel& level) {
  JsonWriter out;
  out.beginObject()
      .key("found").boolean(level.found)
      .key("text").string(level.found ? level.text : "")
      .key("route").string(level.found ? formatScript(level.route) : "")
      .key("rate100").number(level.rate100)
      .key("rooms").integer(level.rooms);
  return reply(out.endObject());
}

}  // namespace

const char* zv_generate(double seed, double targetRate) {
  return replyGenerated(generateLevel(static_cast<std::uint64_t>(seed), targetRate));
}

const char* zv_daily_level(const char* date, int index, double targetRate) {
  if (!isDailyDate(date)) return replyError(notADateMessage(date));
  if (index < 0 || index >= static_cast<int>(kDailyLike.size())) return replyError("the daily pack has no level " + std::to_string(index + 1));
  return replyGenerated(makeDailyLevel(date, static_cast<std::size_t>(index), targetRate));
}

const char* zv_kind(const char* text, const char* fromText, double budgetSeconds) {
  if (const char* error = notPlayable(text)) return error;
  LevelRun run(readLevelText(text).rows, kEditorLevelNumber);
  InputScript from;
  std::string problem;
  if (*fromText) {
    if (!parseScript(fromText, from, problem)) return replyError(problem);
  } else if (!calmFastRoute(run, from)) {
    return replyError("no winning route found to start from");
  }
  KindSearchLimits limits;
  limits.budgetSeconds = budgetSeconds;
  const KindSearchResult found = searchKindRoute(run, from, limits, reportKindRoute);
  if (!found.startWon) return replyError("the starting route does not win unjittered");
  JsonWriter out;
  out.beginObject()
      .key("script").string(formatScript(found.script))
      .key("candidates").integer(found.candidates)
      .key("converged").boolean(found.converged);
  return reply(out.endObject());
}

const char* zv_route(const char* text, const char* scriptText) {
  if (const char* error = notPlayable(text)) return error;
  InputScript script;
  std::string problem;
  if (!parseScript(scriptText, script, problem)) return replyError(problem);
  LevelRun run(readLevelText(text).rows, kEditorLevelNumber);
  JsonWriter out;
  out.beginObject();
  writeRoute(out, run, script);
  return reply(out.endObject());
}

const char* zv_read_pack(const char* text) {
  const PackReading reading = readLevelPack(text);
  JsonWriter out;
  out.beginObject().key("errors").boolean(reading.check.hasErrors()).key("name").string(reading.pack.name);
  out.key("levels").beginArray();
  for (const std::string& level : reading.pack.levels) out.string(level);
  out.endArray();
  writeIssues(out, reading.check);
  return reply(out.endObject());
}

const char* zv_write_pack(const char* name, const char* levels) {
  LevelPack pack{name, {}};
  std::size_t at = 0;
  const std::string all = levels;
  while (at < all.size()) {
    std::size_t end = at;
    for (int line = 0; line < kGridRows && end != std::string::npos; ++line) {
      end = all.find('\n', end);
      if (end != std::string::npos) ++end;
    }
    if (end == std::string::npos) end = all.size();
    pack.levels.push_back(all.substr(at, end - at));
    at = end;
  }
  const std::string text = writeLevelPack(pack);
  const PackReading reading = readLevelPack(text);
  JsonWriter out;
  out.beginObject().key("text").string(text).key("errors").boolean(reading.check.hasErrors());
  writeIssues(out, reading.check);
  return reply(out.endObject());
}

// Drawn as the shipped backdrops are drawn, without their colour reduction.
const uint8_t* zv_backdrop_pixels(const char* text) {
  picture = art::renderBackdrop(readLevelText(text).rows).toBytes(true);
  return picture.data();
}

const uint8_t* zv_backdrop_png(const char* text, size_t* size) {
  const art::Canvas canvas = art::renderBackdrop(readLevelText(text).rows);
  const bool encoded = art::encodePng(canvas, art::PngChannels::Rgb, picture).empty();
  *size = encoded ? picture.size() : 0;
  return encoded ? picture.data() : nullptr;
}

}  // extern "C"
