// The Render menu: every render setting the scene file and the parameter
// file leave at their defaults, each showing its state.
#include "app/window/quillmere_window.h"

#include "display/recorder.h"
#include "display/worker_pool.h"

#include <imgui.h>

#include <cstdio>
#include <string>

namespace quillmere {

namespace {

// A submenu of exclusive choices; `value` takes the index chosen.
void choiceMenu(const char* title, std::initializer_list<const char*> names, int& value) {
  if (!ImGui::BeginMenu(title)) return;
  int index = 0;
  for (const char* name : names) {
    if (ImGui::MenuItem(name, nullptr, value == index)) value = index;
    ++index;
  }
  ImGui::EndMenu();
}

// Off, or one of the sample counts; `on` and `samples` are the render state's pair.
void samplesMenu(const char* title, std::initializer_list<int> counts, int& on, int& samples) {
  if (!ImGui::BeginMenu(title)) return;
  if (ImGui::MenuItem("Off", nullptr, !on)) on = 0;
  for (int count : counts) {
    std::string label = std::to_string(count) + " samples";
    if (ImGui::MenuItem(label.c_str(), nullptr, on && samples == count)) {
      on = 1;
      samples = count;
    }
  }
  ImGui::EndMenu();
}

bool toggle(const char* label, int& flag) {
  bool changed = ImGui::MenuItem(label, nullptr, flag != 0);
  if (changed) flag = !flag;
  return changed;
}

} // namespace

void QuillmereWindow::drawRenderMenu() {
  if (!ImGui::BeginMenu("Render")) return;
  if (!scene_) {
    ImGui::TextDisabled("No scene loaded");
    ImGui::EndMenu();
    return;
  }
  DvRenderState& state = *scene_->renderState;
  DvDisplayManager& manager = *scene_->displayManager;

  choiceMenu("Render style", {"Textured", "Lit", "Wireframe", "Hidden line"}, state.renderStyle);
  texturedChecked_ = state.renderStyle != DvRenderState::Wireframe;
  toggle("Spectral shading", state.softwareShading);
  choiceMenu("Colour shift", {"None", "Searchlight", "Doppler", "Doppler and searchlight"}, state.colourShift);
  int gamut = scene_->gamutMapping.method();
  choiceMenu("Gamut mapping", {"0 Clamp", "1 Shift and scale", "2 Shift and clamp", "3 Shift and desaturate",
                               "4 Cut and scale", "5 Desaturate"},
             gamut);
  scene_->gamutMapping.setMethod(gamut);
  ImGui::Separator();
  samplesMenu("Antialiasing", {2, 4, 8, 16, 24, 66}, state.antialiasing, state.antialiasingSamples);
  samplesMenu("Depth of field", {2, 4, 8, 16}, state.depthOfField, state.depthOfFieldSamples);
  // Scene units; a field, since scenes span from millimetres to kilometres.
  if (ImGui::InputFloat("Focus distance", &state.focusDistance, 0.0f, 0.0f, "%g",
                        ImGuiInputTextFlags_EnterReturnsTrue) &&
      !(state.focusDistance > 0.0f))
    state.focusDistance = 1.0f;
  samplesMenu("Motion blur", {2, 4, 8, 16, 32, RelRecorder::kMaxSubFrames}, state.motionBlur, state.motionSamples);
  int stereo = state.stereoIdealObserver ? 1 : state.stereoPerEye ? 2 : state.stereoDualScreen ? 3 : 0;
  choiceMenu("Stereo", {"Off", "Ideal observer", "Per eye", "Dual screen"}, stereo);
  state.stereoIdealObserver = stereo == 1;
  state.stereoPerEye = stereo == 2;
  state.stereoDualScreen = stereo == 3;
  choiceMenu("Transform method", {"Light cone", "Snapshot, then light cone", "Snapshot"}, state.transformMethod);
  if (ImGui::BeginMenu("Threads")) {
    const int cores = workerThreadCount(0);
    std::string all = "Every core (" + std::to_string(cores) + ")";
    if (ImGui::MenuItem(all.c_str(), nullptr, state.threads <= 0)) state.threads = 0;
    for (int count : {1, 2, 4, 8}) {
      std::string label = std::to_string(count);
      if (ImGui::MenuItem(label.c_str(), nullptr, state.threads == count)) state.threads = count;
    }
    ImGui::EndMenu();
  }
  if (ImGui::BeginMenu("Subdivide edges")) {
    for (float length : {0.0f, 0.25f, 0.5f, 1.0f, 2.0f, 5.0f}) {
      char label[48];
      if (length == 0.0f)
        std::snprintf(label, sizeof label, "Off");
      else
        std::snprintf(label, sizeof label, "Longer than %g", double(length));
      if (ImGui::MenuItem(label, nullptr, line_.subdivide == length) && line_.subdivide != length) {
        line_.subdivide = length;
        reloadRequested_ = true; // converted again with the new length
      }
    }
    ImGui::EndMenu();
  }
  ImGui::Separator();
  if (toggle("Headlight", state.headlightOn)) scene_->spectralHeadlight.setOn(state.headlightOn);
  toggle("Status bar", manager.overlayOn);
  ImGui::EndMenu();
}

} // namespace quillmere
