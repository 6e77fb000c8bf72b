// zarvolith_synth: synthesises the game's music loop from a score and the fire loop from its recipe.
//   zarvolith_synth --score <music.score> --music <music.wav> --fire <fire.wav>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/synth/FireSynth.h"
#include "tools/synth/MusicSynth.h"
#include "tools/synth/Score.h"
#include "tools/synth/WavFile.h"

namespace {

int fail(const std::string& message) {
  std::fprintf(stderr, "zarvolith_synth: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string scorePath, musicPath, firePath;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--score") scorePath = argv[i + 1];
    else if (option == "--music") musicPath = argv[i + 1];
    else if (option == "--fire") firePath = argv[i + 1];
  }
  if (argc != 7 || scorePath.empty() || musicPath.empty() || firePath.empty()) {
    std::fputs("usage: zarvolith_synth --score <music.score> --music <music.wav> --fire <fire.wav>\n", stderr);
    return 2;
  }
  std::ifstream in(scorePath);
  if (!in) return fail("cannot read " + scorePath);
  std::stringstream text;
  text << in.rdbuf();
  synth::Score score;
  std::string error;
  if (!synth::parseScore(text.str(), score, error)) return fail(scorePath + ": " + error);
  error = synth::writeWav(musicPath, synth::renderMusic(score));
  if (error.empty()) error = synth::writeWav(firePath, synth::renderFire(synth::FireRecipe{}));
  return error.empty() ? 0 : fail(error);
}
