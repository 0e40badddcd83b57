#include "app/command_line.h"

#include "colour/colour_pipeline.h"
#include "scene/display_budget.h"
#include "relativity/recorder.h"
#include "render/display_manager.h"
#include "render/jitter.h"
#include "gl/render_state.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace quillmere {

namespace {

const char* const kHelp =
    "usage: quillmere [options] [PARAMFILE]\n"
    "\n"
    "Flies an observer close to light speed through a VRML 1.0 scene and draws\n"
    "what the observer sees. PARAMFILE is a parameter file; a scene file (.wrl,\n"
    ".wrz, gzip-compressed, or starting with #VRML) or a model file (.gltf .glb\n"
    ".obj .ply .stl .dae .3ds .fbx, with glTF's quillmere extras for moving\n"
    "frames and relativistic materials) is flown from rest, seen as a VRML 1.0\n"
    "browser shows it: from its first camera, else from the +z side looking\n"
    "along -z with the whole scene in view, lit from over the observer's\n"
    "shoulder. Lights have no ambient term (ambient = 0.2 x the material's\n"
    "ambientColor); a shape without a Material takes VRML's default one;\n"
    "Separators scope materials and textures; back faces are hidden only under\n"
    "ShapeHints SOLID with a known vertexOrdering. Without a file a placeholder\n"
    "cube is shown.\n"
    "\n"
    "In the window the flight steps in real time, at the parameter file's frame\n"
    "rate; + and - double and halve the playback rate. Batch runs (--frames,\n"
    "--record, --screenshot) draw every step as one frame.\n"
    "\n"
    "Running and recording:\n"
    "  --run                  start the animation at once (otherwise it starts stopped)\n"
    "  --frames N             run N animation steps, then exit\n"
    "  --record DIR           write every animation frame as DIR/frame-00001.png, ...;\n"
    "                         without --frames until the flight's end time, then exit\n"
    "  --record FILE.mp4      record a movie instead: .mp4 and .mkv H.264 (yuv420p),\n"
    "                         .webm VP9; Ctrl+C ends it playable at the last frame\n"
    "  --fps N                frame rate of the movie (default: the parameter file's)\n"
    "  --quality N            constant rate factor of the movie, lower is better\n"
    "                         (H.264 0..51, default 23; VP9 0..63, default 31)\n"
    "  --first-frame K        with --frames N: draw only the flight's frames K..K+N-1,\n"
    "                         identical to those frames of a whole run; frame files\n"
    "                         carry their number in the flight\n"
    "  --flight-frames        print how many frames the flight has (from its time\n"
    "                         step and end time) and exit\n"
    "  --headless             draw offscreen through EGL without an X display (also\n"
    "                         chosen when DISPLAY is not set)\n"
    "  --screenshot FILE      write the last frame as a PNG file and exit; alone, the\n"
    "                         window as it opens (the flight's start, no step)\n"
    "  --size WxH             window size in pixels (default 960x600)\n"
    "  --benchmark            with --frames N: print frames per second of the OpenGL\n"
    "                         path, the spectral path with colour shift 'both', and\n"
    "                         the same frames redrawn without transforming\n"
    "\n"
    "Render settings:\n"
    "  --style S              textured | lit | wireframe | hidden-line\n"
    "  --spectral             per-vertex spectral colours instead of OpenGL lighting\n"
    "  --colour-shift C       none | searchlight | doppler | both (spectral path)\n"
    "  --gamut M              gamut mapping method 0..5 (spectral path)\n"
    "  --colour-model M       cie | system: CIE 1931 observer to sRGB with exposure and\n"
    "                         tone mapping (default), or the original table conversion\n"
    "  --white-balance W      on | off: adapt the first light's white to D65 (cie, default on)\n"
    "  --exposure EV          multiply linear colours by 2^EV before tone mapping (cie, default 0)\n"
    "  --auto-exposure        the exposure follows the frames' brightness (cie; shown as EV)\n"
    "  --tone-map T           clip | reinhard | filmic (cie, default filmic)\n"
    "  --uplift U             smooth | gaussian: spectra of RGB material colours\n"
    "                         (default smooth with cie, gaussian with system)\n"
    "  --antialias N          accumulate N jittered passes (N: 2 3 4 5 6 8 9 12 15 16 24 66)\n"
    "  --depth-of-field N     accumulate N lens passes (same counts)\n"
    "  --focus DISTANCE       depth of field sharp at DISTANCE scene units (default: the\n"
    "                         distance of the scene's centre from the start)\n"
    "  --motion-blur N        accumulate N observer sub-frames per step (1..99)\n"
    "  --stereo MODE          off | ideal | per-eye | dual | anaglyph (red left, cyan right;\n"
    "                         ideal and per-eye become anaglyph without stereo buffers)\n"
    "  --transform METHOD     light-cone | snapshot-light-cone | snapshot\n"
    "  --headlight            switch the headlights on\n"
    "  --no-overlay           hide the status bar\n"
    "  --trace                print the per-frame notices (frames of reference, eyes)\n"
    "                         and the start view of a scene file\n"
    "  --threads N            threads for the per-vertex work (default: every core)\n"
    "  --subdivide L          split triangles until no edge is longer than L scene units,\n"
    "                         so straight edges bend in the observer's view (default 0: off);\n"
    "                         auto: 1/64 of the radius of the scene's bounding sphere\n"
    "  --help                 this text\n";

int indexOf(const char* value, std::initializer_list<const char*> names) {
  int i = 0;
  for (const char* name : names) {
    if (std::strcmp(value, name) == 0) return i;
    ++i;
  }
  return -1;
}

// A setting named by its command-line word; false for a word of no value.
template <typename Setting, std::size_t N>
bool parseSetting(const char* value, const SettingName<Setting> (&names)[N], std::optional<Setting>& out) {
  out = settingFromWord(names, value);
  return out.has_value();
}

bool parseInteger(const char* value, int low, int high, int& out) {
  char* end = nullptr;
  long number = std::strtol(value, &end, 10);
  if (end == value || *end != '\0' || number < low || number > high) return false;
  out = int(number);
  return true;
}

bool parseLength(const char* value, float& out) {
  char* end = nullptr;
  float number = std::strtof(value, &end);
  if (end == value || *end != '\0' || !(number >= 0.0f) || !std::isfinite(number)) return false;
  out = number;
  return true;
}

// An exposure in EV, finite and within ±64.
bool parseExposure(const char* value, float& out) {
  char* end = nullptr;
  float number = std::strtof(value, &end);
  if (end == value || *end != '\0' || !(number >= -64.0f && number <= 64.0f)) return false;
  out = number;
  return true;
}

bool hasJitterTable(int count) {
  for (const JitterTable& table : kJitterTables)
    if (table.count == count) return true;
  return false;
}

bool parseSize(const char* value, int& width, int& height) {
  const char* x = std::strchr(value, 'x');
  if (!x) return false;
  std::string w(value, x);
  return parseInteger(w.c_str(), 16, 16384, width) && parseInteger(x + 1, 16, 16384, height);
}

// The options that take a value, each parsed below.
bool takesValue(const char* option) {
  return indexOf(option, {"--frames", "--record", "--screenshot", "--size", "--style", "--colour-shift", "--gamut",
                          "--antialias", "--depth-of-field", "--motion-blur", "--stereo", "--subdivide", "--threads",
                          "--transform", "--colour-model", "--white-balance", "--exposure", "--tone-map", "--focus",
                          "--uplift", "--first-frame", "--fps", "--quality"}) >= 0;
}

} // namespace

