#pragma once
// The music's score: a small text format kept in the repository.
//   tempo <beats per minute>
//   beats <length of the loop in beats>
//   voice <name> <instrument> <gain>     followed by lines of notes, e.g.  E5:1 C5+E5:0.5 r:2
//   drum <instrument> <gain> <steps per beat> <pattern of x (hit), o (soft hit) and .>
// Every voice must last exactly the loop's length; drum patterns repeat to fill it.
// A word starting with '#' begins a comment; '#' inside a note name is a sharp.
#include <string>
#include <vector>

namespace synth {

enum class Instrument { Bell, Bass, Pad, Kick, Snare, Hat };

struct NoteEvent {
  double startBeat;                 // from the start of the loop
  double beats;                     // length
  std::vector<double> frequencies;  // Hz; one per chord tone
  float velocity = 1;               // 0..1
};

struct Voice {
  std::string name;
  Instrument instrument;
  float gain;                       // linear
  std::vector<NoteEvent> notes;
};

struct Score {
  double tempo = 0;                 // beats per minute
  double beats = 0;                 // loop length
  std::vector<Voice> voices;        // drum patterns appear as voices of hits
};

// Parses score text. On error returns false and sets `error` to a message naming the line.
bool parseScore(const std::string& text, Score& score, std::string& error);

// Frequency of a note name like A4, C#5 or Bb3, Hz; 0 when the name is not a note.
double noteFrequency(const std::string& name);

}  // namespace synth
