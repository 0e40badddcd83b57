// A minimal PNG writer (8-bit, stored deflate blocks): what a test's picture holds is
// known without the decoder under test; the drawing tests save snapshots with it too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillmere::test {

// Writes `width` × `height` pixels of `channels` bytes each (1 grey, 2 grey
// and alpha, 3 RGB, 4 RGBA), given top row first as PNG stores them.
// `claimedWidth` and `claimedHeight`, when positive, replace the size in the
// header (a file that claims more pixels than it holds). False when the file
// cannot be written.
bool writePng(const std::string& path, int width, int height, int channels, const std::vector<std::uint8_t>& topRowFirst,
              int claimedWidth = 0, int claimedHeight = 0);

// A folder for one test's files, under the test temporary folder.
std::string scratchFolder(const std::string& name);

} // namespace quillmere::test
