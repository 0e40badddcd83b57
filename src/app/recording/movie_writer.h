// Encodes frames read back from OpenGL into a movie file through FFmpeg's
// libraries: H.264 (yuv420p) in .mp4 and .mkv, VP9 (yuv420p) in .webm, with
// a constant rate factor. Pixels are sRGB, tagged as BT.709 video. Frame i
// (from 0) is shown at i / frame rate seconds.
//
// Not done: audio, other codecs on the command line, sizes above the codec's
// limits. yuv420p needs even sizes: an odd width or height loses its last
// column or bottom row.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quillmere {

enum class MovieFormat {
  None,     // not a movie: a folder of PNG frames
  Mp4,      // .mp4, H.264
  Matroska, // .mkv, H.264
  WebM,     // .webm, VP9
};

// The format a --record target asks for, by its extension (any case).
MovieFormat movieFormatOf(const std::string& path);

struct MovieSettings {
  int width = 0, height = 0;       // of the frames handed in, pixels
  double framesPerSecond = 25.0;
  int quality = -1;                // constant rate factor; -1: 23 for H.264, 31 for VP9
  std::string encoderName;         // FFmpeg encoder; empty: libx264 or libvpx-vp9 by format
};

class MovieWriter {
public:
  MovieWriter();
  ~MovieWriter(); // finishes an open movie
  MovieWriter(const MovieWriter&) = delete;
  MovieWriter& operator=(const MovieWriter&) = delete;

  // Creates the file and starts the encoder. False, with a message naming
  // the file and FFmpeg's reason, when the encoder or the file cannot be opened.
  bool open(const std::string& path, const MovieSettings& settings);
  // Encodes one frame of width × height RGB pixels, bottom row first as
  // glReadPixels delivers them. False, with a message, when writing fails.
  bool writeFrame(const std::vector<std::uint8_t>& rgb);
  // Drains the encoder and writes the trailer: afterwards the file plays up
  // to the last frame written. False, with a message, when that fails.
  bool finish();

  bool isOpen() const;
  int framesWritten() const;

private:
  struct Encoder;
  std::unique_ptr<Encoder> encoder_;
};

} // namespace quillmere
