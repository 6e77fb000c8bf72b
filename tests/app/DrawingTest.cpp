// What the glider, the heat plumes, the decoration flames and the overlays put on screen.
#include "game/HeatSource.h"
#include "render/LevelDrawing.h"
#include "tests/support/LevelText.h"
#include "tests/app/GameDirFixture.h"

class DrawingTest : public GameDirFixture {
 protected:
  void SetUp() override {
    GameDirFixture::SetUp();
    installLevelDrawing();
    glider.x = 0;
    glider.y = 37.5f;
  }
};

// The test glider picture: left half red, right half blue, top quarter green.
TEST_F(DrawingTest, GliderFacingRightAndLeft) {
  glider.draw();
  EXPECT_COLOUR(colourAt(-2.5, 37), 255, 0, 0);
  EXPECT_COLOUR(colourAt(2.5, 37), 0, 0, 255);
  EXPECT_COLOUR(colourAt(0, 39.3), 0, 255, 0);
  EXPECT_COLOUR(colourAt(0, 40), 0, 0, 0);  // 4 units high
  EXPECT_COLOUR(colourAt(3.0, 37), 0, 0, 255);  // 7 units wide
  EXPECT_COLOUR(colourAt(3.6, 37), 0, 0, 0);

  gltest::clear(0, 0, 0);
  glider.facingLeft = true;
  glider.draw();
  EXPECT_COLOUR(colourAt(-2.5, 37), 0, 0, 255);  // mirrored, not culled
  EXPECT_COLOUR(colourAt(2.5, 37), 255, 0, 0);
  EXPECT_COLOUR(colourAt(0, 39.3), 0, 255, 0);  // not upside down
  GLint culled = 0;
  glGetIntegerv(GL_CULL_FACE_MODE, &culled);
  EXPECT_EQ(culled, GL_BACK) << "the culled face is restored";
}

TEST_F(DrawingTest, GliderTiltTurnsThePictureInsideItsBox) {
  glider.tilt = 90;  // the green top turns to the left edge
  glider.draw();
  EXPECT_COLOUR(colourAt(-3.3, 37.5), 0, 255, 0);
  gltest::clear(0, 0, 0);
  glider.tilt = 0;
  glider.draw();
  EXPECT_COLOUR(colourAt(-3.3, 37.5), 255, 0, 0);
}

TEST_F(DrawingTest, CrashedGliderShowsTheWreck) {
  glider.crash(Crashed);
  glider.draw();
  EXPECT_COLOUR(colourAt(-2.5, 37), 255, 255, 0);
  EXPECT_COLOUR(colourAt(2.5, 39), 255, 255, 0);
}

TEST_F(DrawingTest, BurningGliderCarriesAnUprightFlameAbove) {
  glider.crash(Burning);
  glider.tilt = -60;
  glider.draw();
  // The flame is 7 wide and 8 high, centred 2.4 above the glider: y 35.9 to 43.9, edges level.
  EXPECT_COLOUR(colourAt(0, 41), 255, 128, 0);
  EXPECT_COLOUR(colourAt(-3.0, 42.5), 255, 128, 0);
  EXPECT_COLOUR(colourAt(3.0, 42.5), 255, 128, 0);
  EXPECT_COLOUR(colourAt(0, 44.3), 0, 0, 0);
  gltest::clear(0, 0, 0);
  glider.flameFrame = 2;
  glider.draw();
  EXPECT_COLOUR(colourAt(0, 41), 128, 0, 255);
}

TEST_F(DrawingTest, HeatPlumeRisesFromACellAboveTheFireAndFades) {
  HeatSource fire(0, 20, 5);
  fire.phase = 0.5f;  // 25 high from y 25, alpha 0.15
  fire.draw();
  const int red = static_cast<int>(0.15 * 255 + 0.5);
  EXPECT_COLOUR(colourAt(0, 28), red, 0, 0);
  EXPECT_COLOUR(colourAt(1.5, 45), red, 0, 0);
  EXPECT_COLOUR(colourAt(0, 24), 0, 0, 0);
  EXPECT_COLOUR(colourAt(0, 51), 0, 0, 0);
  EXPECT_COLOUR(colourAt(2.7, 30), 0, 0, 0);

  gltest::clear(0, 0, 0);
  fire.phase = 1.0f;  // before its first step: full height at alpha 0, discarded
  fire.draw();
  for (double y : {26.0, 40.0, 70.0}) EXPECT_COLOUR(colourAt(0, y), 0, 0, 0);
}

