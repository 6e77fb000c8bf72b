#include "tests/levels/ScratchLevel.h"

#include <fstream>

std::vector<std::string> sealedRows() {
  std::vector<std::string> rows(15, ")                  (");
  rows.front() = ")(((((((((((((((((((";
  rows.back() = ")))))))))))))))))))(";
  return rows;
}

std::string writeScratchLevel(const std::string& name, const std::vector<std::string>& rows) {
  const std::string path = std::string(SCRATCH_DIR) + "/" + name;
  std::ofstream file(path);
  for (const std::string& row : rows) file << row << '\n';
  return path;
}

std::string writeLandingLevel() {
  std::vector<std::string> rows = sealedRows();
  rows[8][3] = 'g';
  rows[13] = ")======GGG=========(";
  return writeScratchLevel("kind_landing.txt", rows);
}
