#include "app/scene_loading.h"

#include "app/file_access.h"
#include "diagnostics/diagnostics.h"
#include "display/display_budget.h"
#include "display/scene_conversion.h"
#include "scene/model_import.h"
#include "vrml/file_paths.h"
#include "vrml/input_file.h"
#include "vrml/node.h"
#include "vrml/scene_file_stream.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace quillmere {

namespace {

constexpr float kSunTemperatureK = 5762.0f;

bool fileExists(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file) std::fclose(file);
  return file != nullptr;
}

// The default flight for a scene file: at rest, looking along +z at the
// centre of the scene's box from far enough on its −z side that the whole
// box fits into the 60° view. The default light (1, 1, 0) grazes every face
// that looks at such an observer, so the first light comes from over its
// right shoulder (the spectral path's light too) and the default second.
void placeObserverBeforeScene(const DvGroup& root, Parameters& parameters) {
  parameters.lightCount = 2;
  parameters.lightDirections[1] = parameters.lightDirections[0];
  parameters.lightDirections[0] = Vector3(-0.5f, 0.7f, -1.0f);
  Vector3 min, max;
  if (!root.getBoundingBox(min, max)) return;
  Vector3 centre = 0.5f * (min + max);
  float halfExtent = 0.5f * std::max(max.x - min.x, max.y - min.y);
  float distance = std::max(1.0f, 1.2f * halfExtent / std::tan(30.0f * 3.14159265f / 180.0f));
  parameters.startPosition = Vector3(centre.x, centre.y, min.z - distance);
  parameters.flightDirection = Vector3(0, 0, 1);
  parameters.startSpeed = 0.0f;
}

bool readSceneFile(const std::string& path, QvNodeHandle& root) {
  QvScene::init();
  return QvScene::readFile(path, root);
}

void setUpRenderState(LoadedScene& scene) {
  const Parameters& p = scene.parameters;
  scene.renderState = std::make_unique<DvRenderState>();
  DvRenderState& state = *scene.renderState;
  state.transformNormals = p.transformNormals;
  state.lodScale = p.lodScale;
  state.focusDistance = 3.0e8f;
  state.aperture = 0.33f;
  state.motionInterval = 0.8f * p.timeStep;
  state.eyeSeparation = 4.0f;
  for (int i = 0; i < p.lightCount && i < kMaxParameterLights; ++i) {
    auto light = std::make_unique<DvGLLight>();
    const Vector3& d = p.lightDirections[std::size_t(i)];
    light->setDirection(d.x, d.y, d.z);
    state.setGLLight(i, std::move(light)); // slots above 6 drop the light
  }

  // Spectral lighting: a sun-like black body as the headlight and as the
  // light along the first light direction.
  scene.sunlight.setStrength(1.0f);
  scene.sunlight.setTemperature(kSunTemperatureK);
  scene.spectralHeadlight.setDirection(0, 0, -1);
  scene.spectralHeadlight.setOn(1);
  scene.spectralHeadlight.setIntensity(1.0f);
  scene.spectralHeadlight.setSpectrum(&scene.sunlight);
  state.setSpectralHeadlight(&scene.spectralHeadlight);
  const Vector3& first = p.lightDirections[0];
  scene.spectralLight.setDirection(first.x, first.y, first.z);
  scene.spectralLight.setOn(1);
  scene.spectralLight.setIntensity(1.0f);
  scene.spectralLight.setSpectrum(&scene.sunlight);
  state.setSpectralLight(1, &scene.spectralLight);

  state.gamutMapping = &scene.gamutMapping;
  scene.colourPipeline.setReferenceLight(scene.spectralLight.spectrum(), scene.spectralLight.intensity());
  state.colourPipeline = &scene.colourPipeline;
  state.wavelengthRange = &scene.wavelengthRange;
  state.cullBackFaces = 1;
  state.clockwiseFrontFaces = 0;
  state.switchOffHeadlights();
  state.textureObjects = 1;
  state.buildMipmaps = 0;
}

} // namespace

