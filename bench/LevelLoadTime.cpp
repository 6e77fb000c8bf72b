// How long LevelManager::loadLevel takes for each shipped level in the running game (backdrop
// texture and effect stream included), against one 60 Hz frame, with the load broken into its
// parts: level file, PNG decode, power-of-two resampling, GL upload, effect stream.
// Usage: level_load GAME_DIR [runs]   (runs per level, default 50; every run visits every level)
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchStats.h"
#include "bench/GameSession.h"
#include "game/LevelManager.h"
#include "game/LevelObjectList.h"
#include "render/PngImage.h"
#include "render/PngResample.h"
#include "sound/SoundPlayer.h"

namespace {

constexpr double kFrameMs = 1000.0 / 60;
constexpr int kDefaultRuns = 50;

enum Part { Total, Parse, Decode, Resample, Upload, Effect, kPartCount };
const char* const kPartNames[kPartCount] = {"loadLevel",  "file parse", "PNG decode",
                                            "pow2 scale", "GL upload",  "effect start"};

// samples[level][part] holds one time per run, milliseconds.
using Samples = std::vector<std::vector<std::vector<double>>>;

double timeParse(int n) {
  const std::string path = LevelManager::levelFileName(n);
  const double start = perf::nowMs();
  LevelObjectList* list = LevelManager::levelFileExists(path) ? new LevelObjectList(path) : nullptr;
  const double took = perf::nowMs() - start;
  delete list;
  return took;
}

// The upload loadPngTexture makes, into a fresh texture.
double timeUpload(const PngImage& image) {
  GLuint name = 0;
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  const double start = perf::nowMs();
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  const GLenum format = image.channels == 4 ? GL_RGBA : GL_RGB;
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.width, image.height, 0, format,
               GL_UNSIGNED_BYTE, image.pixels.data());
  glFinish();
  const double took = perf::nowMs() - start;
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  glBindTexture(GL_TEXTURE_2D, 0);
  glDeleteTextures(1, &name);
  return took;
}

void timeOneRun(int n, std::vector<std::vector<double>>& parts) {
  double start = perf::nowMs();
  levelManager.loadLevel(n);
  glFinish();
  parts[Total].push_back(perf::nowMs() - start);

  parts[Parse].push_back(timeParse(n));

  PngImage image;
  start = perf::nowMs();
  const bool decoded = decodePngFile(LevelManager::backdropFileName(n).c_str(), image);
  parts[Decode].push_back(perf::nowMs() - start);
  if (!decoded) {
    std::fprintf(stderr, "backdrop of level %d does not decode\n", n);
    std::exit(1);
  }
  GLint maxSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
  start = perf::nowMs();
  PngImage sized = resampleToPowerOfTwo(image, maxSide);
  parts[Resample].push_back(perf::nowMs() - start);

  parts[Upload].push_back(timeUpload(sized));

  start = perf::nowMs();
  SoundPlayer::instance()->playEffect(LevelManager::effectFileName(currentLevel->facts));
  parts[Effect].push_back(perf::nowMs() - start);
}

void printTable(const Samples& samples) {
  std::printf("median ms per level over %zu runs (max in brackets for loadLevel)\n",
              samples[1][Total].size());
  std::printf("level");
  for (const char* name : kPartNames) std::printf(" %12s", name);
  std::printf("\n");
  for (std::size_t n = 1; n < samples.size(); ++n) {
    std::printf("%5zu", n);
    for (int p = 0; p < kPartCount; ++p) std::printf(" %12.2f", perf::median(samples[n][p]));
    std::printf("   [%.2f]\n", perf::percentile(samples[n][Total], 1.0));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: level_load GAME_DIR [runs]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::atoi(argv[2]) : kDefaultRuns;
  if (runs < 1 || !perf::enterGameDir(argv[1])) return 2;
  const int levelCount = perf::shippedLevelCount();
  if (levelCount == 0) {
    std::fprintf(stderr, "level_load: no levels/level1.txt in %s\n", argv[1]);
    return 2;
  }
  perf::startGameInProcess();

  Samples samples(levelCount + 1, std::vector<std::vector<double>>(kPartCount));
  // Every run visits every level, so each load replaces a different level's backdrop and sound.
  for (int run = 0; run < runs; ++run)
    for (int n = 1; n <= levelCount; ++n) timeOneRun(n, samples[n]);

  printTable(samples);
  int slowest = 1;
  for (int n = 2; n <= levelCount; ++n)
    if (perf::median(samples[n][Total]) > perf::median(samples[slowest][Total])) slowest = n;
  std::printf("slowest level: %d\n", slowest);
  const bool pass =
      perf::reportRatio("level load (slowest median ms / frame ms)", perf::median(samples[slowest][Total]),
                        kFrameMs, 1.0);
  return pass || runs < kDefaultRuns ? 0 : 1;
}
