#include "tools/art/ArtBuild.h"

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>

#include "backdrop/Backdrop.h"
#include "backdrop/PngWriter.h"
#include "tools/art/Icons.h"
#include "tools/art/Screens.h"
#include "tools/art/Sprites.h"

namespace fs = std::filesystem;

namespace art {

namespace {

const std::regex kLevelName("level([0-9]+)\\.txt");
const std::regex kBackdropName("level([0-9]+)bg\\.png");

struct NamedSquare {
  const char* name;
  Rgba colour;
};
constexpr NamedSquare kSquares[] = {
    {"red.png", rgb8(255, 0, 0)},       {"blue.png", rgb8(0, 0, 255)},
    {"green.png", rgb8(0, 255, 0)},     {"gray.png", rgb8(128, 128, 128)},
    {"white.png", rgb8(255, 255, 255)}, {"black.png", rgb8(0, 0, 0)},
};

std::string join(const std::string& dir, const std::string& name) {
  return (fs::path(dir) / name).string();
}

std::string makeDirectory(const std::string& dir) {
  std::error_code error;
  fs::create_directories(dir, error);
  if (error) return "cannot create " + dir + ": " + error.message();
  return "";
}

std::string writeSprites(const std::string& dir) {
  for (const NamedSquare& square : kSquares) {
    const std::string e = writePng(join(dir, square.name), paintSquare(square.colour), PngChannels::Rgb);
    if (!e.empty()) return e;
  }
  struct Sprite {
    const char* name;
    Canvas canvas;
  };
  const Sprite sprites[] = {
      {"glider.png", paintGlider(kGliderWidth, kGliderHeight)},
      {"glider_c.png", paintCrashedGlider(kGliderWidth, kGliderHeight)},
      {"fire1.png", paintFlameFrame(1)},
      {"fire2.png", paintFlameFrame(2)},
      {"heat.png", paintHeat()},
  };
  for (const Sprite& sprite : sprites) {
    const std::string e = writePng(join(dir, sprite.name), sprite.canvas, PngChannels::Rgba);
    if (!e.empty()) return e;
  }
  return "";
}

std::string writeScreens(const std::string& dir) {
  const Fonts fonts;
  if (!fonts.ok()) return std::string("cannot open the fonts ") + kRegularFontPath + " and " + kBoldFontPath;
  std::string e = writePng(join(dir, "titlescreen.png"), paintTitleScreen(fonts), PngChannels::Rgb);
  if (e.empty()) e = writePng(join(dir, "instructions.png"), paintInstructionsScreen(fonts), PngChannels::Rgb);
  if (e.empty()) e = writePng(join(dir, "background.png"), paintBackgroundScreen(), PngChannels::Rgb);
  if (e.empty()) e = writePng(join(dir, "escape.png"), paintEscapePanel(fonts), PngChannels::Rgba);
  if (e.empty()) e = writePng(join(dir, "lost.png"), paintLostPanel(fonts), PngChannels::Rgba);
  return e;
}

std::string writeIcons(const std::string& dir) {
  for (int size : kIconSizes) {
    const std::string name = "zarvolith-" + std::to_string(size) + ".png";
    const std::string e = writePng(join(dir, name), paintIcon(size), PngChannels::Rgba);
    if (!e.empty()) return e;
  }
  return "";
}

// Deletes levelNbg.png files that no level file draws any more, so the game never shows a
// backdrop for a level that is gone.
void removeStaleBackdrops(const std::string& dir, const std::vector<LevelBackdrop>& levels) {
  std::set<std::string> wanted;
  for (const LevelBackdrop& level : levels) wanted.insert(level.backdropName);
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir, error)) {
    const std::string name = entry.path().filename().string();
    if (std::regex_match(name, kBackdropName) && !wanted.count(name)) fs::remove(entry.path(), error);
  }
}

}  // namespace

std::vector<LevelBackdrop> findLevels(const std::string& levelsDir) {
  std::vector<std::pair<long, LevelBackdrop>> numbered;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(levelsDir, error)) {
    const std::string name = entry.path().filename().string();
    std::smatch match;
    if (!std::regex_match(name, match, kLevelName)) continue;
    const std::string number = match[1].str();
    if (number.size() > 9) continue;  // no game has that many levels; keeps stol in range
    numbered.push_back({std::stol(number), {entry.path().string(), "level" + number + "bg.png"}});
  }
  std::sort(numbered.begin(), numbered.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<LevelBackdrop> levels;
  for (auto& entry : numbered) levels.push_back(entry.second);
  return levels;
}

std::string writeBackdrop(const std::string& levelPath, const std::string& pngPath) {
  return writePng(pngPath, renderBackdropFile(levelPath), PngChannels::Indexed);
}

std::string writeAllArt(const std::string& levelsDir, const std::string& imagesDir,
                        const std::string& iconsDir) {
  std::string e = makeDirectory(imagesDir);
  if (e.empty()) e = makeDirectory(iconsDir);
  if (e.empty()) e = writeSprites(imagesDir);
  if (e.empty()) e = writeScreens(imagesDir);
  if (e.empty()) e = writeIcons(iconsDir);
  if (!e.empty()) return e;
  const std::vector<LevelBackdrop> levels = findLevels(levelsDir);
  for (const LevelBackdrop& level : levels) {
    e = writeBackdrop(level.levelPath, join(imagesDir, level.backdropName));
    if (!e.empty()) return e;
  }
  removeStaleBackdrops(imagesDir, levels);
  return "";
}

}  // namespace art
