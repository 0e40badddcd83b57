// Keeps the OpenGL driver loaded until the process ends, in sanitizer builds.
// Mesa unloads its driver library when the last context goes, before
// LeakSanitizer makes its report at exit; the driver's allocations for the
// life of the process then show as "<unknown module>" and cannot be told
// apart from ours. Held open, they carry the driver's name, which the leak
// suppressions name. Call it once a context has been made.
#pragma once

namespace quillmere {

#ifdef QUILLMERE_SANITIZE
void keepGLDriverLoaded(); // sanitizer_driver_pin.cpp
#else
inline void keepGLDriverLoaded() {}
#endif

} // namespace quillmere
