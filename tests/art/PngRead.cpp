#include "tests/art/PngRead.h"

#include <png.h>

#include <cstring>

namespace arttest {

bool readPng(const std::string& path, Picture& picture) {
  picture = Picture{};
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  picture.hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  picture.indexed = (image.format & PNG_FORMAT_FLAG_COLORMAP) != 0;
  image.format = PNG_FORMAT_RGBA;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) {
    png_image_free(&image);
    picture = Picture{};
    return false;
  }
  return true;
}

}  // namespace arttest
