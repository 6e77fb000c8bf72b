#pragma once
// Connects level loads to the screen painter's backdrop and the sound player's effect slot.
#include "game/LevelManager.h"

class GameMedia : public LevelMedia {
 public:
  static GameMedia& instance();
  void setBackdrop(const std::string& path) override;
  void playEffect(const std::string& path) override;
};
