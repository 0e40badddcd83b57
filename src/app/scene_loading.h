// Turns a parameter file (or a scene file flown with the default flight)
// into a running scene: reads the scene, converts it into display nodes
// under the scene root, and builds the observer, the render state with its
// lights and colour objects, the status overlay, the display manager and the
// viewer. Runs with the window's OpenGL context current.
#pragma once

#include "app/parameters.h"
#include "app/viewer/flight_controller.h"
#include "colour/colour_pipeline.h"
#include "colour/gamut_mapping.h"
#include "colour/planck_spectrum.h"
#include "colour/spectral_light.h"
#include "colour/wavelength_mapping.h"
#include "display/group.h"
#include "relativity/observer.h"
#include "render/display_manager.h"
#include "gl/render_state.h"
#include "render/status_overlay.h"

#include <memory>
#include <string>

namespace quillmere {

// Everything one load builds; it owns all of it.
struct LoadedScene {
  float maxEdgeLength = 0;                   // set before loading: triangles split until no edge is longer; 0: off; kAutomaticEdgeLength: 1/64 of the scene's radius
  bool trace = false;                        // set before loading: print the start view of a scene file
  Parameters parameters;
  std::string scenePath;                     // the scene file as opened
  std::string error;                         // why the load failed, for an error box (when known)
  std::unique_ptr<DvGroup> root = std::make_unique<DvGroup>();
  std::unique_ptr<RelObserver> observer;
  std::unique_ptr<DvRenderState> renderState;
  PlanckSpectrum sunlight;                   // 5762 K, both spectral lights
  SpectralLight spectralHeadlight, spectralLight;
  GamutMapping gamutMapping;                 // method 0
  ColourPipeline colourPipeline;             // cie model; the first scene light (spectralLight) is its white
  WavelengthMapping wavelengthRange;
  StatusOverlay overlay;
  std::unique_ptr<DvDisplayManager> displayManager;
  std::unique_ptr<FlightController> viewer;
};

enum class LoadResult {
  Loaded,
  BadParameters,    // the parameter file's message: which file, line and field
  CannotOpen,       // "Can't open file" with the path tried and the system's reason, on standard error
  ReadBad,          // the reader's message, then "Read was bad"
  NoNodes,          // "FILE: no nodes": the file holds comments at most
  ConversionFailed, // the conversion's message
};

// True when `path` names a scene file rather than a parameter file: it ends
// in ".wrl", ".wrz" or ".wrl.gz", it is gzip-compressed, or its first bytes
// are "#VRML"; or it is a model file (.gltf, .glb, .obj, .ply, .stl, .dae,
// .3ds, .fbx), read through the model importer.
bool isSceneFile(const std::string& path);

// A relative scene path is looked up beside the parameter file first, then
// in the current directory; returns the path to open (the one beside the
// parameter file when neither exists).
std::string resolveScenePath(const std::string& scenePath, const std::string& parameterPath);

// Loads `path`: a parameter file, or a scene file flown with the default
// parameters from rest, from the file's first camera or else from VRML's
// default view (the +z side, looking along −z, the bounding sphere framed),
// with the lights turned with the view. Depth of field is focused at the
// scene's centre. The viewer starts stopped.
LoadResult loadScene(const std::string& path, LoadedScene& scene);

} // namespace quillmere
