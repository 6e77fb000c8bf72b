// Fuzzes the level pack reader with arbitrary bytes as a pack file: whatever it reads must write
// back to a pack that reads the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "level/LevelPack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const PackReading reading = readLevelPack(text);
  if (reading.pack.levels.size() > static_cast<std::size_t>(kMaxPackLevels)) __builtin_trap();
  if (reading.check.hasErrors()) return 0;
  const PackReading again = readLevelPack(writeLevelPack(reading.pack));
  if (again.check.hasErrors() || again.pack.levels != reading.pack.levels || again.pack.name != reading.pack.name)
    __builtin_trap();
  return 0;
}
