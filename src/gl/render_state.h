// The render settings of a loaded scene: drawing style and path, the
// relativistic colour effects, stereo and accumulation settings, the OpenGL
// lights and the spectral lights with the colour objects the spectral path
// reads. Every display-node operation receives it; while a frame is drawn
// nothing changes it (what changes per pass is in DrawPass).
#pragma once

#include "colour/colour_pipeline.h"
#include "colour/gamut_mapping.h"
#include "colour/spectral_light.h"
#include "colour/wavelength_mapping.h"
#include "relativity/matrix.h"
#include "gl/gl_light.h"
#include "gl/render_settings.h"

#include <memory>

namespace quillmere {

class DvRenderState {
public:
  static constexpr int kGLLightSlots = 7;       // OpenGL lights 0..6; 7 is the headlight
  static constexpr int kSpectralLightSlots = 8; // slot 0 is the spectral headlight

  RenderStyle renderStyle = RenderStyle::Textured; // never Outline: only a DrawPass draws outlines
  int antialiasing = 0;           // flag: accumulate image-jittered passes
  int antialiasingSamples = 8;    // image-jitter passes
  int depthOfField = 0;           // flag: accumulate eye-jittered passes
  int depthOfFieldSamples = 8;    // eye-jitter passes
  int motionBlur = 0;             // flag: one pass per recorded observer sub-frame
  int motionSamples = 8;          // sub-frames recorded per time step (also without motion blur)
  float motionInterval = 0.01f;   // proper time covered by one step's sub-frames
  int softwareShading = 0;        // flag: draw through renderSoftware with per-vertex spectral colours
  ColourShift colourShift = ColourShift::None; // of the spectral path
  int cullBackFaces = 1;          // flag: cull back faces and light one side; 0: two-sided
  int clockwiseFrontFaces = 0;    // flag: front faces wind clockwise (only without culling)
  float lodScale = 0.0f;          // factor on the apparent distance when an LOD chooses its level
  int transformNormals = 1;       // flag: the vertex transform also carries the normals
  int doubleBuffer = 1;           // flag: draw into the back buffer, which the window swaps; 0: the front buffer
  float focusDistance = 10.0f;    // plane in focus, and the stereo convergence distance (scene units)
  float aperture = 0.33f;         // scale of the eye jitter for depth of field
  StereoMode stereo = StereoMode::Off; // one view, or how a stereo pair is drawn
  float eyeSeparation = 1.0f;     // distance between the eyes (scene units)
  DvGLLight headlight;            // OpenGL light 7, along the view axis
  int headlightOn = 1;            // flag
  const GamutMapping* gamutMapping = nullptr;       // clips spectral colours; not owned
  ColourPipeline* colourPipeline = nullptr;         // colour model, exposure, uplift; null: system model; not owned
  const WavelengthMapping* wavelengthRange = nullptr; // Doppler switch and searchlight law; not owned
  int textureObjects = 1;         // flag: textures bound as OpenGL texture objects
  int buildMipmaps = 1;           // flag: textures uploaded with mipmaps
  TransformMethod transformMethod = TransformMethod::LightCone;
  int snapshotPerUpdate = 0;      // flag: the observer's snapshot before each scene update
  int vertexArrays = 1;           // flag: face sets draw styles 0 and 1 from vertex arrays; 0: one call per vertex
  int trace = 0;                  // flag: per-frame diagnostic dumps (frames of reference, eyes)
  int threads = 0;                // threads for the per-vertex loops of large sets; 0: all cores

  DvRenderState();

  // Slot i in 0..6 takes ownership of the light; other indices drop it and
  // leave the slots unchanged.
  void setGLLight(int index, std::unique_ptr<DvGLLight> light);
  const DvGLLight* getGLLight(int index) const;
  // Applies the light of each occupied slot i to OpenGL light i.
  void applyGLLights() const;
  // OpenGL light 7: the headlight while headlightOn, disabled otherwise.
  void applyHeadlight() const;
  // headlightOn := 0, and the spectral headlight (if any) is switched off.
  void switchOffHeadlights();

  // Spectral lights are not owned. The headlight goes to slot 0, the others
  // to slots 1..7; other indices are ignored.
  void setSpectralHeadlight(SpectralLight* light) { spectralLights_.set(0, light); }
  void setSpectralLight(int index, SpectralLight* light);
  SpectralLight* getSpectralLight(int index) const { return spectralLights_.get(index); }
  const LightList& spectralLights() const { return spectralLights_; }

  // Points the spectral headlight (if any) along M·(0, 0, 1), normalised; the
  // display manager passes the inverse modelview matrix, so the light comes
  // from the eye.
  void aimSpectralHeadlight(const Matrix4& inverseModelview);

private:
  std::unique_ptr<DvGLLight> glLights_[kGLLightSlots]; // OpenGL lights 0..6, owned
  LightList spectralLights_;                            // references, slot 0 the headlight
};

} // namespace quillmere
