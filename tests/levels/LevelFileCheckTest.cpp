// The level checker names the line and column of each mistake in a level file, and says when
// the border lets the glider out.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "level/LevelCheck.h"
#include "route/InputScript.h"
#include "level/LevelFile.h"
#include "route/LevelRun.h"
#include "tests/support/LevelText.h"
#include "tests/support/TempDir.h"

namespace {

// A sealed, well-formed level: start top left, exit bottom right.
std::vector<std::string> goodRows() {
  std::vector<std::string> rows(15, ")                  (");
  rows[0] = ")(((((((((((((((((((";
  rows[1] = ")g                 (";
  rows[13] = ")                 G(";
  rows[14] = ")))))))))))))))))))(";
  return rows;
}

// goodRows() changed by `change`, then written with `lineEnd`.
template <typename Change>
std::string goodLevelWith(Change change, const char* lineEnd = "\n") {
  std::vector<std::string> rows = goodRows();
  change(rows);
  return levelText(rows, lineEnd);
}

// A level text and the checker's whole report on it, as level7.txt.
struct CheckCase {
  const char* name;
  std::string text;
  std::string report;
};

const std::string kOpenBottom = "level7.txt:15:2: warning: open border: the glider can leave "
                                "through the bottom edge here (and at 17 more cells of that edge)\n";

std::vector<CheckCase> checkCases() {
  std::string noFinalLineFeed = levelText(goodRows());
  noFinalLineFeed.pop_back();
  return {
      {"good", levelText(goodRows()), ""},
      {"dots-and-crlf", goodLevelWith([](auto& rows) { rows[5] = ")........()........("; }, "\r\n"), ""},
      {"unknown-characters", goodLevelWith([](auto& rows) { rows[2][13] = 'x'; rows[6][4] = '\t'; }),
       "level7.txt:3:14: unknown character 'x'\n"
       "level7.txt:7:5: unknown character '\\x09'\n"},
      {"no-start", goodLevelWith([](auto& rows) { rows[1][1] = ' '; }), "level7.txt: no start cell 'g'\n"},
      {"no-exit", goodLevelWith([](auto& rows) { rows[13][18] = ' '; }), "level7.txt: no exit cell 'G'\n"},
      {"long-line", goodLevelWith([](auto& rows) { rows[4] += "(("; }),
       "level7.txt:5:21: line is 22 characters long; a row holds at most 20\n"},
      // The missing row is empty, so the border is open there too.
      {"fourteen-rows", goodLevelWith([](auto& rows) { rows.erase(rows.begin() + 7); }),
       "level7.txt:15:1: only 14 rows; a level has exactly 15 lines\n"
       "level7.txt:15:1: warning: open border: the glider can leave through the left edge here (use ')')\n"
       "level7.txt:15:20: warning: open border: the glider can leave through the right edge here (use '(')\n" +
           kOpenBottom},
      {"sixteen-rows", goodLevelWith([](auto& rows) { rows.push_back(")                  ("); }),
       "level7.txt:16:1: 16 lines; a level has exactly 15 (the game ignores this line and the ones "
       "after it)\n"},
      {"blank-sixteenth-line", levelText(goodRows()) + "\n",
       "level7.txt:16:1: 16 lines; a level has exactly 15 (the game ignores this line and the ones "
       "after it)\n"},
      {"no-final-line-feed", noFinalLineFeed,
       "level7.txt:15:21: missing line feed at the end of the last line (the game warns about it on "
       "loading)\n"},
      // A "(" guards the wrong face for the left border; a hazard 5 wide leaves a gap at the cell
      // edge a glider could slip through. Warnings only.
      {"open-border-and-second-start",
       goodLevelWith([](auto& rows) {
         rows[6][0] = '(';
         rows[0][8] = ' ';
         rows[0][9] = 'U';
         rows[3][5] = 'g';
       }),
       "level7.txt:4:6: warning: another start cell 'g'; the glider starts at the last one\n"
       "level7.txt:7:1: warning: open border: the glider can leave through the left edge here (use ')')\n"
       "level7.txt:1:9: warning: open border: the glider can leave through the top edge here (and at 1 "
       "more cells of that edge)\n"},
  };
}

TEST(LevelFileCheck, EachTextGetsItsReport) {
  for (const CheckCase& c : checkCases()) {
    SCOPED_TRACE(c.name);
    const LevelCheck check = checkLevelText(c.text);
    EXPECT_EQ(check.report("level7.txt"), c.report);
    // Errors are the lines that are not warnings.
    bool errors = false;
    std::istringstream lines(c.report);
    for (std::string line; std::getline(lines, line);) errors |= line.find(": warning: ") == std::string::npos;
    EXPECT_EQ(check.hasErrors(), errors);
  }
}

TEST(LevelFileCheck, ReportsAFileThatDoesNotOpen) {
  const LevelCheck check = checkLevelFile("/nonexistent/level1.txt");
  EXPECT_EQ(check.report("level1.txt"), "level1.txt: cannot open the file\n");
}

// The border rule rests on the wall faces: the glider pressed into the left border leaves the
// level through a "(" there, and stays in behind a ")".
TEST(LevelFileCheck, TheBorderRuleMatchesTheSimulation) {
  for (char border : {'(', ')'}) {
    std::vector<std::string> rows = goodRows();
    rows[11] = ")g                 (";
    rows[1][1] = ' ';
    rows[12] = "))))))))))))))))))((";
    rows[11][0] = border;
    rows[12][0] = border;
    TempDir dir;
    const std::string path = dir.write("border.txt", levelText(rows));
    EXPECT_EQ(checkLevelFile(path).issues.size(), border == ')' ? 0u : 1u);

    LevelRun run(readLevelFile(path).rows, 1);
    float leftmost = 1e9f;
    for (int frame = 0; frame < 10 * kFramesPerSecond; ++frame) {
      run.frame(Steer::Left);
      leftmost = std::min(leftmost, run.currentGlider().x);
    }
    if (border == ')') {
      EXPECT_GT(leftmost, -50.0f);
    } else {
      EXPECT_LT(leftmost, -50.0f);
    }
  }
}

TEST(InputScriptText, RoundTripsAndRejectsBadTokens) {
  InputScript script;
  std::string error;
  ASSERT_TRUE(parseScript("R30 n12  L6", script, error));
  EXPECT_EQ(formatScript(script), "R30 N12 L6");
  EXPECT_EQ(scriptFrames(script), 48);
  EXPECT_EQ(formatScript(compactScript({{Steer::Left, 6}, {Steer::Left, 6}, {Steer::None, 3}})),
            "L12 N3");
  for (const char* bad : {"X5", "R", "R-3", "R0", "R3x", "R99999999999"}) {
    EXPECT_FALSE(parseScript(bad, script, error)) << bad;
    EXPECT_NE(error.find(bad), std::string::npos) << error;
  }
}

}  // namespace
