// The level tool: checks level files for mistakes, proves each can be won by finding the keys
// that win it, replays a script of keys, finds and measures routes that forgive a person's timing,
// and draws a route over its level.
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "backdrop/PngWriter.h"
#include "level/LevelCheck.h"
#include "route/BestAttempt.h"
#include "route/DailyPack.h"
#include "route/InputScript.h"
#include "route/KindRouteSearch.h"
#include "route/LevelGenerator.h"
#include "level/LevelFile.h"
#include "route/LevelRun.h"
#include "route/LevelSearch.h"
#include "route/TimingError.h"
#include "tools/solver/RoutePicture.h"

namespace {

// How to call the solver, with the defaults the libraries define.
void printUsage() {
  const SearchLimits search;
  const KindSearchLimits kind;
  const RoutePictureOptions picture;
  std::fprintf(stderr,
    "usage: solver [options] level.txt...     check each level and search for a winning run\n"
    "                                         (without one: the nearest run and how it ended)\n"
    "       solver --check level.txt...       only check the files\n"
    "       solver --replay SCRIPT level.txt  play a script such as \"R30 N12 L6\"\n"
    "       solver --rates SCRIPT level.txt   the script's win rate with every key change\n"
    "                                         moved up to 50, 100 and 150 ms at random\n"
    "       solver --kind level.txt           search for the route that forgives timing\n"
    "                                         error best, then print it and its rates\n"
    "       solver --draw OUT.png --route SCRIPT level.txt\n"
    "                                         draw the route over the level's backdrop\n"
    "       solver --generate --seed S --like N [--out FILE]\n"
    "                                         make a level about as hard as shipped level N\n"
    "                                         and print it, its route and its rates\n"
    "       solver --generate --daily YYYY-MM-DD --pack FILE\n"
    "                                         write that day's pack of ten generated levels\n"
    "options:\n"
    "  --trace       with --replay: print the glider every 0.1 s\n"
    "  --level N     the level's number (default: the digits in the file name, else 1)\n"
    "  --seconds S   longest run searched, seconds of game time (default %g)\n"
    "  --greed G     0 finds the fastest run (slow search); larger heads for the exit\n"
    "                more greedily (default %g)\n"
    "  --runs N      segments of 0.1 s simulated at most per level (default %zu)\n"
    "  --trials N    with --rates and --kind: jittered replays at each error in the\n"
    "                printed rates (default %d)\n"
    "  --from SCRIPT with --kind: start from this route (default: the fastest route\n"
    "                with keys held 0.3 s or longer)\n"
    "  --budget S    with --kind: seconds of search on the clock (default %g)\n"
    "  --score-trials N  with --kind: jittered replays that score each candidate (default %d)\n"
    "  --draw OUT.png  with --kind: also draw the route found\n"
    "  --shrink F    with --draw: the 1024 x 768 picture F times smaller (default %d)\n"
    "  --ghosts N    with --draw: faint replays at +-%d ms behind the route (default %d)\n"
    "  --levels DIR  with --generate: where level N and its route are (default levels)\n",
    search.maxGameSeconds, static_cast<double>(search.greed), search.maxRuns, kRateTrials, kind.budgetSeconds,
    kind.trials, picture.shrink, picture.ghostMilliseconds, picture.ghosts);
}

struct Options {
  bool checkOnly = false;
  bool replay = false;
  bool trace = false;
  bool rates = false;
  bool kind = false;
  bool generate = false;
  std::uint64_t seed = 1;
  int like = 0;
  std::string levelsDir = "levels";
  std::string outPath;
  std::string daily;
  std::string packPath;
  int trials = kRateTrials;
  std::string script;
  KindSearchLimits kindLimits;
  std::string drawPath;
  RoutePictureOptions picture;
  int levelNumber = 0;
  SearchLimits limits;
  std::vector<std::string> files;
};

int levelNumberOf(const std::string& path, int given) {
  if (given > 0) return given;
  const std::string name = baseName(path);
  int n = 0;
  for (char c : name)
    if (c >= '0' && c <= '9' && n < 100000) n = n * 10 + (c - '0');
  return n > 0 ? n : 1;
}

// A run of the level file at path, as the level number the options or its name give.
LevelRun runOf(const std::string& path, const Options& options) {
  return LevelRun(readLevelFile(path).rows, levelNumberOf(path, options.levelNumber));
}

// A number in [0, 1e7); zero only where allowed.
bool parseNumber(const char* text, double& value, bool zeroAllowed = false) {
  char* end = nullptr;
  value = std::strtod(text, &end);
  return end != text && *end == '\0' && (value > 0 || (zeroAllowed && value == 0)) && value < 1e7;
}

bool parseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    double value = 0;
    if (arg == "--trace") {
      options.trace = true;
    } else if (arg == "--check") {
      options.checkOnly = true;
    } else if (arg == "--replay" && hasValue) {
      options.replay = true;
      options.script = argv[++i];
    } else if (arg == "--rates" && hasValue) {
      options.rates = true;
      options.script = argv[++i];
    } else if (arg == "--kind") {
      options.kind = true;
    } else if (arg == "--generate") {
      options.generate = true;
    } else if (arg == "--seed" && hasValue && parseNumber(argv[++i], value, true)) {
      options.seed = static_cast<std::uint64_t>(value);
    } else if (arg == "--like" && hasValue && parseNumber(argv[++i], value) && value <= 1000) {
      options.like = static_cast<int>(value);
    } else if (arg == "--levels" && hasValue) {
      options.levelsDir = argv[++i];
    } else if (arg == "--out" && hasValue) {
      options.outPath = argv[++i];
    } else if (arg == "--daily" && hasValue) {
      options.daily = argv[++i];
    } else if (arg == "--pack" && hasValue) {
      options.packPath = argv[++i];
    } else if (arg == "--from" && hasValue) {
      options.script = argv[++i];
    } else if (arg == "--budget" && hasValue && parseNumber(argv[++i], value)) {
      options.kindLimits.budgetSeconds = value;
    } else if (arg == "--score-trials" && hasValue && parseNumber(argv[++i], value)) {
      options.kindLimits.trials = static_cast<int>(value);
    } else if (arg == "--draw" && hasValue) {
      options.drawPath = argv[++i];
    } else if (arg == "--route" && hasValue) {
      options.script = argv[++i];
    } else if (arg == "--shrink" && hasValue && parseNumber(argv[++i], value) && value <= 16) {
      options.picture.shrink = static_cast<int>(value);
    } else if (arg == "--ghosts" && hasValue && parseNumber(argv[++i], value, true)) {
      options.picture.ghosts = static_cast<int>(value);
    } else if (arg == "--trials" && hasValue && parseNumber(argv[++i], value)) {
      options.trials = static_cast<int>(value);
    } else if (arg == "--level" && hasValue && parseNumber(argv[++i], value)) {
      options.levelNumber = static_cast<int>(value);
    } else if (arg == "--seconds" && hasValue && parseNumber(argv[++i], value)) {
      options.limits.maxGameSeconds = value;
    } else if (arg == "--greed" && hasValue && parseNumber(argv[++i], value, true)) {
      options.limits.greed = static_cast<float>(value);
    } else if (arg == "--runs" && hasValue && parseNumber(argv[++i], value)) {
      options.limits.maxRuns = static_cast<std::size_t>(value);
    } else if (!arg.empty() && arg[0] == '-') {
      return false;
    } else {
      options.files.push_back(arg);
    }
  }
  if (options.generate)
    return options.files.empty() && (options.daily.empty() ? options.like > 0 : !options.packPath.empty());
  const bool drawOnly = !options.drawPath.empty() && !options.kind;
  if (drawOnly && options.script.empty()) return false;
  const bool oneFile = options.replay || options.rates || options.kind || drawOnly;
  return !options.files.empty() && !(oneFile && options.files.size() != 1);
}

