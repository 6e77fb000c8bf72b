#pragma once
// A private game directory for levels of the player's own: levels/levelN.txt, each level's
// backdrop drawn as the shipped ones are, and the installed pictures and sounds linked in. The
// game runs there unchanged, since it reads everything relative to its working directory.
#include <string>
#include <vector>

class PrivateGameDir {
 public:
  // Makes the directory under parent from the installed data directory dataDir. On failure
  // problem() says what went wrong and nothing is left behind.
  PrivateGameDir(const std::vector<std::string>& levels, const std::string& dataDir, const std::string& parent);
  // Removes the directory and everything in it.
  ~PrivateGameDir();
  PrivateGameDir(const PrivateGameDir&) = delete;
  PrivateGameDir& operator=(const PrivateGameDir&) = delete;

  const std::string& path() const { return path_; }
  const std::string& problem() const { return problem_; }

 private:
  std::string fill(const std::vector<std::string>& levels, const std::string& dataDir);

  std::string path_;
  std::string problem_;
};
