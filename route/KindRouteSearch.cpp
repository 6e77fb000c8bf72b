#include "route/KindRouteSearch.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "route/LevelSearch.h"
#include "route/TimingError.h"

namespace {

// Frames between the snapshots kept along each trial, so that a candidate that differs from the
// best route only late in a trial replays only the end of it.
constexpr int kCheckpointFrames = 12;
// The errors that score a route, most important first.
constexpr std::array<int, 3> kScoreMilliseconds = {100, 150, 50};
// Frames a change of the route moves a key change or stretches a hold by.
constexpr int kShiftFrames[] = {-12, -6, -3, -1, 1, 3, 6, 12};
constexpr int kStretchFrames[] = {-6, -3, -1, 1, 3, 6};
// Holds up to this long may be merged into a neighbour; holds this long or more may be split by
// a rest of no key.
constexpr int kMergeFrames = 30;
constexpr int kSplitFrames = 18;
constexpr int kRestFrames[] = {6, 12};

// Every route one small change away from `route`, each once.
std::vector<InputScript> neighbours(const InputScript& route) {
  std::vector<InputScript> out;
  std::set<std::string> seen{formatScript(route)};
  auto add = [&](const InputScript& changed) {
    const InputScript n = compactScript(changed);
    if (!n.empty() && seen.insert(formatScript(n)).second) out.push_back(n);
  };
  const std::size_t count = route.size();
  for (std::size_t b = 1; b < count; ++b) {  // move the change between spans b-1 and b
    for (int shift : kShiftFrames) {
      InputScript s = route;
      s[b - 1].frames += shift;
      s[b].frames -= shift;
      if (s[b - 1].frames >= 1 && s[b].frames >= 1) add(s);
    }
  }
  for (std::size_t i = 0; i < count; ++i) {
    for (int stretch : kStretchFrames) {  // lengthen or shorten a hold, moving every later change
      InputScript s = route;
      s[i].frames += stretch;
      if (s[i].frames >= 1) add(s);
    }
    const InputSpan span = route[i];
    if (span.frames <= kMergeFrames) {  // merge a short hold into the one before or after
      for (std::size_t neighbour : {i - 1, i + 1}) {
        if (neighbour >= count) continue;  // also catches i - 1 wrapping round at i == 0
        InputScript s = route;
        s[i].input = route[neighbour].input;
        add(s);
      }
      if (i + 1 == count && count > 1) add(InputScript(route.begin(), route.end() - 1));
    }
    if (span.input != Steer::None) {  // split a hold with a rest in its middle
      for (int rest : kRestFrames) {
        if (span.frames < kSplitFrames || span.frames - rest < 12) continue;
        const int before = (span.frames - rest) / 2;
        InputScript s(route.begin(), route.begin() + static_cast<long>(i));
        s.push_back({span.input, before});
        s.push_back({Steer::None, rest});
        s.push_back({span.input, span.frames - rest - before});
        s.insert(s.end(), route.begin() + static_cast<long>(i) + 1, route.end());
        add(s);
      }
    }
    for (Steer key : {Steer::None, Steer::Left, Steer::Right}) {  // hold another key instead
      if (key == span.input) continue;
      InputScript s = route;
      s[i].input = key;
      add(s);
    }
  }
  return out;
}

// The first frame at which two scripts hold different keys, or the shorter one's length.
int firstDifference(const InputScript& a, const InputScript& b) {
  std::size_t i = 0, j = 0;
  int frame = 0, leftA = a.empty() ? 0 : a[0].frames, leftB = b.empty() ? 0 : b[0].frames;
  while (i < a.size() && j < b.size()) {
    if (a[i].input != b[j].input) return frame;
    const int step = std::min(leftA, leftB);
    frame += step;
    leftA -= step;
    leftB -= step;
    if (leftA == 0 && ++i < a.size()) leftA = a[i].frames;
    if (leftB == 0 && ++j < b.size()) leftB = b[j].frames;
  }
  return frame;
}

// One jittered replay, with snapshots every kCheckpointFrames frames while it was still playing.
struct TrialMemo {
  InputScript played;
  Outcome outcome = Outcome::Playing;
  int endFrame = 0;
  std::vector<PlaySnapshot> checkpoints;
};

// A route's trials at one error.
struct ErrorMemo {
  bool known = false;
  int wins = 0;
  std::vector<TrialMemo> trials;
};

using RouteMemo = std::array<ErrorMemo, kScoreMilliseconds.size()>;

class TrialScorer {
 public:
  TrialScorer(LevelRun& run, const KindSearchLimits& limits) : run_(run), limits_(limits) {}

  // Wins of `route` at error `e`, replaying from `base` (the same trials of another route) where
  // they agree. Stops early, returning -1, once fewer than `needed` wins are possible.
  int measure(const InputScript& route, std::size_t e, int needed, const ErrorMemo* base, ErrorMemo& out) {
    const int bound = framesForMilliseconds(kScoreMilliseconds[e]);
    out.known = false;
    out.wins = 0;
    out.trials.resize(static_cast<std::size_t>(limits_.trials));
    for (int t = 0; t < limits_.trials; ++t) {
      if (out.wins + (limits_.trials - t) < needed) return -1;
      TrialRandom random(limits_.seed + static_cast<std::uint64_t>(t));
      TrialMemo& memo = out.trials[static_cast<std::size_t>(t)];
      memo.played = jitterScript(route, bound, random);
      play(memo, base ? &base->trials[static_cast<std::size_t>(t)] : nullptr);
      if (memo.outcome == Outcome::Won) ++out.wins;
    }
    out.known = true;
    return out.wins;
  }

