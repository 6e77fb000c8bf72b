#pragma once
// The synthesised instruments: one sample of a sounding note at a time since its start.
#include "tools/synth/Score.h"

namespace synth {

// Seconds an instrument keeps sounding after its note ends.
double releaseSeconds(Instrument instrument);

// The instrument's output t seconds after the note started, for a note lasting `length` seconds
// at frequency f (Hz; ignored by drums). Roughly within -1..1. `noise` is a value in -1..1 that
// the caller draws from a fixed-seed generator, for the drums.
float instrumentSample(Instrument instrument, double f, double t, double length, float noise);

}  // namespace synth
