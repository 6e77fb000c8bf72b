// Where a level fails: a search that finds no win names its nearest run and how it ended, the
// exact cell of the hazard or fire that ended it, and a script that, traced as routes are (with
// the run-out), plays exactly that run. The solver prints it; a winnable level has none.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "level/LevelFile.h"
#include "route/BestAttempt.h"
#include "route/RouteMap.h"
#include "route/TimingError.h"
#include "tests/support/LevelText.h"
#include "tests/support/TempDir.h"

namespace {

// The key held in each frame.
std::vector<Steer> keysOf(const InputScript& script) {
  std::vector<Steer> keys;
  for (const InputSpan& span : script) keys.insert(keys.end(), static_cast<std::size_t>(span.frames), span.input);
  return keys;
}

constexpr double kNoWay = -1;      // the case expects no open way to an exit
constexpr double kUnchecked = -2;  // the case does not check the distance

// A sealed level with its exit at line 2, column 16, and a one-cell shaft at column 6 from row
// `top` (0-based) down to the floor, walled `thick` cells deep at each side; then `cells`.
std::string shaftLevel(int top, int thick, std::initializer_list<std::pair<int, char>> cells) {
  std::vector<std::string> rows = sealedRows();
  rows[1][15] = 'G';
  for (int r = top; r < 14; ++r)
    for (int d = 1; d <= thick; ++d) {
      rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(5 - d)] = ')';
      rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(5 + d)] = '(';
    }
  for (const auto& [r, c] : cells) rows[static_cast<std::size_t>(r)][5] = c;
  return levelText(rows);
}

struct AttemptCase {
  const char* name;
  std::string level;
  AttemptEnding ending;
  int line, column;
  double cells;
};

std::vector<AttemptCase> attemptCases() {
  return {
      // Wrecked half a unit above the U's cell (it stands that much taller), so the glider stops
      // at line 13: the cell named is the U's, not the one the glider is in.
      {"falls-onto-a-hazard", shaftLevel(8, 1, {{8, 'g'}, {13, 'U'}}), AttemptEnding::Wrecked, 14, 6, kUnchecked},
      // The fire below lifts it into the one above.
      {"lifted-into-a-fire", shaftLevel(8, 1, {{7, '3'}, {8, 'g'}, {9, '3'}}), AttemptEnding::Burnt, 8, 6,
       kUnchecked},
      // A fire right under the start lifts the glider before it can burn it; it hovers there,
      // short of the exit high in the shaft, until the time runs out.
      {"hovers-over-a-fire", shaftLevel(1, 1, {{2, 'G'}, {8, 'g'}, {9, '3'}}), AttemptEnding::Flying, 0, 0,
       kUnchecked},
      // Nearest at the start, six cells straight under the exit (the route map, which weighs
      // climbs without lift six times over, makes it 31 cells of route).
      {"rests-under-its-exit", shaftLevel(1, 1, {{2, 'G'}, {8, 'g'}}), AttemptEnding::Resting, 0, 0, 6.0},
      // Walls two cells thick all round: the route map sees no way out even from a glider that
      // has sunk into one.
      {"sealed-off", shaftLevel(5, 2, {{5, '('}, {6, '('}, {8, 'g'}, {13, ')'}}), AttemptEnding::Resting, 0, 0,
       kNoWay},
  };
}

SearchLimits shortLimits() {
  SearchLimits limits;
  limits.maxGameSeconds = 8;
  return limits;
}

