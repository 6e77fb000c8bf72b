#include "launcher/PrivateGameDir.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <system_error>

#include "backdrop/Backdrop.h"
#include "backdrop/PngWriter.h"
#include "level/LevelFile.h"

namespace fs = std::filesystem;

namespace {

// The installed level backdrops, which the private directory draws afresh for its own levels.
const std::regex kBackdropName("level[0-9]+bg\\.png");

std::string writeText(const fs::path& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.close();
  return file ? "" : "cannot write " + path.string();
}

// Links every installed picture but the level backdrops into images/.
std::string linkPictures(const fs::path& installed, const fs::path& images) {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(installed, error)) {
    const std::string name = entry.path().filename().string();
    if (std::regex_match(name, kBackdropName)) continue;
    fs::create_symlink(entry.path(), images / name, error);
    if (error) return "cannot link " + name + ": " + error.message();
  }
  return error ? "cannot read " + installed.string() + ": " + error.message() : "";
}

}  // namespace

PrivateGameDir::PrivateGameDir(const std::vector<std::string>& levels, const std::string& dataDir,
                               const std::string& parent)
    : levels_(levels) {
  std::string pattern = parent + "/zarvolith-levels.XXXXXX";
  if (!mkdtemp(&pattern[0])) {
    problem_ = "cannot make a private game directory in " + parent;
    return;
  }
  path_ = pattern;
  problem_ = fill(dataDir);
  if (!problem_.empty()) {
    std::error_code error;
    fs::remove_all(path_, error);
    path_.clear();
  }
}

PrivateGameDir::~PrivateGameDir() {
  if (path_.empty()) return;
  std::error_code error;
  fs::remove_all(path_, error);
}

std::string PrivateGameDir::fill(const std::string& dataDir) {
  std::error_code error;
  const fs::path data = fs::absolute(dataDir, error), root(path_);
  if (!fs::create_directory(root / "levels", error) || !fs::create_directory(root / "images", error))
    return "cannot make the private game directory's folders";
  fs::create_symlink(data / "audio", root / "audio", error);
  if (error) return "cannot link the sounds: " + error.message();
  std::string problem = linkPictures(data / "images", root / "images");
  for (std::size_t i = 0; i < levels_.size() && problem.empty(); ++i)
    problem = writeText(root / "levels" / ("level" + std::to_string(i + 1) + ".txt"), levels_[i]);
  return problem.empty() ? drawBackdrop(0) : problem;
}

std::string PrivateGameDir::drawBackdrop(std::size_t index) const {
  const fs::path images = fs::path(path_) / "images", name = "level" + std::to_string(index + 1) + "bg.png";
  const art::Canvas backdrop = art::renderBackdrop(readLevelText(levels_[index]).rows);
  const std::string problem = art::writePng((images / ".drawing.png").string(), backdrop, art::PngChannels::Indexed);
  if (!problem.empty()) return problem;
  std::error_code error;
  fs::rename(images / ".drawing.png", images / name, error);
  return error ? "cannot write " + name.string() + ": " + error.message() : "";
}
