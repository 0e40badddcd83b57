// The command line of the program: an optional parameter (or scene) file
// and options for running, recording and every render setting.
#pragma once

#include "gl/render_settings.h"

#include <optional>
#include <string>

namespace quillmere {

class DvDisplayManager;
class DvRenderState;

struct CommandLine {
  std::string path;             // parameter file or scene file; empty: the placeholder cube
  bool help = false;
  bool run = false;             // start the animation at once
  int frames = -1;              // animation steps to run before exiting; -1: run until closed
  std::string recordFolder;     // PNG of every animation frame, frame-00001.png, ...; or a movie file (.mp4 .mkv .webm)
  std::string screenshotPath;   // PNG of the last frame, then exit
  int width = 960, height = 600; // window size in pixels
  bool benchmark = false;       // time the drawing paths and print frames per second
  int firstFrame = 1;           // the flight's frame drawn first; earlier steps are flown without drawing
  float framesPerSecond = 0;    // movie frame rate; 0: the parameter file's
  int quality = -1;             // movie constant rate factor; -1: the codec's default
  bool headless = false;        // draw offscreen through EGL even when there is a display
  bool flightFrames = false;    // print the number of frames of the flight and exit
  // Render settings; none (or false, or 0) leaves the scene's own.
  std::optional<RenderStyle> style;
  bool spectral = false;
  std::optional<ColourShift> colourShift;
  std::optional<int> gamut;     // gamut mapping method 0..5
  int antialias = 0;            // jitter passes; 0: off
  int depthOfField = 0;         // lens passes; 0: off
  int motionBlur = 0;           // sub-frames 1..99; 0: off
  std::optional<StereoMode> stereo;
  std::optional<TransformMethod> transform;
  bool headlight = false;
  bool noOverlay = false;
  bool trace = false;
  int threads = 0;              // threads of the per-vertex work; 0: every core
  std::optional<ColourModel> colourModel; // none: cie
  std::optional<bool> whiteBalance;       // none: on
  bool exposureSet = false;     // --exposure was given
  float exposure = 0;           // EV
  bool autoExposure = false;
  std::optional<ToneMap> toneMap;         // none: filmic
  std::optional<Uplift> uplift;           // none: the colour model's default
  float subdivide = 0;          // split triangles at conversion until no edge is longer (scene units); 0: off; kAutomaticEdgeLength: auto
  float focus = 0;              // depth of field sharp at this distance (scene units); 0: the scene's centre
};

// Parses argv; false with a message naming the option and the bad value.
bool parseCommandLine(int argc, char** argv, CommandLine& line, std::string& error);

// The text of --help.
const char* commandLineHelp();

// Gives the render state and the display manager the settings the command line chose.
void applyRenderOptions(const CommandLine& line, DvRenderState& state, DvDisplayManager& manager);

} // namespace quillmere