namespace {

// Points inside the listed flames, by level.
struct FlameSpot {
  int level;
  double x, y;
};
const FlameSpot kFlameSpots[] = {{2, 30, 9.5},   {2, 25, 3},       {3, 36.5, 13.5}, {3, 25, 28},
                                 {4, 7.5, 32.5}, {4, -17.5, 32.5}, {5, 2.5, 51.5},  {5, -22.5, 51.5}};

}  // namespace

TEST_F(DrawingTest, DecorationFlamesAreTheLevelsOwnFacts) {
  LevelObjectList level("./levels/none.txt");  // an empty level
  levelManager.levelNumber = 1;  // the number plays no part
  for (const FlameSpot& c : kFlameSpots) {
    gltest::clear(0, 0, 0);
    level.facts = levelFacts(c.level);
    level.drawAll();
    EXPECT_COLOUR(colourAt(c.x, c.y), 255, 128, 0) << "level " << c.level;
  }
  gltest::clear(0, 0, 0);
  level.facts = levelFacts(4);
  level.decorFrame = 2;
  level.drawAll();
  EXPECT_COLOUR(colourAt(7.5, 32.5), 128, 0, 255);
  EXPECT_COLOUR(colourAt(10.2, 32.5), 0, 0, 0) << "5 units wide";
  level.facts = kNoLevelFacts;
  for (int n : {2, 3, 4, 5}) {
    gltest::clear(0, 0, 0);
    levelManager.levelNumber = n;
    level.drawAll();
    for (const FlameSpot& c : kFlameSpots) EXPECT_COLOUR(colourAt(c.x, c.y), 0, 0, 0) << "level " << n;
  }
}

// Loaded as level 2: a level whose fire sits under level 2's flame shows it; a bare one shows none.
TEST_F(DrawingTest, LoadedLevelShowsOnlyTheFlamesItsFiresBack) {
  std::vector<std::string> rows = sealedRows();
  rows[2][2] = 'g';
  dir.write("levels/level2.txt", levelText(rows));
  levelManager.loadLevel(2);
  ASSERT_NE(currentLevel, nullptr);
  currentLevel->drawAll();
  for (const FlameSpot& c : kFlameSpots)
    EXPECT_COLOUR(colourAt(c.x, c.y), 0, 0, 0) << "level " << c.level;

  rows[13][15] = '2';  // a big fire at (27.5, 7.5)
  dir.write("levels/level2.txt", levelText(rows));
  levelManager.loadLevel(2);
  gltest::clear(0, 0, 0);
  currentLevel->drawAll();  // the plume, before its first step, shows nothing
  EXPECT_COLOUR(colourAt(30, 9.5), 255, 128, 0);
  EXPECT_COLOUR(colourAt(25, 3), 255, 128, 0);
}

TEST_F(DrawingTest, OverlayOnlyWhenWonOrLost) {
  for (int32_t state : {Title, Instructions, Playing, LevelExit}) {
    GameState = state;
    levelManager.drawOverlay();
    EXPECT_COLOUR(colourAt(0, 35), 0, 0, 0) << state;
  }
  GameState = Escaped;
  levelManager.drawOverlay();
  EXPECT_COLOUR(colourAt(0, 35), 0, 255, 255);
  EXPECT_COLOUR(colourAt(25, 40), 0, 255, 255);  // 60 by 15 around (0, 35)
  EXPECT_COLOUR(colourAt(0, 43), 0, 0, 0);
  gltest::clear(0, 0, 0);
  GameState = Lost;
  levelManager.drawOverlay();
  EXPECT_COLOUR(colourAt(-25, 46), 255, 0, 255);  // 60 by 30
  EXPECT_COLOUR(colourAt(0, 50.5), 0, 0, 0);
}
