#pragma once
// The daily pack: from a date, ten generated levels rising from about as hard as shipped level 3
// to about as hard as level 25, the same for everyone on every device. Its name is the date.
#include <array>
#include <string>

#include "level/LevelPack.h"
#include "route/LevelGenerator.h"

// The shipped levels the daily pack's levels are made like, in play order.
constexpr std::array<int, 10> kDailyLike = {3, 5, 7, 10, 12, 15, 18, 20, 22, 25};
// Seeds a daily level may try before the pack is given up: each given up seed moves to the next.
constexpr int kDailySeedsPerLevel = 4;

// Whether the text is a date as the pack names it, YYYY-MM-DD, and a real day of the calendar.
bool isDailyDate(const std::string& date);

struct DailyPack {
  bool made = false;      // false when a level found no seed that made it
  LevelPack pack;         // named by the date
  std::array<GeneratedLevel, kDailyLike.size()> levels;
};

// The day's pack, each level made at targets[i], the +-100 ms rate of shipped level kDailyLike[i].
DailyPack makeDailyPack(const std::string& date, const std::array<double, kDailyLike.size()>& targets);
