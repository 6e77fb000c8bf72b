#pragma once
// Made-up levels for tests: rows of level characters, turned into the text of a level file.
#include <string>
#include <utility>
#include <vector>

// Fifteen rows of a closed, empty level: walls all round, no start and no exit yet.
inline std::vector<std::string> sealedRows() {
  std::vector<std::string> rows(15, ")                  (");
  rows.front() = ")(((((((((((((((((((";
  rows.back() = ")))))))))))))))))))(";
  return rows;
}

// Fifteen empty rows, with the given rows at the given indices.
inline std::vector<std::string> rowsWith(std::initializer_list<std::pair<int, std::string>> rows) {
  std::vector<std::string> grid(15);
  for (const auto& [r, text] : rows) grid[static_cast<std::size_t>(r)] = text;
  return grid;
}

// The rows joined by `end`, with `end` after the last one too unless finalEnd is false.
inline std::string levelText(const std::vector<std::string>& rows, const std::string& end = "\n",
                             bool finalEnd = true) {
  std::string text;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    text += rows[i];
    if (i + 1 < rows.size() || finalEnd) text += end;
  }
  return text;
}

// The glider starts above the left of a floor of hazards with a three-cell exit in it: one long
// hold of Right that ends at just the right moment ("R114") lands in the exit.
inline std::vector<std::string> landingRows() {
  std::vector<std::string> rows = sealedRows();
  rows[8][3] = 'g';
  rows[13] = ")======GGG=========(";
  return rows;
}
