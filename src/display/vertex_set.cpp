#include "display/vertex_set.h"

#include "colour/colour_pipeline.h"
#include "colour/rgb_spectrum.h"
#include "colour/rgb_target_shader.h"
#include "colour/smooth_target_shader.h"
#include "colour/spectral_shader.h"
#include "support/worker_pool.h"
#include "relativity/lorentz.h"
#include "relativity/lorentz_block.h"
#include "gl/draw_pass.h"
#include "gl/render_state.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace quillmere {

namespace {

constexpr int kObservedSamples = kObservedSampleCount;
constexpr float kVisibleFromNm = kObservedFromNm;
constexpr float kVisibleToNm = kObservedToNm;

// The transform the render state's method asks for: the light cone of the
// frame in force, the snapshot transform followed by the light cone, or the
// snapshot transform alone. Every method writes positions relative to the
// observer's eye.
inline void transformOne(TransformMethod method, const MovingFrameState& frame, const RelObserver& observer,
                         const DvVertex& source, bool withNormals, DvVertex& target) {
  switch (method) {
  case TransformMethod::LightCone:
    lightConeTransform(frame, source.position, source.normal, withNormals, target.position, target.normal);
    break;
  case TransformMethod::SnapshotThenLightCone: {
    Vector3 position, normal = source.normal;
    snapshotTransform(observer, source.position, source.normal, withNormals, position, normal);
    lightConeTransform(frame, position, normal, withNormals, target.position, target.normal);
    break;
  }
  case TransformMethod::Snapshot:
    // The snapshot gives world coordinates; the drawing takes positions
    // relative to the eye, as the light cone gives them.
    snapshotTransform(observer, source.position, source.normal, withNormals, target.position, target.normal);
    target.position = target.position - observer.eyeEvent().spatial();
  }
}

// Sets with fewer vertices run on the calling thread alone: waking the other
// threads would cost more than their share of the work.
constexpr std::size_t kParallelVertices = 4096;

// The per-vertex loops split a set into runs of this many vertices (a whole
// number of transform blocks). The split does not depend on the number of
// threads, and no value is summed across vertices, so every thread count
// writes the same bits.
constexpr std::size_t kVerticesPerRun = 16 * std::size_t(kLightConeBlock);

// One transform of a whole set, cut into runs for the threads.
struct TransformJob {
  TransformMethod method;
  const MovingFrameState* frame;
  const RelObserver* observer;
  const DvVertex* source;
  DvVertex* target;
  float* doppler; // null: no Doppler factors
  std::size_t count;
  bool withNormals;
};

// One run of vertices: the light cone through the block transform, the
// snapshot methods one vertex at a time; and the Doppler factors of the
// source positions when the job asks for them.
void transformRun(void* context, long run) {
  const TransformJob& job = *static_cast<const TransformJob*>(context);
  const std::size_t first = std::size_t(run) * kVerticesPerRun;
  const int count = int(std::min(kVerticesPerRun, job.count - first));
  const DvVertex* source = job.source + first;
  DvVertex* target = job.target + first;
  float* doppler = job.doppler ? job.doppler + first : nullptr;
  if (job.method == TransformMethod::LightCone) {
    lightConeTransformVertices(*job.frame, source, target, count, job.withNormals, doppler);
    return;
  }
  for (int i = 0; i < count; ++i)
    transformOne(job.method, *job.frame, *job.observer, source[i], job.withNormals, target[i]);
  if (doppler)
    for (int i = 0; i < count; ++i) doppler[i] = quillmere::dopplerFactor(*job.frame, source[i].position);
}

// One draw's spectral colours over a run of vertices: by the shape's
// spectral material, or aimed at each vertex's own material.
struct ColourJob {
  const SpectralShader* shader;
  const RgbTargetShader* targetShader;     // with `materials` instead of `shader`
  const SmoothTargetShader* smoothShader;  // with `uplifted` instead of `shader`
  const VertexMaterial* materials;         // per vertex
  const Vector3* uplifted;                 // per vertex: see upliftedVertexMaterials
  ColourPipeline* pipeline;                // the cie model's tail and meter; null: the system model
  const WavelengthMapping* mapping;
  const GamutMapping* gamut;
  const DvVertex* array;   // the eye's transformed vertices
  const float* doppler;    // per vertex
  Vector3* colours;        // per vertex, written
  std::size_t count;
  bool dopplerShift;       // shift the spectra by D
  bool searchlight;        // brighten by D⁵
  bool twoSided;           // shade the side that faces the observer
};

// Colours cost far more per vertex than the transform: worth sharing sooner.
constexpr std::size_t kParallelColours = 1024;

void colourRun(void* context, long run) {
  const ColourJob& job = *static_cast<const ColourJob*>(context);
  const std::size_t begin = std::size_t(run) * kVerticesPerRun;
  const std::size_t end = std::min(job.count, begin + kVerticesPerRun);
  const bool metering = job.pipeline && job.pipeline->exposure.automatic;
  LuminanceHistogram histogram;
  for (std::size_t i = begin; i < end; ++i) {
    const DvVertex& v = job.array[i];
    float length = v.normal.length();
    // The array's positions are relative to the observer: a normal along
    // the position points away from it, and the observer sees the back.
    if (job.twoSided && dot(v.normal, v.position) > 0.0f) length = -length;
    VertexRay ray{v.position, length != 0.0f ? (1.0f / length) * v.normal : v.normal};
    float d = job.doppler[i];
    const float shift = job.dopplerShift ? d : 1.0f;
    Vector3 rgb;
    if (job.smoothShader)
      rgb = job.smoothShader->colourOf(ray, shift, job.uplifted[4 * i], job.uplifted[4 * i + 1],
                                       job.uplifted[4 * i + 2], job.uplifted[4 * i + 3]);
    else if (job.targetShader && job.uplifted)
      rgb = job.targetShader->colourOf(ray, shift, job.uplifted[4 * i + 2], job.uplifted[4 * i + 3]);
    else if (job.targetShader)
      rgb = job.targetShader->colourOf(ray, shift, job.materials[i].ambient, job.materials[i].diffuse);
    else
      rgb = job.shader->colourOf(ray, shift);
    if (job.searchlight) rgb = job.mapping->searchlightFactor(d) * rgb;
    if (!job.pipeline) {
      job.colours[i] = job.gamut->clip(rgb);
      continue;
    }
    if (metering) histogram.add(rgb);
    job.colours[i] = job.pipeline->toDisplay(rgb, *job.gamut);
  }
  if (metering) job.pipeline->exposure.record(histogram);
}

} // namespace

