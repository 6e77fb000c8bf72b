// Start-up time of the game against a bare freeglut program: starts each probe as a new process,
// alternately, and times from the fork to the line the probe prints once its first frame is on
// screen. Both are timed the same way in the same run, so the ratio of the medians holds on any
// machine.
// Usage: startup_time GAME_PROBE BARE_PROBE GAME_DIR [starts]   (starts of each, default 15)
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/BenchStats.h"

namespace {

constexpr int kDefaultStarts = 15;
constexpr double kMaxRatio = 1.5;

// Milliseconds from fork to the probe's first line; negative when the probe fails.
double timeStart(const char* probe, const char* gameDir) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return -1;
  const double start = perf::nowMs();
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
  while (child > 0 && ::read(pipeEnds[0], &c, 1) == 1) {
    if (c == '\n') {
      took = perf::nowMs() - start;
      break;
    }
  }
  ::close(pipeEnds[0]);
  int status = 0;
  if (child > 0) ::waitpid(child, &status, 0);
  const bool ok = child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return ok ? took : -1;
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
  for (int i = 0; i < starts; ++i) {
    const double game = timeStart(argv[1], argv[3]);
    const double bare = timeStart(argv[2], argv[3]);
    if (game < 0 || bare < 0) {
      std::fprintf(stderr, "a probe failed to show its first frame\n");
      return 1;
    }
    gameMs.push_back(game);
    bareMs.push_back(bare);
  }
  std::printf("start to first frame over %d starts each: game median %.1f ms (min %.1f), bare median "
              "%.1f ms (min %.1f)\n",
              starts, perf::median(gameMs), perf::percentile(gameMs, 0), perf::median(bareMs),
              perf::percentile(bareMs, 0));
  const bool pass = perf::reportRatio("start-up (game median ms / bare median ms)", perf::median(gameMs),
                                      perf::median(bareMs), kMaxRatio);
  return pass || starts < kDefaultStarts ? 0 : 1;
}
