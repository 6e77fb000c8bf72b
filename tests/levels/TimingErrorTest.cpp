// A script replayed with a person's timing error: changes move, taps overtaken by a later change
// vanish, the same seed gives the same trials, every run ends with the run-out of no key, and a
// rate measured in parts is the rate measured at once.
#include <gtest/gtest.h>

#include <string>

#include "level/LevelFile.h"
#include "route/TimingError.h"
#include "tests/support/LevelText.h"

namespace {

InputScript parsed(const std::string& text) {
  InputScript script;
  std::string error;
  EXPECT_TRUE(parseScript(text, script, error)) << error;
  return script;
}

// Frame-by-frame keys of a script, as one letter a frame.
std::string keysOf(const InputScript& script) {
  std::string keys;
  for (const InputSpan& span : script)
    keys.append(static_cast<std::size_t>(span.frames),
                span.input == Steer::Left ? 'L' : span.input == Steer::Right ? 'R' : 'N');
  return keys;
}

TEST(TimingError, NoErrorPlaysTheScriptThenTheRunOut) {
  TrialRandom random(7);
  const InputScript script = parsed("N4 R30 L12 N6");
  EXPECT_EQ(formatScript(jitterScript(script, 0, random)), "N4 R30 L12 N" + std::to_string(6 + kRunOutFrames));
  EXPECT_EQ(formatScript(withRunOut(script)), "N4 R30 L12 N" + std::to_string(6 + kRunOutFrames));
  // A key still held when the script ends is released there.
  EXPECT_EQ(formatScript(withRunOut(parsed("R10"))), "R10 N" + std::to_string(kRunOutFrames));
}

TEST(TimingError, EachChangeMovesWithinTheBoundAndTheKeysStayInOrder) {
  TrialRandom random(11);
  const InputScript script = parsed("R60 N60 L60");  // changes at 0, 60, 120 and the release at 180
  bool moved = false;
  for (int trial = 0; trial < 200; ++trial) {
    const std::string keys = keysOf(jitterScript(script, 6, random));
    const std::size_t firstR = keys.find('R'), firstL = keys.find('L'), lastL = keys.rfind('L');
    ASSERT_NE(firstR, std::string::npos);
    ASSERT_NE(firstL, std::string::npos);
    EXPECT_LE(firstR, 6u);
    EXPECT_GE(firstL, 114u);
    EXPECT_LE(firstL, 126u);
    EXPECT_GE(lastL, 173u);
    EXPECT_LE(lastL, 185u);
    EXPECT_LT(keys.rfind('R'), firstL);
    EXPECT_EQ(keys.size(), std::max<std::size_t>(180, lastL + 1) + kRunOutFrames);
    if (firstL != 120 || lastL != 179) moved = true;
  }
  EXPECT_TRUE(moved);
}

TEST(TimingError, ATapOvertakenByTheNextChangeVanishes) {
  // The 2-frame tap of Left can only survive when its press lands before the next change.
  TrialRandom random(3);
  int vanished = 0, kept = 0;
  for (int trial = 0; trial < 300; ++trial) {
    const std::string keys = keysOf(jitterScript(parsed("R30 L2 R30"), 6, random));
    keys.find('L') == std::string::npos ? ++vanished : ++kept;
  }
  EXPECT_GT(vanished, 50);
  EXPECT_GT(kept, 50);
}

TEST(TimingError, TheSameSeedGivesTheSameTrials) {
  const InputScript script = parsed("R20 N20 L20 R20");
  TrialRandom a(42), b(42), c(43);
  std::string fromA, fromB, fromC;
  for (int trial = 0; trial < 20; ++trial) {
    fromA += formatScript(jitterScript(script, 9, a)) + "|";
    fromB += formatScript(jitterScript(script, 9, b)) + "|";
    fromC += formatScript(jitterScript(script, 9, c)) + "|";
  }
  EXPECT_EQ(fromA, fromB);
  EXPECT_NE(fromA, fromC);
}

// The generator screens a room on a rate's first trials and goes on from there: a rate measured in
// parts must be the rate measured at once, its first part the first trials.
TEST(TimingError, ARateMeasuredInPartsIsTheRateMeasuredAtOnce) {
  LevelRun run(readLevelText(levelText(landingRows())).rows, 1);
  const InputScript route{{Steer::Right, 114}};
  const int bound = framesForMilliseconds(150);
  const WinRate whole = measureWinRate(run, route, bound, 60, kTrialSeed);
  ASSERT_GT(whole.wins, 5);  // wins and losses both, so that a trial out of its turn shows
  ASSERT_LT(whole.wins, 55);
  TrialRandom random(kTrialSeed);
  WinRate parts;
  addTrials(parts, run, route, bound, 25, random);
  EXPECT_EQ(parts.wins, measureWinRate(run, route, bound, 25, kTrialSeed).wins);
  addTrials(parts, run, route, bound, 35, random);
  EXPECT_EQ(parts.trials, 60);
  EXPECT_EQ(parts.wins, whole.wins);
}

TEST(TimingError, OffsetsCoverTheWholeRangeEvenly) {
  TrialRandom random(5);
  int counts[13] = {};
  for (int i = 0; i < 13000; ++i) {
    const int offset = random.offset(6);
    ASSERT_GE(offset, -6);
    ASSERT_LE(offset, 6);
    ++counts[offset + 6];
  }
  for (int count : counts) EXPECT_NEAR(count, 1000, 150);
  EXPECT_EQ(framesForMilliseconds(100), 6);
  EXPECT_EQ(framesForMilliseconds(50), 3);
  EXPECT_EQ(framesForMilliseconds(150), 9);
}

}  // namespace
