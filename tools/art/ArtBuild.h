#pragma once
// Writes every picture the game loads: sprites, screens, one backdrop per level file, and icons.
#include <string>
#include <vector>

namespace art {

// A level file and the backdrop drawn from it.
struct LevelBackdrop {
  std::string levelPath;     // .../levelN.txt
  std::string backdropName;  // levelNbg.png
};

// The level files levelN.txt in the directory, in order of N. None when the directory is missing.
std::vector<LevelBackdrop> findLevels(const std::string& levelsDir);

// Draws a level's backdrop and writes it as an RGB PNG. Empty string on success, else the error.
std::string writeBackdrop(const std::string& levelPath, const std::string& pngPath);

// Writes all the game's pictures into imagesDir and the icons into iconsDir (creating both), and
// removes backdrops whose level file no longer exists. Empty string on success, else the error.
std::string writeAllArt(const std::string& levelsDir, const std::string& imagesDir,
                        const std::string& iconsDir);

}  // namespace art
