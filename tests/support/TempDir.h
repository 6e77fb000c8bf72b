#pragma once
// A private directory for one test's files, removed with everything in it when destroyed. Each
// is new (mkdtemp), so cases that CTest runs at once never share one.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class TempDir {
 public:
  TempDir() {
    std::string pattern = ::testing::TempDir() + "zarvolith-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed for " << pattern;
    dir_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The directory itself.
  std::string path() const { return dir_; }
  // The full path of a name inside, whether or not it exists.
  std::string file(const std::string& name) const { return dir_ + "/" + name; }
  // Writes the bytes to the name inside (making its directories) and returns the full path.
  std::string write(const std::string& name, const std::string& bytes) const {
    std::filesystem::create_directories(std::filesystem::path(file(name)).parent_path());
    std::ofstream(file(name), std::ios::binary) << bytes;
    return file(name);
  }
  std::string write(const std::string& name, const std::vector<unsigned char>& bytes) const {
    return write(name, std::string(bytes.begin(), bytes.end()));
  }

 private:
  std::string dir_;
};
