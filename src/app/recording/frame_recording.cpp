#include "app/recording/frame_recording.h"

#include "app/command_line.h"
#include "app/recording/png_writer.h"

#include <cstdio>
#include <filesystem>

namespace quillmere {

namespace {

constexpr float kFallbackFramesPerSecond = 25.0f;

} // namespace

MovieSettings movieSettingsFor(const CommandLine& line, float parameterFrameRate, int width, int height) {
  MovieSettings movie;
  movie.width = width;
  movie.height = height;
  const float rate = line.framesPerSecond > 0 ? line.framesPerSecond : parameterFrameRate;
  movie.framesPerSecond = rate >= 0.1f && rate <= 1000.0f ? rate : kFallbackFramesPerSecond;
  movie.quality = line.quality;
  return movie;
}

bool FrameRecording::open(const std::string& target, const MovieSettings& settings) {
  target_ = target;
  if (target.empty()) return true;
  if (movieFormatOf(target) != MovieFormat::None) {
    movieWidth_ = settings.width;
    movieHeight_ = settings.height;
    return movie_.open(target, settings);
  }
  std::error_code error;
  std::filesystem::create_directories(target, error);
  if (error) {
    std::fprintf(stderr, "quillmere: cannot create %s: %s\n", target.c_str(), error.message().c_str());
    return false;
  }
  return true;
}

bool FrameRecording::write(int frameInFlight, int width, int height, const std::vector<std::uint8_t>& rgb) {
  bool ok = writeFrame(frameInFlight, width, height, rgb);
  failed_ = failed_ || !ok;
  return ok;
}

bool FrameRecording::writeFrame(int frameInFlight, int width, int height, const std::vector<std::uint8_t>& rgb) {
  if (target_.empty()) return true;
  if (movieFormatOf(target_) != MovieFormat::None) {
    if (width != movieWidth_ || height != movieHeight_) {
      std::fprintf(stderr, "Could not record the movie %s: the frame size changed from %dx%d to %dx%d\n", target_.c_str(),
                   movieWidth_, movieHeight_, width, height);
      return false;
    }
    return movie_.writeFrame(rgb);
  }
  char name[32];
  std::snprintf(name, sizeof name, "/frame-%05d.png", frameInFlight);
  return writePng(target_ + name, width, height, rgb);
}

bool FrameRecording::finish() { return movie_.finish(); }

} // namespace quillmere
