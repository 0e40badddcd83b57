#include "render/gl_driver.h"

#include <dlfcn.h>

#include <initializer_list>

namespace quillmere {

void keepGLDriverLoaded() {
#if defined(__SANITIZE_ADDRESS__)
  // Mesa's drivers are one library under several names; software rendering
  // (Xvfb) loads it as swrast. A name that is not there is simply skipped.
  for (const char* path : {"/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", "swrast_dri.so"})
    if (dlopen(path, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE)) return;
#endif
}

} // namespace quillmere
