#include "launcher/OwnLevels.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "level/LevelCheck.h"
#include "level/LevelPack.h"
#include "route/DailyPack.h"

namespace {

// The file's bytes, at most limit of them and one more (so that a larger file can be told).
bool readBytes(const std::string& path, std::size_t limit, std::string& bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  bytes.resize(limit + 1);
  file.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(file.gcount()));
  return !file.bad();
}

}  // namespace

OwnLevels readPackFile(const std::string& path) {
  OwnLevels own;
  std::string text;
  if (!readBytes(path, kMaxPackBytes, text)) {
    own.report = path + ": cannot be read\n";
    return own;
  }
  const PackReading reading = readLevelPack(text);
  own.report = reading.check.report(path);
  own.fit = !reading.check.hasErrors();
  if (own.fit) own.levels = reading.pack.levels;
  return own;
}

OwnLevels readLevelFolder(const std::string& dir) {
  OwnLevels own;
  own.fit = true;
  for (int n = 1;; ++n) {
    const std::string path = dir + "/level" + std::to_string(n) + ".txt";
    std::string text;
    // A level file is at most 15 lines of 20 characters; a much larger one is no level.
    if (!readBytes(path, kMaxPackBytes, text)) break;
    const LevelCheck check = checkLevelText(text);
    own.report += check.report(path);
    own.fit = own.fit && !check.hasErrors();
    own.levels.push_back(text);
  }
  if (own.levels.empty()) {
    own.report += dir + ": no level1.txt to start from\n";
    own.fit = false;
  }
  if (!own.fit) own.levels.clear();
  return own;
}

OwnLevels makeDailyLevels(const std::string& date, const std::string& levelsDir) {
  OwnLevels own;
  if (!isDailyDate(date)) {
    own.report = notADateMessage(date) + "\n";
    return own;
  }
  std::array<double, kDailyLike.size()> targets{};
  for (std::size_t i = 0; i < kDailyLike.size(); ++i) {
    std::string error;
    if (!rateOfShippedLevel(levelsDir, kDailyLike[i], targets[i], error)) {
      own.report = error + "\n";
      return own;
    }
  }
  std::fprintf(stderr, "zarvolith: making the levels of %s (this takes a minute or so)\n", date.c_str());
  const DailyPack daily = makeDailyPack(date, targets);
  if (!daily.made) {
    own.report = date + ": level " + std::to_string(daily.pack.levels.size() + 1) + " of the day could not be made\n";
    return own;
  }
  const PackReading reading = readLevelPack(writeLevelPack(daily.pack));
  own.report = reading.check.report(date);
  own.fit = !reading.check.hasErrors();
  if (own.fit) own.levels = reading.pack.levels;
  return own;
}
