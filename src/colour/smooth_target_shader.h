// The per-vertex colour of the spectral path for a shape whose vertices
// carry RGB colours of their own (per-face and per-vertex materials) under
// the smooth uplift: each vertex's ambient and diffuse reflectances are
// sigmoid spectra given by their coefficients (ColourPipeline::
// smoothCoefficients, fitted once per colour, not per draw). Same lights and
// conditions as SpectralShader; the reflectances are evaluated per vertex at
// the emitted wavelengths, the lights once per draw without the Doppler
// shift and once per vertex with it.
#pragma once

#include "colour/spectral_shader.h"
#include "relativity/matrix.h"

#include <vector>

namespace quillmere {

class SmoothTargetShader {
public:
  // The ambient light is light 0 of the list. `doppler` null: the Doppler
  // switch is off. The sampling, the lights and their spectra and the
  // mapping must outlive the shader unchanged.
  SmoothTargetShader(const SpectralSampling& sampling, const LightList* lights, const WavelengthMapping* doppler);

  // Without the Doppler shift, a light with the reference light's spectrum
  // shows each fitted reflectance in its target colour (what the fit
  // solved for) times I/I_ref, carried into the drawing's RGB by
  // `balancedToDrawing`: no spectrum is evaluated for it per vertex.
  void setReference(const Spectrum* spectrum, float intensity, const Matrix3& balancedToDrawing);

  // RGB of the vertex before the searchlight factor, for reflectances with
  // the sigmoid coefficients given (stored scale 0.01) fitted to the linear
  // targets given. Allocates nothing.
  Vector3 colourOf(const VertexRay& vertex, float dopplerFactor, const Vector3& ambientCoefficients,
                   const Vector3& diffuseCoefficients, const Vector3& ambientTarget = Vector3(),
                   const Vector3& diffuseTarget = Vector3()) const;

private:
  static constexpr int kMax = SpectralSampling::kMaxSamples;

  struct LightTerm {
    const SpectralLight* light;
    float intensity;        // I_j, multiplied by the cosine per vertex
    float restValues[kMax]; // Doppler off: L_j at the observed wavelengths
    float referenceScale;   // Doppler off, reference spectrum: I_j/I_ref; otherwise 0
  };

  const SpectralSampling* sampling_;
  const WavelengthMapping* doppler_;
  const Spectrum* ambientLight_ = nullptr; // L_a, with ambientIntensity_ ≠ 0 only
  float ambientIntensity_ = 0.0f;          // I_a
  float ambientRest_[kMax] = {};           // Doppler off: L_a at the observed wavelengths
  float ambientReferenceScale_ = 0.0f;     // like LightTerm::referenceScale, for the ambient light
  Matrix3 balancedToDrawing_;              // the targets' RGB to the drawing's
  std::vector<LightTerm> lights_;          // present, on, with a spectrum and I ≠ 0
};

} // namespace quillmere
