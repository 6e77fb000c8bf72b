#include "app/GameMedia.h"

#include "render/ScreenPainter.h"
#include "sound/SoundPlayer.h"

GameMedia& GameMedia::instance() {
  static GameMedia media;
  return media;
}

void GameMedia::setBackdrop(const std::string& path) { ScreenPainter::instance()->setBackdrop(path); }

void GameMedia::playEffect(const std::string& path) { SoundPlayer::instance()->playEffect(path); }
