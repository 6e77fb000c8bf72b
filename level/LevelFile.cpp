#include "level/LevelFile.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// Reading state shared by the 15 row reads: neither note is ever cleared once set.
struct RowReader {
  std::FILE* file;
  bool endMet = false;  // a read ran into the end of the file
  bool failed = false;  // a read stopped on an over-long line or took nothing at all

  // Reads one row into `row`, following the rules in the header.
  void read(std::string& row) {
    row.clear();
    if (endMet || failed) {
      failed = true;
      return;
    }
    char stored[kGridColumns];
    int count = 0;
    for (;;) {
      const int c = std::getc(file);
      if (c == EOF) {
        endMet = true;
        if (count == 0) failed = true;
        break;
      }
      if (c == '\n') break;
      if (c == '\r' && consumeLineFeed()) break;
      if (count == kGridColumns) {
        failed = true;  // nothing is read after this, so the extra character need not go back
        break;
      }
      stored[count++] = static_cast<char>(c);
    }
    const void* nul = std::memchr(stored, '\0', static_cast<size_t>(count));
    row.assign(stored, nul ? static_cast<const char*>(nul) - stored : count);
  }

  // After a CR: consumes a following LF and says so; otherwise leaves the file as it was.
  bool consumeLineFeed() {
    const int next = std::getc(file);
    if (next == '\n') return true;
    if (next != EOF) std::ungetc(next, file);
    return false;
  }
};

}  // namespace

LevelFile readLevelFile(const std::string& fileName) {
  LevelFile result;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "r"));
  if (!file) {
    result.problem = "Couldn't open file: " + fileName;
    return result;
  }
  return readLevelStream(file.get());
}

LevelFile readLevelStream(std::FILE* file) {
  LevelFile result;
  RowReader reader{file};
  for (std::string& row : result.rows) reader.read(row);
  if (reader.endMet) result.problem = "End of level file reached prematurely.";
  return result;
}
