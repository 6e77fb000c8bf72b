// Reading back the start-up steps the probes print, and their medians over many starts.
#include "bench/StepReport.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Steps = std::vector<std::pair<std::string, double>>;

TEST(StepReport, EachStepTakesTheTimeSinceTheOneBeforeAndNamesMayHoldSpaces) {
  const std::string output =
      "step loaded 1002.5\n"
      "step toolkit 1030.0\n"
      "not a step 1040.0\n"
      "step first frame 1045.5\n";
  EXPECT_EQ(perf::readSteps(output, 1000.0),
            (Steps{{"loaded", 2.5}, {"toolkit", 27.5}, {"first frame", 15.5}}));
}

TEST(StepReport, DamagedLinesAreSkippedWithoutMovingTheClock) {
  const std::string output =
      "step \n"
      "step 12\n"
      "step window soon\n"
      "step window 20.0";  // the last line may lack its newline
  EXPECT_EQ(perf::readSteps(output, 10.0), (Steps{{"window", 10.0}}));
  EXPECT_TRUE(perf::readSteps("", 0.0).empty());
}

TEST(StepReport, TableKeepsFirstSeenOrderAndGivesMediansOrNegativeForAbsentSteps) {
  perf::StepTable table;
  table.add({{"toolkit", 30.0}, {"window", 7.0}});
  table.add({{"toolkit", 20.0}, {"sprites", 1.0}, {"window", 5.0}});
  table.add({{"toolkit", 40.0}, {"window", 6.0}});
  EXPECT_EQ(table.order(), (std::vector<std::string>{"toolkit", "window", "sprites"}));
  EXPECT_DOUBLE_EQ(table.median("toolkit"), 30.0);
  EXPECT_DOUBLE_EQ(table.median("window"), 6.0);
  EXPECT_DOUBLE_EQ(table.median("sprites"), 1.0);
  EXPECT_LT(table.median("audio"), 0.0);
}

}  // namespace