TEST(BestAttempt, NamesHowTheNearestRunEndedAndItsScriptPlaysExactlyThatRun) {
  for (const AttemptCase& c : attemptCases()) {
    SCOPED_TRACE(c.name);
    LevelRun run(readLevelText(c.level).rows, 1);
    const SearchResult search = searchLevel(run, shortLimits());
    ASSERT_FALSE(search.won);
    const BestAttempt attempt = describeAttempt(run, search, shortLimits());
    EXPECT_EQ(endingName(attempt.ending), std::string(endingName(c.ending)));
    EXPECT_EQ(attempt.line, c.line);
    EXPECT_EQ(attempt.column, c.column);
    EXPECT_EQ(attempt.wayToExit, c.cells != kNoWay);
    if (c.cells >= 0) {
      EXPECT_DOUBLE_EQ(attempt.cellsFromExit(), c.cells);
    }

    // The keys to the nearest point lead to a glider that far from the exit; with no way to an
    // exit the start counts as nearest.
    ASSERT_EQ(scriptFrames(search.nearestScript), search.nearestFrames);
    replayScript(run, search.nearestScript);
    const Glider nearest = run.currentGlider();
    if (attempt.wayToExit) {
      EXPECT_FLOAT_EQ(RouteMap(run.cells()).distance(nearest.x, nearest.y), attempt.distance);
    } else {
      EXPECT_EQ(search.nearestFrames, 0);
    }

    // The attempt's script is those keys, then no key; traced with its run-out, it ends as told.
    const std::vector<Steer> head = keysOf(search.nearestScript), all = keysOf(attempt.script);
    ASSERT_GE(all.size(), head.size());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), all.begin()));
    EXPECT_EQ(std::count(all.begin() + static_cast<long>(head.size()), all.end(), Steer::None),
              static_cast<long>(all.size() - head.size()));
    std::vector<Glider> path;
    const ReplayResult traced =
        replayScript(run, withRunOut(attempt.script), [&](int, const Glider& g) { path.push_back(g); });
    const bool lost = c.ending == AttemptEnding::Wrecked || c.ending == AttemptEnding::Burnt;
    EXPECT_EQ(traced.outcome, lost ? Outcome::Lost : Outcome::Playing);
    if (lost) {
      EXPECT_EQ(traced.frames, attempt.endFrames);
      EXPECT_EQ(path.back().mode, c.ending == AttemptEnding::Burnt ? Burning : Crashed);
    } else if (c.ending == AttemptEnding::Flying) {
      EXPECT_EQ(traced.frames, attempt.endFrames);  // the drawn route stops where the time ran out
    } else {
      EXPECT_GE(traced.frames, attempt.endFrames);
      ASSERT_GE(path.size(), 2u);
      EXPECT_EQ(path.back().x, path[path.size() - 2].x);
      EXPECT_EQ(path.back().y, path[path.size() - 2].y);
    }
  }
}

TEST(BestAttempt, AWinHasNone) {
  LevelRun run(readLevelText(levelText(landingRows())).rows, 1);
  const SearchResult search = searchLevel(run, shortLimits());
  ASSERT_TRUE(search.won);
  EXPECT_TRUE(search.nearestScript.empty());
  EXPECT_EQ(search.nearestFrames, 0);
}

// The solver's own output and exit status: the attempt's two lines follow "no winning run" only.
TEST(BestAttempt, TheSolverPrintsItForAFailedLevelOnly) {
  struct CliCase {
    const char* name;
    std::string level;
    int status;
    std::string attempt;  // the end of the "Best attempt" line, or "" for none
  };
  const std::vector<CliCase> cases = {
      {"unwinnable", shaftLevel(8, 1, {{8, 'g'}, {13, 'U'}}), 1, "; wrecked by the hazard at line 14, column 6"},
      {"winnable", levelText(landingRows()), 0, ""},
  };
  for (const CliCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string level = dir.write("level.txt", c.level);
    std::FILE* pipe = ::popen((std::string(SOLVER) + " --seconds 8 " + level).c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::vector<std::string> lines;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe)) lines.emplace_back(buffer);
    const int status = ::pclose(pipe);
    EXPECT_EQ(WEXITSTATUS(status), c.status);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind(level + (c.status ? ": no winning run found" : ": won in"), 0), 0u) << lines[0];
    if (c.attempt.empty()) {
      EXPECT_EQ(lines.size(), 2u);
      continue;
    }
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].rfind("  Best attempt: ", 0), 0u) << lines[1];
    EXPECT_NE(lines[1].find(c.attempt + "\n"), std::string::npos) << lines[1];
    ASSERT_EQ(lines[2].rfind("  Keys: ", 0), 0u) << lines[2];
    InputScript keys;
    std::string error;
    ASSERT_TRUE(parseScript(lines[2].substr(8), keys, error)) << error;
    LevelRun run(readLevelFile(level).rows, 1);
    EXPECT_EQ(replayScript(run, keys).outcome, Outcome::Lost) << lines[2];
  }
  // Given both files at once, it searches each file for itself.
  TempDir dir;
  const std::string won = dir.write("won.txt", cases[1].level), lost = dir.write("lost.txt", cases[0].level);
  std::FILE* pipe = ::popen((std::string(SOLVER) + " --seconds 8 " + won + " " + lost).c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string out;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  EXPECT_EQ(WEXITSTATUS(::pclose(pipe)), 1);
  EXPECT_NE(out.find(won + ": won in"), std::string::npos) << out;
  EXPECT_NE(out.find(lost + ": no winning run found"), std::string::npos) << out;
}

}  // namespace
