// MagickCore, set up once for the whole process: textures are decoded and
// frames written through it. Every user calls startMagickCore() before its
// first MagickCore call.
#pragma once

namespace quillmere {

// Sets MagickCore up on the first call, and tears it down once at exit. It
// runs on the calling thread alone (no OpenMP team) and installs no signal
// handlers: a crash stays ours to report. Later calls do nothing.
void startMagickCore();

} // namespace quillmere
