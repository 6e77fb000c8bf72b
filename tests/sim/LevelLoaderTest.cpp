// Level files, well-formed and damaged, each with the level and message it yields.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "game/Block.h"
#include "game/HeatSource.h"
#include "tests/support/LevelText.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorldReset.h"

namespace {

const std::string kPrefix = "Exception raised loading level: ";
const std::string kPremature = kPrefix + "End of level file reached prematurely.\n";

// What one object looks like, for comparing in order.
std::string describe(const LevelObject* object) {
  char text[128];
  if (auto* b = dynamic_cast<const Block*>(object)) {
    std::snprintf(text, sizeof text, "B k%d f%d %gx%g @%g,%g", b->kind, b->face, b->width, b->height, b->x, b->y);
  } else if (auto* h = dynamic_cast<const HeatSource*>(object)) {
    std::snprintf(text, sizeof text, "H s%g @%g,%g", h->strength, h->x, h->y);
  } else {
    std::snprintf(text, sizeof text, "?");
  }
  return text;
}

struct Loaded {
  std::vector<std::string> objects;
  std::vector<std::string> rows;
  float startX, startY;
  std::string printed;
};

Loaded load(const std::string& path) {
  ::testing::internal::CaptureStdout();
  LevelObjectList list(path);
  Loaded result;
  result.printed = ::testing::internal::GetCapturedStdout();
  for (const LevelObject* o : list.objects) result.objects.push_back(describe(o));
  result.rows.assign(list.rows.begin(), list.rows.end());
  result.startX = list.startX;
  result.startY = list.startY;
  return result;
}

// A level file, well-formed or damaged, with the rows the loader keeps, the number of objects
// they make and what it prints.
struct LevelFileCase {
  const char* name;
  std::string text;
  std::vector<std::string> rows;
  std::size_t objects;
  std::string printed;
};

const std::string k20Walls(20, '(');

std::vector<LevelFileCase> levelFileCases() {
  const std::vector<std::string> corners = rowsWith({{0, "("}, {7, "  g"}, {14, "...................4"}});
  std::vector<std::string> longThenExits = rowsWith({{3, k20Walls + "("}});
  for (int r = 4; r < 15; ++r) longThenExits[static_cast<std::size_t>(r)] = "G";
  return {
      {"fifteen-lines", levelText(corners), corners, 4, ""},
      {"later-lines-ignored", levelText(corners) + "GGGG\n((((\n", corners, 4, ""},
      {"no-final-line-end", levelText(rowsWith({{14, "G"}}), "\n", false), rowsWith({{14, "G"}}), 1,
       kPremature},
      {"crlf-line-ends", levelText(rowsWith({{2, k20Walls}, {3, ")"}}), "\r\n"),
       rowsWith({{2, k20Walls}, {3, ")"}}), 63, ""},
      {"lone-cr-stays-in-row", levelText(rowsWith({{2, "(\r("}})), rowsWith({{2, "(\r("}}), 6, ""},
      // Nothing is read after an over-long line: its first 20 characters stay, the rest is empty.
      {"twenty-one-characters", levelText(longThenExits), rowsWith({{3, k20Walls}}), 60, ""},
      {"short-row", levelText(rowsWith({{5, "))))G"}})), rowsWith({{5, "))))G"}}), 13, ""},
      {"three-lines", "G\n\nG\n", rowsWith({{0, "G"}, {2, "G"}}), 2, kPremature},
      {"empty", "", rowsWith({}), 0, kPremature},
      {"nul-ends-row", levelText(rowsWith({{0, std::string("G\0G", 3)}})), rowsWith({{0, "G"}}), 1, ""},
      {"high-bytes-are-empty", levelText(rowsWith({{1, "\xC3\xA9G\xFF("}})),
       rowsWith({{1, "\xC3\xA9G\xFF("}}), 4, ""},
      {"spaces", levelText(std::vector<std::string>(15, std::string(20, ' '))),
       std::vector<std::string>(15, std::string(20, ' ')), 0, ""},
  };
}

}  // namespace

class LevelLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { resetWorld(); }
  TempDir dir;
};

