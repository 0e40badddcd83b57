#define GL_GLEXT_PROTOTYPES 1
#include "gl/offscreen_framebuffer.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdio>

namespace quillmere {

namespace {

GLuint makeTexture(GLint internalFormat, GLenum type, int width, int height) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, GL_RGBA, type, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  return texture;
}

bool complete(const char* what, std::string& error) {
  GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
  if (status == GL_FRAMEBUFFER_COMPLETE) return true;
  char code[16];
  std::snprintf(code, sizeof code, "0x%04x", status);
  error = std::string(what) + " framebuffer incomplete (status " + code + ")";
  return false;
}

} // namespace

OffscreenFramebuffer::~OffscreenFramebuffer() {
  if (framebuffer_) glDeleteFramebuffers(1, &framebuffer_);
  if (sumFramebuffer_) glDeleteFramebuffers(1, &sumFramebuffer_);
  if (depthStencil_) glDeleteRenderbuffers(1, &depthStencil_);
  if (colour_) glDeleteTextures(1, &colour_);
  if (sum_) glDeleteTextures(1, &sum_);
}

bool OffscreenFramebuffer::create(int width, int height, std::string& error) {
  width_ = width;
  height_ = height;
  // sRGB-encoded, as Mesa makes a window's colour buffer: drawing writes the
  // values as they come (GL_FRAMEBUFFER_SRGB stays off), but accumulation
  // passes are summed in linear light and encoded again on the way back, as
  // the window's accumulation buffer does.
  colour_ = makeTexture(GL_SRGB8_ALPHA8, GL_UNSIGNED_BYTE, width, height);
  glGenRenderbuffers(1, &depthStencil_);
  glBindRenderbuffer(GL_RENDERBUFFER, depthStencil_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  glGenFramebuffers(1, &framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour_, 0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil_);
  if (!complete("the picture's", error)) return false;
  glDrawBuffer(GL_COLOR_ATTACHMENT0);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  // Mesa keeps a window's picture top row first and rasterises it so; an
  // edge that passes exactly through pixel centres (accumulation jitter puts
  // many there) then falls to the same side only when the framebuffer
  // object is laid out the same way. Rows are read back top first.
  glClipControl(GL_UPPER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
  if (glGetError() != GL_NO_ERROR) {
    error = "the driver has no clip control (OpenGL 4.5 or ARB_clip_control)";
    return false;
  }
  return true;
}

bool OffscreenFramebuffer::createSum(std::string& error) {
  sum_ = makeTexture(GL_RGBA32F, GL_FLOAT, width_, height_);
  glGenFramebuffers(1, &sumFramebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, sumFramebuffer_);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, sum_, 0);
  bool ok = complete("the accumulation", error);
  bind();
  return ok;
}

void OffscreenFramebuffer::bind() const { glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_); }

void OffscreenFramebuffer::readBottomRowFirst(std::vector<std::uint8_t>& rgb) const {
  rgb.resize(std::size_t(width_) * std::size_t(height_) * 3);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  // Stored top row first (see create): swap the rows end for end.
  const std::size_t row = std::size_t(width_) * 3;
  for (int top = 0, bottom = height_ - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(rgb.begin() + long(row * std::size_t(top)), rgb.begin() + long(row * std::size_t(top + 1)),
                     rgb.begin() + long(row * std::size_t(bottom)));
}

void OffscreenFramebuffer::clear() {
  if (!sumFramebuffer_) {
    std::string error;
    if (!createSum(error)) std::fprintf(stderr, "Accumulation: %s\n", error.c_str());
  }
  glBindFramebuffer(GL_FRAMEBUFFER, sumFramebuffer_);
  glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glPopAttrib();
  bind();
}

void OffscreenFramebuffer::add(float weight) {
  glBindFramebuffer(GL_FRAMEBUFFER, sumFramebuffer_);
  drawTexture(colour_, weight, true);
  bind();
}

void OffscreenFramebuffer::writeBack() { drawTexture(sum_, 1.0f, false); }

void OffscreenFramebuffer::drawTexture(unsigned texture, float weight, bool additive) const {
  // Leave the scene's state as it was: attributes, matrices, program, texture unit.
  GLint program = 0, unit = 0;
  glGetIntegerv(GL_CURRENT_PROGRAM, &program);
  glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
  glUseProgram(0);
  glActiveTexture(GL_TEXTURE0);
  GLint clipOrigin = GL_LOWER_LEFT, clipDepth = GL_NEGATIVE_ONE_TO_ONE;
  glGetIntegerv(GL_CLIP_ORIGIN, &clipOrigin);
  glGetIntegerv(GL_CLIP_DEPTH_MODE, &clipDepth);
  glClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE); // texel row k onto pixel row k
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW, GL_TEXTURE}) {
    glMatrixMode(mode);
    glPushMatrix();
    glLoadIdentity();
  }

  glViewport(0, 0, width_, height_);
  for (GLenum capability : {GL_LIGHTING, GL_DEPTH_TEST, GL_STENCIL_TEST, GL_CULL_FACE, GL_FOG, GL_ALPHA_TEST,
                            GL_SCISSOR_TEST, GL_COLOR_LOGIC_OP, GL_TEXTURE_1D, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T,
                            GL_COLOR_MATERIAL, GL_DITHER})
    glDisable(capability);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  if (additive) {
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_ONE, GL_ONE);
  } else {
    glDisable(GL_BLEND);
    glEnable(GL_FRAMEBUFFER_SRGB); // the linear sum encoded into the sRGB picture
  }
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glColor4f(weight, weight, weight, weight);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(-1, -1);
  glTexCoord2f(1, 0);
  glVertex2f(1, -1);
  glTexCoord2f(1, 1);
  glVertex2f(1, 1);
  glTexCoord2f(0, 1);
  glVertex2f(-1, 1);
  glEnd();

  for (GLenum mode : {GL_TEXTURE, GL_MODELVIEW, GL_PROJECTION}) {
    glMatrixMode(mode);
    glPopMatrix();
  }
  glPopAttrib(); // restores the matrix mode too
  glActiveTexture(GLenum(unit));
  glUseProgram(GLuint(program));
  glClipControl(GLenum(clipOrigin), GLenum(clipDepth));
}

} // namespace quillmere
