#include "route/InputScript.h"

#include <cctype>
#include <climits>
#include <fstream>
#include <sstream>

namespace {
char keyLetter(Steer s) { return s == Steer::Left ? 'L' : s == Steer::Right ? 'R' : 'N'; }
}  // namespace

InputScript compactScript(const InputScript& script) {
  InputScript out;
  for (const InputSpan& span : script) {
    if (span.frames <= 0) continue;
    if (!out.empty() && out.back().input == span.input) {
      out.back().frames += span.frames;
    } else {
      out.push_back(span);
    }
  }
  return out;
}

std::string formatScript(const InputScript& script) {
  std::ostringstream out;
  for (std::size_t i = 0; i < script.size(); ++i)
    out << (i ? " " : "") << keyLetter(script[i].input) << script[i].frames;
  return out.str();
}

bool parseScript(const std::string& text, InputScript& script, std::string& error) {
  script.clear();
  std::istringstream in(text);
  std::string token;
  while (in >> token) {
    const char key = static_cast<char>(std::toupper(static_cast<unsigned char>(token[0])));
    InputSpan span;
    if (key == 'L') span.input = Steer::Left;
    else if (key == 'R') span.input = Steer::Right;
    else if (key == 'N') span.input = Steer::None;
    else {
      error = "bad key in '" + token + "': use L, R or N";
      return false;
    }
    long frames = 0;
    bool digits = token.size() > 1;
    for (std::size_t i = 1; i < token.size() && digits; ++i) {
      if (!std::isdigit(static_cast<unsigned char>(token[i]))) digits = false;
      else frames = frames * 10 + (token[i] - '0');
      if (frames > INT_MAX / 1000) digits = false;
    }
    if (!digits || frames <= 0) {
      error = "bad frame count in '" + token + "': use a letter and a positive number, e.g. R30";
      return false;
    }
    span.frames = static_cast<int>(frames);
    script.push_back(span);
  }
  return true;
}

bool readScriptFile(const std::string& path, InputScript& script, std::string& error) {
  std::ifstream file(path);
  if (!file) {
    error = path + ": cannot open";
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (!parseScript(text.str(), script, error)) {
    error = path + ": " + error;
    return false;
  }
  if (script.empty()) {
    error = path + ": no keys";
    return false;
  }
  return true;
}

int scriptFrames(const InputScript& script) {
  int frames = 0;
  for (const InputSpan& span : script) frames += span.frames;
  return frames;
}

ReplayResult replayScript(LevelRun& run, const InputScript& script, FrameObserver observe) {
  run.start();
  ReplayResult result;
  for (const InputSpan& span : script) {
    for (int i = 0; i < span.frames; ++i) {
      result.outcome = run.frame(span.input);
      ++result.frames;
      if (observe) observe(result.frames, run.currentGlider());
      if (result.outcome != Outcome::Playing) return result;
    }
  }
  return result;
}