const char* commandLineHelp() { return kHelp; }

bool parseCommandLine(int argc, char** argv, CommandLine& line, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const char* option = argv[i];
    auto bad = [&](const char* what) {
      error = std::string(option) + ": " + what;
      return false;
    };
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) {
      line.help = true;
    } else if (std::strcmp(option, "--run") == 0) {
      line.run = true;
    } else if (std::strcmp(option, "--spectral") == 0) {
      line.spectral = true;
    } else if (std::strcmp(option, "--headlight") == 0) {
      line.headlight = true;
    } else if (std::strcmp(option, "--no-overlay") == 0) {
      line.noOverlay = true;
    } else if (std::strcmp(option, "--trace") == 0) {
      line.trace = true;
    } else if (std::strcmp(option, "--auto-exposure") == 0) {
      line.autoExposure = true;
    } else if (std::strcmp(option, "--benchmark") == 0) {
      line.benchmark = true;
    } else if (std::strcmp(option, "--headless") == 0) {
      line.headless = true;
    } else if (std::strcmp(option, "--flight-frames") == 0) {
      line.flightFrames = true;
    } else if (option[0] == '-' && option[1] == '-') {
      if (!takesValue(option)) {
        error = std::string("unknown option ") + option;
        return false;
      }
      const char* v = value();
      if (!v) return bad("needs a value");
      bool ok = true;
      if (std::strcmp(option, "--frames") == 0) ok = parseInteger(v, 1, 100000000, line.frames);
      else if (std::strcmp(option, "--record") == 0) line.recordFolder = v;
      else if (std::strcmp(option, "--screenshot") == 0) line.screenshotPath = v;
      else if (std::strcmp(option, "--size") == 0) ok = parseSize(v, line.width, line.height);
      else if (std::strcmp(option, "--style") == 0) ok = parseSetting(v, kRenderStyleNames, line.style);
      else if (std::strcmp(option, "--colour-shift") == 0) ok = parseSetting(v, kColourShiftNames, line.colourShift);
      else if (std::strcmp(option, "--gamut") == 0) ok = parseInteger(v, 0, 5, line.gamut.emplace());
      else if (std::strcmp(option, "--antialias") == 0) ok = parseInteger(v, 1, 66, line.antialias) && hasJitterTable(line.antialias);
      else if (std::strcmp(option, "--depth-of-field") == 0) ok = parseInteger(v, 1, 66, line.depthOfField) && hasJitterTable(line.depthOfField);
      else if (std::strcmp(option, "--motion-blur") == 0) ok = parseInteger(v, 1, RelRecorder::kMaxSubFrames, line.motionBlur);
      else if (std::strcmp(option, "--subdivide") == 0 && std::strcmp(v, "auto") == 0) line.subdivide = kAutomaticEdgeLength;
      else if (std::strcmp(option, "--stereo") == 0) ok = parseSetting(v, kStereoModeNames, line.stereo);
      else if (std::strcmp(option, "--subdivide") == 0) ok = parseLength(v, line.subdivide);
      else if (std::strcmp(option, "--focus") == 0) ok = parseLength(v, line.focus) && line.focus > 0;
      else if (std::strcmp(option, "--threads") == 0) ok = parseInteger(v, 1, 256, line.threads);
      else if (std::strcmp(option, "--colour-model") == 0) ok = parseSetting(v, kColourModelNames, line.colourModel);
      else if (std::strcmp(option, "--white-balance") == 0) ok = parseSetting(v, kWhiteBalanceNames, line.whiteBalance);
      else if (std::strcmp(option, "--exposure") == 0) ok = line.exposureSet = parseExposure(v, line.exposure);
      else if (std::strcmp(option, "--tone-map") == 0) ok = parseSetting(v, kToneMapNames, line.toneMap);
      else if (std::strcmp(option, "--uplift") == 0) ok = parseSetting(v, kUpliftNames, line.uplift);
      else if (std::strcmp(option, "--first-frame") == 0) ok = parseInteger(v, 1, 100000000, line.firstFrame);
      else if (std::strcmp(option, "--fps") == 0) ok = parseLength(v, line.framesPerSecond) && line.framesPerSecond >= 0.1f && line.framesPerSecond <= 1000.0f;
      else if (std::strcmp(option, "--quality") == 0) ok = parseInteger(v, 0, 63, line.quality);
      else if (std::strcmp(option, "--transform") == 0) ok = parseSetting(v, kTransformMethodNames, line.transform);
      if (!ok) {
        error = std::string(option) + ": bad value '" + v + "'";
        return false;
      }
    } else if (option[0] == '-' && option[1] != '\0') {
      error = std::string("unknown option ") + option;
      return false;
    } else if (line.path.empty()) {
      line.path = option;
    } else {
      return bad("only one parameter file can be named");
    }
  }
  if (line.benchmark && line.frames < 1) {
    error = "--benchmark: needs --frames N";
    return false;
  }
  return true;
}

