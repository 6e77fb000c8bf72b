// Sprite quads: built once, upright and unmirrored, sharing a texture slot, plain when missing.
#include <filesystem>
#include <fstream>

#include "render/SpriteQuad.h"
#include "tests/app/GameDirFixture.h"

class SpriteTest : public GameDirFixture {
 protected:
  // Draws a list as a 20 by 20 square centred at (0, 37.5).
  void drawList(std::int32_t list) {
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    glTranslatef(0, 37.5f, 0);
    glScalef(20, 20, 1);
    glCallList(static_cast<GLuint>(list));
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
  }
};

TEST_F(SpriteTest, QuadShowsItsPictureUprightAndUnmirrored) {
  std::int32_t list = -1, texture = -1;
  buildSpriteQuad(list, texture, "images/glider.png");
  ASSERT_GE(list, 0);
  ASSERT_GT(texture, 0);
  drawList(list);
  EXPECT_COLOUR(colourAt(-8, 30), 255, 0, 0);  // left half red
  EXPECT_COLOUR(colourAt(8, 30), 0, 0, 255);   // right half blue
  EXPECT_COLOUR(colourAt(0, 46.5), 0, 255, 0);  // top rows green
  EXPECT_COLOUR(colourAt(0, 50), 0, 0, 0);      // outside the square
}

TEST_F(SpriteTest, EverySpriteSetEntryHasItsOwnListAndTexture) {
  for (int i = 0; i < kSpriteCount; ++i) {
    EXPECT_TRUE(glIsList(static_cast<GLuint>(spriteSet->lists[i]))) << i;
    EXPECT_GT(spriteSet->textures[i], 0) << i;
    for (int j = 0; j < i; ++j) EXPECT_NE(spriteSet->textures[i], spriteSet->textures[j]);
  }
  drawList(spriteSet->list(Sprite::lost));
  EXPECT_COLOUR(colourAt(0, 37.5), 255, 0, 255);
}

TEST_F(SpriteTest, BuiltSlotIsLeftAloneAndATextureSlotIsShared) {
  std::int32_t list = -1, texture = -1;
  buildSpriteQuad(list, texture, "images/escape.png");
  const std::int32_t built = list, loaded = texture;
  buildSpriteQuad(list, texture, "images/lost.png");
  EXPECT_EQ(list, built);
  EXPECT_EQ(texture, loaded);

  // A second quad on the same texture slot does not read its file at all.
  std::filesystem::remove("images/escape.png");
  std::int32_t second = -1;
  buildSpriteQuad(second, texture, std::string("images/escape.png"));
  EXPECT_NE(second, list);
  EXPECT_EQ(texture, loaded);
  drawList(second);
  EXPECT_COLOUR(colourAt(0, 37.5), 0, 255, 255);
}

TEST_F(SpriteTest, MissingOrBrokenPictureDrawsAPlainSquareOfTheCurrentColour) {
  std::ofstream("images/broken.png") << "\x89PNG\r\n\x1a\nthis is not a png";
  for (const char* path : {"images/none.png", "images/broken.png"}) {
    gltest::clear(0, 0, 0);
    std::int32_t list = -1, texture = -1;
    buildSpriteQuad(list, texture, path);
    EXPECT_EQ(texture, 0) << path;
    glColor4f(0.2f, 0.6f, 1.0f, 1.0f);
    drawList(list);
    glColor4f(1, 1, 1, 1);
    EXPECT_COLOUR(colourAt(0, 37.5), 51, 153, 255);
  }
}
