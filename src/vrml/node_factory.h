// The catalogue's factory: a new node for each of the forty-two keywords.
#pragma once

#include "vrml/name.h"

namespace quillmere {

class QvNode;

// A new node (without references) of the class whose keyword is exactly
// `keyword`, compared case-sensitively; null for any other word.
QvNode* createNodeFromClassName(const QvName& keyword);

// The keywords the factory knows, in no particular order; `count` gets their number.
const char* const* qvNodeKeywords(int& count);

} // namespace quillmere
