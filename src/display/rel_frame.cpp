#include "display/rel_frame.h"

#include "gl/render_state.h"

#include <iostream>

namespace quillmere {

RelFrame::RelFrame(const Vector3& translation, const Vector3& velocity) : transformation_(translation, velocity) {}

void RelFrame::set(const Vector3& translation, const Vector3& velocity) {
  transformation_ = FrameTransformation(translation, velocity);
}

void RelFrame::print() const {
  std::cout << '\n' << "RelFrame" << std::endl;
  std::cout << " Translation: " << translation() << std::endl;
  std::cout << " Velocity:    " << velocity() << std::endl;
  std::cout << std::endl;
}

void RelFrame::relativisticTransform(const RelObserver& observer, const DvRenderState& state, const DrawPass&,
                                     FrameHolder& frameHolder) {
  if (state.trace) print();
  transformation_.update(observer);
  frameHolder.frame = &transformation_;
}

} // namespace quillmere
