#include "game/Block.h"

#include "game/GameState.h"
#include "game/Geometry.h"
#include "game/Glider.h"

void Block::interact(float, Glider& g) {
  const float bottom = y - height * 0.5f;
  const float top = y + height * 0.5f;
  const float left = x - width * 0.5f;
  const float right = x + width * 0.5f;
  // Strictly inside: a centre on an edge is outside.
  if (!(bottom < g.y && g.y < top && left < g.x && g.x < right)) return;
  if (kind == Wall && !faceTestPasses(g, left, right, bottom, top)) return;
  touch(g);
}

bool Block::actsOnlyWithin(float& left, float& bottom, float& right, float& top) const {
  left = x - width * 0.5f;
  right = x + width * 0.5f;
  bottom = y - height * 0.5f;
  top = y + height * 0.5f;
  return true;
}

// A wall only counts when the glider is just past the guarded face and moving into it.
bool Block::faceTestPasses(const Glider& g, float left, float right, float bottom, float top) const {
  switch (face) {
    case Bottom: return g.vy > 0 && distanceSquared(g.x, g.y, g.x, bottom) < kWallFaceReachSquared;
    case Right: return g.vx < 0 && distanceSquared(g.x, g.y, right, g.y) < kWallFaceReachSquared;
    case Top: return g.vy < 0 && distanceSquared(g.x, g.y, g.x, top) < kWallFaceReachSquared;
    case Left: return g.vx > 0 && distanceSquared(g.x, g.y, left, g.y) < kWallFaceReachSquared;
  }
  return false;
}

void Block::touch(Glider& g) const {
  if (kind == Wall || kind == Hazard) {
    switch (face) {
      case Bottom: g.setContact(false, true); break;
      case Right: g.setContact(true, false); break;
      case Top: g.setContact(false, false); break;
      case Left: g.setContact(true, true); break;
    }
  }
  if (kind == Hazard) g.crash(Crashed);
  if (kind == Exit && GameState != Escaped) GameState = LevelExit;
}
