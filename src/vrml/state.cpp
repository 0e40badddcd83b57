#include "vrml/state.h"

#include "diagnostics/diagnostics.h"


namespace quillmere {

const char* const QvElement::typeNames[NumNodeTypes] = {
    "Unknown", "OrthographicCamera", "PerspectiveCamera", "DirectionalLight", "PointLight", "SpotLight",
    "NoOpTransform", "MatrixTransform", "Rotation", "Scale", "Transform", "Translation",
    "RELmaterialConstant", "RELmaterialPlanck", "RELmaterialSampled", "RELmaterialRGB", "RELframe"};

QvState::~QvState() {
  while (depth > 0) pop();
  // What depth 0 added is no longer needed once the walk is over.
  for (int stack = 0; stack < NumStacks; ++stack)
    while (stacks[stack]) popElement(stack);
}

bool QvState::admitVisit() {
  if (visits_ > kMaxVisits) return false;
  if (++visits_ <= kMaxVisits) return true;
  printWarning("The scene expands to more than %ld node instances through USE; the rest is left out\n", kMaxVisits);
  return false;
}

void QvState::addElement(int stack, QvElement* element) {
  element->depth = depth;
  element->next = stacks[stack];
  stacks[stack] = element;
}

void QvState::pop() {
  --depth;
  for (int stack = 0; stack < NumStacks; ++stack)
    while (stacks[stack] && stacks[stack]->depth > depth) popElement(stack);
}

void QvState::popElement(int stack) {
  QvElement* top = stacks[stack];
  if (!top) return;
  stacks[stack] = top->next;
  delete top;
}

} // namespace quillmere