void applyRenderOptions(const CommandLine& line, DvRenderState& state, DvDisplayManager& manager) {
  if (line.style) state.renderStyle = *line.style;
  if (line.spectral) state.softwareShading = 1;
  if (line.colourShift) state.colourShift = *line.colourShift;
  if (line.antialias > 1) {
    state.antialiasing = 1;
    state.antialiasingSamples = line.antialias;
  }
  if (line.depthOfField > 1) {
    state.depthOfField = 1;
    state.depthOfFieldSamples = line.depthOfField;
  }
  if (line.motionBlur > 0) {
    state.motionBlur = 1;
    state.motionSamples = line.motionBlur;
  }
  if (line.stereo) state.stereo = *line.stereo;
  if (line.transform) state.transformMethod = *line.transform;
  if (line.headlight) state.headlightOn = 1;
  if (line.trace) state.trace = 1;
  if (line.threads > 0) state.threads = line.threads;
  if (line.focus > 0) state.focusDistance = line.focus;
  if (line.noOverlay) manager.overlayOn = 0;
  if (ColourPipeline* colour = state.colourPipeline) {
    if (line.colourModel) colour->model = *line.colourModel;
    if (line.whiteBalance) colour->whiteBalance = *line.whiteBalance;
    if (line.exposureSet) colour->exposure.fixedEv = line.exposure;
    if (line.autoExposure) colour->exposure.automatic = true;
    if (line.toneMap) colour->toneMap = *line.toneMap;
    if (line.uplift) colour->upliftChoice = *line.uplift;
  }
}

} // namespace quillmere
