// The PNG decoder: every colour type, depth and interlace mode comes out as the same 8-bit RGB(A)
// as its plain twin, gamma follows gAMA and VIEWING_GAMMA, and damaged files fail cleanly.
#include "render/PngImage.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "tests/png/AllocationProbe.h"
#include "tests/png/PngTestFiles.h"
#include "tests/support/TempDir.h"

namespace {

using pngtest::EncodeOptions;
using pngtest::encodePng;

// Twelve colours, some see-through, cycled over the test pictures.
constexpr unsigned char kColours[][4] = {
    {255, 0, 0, 255},   {0, 255, 0, 200},   {0, 0, 255, 128},   {255, 255, 0, 0},
    {0, 255, 255, 64},  {255, 0, 255, 255}, {17, 34, 51, 1},    {200, 100, 50, 250},
    {1, 2, 3, 4},       {250, 240, 230, 99}, {128, 128, 128, 255}, {0, 0, 0, 255},
};
constexpr int kColourCount = 12;

// A picture whose pixels all differ from their neighbours, so a misplaced row or column shows.
PngImage colourPattern(int width, int height, int channels) {
  PngImage image{width, height, channels, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned char* colour = kColours[(x * 5 + y * 7 + x * y) % kColourCount];
      image.pixels.insert(image.pixels.end(), colour, colour + channels);
    }
  }
  return image;
}

// Grey levels (and alphas) spread over the whole range.
int greyAt(int x, int y) { return (x * 37 + y * 91 + 5) % 256; }
int alphaAt(int x, int y) { return (x * 13 + y * 29 + 100) % 256; }

std::vector<int> samplesOf(const PngImage& image) {
  return std::vector<int>(image.pixels.begin(), image.pixels.end());
}

std::vector<unsigned char> encodeImage(const PngImage& image, EncodeOptions options = {}) {
  options.colorType = image.channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
  return encodePng(image.width, image.height, samplesOf(image), options);
}

// The same picture as palette indices, with tRNS alphas when it has an alpha channel.
std::vector<unsigned char> encodeAsPalette(const PngImage& image, int bitDepth, bool interlaced) {
  EncodeOptions options;
  options.colorType = PNG_COLOR_TYPE_PALETTE;
  options.bitDepth = bitDepth;
  options.interlaced = interlaced;
  std::map<std::vector<unsigned char>, int> indexOf;
  std::vector<int> indices;
  for (std::size_t i = 0; i < image.pixels.size(); i += static_cast<std::size_t>(image.channels)) {
    std::vector<unsigned char> colour(image.pixels.begin() + static_cast<long>(i),
                                      image.pixels.begin() + static_cast<long>(i) + image.channels);
    auto found = indexOf.find(colour);
    if (found == indexOf.end()) {
      found = indexOf.emplace(colour, static_cast<int>(options.palette.size())).first;
      options.palette.push_back(png_color{colour[0], colour[1], colour[2]});
      if (image.channels == 4) options.paletteAlpha.push_back(colour[3]);
    }
    indices.push_back(found->second);
  }
  return encodePng(image.width, image.height, indices, options);
}

// Decodes from memory and insists on success.
PngImage decoded(const std::vector<unsigned char>& bytes) {
  PngImage image;
  EXPECT_TRUE(decodePngMemory(bytes.data(), bytes.size(), image));
  return image;
}

void expectSameImage(const PngImage& actual, const PngImage& expected) {
  ASSERT_EQ(actual.width, expected.width);
  ASSERT_EQ(actual.height, expected.height);
  ASSERT_EQ(actual.channels, expected.channels);
  ASSERT_EQ(actual.pixels.size(), expected.pixels.size());
  for (std::size_t i = 0; i < expected.pixels.size(); ++i) {
    ASSERT_EQ(int{actual.pixels[i]}, int{expected.pixels[i]})
        << "byte " << i << " (pixel " << i / static_cast<std::size_t>(expected.channels) << ")";
  }
}

