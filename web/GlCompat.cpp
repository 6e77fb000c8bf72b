// What the browser's OpenGL emulation lacks, for the calls the game makes:
// - display lists, recorded here and replayed on glCallList;
// - immediate-mode primitives gathered between glBegin and glEnd and handed on with their colour
//   set before glBegin (a colour or normal given inside glBegin/glEnd upsets the emulation's
//   vertex layout, and quads draw sheared);
// - the alpha size of a texture level, which the emulation cannot answer;
// - no-ops for fixed state WebGL does not have.
// Every call goes through here because web/include/GL/gl.h routes it; this file alone sees the
// emulation's own functions.
#define ZARVOLITH_WEB_GL_REAL
#include <GL/gl.h>

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace {

struct Vertex {
  GLfloat s, t, x, y;
};

struct Colour {
  GLfloat r, g, b, a;
};

// One recorded call of a display list.
struct ListOp {
  enum Kind { Bind, SetColour, Draw } kind;
  GLuint texture;
  Colour colour;
  GLenum mode;
  std::size_t first, count;  // the primitive's vertices in the list's own vertex store
};

struct DisplayList {
  std::vector<ListOp> ops;
  std::vector<Vertex> vertices;
};

struct TextureLevel {
  GLint width = 0, height = 0;
  bool alpha = false;
};

// List n lives at lists[n - 1]; names are never reused, as the game builds few lists.
std::vector<DisplayList> lists;
GLuint recording = 0;
bool executeWhileRecording = false;

// The primitive between glBegin and glEnd. Its buffer keeps its capacity, so drawing allocates
// nothing once the first frames have run.
bool inPrimitive = false;
GLenum primitiveMode = GL_QUADS;
std::vector<Vertex> primitive;
bool primitiveHasColour = false;
Colour primitiveColour{1, 1, 1, 1};
GLfloat currentS = 0, currentT = 0;

GLuint boundTexture = 0;
std::unordered_map<GLuint, TextureLevel> textureLevels;

DisplayList* listNamed(GLuint name) {
  if (name == 0 || name > lists.size()) return nullptr;
  return &lists[name - 1];
}

void drawNow(GLenum mode, const Vertex* vertices, std::size_t count, const Colour* colour) {
  if (colour) glColor4f(colour->r, colour->g, colour->b, colour->a);
  glBegin(mode);
  for (std::size_t i = 0; i < count; ++i) {
    glTexCoord2f(vertices[i].s, vertices[i].t);
    glVertex2f(vertices[i].x, vertices[i].y);
  }
  glEnd();
}

void bindNow(GLuint texture) {
  glBindTexture(GL_TEXTURE_2D, texture);
  boundTexture = texture;
}

void replay(const DisplayList& list) {
  for (const ListOp& op : list.ops) {
    switch (op.kind) {
      case ListOp::Bind:
        bindNow(op.texture);
        break;
      case ListOp::SetColour:
        glColor4f(op.colour.r, op.colour.g, op.colour.b, op.colour.a);
        break;
      case ListOp::Draw:
        drawNow(op.mode, list.vertices.data() + op.first, op.count, nullptr);
        break;
    }
  }
}

bool hasAlpha(GLint format) {
  return format == GL_RGBA || format == GL_LUMINANCE_ALPHA || format == GL_ALPHA || format == 4 ||
         format == 2;
}

}  // namespace