DvVertexSet::DvVertexSet(std::vector<DvVertex> vertices, std::vector<int> indices)
    : vertices_(std::move(vertices)), indices_(std::move(indices)) {
  transformed_ = vertices_;
  doppler_.assign(vertices_.size(), 1.0f);
}

void DvVertexSet::setMaterial(std::unique_ptr<DvMaterial> material) {
  material_ = std::move(material);
  rgbMaterial_.reset(); // rebuilt from the new colours on the next spectral draw
}

void DvVertexSet::setVertexMaterials(std::vector<VertexMaterial> materials) {
  if (!materials.empty() && materials.size() != vertices_.size()) return;
  vertexMaterials_ = std::move(materials);
  materialsDifferInDiffuseOnly_ = true;
  anyVertexTransparent_ = false;
  for (const VertexMaterial& m : vertexMaterials_) {
    const VertexMaterial& first = vertexMaterials_.front();
    if (!(m.ambient == first.ambient && m.specular == first.specular && m.emissive == first.emissive))
      materialsDifferInDiffuseOnly_ = false;
    if (m.transparency > 0.001f) anyVertexTransparent_ = true;
  }
}

void DvVertexSet::setTransformation(const Matrix4& modelling) {
  for (DvVertex& v : vertices_) v.position = modelling.transformPoint(v.position);
  sourceChanged();
}

void DvVertexSet::resetTransformedVertices() {
  sourceChanged();
  transformed_ = vertices_;
  if (!stereo_.empty()) stereo_ = vertices_;
}

DvVertex* DvVertexSet::eyeArray(const DvRenderState& state, const DrawPass& pass) {
  const bool secondEye = pass.secondEyeOf(state) && !stereo_.empty();
  return secondEye ? stereo_.data() : transformed_.data();
}

void DvVertexSet::beginTwoSided(const DvRenderState& state) const {
  if (!twoSided_ || !state.cullBackFaces) return;
  glDisable(GL_CULL_FACE);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
}

void DvVertexSet::endTwoSided(const DvRenderState& state) const {
  if (!twoSided_ || !state.cullBackFaces) return;
  glEnable(GL_CULL_FACE);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
}

