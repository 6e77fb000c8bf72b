// Pictures decoded ahead on the start-up worker: the same pixels as a decode on the spot, each
// file read and reported once, and nothing handed out that was sized for a larger GL limit.
#include "render/PngPrefetch.h"

#include <gtest/gtest.h>

#include <thread>

#include "render/PngTexture.h"
#include "tests/png/PngTestFiles.h"

namespace {
std::vector<int> stripes(int width, int height) {
  std::vector<int> samples;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) samples.insert(samples.end(), {x * 40 % 256, y * 60 % 256, 90, 255});
  return samples;
}
}  // namespace

TEST(PngPrefetch, HandsOutTheSamePixelsAsADecodeOnTheSpotOnce) {
  pngtest::TempDir dir;
  const std::string path = dir.write("stripes.png", pngtest::encodePng(6, 3, stripes(6, 3), {}));
  prefetchPictures({path});
  PrefetchedPicture picture;
  ASSERT_TRUE(takePrefetchedPicture(path.c_str(), 4096, picture));
  ASSERT_TRUE(picture.decoded);
  PngImage direct;
  ASSERT_TRUE(decodePngFile(path.c_str(), direct));
  const PngImage sized = resampleToPowerOfTwo(direct, 4096);
  EXPECT_EQ(picture.image.width, 8);
  EXPECT_EQ(picture.image.height, 4);
  EXPECT_EQ(picture.image.channels, sized.channels);
  EXPECT_EQ(picture.image.pixels, sized.pixels);
  EXPECT_FALSE(takePrefetchedPicture(path.c_str(), 4096, picture)) << "taken once only";
}

TEST(PngPrefetch, RemembersAFailureSoTheFileIsReportedOnce) {
  pngtest::TempDir dir;
  std::vector<unsigned char> damaged = pngtest::encodePng(4, 4, stripes(4, 4), {});
  damaged.resize(damaged.size() - 20);
  const std::string path = dir.write("damaged.png", damaged);
  ::testing::internal::CaptureStderr();
  prefetchPictures({path});
  PrefetchedPicture picture;
  const bool taken = takePrefetchedPicture(path.c_str(), 4096, picture);
  const std::string printed = ::testing::internal::GetCapturedStderr();
  ASSERT_TRUE(taken);
  EXPECT_FALSE(picture.decoded);
  EXPECT_EQ(printed.rfind("libpng error: ", 0), 0u) << printed;
  EXPECT_EQ(printed.find("libpng error: ", 1), std::string::npos) << "reported once: " << printed;
}

TEST(PngPrefetch, UnknownPathsAndSmallerLimitsAreLeftToTheCaller) {
  pngtest::TempDir dir;
  const std::string path = dir.write("wide.png", pngtest::encodePng(40, 2, stripes(40, 2), {}));
  prefetchPictures({path});
  PrefetchedPicture picture;
  EXPECT_FALSE(takePrefetchedPicture(dir.path("other.png").c_str(), 4096, picture));
  EXPECT_FALSE(takePrefetchedPicture(path.c_str(), 32, picture)) << "sized 64 wide, limit 32";
  discardPrefetchedPictures();
  EXPECT_FALSE(takePrefetchedPicture(path.c_str(), 4096, picture));
}

TEST(PngPrefetch, RunsTheGivenWorkOnTheWorkerBeforeDecoding) {
  pngtest::TempDir dir;
  const std::string path = dir.path("written-first.png");
  std::thread::id ranOn;
  // The file only exists once the given work has run, so decoding it proves the order.
  prefetchPictures({path}, [&] {
    ranOn = std::this_thread::get_id();
    dir.write("written-first.png", pngtest::encodePng(2, 2, stripes(2, 2), {}));
  });
  PrefetchedPicture picture;
  ASSERT_TRUE(takePrefetchedPicture(path.c_str(), 4096, picture));
  EXPECT_TRUE(picture.decoded);
  EXPECT_NE(ranOn, std::thread::id{});
  EXPECT_NE(ranOn, std::this_thread::get_id());
}
