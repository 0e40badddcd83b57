// quillmere-check [--tree] [--convert] [--lenient] FILE...: reads each scene
// file (read errors on standard error) and prints one verdict line per file
// on standard output. Plain, it is the strict validator; with --lenient, and
// with --convert, it reads as the viewer does (unknown nodes and fields
// skipped, lists without commas) and the verdict counts what was skipped.
// With --convert each file that reads is also converted into a display
// scene, without a window, and the verdict counts what was built. Exit status 0 when every file read (and
// converted) ok, 1 when any did not, 2 for a bad command line (no file, or an
// unknown option). Model files (glTF, OBJ, PLY, STL, …) are imported with
// --convert and get the same verdict line.
#include "display/group.h"
#include "scene/scene_conversion.h"
#include "scene/model_import.h"
#include "vrml/field.h"
#include "vrml/field_table.h"
#include "vrml/group.h"
#include "vrml/file_paths.h"
#include "vrml/input_file.h"
#include "vrml/node.h"
#include "vrml/scene_file_stream.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <unordered_set>
#include <vector>

using namespace quillmere;

namespace {

// One line per node, indented two spaces per level: keyword, "name" when the
// node has one, then the fields the file set. A node met again through USE is
// printed once more, marked, without repeating what is below it.
void printTree(QvNode* node, int depth, std::unordered_set<QvNode*>& printed) {
  std::string line(static_cast<std::size_t>(depth) * 2, ' ');
  line += node->getKeyword();
  if (!node->getName().isEmpty()) line += std::string(" \"") + node->getName().getString() + "\"";
  bool again = !printed.insert(node).second;
  if (again) {
    std::printf("%s (USE, shown above)\n", line.c_str());
    return;
  }
  QvFieldTable* table = node->getFieldTable();
  for (int i = 0; i < table->getNumFields(); ++i)
    if (!table->getField(node, i)->isDefault()) line += std::string(" ") + table->getFieldName(i).getString();
  std::printf("%s\n", line.c_str());
  if (auto* group = dynamic_cast<QvGroup*>(node))
    for (int i = 0; i < group->getNumChildren(); ++i) printTree(group->getChild(i), depth + 1, printed);
}

constexpr const char* kUsage = "usage: quillmere-check [--tree] [--convert] [--lenient] FILE...\n";

// ", N unknown nodes skipped, M unknown fields skipped" for what a lenient read passed over.
std::string skippedText(int nodes, int fields) {
  std::string text;
  if (nodes > 0) text += ", " + std::to_string(nodes) + (nodes == 1 ? " unknown node" : " unknown nodes") + " skipped";
  if (fields > 0)
    text += ", " + std::to_string(fields) + (fields == 1 ? " unknown field" : " unknown fields") + " skipped";
  return text;
}

// The open file (a gzip-compressed one decompressed), or null after
// printing the verdict: "cannot open" with the system's reason (a folder is
// refused), or "read failed" for compressed data that cannot be decompressed.
std::unique_ptr<SceneFileStream> openScene(const char* path) {
  auto stream = std::make_unique<SceneFileStream>(path);
  if (stream->file()) return stream;
  if (!stream->damage().empty()) {
    QvInputFile::postReadError(nullptr, "%s: %s", path, stream->damage().c_str());
    std::fflush(stderr);
    std::printf("%s: read failed\n", path);
  } else {
    std::printf("%s: cannot open: %s\n", path, std::strerror(stream->systemError()));
  }
  return nullptr;
}

// Prints the verdict of a conversion (or a model import); `skipped` counts
// what a lenient read passed over.
bool reportConversion(const char* path, const ConversionResult& result, const std::string& skipped = "") {
  std::fflush(stdout); // the conversion's warnings come before the verdict
  if (!result.ok) {
    std::fprintf(stderr, "%s\n", result.error.c_str());
    std::fflush(stderr);
    std::printf("%s: conversion failed\n", path);
    return false;
  }
  const ConversionSummary& s = result.summary;
  std::printf("%s: ok (%ld face sets, %ld triangles, %ld line sets, %ld frames, %ld LODs, %ld textures%s)\n", path,
              s.faceSets, s.triangles, s.lineSets, s.frames, s.lods, s.textures, skipped.c_str());
  return true;
}

// Converts a tree that read ok; prints the conversion verdict.
bool convertFile(const char* path, QvNode& root, const std::string& skipped) {
  DvGroup sceneRoot;
  ConversionOptions options;
  options.sceneFolder = folderOf(path); // texture files beside the scene, whatever the working directory
  return reportConversion(path, convertScene(root, sceneRoot, options), skipped);
}

// A model file (glTF, OBJ, …) goes through the importer: read and
// conversion are one step, so it is checked only with --convert.
bool checkModelFile(const char* path, bool convert) {
  if (!convert) {
    std::printf("%s: model file, checked with --convert\n", path);
    return true;
  }
  DvGroup sceneRoot;
  ConversionOptions options;
  options.sceneFolder = folderOf(path);
  return reportConversion(path, importModel(path, sceneRoot, options));
}

// Reads one file; prints its verdict. True when it read ok with a root (and,
// with `convert`, converted ok).
bool checkFile(const char* path, bool tree, bool convert, bool lenient) {
  if (isModelFile(path)) return checkModelFile(path, convert);
  std::unique_ptr<SceneFileStream> file = openScene(path);
  if (!file) return false;
  QvNode* root = nullptr;
  bool ok;
  int defNames;
  int numRoots;
  std::string skipped;
  {
    QvInputFile in;
    in.setFilePointer(file->file());
    in.setFileName(path);
    if (lenient) in.setLenient(path);
    ok = QvScene::read(in, root, numRoots);
    defNames = in.getNumReferences();
    skipped = skippedText(in.skippedNodes(), in.skippedFields());
  }
  file.reset();
  QvNodeHandle handle(root);
  std::fflush(stderr); // the reader's messages come before the verdict
  if (!ok) {
    std::printf("%s: read failed\n", path);
    return false;
  }
  if (!root) {
    std::printf(lenient ? "%s: no nodes\n" : "%s: no root node\n", path);
    return false;
  }
  // Several top-level nodes come back under a group the reader made: the
  // file did not write it, so it is neither shown nor counted.
  bool madeGroup = numRoots > 1;
  if (tree) {
    std::unordered_set<QvNode*> printed;
    if (madeGroup) {
      auto* group = static_cast<QvGroup*>(root);
      for (int i = 0; i < group->getNumChildren(); ++i) printTree(group->getChild(i), 0, printed);
    } else {
      printTree(root, 0, printed);
    }
  }
  if (convert) return convertFile(path, *root, skipped);
  int nodes = countDistinctNodes(root) - (madeGroup ? 1 : 0);
  std::printf("%s: ok (%d nodes, %d DEF names%s)\n", path, nodes, defNames, skipped.c_str());
  return true;
}

} // namespace

