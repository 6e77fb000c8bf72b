#include "tests/levels/ShippedLevels.h"

#include <filesystem>
#include <fstream>
#include <regex>

namespace {
std::string figuresPath(int n) {
  return std::string(SCRATCH_DIR) + "/route_figures/level" + std::to_string(n) + ".txt";
}
}  // namespace

int shippedLevelCount() {
  int n = 0;
  while (std::filesystem::exists(levelPath(n + 1))) ++n;
  return n;
}

int levelFilesPresent() {
  const std::regex levelName("level[0-9]+\\.txt");
  int count = 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(LEVELS_DIR, error))
    if (std::regex_match(entry.path().filename().string(), levelName)) ++count;
  return count;
}

std::string levelPath(int n) { return std::string(LEVELS_DIR) + "/level" + std::to_string(n) + ".txt"; }
std::string routePath(int n) { return std::string(LEVELS_DIR) + "/level" + std::to_string(n) + ".route"; }

void forgetFigures(int n) {
  std::error_code error;
  std::filesystem::remove(figuresPath(n), error);
}

bool writeFigures(int n, const RouteFigures& figures) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(figuresPath(n)).parent_path(), error);
  std::ofstream file(figuresPath(n));
  file << figures.wonExactly << ' ' << figures.wins100 << ' ' << figures.wins150 << ' ' << figures.trials << '\n';
  return static_cast<bool>(file);
}

bool readFigures(int n, RouteFigures& figures) {
  std::ifstream file(figuresPath(n));
  return static_cast<bool>(file >> figures.wonExactly >> figures.wins100 >> figures.wins150 >> figures.trials);
}