bool isSceneFile(const std::string& path) {
  if (isModelFile(path)) return true;
  for (const std::string suffix : {".wrl", ".wrz", ".wrl.gz"})
    if (path.size() >= suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0)
      return true;
  if (isGzipFile(path)) return true; // parameter files are plain text
  std::ifstream file(path, std::ios::binary);
  char start[5] = {};
  file.read(start, 5);
  return file.gcount() == 5 && std::memcmp(start, "#VRML", 5) == 0;
}

std::string resolveScenePath(const std::string& scenePath, const std::string& parameterPath) {
  if (scenePath.empty() || scenePath[0] == '/') return scenePath;
  std::string beside = pathBeside(parameterPath, scenePath);
  if (fileExists(beside) || !fileExists(scenePath)) return beside;
  return scenePath;
}

LoadResult loadScene(const std::string& path, LoadedScene& scene) {
  // The parameters, or the default flight of a scene file.
  const bool sceneOnly = isSceneFile(path);
  if (sceneOnly)
    scene.parameters.dataFileName = path;
  else if (!readParameterFile(scene.parameters, path, &scene.error))
    return LoadResult::BadParameters;
  scene.scenePath = sceneOnly ? path : resolveScenePath(scene.parameters.dataFileName, path);

  // Read the scene file.
  std::string reason = unreadableReason(scene.scenePath);
  if (!reason.empty()) {
    printWarning("Can't open file %.120s: %s\n", scene.scenePath.c_str(), reason.c_str());
    scene.error = "Can't open file " + scene.scenePath + ": " + reason;
    return LoadResult::CannotOpen;
  }
  // Convert it under the scene root, after the default material and the rest frame.
  ConversionOptions options;
  options.sceneFolder = folderOf(scene.scenePath); // textures beside the scene, from any working directory
  options.maxEdgeLength = std::max(0.0f, scene.maxEdgeLength);
  ConversionResult conversion;
  if (isModelFile(scene.scenePath)) {
    conversion = importModel(scene.scenePath, *scene.root, options);
  } else {
    QvNodeHandle fileRoot;
    if (!readSceneFile(scene.scenePath, fileRoot)) {
      printWarning("Read was bad\n");
      return LoadResult::ReadBad;
    }
    printWarning("Read was ok\n");
    conversion = convertScene(*fileRoot, *scene.root, options);
  }
  if (!conversion.ok) {
    printWarning("%s\n", conversion.error.c_str());
    return LoadResult::ConversionFailed;
  }
  if (scene.maxEdgeLength == kAutomaticEdgeLength) {
    DisplayBudget budget(kMaxDisplayVertices, automaticEdgeLength(*scene.root), conversion.summary.displayVertices);
    subdivideScene(*scene.root, budget);
  }
  if (sceneOnly) placeObserverBeforeScene(*scene.root, scene.parameters);
  if (sceneOnly && conversion.camera) { // the file's own start view
    scene.parameters.startPosition = conversion.camera->position;
    scene.parameters.flightDirection = conversion.camera->viewDirection;
  }

  // The observer, the render state and the drawing objects.
  const Parameters& p = scene.parameters;
  scene.observer = std::make_unique<RelObserver>(p.startPosition.x, p.startPosition.y, p.startPosition.z,
                                                 p.startTime, p.startSpeed, p.flightDirection.x,
                                                 p.flightDirection.y, p.flightDirection.z);
  setUpRenderState(scene);
  scene.displayManager = std::make_unique<DvDisplayManager>(*scene.renderState);
  DvDisplayManager& manager = *scene.displayManager;
  manager.setObserver(scene.observer.get());
  manager.setOverlay(&scene.overlay);
  manager.setScene(scene.root.get());
  manager.time = p.startTime;
  manager.timeStep = p.timeStep;
  manager.endTime = p.endTime;
  manager.nearPlane = 0.4f;
  manager.farPlane = 4000.0f;
  manager.aspectFactor = 1.0f;
  manager.fieldOfView = 60.0f;

  scene.viewer = std::make_unique<MfcOglViewer>(manager);
  manager.setViewer(scene.viewer.get());
  scene.viewer->setStartValues(p.startPosition, p.flightDirection, p.startTime, p.startSpeed);
  scene.viewer->setStopped(1);
  return LoadResult::Loaded;
}

} // namespace quillmere
