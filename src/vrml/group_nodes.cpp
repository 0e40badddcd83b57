#include "vrml/group_nodes.h"

#include "vrml/file_paths.h"

#include "diagnostics/diagnostics.h"
#include "vrml/conversion.h"
#include "vrml/input_file.h"
#include "vrml/state.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace quillmere {

QvFieldTable QvSeparator::table_;
QvFieldTable QvTransformSeparator::table_;
QvFieldTable QvSwitch::table_;
QvFieldTable QvLevelOfDetail::table_;
QvFieldTable QvLOD::table_;
QvFieldTable QvWWWAnchor::table_;
QvFieldTable QvWWWInline::table_;

QvSeparator::QvSeparator() {
  QvFieldSetup setup(this, table_);
  setup.field("renderCulling", renderCulling);
  setup.enumValue("CullEnabled", "ON", ON);
  setup.enumValue("CullEnabled", "OFF", OFF);
  setup.enumValue("CullEnabled", "AUTO", AUTO);
  setup.attachEnum(renderCulling, "CullEnabled");
  renderCulling.value = AUTO;
}

QvTransformSeparator::QvTransformSeparator() { QvFieldSetup setup(this, table_); }

QvSwitch::QvSwitch() {
  QvFieldSetup setup(this, table_);
  setup.field("whichChild", whichChild);
  whichChild.value = kNone;
}

QvLevelOfDetail::QvLevelOfDetail() {
  QvFieldSetup setup(this, table_);
  setup.field("screenArea", screenArea);
  screenArea.values[0] = 0;
}

QvLOD::QvLOD() {
  QvFieldSetup setup(this, table_);
  setup.field("range", range);
  setup.field("center", center);
  range.values[0] = 0;
  qvSetVec3(center.value, 0, 0, 0);
}

QvWWWAnchor::QvWWWAnchor() {
  QvFieldSetup setup(this, table_);
  setup.field("name", name);
  setup.field("description", description);
  setup.field("map", map);
  setup.enumValue("Map", "NONE", NONE);
  setup.enumValue("Map", "POINT", POINT);
  setup.attachEnum(map, "Map");
  map.value = NONE;
}

QvWWWInline::QvWWWInline() {
  QvFieldSetup setup(this, table_);
  setup.field("name", name);
  setup.field("bboxSize", bboxSize);
  setup.field("bboxCenter", bboxCenter);
  qvSetVec3(bboxSize.value, 0, 0, 0);
  qvSetVec3(bboxCenter.value, 0, 0, 0);
}

void QvSeparator::traverse(QvState& state) {
  state.push();
  QvGroup::traverse(state);
  state.pop();
}

// The marker stays on the stack until the enclosing Separator's pop removes
// it by depth; only the transforms above it go now. Other stacks keep what
// the children added.
void QvTransformSeparator::traverse(QvState& state) {
  auto* marker = new QvElement;
  marker->data = this;
  marker->type = QvElement::NoOpTransform;
  state.addElement(QvState::TransformationIndex, marker);
  QvGroup::traverse(state);
  while (state.stacks[QvState::TransformationIndex] && state.stacks[QvState::TransformationIndex] != marker)
    state.popElement(QvState::TransformationIndex);
}

void QvSwitch::traverse(QvState& state) {
  int which = whichChild.value;
  if (which == kAll)
    QvGroup::traverse(state);
  else if (which >= 0 && which < getNumChildren())
    traverseChild(which, state);
}

void QvLevelOfDetail::traverse(QvState& state) {
  if (getNumChildren() > 0) traverseChild(0, state);
}

void QvLOD::traverse(QvState& state) {
  if (getNumChildren() == 0) return;
  QvConversion* conversion = state.getConversion();
  if (conversion) conversion->beginLOD(*this, state);
  for (int i = 0; i < getNumChildren(); ++i) {
    if (conversion) conversion->beginLODChild(*this, i);
    state.push();
    traverseChild(i, state);
    state.pop();
    if (conversion) conversion->endLODChild(*this, i);
  }
  if (conversion) conversion->endLOD(*this, state);
}

// The anchor's children are drawn as a Separator's are; following the link
// is left to a browser.
void QvWWWAnchor::traverse(QvState& state) {
  state.push();
  QvGroup::traverse(state);
  state.pop();
}
namespace {

// The local path a WWWInline name stands for: the name itself, or what
// follows "file:" (and "file://"); false for any other scheme.
bool localPath(const std::string& name, std::string& path) {
  path = name;
  if (path.rfind("file://", 0) == 0)
    path = path.substr(7);
  else if (path.rfind("file:", 0) == 0)
    path = path.substr(5);
  else if (path.find("://") != std::string::npos)
    return false;
  return !path.empty();
}

// Only regular files of a sane size are read: a name from a scene file must
// never make the walk read a device or a huge file.
constexpr long long kMaxInlineFileBytes = 1LL << 29;

bool readableFile(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= kMaxInlineFileBytes;
}

} // namespace

// A local file named by the inline is read (leniently, as the viewer reads
// files) and walked in place, in a scope of its own like a Separator's; its
// relative names (further inlines) resolve beside it. Other URLs, unreadable
// files, cycles and chains deeper than kMaxInlineDepth are skipped with a
// message.
void QvWWWInline::traverse(QvState& state) {
  if (state.getInlineFolder().empty()) return;
  std::string path;
  const std::string name = this->name.value.getString();
  if (!localPath(name, path)) {
    printWarning("WWWInline: %s is not a local file; skipped\n", name.c_str());
    return;
  }
  if (path[0] != '/') path = state.getInlineFolder() + "/" + path;
  char resolved[PATH_MAX];
  const std::string canonical = realpath(path.c_str(), resolved) ? resolved : path;
  std::vector<std::string>& chain = state.inlineChain();
  if (std::find(chain.begin(), chain.end(), canonical) != chain.end()) {
    printWarning("WWWInline: %s includes itself; skipped\n", name.c_str());
    return;
  }
  if (int(chain.size()) >= QvState::kMaxInlineDepth) {
    printWarning("WWWInline: %s is more than %d inlines deep; skipped\n", name.c_str(), QvState::kMaxInlineDepth);
    return;
  }
  // Inlines are read as the file that names them is drawn: leniently.
  QvNodeHandle root;
  QvScene::LenientReport skipped;
  if (!readableFile(canonical) || !QvScene::readFileLeniently(canonical, root, skipped) || !root) {
    printWarning("WWWInline: could not read %s; skipped\n", path.c_str());
    return;
  }
  const std::string folder = state.getInlineFolder();
  chain.push_back(canonical);
  state.setInlineFolder(folderOf(canonical));
  state.push();
  root->traverse(state);
  state.pop();
  state.setInlineFolder(folder);
  chain.pop_back();
}

} // namespace quillmere
