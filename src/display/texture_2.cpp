#include "display/texture_2.h"

#include "diagnostics/diagnostics.h"
#include "gl/picture_2d.h"
#include "gl/draw_pass.h"
#include "gl/render_state.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

namespace quillmere {

namespace {

// OpenGL's pixel format for a component count; 0 for a count it has none for.
GLenum pixelFormat(int components) {
  switch (components) {
  case 1: return GL_LUMINANCE;
  case 2: return GL_LUMINANCE_ALPHA;
  case 3: return GL_RGB;
  case 4: return GL_RGBA;
  default: return 0;
  }
}

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

// CLAMP repeats the edge texels; OpenGL's GL_CLAMP would blend in the
// border colour (black) along the image's edge.
GLint wrapMode(int wrap) { return wrap == 1 ? GL_CLAMP_TO_EDGE : GL_REPEAT; }

int nextPowerOfTwo(int n) {
  int p = 1;
  while (p < n && p < (1 << 30)) p <<= 1;
  return p;
}

// OpenGL promises at least this texture size.
constexpr GLint kSmallestMaxTextureSize = 64;

} // namespace

bool rescaledTextureSize(int w0, int h0, int components, int maxSize, int& width, int& height) {
  if (w0 <= 0 || h0 <= 0 || components <= 0) return false;
  maxSize = std::max(maxSize, 1);
  width = nextPowerOfTwo(w0);
  height = nextPowerOfTwo(h0);
  // Halving both sides together keeps the aspect until one of them is 1.
  while ((width > maxSize || height > maxSize) && (width > 1 || height > 1)) {
    width = std::max(1, width / 2);
    height = std::max(1, height / 2);
  }
  return double(width) * double(height) * double(components) <= double(DvTexture2::kMaxTextureBytes);
}

std::string resolveTextureFile(const std::string& fileName, const std::string& sceneFolder) {
  if (fileName.empty() || fileName[0] == '/' || sceneFolder.empty()) return fileName;
  std::string beside = sceneFolder + "/" + fileName;
  struct stat status;
  if (stat(beside.c_str(), &status) == 0 && S_ISREG(status.st_mode)) return beside;
  return fileName;
}

void DvTexture2::adoptImage(const unsigned char* pixels, int width0, int height0, int components, const char* what) {
  if (!pixelFormat(components)) {
    printWarning("Texture2: the %s has %d components, a texture needs 1 to 4; the node has no image\n", what,
                 components);
    return;
  }
  if (width0 <= 0 || height0 <= 0 || !pixels) {
    printWarning("Texture2: the %s has no pixels (%d x %d); the node has no image\n", what, width0, height0);
    return;
  }
  // Both sources bound their size before they allocate, so this copy is bounded too.
  source_.assign(pixels, pixels + std::size_t(width0) * std::size_t(height0) * std::size_t(components));
  sourceWidth_ = width0;
  sourceHeight_ = height0;
  components_ = components;
  hasImage_ = 1;
}

void DvTexture2::setTextureNode(const Texture2Source& source) {
  wrapS_ = source.wrapS == 1 ? 1 : 0;
  wrapT_ = source.wrapT == 1 ? 1 : 0;
  if (source.imageGiven)
    adoptImage(source.image, source.imageWidth, source.imageHeight, source.imageComponents, "inline image");
  if (!source.fileName.empty()) {
    std::fprintf(stderr, "%s\n", source.fileName.c_str());
    Picture2D picture;
    std::string path = resolveTextureFile(source.fileName, source.sceneFolder);
    // A file that cannot be read has said so; the inline image (if any) stays.
    if (picture.load(path.c_str()) && picture.getPixels())
      adoptImage(picture.getPixels(), picture.getWidth(), picture.getHeight(), picture.getComponents(), "image file");
  }
}

bool DvTexture2::rescale() {
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  int width, height;
  if (!rescaledTextureSize(sourceWidth_, sourceHeight_, components_, std::max(maxSize, kSmallestMaxTextureSize),
                           width, height)) {
    printWarning("Texture2: a %d x %d image needs more than %lld MB as a texture; the node has no image\n",
                 sourceWidth_, sourceHeight_, kMaxTextureBytes >> 20);
    return false;
  }
  if (width == sourceWidth_ && height == sourceHeight_) {
    pixels_ = std::move(source_);
  } else {
    pixels_.resize(std::size_t(width) * std::size_t(height) * std::size_t(components_));
    // Rows are packed tightly on both sides, whatever the caller's pixel store.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    GLint error = gluScaleImage(pixelFormat(components_), sourceWidth_, sourceHeight_, GL_UNSIGNED_BYTE,
                                source_.data(), width, height, GL_UNSIGNED_BYTE, pixels_.data());
    glPopClientAttrib();
    if (error != 0) {
      printWarning("Texture2: the image could not be rescaled (%s); the node has no image\n",
                   reinterpret_cast<const char*>(gluErrorString(GLenum(error))));
      pixels_ = {};
      return false;
    }
  }
  source_ = {};
  width_ = width;
  height_ = height;
  return true;
}

void DvTexture2::upload(const DvRenderState& state) const {
  GLenum format = pixelFormat(components_);
  if (!format) printFatal("Number of components does not fit in compileTexture()\n");
  if (state.buildMipmaps) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, components_, width_, height_, format, GL_UNSIGNED_BYTE, pixels_.data());
  } else {
    glTexImage2D(GL_TEXTURE_2D, 0, components_, width_, height_, 0, format, GL_UNSIGNED_BYTE, pixels_.data());
  }
}

void DvTexture2::compileTexture(DvRenderState& state) {
  if (!hasImage_ || displayList_) return;
  if (!rescale()) {
    hasImage_ = 0; // drawn like a texture whose file could not be read
    return;
  }
  displayList_ = glGenLists(1);
  if (!displayList_) printFatal("Can't allocate display list for texture in compileTexture()\n");

  // With texture objects the pixels go to the object once, outside the
  // list, and the list only binds it; without, the list holds the pixels.
  if (state.textureObjects) {
    glGenTextures(1, &textureObject_);
    glBindTexture(GL_TEXTURE_2D, textureObject_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    upload(state);
    glNewList(displayList_, GL_COMPILE_AND_EXECUTE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, textureObject_);
  } else {
    glNewList(displayList_, GL_COMPILE_AND_EXECUTE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    upload(state);
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapMode(wrapS_));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapMode(wrapT_));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, state.buildMipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glEnable(GL_TEXTURE_2D);
  // The list leaves the matrix mode at GL_TEXTURE; the display manager sets
  // the mode it needs before it loads its own matrices.
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glEndList();
}

void DvTexture2::render(const DvRenderState&, const DrawPass& pass) {
  switch (pass.style) {
  case RenderStyle::Textured:
    if (hasImage_) {
      if (!displayList_) printFatal("No compiled display list for texture in render()\n");
      glCallList(displayList_);
    } else {
      glDisable(GL_TEXTURE_2D);
    }
    break;
  case RenderStyle::Untextured:
  case RenderStyle::Wireframe:
  case RenderStyle::HiddenLine:
    glDisable(GL_TEXTURE_2D);
    break;
  default:
    break;
  }
  if (glGetError() != GL_NO_ERROR) printWarning("Error after render/texture\n");
}

void DvTextureBinding::render(const DvRenderState& state, const DrawPass& pass) {
  if (texture_ && texture_->hasImage() && texture_->getDisplayList()) {
    texture_->render(state, pass);
    return;
  }
  glDisable(GL_TEXTURE_2D);
}

} // namespace quillmere
