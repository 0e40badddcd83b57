// Writes frames read back from OpenGL as PNG files through MagickCore, and
// makes an animated GIF of a run of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillmere {

// `rgb` holds width × height pixels, bottom row first as glReadPixels
// delivers them; the file shows the top row first. False, with a message on
// standard error, when the file cannot be written.
bool writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

// Reads the current read buffer's viewport region into `rgb` (bottom row first).
void readViewport(int x, int y, int width, int height, std::vector<std::uint8_t>& rgb);

} // namespace quillmere