// Prints the file's problems; true when it has no errors (warnings allowed).
bool checkAndReport(const std::string& path) {
  const LevelCheck check = checkLevelFile(path);
  std::cout << check.report(path);
  return !check.hasErrors();
}

void printGlider(int frame, const Glider& g) {
  if (frame % 6 == 0)
    std::printf("%6.2f s  x %7.2f  y %6.2f  vx %6.2f  vy %6.2f\n",
                static_cast<double>(frame) / kFramesPerSecond, g.x, g.y, g.vx, g.vy);
}

bool parseOrComplain(const std::string& text, InputScript& script) {
  std::string error;
  if (parseScript(text, script, error)) return true;
  std::cerr << "solver: " << error << '\n';
  return false;
}

// Parses the options' script and checks the one level file it is for; false after saying why.
bool scriptAndLevelReady(const Options& options, InputScript& script) {
  return parseOrComplain(options.script, script) && checkAndReport(options.files[0]);
}

int replay(const Options& options) {
  const std::string& path = options.files[0];
  InputScript script;
  if (!scriptAndLevelReady(options, script)) return 2;
  LevelRun run = runOf(path, options);
  const ReplayResult result = replayScript(run, script, options.trace ? printGlider : nullptr);
  const double seconds = static_cast<double>(result.frames) / kFramesPerSecond;
  const char* what = result.outcome == Outcome::Won    ? "won"
                     : result.outcome == Outcome::Lost ? "lost"
                                                       : "still playing when the script ends";
  std::printf("%s: %s after %.2f s (%d frames)\n", path.c_str(), what, seconds, result.frames);
  return result.outcome == Outcome::Won ? 0 : 1;
}

