#pragma once
// Catches everything written to stdout and stderr (by any code, C or C++, any thread) between
// start and stop, so a test can demand that a failing sound says nothing.
#include <string>

class QuietCheck {
 public:
  // Starts sending fds 1 and 2 to a file at path.
  explicit QuietCheck(const std::string& path);
  ~QuietCheck();
  // Puts fds 1 and 2 back and returns what was written meanwhile.
  std::string stop();

  QuietCheck(const QuietCheck&) = delete;
  QuietCheck& operator=(const QuietCheck&) = delete;

 private:
  std::string path_;
  bool capturing_ = false;
  int savedOut_ = -1, savedErr_ = -1;
};
