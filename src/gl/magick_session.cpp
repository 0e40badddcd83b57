#include "gl/magick_session.h"

#include <magick/MagickCore.h>

namespace quillmere {

namespace {

class MagickSession {
public:
  MagickSession() {
    MagickCoreGenesis(nullptr, MagickFalse);
    SetMagickResourceLimit(ThreadResource, 1);
  }
  ~MagickSession() { MagickCoreTerminus(); }
  MagickSession(const MagickSession&) = delete;
  MagickSession& operator=(const MagickSession&) = delete;
};

} // namespace

void startMagickCore() { static MagickSession session; }

} // namespace quillmere
