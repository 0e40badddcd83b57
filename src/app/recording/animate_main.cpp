// quillmere-animate OUT.gif FRAME.png...: joins recorded frames into an
// animated GIF (4 hundredths of a second per frame, looping), through
// MagickCore. Exit status 0 on success, 1 when a frame cannot be read or the
// GIF cannot be written, 2 for a bad command line.
#include "gl/magick_session.h"

#include <magick/MagickCore.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: quillmere-animate OUT.gif FRAME.png...\n");
    return 2;
  }
  quillmere::startMagickCore();
  ExceptionInfo* exception = AcquireExceptionInfo();
  ImageInfo* info = AcquireImageInfo();
  Image* frames = NewImageList();
  bool ok = true;
  for (int i = 2; i < argc && ok; ++i) {
    CopyMagickString(info->filename, argv[i], MaxTextExtent);
    Image* frame = ReadImage(info, exception);
    if (!frame) {
      std::fprintf(stderr, "quillmere-animate: cannot read %s\n", argv[i]);
      ok = false;
      break;
    }
    frame->delay = 4;
    frame->ticks_per_second = 100;
    AppendImageToList(&frames, frame);
  }
  if (ok && frames) {
    frames->iterations = 0; // loop for ever
    std::string target = std::string("gif:") + argv[1];
    CopyMagickString(info->filename, target.c_str(), MaxTextExtent);
    CopyMagickString(frames->filename, target.c_str(), MaxTextExtent);
    info->adjoin = MagickTrue;
    ok = WriteImages(info, frames, target.c_str(), exception) == MagickTrue;
    if (!ok) std::fprintf(stderr, "quillmere-animate: cannot write %s\n", argv[1]);
  }
  if (frames) DestroyImageList(frames);
  DestroyImageInfo(info);
  DestroyExceptionInfo(exception);
  return ok ? 0 : 1;
}
