#include "app/recording/batch_run.h"

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

} // namespace quillmere
