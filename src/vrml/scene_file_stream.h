// A scene file opened for the reader: the file itself, or, when it is
// gzip-compressed (as many .wrl and .wrz files are), its text decompressed
// into memory, read through the same FILE interface.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace quillmere {

// Whether the file starts as a gzip stream does (bytes 1F 8B).
bool isGzipFile(const std::string& path);

class SceneFileStream {
public:
  // Decompressed text beyond this is refused: a small hostile file must not
  // expand into all memory.
  static constexpr std::size_t kMaxDecompressedBytes = std::size_t(1) << 30;

  // Opens `path`. file() is null when it cannot be opened (systemError()
  // holds errno; a folder gives EISDIR) or, compressed, not decompressed
  // (damage() says why).
  explicit SceneFileStream(const std::string& path);
  ~SceneFileStream();
  SceneFileStream(const SceneFileStream&) = delete;
  SceneFileStream& operator=(const SceneFileStream&) = delete;

  std::FILE* file() const { return file_; }
  int systemError() const { return systemError_; }
  const std::string& damage() const { return damage_; }

private:
  void decompress(const std::string& path);

  std::FILE* file_ = nullptr;
  std::vector<char> text_; // the decompressed text file_ reads
  int systemError_ = 0;
  std::string damage_;
};

} // namespace quillmere