extern "C" {

GLuint glGenLists(GLsizei range) {
  if (range <= 0) return 0;
  const GLuint first = static_cast<GLuint>(lists.size()) + 1;
  lists.resize(lists.size() + static_cast<std::size_t>(range));
  return first;
}

void glNewList(GLuint name, GLenum mode) {
  DisplayList* list = listNamed(name);
  if (!list || recording != 0) return;
  list->ops.clear();
  list->vertices.clear();
  recording = name;
  executeWhileRecording = mode == GL_COMPILE_AND_EXECUTE;
}

void glEndList(void) { recording = 0; }

void glCallList(GLuint name) {
  const DisplayList* list = listNamed(name);
  if (list && recording == 0) replay(*list);
}

void glDeleteLists(GLuint name, GLsizei range) {
  for (GLsizei i = 0; i < range; ++i) {
    if (DisplayList* list = listNamed(name + static_cast<GLuint>(i))) *list = DisplayList();
  }
}

void glGetTexLevelParameteriv(GLenum target, GLint level, GLenum pname, GLint* params) {
  if (!params) return;
  const auto found = textureLevels.find(boundTexture);
  const TextureLevel info = (level == 0 && found != textureLevels.end()) ? found->second : TextureLevel();
  switch (pname) {
    case GL_TEXTURE_WIDTH: *params = info.width; break;
    case GL_TEXTURE_HEIGHT: *params = info.height; break;
    case GL_TEXTURE_ALPHA_SIZE: *params = info.alpha ? 8 : 0; break;
    case GL_TEXTURE_RED_SIZE:
    case GL_TEXTURE_GREEN_SIZE:
    case GL_TEXTURE_BLUE_SIZE: *params = info.width > 0 ? 8 : 0; break;
    default: *params = 0; break;
  }
}

void webBindTexture(GLenum target, GLuint texture) {
  if (recording != 0) {
    DisplayList& list = lists[recording - 1];
    list.ops.push_back({ListOp::Bind, texture, {}, 0, 0, 0});
    if (!executeWhileRecording) return;
  }
  if (target == GL_TEXTURE_2D) {
    bindNow(texture);
  } else {
    glBindTexture(target, texture);
  }
}

void webBegin(GLenum mode) {
  inPrimitive = true;
  primitiveMode = mode;
  primitive.clear();
  primitiveHasColour = false;
}

void webEnd(void) {
  if (!inPrimitive) return;
  inPrimitive = false;
  if (recording != 0) {
    DisplayList& list = lists[recording - 1];
    if (primitiveHasColour) list.ops.push_back({ListOp::SetColour, 0, primitiveColour, 0, 0, 0});
    list.ops.push_back({ListOp::Draw, 0, {}, primitiveMode, list.vertices.size(), primitive.size()});
    list.vertices.insert(list.vertices.end(), primitive.begin(), primitive.end());
    if (!executeWhileRecording) return;
  }
  // One colour serves the whole primitive, as every primitive the game draws has one colour.
  drawNow(primitiveMode, primitive.data(), primitive.size(), primitiveHasColour ? &primitiveColour : nullptr);
}

// Normals only matter with lighting, which the game never turns on.
void webNormal3f(GLfloat, GLfloat, GLfloat) {}

void webColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
  if (inPrimitive) {
    primitiveHasColour = true;
    primitiveColour = {r, g, b, a};
    return;
  }
  if (recording != 0) {
    lists[recording - 1].ops.push_back({ListOp::SetColour, 0, {r, g, b, a}, 0, 0, 0});
    if (!executeWhileRecording) return;
  }
  glColor4f(r, g, b, a);
}

void webTexCoord2f(GLfloat s, GLfloat t) {
  currentS = s;
  currentT = t;
  if (!inPrimitive) glTexCoord2f(s, t);
}

void webVertex2f(GLfloat x, GLfloat y) {
  if (inPrimitive) primitive.push_back({currentS, currentT, x, y});
}

void webTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                   GLint border, GLenum format, GLenum type, const void* pixels) {
  glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
  if (target == GL_TEXTURE_2D && level == 0) {
    textureLevels[boundTexture] = {width, height, hasAlpha(internalFormat)};
  }
}

// WebGL shades every primitive smoothly and fills every polygon, and always interpolates with
// perspective: the game asks for flat shading of one-colour primitives, filled polygons and the
// nicest perspective, which come to the same pixels.
void webShadeModel(GLenum) {}
void webPolygonMode(GLenum, GLenum) {}
void webHint(GLenum target, GLenum mode) {
  if (target != GL_PERSPECTIVE_CORRECTION_HINT) glHint(target, mode);
}

}  // extern "C"
