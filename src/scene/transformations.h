// The modelling and texture matrices of a shape, composed from the transform
// nodes in force in the traversal state. With column vectors, M = T_bottom ·
// … · T_top: the innermost (most recently pushed) transform acts first.
#pragma once

#include "relativity/matrix.h"

namespace quillmere {

class QvElement;
class QvState;

// The matrix of one element of the Transformation stack, by its type.
Matrix4 buildTransformation(const QvElement& element);
// The matrix of one Texture2Transform element, in the (s, t) plane.
Matrix4 buildTextureTransformation(const QvElement& element);

Matrix4 modellingMatrix(const QvState& state);
Matrix4 textureMatrix(const QvState& state);

} // namespace quillmere