// Sets or clears VIEWING_GAMMA for one scope and restores what was there before.
class ScopedViewingGamma {
 public:
  explicit ScopedViewingGamma(const char* value) {
    if (const char* old = std::getenv(kName)) saved_ = old;
    if (value != nullptr) {
      setenv(kName, value, 1);
    } else {
      unsetenv(kName);
    }
  }
  ~ScopedViewingGamma() {
    if (saved_) {
      setenv(kName, saved_->c_str(), 1);
    } else {
      unsetenv(kName);
    }
  }

 private:
  static constexpr const char* kName = "VIEWING_GAMMA";
  std::optional<std::string> saved_;
};

// Every decode test starts from the default viewing gamma whatever the caller's shell has set.
class PngDecode : public testing::Test {
 protected:
  ScopedViewingGamma defaultGamma_{nullptr};
  TempDir dir_;
};

// --- Colour types, depths and interlacing --------------------------------------------------------

TEST_F(PngDecode, RgbAndRgbaFilesDecodeExactly) {
  for (int channels : {3, 4}) {
    SCOPED_TRACE(channels);
    PngImage original = colourPattern(7, 5, channels);
    std::string path = dir_.write("plain.png", encodeImage(original));
    PngImage image;
    ASSERT_TRUE(decodePngFile(path.c_str(), image));
    expectSameImage(image, original);
  }
}

TEST_F(PngDecode, PaletteMatchesItsRgbTwin) {
  PngImage original = colourPattern(9, 6, 3);
  for (int depth : {4, 8}) {
    SCOPED_TRACE(depth);
    expectSameImage(decoded(encodeAsPalette(original, depth, false)), original);
  }
}

TEST_F(PngDecode, PaletteWithTrnsKeepsAlpha) {
  PngImage original = colourPattern(9, 6, 4);
  expectSameImage(decoded(encodeAsPalette(original, 8, false)), original);
}

TEST_F(PngDecode, PaletteEntriesBeyondShortTrnsAreOpaque) {
  EncodeOptions options;
  options.colorType = PNG_COLOR_TYPE_PALETTE;
  options.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
  options.paletteAlpha = {0};
  PngImage image = decoded(encodePng(3, 1, {0, 1, 2}, options));
  expectSameImage(image, PngImage{3, 1, 4, {10, 20, 30, 0, 40, 50, 60, 255, 70, 80, 90, 255}});
}

TEST_F(PngDecode, RgbColourKeyBecomesTransparentAndOtherColoursOpaque) {
  EncodeOptions options;
  options.colorType = PNG_COLOR_TYPE_RGB;
  options.transparentKey = true;
  options.key.red = 255;
  options.key.green = 0;
  options.key.blue = 255;
  PngImage image = decoded(encodePng(3, 1, {255, 0, 255, 255, 0, 254, 1, 2, 3}, options));
  expectSameImage(image, PngImage{3, 1, 4, {255, 0, 255, 0, 255, 0, 254, 255, 1, 2, 3, 255}});
}

TEST_F(PngDecode, GreyOfEveryDepthMatchesItsRgbTwin) {
  const int width = 11, height = 4;
  for (int depth : {1, 2, 4, 8, 16}) {
    SCOPED_TRACE(depth);
    const int top = (1 << depth) - 1;
    EncodeOptions options;
    options.colorType = PNG_COLOR_TYPE_GRAY;
    options.bitDepth = depth;
    std::vector<int> samples;
    PngImage expected{width, height, 3, {}};
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        // A grey level the depth can hold exactly, as the 8-bit value it stands for.
        int level8 = depth >= 8 ? greyAt(x, y) : greyAt(x, y) * top / 255 * 255 / top;
        samples.push_back(depth == 16 ? level8 * 257 : level8 * top / 255);
        expected.pixels.insert(expected.pixels.end(), 3, static_cast<unsigned char>(level8));
      }
    }
    expectSameImage(decoded(encodePng(width, height, samples, options)), expected);
  }
}

TEST_F(PngDecode, GreyColourKeyBecomesTransparent) {
  EncodeOptions options;
  options.colorType = PNG_COLOR_TYPE_GRAY;
  options.transparentKey = true;
  options.key.gray = 7;
  PngImage image = decoded(encodePng(2, 1, {7, 8}, options));
  expectSameImage(image, PngImage{2, 1, 4, {7, 7, 7, 0, 8, 8, 8, 255}});
}

