#include "tests/levels/LandingLevel.h"

#include <fstream>
#include <vector>

std::string writeLandingLevel() {
  std::vector<std::string> rows(15, ")                  (");
  rows[0] = ")(((((((((((((((((((";
  rows[8][3] = 'g';
  rows[13] = ")======GGG=========(";
  rows[14] = ")))))))))))))))))))(";
  const std::string path = std::string(SCRATCH_DIR) + "/kind_landing.txt";
  std::ofstream file(path);
  for (const std::string& row : rows) file << row << '\n';
  return path;
}
