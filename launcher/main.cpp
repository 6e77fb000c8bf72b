// zarvolith-play: plays levels of the player's own in the installed game. It reads and checks a
// level pack or a folder of level files, makes a private game directory of them, runs the game
// there and removes the directory when the game ends. The launcher starts it for --pack and
// --levels, and for --daily, with the game binary and the data directory it knows.
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "launcher/OwnLevels.h"
#include "launcher/PrivateGameDir.h"

namespace {

const char kUsage[] =
    "Usage: zarvolith [GLUT options]\n"
    "       zarvolith --pack FILE [GLUT options]\n"
    "       zarvolith --levels DIR [GLUT options]\n"
    "       zarvolith --daily [YYYY-MM-DD] [GLUT options]\n"
    "Plays Zarvolith: the shipped levels, a level pack (a .zvpack file, as the level editor\n"
    "saves it), the levels level1.txt, level2.txt, ... of a folder, or the day's ten generated\n"
    "levels (today's, in UTC, unless a date is given). A pack or folder with an error is\n"
    "refused before the window opens, with the line and column of each problem.\n";

struct Options {
  std::string game, data, pack, folder, daily;
  std::vector<std::string> gameArguments;  // passed on to the game, such as -display
};

// Reads "--name VALUE" at argv[i]; true when it was that option.
bool takeValue(int argc, char** argv, int& i, const char* name, std::string& value, bool& bad) {
  if (std::strcmp(argv[i], name) != 0) return false;
  if (i + 1 >= argc) bad = true;
  else value = argv[++i];
  return true;
}

// Today's date in UTC, YYYY-MM-DD, as the daily pack is named.
std::string today() {
  const time_t now = time(nullptr);
  struct tm utc {};
  gmtime_r(&now, &utc);
  char date[16];
  std::strftime(date, sizeof date, "%Y-%m-%d", &utc);
  return date;
}

bool parse(int argc, char** argv, Options& options) {
  bool bad = false;
  for (int i = 1; i < argc && !bad; ++i) {
    if (takeValue(argc, argv, i, "--game", options.game, bad) || takeValue(argc, argv, i, "--data", options.data, bad) ||
        takeValue(argc, argv, i, "--pack", options.pack, bad) || takeValue(argc, argv, i, "--levels", options.folder, bad))
      continue;
    if (std::strcmp(argv[i], "--daily") == 0) {
      // The date is optional: the next argument when it looks like one, else today in UTC.
      options.daily = i + 1 < argc && argv[i + 1][0] != '-' ? argv[++i] : today();
      continue;
    }
    options.gameArguments.push_back(argv[i]);
  }
  const int sources = !options.pack.empty() + !options.folder.empty() + !options.daily.empty();
  return !bad && !options.game.empty() && !options.data.empty() && sources == 1;
}

pid_t gamePid = 0;

int exitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

// A hang-up or terminate reaches the game, so that it ends and the directory is still removed.
void passOn(int signal) {
  if (gamePid > 0) kill(gamePid, signal);
}

// Runs the game in dir, draws the backdrops after the first while it plays, and waits for it;
// its exit status, or 128 and the signal that ended it.
int runGame(const Options& options, const PrivateGameDir& dir) {
  std::vector<char*> argv{const_cast<char*>(options.game.c_str())};
  for (const std::string& argument : options.gameArguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  gamePid = fork();
  if (gamePid < 0) {
    std::perror("zarvolith: cannot start the game");
    return 1;
  }
  if (gamePid == 0) {
    if (chdir(dir.path().c_str()) != 0) _exit(127);
    execv(argv[0], argv.data());
    std::perror("zarvolith: cannot run the game");
    _exit(127);
  }
  // Ctrl+C at the terminal reaches the game itself; this process stays to clean up after it.
  signal(SIGINT, SIG_IGN);
  signal(SIGQUIT, SIG_IGN);
  signal(SIGTERM, passOn);
  signal(SIGHUP, passOn);
  int status = 0;
  for (std::size_t level = 1; level < dir.levelCount(); ++level) {
    if (waitpid(gamePid, &status, WNOHANG) == gamePid) return exitStatus(status);
    const std::string problem = dir.drawBackdrop(level);
    if (!problem.empty()) std::fprintf(stderr, "zarvolith: %s\n", problem.c_str());
  }
  while (waitpid(gamePid, &status, 0) < 0)
    if (errno != EINTR) return 1;
  return exitStatus(status);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
  Options options;
  if (!parse(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const OwnLevels own = !options.daily.empty() ? makeDailyLevels(options.daily, options.data + "/levels")
                        : options.pack.empty() ? readLevelFolder(options.folder)
                                               : readPackFile(options.pack);
  std::fputs(own.report.c_str(), stderr);
  if (!own.fit) return 1;
  const char* tmp = getenv("TMPDIR");
  const PrivateGameDir dir(own.levels, options.data, tmp && *tmp ? tmp : "/tmp");
  if (!dir.problem().empty()) {
    std::fprintf(stderr, "zarvolith: %s\n", dir.problem().c_str());
    return 1;
  }
  return runGame(options, dir);
}