TEST_F(PngDecode, GreyAlphaMatchesItsRgbaTwin) {
  const int width = 6, height = 5;
  for (int depth : {8, 16}) {
    SCOPED_TRACE(depth);
    EncodeOptions options;
    options.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    options.bitDepth = depth;
    const int scale = depth == 16 ? 257 : 1;
    std::vector<int> samples;
    PngImage expected{width, height, 4, {}};
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        samples.push_back(greyAt(x, y) * scale);
        samples.push_back(alphaAt(x, y) * scale);
        auto grey = static_cast<unsigned char>(greyAt(x, y));
        expected.pixels.insert(expected.pixels.end(), {grey, grey, grey,
                                                       static_cast<unsigned char>(alphaAt(x, y))});
      }
    }
    expectSameImage(decoded(encodePng(width, height, samples, options)), expected);
  }
}

TEST_F(PngDecode, SixteenBitMatchesItsEightBitTwin) {
  for (int channels : {3, 4}) {
    SCOPED_TRACE(channels);
    PngImage original = colourPattern(5, 7, channels);
    std::vector<int> samples;
    for (unsigned char value : original.pixels) samples.push_back(value * 257);
    EncodeOptions options;
    options.colorType = channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
    options.bitDepth = 16;
    expectSameImage(decoded(encodePng(original.width, original.height, samples, options)), original);
  }
}

TEST_F(PngDecode, InterlacedMatchesItsPlainTwin) {
  // Big enough for all seven passes to hold pixels, odd so the passes end unevenly.
  for (int channels : {3, 4}) {
    SCOPED_TRACE(channels);
    PngImage original = colourPattern(13, 11, channels);
    EncodeOptions interlaced;
    interlaced.interlaced = true;
    expectSameImage(decoded(encodeImage(original, interlaced)), original);
    expectSameImage(decoded(encodeAsPalette(original, 8, true)), original);
  }
}

TEST_F(PngDecode, LargestAllowedSideDecodes) {
  PngImage original{kMaxPngSide, 1, 3, std::vector<unsigned char>(kMaxPngSide * 3, 90)};
  expectSameImage(decoded(encodeImage(original)), original);
}

// --- Gamma ---------------------------------------------------------------------------------------

// Mid-grey and the two ends, as an RGB file with an optional gAMA chunk.
std::vector<unsigned char> greyRamp(double gamma) {
  EncodeOptions options;
  options.colorType = PNG_COLOR_TYPE_RGB;
  options.gamma = gamma;
  return encodePng(3, 1, {0, 0, 0, 128, 128, 128, 255, 255, 255}, options);
}

// What a correct gamma transfer makes of 8-bit value v.
double corrected(int v, double fileGamma, double screenGamma) {
  return 255.0 * std::pow(v / 255.0, 1.0 / (fileGamma * screenGamma));
}

void expectRamp(const PngImage& image, double expectedMid) {
  ASSERT_EQ(image.channels, 3);
  EXPECT_EQ(image.pixels[0], 0);
  EXPECT_NEAR(image.pixels[3], expectedMid, 1.5);
  EXPECT_EQ(image.pixels[3], image.pixels[5]);
  EXPECT_EQ(image.pixels[6], 255);
}

TEST_F(PngDecode, UntaggedOrSrgbGammaFileIsUnchangedByDefault) {
  expectRamp(decoded(greyRamp(0.0)), 128);
  expectRamp(decoded(greyRamp(1.0 / 2.2)), 128);
}

TEST_F(PngDecode, LinearTaggedFileIsBrightenedForTheScreen) {
  expectRamp(decoded(greyRamp(1.0)), corrected(128, 1.0, 2.2));
}

TEST_F(PngDecode, ViewingGammaMovesMidGreyTheRightWay) {
  {
    ScopedViewingGamma viewing("1.1");  // screen gamma 2.0: darker
    PngImage image = decoded(greyRamp(0.0));
    expectRamp(image, corrected(128, 1.0 / 2.2, 2.0));
    EXPECT_LT(image.pixels[3], 128);
  }
  {
    ScopedViewingGamma viewing("0.8");  // screen gamma 2.75: brighter
    PngImage image = decoded(greyRamp(0.0));
    expectRamp(image, corrected(128, 1.0 / 2.2, 2.75));
    EXPECT_GT(image.pixels[3], 128);
  }
}

