// The typed render settings a user chooses, and one table per setting that
// names each value as the command line takes it and as the Render menu
// shows it. The colour model's own settings (colour/colour_pipeline.h) are
// named here too, so both the command line and the menu read one table.
#pragma once

#include "colour/colour_pipeline.h"
#include "colour/tone_mapping.h"

#include <cstddef>
#include <cstring>
#include <optional>

namespace quillmere {

// How shapes are drawn. Outline is no setting: the hidden-line style draws
// its outline passes with it (DrawPass::style).
enum class RenderStyle { Textured, Untextured, Wireframe, HiddenLine, Outline };

// The relativistic effects on the spectral path's colours.
enum class ColourShift { None, Searchlight, Doppler, DopplerAndSearchlight };

// Where a vertex is drawn: on the observer's backward light cone in the
// frame in force; the observer's snapshot first, then the light cone; or the
// snapshot alone.
enum class TransformMethod { LightCone, SnapshotThenLightCone, Snapshot };

// One view, or a stereo pair: off-axis eyes into left and right back
// buffers (ideal observer); the scene transformed from each eye into left
// and right buffers (per eye); side by side; or red-cyan in one buffer.
enum class StereoMode { Off, IdealObserver, PerEye, DualScreen, Anaglyph };

// One value of a setting with its names.
template <typename Setting>
struct SettingName {
  Setting value;
  const char* word;     // as typed on the command line
  const char* menuText; // as the Render menu shows it
};

inline constexpr SettingName<RenderStyle> kRenderStyleNames[] = {
    {RenderStyle::Textured, "textured", "Textured"},
    {RenderStyle::Untextured, "lit", "Lit"},
    {RenderStyle::Wireframe, "wireframe", "Wireframe"},
    {RenderStyle::HiddenLine, "hidden-line", "Hidden line"},
};

inline constexpr SettingName<ColourShift> kColourShiftNames[] = {
    {ColourShift::None, "none", "None"},
    {ColourShift::Searchlight, "searchlight", "Searchlight"},
    {ColourShift::Doppler, "doppler", "Doppler"},
    {ColourShift::DopplerAndSearchlight, "both", "Doppler and searchlight"},
};

inline constexpr SettingName<TransformMethod> kTransformMethodNames[] = {
    {TransformMethod::LightCone, "light-cone", "Light cone"},
    {TransformMethod::SnapshotThenLightCone, "snapshot-light-cone", "Snapshot, then light cone"},
    {TransformMethod::Snapshot, "snapshot", "Snapshot"},
};

inline constexpr SettingName<StereoMode> kStereoModeNames[] = {
    {StereoMode::Off, "off", "Off"},
    {StereoMode::IdealObserver, "ideal", "Ideal observer"},
    {StereoMode::PerEye, "per-eye", "Per eye"},
    {StereoMode::DualScreen, "dual", "Dual screen"},
    {StereoMode::Anaglyph, "anaglyph", "Anaglyph (red-cyan)"},
};

inline constexpr SettingName<ColourModel> kColourModelNames[] = {
    {ColourModel::Cie, "cie", "CIE 1931 to sRGB"},
    {ColourModel::System, "system", "System table"},
};

inline constexpr SettingName<Uplift> kUpliftNames[] = {
    {Uplift::Smooth, "smooth", "Smooth"},
    {Uplift::Gaussian, "gaussian", "Three Gaussians"},
};

inline constexpr SettingName<ToneMap> kToneMapNames[] = {
    {ToneMap::Clip, "clip", "Clip"},
    {ToneMap::Reinhard, "reinhard", "Reinhard"},
    {ToneMap::Filmic, "filmic", "Filmic"},
};

// White balance is a check mark in the menu; the command line names it.
inline constexpr SettingName<bool> kWhiteBalanceNames[] = {
    {false, "off", "Off"},
    {true, "on", "On"},
};

// The value a command-line word names; none for a word of no value.
template <typename Setting, std::size_t N>
std::optional<Setting> settingFromWord(const SettingName<Setting> (&names)[N], const char* word) {
  for (const SettingName<Setting>& name : names)
    if (std::strcmp(name.word, word) == 0) return name.value;
  return std::nullopt;
}

} // namespace quillmere
