#include "level/LevelFile.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// Characters from an open file.
struct FileSource {
  std::FILE* file;
  int get() { return std::getc(file); }
  void unget(int c) { std::ungetc(c, file); }
};

// Characters from a level's text in memory.
struct TextSource {
  const std::string& text;
  std::size_t at = 0;
  int get() { return at < text.size() ? static_cast<unsigned char>(text[at++]) : EOF; }
  void unget(int) { --at; }
};

// Reading state shared by the 15 row reads: neither note is ever cleared once set.
template <typename Source>
struct RowReader {
  Source source;
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
      const int c = source.get();
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
    const int next = source.get();
    if (next == '\n') return true;
    if (next != EOF) source.unget(next);
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

template <typename Source>
LevelFile readRows(Source source) {
  LevelFile result;
  RowReader<Source> reader{source};
  for (std::string& row : result.rows) reader.read(row);
  if (reader.endMet) result.problem = "End of level file reached prematurely.";
  return result;
}

LevelFile readLevelStream(std::FILE* file) { return readRows(FileSource{file}); }

LevelFile readLevelText(const std::string& text) { return readRows(TextSource{text}); }
