// quillmere [options] [PARAMFILE]: the viewer. See --help.
#include "app/command_line.h"
#include "app/recording/frame_range.h"
#include "app/window/headless_run.h"
#include "app/window/quillmere_window.h"

#include <cstdio>

int main(int argc, char** argv) {
  using namespace quillmere;
  CommandLine line;
  std::string error;
  if (!parseCommandLine(argc, argv, line, error)) {
    std::fprintf(stderr, "quillmere: %s\n%s", error.c_str(), commandLineHelp());
    return 2;
  }
  if (line.help) {
    std::fputs(commandLineHelp(), stdout);
    return 0;
  }
  if (line.flightFrames) {
    int frames = flightFrameCount(line.path);
    if (frames < 0) {
      std::fprintf(stderr, "quillmere: %s: no frame count: the file cannot be read, or its time step never reaches the end time\n", line.path.c_str());
      return 1;
    }
    std::printf("%d\n", frames);
    return 0;
  }
  if (wantsHeadless(line)) {
    HeadlessRun headless(line);
    return headless.run();
  }
  // GLUT reads its own X options (-display, -geometry) and leaves the rest.
  int glutArgc = 1;
  char* glutArgv[] = {argv[0], nullptr};
  QuillmereWindow window(line);
  return window.run(glutArgc, glutArgv);
}
