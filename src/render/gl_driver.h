// Keeps the OpenGL driver loaded until the process ends. Mesa unloads its
// driver library when the last context goes, before LeakSanitizer makes its
// report at exit; the driver's allocations for the life of the process then
// show as "<unknown module>" and cannot be told apart from ours. Held open,
// they carry the driver's name, which the leak suppressions name.
#pragma once

namespace quillmere {

// Does its work only in sanitizer builds; elsewhere it does nothing.
void keepGLDriverLoaded();

} // namespace quillmere
