#include "app/ViewCamera.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "app/Platform.h"

namespace {
// The aspect ratio is fixed, not taken from the window: the window is always held at 4:3.
constexpr double kAspect = 1.3333333333333333;
constexpr double kNearPlane = 0.001;
constexpr double kFarPlane = 200.0;
}  // namespace

double degreesToRadians(float degrees) { return degrees * 0.017453292519943295; }

ViewCamera* ViewCamera::instance() {
  static ViewCamera* camera = nullptr;
  if (!camera) camera = new ViewCamera();
  return camera;
}

void ViewCamera::reshape(int width, int height) {
  platform.clearBuffers();
  if (width != kWindowWidth || height != kWindowHeight) {
    platform.reshapeWindow(kWindowWidth, kWindowHeight);  // the toolkit reshapes again when done
    return;
  }
  width_ = kWindowWidth;
  height_ = kWindowHeight;
  glViewport(0, 0, kWindowWidth, kWindowHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(fieldOfView_, kAspect, kNearPlane, kFarPlane);
  glMatrixMode(GL_MODELVIEW);
  applyView();
}

void ViewCamera::applyView() const {
  glLoadIdentity();
  glTranslatef(static_cast<float>(translationX_), static_cast<float>(translationY_),
               static_cast<float>(translationZ_));
}

double ViewCamera::visibleHalfHeight() const {
  const float halfAngle = static_cast<float>(fieldOfView_ * 0.5);
  return std::fabs(translationZ_) * std::tan(degreesToRadians(halfAngle));
}
