// Compiled into sanitizer builds only (QUILLMERE_SANITIZE).
#include "gl/gl_driver.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <dlfcn.h>

namespace quillmere {

namespace {

// The soname of Mesa's driver library: every `<name>_dri.so` Mesa loads
// (swrast and llvmpipe under Xvfb, the hardware drivers) is this one library.
constexpr const char* kDriverSoname = "libgallium_dri.so";

} // namespace

void keepGLDriverLoaded() {
  static bool done = false;
  if (done) return;
  done = true;
  // Only Mesa knows where its drivers live. A display of our own, with no
  // window system, has it load the driver now; the driver is then held by
  // its soname, and a window or context made later finds it loaded.
  auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!getPlatformDisplay) return;
  EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) return;
  dlopen(kDriverSoname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE); // a driver of another name stays as it was
  eglTerminate(display);
}

} // namespace quillmere