 private:
  // Plays memo.played, starting from the latest snapshot of `base` before the two trials differ.
  void play(TrialMemo& memo, const TrialMemo* base) {
    int from = 0;
    memo.checkpoints.clear();
    if (base) {
      const int differ = firstDifference(base->played, memo.played);
      const bool sameEnd = base->outcome != Outcome::Playing || scriptFrames(memo.played) == base->endFrame;
      if (differ >= base->endFrame && sameEnd) {
        memo.outcome = base->outcome;
        memo.endFrame = base->endFrame;
        memo.checkpoints = base->checkpoints;
        return;
      }
      const std::size_t k = std::min(static_cast<std::size_t>(std::min(differ, base->endFrame) / kCheckpointFrames),
                                     base->checkpoints.size() - 1);
      memo.checkpoints.assign(base->checkpoints.begin(), base->checkpoints.begin() + static_cast<long>(k) + 1);
      run_.restore(memo.checkpoints.back());
      from = static_cast<int>(k) * kCheckpointFrames;
    } else {
      run_.start();
      memo.checkpoints.push_back(run_.snapshot());
    }
    int frame = 0;
    Outcome outcome = Outcome::Playing;
    for (const InputSpan& span : memo.played) {
      for (int i = 0; i < span.frames && outcome == Outcome::Playing; ++i, ++frame) {
        if (frame < from) continue;
        outcome = run_.frame(span.input);
        if (outcome == Outcome::Playing && (frame + 1) % kCheckpointFrames == 0)
          memo.checkpoints.push_back(run_.snapshot());
      }
    }
    memo.outcome = outcome;
    memo.endFrame = frame;
  }

  LevelRun& run_;
  const KindSearchLimits& limits_;
};

int& winsAt(KindScore& score, std::size_t e) {
  return e == 0 ? score.wins100 : e == 1 ? score.wins150 : score.wins50;
}

bool winsUnjittered(LevelRun& run, const InputScript& route) {
  return replayScript(run, withRunOut(route)).outcome == Outcome::Won;
}

// Fisher-Yates over the engine's own numbers: std::shuffle's steps differ between standard
// libraries, and the search must take the same steps natively and in the browser.
void shuffleRound(std::vector<InputScript>& round, std::mt19937& engine) {
  for (std::size_t i = round.size(); i > 1; --i) std::swap(round[i - 1], round[engine() % i]);
}

}  // namespace

KindSearchResult searchKindRoute(LevelRun& run, const InputScript& from, const KindSearchLimits& limits,
                                 KindProgress progress) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline =
      Clock::now() + std::chrono::microseconds(static_cast<long long>(limits.budgetSeconds * 1e6));
  KindSearchResult result;
  result.script = compactScript(from);
  result.score.frames = scriptFrames(result.script);
  result.startWon = winsUnjittered(run, result.script);
  if (!result.startWon) return result;

  TrialScorer scorer(run, limits);
  RouteMemo best, candidate;
  result.score.wins100 = scorer.measure(result.script, 0, 0, nullptr, best[0]);
  if (progress) progress(result.script, result.score, limits.trials);
  std::mt19937 shuffle(static_cast<std::mt19937::result_type>(limits.seed));

  // Lexicographic comparison, measuring only as far as it must.
  auto better = [&](const InputScript& route, KindScore& score) {
    score = KindScore{};
    score.frames = scriptFrames(route);
    if (!winsUnjittered(run, route)) return false;
    for (std::size_t e = 0; e < kScoreMilliseconds.size(); ++e) {
      if (!best[e].known) winsAt(result.score, e) = scorer.measure(result.script, e, 0, nullptr, best[e]);
      const int bestWins = winsAt(result.score, e);
      const int wins = scorer.measure(route, e, bestWins, &best[e], candidate[e]);
      if (wins < 0) return false;
      winsAt(score, e) = wins;
      if (wins != bestWins) return wins > bestWins;
    }
    return score.frames < result.score.frames;
  };

  while (result.candidates < limits.maxCandidates) {
    std::vector<InputScript> round = neighbours(result.script);
    shuffleRound(round, shuffle);
    bool improved = false;
    for (const InputScript& route : round) {
      if (Clock::now() >= deadline || result.candidates >= limits.maxCandidates) return result;
      ++result.candidates;
      KindScore score;
      if (!better(route, score)) continue;
      for (std::size_t e = 0; e < best.size(); ++e) {
        best[e] = winsAt(score, e) >= 0 ? std::move(candidate[e]) : ErrorMemo{};
        candidate[e] = ErrorMemo{};
      }
      result.script = route;
      result.score = score;
      ++result.improvements;
      if (progress) progress(result.script, result.score, limits.trials);
      improved = true;
      break;
    }
    if (!improved) {
      result.converged = true;
      break;
    }
  }
  return result;
}

bool calmFastRoute(LevelRun& run, InputScript& route) {
  for (int segment : {18, 12, 6}) {
    SearchLimits limits;
    limits.segmentFrames = segment;
    // The same number of frames simulated at most, whatever the segment.
    limits.maxRuns = limits.maxRuns * 6 / static_cast<std::size_t>(segment);
    const SearchResult found = searchLevel(run, limits);
    if (found.won) {
      route = compactScript(found.script);
      return true;
    }
  }
  return false;
}
