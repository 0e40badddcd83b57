// The Render menu: every render setting the scene file and the parameter
// file leave at their defaults, each showing its state.
#include "app/window/quillmere_window.h"

#include "scene/display_budget.h"
#include "relativity/recorder.h"
#include "support/worker_pool.h"
#include "gl/render_settings.h"

#include <imgui.h>

#include <cstdio>
#include <string>

namespace quillmere {

namespace {

// A submenu of exclusive choices named by the setting's table; `value`
// takes the one chosen. True when it changed.
template <typename Setting, std::size_t N>
bool choiceMenu(const char* title, const SettingName<Setting> (&names)[N], Setting& value) {
  if (!ImGui::BeginMenu(title)) return false;
  const Setting before = value;
  for (const SettingName<Setting>& name : names)
    if (ImGui::MenuItem(name.menuText, nullptr, value == name.value)) value = name.value;
  ImGui::EndMenu();
  return value != before;
}

// A submenu of exclusive choices; `value` takes the index chosen. True when it changed.
bool choiceMenu(const char* title, std::initializer_list<const char*> names, int& value) {
  if (!ImGui::BeginMenu(title)) return false;
  const int before = value;
  int index = 0;
  for (const char* name : names) {
    if (ImGui::MenuItem(name, nullptr, value == index)) value = index;
    ++index;
  }
  ImGui::EndMenu();
  return value != before;
}

// Off, or one of the sample counts; `on` and `samples` are the render state's pair.
bool samplesMenu(const char* title, std::initializer_list<int> counts, int& on, int& samples) {
  if (!ImGui::BeginMenu(title)) return false;
  const int onBefore = on, samplesBefore = samples;
  if (ImGui::MenuItem("Off", nullptr, !on)) on = 0;
  for (int count : counts) {
    std::string label = std::to_string(count) + " samples";
    if (ImGui::MenuItem(label.c_str(), nullptr, on && samples == count)) {
      on = 1;
      samples = count;
    }
  }
  ImGui::EndMenu();
  return on != onBefore || samples != samplesBefore;
}

bool toggle(const char* label, int& flag) {
  bool changed = ImGui::MenuItem(label, nullptr, flag != 0);
  if (changed) flag = !flag;
  return changed;
}

// The colour model's settings (spectral path).
void drawColourMenus(ColourPipeline& colour) {
  choiceMenu("Colour model", kColourModelNames, colour.model);
  Uplift uplift = colour.uplift();
  if (choiceMenu("RGB colour spectra", kUpliftNames, uplift)) colour.upliftChoice = uplift;
  if (!ImGui::BeginMenu("Exposure and tone")) return;
  ImGui::MenuItem("White balance", nullptr, &colour.whiteBalance);
  ImGui::MenuItem("Auto exposure", nullptr, &colour.exposure.automatic);
  ImGui::SliderFloat("Exposure (EV)", &colour.exposure.fixedEv, -16.0f, 8.0f, "%.1f");
  choiceMenu("Tone map", kToneMapNames, colour.toneMap);
  ImGui::EndMenu();
}

} // namespace

bool QuillmereWindow::drawRenderMenu() {
  if (!ImGui::BeginMenu("Render")) return false;
  if (!scene_) {
    ImGui::TextDisabled("No scene loaded");
    ImGui::EndMenu();
    return false;
  }
  bool changed = false;
  DvRenderState& state = *scene_->renderState;
  DvDisplayManager& manager = *scene_->displayManager;

  changed |= choiceMenu("Render style", kRenderStyleNames, state.renderStyle);
  texturedChecked_ = state.renderStyle != RenderStyle::Wireframe;
  changed |= toggle("Spectral shading", state.softwareShading);
  changed |= choiceMenu("Colour shift", kColourShiftNames, state.colourShift);
  int gamut = scene_->gamutMapping.method();
  changed |= choiceMenu("Gamut mapping", {"0 Clamp", "1 Shift and scale", "2 Shift and clamp", "3 Shift and desaturate",
                               "4 Cut and scale", "5 Desaturate"},
             gamut);
  scene_->gamutMapping.setMethod(gamut);
  drawColourMenus(scene_->colourPipeline);
  ImGui::Separator();
  changed |= samplesMenu("Antialiasing", {2, 4, 8, 16, 24, 66}, state.antialiasing, state.antialiasingSamples);
  changed |= samplesMenu("Depth of field", {2, 4, 8, 16}, state.depthOfField, state.depthOfFieldSamples);
  // Scene units; a field, since scenes span from millimetres to kilometres.
  if (ImGui::InputFloat("Focus distance", &state.focusDistance, 0.0f, 0.0f, "%g",
                        ImGuiInputTextFlags_EnterReturnsTrue)) {
    if (!(state.focusDistance > 0.0f)) state.focusDistance = 1.0f;
    changed = true;
  }
  changed |= samplesMenu("Motion blur", {2, 4, 8, 16, 32, RelRecorder::kMaxSubFrames}, state.motionBlur, state.motionSamples);
  changed |= choiceMenu("Stereo", kStereoModeNames, state.stereo);
  changed |= choiceMenu("Transform method", kTransformMethodNames, state.transformMethod);
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
    for (float length : {0.0f, kAutomaticEdgeLength, 0.25f, 0.5f, 1.0f, 2.0f, 5.0f}) {
      char label[48];
      if (length == 0.0f)
        std::snprintf(label, sizeof label, "Off");
      else if (length == kAutomaticEdgeLength)
        std::snprintf(label, sizeof label, "Auto (1/64 of the scene's radius)");
      else
        std::snprintf(label, sizeof label, "Longer than %g", double(length));
      if (ImGui::MenuItem(label, nullptr, maxEdgeLength_ == length) && maxEdgeLength_ != length) {
        maxEdgeLength_ = length;
        reloadRequested_ = true; // converted again with the new length
      }
    }
    ImGui::EndMenu();
  }
  ImGui::Separator();
  if (toggle("Headlight", state.headlightOn)) {
    scene_->spectralHeadlight.setOn(state.headlightOn);
    changed = true;
  }
  toggle("Status bar", manager.overlayOn);
  ImGui::EndMenu();
  return changed;
}

} // namespace quillmere
