// Brings an RGB vertex colour into the displayable range [0, 1] just before
// it goes to OpenGL. Colours from Doppler-shifted spectra scaled by the
// searchlight factor routinely have negative or far-too-large components.
#pragma once

#include "relativity/vector.h"

namespace quillmere {

class GamutMapping {
public:
  // Methods (r, g, b):
  //   0 clamp each component to [0, 1];
  //   1 shift by m = min(0, r, g, b), then divide by the largest component;
  //   2 shift by m, then clamp above 1;
  //   3 shift by m, then desaturate (method 5);
  //   4 cut negative components to 0, then divide by the largest component;
  //   5 desaturate towards the grey of the same mean until every component
  //     lies in [0.0001, 0.9999].
  // Methods 1 and 4 scale an in-range colour up until its largest component
  // is 1; a colour that is black after the shift or cut stays black.
  GamutMapping() = default;
  explicit GamutMapping(int method) : method_(method) {}

  // Maps the colour in place and returns it. A component that is not finite
  // becomes 0 before the method applies, so no NaN reaches OpenGL. A method
  // outside 0..5 is a fatal report.
  Vector3& clip(Vector3& colour) const;

  int method() const { return method_; }
  void setMethod(int method) { method_ = method; }

private:
  int method_ = 0; // 0..5, see above
};

} // namespace quillmere