DvVertex* DvVertexSet::transformVertices(const RelObserver& observer, const DvRenderState& state,
                                         const DrawPass& pass, FrameHolder& frameHolder, bool withNormals) {
  // The second eye's array is made the first time stereo needs it, so
  // scenes seen with one eye hold one transformed array.
  if (pass.secondEyeOf(state) && stereo_.size() != vertices_.size()) stereo_ = vertices_;
  DvVertex* target = eyeArray(state, pass);
  if (state.trace && pass.secondEyeOf(state)) std::fprintf(stderr, "transf right\n");

  // Before the first frame of reference, the shapes rest in the world.
  FrameTransformation rest;
  if (!frameHolder.frame) rest.update(observer);
  const MovingFrameState& frame = frameHolder.frame ? frameHolder.frame->state() : rest.state();

  // The spectral path's Doppler factors, from the source positions and the
  // observer as seen from the frame the vertices rest in.
  TransformJob job{state.transformMethod, &frame, &observer, vertices_.data(), target,
                   state.colourShift != ColourShift::None && state.softwareShading ? doppler_.data() : nullptr,
                   vertices_.size(),
                   withNormals};
  const long runs = long((job.count + kVerticesPerRun - 1) / kVerticesPerRun);
  runPieces(runs, job.count < kParallelVertices ? 1 : state.threads, transformRun, &job);
  gatherApparentExtent(observer, state, frame, frameHolder);
  return target;
}

void DvVertexSet::gatherApparentExtent(const RelObserver& observer, const DvRenderState& state,
                                       const MovingFrameState& frame, FrameHolder& frameHolder) const {
  if (vertices_.empty()) return;
  Vector3 min, max;
  getBoundingBox(min, max);
  // The box of the eight corners as the observer sees them (positions
  // relative to the eye): its nearest point and its farthest corner.
  Vector3 seenMin, seenMax;
  for (int corner = 0; corner < 8; ++corner) {
    DvVertex source, seen;
    source.position = Vector3(corner & 1 ? max.x : min.x, corner & 2 ? max.y : min.y, corner & 4 ? max.z : min.z);
    transformOne(state.transformMethod, frame, observer, source, false, seen);
    for (int axis = 0; axis < 3; ++axis) {
      seenMin[axis] = corner == 0 ? seen.position[axis] : std::min(seenMin[axis], seen.position[axis]);
      seenMax[axis] = corner == 0 ? seen.position[axis] : std::max(seenMax[axis], seen.position[axis]);
    }
  }
  Vector3 nearest, farthest;
  for (int axis = 0; axis < 3; ++axis) {
    nearest[axis] = std::clamp(0.0f, seenMin[axis], seenMax[axis]);
    farthest[axis] = std::max(std::fabs(seenMin[axis]), std::fabs(seenMax[axis]));
  }
  const float near = nearest.length(), far = farthest.length();
  if (!std::isfinite(near) || !std::isfinite(far)) return;
  frameHolder.nearestApparent = frameHolder.nearestApparent < 0 ? near : std::min(frameHolder.nearestApparent, near);
  frameHolder.farthestApparent = std::max(frameHolder.farthestApparent, far);
}

const RelMaterial& DvVertexSet::spectralMaterial(const ColourPipeline* pipeline) {
  const int generation = pipeline ? pipeline->upliftGeneration() : -1;
  if (relMaterial_) {
    if (generation != rgbMaterialGeneration_) aimRgbSpectra(pipeline);
    rgbMaterialGeneration_ = generation;
    return relMaterial_->record;
  }
  if (!rgbMaterial_ || generation != rgbMaterialGeneration_) {
    rgbMaterial_ = makeRgbSpectralMaterial(material_.get(), pipeline);
    rgbMaterialGeneration_ = generation;
  }
  return rgbMaterial_->record;
}

void DvVertexSet::aimRgbSpectra(const ColourPipeline* pipeline) {
  // The colours as the file gave them, remembered on the first visit.
  if (rgbTargets_.empty())
    for (const auto& owned : relMaterial_->spectra)
      if (auto* rgb = dynamic_cast<RgbSpectrum*>(owned.get())) rgbTargets_.emplace_back(rgb, rgb->target());
  const bool cie = pipeline && pipeline->cie();
  for (auto& [spectrum, displayColour] : rgbTargets_) {
    spectrum->setWidth(kRgbSpectrumWidthNm); // the system's response
    if (cie) {
      spectrum->setResponse(pipeline->gaussianResponse(kRgbSpectrumWidthNm));
      spectrum->setRGB(ColourPipeline::linearTarget(displayColour));
    } else {
      spectrum->setRGB(displayColour);
    }
  }
}

const Vector3* DvVertexSet::upliftedVertexMaterials(const ColourPipeline& pipeline) {
  if (upliftedGeneration_ == pipeline.upliftGeneration() && upliftedMaterials_.size() == 4 * vertexMaterials_.size())
    return upliftedMaterials_.data();
  upliftedMaterials_.resize(4 * vertexMaterials_.size());
  const bool smooth = pipeline.uplift() == Uplift::Smooth;
  for (std::size_t i = 0; i < vertexMaterials_.size(); ++i)
    for (std::size_t side = 0; side < 2; ++side) {
      const Vector3& colour = side == 0 ? vertexMaterials_[i].ambient : vertexMaterials_[i].diffuse;
      upliftedMaterials_[4 * i + side] = smooth ? pipeline.smoothCoefficients(colour) : Vector3();
      upliftedMaterials_[4 * i + 2 + side] = ColourPipeline::linearTarget(colour);
    }
  upliftedGeneration_ = pipeline.upliftGeneration();
  return upliftedMaterials_.data();
}

