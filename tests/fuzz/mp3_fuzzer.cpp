// Feeds arbitrary bytes to the MP3 stream check. It must answer without reading outside the
// bytes, and a stream it takes must be exactly whole: one byte more or one byte less is refused.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/Mp3Check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly `size` bytes, so AddressSanitizer sees any read past the end.
  const std::vector<std::uint8_t> bytes(data, data + size);
  if (!isWholeMp3(bytes.data(), bytes.size())) return 0;
  if (size == 0 || isWholeMp3(bytes.data(), size - 1)) __builtin_trap();
  std::vector<std::uint8_t> longer = bytes;
  longer.push_back(0xFF);
  if (isWholeMp3(longer.data(), longer.size())) __builtin_trap();
  return 0;
}
