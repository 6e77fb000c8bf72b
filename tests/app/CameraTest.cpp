// The window held at 1024 by 768 and the fixed perspective view.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>

#include "app/ViewCamera.h"
#include "tests/app/FakePlatform.h"
#include "tests/support/GlWindow.h"

namespace {
std::array<GLfloat, 16> matrix(GLenum which) {
  std::array<GLfloat, 16> m{};
  glGetFloatv(which, m.data());
  return m;
}
std::array<GLint, 4> viewport() {
  std::array<GLint, 4> v{};
  glGetIntegerv(GL_VIEWPORT, v.data());
  return v;
}
}  // namespace

class CameraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gltest::ensureWindow();
    FakePlatform::install();
  }
  void TearDown() override { resetPlatform(); }
};

TEST_F(CameraTest, AcceptedReshapeSetsTheGameView) {
  ViewCamera* camera = ViewCamera::instance();
  camera->reshape(1024, 768);
  EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 1024, 768}));
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);

  // gluPerspective(90, 4/3, 0.001, 200): f = 1/tan(45°) = 1.
  const auto p = matrix(GL_PROJECTION_MATRIX);
  EXPECT_NEAR(p[0], 0.75f, 1e-6);
  EXPECT_NEAR(p[5], 1.0f, 1e-6);
  EXPECT_NEAR(p[10], -(200 + 0.001) / (200 - 0.001), 1e-6);
  EXPECT_NEAR(p[11], -1.0f, 1e-6);
  EXPECT_NEAR(p[14], -2 * 200 * 0.001 / (200 - 0.001), 1e-6);
  const auto m = matrix(GL_MODELVIEW_MATRIX);
  EXPECT_FLOAT_EQ(m[12], 0.0f);
  EXPECT_FLOAT_EQ(m[13], -37.5f);
  EXPECT_FLOAT_EQ(m[14], -37.5f);
  EXPECT_EQ(FakePlatform::reshapes, 0);
  EXPECT_DOUBLE_EQ(camera->visibleHalfHeight(), 37.5);
}

TEST_F(CameraTest, OtherSizesAskForTheGameSizeAndChangeNothing) {
  ViewCamera* camera = ViewCamera::instance();
  camera->reshape(1024, 768);
  const auto p = matrix(GL_PROJECTION_MATRIX);
  glLoadIdentity();
  glTranslatef(1, 2, 3);
  const auto m = matrix(GL_MODELVIEW_MATRIX);
  const int clearsBefore = FakePlatform::clears;

  camera->reshape(800, 600);
  EXPECT_EQ(FakePlatform::reshapes, 1);
  EXPECT_EQ(FakePlatform::lastReshapeWidth, 1024);
  EXPECT_EQ(FakePlatform::lastReshapeHeight, 768);
  EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 1024, 768}));
  EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), p);
  EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), m);
  EXPECT_EQ(camera->width(), 1024);
  EXPECT_EQ(camera->height(), 768);
  EXPECT_EQ(FakePlatform::clears, clearsBefore + 1) << "every reshape clears, accepted or not";
  camera->reshape(1024, 768);
  camera->reshape(1024, 768);
  EXPECT_EQ(FakePlatform::clears, clearsBefore + 3);
  EXPECT_EQ(matrix(GL_PROJECTION_MATRIX), p);
}

TEST_F(CameraTest, ApplyViewShowsTheLevelAreaEdgeToEdge) {
  ViewCamera::instance()->reshape(1024, 768);
  ViewCamera::instance()->applyView();
  gltest::clear(0, 0, 0);
  glDisable(GL_CULL_FACE);
  glDisable(GL_DEPTH_TEST);
  glColor3f(1, 1, 1);
  glBegin(GL_QUADS);  // the world's corner cells
  glVertex2f(-50, 0), glVertex2f(-45, 0), glVertex2f(-45, 5), glVertex2f(-50, 5);
  glVertex2f(45, 70), glVertex2f(50, 70), glVertex2f(50, 75), glVertex2f(45, 75);
  glEnd();
  EXPECT_EQ(gltest::pixelAt(2, 765)[0], 255) << "bottom-left";
  EXPECT_EQ(gltest::pixelAt(1021, 2)[0], 255) << "top-right";
  EXPECT_EQ(gltest::pixelAt(60, 765)[0], 0);
  EXPECT_EQ(gltest::pixelAt(512, 384)[0], 0);
}
