#include "app/scene_loading.h"

#include "app/file_access.h"
#include "diagnostics/diagnostics.h"
#include "scene/display_budget.h"
#include "scene/scene_conversion.h"
#include "scene/model_import.h"
#include "scene/start_view.h"
#include "vrml/file_paths.h"
#include "vrml/input_file.h"
#include "vrml/node.h"
#include "vrml/scene_file_stream.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>

namespace quillmere {

namespace {

constexpr float kSunTemperatureK = 5762.0f;

bool fileExists(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file) std::fclose(file);
  return file != nullptr;
}

constexpr float kFieldOfViewDegrees = 60.0f; // vertical, unless the file's camera says otherwise
constexpr float kDegreesPerRadian = 57.29577951f;
constexpr float kStartAspect = 960.0f / 600.0f; // the window's default shape, for framing the default view

// The flight of a scene file opened directly: at rest, at the start view,
// looking and flying along its direction. The lights turn with the view:
// the key light (also the spectral path's) from over the viewer's right
// shoulder, the second from the upper left, as for a scene seen along +z.
void placeObserverAtView(const SceneCamera& view, Parameters& parameters) {
  const Vector3 forward = view.viewDirection;
  const Vector3 up = view.up;
  const Vector3 right = cross(forward, up);
  parameters.lightCount = 2;
  parameters.lightDirections[0] = 0.5f * right + 0.7f * up - 1.0f * forward;
  parameters.lightDirections[1] = -1.0f * right + 1.0f * up;
  parameters.startPosition = view.position;
  parameters.flightDirection = forward;
  parameters.startSpeed = 0.0f;
}

void traceStartView(const SceneCamera& view, const SceneSphere& sphere) {
  printInformation("Start view: %s at (%g, %g, %g) looking along (%g, %g, %g), up (%g, %g, %g), "
                   "field of view %g degrees; scene centre (%g, %g, %g), radius %g\n",
                   view.kind, double(view.position.x), double(view.position.y), double(view.position.z),
                   double(view.viewDirection.x), double(view.viewDirection.y), double(view.viewDirection.z),
                   double(view.up.x), double(view.up.y), double(view.up.z),
                   double(view.heightAngleRadians * kDegreesPerRadian), double(sphere.centre.x),
                   double(sphere.centre.y), double(sphere.centre.z), double(sphere.radius));
}

// Read as a VRML browser reads files: unknown nodes and fields are skipped
// with a warning (see QvInputFile::setLenient).
bool readSceneFile(const std::string& path, QvNodeHandle& root) {
  QvScene::LenientReport report;
  return QvScene::readFileLeniently(path, root, report);
}

void setUpRenderState(LoadedScene& scene) {
  const Parameters& p = scene.parameters;
  scene.renderState = std::make_unique<DvRenderState>();
  DvRenderState& state = *scene.renderState;
  state.transformNormals = p.transformNormals;
  state.lodScale = p.lodScale;
  state.focusDistance = 10.0f; // the scene loading puts it at the scene's centre
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
    if (!fileRoot) {
      printWarning("%s: no nodes\n", scene.scenePath.c_str());
      scene.error = scene.scenePath + ": no nodes";
      return LoadResult::NoNodes;
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
  const SceneSphere sphere = sceneSphere(*scene.root);
  float fieldOfViewDegrees = kFieldOfViewDegrees;
  std::optional<SceneCamera> chosenView;
  if (sceneOnly) {
    SceneCamera view = startView(sphere, conversion.camera, kFieldOfViewDegrees / kDegreesPerRadian, kStartAspect);
    // An orthographic camera has no angle; it is flown with the default one.
    if (view.heightAngleRadians > 0.01f && view.heightAngleRadians < 3.0f)
      fieldOfViewDegrees = view.heightAngleRadians * kDegreesPerRadian;
    else
      view.heightAngleRadians = kFieldOfViewDegrees / kDegreesPerRadian;
    placeObserverAtView(view, scene.parameters);
    if (scene.trace) traceStartView(view, sphere);
    chosenView = view;
  }

  // The observer, the render state and the drawing objects.
  const Parameters& p = scene.parameters;
  scene.observer = std::make_unique<RelObserver>(p.startPosition.x, p.startPosition.y, p.startPosition.z,
                                                 p.startTime, p.startSpeed, p.flightDirection.x,
                                                 p.flightDirection.y, p.flightDirection.z);
  // A camera turned about its view keeps that roll at the start (the
  // observer otherwise starts with the world's +y up).
  if (chosenView)
    scene.observer->setMatrices(lookAtGuarded(chosenView->viewDirection, chosenView->up, Vector3(0, 0, 1)),
                                Matrix4::identity());
  setUpRenderState(scene);
  scene.displayManager = std::make_unique<DvDisplayManager>(*scene.renderState);
  DvDisplayManager& manager = *scene.displayManager;
  manager.setObserver(scene.observer.get());
  manager.setOverlay(&scene.overlay);
  manager.setScene(scene.root.get());
  manager.time = p.startTime;
  manager.timeStep = p.timeStep;
  manager.endTime = p.endTime;
  manager.nearPlane = 0.4f;     // until the first transform has seen the scene
  manager.farPlane = 4000.0f;
  manager.aspectFactor = 1.0f;
  manager.fieldOfView = fieldOfViewDegrees;
  // Depth of field is sharp at the scene's centre as seen from the start
  // (a tenth of the scene's radius away at least, for a start inside it).
  if (!sphere.empty)
    scene.renderState->focusDistance =
        std::max({1e-3f, 0.1f * sphere.radius, (sphere.centre - p.startPosition).length()});

  scene.viewer = std::make_unique<FlightController>(manager);
  manager.setViewer(scene.viewer.get());
  scene.viewer->setStartValues(p.startPosition, p.flightDirection, p.startTime, p.startSpeed);
  scene.viewer->setStopped(1);
  scene.viewer->setSceneRadius(sphere.radius);
  return LoadResult::Loaded;
}

} // namespace quillmere
