#include "bench/StepReport.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "bench/BenchStats.h"

namespace perf {

namespace {
constexpr const char kStepPrefix[] = "step ";
constexpr std::size_t kPrefixLength = sizeof kStepPrefix - 1;
}  // namespace

std::vector<std::pair<std::string, double>> readSteps(const std::string& output, double forkMs) {
  std::vector<std::pair<std::string, double>> steps;
  std::istringstream lines(output);
  std::string line;
  double previous = forkMs;
  while (std::getline(lines, line)) {
    if (line.rfind(kStepPrefix, 0) != 0) continue;
    // The name may hold spaces ("first frame"); the time follows the last one.
    const std::size_t lastSpace = line.rfind(' ');
    if (lastSpace <= kPrefixLength) continue;
    char* end = nullptr;
    const double at = std::strtod(line.c_str() + lastSpace + 1, &end);
    if (end == line.c_str() + lastSpace + 1) continue;
    steps.emplace_back(line.substr(kPrefixLength, lastSpace - kPrefixLength), at - previous);
    previous = at;
  }
  return steps;
}

void StepTable::add(const std::vector<std::pair<std::string, double>>& steps) {
  for (const auto& [name, ms] : steps) {
    if (std::find(order_.begin(), order_.end(), name) == order_.end()) order_.push_back(name);
    samples_[name].push_back(ms);
  }
}

double StepTable::median(const std::string& name) const {
  const auto found = samples_.find(name);
  return found == samples_.end() ? -1 : perf::median(found->second);
}

}  // namespace perf