// Prints whether the script wins as written and its win rates at +-50, +-100 and +-150 ms;
// true when it wins as written.
bool printRates(LevelRun& run, const std::string& path, const InputScript& script, int trials) {
  const RouteRates figures = measureRouteRates(run, script, trials);
  std::printf("%s: %s unjittered; %.2f s of keys\n", path.c_str(), figures.exact ? "won" : "NOT won",
              static_cast<double>(scriptFrames(script)) / kFramesPerSecond);
  for (int i = 0; i < 3; ++i) {
    const WinRate& rate = figures.rates[i];
    std::printf("  +-%3d ms: %5.1f%% (%d of %d)\n", kRateMilliseconds[i], 100.0 * rate.rate(), rate.wins,
                rate.trials);
  }
  return figures.exact;
}

int rates(const Options& options) {
  const std::string& path = options.files[0];
  InputScript script;
  if (!scriptAndLevelReady(options, script)) return 2;
  LevelRun run = runOf(path, options);
  return printRates(run, path, script, options.trials) ? 0 : 1;
}

// Draws the route over the level and writes the picture; true when written.
bool writePicture(LevelRun& run, const std::string& path, const InputScript& script, const Options& options) {
  const art::Canvas picture = drawRoutePicture(run, path, script, options.picture);
  const std::string error = art::writePng(options.drawPath, picture, art::PngChannels::Rgb);
  if (!error.empty()) {
    std::cerr << "solver: " << error << '\n';
    return false;
  }
  std::printf("%s: drew the route over %s (%d x %d)\n", options.drawPath.c_str(), path.c_str(),
              picture.width(), picture.height());
  return true;
}

int draw(const Options& options) {
  const std::string& path = options.files[0];
  InputScript script;
  if (!scriptAndLevelReady(options, script)) return 2;
  LevelRun run = runOf(path, options);
  return writePicture(run, path, script, options) ? 0 : 2;
}

// A count of wins, or "?" where the search did not need to measure it.
std::string winsText(int wins) { return wins < 0 ? "?" : std::to_string(wins); }

void printProgress(const InputScript& script, const KindScore& score, int trials) {
  std::fprintf(stderr, "  %s/%d wins at +-100 ms, %s at +-150, %s at +-50: %s\n",
               winsText(score.wins100).c_str(), trials, winsText(score.wins150).c_str(),
               winsText(score.wins50).c_str(), formatScript(script).c_str());
}

int kind(const Options& options) {
  const std::string& path = options.files[0];
  if (!checkAndReport(path)) return 2;
  LevelRun run = runOf(path, options);
  InputScript from;
  if (!options.script.empty()) {
    if (!parseOrComplain(options.script, from)) return 2;
  } else if (!calmFastRoute(run, from)) {
    std::printf("%s: no winning route found to start from\n", path.c_str());
    return 1;
  }
  const auto begin = std::chrono::steady_clock::now();
  const KindSearchResult found = searchKindRoute(run, from, options.kindLimits, printProgress);
  if (!found.startWon) {
    std::printf("%s: the starting route does not win unjittered: %s\n", path.c_str(),
                formatScript(from).c_str());
    return 1;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  std::printf("%s: kindest route found (%d candidates, %d kept, %s, %.0f s):\n  %s\n", path.c_str(),
              found.candidates, found.improvements,
              found.converged ? "no small change helps" : "stopped by the budget", seconds,
              formatScript(found.script).c_str());
  if (!options.drawPath.empty() && !writePicture(run, path, found.script, options)) return 2;
  return printRates(run, path, found.script, options.trials) ? 0 : 1;
}

bool writeFile(const std::string& path, const std::string& text) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  bool written = out && std::fwrite(text.data(), 1, text.size(), out) == text.size();
  if (out) written = std::fclose(out) == 0 && written;
  if (!written) std::cerr << "solver: could not write " << path << '\n';
  return written;
}

