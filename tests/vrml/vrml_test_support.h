// Helpers for the reader's tests: scene text in, parsed tree and the read
// errors (as written to standard error) out.
#pragma once

#include "vrml/input_file.h"
#include "vrml/node.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace quillmere::test {

constexpr const char* kHeader = "#VRML V1.0 ascii\n";

// An input reading `text` from a temporary file, as the scene loader reads a file.
class TextInput {
public:
  explicit TextInput(const std::string& text) : file_(std::tmpfile()) {
    std::fwrite(text.data(), 1, text.size(), file_);
    std::rewind(file_);
    in.setFilePointer(file_);
  }
  ~TextInput() { std::fclose(file_); }
  TextInput(const TextInput&) = delete;
  TextInput& operator=(const TextInput&) = delete;

  QvInputFile in;

private:
  std::FILE* file_;
};

struct SceneRead {
  bool ok = false;
  QvNodeHandle root;  // null when the read failed or found no root
  std::string errors; // everything written to standard error
  int defNames = 0;   // distinct DEF names of the file
  int numRoots = 0;   // nodes the file wrote at the top
  int skippedNodes = 0, skippedFields = 0; // what a lenient read skipped
};

// Reads `text`; leniently, as the viewer reads, when `lenientName` names the file: then
// `errors` starts with the printers' warnings on standard output.
inline SceneRead readScene(const std::string& text, const char* lenientName = nullptr) {
  SceneRead result;
  TextInput input(text);
  if (lenientName) {
    input.in.setLenient(lenientName);
    testing::internal::CaptureStdout();
  }
  testing::internal::CaptureStderr();
  QvNode* root = nullptr;
  result.ok = QvScene::read(input.in, root, result.numRoots);
  result.errors = testing::internal::GetCapturedStderr();
  if (lenientName) result.errors = testing::internal::GetCapturedStdout() + result.errors;
  result.root.reset(root);
  result.defNames = input.in.getNumReferences();
  result.skippedNodes = input.in.skippedNodes();
  result.skippedFields = input.in.skippedFields();
  return result;
}

// The report postReadError writes for `message` at `line`.
inline std::string readError(const std::string& message, int line) {
  char location[64];
  std::snprintf(location, sizeof location, "\tOccurred at line %3d", line);
  return "VRML read error: " + message + "\n" + location + "\n";
}

template <typename Node>
Node* rootAs(const SceneRead& read) {
  return dynamic_cast<Node*>(read.root.get());
}

} // namespace quillmere::test
