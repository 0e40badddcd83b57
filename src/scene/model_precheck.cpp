#include "scene/model_precheck.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace quillmere {

namespace {

// A PLY header is lines of text from "ply" to "end_header"; Assimp needs to
// find that last line.
bool precheckPly(const unsigned char* bytes, std::size_t size, std::string& error) {
  const char* text = reinterpret_cast<const char*>(bytes);
  if (size < 3 || std::memcmp(text, "ply", 3) != 0) {
    error = "a PLY file must start with \"ply\"";
    return false;
  }
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i <= size; ++i) {
    if (i < size && text[i] != '\n') continue;
    std::size_t end = i;
    while (end > lineStart && (text[end - 1] == '\r' || text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    if (end - lineStart == 10 && std::memcmp(text + lineStart, "end_header", 10) == 0) return true;
    lineStart = i + 1;
  }
  error = "the PLY header has no end_header line within its first MB";
  return false;
}

} // namespace

bool precheckModel(const unsigned char* bytes, std::size_t size, const std::string& extension, std::string& error) {
  if (size > kPrecheckBytes) size = kPrecheckBytes;
  if (extension == "ply") return precheckPly(bytes, size, error);
  return true;
}

bool precheckModelFile(const std::string& path, const std::string& extension, std::string& error) {
  if (extension != "ply") return true;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return true;
  std::vector<unsigned char> start(kPrecheckBytes);
  const std::size_t read = std::fread(start.data(), 1, start.size(), file);
  std::fclose(file);
  // Binary PLY bodies may follow the header: only the header is looked at.
  return precheckModel(start.data(), read, extension, error);
}

} // namespace quillmere
