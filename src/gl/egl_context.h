// An OpenGL context without a window or an X server: EGL on Mesa's
// surfaceless platform (EGL_MESA_platform_surfaceless), compatibility
// profile, current with no surface. Draw into framebuffer objects.
#pragma once

#include <string>

namespace quillmere {

class EglContext {
public:
  EglContext() = default;
  ~EglContext();
  EglContext(const EglContext&) = delete;
  EglContext& operator=(const EglContext&) = delete;

  // Opens the display, creates the context and makes it current. False,
  // with the reason in `error`, when this machine's EGL cannot.
  bool create(std::string& error);

private:
  void* display_ = nullptr; // EGLDisplay
  void* context_ = nullptr; // EGLContext
};

} // namespace quillmere
