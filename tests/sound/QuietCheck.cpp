#include "tests/sound/QuietCheck.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

QuietCheck::QuietCheck(const std::string& path) : path_(path) {
  std::cout.flush();
  std::fflush(stdout);
  std::fflush(stderr);
  const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (file < 0) return;
  capturing_ = true;
  savedOut_ = ::dup(STDOUT_FILENO);
  savedErr_ = ::dup(STDERR_FILENO);
  ::dup2(file, STDOUT_FILENO);
  ::dup2(file, STDERR_FILENO);
  ::close(file);
}

QuietCheck::~QuietCheck() { stop(); }

std::string QuietCheck::stop() {
  // A capture that never started must not read as silence.
  if (!capturing_) return "(stdout and stderr could not be captured)";
  if (savedOut_ < 0) return "(already stopped)";
  std::cout.flush();
  std::fflush(stdout);
  std::fflush(stderr);
  ::dup2(savedOut_, STDOUT_FILENO);
  ::dup2(savedErr_, STDERR_FILENO);
  ::close(savedOut_);
  ::close(savedErr_);
  savedOut_ = savedErr_ = -1;
  std::ifstream in(path_);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}
