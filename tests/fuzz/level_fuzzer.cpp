// Fuzzes the level reader and the tile table with arbitrary bytes as a level file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "game/LevelObject.h"
#include "level/LevelFile.h"
#include "level/TileTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  std::FILE* file = fmemopen(bytes.empty() ? nullptr : bytes.data(), bytes.size(), "r");
  if (!file) return 0;
  const LevelFile level = readLevelStream(file);
  std::fclose(file);
  for (const std::string& row : level.rows) {
    if (row.size() > 20 || row.find('\0') != std::string::npos) __builtin_trap();
  }
  std::vector<LevelObject*> objects;
  float startX = 0, startY = 37.5f;
  buildLevelObjects(level.rows, objects, startX, startY);
  if (objects.size() > 15 * 20 * 3) __builtin_trap();
  if (startX < -50 || startX > 50 || startY < 0 || startY > 75) __builtin_trap();
  for (LevelObject* object : objects) delete object;
  return 0;
}
