#include "gl_test_window.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>

namespace quillmere::test {

namespace {

// PNG with stored (uncompressed) deflate blocks: enough for a test snapshot.
std::uint32_t crc32(const std::uint8_t* data, std::size_t length, std::uint32_t crc = 0) {
  crc = ~crc;
  for (std::size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(value >> shift));
}

void writeChunk(std::FILE* file, const char* type, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> chunk;
  putBigEndian(chunk, std::uint32_t(data.size()));
  chunk.insert(chunk.end(), type, type + 4);
  chunk.insert(chunk.end(), data.begin(), data.end());
  putBigEndian(chunk, crc32(chunk.data() + 4, chunk.size() - 4));
  std::fwrite(chunk.data(), 1, chunk.size(), file);
}

std::vector<std::uint8_t> zlibStored(const std::vector<std::uint8_t>& raw) {
  std::vector<std::uint8_t> out = {0x78, 0x01};
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  for (std::size_t start = 0; start < raw.size() || start == 0; start += 65535) {
    std::size_t length = std::min<std::size_t>(65535, raw.size() - start);
    bool last = start + length >= raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(std::uint8_t(length));
    out.push_back(std::uint8_t(length >> 8));
    out.push_back(std::uint8_t(~length));
    out.push_back(std::uint8_t(~length >> 8));
    out.insert(out.end(), raw.begin() + long(start), raw.begin() + long(start + length));
    if (last) break;
  }
  putBigEndian(out, (b << 16) | a);
  return out;
}

} // namespace

bool openGLTestWindow() {
  static int window = 0;
  if (window) return true;
  if (!std::getenv("DISPLAY")) return false;
  int argc = 1;
  char name[] = "display_gl_tests";
  char* argv[] = {name, nullptr};
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA | GLUT_DEPTH);
  glutInitWindowSize(kGLTestSize, kGLTestSize);
  window = glutCreateWindow("Quillmere GL test");
  return window != 0;
}

Frame Frame::readBack() {
  Frame frame;
  frame.rgb_.resize(std::size_t(3 * kGLTestSize * kGLTestSize));
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kGLTestSize, kGLTestSize, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb_.data());
  return frame;
}

Pixel Frame::at(int x, int y) const {
  const std::uint8_t* p = &rgb_[std::size_t(3 * (y * kGLTestSize + x))];
  return {p[0], p[1], p[2]};
}

bool Frame::centroidOfDrawn(Pixel background, float& x, float& y) const {
  double sumX = 0, sumY = 0;
  long count = 0;
  for (int row = 0; row < kGLTestSize; ++row)
    for (int column = 0; column < kGLTestSize; ++column) {
      Pixel p = at(column, row);
      if (p.r == background.r && p.g == background.g && p.b == background.b) continue;
      sumX += column + 0.5;
      sumY += row + 0.5;
      ++count;
    }
  if (count == 0) return false;
  x = float(sumX / double(count));
  y = float(sumY / double(count));
  return true;
}

void Frame::saveForInspection(const std::string& name) const {
  const char* folder = std::getenv("QUILLMERE_TEST_IMAGES");
  if (!folder) return;
  std::vector<std::uint8_t> raw;
  for (int row = kGLTestSize - 1; row >= 0; --row) {
    raw.push_back(0); // filter: none
    const std::uint8_t* line = &rgb_[std::size_t(3 * row * kGLTestSize)];
    raw.insert(raw.end(), line, line + 3 * kGLTestSize);
  }
  std::vector<std::uint8_t> header;
  putBigEndian(header, kGLTestSize);
  putBigEndian(header, kGLTestSize);
  header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
  std::FILE* file = std::fopen((std::string(folder) + "/" + name + ".png").c_str(), "wb");
  if (!file) return;
  const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::fwrite(signature, 1, 8, file);
  writeChunk(file, "IHDR", header);
  writeChunk(file, "IDAT", zlibStored(raw));
  writeChunk(file, "IEND", {});
  std::fclose(file);
}

} // namespace quillmere::test
