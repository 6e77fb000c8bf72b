#include "io/FileBytes.h"

#include <cstddef>
#include <cstdio>
#include <new>

namespace {
constexpr std::size_t kReadChunk = 1 << 16;
}  // namespace

bool readWholeFile(const char* path, std::vector<unsigned char>& bytes) {
  bytes.clear();
  std::FILE* file = path == nullptr ? nullptr : std::fopen(path, "rb");
  if (file == nullptr) return false;
  std::size_t used = 0;
  bool ok = true;
  try {
    for (;;) {
      bytes.resize(used + kReadChunk);
      const std::size_t got = std::fread(bytes.data() + used, 1, kReadChunk, file);
      used += got;
      if (got < kReadChunk) break;
    }
    ok = std::ferror(file) == 0;
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  std::fclose(file);
  bytes.resize(ok ? used : 0);
  return ok;
}
