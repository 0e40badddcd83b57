// Where --record sends the frames of a run: a movie file (by its
// extension, see movie_writer.h) or a folder of PNG files named by the
// frame's number in the flight (frame-00001.png, ...).
#pragma once

#include "app/recording/movie_writer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillmere {

struct CommandLine;

// The movie settings of a run: --fps, else the parameter file's frame rate
// (25 when that is no rate a player takes), and --quality.
MovieSettings movieSettingsFor(const CommandLine& line, float parameterFrameRate, int width, int height);

class FrameRecording {
public:
  // Creates the folder, or the movie for frames of settings' size. An empty
  // target records nothing. False, with a message naming the target.
  bool open(const std::string& target, const MovieSettings& settings);
  bool failed() const { return failed_; } // a frame could not be written

  // Writes frame `frameInFlight` (from 1) of width × height RGB pixels,
  // bottom row first. False, with a message, when it cannot be written.
  bool write(int frameInFlight, int width, int height, const std::vector<std::uint8_t>& rgb);
  // Ends a movie playable up to its last frame; nothing for PNG frames.
  bool finish();

private:
  bool writeFrame(int frameInFlight, int width, int height, const std::vector<std::uint8_t>& rgb);

  std::string target_;     // the folder or the movie file; empty: not recording
  MovieWriter movie_;
  int movieWidth_ = 0, movieHeight_ = 0;
  bool failed_ = false;
};

} // namespace quillmere
