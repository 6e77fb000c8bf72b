#include "render/PngTexture.h"

#include <GL/gl.h>

#include <new>

#include "render/PngResample.h"

namespace {

// Sets GL_UNPACK_ALIGNMENT to 1 for tightly packed rows and puts the caller's value back.
class TightUnpacking {
 public:
  TightUnpacking() {
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &saved_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  }
  ~TightUnpacking() { glPixelStorei(GL_UNPACK_ALIGNMENT, saved_); }
  TightUnpacking(const TightUnpacking&) = delete;
  TightUnpacking& operator=(const TightUnpacking&) = delete;

 private:
  GLint saved_ = 4;
};

// Uploads the image as the texture's only level: the minification filter is GL_LINEAR, which
// samples level 0 alone, so smaller levels would never be read.
void uploadImage(const PngImage& image) {
  TightUnpacking unpacking;
  GLenum format = image.channels == 4 ? GL_RGBA : GL_RGB;
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.width, image.height, 0, format,
               GL_UNSIGNED_BYTE, image.pixels.data());
}

// Buffers that every load reuses, so level loads do not make and free blocks of several MiB and
// the resident size stays flat over restarts.
struct TextureScratch {
  PngImage decoded, resized;
};

TextureScratch& scratch() {
  static TextureScratch buffers;
  return buffers;
}

// Reads the file and brings it to texture size; null when it cannot be decoded.
const PngImage* decodeAtTextureSize(const char* path) {
  TextureScratch& buffers = scratch();
  if (!decodePngFile(path, buffers.decoded)) return nullptr;
  GLint maxSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
  const PngImage* image = &buffers.decoded;
  if (textureSide(image->width, maxSide) != image->width ||
      textureSide(image->height, maxSide) != image->height) {
    resampleToPowerOfTwoInto(buffers.decoded, maxSide, buffers.resized);
    image = &buffers.resized;
  }
  return isWellFormed(*image) ? image : nullptr;
}

void discardTexture(GLuint name) {
  glBindTexture(GL_TEXTURE_2D, 0);
  glDeleteTextures(1, &name);
}

// Decodes the file and uploads it into the bound texture; false, with the texture untouched, when
// the file cannot be decoded.
bool uploadPngInto(const char* path) {
  try {
    const PngImage* image = decodeAtTextureSize(path);
    if (!image) return false;
    uploadImage(*image);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace

unsigned int loadPngTexture(const char* path) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  if (!uploadPngInto(path)) {
    discardTexture(name);
    return 0;
  }
  return name;
}

bool reloadPngTexture(unsigned int name, const char* path) {
  if (name == 0 || !glIsTexture(name)) return false;
  glBindTexture(GL_TEXTURE_2D, name);
  return uploadPngInto(path);
}