TEST_F(LevelLoaderTest, EachFileGivesItsRowsObjectsAndMessage) {
  for (const LevelFileCase& c : levelFileCases()) {
    SCOPED_TRACE(c.name);
    Loaded l = load(dir.write(std::string(c.name) + ".txt", c.text));
    EXPECT_EQ(l.rows, c.rows);
    EXPECT_EQ(l.objects.size(), c.objects);
    EXPECT_EQ(l.printed, c.printed);
  }
}

TEST_F(LevelLoaderTest, UnreadablePathGivesAnEmptyLevelStartingInTheCentre) {
  const std::string missing = dir.file("does_not_exist.txt");
  Loaded none = load(missing);
  EXPECT_EQ(none.printed, kPrefix + "Couldn't open file: " + missing + "\n");
  EXPECT_TRUE(none.objects.empty());
  EXPECT_EQ(none.rows, rowsWith({}));
  EXPECT_FLOAT_EQ(none.startX, 0.0f) << "no start cell: the level's centre";
  EXPECT_FLOAT_EQ(none.startY, 37.5f);
}

TEST_F(LevelLoaderTest, CellsSitOnTheGridAndTheLastStartCellWins) {
  Loaded l = load(dir.write("grid.txt", levelText(rowsWith({{0, "("}, {1, "          g"}, {2, "g    g"},
                                                             {14, "...................4"}}))));
  EXPECT_EQ(l.objects, (std::vector<std::string>{"B k1 f3 5x5 @-47.5,72.5", "B k1 f0 5x5 @-47.5,72.5",
                                                 "B k1 f2 5x5 @-47.5,72.5", "H s6 @47.5,2.5"}));
  EXPECT_FLOAT_EQ(l.startX, -22.5f);
  EXPECT_FLOAT_EQ(l.startY, 62.5f);
}

TEST_F(LevelLoaderTest, EveryTileCharacterMakesItsObjects) {
  Loaded l = load(dir.write("tiles.txt", levelText(rowsWith({{0, "()[]UnH+-=T_G1234ghN"}}))));
  const std::vector<std::string> expected = {
      "B k1 f3 5x5 @-47.5,72.5", "B k1 f0 5x5 @-47.5,72.5", "B k1 f2 5x5 @-47.5,72.5",  // (
      "B k1 f1 5x5 @-42.5,72.5", "B k1 f0 5x5 @-42.5,72.5", "B k1 f2 5x5 @-42.5,72.5",  // )
      "B k2 f3 5x5 @-37.5,72.5", "B k2 f0 5x5 @-37.5,72.5", "B k2 f1 5x5 @-37.5,72.5",  // [
      "B k2 f3 5x5 @-32.5,72.5", "B k2 f2 5x5 @-32.5,72.5", "B k2 f1 5x5 @-32.5,72.5",  // ]
      "B k2 f3 5x6 @-27.5,72.5", "B k2 f0 5x6 @-27.5,72.5", "B k2 f1 5x6 @-27.5,72.5",  // U
      "B k2 f3 5x6 @-22.5,72.5", "B k2 f2 5x6 @-22.5,72.5", "B k2 f1 5x6 @-22.5,72.5",  // n
      "B k2 f3 5x6 @-17.5,72.5", "B k2 f1 5x6 @-17.5,72.5",                             // H
      "B k2 f3 5x6 @-12.5,72.5",                                                        // +
      "B k2 f1 5x6 @-7.5,72.5",                                                         // -
      "B k2 f2 6x5 @-2.5,72.5",                                                         // =
      "B k2 f2 6x5 @2.5,72.5",                                                          // T
      "B k2 f0 6x5 @7.5,72.5",                                                          // _
      "B k3 f2 5x5 @12.5,72.5",                                                         // G
      "H s5 @17.5,72.5", "H s10 @22.5,72.5", "H s2 @27.5,72.5", "H s6 @32.5,72.5",      // 1 2 3 4
  };
  EXPECT_EQ(l.objects, expected);
  EXPECT_FLOAT_EQ(l.startX, 37.5f);
  EXPECT_FLOAT_EQ(l.startY, 72.5f);
}
