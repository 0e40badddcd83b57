// --benchmark: the same number of frames drawn three ways in one run, so a
// relativistic frame can be quoted as a multiple of a plain one.
#include "app/window/quillmere_window.h"

#include <GL/gl.h>

#include <chrono>
#include <cstdio>

namespace quillmere {

int QuillmereWindow::runBenchmark() {
  DvRenderState& state = *scene_->renderState;
  DvDisplayManager& manager = *scene_->displayManager;
  const int frames = line_.frames;
  auto framesPerSecond = [&](bool transform) {
    glFinish();
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
      if (transform) manager.advanceTime();
      setSceneViewport();
      viewer_->display();
    }
    glFinish();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return seconds > 0 ? frames / seconds : 0.0;
  };

  const int spectral = state.softwareShading, shift = state.colourShift;
  state.softwareShading = 0;
  // Untimed frames first: the OpenGL implementation compiles its pipelines
  // and the caches fill, so the first timed path is not penalised.
  for (int i = 0; i < 5; ++i) viewer_->display();
  double openGL = framesPerSecond(true);
  state.softwareShading = 1;
  state.colourShift = DvRenderState::DopplerAndSearchlight;
  double spectralPath = framesPerSecond(true);
  state.softwareShading = 0;
  state.colourShift = shift;
  double redrawn = framesPerSecond(false); // the scene as the last step transformed it
  state.softwareShading = spectral;

  std::printf("frames: %d, window %dx%d\n", frames, width_, height_);
  std::printf("OpenGL path:                      %8.1f frames per second\n", openGL);
  std::printf("spectral path, colour shift both: %8.1f frames per second\n", spectralPath);
  std::printf("redrawn without transforming:     %8.1f frames per second\n", redrawn);
  if (openGL > 0) std::printf("a relativistic frame takes %.2f times a plain frame\n", redrawn / openGL);
  return 0;
}

} // namespace quillmere
