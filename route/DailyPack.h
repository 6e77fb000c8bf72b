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
static_assert(kDailySeedsPerLevel * 16 <= 64 && kDailyLike.size() <= 16, "a level's seeds stay within the day's 64");

// Whether the text is a date as the pack names it, YYYY-MM-DD, and a real day of the calendar.
bool isDailyDate(const std::string& date);
// What to say of a text that is not such a date: it, cut short when long, and what a date is.
std::string notADateMessage(const std::string& date);

struct DailyPack {
  bool made = false;      // false when a level found no seed that made it
  LevelPack pack;         // named by the date
  std::array<GeneratedLevel, kDailyLike.size()> levels;
};

// The day's level at index (0 to 9) made at target, the +-100 ms rate of shipped level
// kDailyLike[index]: the first of its kDailySeedsPerLevel seeds that makes one, or not found.
// The page makes its levels one at a time with it while the first ones are played.
GeneratedLevel makeDailyLevel(const std::string& date, std::size_t index, double target);

// The day's pack, each level made at targets[i], the +-100 ms rate of shipped level kDailyLike[i].
DailyPack makeDailyPack(const std::string& date, const std::array<double, kDailyLike.size()>& targets);