// Makes a level as hard as shipped level N's committed route says, prints it, its route and its
// rates, and writes it to --out when given.
int generate(const Options& options) {
  double target = 0;
  std::string error;
  if (!rateOfShippedLevel(options.levelsDir, options.like, target, error)) {
    std::cerr << "solver: " << error << '\n';
    return 2;
  }
  const auto begin = std::chrono::steady_clock::now();
  const GeneratedLevel level = generateLevel(options.seed, target);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  std::fprintf(stderr, "solver: seed %llu, like level %d (%.1f%% at +-100 ms): %s after %d rooms, %.2f s\n",
               static_cast<unsigned long long>(options.seed), options.like, 100 * target,
               level.found ? "made" : "none made", level.rooms, seconds);
  if (!level.found) return 1;
  std::cout << level.text << formatScript(level.route) << '\n';
  if (!options.outPath.empty() && !writeFile(options.outPath, level.text)) return 2;
  LevelRun run(readLevelText(level.text).rows, 1);
  return printRates(run, options.outPath.empty() ? "generated" : options.outPath, level.route, kRateTrials) ? 0 : 1;
}

// Writes the day's pack, saying how each level came out.
int generateDaily(const Options& options) {
  if (!isDailyDate(options.daily)) {
    std::cerr << "solver: " << notADateMessage(options.daily) << "\n";
    return 2;
  }
  std::array<double, kDailyLike.size()> targets{};
  for (std::size_t i = 0; i < kDailyLike.size(); ++i) {
    std::string error;
    if (!rateOfShippedLevel(options.levelsDir, kDailyLike[i], targets[i], error)) {
      std::cerr << "solver: " << error << '\n';
      return 2;
    }
  }
  const auto begin = std::chrono::steady_clock::now();
  const DailyPack daily = makeDailyPack(options.daily, targets);
  for (std::size_t i = 0; i < daily.pack.levels.size(); ++i)
    std::printf("level %zu, like level %d (%.1f%%): %.1f%% at +-100 ms after %d rooms: %s\n", i + 1, kDailyLike[i],
                100 * targets[i], 100 * daily.levels[i].rate100, daily.levels[i].rooms,
                formatScript(daily.levels[i].route).c_str());
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  if (!daily.made) {
    std::printf("%s: no pack: level %zu found no level in %d seeds (%.1f s)\n", options.daily.c_str(),
                daily.pack.levels.size() + 1, kDailySeedsPerLevel, seconds);
    return 1;
  }
  if (!writeFile(options.packPath, writeLevelPack(daily.pack))) return 2;
  std::printf("%s: wrote the pack of %s to %s (%.1f s)\n", options.packPath.c_str(), options.daily.c_str(),
              options.packPath.c_str(), seconds);
  return 0;
}

bool solve(const std::string& path, const Options& options) {
  const auto begin = std::chrono::steady_clock::now();
  LevelRun run = runOf(path, options);
  const SearchResult result = searchLevel(run, options.limits);
  const double searchSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  if (!result.won) {
    std::printf("%s: no winning run found within %.0f s of play (%zu runs, %zu states, %.1f s)\n",
                path.c_str(), options.limits.maxGameSeconds, result.runs, result.states,
                searchSeconds);
    const BestAttempt attempt = describeAttempt(run, result, options.limits);
    std::printf("  Best attempt: %s\n  Keys: %s\n",
                attemptSummary(attempt, options.limits.maxGameSeconds).c_str(),
                formatScript(attempt.script).c_str());
    return false;
  }
  std::printf("%s: won in %.2f s of play with %zu key changes (search: %zu runs, %.1f s)\n  %s\n",
              path.c_str(), static_cast<double>(result.frames) / kFramesPerSecond,
              result.script.size(), result.runs, searchSeconds, formatScript(result.script).c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) {
    printUsage();
    return 2;
  }
  if (options.generate) return options.daily.empty() ? generate(options) : generateDaily(options);
  if (options.replay) return replay(options);
  if (options.rates) return rates(options);
  if (options.kind) return kind(options);
  if (!options.drawPath.empty()) return draw(options);
  bool allGood = true;
  for (const std::string& path : options.files) {
    if (!checkAndReport(path)) {
      allGood = false;
      continue;
    }
    if (!options.checkOnly && !solve(path, options)) allGood = false;
  }
  return allGood ? 0 : 1;
}
