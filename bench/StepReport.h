#pragma once
// Reading back the start-up steps a probe prints after its "shown" line ("step NAME MS", MS on
// the steady clock), and their medians over many starts.
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace perf {

// Each step with the milliseconds since the step before it, the first since forkMs. Lines that
// are not step lines are skipped.
std::vector<std::pair<std::string, double>> readSteps(const std::string& output, double forkMs);

// Median milliseconds of each step over many starts, in the order the steps first came.
class StepTable {
 public:
  void add(const std::vector<std::pair<std::string, double>>& steps);
  const std::vector<std::string>& order() const { return order_; }
  // The median, or a negative value for a step never added.
  double median(const std::string& name) const;

 private:
  std::vector<std::string> order_;
  std::map<std::string, std::vector<double>> samples_;
};

}  // namespace perf
