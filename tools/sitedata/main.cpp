// Writes the browser site's data from the game's own code: the level editor's shipped levels
// (each level's text, the first line of its note, its committed route and that route's win rates,
// measured by the editor's core) and the facts module the pages import.
//   zarvolith_sitedata LEVELS_DIR SHIPPED_JSON FACTS_JS
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "editor/core/EditorApi.h"
#include "editor/core/JsonWriter.h"
#include "route/TimingError.h"
#include "tools/sitedata/SiteFacts.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

struct ShippedLevel {
  int number = 0;
  std::string text, route, about;
  std::string rates;  // zv_rates's answer for the route: its rates, an error, or nothing from a failed worker
  bool measured() const { return !route.empty() && rates.rfind("{\"exact\"", 0) == 0; }
};

// The level's files, and with `measure` its route's rates.
ShippedLevel measureLevel(const fs::path& levels, int number, bool measure = true) {
  const std::string base = (levels / ("level" + std::to_string(number))).string();
  ShippedLevel level;
  level.number = number;
  level.text = readFile(base + ".txt");
  level.route = trimmed(readFile(base + ".route"));
  level.about = readFile(base + ".about");
  level.about = level.about.substr(0, level.about.find('\n'));
  if (measure) level.rates = zv_rates(level.text.c_str(), level.route.c_str(), kRateTrials);
  return level;
}

// {"levels": [{"number", "text", "route", "about", "exact", "rates"}]}, rates as zv_rates gives them.
std::string shippedJson(const std::vector<ShippedLevel>& shipped) {
  JsonWriter out;
  out.beginObject().key("levels").beginArray();
  for (const ShippedLevel& level : shipped)
    out.beginObject()
        .key("number").integer(level.number)
        .key("text").string(level.text)
        .key("route").string(level.route)
        .key("about").string(level.about)
        .membersOf(level.rates)
        .endObject();
  return out.endArray().endObject().text() + "\n";
}

std::vector<int> levelNumbers(const fs::path& levels) {
  std::vector<int> numbers;
  const std::regex name("level([0-9]+)\\.txt");
  std::smatch match;
  for (const auto& file : fs::directory_iterator(levels)) {
    const std::string leaf = file.path().filename().string();
    if (std::regex_match(leaf, match, name)) numbers.push_back(std::stoi(match[1]));
  }
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

// Measures every level, `workers` levels at a time: each worker is a process of its own, since
// the core plays levels in the game's one world. Each sends its levels' rates back on a pipe.
std::vector<ShippedLevel> measureAll(const fs::path& levels, const std::vector<int>& numbers, unsigned workers) {
  std::vector<std::pair<pid_t, int>> children;  // a worker's process and the read end of its pipe
  for (unsigned w = 0; w < workers; ++w) {
    int ends[2];
    if (pipe(ends) != 0) break;
    const pid_t child = fork();
    if (child == 0) {
      close(ends[0]);
      std::string out;
      for (std::size_t i = w; i < numbers.size(); i += workers) out += measureLevel(levels, numbers[i]).rates + '\0';
      for (std::size_t sent = 0; sent < out.size();) {
        const ssize_t n = write(ends[1], out.data() + sent, out.size() - sent);
        if (n <= 0) _exit(1);
        sent += static_cast<std::size_t>(n);
      }
      _exit(0);
    }
    close(ends[1]);
    children.emplace_back(child, ends[0]);
  }
  std::vector<ShippedLevel> shipped;
  for (std::size_t i = 0; i < numbers.size(); ++i) shipped.push_back(measureLevel(levels, numbers[i], false));
  for (std::size_t w = 0; w < children.size(); ++w) {
    std::string in;
    char buffer[65536];
    for (ssize_t n; (n = read(children[w].second, buffer, sizeof buffer)) > 0;) in.append(buffer, static_cast<std::size_t>(n));
    close(children[w].second);
    waitpid(children[w].first, nullptr, 0);
    std::istringstream answers(in);
    for (std::size_t i = w; i < numbers.size(); i += children.size()) std::getline(answers, shipped[i].rates, '\0');
  }
  return shipped;
}

// Writes through a temporary file, so that a failed run leaves no half-written file behind.
bool writeFile(const std::string& path, const std::string& text) {
  const std::string part = path + ".part";
  {
    std::ofstream out(part, std::ios::binary);
    if (!(out << text)) return false;
  }
  std::error_code error;
  fs::rename(part, path, error);
  return !error;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: zarvolith_sitedata LEVELS_DIR SHIPPED_JSON FACTS_JS\n");
    return 2;
  }
  const fs::path levels = argv[1];
  const long cores = sysconf(_SC_NPROCESSORS_ONLN);
  const std::vector<ShippedLevel> shipped = measureAll(levels, levelNumbers(levels), cores > 0 ? cores : 1);
  for (const ShippedLevel& level : shipped) {
    if (level.measured()) continue;
    std::fprintf(stderr, "sitedata: level %d's committed route could not be measured: %s\n", level.number,
                 level.route.empty() ? "no route" : level.rates.empty() ? "its worker failed" : level.rates.c_str());
    return 1;
  }
  if (!writeFile(argv[2], shippedJson(shipped)) || !writeFile(argv[3], siteFactsModule())) {
    std::fprintf(stderr, "sitedata: cannot write %s and %s\n", argv[2], argv[3]);
    return 1;
  }
  return 0;
}
