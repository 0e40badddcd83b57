#include "gl/accumulation.h"

#include <GL/gl.h>

namespace quillmere {

void AccumulationBuffer::clear() { glClear(GL_ACCUM_BUFFER_BIT); }

void AccumulationBuffer::add(float weight) { glAccum(GL_ACCUM, weight); }

void AccumulationBuffer::writeBack() { glAccum(GL_RETURN, 1.0f); }

} // namespace quillmere
