#pragma once
// A private game directory for levels of the player's own: levels/levelN.txt, each level's
// backdrop drawn as the shipped ones are, and the installed pictures and sounds linked in. The
// game runs there unchanged, since it reads everything relative to its working directory.
#include <string>
#include <vector>

class PrivateGameDir {
 public:
  // Makes the directory under parent from the installed data directory dataDir, with every level
  // file and the first level's backdrop. On failure problem() says what went wrong and nothing is
  // left behind.
  PrivateGameDir(const std::vector<std::string>& levels, const std::string& dataDir, const std::string& parent);
  // Removes the directory and everything in it.
  ~PrivateGameDir();
  PrivateGameDir(const PrivateGameDir&) = delete;
  PrivateGameDir& operator=(const PrivateGameDir&) = delete;

  // Draws the backdrop of level index + 1 (written under another name and renamed, so the game
  // never reads half a picture); "" or what went wrong. The game can start before the later
  // backdrops are drawn: a level takes seconds to fly, a backdrop a fraction of one.
  std::string drawBackdrop(std::size_t index) const;
  std::size_t levelCount() const { return levels_.size(); }
  const std::string& path() const { return path_; }
  const std::string& problem() const { return problem_; }

 private:
  std::string fill(const std::string& dataDir);

  std::vector<std::string> levels_;
  std::string path_;
  std::string problem_;
};
