// Measures each shipped level's committed route, levels/levelN.route: whether it wins as written and
// how often it wins with a person's timing error. The checks of committed routes read the figures,
// so that a level below its mark still leaves the difficulty curve to be checked.
#include <gtest/gtest.h>

#include <string>

#include "route/InputScript.h"
#include "level/LevelFile.h"
#include "route/LevelRun.h"
#include "route/TimingError.h"
#include "tests/levels/ShippedLevels.h"

namespace {

class RouteMeasurement : public ::testing::TestWithParam<int> {};

TEST_P(RouteMeasurement, OfTheCommittedRoute) {
  const int n = GetParam();
  forgetFigures(n);
  InputScript route;
  std::string error;
  ASSERT_TRUE(readScriptFile(routePath(n), route, error)) << error << " (make one with solver --kind)";
  LevelRun run(readLevelFile(levelPath(n)).rows, n);
  RouteFigures figures;
  figures.wonExactly = replayScript(run, withRunOut(route)).outcome == Outcome::Won;
  figures.trials = kCheckTrials;
  figures.wins100 = measureWinRate(run, route, framesForMilliseconds(100), kCheckTrials, kTrialSeed).wins;
  figures.wins150 = measureWinRate(run, route, framesForMilliseconds(150), kCheckTrials, kTrialSeed).wins;
  ASSERT_TRUE(writeFigures(n, figures));
}

INSTANTIATE_TEST_SUITE_P(Levels, RouteMeasurement, ::testing::Range(1, shippedLevelCount() + 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Level" + std::to_string(info.param);
                         });

}  // namespace