int main(int argc, char** argv) {
  bool tree = false, convert = false, lenient = false;
  std::vector<const char*> paths;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--tree") == 0) {
      tree = true;
    } else if (std::strcmp(argv[i], "--convert") == 0) {
      convert = true;
    } else if (std::strcmp(argv[i], "--lenient") == 0) {
      lenient = true;
    } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
      // Not taken for a file name: a mistyped option would otherwise be
      // reported as a file that cannot be opened.
      std::fprintf(stderr, "quillmere-check: unknown option '%s'\n%s", argv[i], kUsage);
      return 2;
    } else {
      paths.push_back(argv[i]);
    }
  }
  if (paths.empty()) {
    std::fprintf(stderr, "%s", kUsage);
    return 2;
  }
  bool allOk = true;
  for (const char* path : paths) {
    bool ok;
    try {
      ok = checkFile(path, tree, convert, lenient || convert); // the viewer's reading when converting
    } catch (const std::bad_alloc&) {
      // The read turns its own failures into a failed read; this is for
      // what comes after it (counting, printing the tree).
      std::fflush(stderr);
      std::printf("%s: out of memory\n", path);
      ok = false;
    }
    allOk = ok && allOk;
    std::fflush(stdout);
  }
  return allOk ? 0 : 1;
}
