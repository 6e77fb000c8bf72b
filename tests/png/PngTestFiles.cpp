#include "tests/png/PngTestFiles.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>

namespace pngtest {
namespace {

// Everything the encoder touches, kept outside the setjmp frame.
struct WriteSession {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<unsigned char> bytes;
  std::vector<std::vector<unsigned char>> rows;
  std::vector<png_bytep> rowPointers;
  ~WriteSession() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* bytes = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  bytes->insert(bytes->end(), data, data + length);
}

void flushNothing(png_structp) {}

// Packs one row of samples the way the file stores them: big-endian for 16 bits, several per
// byte (first sample in the high bits) below 8.
std::vector<unsigned char> packRow(const int* samples, int count, int bitDepth) {
  std::vector<unsigned char> row;
  if (bitDepth == 16) {
    for (int i = 0; i < count; ++i) {
      row.push_back(static_cast<unsigned char>(samples[i] >> 8));
      row.push_back(static_cast<unsigned char>(samples[i] & 0xff));
    }
  } else if (bitDepth == 8) {
    for (int i = 0; i < count; ++i) row.push_back(static_cast<unsigned char>(samples[i]));
  } else {
    const int perByte = 8 / bitDepth;
    row.assign(static_cast<std::size_t>((count + perByte - 1) / perByte), 0);
    for (int i = 0; i < count; ++i) {
      int shift = 8 - bitDepth * (i % perByte + 1);
      row[static_cast<std::size_t>(i / perByte)] |= static_cast<unsigned char>(samples[i] << shift);
    }
  }
  return row;
}

void writeOptionalChunks(WriteSession& s, const EncodeOptions& options) {
  if (!options.palette.empty()) {
    png_set_PLTE(s.png, s.info, options.palette.data(), static_cast<int>(options.palette.size()));
  }
  if (!options.paletteAlpha.empty()) {
    png_set_tRNS(s.png, s.info, options.paletteAlpha.data(),
                 static_cast<int>(options.paletteAlpha.size()), nullptr);
  } else if (options.transparentKey) {
    png_color_16 key = options.key;
    png_set_tRNS(s.png, s.info, nullptr, 0, &key);
  }
  if (options.gamma > 0.0) png_set_gAMA(s.png, s.info, options.gamma);
}

bool runEncode(WriteSession& s, int width, int height, const EncodeOptions& options) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_set_write_fn(s.png, &s.bytes, appendBytes, flushNothing);
  png_set_IHDR(s.png, s.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
               options.bitDepth, options.colorType,
               options.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  writeOptionalChunks(s, options);
  png_write_info(s.png, s.info);
  png_write_image(s.png, s.rowPointers.data());
  png_write_end(s.png, nullptr);
  return true;
}

void putBigEndian(std::vector<unsigned char>& bytes, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    bytes.push_back(static_cast<unsigned char>(value >> shift));
  }
}

}  // namespace

int samplesPerPixel(int colorType) {
  switch (colorType) {
    case PNG_COLOR_TYPE_GRAY: return 1;
    case PNG_COLOR_TYPE_PALETTE: return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    default: return 4;
  }
}

std::vector<unsigned char> encodePng(int width, int height, const std::vector<int>& samples,
                                     const EncodeOptions& options) {
  const int rowSamples = width * samplesPerPixel(options.colorType);
  if (samples.size() != static_cast<std::size_t>(rowSamples) * height) {
    ADD_FAILURE() << "encodePng: " << samples.size() << " samples for a " << width << "x" << height
                  << " image";
    return {};
  }
  WriteSession s;
  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  s.info = png_create_info_struct(s.png);
  for (int y = 0; y < height; ++y) {
    s.rows.push_back(packRow(samples.data() + y * rowSamples, rowSamples, options.bitDepth));
  }
  for (auto& row : s.rows) s.rowPointers.push_back(row.data());
  if (!runEncode(s, width, height, options)) {
    ADD_FAILURE() << "libpng could not encode the test image";
    return {};
  }
  return s.bytes;
}

std::vector<unsigned char> makeChunk(const char type[4], const std::vector<unsigned char>& data) {
  std::vector<unsigned char> chunk;
  putBigEndian(chunk, static_cast<std::uint32_t>(data.size()));
  chunk.insert(chunk.end(), type, type + 4);
  chunk.insert(chunk.end(), data.begin(), data.end());
  uLong crc = crc32(0L, chunk.data() + 4, static_cast<uInt>(data.size() + 4));
  putBigEndian(chunk, static_cast<std::uint32_t>(crc));
  return chunk;
}

long findChunk(const std::vector<unsigned char>& png, const char type[4]) {
  std::size_t offset = 8;
  while (offset + 8 <= png.size()) {
    std::uint32_t length = (std::uint32_t{png[offset]} << 24) | (std::uint32_t{png[offset + 1]} << 16) |
                           (std::uint32_t{png[offset + 2]} << 8) | png[offset + 3];
    if (std::memcmp(&png[offset + 4], type, 4) == 0) return static_cast<long>(offset);
    offset += 12 + std::size_t{length};
  }
  return -1;
}

std::vector<unsigned char> pngWithHeaderOnly(std::uint32_t width, std::uint32_t height) {
  std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<unsigned char> header;
  putBigEndian(header, width);
  putBigEndian(header, height);
  header.insert(header.end(), {8, PNG_COLOR_TYPE_RGBA, 0, 0, 0});
  // One zlib-compressed empty row: far too little data for the image announced.
  const unsigned char emptyRow[1] = {0};
  std::vector<unsigned char> idat(compressBound(1));
  uLongf idatSize = idat.size();
  compress(idat.data(), &idatSize, emptyRow, 1);
  idat.resize(idatSize);
  for (const auto& chunk :
       {makeChunk("IHDR", header), makeChunk("IDAT", idat), makeChunk("IEND", {})}) {
    png.insert(png.end(), chunk.begin(), chunk.end());
  }
  return png;
}

}  // namespace pngtest
