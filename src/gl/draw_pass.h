// What one drawing pass needs beyond the render settings: the eye of a
// stereo pair being transformed or drawn, and the style the pass draws
// with. The display manager makes one per pass and hands it down the
// scene, so the settings stay unchanged while a frame is drawn.
#pragma once

#include "gl/render_state.h"

namespace quillmere {

struct DrawPass {
  RenderStyle style = RenderStyle::Textured; // the settings' style; Outline in the hidden-line outline passes
  int eye = 0;                               // 0 the first (or only) eye, 1 the second of a per-eye pair

  DrawPass() = default;
  // The first eye in the settings' style.
  explicit DrawPass(const DvRenderState& settings) : style(settings.renderStyle) {}
  DrawPass(RenderStyle passStyle, int passEye) : style(passStyle), eye(passEye) {}

  // The second eye of a per-eye stereo pair: the one with its own transformed vertices.
  bool secondEyeOf(const DvRenderState& settings) const {
    return settings.stereo == StereoMode::PerEye && eye == 1;
  }
};

} // namespace quillmere
