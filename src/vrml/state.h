// The traversal state carried through the walk that converts a parsed tree:
// one stack per kind of property, light, camera, transform and relativistic
// node in effect, scoped by depth so a Separator undoes what its children set.
#pragma once

#include <string>
#include <vector>

namespace quillmere {

class QvConversion;
class QvNode;

class QvElement {
public:
  // Element types: which kind of node `data` is when kinds share a stack.
  enum NodeType {
    Unknown, OrthographicCamera, PerspectiveCamera, DirectionalLight, PointLight, SpotLight,
    NoOpTransform, MatrixTransform, Rotation, Scale, Transform, Translation,
    RELmaterialConstant, RELmaterialPlanck, RELmaterialSampled, RELmaterialRGB, RELframe,
    NumNodeTypes
  };
  static const char* const typeNames[NumNodeTypes];

  int depth = -1;            // the state's depth when the element was added
  QvElement* next = nullptr; // the element below on the same stack
  QvNode* data = nullptr;    // the node the element stands for (not owned)
  int type = Unknown;        // a NodeType

  // The node the element stands for as its class; null when it is another class.
  template <class Node>
  const Node* nodeAs() const {
    return dynamic_cast<const Node*>(data);
  }
};

// The elements of one stack from the top (the most recently pushed) down,
// for range-for: `for (const QvElement& e : state.elements(stack))`.
class QvElementRange {
public:
  class Iterator {
  public:
    explicit Iterator(const QvElement* element) : element_(element) {}
    const QvElement& operator*() const { return *element_; }
    const QvElement* operator->() const { return element_; }
    Iterator& operator++() {
      element_ = element_->next;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return element_ != other.element_; }

  private:
    const QvElement* element_;
  };

  explicit QvElementRange(const QvElement* top) : top_(top) {}
  Iterator begin() const { return Iterator(top_); }
  Iterator end() const { return Iterator(nullptr); }

private:
  const QvElement* top_;
};

class QvState {
public:
  enum StackIndex {
    CameraIndex, Coordinate3Index, LightIndex, MaterialBindingIndex, MaterialIndex, NormalBindingIndex,
    NormalIndex, ShapeHintsIndex, Texture2Index, Texture2TransformationIndex, TextureCoordinate2Index,
    TransformationIndex, RELmaterialIndex,
    RELframeIndex,  // the frame-of-reference stack
    FontStyleIndex, // the font of AsciiText
    NumStacks
  };

  int depth = 0;
  QvElement* stacks[NumStacks] = {}; // top of each stack, null when empty; elements are owned

  // `conversion` receives the visits that build display nodes; null for a
  // walk that only keeps the state.
  explicit QvState(QvConversion* conversion = nullptr) : conversion_(conversion) {}
  ~QvState(); // pops to depth 0, then frees what was added at depth 0
  QvState(const QvState&) = delete;
  QvState& operator=(const QvState&) = delete;

  QvConversion* getConversion() const { return conversion_; }

  // Node instances a walk may visit. A node reached through several USEs is
  // visited once per path, so shared groups nested in shared groups multiply:
  // thirty levels of two USEs each would be a billion visits. Past the budget
  // the rest of the tree is left out, with one warning.
  static constexpr long kMaxVisits = 1000000;
  // Counts one visit of a child; false once the budget is spent.
  bool admitVisit();
  long getVisitCount() const { return visits_; }

  // Local files that WWWInline nodes read in place. `folder` is where
  // relative names are looked up (the including file's folder); empty: the
  // walk reads no inline files at all. The chain of files being inlined
  // refuses cycles and more than kMaxInlineDepth levels.
  static constexpr int kMaxInlineDepth = 16;
  void setInlineFolder(const std::string& folder) { inlineFolder_ = folder; }
  const std::string& getInlineFolder() const { return inlineFolder_; }
  std::vector<std::string>& inlineChain() { return inlineChain_; }

  void addElement(int stack, QvElement* element); // takes ownership
  QvElement* getTopElement(int stack) const { return stacks[stack]; }
  // The node of the top element as its class; null when the stack is empty
  // or its top node is of another class.
  template <class Node>
  const Node* topNode(int stack) const {
    return stacks[stack] ? stacks[stack]->nodeAs<Node>() : nullptr;
  }
  QvElementRange elements(int stack) const { return QvElementRange(stacks[stack]); }
  void push() { ++depth; }
  void pop(); // every stack loses the elements deeper than the new depth
  void popElement(int stack);

private:
  QvConversion* conversion_;
  long visits_ = 0; // child visits admitted so far
  std::string inlineFolder_;              // where WWWInline names are resolved; empty: none read
  std::vector<std::string> inlineChain_;  // the files being inlined, outermost first
};

} // namespace quillmere