TEST_F(PngDecode, ViewingGammaLeavesAlphaAlone) {
  ScopedViewingGamma viewing("1.5");
  PngImage original{1, 1, 4, {128, 128, 128, 128}};
  PngImage image = decoded(encodeImage(original));
  EXPECT_LT(image.pixels[0], 128);
  EXPECT_EQ(image.pixels[3], 128);
}

TEST_F(PngDecode, ViewingGammaThatIsNotAPositiveNumberIsIgnored) {
  for (const char* value : {"", "abc", "0", "-1.1", "1.1x", "nan", "inf"}) {
    SCOPED_TRACE(value);
    ScopedViewingGamma viewing(value);
    expectRamp(decoded(greyRamp(0.0)), 128);
  }
}

// Screen gammas beyond 0.01 and 100 are held there.
TEST_F(PngDecode, ExtremeViewingGammaIsHeldToTheScreenGammaLimits) {
  for (auto [value, screenGamma] : {std::pair<const char*, double>{"1e-300", 100.0}, {"1e300", 0.01}}) {
    SCOPED_TRACE(value);
    ScopedViewingGamma viewing(value);
    expectRamp(decoded(greyRamp(0.0)), corrected(128, 1.0 / 2.2, screenGamma));
  }
}

// --- Missing and damaged input -------------------------------------------------------------------

struct Outcome {
  bool ok;
  std::string stderrText;
  PngImage image;
};

Outcome decodeFileCapturingStderr(const std::string& path) {
  Outcome outcome;
  // Leftovers from an earlier decode must not survive a failure.
  outcome.image = PngImage{2, 2, 3, std::vector<unsigned char>(12, 1)};
  testing::internal::CaptureStderr();
  outcome.ok = decodePngFile(path.c_str(), outcome.image);
  outcome.stderrText = testing::internal::GetCapturedStderr();
  return outcome;
}

void expectCleanFailure(const Outcome& outcome) {
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.image.width, 0);
  EXPECT_EQ(outcome.image.height, 0);
  EXPECT_EQ(outcome.image.channels, 0);
  EXPECT_TRUE(outcome.image.pixels.empty());
}

void expectLibpngMessage(const Outcome& outcome) {
  EXPECT_EQ(outcome.stderrText.rfind("libpng error: ", 0), 0u) << outcome.stderrText;
  ASSERT_FALSE(outcome.stderrText.empty());
  EXPECT_EQ(outcome.stderrText.back(), '\n');
}

// Refusing a file must happen before memory is set aside for its pixels.
constexpr std::size_t kMostBytesForARefusal = 1 << 20;

TEST_F(PngDecode, MissingFilesAndNoInputFailSilently) {
  for (const std::string& path : {dir_.file("no-such-file.png"), dir_.path()}) {
    SCOPED_TRACE(path);
    Outcome outcome = decodeFileCapturingStderr(path);
    expectCleanFailure(outcome);
    EXPECT_EQ(outcome.stderrText, "");
  }
  PngImage image;
  EXPECT_FALSE(decodePngFile(nullptr, image));
  EXPECT_FALSE(decodePngMemory(nullptr, 0, image));
}

// A damaged file and whether libpng explains its refusal ("libpng error: ..." on stderr).
struct DamagedPng {
  std::string name;
  std::vector<unsigned char> bytes;
  bool libpngSpeaks;
};

std::vector<unsigned char> cut(std::vector<unsigned char> png, std::size_t keep) {
  png.resize(keep);
  return png;
}

// A 16 x 16 picture's file with one byte of its compressed data flipped.
std::vector<unsigned char> badIdatCrc() {
  std::vector<unsigned char> png = encodeImage(colourPattern(16, 16, 3));
  png[static_cast<std::size_t>(pngtest::findChunk(png, "IDAT")) + 8 + 2] ^= 0x40;
  return png;
}

