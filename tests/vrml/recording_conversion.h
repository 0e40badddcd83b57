// A conversion that records what the walk hands it, in order, as text: what
// the real conversion would build, and which elements it would find.
#pragma once

#include "vrml/conversion.h"
#include "vrml/group_nodes.h"
#include "vrml/property_nodes.h"
#include "vrml/relativistic_nodes.h"
#include "vrml/shape_nodes.h"
#include "vrml/state.h"

#include <string>
#include <vector>

namespace quillmere::test {

class RecordingConversion : public QvConversion {
public:
  std::vector<std::string> events;

  // The names of the nodes on one stack, top first, e.g. "M2 M1".
  static std::string stackOf(const QvState& state, int stack) {
    std::string names;
    for (const QvElement& element : state.elements(stack)) {
      if (!names.empty()) names += ' ';
      const char* name = element.data ? element.data->getName().getString() : "";
      names += *name ? name : QvElement::typeNames[element.type];
    }
    return names;
  }

  void indexedFaceSet(const OwnIndexedFaceSet& node, const QvState& state) override {
    events.push_back("faces " + label(node) + " material[" + stackOf(state, QvState::MaterialIndex) +
                     "] transform[" + stackOf(state, QvState::TransformationIndex) + "]");
  }
  void indexedLineSet(const OwnIndexedLineSet& node, const QvState& state) override {
    events.push_back("lines " + label(node) + " coordinates[" + stackOf(state, QvState::Coordinate3Index) + "]");
  }
  void cube(const QvCube& node, const QvState& state) override { primitive("cube", node, state); }
  void sphere(const QvSphere& node, const QvState& state) override { primitive("sphere", node, state); }
  void cone(const QvCone& node, const QvState& state) override { primitive("cone", node, state); }
  void cylinder(const QvCylinder& node, const QvState& state) override { primitive("cylinder", node, state); }
  void material(const ownMaterial& node, const QvState&) override { events.push_back("material " + label(node)); }
  void texture2(const ownTexture2& node, const QvState&) override { events.push_back("texture " + label(node)); }
  void relFrame(const ownRELframe& node, const QvState&) override { events.push_back("frame " + label(node)); }
  void beginLOD(const QvLOD& node, const QvState& state) override {
    events.push_back("lod " + label(node) + " depth " + std::to_string(state.depth));
  }
  void beginLODChild(const QvLOD&, int childIndex) override { events.push_back("child " + std::to_string(childIndex)); }
  void endLODChild(const QvLOD&, int childIndex) override { events.push_back("end child " + std::to_string(childIndex)); }
  void endLOD(const QvLOD& node, const QvState& state) override {
    events.push_back("end lod " + label(node) + " depth " + std::to_string(state.depth));
  }

private:
  void primitive(const char* kind, const QvNode& node, const QvState& state) {
    events.push_back(kind + (" " + label(node)) + " material[" + stackOf(state, QvState::MaterialIndex) +
                     "] transform[" + stackOf(state, QvState::TransformationIndex) + "]");
  }
  static std::string label(const QvNode& node) { return node.getName().getString(); }
};

} // namespace quillmere::test
