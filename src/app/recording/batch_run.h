// Runs without a user: --frames, --record and --screenshot. Which runs are
// batch runs, whether they fly, and where each one ends.
#pragma once

#include "app/command_line.h"

namespace quillmere {

// --frames, --record or --screenshot: no menu bar, every step one frame, no pacing.
bool isBatchRun(const CommandLine& line);

// Whether the batch run steps the flight: --frames or --record do; a
// screenshot alone is of the window as it opens, before any step.
bool batchRunFlies(const CommandLine& line);

struct BatchProgress {
  bool sceneLoaded = false;  // false: the placeholder is drawn
  int framesDrawn = 0;       // frames drawn so far, the start view included
  int stepsDone = 0;         // animation steps taken
  bool flightStopped = false; // the flight passed its end time
};

// True once the run has what it was asked for: N steps with --frames N (or
// the end time, if it comes first); the end time with --record alone; the
// first frame with --screenshot alone, or without a scene.
bool batchRunEnds(const CommandLine& line, const BatchProgress& progress);

// "frame N of M, F frames per second" on standard error: on one line
// rewritten in place on a terminal, every tenth of the run otherwise.
void reportBatchProgress(int stepsDone, int frames, double seconds);

} // namespace quillmere
