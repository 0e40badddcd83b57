#include "png_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <zlib.h>
#include <unistd.h>

#include <cstdio>
#include <cerrno>

namespace quillmere::test {

namespace {

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(value >> shift));
}

void writeChunk(std::FILE* file, const char* type, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> chunk;
  putBigEndian(chunk, std::uint32_t(data.size()));
  chunk.insert(chunk.end(), type, type + 4);
  chunk.insert(chunk.end(), data.begin(), data.end());
  putBigEndian(chunk, std::uint32_t(crc32(0, chunk.data() + 4, uInt(chunk.size() - 4))));
  std::fwrite(chunk.data(), 1, chunk.size(), file);
}

// The rows as a zlib stream of stored (uncompressed) blocks.
std::vector<std::uint8_t> zlibStored(const std::vector<std::uint8_t>& raw) {
  uLongf size = compressBound(uLong(raw.size()));
  std::vector<std::uint8_t> out(size);
  compress2(out.data(), &size, raw.data(), uLong(raw.size()), Z_NO_COMPRESSION);
  out.resize(size);
  return out;
}

} // namespace

bool writePng(const std::string& path, int width, int height, int channels, const std::vector<std::uint8_t>& topRowFirst,
              int claimedWidth, int claimedHeight) {
  static const std::uint8_t kColourType[5] = {0, 0, 4, 2, 6}; // by channel count
  if (channels < 1 || channels > 4) return false;
  std::vector<std::uint8_t> raw;
  const std::size_t rowBytes = std::size_t(width) * std::size_t(channels);
  for (int row = 0; row < height; ++row) {
    raw.push_back(0); // filter: none
    const std::uint8_t* line = &topRowFirst[std::size_t(row) * rowBytes];
    raw.insert(raw.end(), line, line + rowBytes);
  }
  std::vector<std::uint8_t> header;
  putBigEndian(header, std::uint32_t(claimedWidth > 0 ? claimedWidth : width));
  putBigEndian(header, std::uint32_t(claimedHeight > 0 ? claimedHeight : height));
  header.insert(header.end(), {8, kColourType[channels], 0, 0, 0});
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::fwrite(signature, 1, 8, file);
  writeChunk(file, "IHDR", header);
  writeChunk(file, "IDAT", zlibStored(raw));
  writeChunk(file, "IEND", {});
  return std::fclose(file) == 0;
}

std::string scratchFolder(const std::string& name) {
  // The process id keeps parallel test processes apart; a test writes its
  // files afresh, so a folder left by an earlier run of the same id is reused.
  std::string folder = testing::TempDir() + "quillmere_" + name + "_" + std::to_string(getpid());
  if (mkdir(folder.c_str(), 0700) != 0) {
    EXPECT_EQ(errno, EEXIST) << folder;
  }
  return folder;
}

} // namespace quillmere::test
