#pragma once
// The shipped level files and their committed routes as the tests find them, and the win rates
// each level's test measures for the test of the difficulty curve to read.
#include <string>

// Error of a player's key changes in the route checks, milliseconds, and trials at each.
constexpr int kCheckTrials = 200;

// Levels level1.txt, level2.txt, ... present without a gap, as the game plays them.
int shippedLevelCount();
// level*.txt files of any number in the levels directory.
int levelFilesPresent();
std::string levelPath(int n);
std::string routePath(int n);

// How a level's committed route fared: whether it wins as written (then kRunOutFrames of no key),
// and its wins out of `trials` jittered replays at +-100 and +-150 ms.
struct RouteFigures {
  bool wonExactly = false;
  int wins100 = 0, wins150 = 0, trials = 0;
};

// Where level n's figures are kept between the tests; writing replaces them.
void forgetFigures(int n);
bool writeFigures(int n, const RouteFigures& figures);
// False when level n has no figures (its test did not get as far as measuring).
bool readFigures(int n, RouteFigures& figures);
