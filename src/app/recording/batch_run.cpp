#include "app/recording/batch_run.h"

#include <cstdio>
#include <unistd.h>

namespace quillmere {

bool isBatchRun(const CommandLine& line) {
  return line.frames > 0 || !line.recordFolder.empty() || !line.screenshotPath.empty();
}

bool batchRunFlies(const CommandLine& line) { return line.frames > 0 || !line.recordFolder.empty(); }

bool batchRunEnds(const CommandLine& line, const BatchProgress& progress) {
  if (!progress.sceneLoaded || !batchRunFlies(line)) return progress.framesDrawn >= 1;
  if (progress.flightStopped) return true;
  return line.frames > 0 && progress.stepsDone >= line.frames;
}

void reportBatchProgress(int stepsDone, int frames, double seconds) {
  double fps = seconds > 0 ? stepsDone / seconds : 0;
  if (isatty(2)) {
    std::fprintf(stderr, "\rframe %d of %d, %.1f frames per second", stepsDone, frames, fps);
  } else {
    int every = frames >= 10 ? frames / 10 : 1;
    if (stepsDone % every == 0 || stepsDone == frames)
      std::fprintf(stderr, "frame %d of %d, %.1f frames per second\n", stepsDone, frames, fps);
  }
  std::fflush(stderr);
}

} // namespace quillmere
