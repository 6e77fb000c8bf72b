#include "render/PngPrefetch.h"

#include <map>
#include <new>
#include <thread>
#include <utility>

#include "render/PngTexture.h"

namespace {

// The worker assumes the largest texture side any GL implementation here reports; a smaller real
// limit makes texture loading decode the file again itself.
constexpr int kAssumedMaxTextureSide = kMaxPngSide;

std::thread worker;
std::map<std::string, PrefetchedPicture> pictures;  // written by the worker until it is joined

void decodeAll(const std::vector<std::string>& paths) {
  // One decode buffer serves every file: a fresh one per picture would be mapped, faulted in page
  // by page and unmapped again for each full-screen picture.
  PngImage image;
  for (const std::string& path : paths) {
    PrefetchedPicture picture;
    try {
      if (decodePngFile(path.c_str(), image)) {
        resampleToPowerOfTwoInto(image, kAssumedMaxTextureSide, picture.image);
        picture.decoded = picture.image.width > 0;
      }
    } catch (const std::bad_alloc&) {
      picture = PrefetchedPicture{};
    }
    // A file that failed is remembered too, so it is not decoded (and reported) a second time.
    if (!picture.decoded) picture.image = PngImage{};
    pictures.emplace(path, std::move(picture));
  }
}

void joinWorker() {
  if (worker.joinable()) worker.join();
}

}  // namespace

void prefetchPictures(std::vector<std::string> paths, std::function<void()> first) {
  joinWorker();
  worker = std::thread([paths = std::move(paths), first = std::move(first)] {
    if (first) first();
    decodeAll(paths);
  });
}

bool takePrefetchedPicture(const char* path, int maxTextureSide, PrefetchedPicture& picture) {
  joinWorker();
  const auto found = pictures.find(path);
  if (found == pictures.end()) return false;
  PrefetchedPicture taken = std::move(found->second);
  pictures.erase(found);
  const PngImage& image = taken.image;
  if (taken.decoded && (textureSide(image.width, maxTextureSide) != image.width ||
                        textureSide(image.height, maxTextureSide) != image.height))
    return false;  // sized for a larger limit than this GL has
  picture = std::move(taken);
  return true;
}

void discardPrefetchedPictures() {
  joinWorker();
  pictures.clear();
}
