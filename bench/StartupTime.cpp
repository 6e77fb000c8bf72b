// Start-up time of the game against a bare freeglut program: starts each probe as a new process,
// alternately, and times from the fork to the line the probe prints once its first frame is on
// screen. Both are timed the same way in the same run, so the ratio of the medians holds on any
// machine. The probes then print when each of their start-up steps completed; the table of median
// step times shows where the game's start-up goes.
// Usage: startup_time GAME_PROBE BARE_PROBE GAME_DIR [starts]   (starts of each, default 15)
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "bench/BenchStats.h"
#include "bench/StepReport.h"

namespace {

constexpr int kDefaultStarts = 15;
constexpr double kMaxRatio = 2.5;

// One start of a probe: milliseconds from fork to its first line (negative when the probe
// failed), and each step it reported with the milliseconds since the step before (the first since
// the fork).
struct Start {
  double shownMs = -1;
  std::vector<std::pair<std::string, double>> steps;
};

Start timeStart(const char* probe, const char* gameDir) {
  Start start;
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return start;
  const double forkMs = perf::nowMs();
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(pipeEnds[1], STDOUT_FILENO);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    ::execl(probe, probe, gameDir, static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(pipeEnds[1]);
  char c = 0;
  double took = -1;
  std::string rest;
  while (child > 0 && ::read(pipeEnds[0], &c, 1) == 1) {
    if (took < 0 && c == '\n') {
      took = perf::nowMs() - forkMs;
    } else if (took >= 0) {
      rest += c;
    }
  }
  ::close(pipeEnds[0]);
  int status = 0;
  if (child > 0) ::waitpid(child, &status, 0);
  const bool ok = child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!ok) return start;
  start.shownMs = took;
  start.steps = perf::readSteps(rest, forkMs);
  return start;
}

void printSteps(const perf::StepTable& game, const perf::StepTable& bare) {
  if (game.order().empty()) return;
  std::printf("where start-up goes (median ms of each step, from the end of the step before):\n");
  std::printf("  %-12s %8s %8s\n", "step", "game", "bare");
  for (const std::string& name : game.order()) {
    const double bareMs = bare.median(name);
    char bareText[16] = "-";  // a step the bare program does not have
    if (bareMs >= 0) std::snprintf(bareText, sizeof bareText, "%.1f", bareMs);
    std::printf("  %-12s %8.1f %8s\n", name.c_str(), game.median(name), bareText);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: startup_time GAME_PROBE BARE_PROBE GAME_DIR [starts]\n");
    return 2;
  }
  const int starts = argc > 4 ? std::atoi(argv[4]) : kDefaultStarts;
  if (starts < 1) return 2;
  std::vector<double> gameMs, bareMs;
  perf::StepTable gameSteps, bareSteps;
  for (int i = 0; i < starts; ++i) {
    const Start game = timeStart(argv[1], argv[3]);
    const Start bare = timeStart(argv[2], argv[3]);
    if (game.shownMs < 0 || bare.shownMs < 0) {
      std::fprintf(stderr, "a probe failed to show its first frame\n");
      return 1;
    }
    gameMs.push_back(game.shownMs);
    bareMs.push_back(bare.shownMs);
    gameSteps.add(game.steps);
    bareSteps.add(bare.steps);
  }
  printSteps(gameSteps, bareSteps);
  std::printf("start to first frame over %d starts each: game median %.1f ms (min %.1f), bare median "
              "%.1f ms (min %.1f)\n",
              starts, perf::median(gameMs), perf::percentile(gameMs, 0), perf::median(bareMs),
              perf::percentile(bareMs, 0));
  const bool pass = perf::reportRatio("start-up (game median ms / bare median ms)", perf::median(gameMs),
                                      perf::median(bareMs), kMaxRatio);
  return pass || starts < kDefaultStarts ? 0 : 1;
}
