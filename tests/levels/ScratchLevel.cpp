#include "tests/levels/ScratchLevel.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

std::vector<std::string> sealedRows() {
  std::vector<std::string> rows(15, ")                  (");
  rows.front() = ")(((((((((((((((((((";
  rows.back() = ")))))))))))))))))))(";
  return rows;
}

// Tests of one executable run in parallel processes and write the same few levels: each writes
// its own copy and renames it into place, so a reader never sees a half-written file.
std::string writeScratchLevel(const std::string& name, const std::vector<std::string>& rows) {
  const std::string path = std::string(SCRATCH_DIR) + "/" + name;
  const std::string partial = path + "." + std::to_string(::getpid());
  {
    std::ofstream file(partial);
    for (const std::string& row : rows) file << row << '\n';
  }
  std::rename(partial.c_str(), path.c_str());
  return path;
}

std::string writeLandingLevel() {
  std::vector<std::string> rows = sealedRows();
  rows[8][3] = 'g';
  rows[13] = ")======GGG=========(";
  return writeScratchLevel("kind_landing.txt", rows);
}
