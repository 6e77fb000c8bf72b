// The daily pack: which texts are dates, and one day's pack: ten levels, each made at its target
// (the shipped levels' rates, rising in difficulty), named by the date, readable as a pack file.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "level/LevelPack.h"
#include "route/DailyPack.h"

namespace {

struct DateCase {
  const char* text;
  bool date;
};

TEST(DailyDate, IsADayOfTheCalendarWrittenYearMonthDay) {
  const DateCase cases[] = {
      {"2026-12-24", true},  {"2024-02-29", true},  {"2000-02-29", true},  {"2026-02-29", false},
      {"1900-02-29", false}, {"2026-04-31", false}, {"2026-13-01", false}, {"2026-00-10", false},
      {"2026-12-00", false}, {"2026-1-24", false},  {"26-12-24", false},   {"2026/12/24", false},
      {"2026-12-2x", false}, {"", false},           {"2026-12-24 ", false},
  };
  for (const DateCase& c : cases) EXPECT_EQ(isDailyDate(c.text), c.date) << '"' << c.text << '"';
}

TEST(DailyPackOfADay, HoldsTenLevelsAtTheirRisingTargets) {
  std::array<double, kDailyLike.size()> targets{};
  for (std::size_t i = 0; i < targets.size(); ++i) {
    std::string error;
    ASSERT_TRUE(rateOfShippedLevel(LEVELS_DIR, kDailyLike[i], targets[i], error)) << error;
  }
  const DailyPack daily = makeDailyPack("2026-12-24", targets);
  ASSERT_TRUE(daily.made);
  const PackReading reading = readLevelPack(writeLevelPack(daily.pack));
  EXPECT_FALSE(reading.check.hasErrors()) << reading.check.report("daily");
  EXPECT_EQ(reading.pack.name, "2026-12-24");
  ASSERT_EQ(reading.pack.levels.size(), kDailyLike.size());
  for (std::size_t i = 0; i < kDailyLike.size(); ++i) {
    EXPECT_LE(std::fabs(daily.levels[i].rate100 - targets[i]), kRateTolerance) << "level " << i + 1;
    for (std::size_t j = 0; j < i; ++j) EXPECT_NE(reading.pack.levels[i], reading.pack.levels[j]);
  }
  EXPECT_GT(targets.front(), targets.back() + 0.2) << "the pack rises from easy to hard";
}

}  // namespace
