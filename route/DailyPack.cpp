#include "route/DailyPack.h"

#include <cstdint>

namespace {

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// FNV-1a over the date's characters: every device turns the same date into the same seed.
std::uint64_t dateSeed(const std::string& date) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : date) hash = (hash ^ c) * 0x100000001b3ull;
  return hash;
}

}  // namespace

bool isDailyDate(const std::string& date) {
  if (date.size() != 10 || date[4] != '-' || date[7] != '-') return false;
  for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (date[i] < '0' || date[i] > '9') return false;
  const int year = std::stoi(date.substr(0, 4)), month = std::stoi(date.substr(5, 2)), day = std::stoi(date.substr(8, 2));
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || month < 1 || month > 12 || day < 1) return false;
  return day <= kDays[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

std::string notADateMessage(const std::string& date) {
  const std::string shown = date.size() > 40 ? date.substr(0, 40) + "..." : date;
  return "\"" + shown + "\" is not a date of the calendar written YYYY-MM-DD";
}

GeneratedLevel makeDailyLevel(const std::string& date, std::size_t index, double target) {
  const std::uint64_t seed = dateSeed(date) % 1000000007ull;
  GeneratedLevel level;
  // Each level's seeds are its index plus steps of 16 (16 x 4 attempts fit in 64), so the pack's
  // levels take turns to fly right and left, whatever the attempt.
  for (int attempt = 0; attempt < kDailySeedsPerLevel && !level.found; ++attempt)
    level = generateLevel(seed * 64 + static_cast<std::uint64_t>(attempt) * 16 + index, target);
  return level;
}

DailyPack makeDailyPack(const std::string& date, const std::array<double, kDailyLike.size()>& targets) {
  DailyPack daily;
  daily.pack.name = date;
  for (std::size_t i = 0; i < kDailyLike.size(); ++i) {
    GeneratedLevel& level = daily.levels[i];
    level = makeDailyLevel(date, i, targets[i]);
    if (!level.found) return daily;
    daily.pack.levels.push_back(level.text);
  }
  daily.made = true;
  return daily;
}
