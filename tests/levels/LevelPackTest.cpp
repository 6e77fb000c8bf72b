// Level packs: the shipped levels round-trip byte for byte, and every kind of damaged or
// unfit pack is refused at its own line with a message that says what is wrong.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "level/LevelPack.h"
#include "tests/support/LevelText.h"

namespace {

std::string shippedLevel(int n) {
  std::ifstream file(std::string(SHIPPED_LEVELS_DIR) + "/level" + std::to_string(n) + ".txt", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// A closed level with a start and an exit: the checker finds nothing wrong with it.
std::string goodLevel() {
  std::vector<std::string> rows = sealedRows();
  rows[2][3] = 'g';
  rows[13][16] = 'G';
  return levelText(rows);
}

std::string packOf(const std::string& heading, int levels, const std::string& last = "") {
  std::string text = heading;
  for (int i = 0; i < levels; ++i) text += goodLevel();
  return text + last;
}

TEST(LevelPack, ShippedLevelsRoundTripByteForByte) {
  LevelPack pack;
  pack.name = "The first ten";
  for (int n = 1; n <= 10; ++n) pack.levels.push_back(shippedLevel(n));
  const std::string text = writeLevelPack(pack);
  const PackReading reading = readLevelPack(text);
  EXPECT_FALSE(reading.check.hasErrors()) << reading.check.report("pack");
  EXPECT_EQ(reading.pack.name, pack.name);
  EXPECT_EQ(reading.pack.levels, pack.levels);
  EXPECT_EQ(writeLevelPack(reading.pack), text);
}

TEST(LevelPack, UnfitPacksAreRefusedAtTheirPlace) {
  const std::string heading = "Zarvolith level pack: Mine\n";
  std::string badCell = goodLevel();
  badCell[5 * 21 + 4] = '?';  // line 6, column 5 of the level
  struct Case {
    const char* name;
    std::string text;
    int line, column;
    const char* message;
  } cases[] = {
      {"no heading", goodLevel(), 1, 1, "not a level pack"},
      {"no levels", heading, 2, 1, "no levels"},
      {"51 levels", packOf(heading, 51), 752, 1, "51 levels; a pack holds at most 50"},
      {"cut short", packOf(heading, 2, ")   g   (\n"), 32 + 1, 1, "level 3 is cut short: it has 1 of its 15 lines"},
      {"a bad cell in level 2", heading + goodLevel() + badCell, 17 + 5, 5, "level 2: "},
      {"a control character in the name", packOf("Zarvolith level pack: a\tb\n", 1), 1, 23, "control character"},
      {"a name of 41 characters", packOf("Zarvolith level pack: " + std::string(41, 'x') + "\n", 1), 1, 23, "41 characters"},
      {"a name that is not UTF-8", packOf("Zarvolith level pack: caf\xe9\n", 1), 1, 23, "not UTF-8"},
      {"too large", std::string(kMaxPackBytes + 1, 'x'), 0, 0, "more than any pack"},
  };
  for (const Case& c : cases) {
    const PackReading reading = readLevelPack(c.text);
    ASSERT_TRUE(reading.check.hasErrors()) << c.name;
    const LevelIssue& first = reading.check.issues.front();
    EXPECT_EQ(first.line, c.line) << c.name << ": " << first.message;
    EXPECT_EQ(first.column, c.column) << c.name << ": " << first.message;
    EXPECT_NE(first.message.find(c.message), std::string::npos) << c.name << ": " << first.message;
  }
}

TEST(LevelPack, FitNamesAndHeadingsAreKept) {
  struct Case {
    const char* name;
    std::string heading, kept;
  } cases[] = {
      {"empty name", "Zarvolith level pack: \n", ""},
      {"no space after the colon", "Zarvolith level pack:\n", ""},
      {"markup is plain text", "Zarvolith level pack: <b>Hi</b> & co\n", "<b>Hi</b> & co"},
      {"40 characters of UTF-8", "Zarvolith level pack: " + std::string(39, 'x') + "\xc3\xa9\n", std::string(39, 'x') + "\xc3\xa9"},
      {"CR LF line ends", "Zarvolith level pack: Windows\r\n", "Windows"},
  };
  for (const Case& c : cases) {
    const PackReading reading = readLevelPack(packOf(c.heading, 2));
    EXPECT_FALSE(reading.check.hasErrors()) << c.name << ": " << reading.check.report("pack");
    EXPECT_EQ(reading.pack.name, c.kept) << c.name;
    EXPECT_EQ(reading.pack.levels.size(), 2u) << c.name;
  }
}

}  // namespace
