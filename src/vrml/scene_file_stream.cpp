#include "vrml/scene_file_stream.h"

#include <cerrno>
#include <sys/stat.h>
#include <zlib.h>

namespace quillmere {

namespace {

// Reads the first two bytes of `file`: a gzip stream starts with 1F 8B.
bool startsAsGzip(std::FILE* file) {
  unsigned char magic[2] = {0, 0};
  return std::fread(magic, 1, 2, file) == 2 && magic[0] == 0x1f && magic[1] == 0x8b;
}

} // namespace

bool isGzipFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  const bool gzip = startsAsGzip(file);
  std::fclose(file);
  return gzip;
}

SceneFileStream::SceneFileStream(const std::string& path) {
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) {
    systemError_ = errno;
    return;
  }
  struct stat status;
  if (fstat(fileno(file_), &status) == 0 && S_ISDIR(status.st_mode)) {
    std::fclose(file_);
    file_ = nullptr;
    systemError_ = EISDIR;
    return;
  }
  if (!startsAsGzip(file_)) {
    std::rewind(file_);
    return;
  }
  std::fclose(file_);
  file_ = nullptr;
  decompress(path);
}

SceneFileStream::~SceneFileStream() {
  if (file_) std::fclose(file_);
}

void SceneFileStream::decompress(const std::string& path) {
  gzFile gz = gzopen(path.c_str(), "rb");
  if (!gz) {
    systemError_ = errno ? errno : ENOMEM;
    return;
  }
  constexpr unsigned kChunk = 1u << 16;
  for (;;) {
    if (text_.size() + kChunk > kMaxDecompressedBytes) {
      damage_ = "it decompresses to more than 1 GB";
      break;
    }
    const std::size_t before = text_.size();
    text_.resize(before + kChunk);
    const int got = gzread(gz, text_.data() + before, kChunk);
    text_.resize(before + std::size_t(got > 0 ? got : 0));
    // A damaged stream fails the read; one cut short ends with a buffer error.
    int code = Z_OK;
    const char* message = gzerror(gz, &code);
    if (got < 0 || (code != Z_OK && code != Z_STREAM_END)) {
      std::string reason = message && *message ? message : "zlib error";
      if (reason.rfind(path + ": ", 0) == 0) reason.erase(0, path.size() + 2); // zlib names the file too
      damage_ = "the compressed data is damaged (" + reason + ")";
      break;
    }
    if (got == 0) break;
  }
  gzclose(gz);
  if (!damage_.empty()) {
    text_.clear();
    return;
  }
  // fmemopen wants at least one byte; an empty file reads as one blank.
  if (text_.empty()) text_.push_back(' ');
  file_ = fmemopen(text_.data(), text_.size(), "r");
  if (!file_) systemError_ = errno ? errno : ENOMEM;
}

} // namespace quillmere
