#include "app/recording/frame_range.h"

#include "app/command_line.h"
#include "app/parameters.h"
#include "app/recording/frame_recording.h"
#include "app/scene_loading.h"
#include "app/viewer/flight_controller.h"

#include <cstdio>

namespace quillmere {

namespace {

constexpr int kMostFrames = 100000000; // as many as --frames accepts

} // namespace

int flightFrameCount(const Parameters& parameters) {
  if (!(parameters.timeStep > 0.0f)) return -1;
  float time = parameters.startTime; // DvDisplayManager::time
  for (int frame = 1; frame <= kMostFrames; ++frame) {
    time += parameters.timeStep;
    if (!(time <= parameters.endTime)) return frame;
  }
  return -1;
}

int flightFrameCount(const std::string& path) {
  Parameters parameters;
  if (!path.empty() && !isSceneFile(path) && !readParameterFile(parameters, path)) return -1;
  return flightFrameCount(parameters);
}

bool stepToFrame(FlightController& viewer, int firstFrame, std::string& error) {
  for (int frame = 1; frame < firstFrame; ++frame) {
    viewer.skipStep();
    if (viewer.stopped()) {
      error = "--first-frame " + std::to_string(firstFrame) + ": the flight ends at frame " + std::to_string(frame);
      return false;
    }
  }
  return true;
}

bool startFrameRange(FrameRecording& recording, FlightController* controller, const CommandLine& line,
                     float frameRate, int width, int height) {
  if (controller && line.firstFrame > 1) {
    std::string error;
    if (!stepToFrame(*controller, line.firstFrame, error)) {
      std::fprintf(stderr, "quillmere: %s\n", error.c_str());
      return false;
    }
  }
  return recording.open(line.recordFolder, movieSettingsFor(line, frameRate, width, height));
}

} // namespace quillmere
