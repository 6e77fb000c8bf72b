#include "tools/sitedata/SiteFacts.h"

#include <cmath>
#include <cstdio>

#include "backdrop/GliderOutline.h"
#include "backdrop/RouteColours.h"
#include "backdrop/WorldView.h"
#include "editor/core/JsonWriter.h"
#include "game/GameState.h"
#include "game/Glider.h"
#include "level/Grid.h"
#include "level/LevelCheck.h"
#include "level/LevelPack.h"
#include "level/TileTable.h"
#include "route/DailyPack.h"
#include "route/LevelRun.h"
#include "route/LevelSearch.h"
#include "route/TimingError.h"

namespace {

// Outline points to four places: the unit box's figures as written, not as floats store them.
double rounded(float value) { return std::round(value * 1e4) / 1e4; }

std::string css(const art::RouteColour& c) {
  char text[48];
  std::snprintf(text, sizeof text, "rgba(%d,%d,%d,%g)", c.r, c.g, c.b, rounded(c.a));
  return text;
}

void point(JsonWriter& out, const char* name, const art::Point& p) {
  out.key(name).beginArray().number(rounded(p.x)).number(rounded(p.y)).endArray();
}

void exportFact(std::string& module, const char* name, const JsonWriter& value) {
  module += "export const " + std::string(name) + " = " + value.text() + ";\n";
}

}  // namespace

std::string siteFactsModule() {
  std::string module = "// Written by the build (tools/sitedata) from the game's C++: edit the C++, not this.\n";
  JsonWriter state;
  state.beginObject()
      .key("title").integer(Title)
      .key("instructions").integer(Instructions)
      .key("playing").integer(Playing)
      .key("levelExit").integer(LevelExit)
      .key("escaped").integer(Escaped)
      .key("lost").integer(Lost)
      .endObject();
  exportFact(module, "STATE", state);

  JsonWriter grid;
  grid.beginObject().key("columns").integer(kGridColumns).key("rows").integer(kGridRows)
      .key("cellSize").number(kCellSize).key("start").string(std::string(1, kStartTile))
      .key("empty").beginArray();
  for (char empty : kEmptyCellChars) grid.string(std::string(1, empty));
  exportFact(module, "GRID", grid.endArray().endObject());

  JsonWriter pack;
  pack.beginObject().key("maxBytes").integer(static_cast<int>(kMaxPackBytes)).key("maxLevels").integer(kMaxPackLevels)
      .key("maxNameCharacters").integer(kMaxPackNameCharacters).key("heading").string(kPackHeading).endObject();
  exportFact(module, "PACK_LIMITS", pack);

  JsonWriter daily;
  daily.beginArray();
  for (int like : kDailyLike) daily.integer(like);
  exportFact(module, "DAILY_LIKE", daily.endArray());

  JsonWriter backdrop;
  backdrop.beginObject().key("width").integer(art::kScreenWidth).key("height").integer(art::kScreenHeight).endObject();
  exportFact(module, "BACKDROP", backdrop);

  const SearchLimits limits;
  JsonWriter search;
  search.beginObject()
      .key("maxGameSeconds").number(limits.maxGameSeconds)
      .key("greed").number(limits.greed)
      .key("maxRuns").number(static_cast<double>(limits.maxRuns))
      .endObject();
  exportFact(module, "SEARCH_LIMITS", search);

  JsonWriter frameRate;
  exportFact(module, "FRAMES_PER_SECOND", frameRate.integer(kFramesPerSecond));
  JsonWriter trials;
  exportFact(module, "RATE_TRIALS", trials.integer(kRateTrials));
  JsonWriter errors;
  errors.beginArray();
  for (int ms : kRateMilliseconds) errors.integer(ms);
  exportFact(module, "RATE_MILLISECONDS", errors.endArray());

  JsonWriter colours;
  colours.beginObject()
      .key("L").string(css(art::kRouteLeft))
      .key("R").string(css(art::kRouteRight))
      .key("N").string(css(art::kRouteNoKey))
      .key("outline").string(css(art::kRouteOutline))
      .key("crash").string(css(art::kRouteCrash))
      .key("won").string(css(art::kRouteWon))
      .endObject();
  exportFact(module, "ROUTE_COLOURS", colours);

  const art::GliderOutline outline;
  JsonWriter glider;
  glider.beginObject().key("width").number(kGliderSpriteWidth).key("height").number(kGliderSpriteHeight);
  glider.key("outline").beginObject();
  point(glider, "nose", outline.nose);
  point(glider, "tailTop", outline.tailTop);
  point(glider, "tailFar", outline.tailFar);
  point(glider, "fold", outline.fold);
  point(glider, "keelBottom", outline.keelBottom);
  point(glider, "keelFront", outline.keelFront);
  exportFact(module, "GLIDER", glider.endObject().endObject());
  return module;
}
