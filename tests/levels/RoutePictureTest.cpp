// The route picture: the glider's path over the level's backdrop in the colour of the key held,
// marks where keys change, and a picture shrunk by a whole factor.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "backdrop/WorldView.h"
#include "level/LevelFile.h"
#include "tests/support/LevelText.h"
#include "tests/support/TempDir.h"
#include "tools/solver/RoutePicture.h"

namespace {

// An open room: start high on the left, exit on the floor in the middle.
std::string writeRoom(const TempDir& dir) {
  std::vector<std::string> rows = sealedRows();
  rows[2][3] = 'g';
  rows[13] = ")        GG        (";
  return dir.write("picture_room.txt", levelText(rows));
}

// Where the glider is after `frames` frames of the script.
Glider gliderAfter(LevelRun& run, const InputScript& script, int frames) {
  run.start();
  int played = 0;
  for (const InputSpan& span : script)
    for (int i = 0; i < span.frames && played < frames; ++i, ++played) run.frame(span.input);
  return run.currentGlider();
}

float distance(const art::Rgba& a, const art::Rgba& b) {
  return std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b);
}

TEST(RoutePicture, DrawsThePathInTheColourOfEachKeyOverTheBackdrop) {
  TempDir dir;
  const std::string level = writeRoom(dir);
  LevelRun run(readLevelFile(level).rows, 1);
  const InputScript route{{Steer::Right, 60}, {Steer::Left, 30}, {Steer::None, 30}};
  RoutePictureOptions options;
  options.ghosts = 0;
  const art::Canvas picture = drawRoutePicture(run, level, route, options);
  ASSERT_EQ(picture.width(), art::kScreenWidth);
  ASSERT_EQ(picture.height(), art::kScreenHeight);
  auto colourAt = [&](int frames) {
    const Glider g = gliderAfter(run, route, frames);
    return picture.pixel(static_cast<int>(art::pixelX(g.x)), static_cast<int>(art::pixelY(g.y)));
  };
  const art::Rgba right = colourAt(30), left = colourAt(75), none = colourAt(105);
  EXPECT_GT(right.b, 0.9f);  // sky blue for Right
  EXPECT_GT(left.r, 0.9f);   // amber for Left
  EXPECT_LT(left.b, 0.3f);
  EXPECT_GT(none.r + none.g + none.b, 2.6f);  // near white for no key
  // Away from the route the backdrop shows: the dark sky in the top right.
  const art::Rgba sky = picture.pixel(art::kScreenWidth - 120, 120);
  EXPECT_LT(sky.r + sky.g + sky.b, 0.8f);
  EXPECT_GT(distance(right, left), 0.8f);
}

TEST(RoutePicture, ShrunkItKeepsTheMarksWhereTheyWere) {
  TempDir dir;
  const std::string level = writeRoom(dir);
  LevelRun run(readLevelFile(level).rows, 1);
  RoutePictureOptions options;
  options.shrink = 4;
  options.ghosts = 3;
  const art::Canvas picture = drawRoutePicture(run, level, {{Steer::Right, 60}}, options);
  EXPECT_EQ(picture.width(), art::kScreenWidth / 4);
  EXPECT_EQ(picture.height(), art::kScreenHeight / 4);
  // The first press of Right is marked at the start cell (column 3, row 2).
  const art::Rgba mark = picture.pixel(static_cast<int>(art::pixelX(5 * 3 - 47.5f) / 4),
                                       static_cast<int>(art::pixelY(72.5f - 5 * 2) / 4));
  EXPECT_GT(mark.b, 0.9f);
  EXPECT_LT(mark.r, 0.4f);
}

}  // namespace