std::vector<unsigned char> garbageAfterSignature() {
  std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  for (int i = 0; i < 200; ++i) png.push_back(static_cast<unsigned char>(i * 73 + 11));
  return png;
}

std::vector<unsigned char> solidImage(int width, int height) {
  return encodeImage(PngImage{width, height, 3, std::vector<unsigned char>(std::size_t{3} * width * height, 7)});
}

std::vector<DamagedPng> damagedPngs() {
  const std::vector<unsigned char> whole = encodeImage(colourPattern(16, 16, 4));
  return {
      {"empty", {}, false},
      {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'}, false},
      {"half-signature", {0x89, 'P', 'N', 'G'}, false},
      {"cut-after-signature", cut(whole, 8), true},
      {"cut-in-header", cut(whole, 20), true},
      {"cut-in-half", cut(whole, whole.size() / 2), true},
      {"cut-before-end", cut(whole, whole.size() - 13), true},
      {"bad-idat-crc", badIdatCrc(), true},
      {"garbage-after-signature", garbageAfterSignature(), true},
      // A header of 100000 x 100000 must be refused before anything is set aside for it.
      {"huge-header", pngtest::pngWithHeaderOnly(100000, 100000), true},
      {"one-over-wide", solidImage(kMaxPngSide + 1, 1), true},
      {"one-over-tall", solidImage(1, kMaxPngSide + 1), true},
      // A legal 16384 x 16384 header over a few bytes of data cannot be a whole image; decoding it
      // would set aside a gigabyte before finding that out.
      {"hollow-largest", pngtest::pngWithHeaderOnly(kMaxPngSide, kMaxPngSide), true},
  };
}

TEST_F(PngDecode, DamagedFilesFailCleanlyAndFast) {
  for (const DamagedPng& damaged : damagedPngs()) {
    SCOPED_TRACE(damaged.name);
    const std::string path = dir_.write(damaged.name + ".png", damaged.bytes);
    pngtest::resetLargestAllocation();
    const auto start = std::chrono::steady_clock::now();
    Outcome outcome = decodeFileCapturingStderr(path);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    expectCleanFailure(outcome);
    if (damaged.libpngSpeaks) {
      expectLibpngMessage(outcome);
    } else {
      EXPECT_EQ(outcome.stderrText, "");
    }
    EXPECT_LT(pngtest::largestAllocation(), kMostBytesForARefusal);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 500);
  }
}

// Chunk CRCs guard the compressed bytes; the zlib stream's own Adler-32 is not checked again. A
// file whose Adler-32 is wrong but whose CRCs are right still holds the pixels it was written with.
TEST_F(PngDecode, WrongAdlerWithRightCrcsStillDecodesThePixels) {
  PngImage original = colourPattern(16, 16, 3);
  std::vector<unsigned char> png = encodeImage(original);
  const long idat = pngtest::findChunk(png, "IDAT");
  ASSERT_GT(idat, 0);
  ASSERT_EQ(pngtest::findChunk(std::vector<unsigned char>(png.begin() + idat + 8, png.end()), "IDAT"), -1)
      << "one IDAT chunk, so the stream's last four bytes are its Adler-32";
  const std::size_t start = static_cast<std::size_t>(idat);
  const std::size_t length = (std::size_t{png[start]} << 24) | (std::size_t{png[start + 1]} << 16) |
                             (std::size_t{png[start + 2]} << 8) | png[start + 3];
  std::vector<unsigned char> data(png.begin() + static_cast<long>(start + 8),
                                  png.begin() + static_cast<long>(start + 8 + length));
  data.back() ^= 0x5a;
  const std::vector<unsigned char> chunk = pngtest::makeChunk("IDAT", data);
  png.erase(png.begin() + static_cast<long>(start), png.begin() + static_cast<long>(start + 12 + length));
  png.insert(png.begin() + static_cast<long>(start), chunk.begin(), chunk.end());

  PngImage image;
  ASSERT_TRUE(decodePngFile(dir_.write("wrong-adler.png", png).c_str(), image));
  expectSameImage(image, original);
}

}  // namespace
