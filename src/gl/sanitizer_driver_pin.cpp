// Compiled into sanitizer builds only (QUILLMERE_SANITIZE).
#include "gl/gl_driver.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>

namespace quillmere {

namespace {

// Mesa's drivers are the loaded objects named `<name>_dri.so`, wherever
// Mesa found them; each is held where the loader has it.
int pinDriver(struct dl_phdr_info* info, size_t, void*) {
  const char* name = info->dlpi_name;
  const std::size_t length = name ? std::strlen(name) : 0;
  if (length > 7 && std::strcmp(name + length - 7, "_dri.so") == 0)
    dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE); // already loaded: only pinned
  return 0;
}

} // namespace

void keepGLDriverLoaded() { dl_iterate_phdr(pinDriver, nullptr); }

} // namespace quillmere
