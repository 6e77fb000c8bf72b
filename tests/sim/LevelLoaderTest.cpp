// Level files, well-formed and damaged, each with the level and message it yields.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "game/Block.h"
#include "game/HeatSource.h"
#include "tests/sim/WorldReset.h"

namespace {

const std::string kPrefix = "Exception raised loading level: ";
const std::string kPremature = kPrefix + "End of level file reached prematurely.\n";

std::string tempPath(const std::string& name) {
  return ::testing::TempDir() + "loader_" + name;
}

std::string writeFile(const std::string& name, const std::string& bytes) {
  const std::string path = tempPath(name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// 15 rows joined by `end`, with `end` after the last unless finalEnd is false.
std::string joinRows(const std::vector<std::string>& rows, const std::string& end, bool finalEnd = true) {
  std::string text;
  for (size_t i = 0; i < rows.size(); ++i) {
    text += rows[i];
    if (i + 1 < rows.size() || finalEnd) text += end;
  }
  return text;
}

std::vector<std::string> blankRows() { return std::vector<std::string>(15, ""); }

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

}  // namespace

class LevelLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { resetWorld(); }
};

TEST_F(LevelLoaderTest, FifteenLinesLoadSilentlyAndLaterLinesChangeNothing) {
  auto rows = blankRows();
  rows[0] = "(";
  rows[14] = "...................4";
  rows[7] = "  g";
  Loaded l = load(writeFile("exact", joinRows(rows, "\n")));
  EXPECT_EQ(l.printed, "");
  EXPECT_EQ(l.objects, (std::vector<std::string>{"B k1 f3 5x5 @-47.5,72.5", "B k1 f0 5x5 @-47.5,72.5",
                                                 "B k1 f2 5x5 @-47.5,72.5", "H s6 @47.5,2.5"}));
  EXPECT_FLOAT_EQ(l.startX, -37.5f);
  EXPECT_FLOAT_EQ(l.startY, 37.5f);
  EXPECT_EQ(l.rows, rows);

  Loaded extra = load(writeFile("extra", joinRows(rows, "\n") + "GGGG\n((((\n"));
  EXPECT_EQ(extra.objects, l.objects);
  EXPECT_EQ(extra.printed, "");
}

TEST_F(LevelLoaderTest, MissingFinalLineEndBuildsTheLevelAndReportsOnce) {
  auto rows = blankRows();
  rows[14] = "G";
  Loaded l = load(writeFile("nofinal", joinRows(rows, "\n", false)));
  EXPECT_EQ(l.printed, kPremature);
  EXPECT_EQ(l.objects, (std::vector<std::string>{"B k3 f2 5x5 @-47.5,2.5"}));
}

TEST_F(LevelLoaderTest, CrLfLineEndsReadLikeLf) {
  auto rows = blankRows();
  rows[2] = "((((((((((((((((((((";  // 20 characters, then CR LF
  rows[3] = ")";
  Loaded lf = load(writeFile("lf", joinRows(rows, "\n")));
  Loaded crlf = load(writeFile("crlf", joinRows(rows, "\r\n")));
  EXPECT_EQ(crlf.printed, "");
  EXPECT_EQ(crlf.rows, lf.rows);
  EXPECT_EQ(crlf.objects, lf.objects);
  EXPECT_EQ(crlf.objects.size(), 63u);
}

TEST_F(LevelLoaderTest, TwentyOneCharacterLineKeepsTwentyAndEmptiesTheRest) {
  auto rows = blankRows();
  rows[3] = "(((((((((((((((((((((";  // 21
  for (int r = 4; r < 15; ++r) rows[r] = "G";
  Loaded l = load(writeFile("long", joinRows(rows, "\n")));
  EXPECT_EQ(l.printed, "") << "an over-long line is not reported";
  EXPECT_EQ(l.rows[3], std::string(20, '('));
  for (int r = 4; r < 15; ++r) EXPECT_EQ(l.rows[r], "") << r;
  EXPECT_EQ(l.objects.size(), 60u);
}

TEST_F(LevelLoaderTest, ShortRowsHaveNoCellsBeyondTheirEnd) {
  auto rows = blankRows();
  rows[5] = "))))G";
  Loaded l = load(writeFile("short", joinRows(rows, "\n")));
  ASSERT_EQ(l.objects.size(), 13u);
  EXPECT_EQ(l.objects.back(), "B k3 f2 5x5 @-27.5,47.5");
}

TEST_F(LevelLoaderTest, FewerLinesEmptyFileAndUnreadablePath) {
  Loaded few = load(writeFile("few", "G\n\nG\n"));
  EXPECT_EQ(few.printed, kPremature);
  EXPECT_EQ(few.objects.size(), 2u);

  Loaded empty = load(writeFile("empty", ""));
  EXPECT_EQ(empty.printed, kPremature);
  EXPECT_TRUE(empty.objects.empty());

  const std::string missing = tempPath("does_not_exist.txt");
  Loaded none = load(missing);
  EXPECT_EQ(none.printed, kPrefix + "Couldn't open file: " + missing + "\n");
  EXPECT_TRUE(none.objects.empty());
  EXPECT_EQ(none.rows, blankRows());
  EXPECT_FLOAT_EQ(none.startX, 0.0f) << "no start cell: the level's centre";
  EXPECT_FLOAT_EQ(none.startY, 37.5f);
}

TEST_F(LevelLoaderTest, NulEndsTheRowAndHighBytesAreEmptyCells) {
  auto rows = blankRows();
  rows[0] = std::string("G\0G", 3);
  rows[1] = "\xC3\xA9G\xFF(";
  Loaded l = load(writeFile("bytes", joinRows(rows, "\n")));
  EXPECT_EQ(l.rows[0], "G");
  EXPECT_EQ(l.rows[1], "\xC3\xA9G\xFF(");
  EXPECT_EQ(l.objects, (std::vector<std::string>{"B k3 f2 5x5 @-47.5,72.5", "B k3 f2 5x5 @-37.5,67.5",
                                                 "B k1 f3 5x5 @-27.5,67.5", "B k1 f0 5x5 @-27.5,67.5",
                                                 "B k1 f2 5x5 @-27.5,67.5"}));
  EXPECT_EQ(l.printed, "");
}

TEST_F(LevelLoaderTest, LastStartCellWins) {
  auto rows = blankRows();
  rows[2] = "g    g";
  rows[1] = "          g";
  Loaded l = load(writeFile("twog", joinRows(rows, "\n")));
  EXPECT_FLOAT_EQ(l.startX, -22.5f);
  EXPECT_FLOAT_EQ(l.startY, 62.5f);
}

TEST_F(LevelLoaderTest, EveryTileCharacterMakesItsObjects) {
  auto rows = blankRows();
  rows[0] = "()[]UnH+-=T_G1234ghN";
  Loaded l = load(writeFile("tiles", joinRows(rows, "\n")));
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

TEST_F(LevelLoaderTest, LevelOfSpacesHasNoObjects) {
  Loaded l = load(writeFile("spaces", joinRows(std::vector<std::string>(15, std::string(20, ' ')), "\n")));
  EXPECT_TRUE(l.objects.empty());
  EXPECT_EQ(l.printed, "");
}