void DvVertexSet::computeSpectralColours(const DvRenderState& state, const DvVertex* array) {
  colours_.resize(vertices_.size());

  // The observed samples and their RGB weights are the same for every draw.
  static const SpectralSampling kSystemSampling(kObservedSamples, kVisibleFromNm, kVisibleToNm);
  ColourPipeline* pipeline = state.colourPipeline && state.colourPipeline->cie() ? state.colourPipeline : nullptr;
  const SpectralSampling& sampling = pipeline ? pipeline->sampling() : kSystemSampling;
  static const WavelengthMapping kStandardMapping;
  static const GamutMapping kClamp;
  const WavelengthMapping& mapping = state.wavelengthRange ? *state.wavelengthRange : kStandardMapping;
  const GamutMapping& gamut = state.gamutMapping ? *state.gamutMapping : kClamp;
  const bool doppler = state.colourShift == ColourShift::Doppler ||
                       state.colourShift == ColourShift::DopplerAndSearchlight;
  const bool searchlight = state.colourShift == ColourShift::Searchlight ||
                           state.colourShift == ColourShift::DopplerAndSearchlight;

  // A relativistic material stands for the whole shape; without one, the
  // vertices' own materials are the targets of RGB spectra. One shader per
  // draw, whichever it is.
  const LightList& lights = state.spectralLights();
  const WavelengthMapping* shift = doppler ? &mapping : nullptr;
  // The uplift of the vertices' own colours: the pipeline's (smooth, or
  // Gaussians aimed through the cie conversion), or the system's Gaussians.
  std::optional<SpectralShader> shader;
  std::optional<RgbTargetShader> targetShader;
  std::optional<SmoothTargetShader> smoothShader;
  const Vector3* uplifted = nullptr;
  const ColourPipeline* uplift = state.colourPipeline;
  if (!relMaterial_ && !vertexMaterials_.empty()) {
    if (uplift && uplift->uplift() == Uplift::Smooth) {
      uplifted = upliftedVertexMaterials(*uplift);
      smoothShader.emplace(sampling, &lights, shift);
      if (pipeline)
        smoothShader->setReference(pipeline->referenceLight(), pipeline->referenceIntensity(),
                                   pipeline->balancedToDrawing());
    } else {
      targetShader.emplace(sampling, &lights, kRgbSpectrumWidthNm, shift);
      if (pipeline) {
        targetShader->setResponse(pipeline->gaussianResponse(kRgbSpectrumWidthNm));
        uplifted = upliftedVertexMaterials(*pipeline);
      }
    }
  } else {
    shader.emplace(sampling, LightingContext{&lights, lights.get(0), &spectralMaterial(uplift)}, shift);
  }
  // The shaders are read only, and each vertex writes its own colour, so runs
  // of vertices go to every core and give the same colours on any count.
  ColourJob job{shader ? &*shader : nullptr, targetShader ? &*targetShader : nullptr,
                smoothShader ? &*smoothShader : nullptr, vertexMaterials_.data(), uplifted, pipeline, &mapping,
                &gamut, array, doppler_.data(), colours_.data(), colours_.size(), doppler, searchlight, twoSided_};
  const long runs = long((job.count + kVerticesPerRun - 1) / kVerticesPerRun);
  runPieces(runs, job.count < kParallelColours ? 1 : state.threads, colourRun, &job);
}

void DvVertexSet::countPrimitives(long& fewestVertices, long& mostVertices, long& fewestIndices,
                                  long& mostIndices) const {
  fewestVertices += vertexCount();
  mostVertices += vertexCount();
  fewestIndices += indexCount();
  mostIndices += indexCount();
}

// The source vertices move only while the scene is built, but the depth
// range asks for their box every frame: it is measured once per change.
int DvVertexSet::getBoundingBox(Vector3& min, Vector3& max) const {
  if (!sourceBoxKnown_) {
    sourceMin_ = sourceMax_ = Vector3();
    for (std::size_t i = 0; i < vertices_.size(); ++i)
      for (int axis = 0; axis < 3; ++axis) {
        float value = vertices_[i].position[axis];
        sourceMin_[axis] = i == 0 ? value : std::min(sourceMin_[axis], value);
        sourceMax_[axis] = i == 0 ? value : std::max(sourceMax_[axis], value);
      }
    sourceBoxKnown_ = true;
  }
  min = sourceMin_;
  max = sourceMax_;
  return 1;
}

} // namespace quillmere
