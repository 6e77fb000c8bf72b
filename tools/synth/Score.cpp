#include "tools/synth/Score.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace synth {

namespace {

// Beats may differ from the loop length by this much and still count as equal.
constexpr double kBeatTolerance = 1e-6;
constexpr float kSoftHit = 0.55f;  // velocity of an "o" drum step
// Limits that keep a mistyped score from asking for hours of audio.
constexpr double kMinTempo = 20, kMaxTempo = 400;  // beats per minute
constexpr double kMaxBeats = 2048;

bool instrumentNamed(const std::string& name, Instrument& out) {
  static const struct {
    const char* name;
    Instrument instrument;
  } kNames[] = {{"bell", Instrument::Bell}, {"bass", Instrument::Bass}, {"pad", Instrument::Pad},
                {"kick", Instrument::Kick}, {"snare", Instrument::Snare}, {"hat", Instrument::Hat}};
  for (const auto& entry : kNames)
    if (name == entry.name) {
      out = entry.instrument;
      return true;
    }
  return false;
}

// A positive finite number, or false.
bool parsePositive(const std::string& text, double& out) {
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return !text.empty() && end && *end == '\0' && std::isfinite(out) && out > 0;
}

// Parses "C5+E5:0.5" or "r:1" and appends it to the voice at its running beat.
bool parseNote(const std::string& token, Voice& voice, double& beat, std::string& problem) {
  const size_t colon = token.find(':');
  double length = 0;
  if (colon == std::string::npos || !parsePositive(token.substr(colon + 1), length)) {
    problem = "note '" + token + "' needs a length, like E5:1";
    return false;
  }
  const std::string pitches = token.substr(0, colon);
  NoteEvent note{beat, length, {}, 1.0f};
  if (pitches != "r") {
    std::stringstream parts(pitches);
    std::string name;
    while (std::getline(parts, name, '+')) {
      const double f = noteFrequency(name);
      if (f <= 0) {
        problem = "'" + name + "' is not a note";
        return false;
      }
      note.frequencies.push_back(f);
    }
    voice.notes.push_back(note);
  }
  beat += length;
  return true;
}

bool parseDrum(std::istringstream& words, const Score& score, Voice& voice, std::string& problem) {
  std::string instrument, gain, steps, pattern;
  double gainValue = 0, stepsPerBeat = 0;
  if (!(words >> instrument >> gain >> steps >> pattern) || !instrumentNamed(instrument, voice.instrument) ||
      !parsePositive(gain, gainValue) || !parsePositive(steps, stepsPerBeat)) {
    problem = "drum lines read: drum <kick|snare|hat> <gain> <steps per beat> <pattern>";
    return false;
  }
  if (score.beats <= 0) {
    problem = "'beats' must come before the drums";
    return false;
  }
  voice.name = instrument;
  voice.gain = static_cast<float>(gainValue);
  const double stepBeats = 1.0 / stepsPerBeat;
  const long totalSteps = std::lround(score.beats * stepsPerBeat);
  for (long step = 0; step < totalSteps; ++step) {
    const char c = pattern[step % pattern.size()];
    if (c == '.') continue;
    if (c != 'x' && c != 'o') {
      problem = std::string("drum pattern step '") + c + "' is not x, o or .";
      return false;
    }
    voice.notes.push_back({step * stepBeats, stepBeats, {0.0}, c == 'x' ? 1.0f : kSoftHit});
  }
  return true;
}

// The line up to a word that starts with '#' (a '#' inside a word is a sharp, as in G#4).
std::string withoutComment(const std::string& line) {
  for (size_t i = 0; i < line.size(); ++i)
    if (line[i] == '#' && (i == 0 || std::isspace(static_cast<unsigned char>(line[i - 1]))))
      return line.substr(0, i);
  return line;
}

}  // namespace

double noteFrequency(const std::string& name) {
  static const int kSemitones[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G from C
  if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') return 0;
  int semitone = kSemitones[name[0] - 'A'];
  size_t i = 1;
  if (name[i] == '#') ++semitone, ++i;
  else if (name[i] == 'b') --semitone, ++i;
  if (i + 1 != name.size() || name[i] < '0' || name[i] > '8') return 0;
  const int midi = (name[i] - '0' + 1) * 12 + semitone;
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

bool parseScore(const std::string& text, Score& score, std::string& error) {
  score = Score{};
  std::istringstream lines(text);
  std::string line;
  int lineNumber = 0;
  std::vector<double> voiceBeats;
  auto fail = [&](const std::string& problem) {
    error = "score line " + std::to_string(lineNumber) + ": " + problem;
    return false;
  };
  while (std::getline(lines, line)) {
    ++lineNumber;
    line = withoutComment(line);
    std::istringstream words(line);
    std::string keyword;
    if (!(words >> keyword)) continue;
    std::string value;
    if (keyword == "tempo" || keyword == "beats") {
      double number = 0;
      if (!(words >> value) || !parsePositive(value, number)) return fail(keyword + " needs a positive number");
      if (keyword == "tempo" && (number < kMinTempo || number > kMaxTempo))
        return fail("tempo must be between 20 and 400 beats per minute");
      if (keyword == "beats" && number > kMaxBeats) return fail("beats must be at most 2048");
      (keyword == "tempo" ? score.tempo : score.beats) = number;
    } else if (keyword == "voice") {
      Voice voice;
      std::string instrument, gain;
      double gainValue = 0;
      if (!(words >> voice.name >> instrument >> gain) || !instrumentNamed(instrument, voice.instrument) ||
          !parsePositive(gain, gainValue))
        return fail("voice lines read: voice <name> <bell|bass|pad> <gain>");
      voice.gain = static_cast<float>(gainValue);
      score.voices.push_back(voice);
      voiceBeats.push_back(0);
    } else if (keyword == "drum") {
      Voice drum;
      std::string problem;
      if (!parseDrum(words, score, drum, problem)) return fail(problem);
      score.voices.push_back(drum);
      voiceBeats.push_back(score.beats);
    } else {
      if (score.voices.empty()) return fail("notes before any voice, or unknown word '" + keyword + "'");
      std::string token = keyword;
      do {
        std::string problem;
        if (!parseNote(token, score.voices.back(), voiceBeats.back(), problem)) return fail(problem);
      } while (words >> token);
    }
  }
  lineNumber = 0;
  if (score.tempo <= 0 || score.beats <= 0) return fail("the score needs a tempo and a beats line");
  for (size_t v = 0; v < score.voices.size(); ++v)
    if (std::fabs(voiceBeats[v] - score.beats) > kBeatTolerance)
      return fail("voice '" + score.voices[v].name + "' lasts " + std::to_string(voiceBeats[v]) +
                  " beats, the loop " + std::to_string(score.beats));
  return true;
}

}  // namespace synth
