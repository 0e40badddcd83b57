#include "app/recording/movie_writer.h"

#include "support/file_name.h"

#include <cstdio>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace quillmere {

namespace {

constexpr int kDefaultH264Quality = 23; // x264's own default
constexpr int kDefaultVp9Quality = 31;  // the constant quality libvpx's guide suggests for HD
constexpr int kMostH264Quality = 51;
constexpr int kMostVp9Quality = 63;

std::string ffmpegReason(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

} // namespace

MovieFormat movieFormatOf(const std::string& path) {
  if (endsWithNoCase(path, ".mp4")) return MovieFormat::Mp4;
  if (endsWithNoCase(path, ".mkv")) return MovieFormat::Matroska;
  if (endsWithNoCase(path, ".webm")) return MovieFormat::WebM;
  return MovieFormat::None;
}

// Everything FFmpeg hands out for one movie; released in the destructor.
struct MovieWriter::Encoder {
  std::string path;
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVStream* stream = nullptr;
  AVFrame* frame = nullptr;     // yuv420p, reused for every frame
  AVPacket* packet = nullptr;   // reused
  SwsContext* converter = nullptr;
  int inputWidth = 0, inputHeight = 0; // of the RGB frames handed in
  int framesWritten = 0;
  bool finished = false;
  bool removeFile = false;    // the file was created by an open that then failed

  ~Encoder() {
    sws_freeContext(converter);
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&codec);
    if (format) {
      if (format->pb && !(format->oformat->flags & AVFMT_NOFILE)) avio_closep(&format->pb);
      avformat_free_context(format);
    }
    if (removeFile) std::remove(path.c_str()); // no half-written header left behind
  }

  bool fail(const char* what, int code) {
    std::fprintf(stderr, "Could not record the movie %s: %s: %s\n", path.c_str(), what, ffmpegReason(code).c_str());
    return false;
  }

  // Hands every packet the encoder has ready to the muxer.
  bool drain() {
    for (;;) {
      int status = avcodec_receive_packet(codec, packet);
      if (status == AVERROR(EAGAIN) || status == AVERROR_EOF) return true;
      if (status < 0) return fail("encoding failed", status);
      av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      status = av_interleaved_write_frame(format, packet); // takes the packet's data
      if (status < 0) return fail("writing failed", status);
    }
  }
};

MovieWriter::MovieWriter() = default;

MovieWriter::~MovieWriter() {
  if (isOpen()) finish();
}

bool MovieWriter::isOpen() const { return encoder_ && !encoder_->finished; }

int MovieWriter::framesWritten() const { return encoder_ ? encoder_->framesWritten : 0; }

bool MovieWriter::open(const std::string& path, const MovieSettings& settings) {
  // A movie that fails to open leaves the writer closed.
  encoder_.reset();
  auto owner = std::make_unique<Encoder>();
  Encoder& e = *owner;
  e.path = path;
  e.inputWidth = settings.width;
  e.inputHeight = settings.height;
  const MovieFormat format = movieFormatOf(path);
  const bool vp9 = format == MovieFormat::WebM;

  av_log_set_level(AV_LOG_ERROR); // the encoders' statistics are not ours to print

  // The container, by the file's extension.
  int status = avformat_alloc_output_context2(&e.format, nullptr, nullptr, path.c_str());
  if (status < 0 || !e.format) return e.fail("no container for this file name", status < 0 ? status : AVERROR(EINVAL));

  // The encoder and its settings.
  const std::string encoderName = !settings.encoderName.empty() ? settings.encoderName : vp9 ? "libvpx-vp9" : "libx264";
  const AVCodec* codec = avcodec_find_encoder_by_name(encoderName.c_str());
  if (!codec) return e.fail(("no encoder " + encoderName).c_str(), AVERROR_ENCODER_NOT_FOUND);
  const int quality = settings.quality >= 0 ? settings.quality : vp9 ? kDefaultVp9Quality : kDefaultH264Quality;
  const int mostQuality = vp9 ? kMostVp9Quality : kMostH264Quality;
  if (quality > mostQuality)
    return e.fail(("quality " + std::to_string(quality) + " is above " + std::to_string(mostQuality)).c_str(),
                  AVERROR(EINVAL));
  e.codec = avcodec_alloc_context3(codec);
  e.stream = avformat_new_stream(e.format, nullptr);
  if (!e.codec || !e.stream) return e.fail("setting up", AVERROR(ENOMEM));
  e.codec->width = settings.width & ~1; // yuv420p halves both directions
  e.codec->height = settings.height & ~1;
  if (e.codec->width < 2 || e.codec->height < 2) return e.fail("frame too small", AVERROR(EINVAL));
  const AVRational rate = av_d2q(settings.framesPerSecond, 100000);
  e.codec->time_base = av_inv_q(rate);
  e.codec->framerate = rate;
  e.codec->pix_fmt = AV_PIX_FMT_YUV420P;
  e.codec->colorspace = AVCOL_SPC_BT709;
  e.codec->color_primaries = AVCOL_PRI_BT709;
  e.codec->color_trc = AVCOL_TRC_IEC61966_2_1; // sRGB, as drawn
  e.codec->color_range = AVCOL_RANGE_MPEG;
  if (e.format->oformat->flags & AVFMT_GLOBALHEADER) e.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  av_opt_set_int(e.codec->priv_data, "crf", quality, 0);
  if (vp9) {
    e.codec->bit_rate = 0;                              // constant quality, no bit-rate target
    av_opt_set(e.codec->priv_data, "deadline", "good", 0);
    av_opt_set_int(e.codec->priv_data, "cpu-used", 4, 0); // libvpx's speed for files, not its slowest
    av_opt_set_int(e.codec->priv_data, "row-mt", 1, 0);
  }
  status = avcodec_open2(e.codec, codec, nullptr);
  if (status < 0) return e.fail(("cannot open the encoder " + encoderName).c_str(), status);
  status = avcodec_parameters_from_context(e.stream->codecpar, e.codec);
  if (status < 0) return e.fail("setting up", status);
  e.stream->time_base = e.codec->time_base;
  e.stream->avg_frame_rate = rate;

  // The file and its header.
  if (!(e.format->oformat->flags & AVFMT_NOFILE)) {
    status = avio_open(&e.format->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (status < 0) return e.fail("cannot open the file", status);
    e.removeFile = true;
  }
  status = avformat_write_header(e.format, nullptr);
  if (status < 0) return e.fail("cannot write the header", status);

  // The reused frame, packet and the RGB to BT.709 converter.
  e.frame = av_frame_alloc();
  e.packet = av_packet_alloc();
  if (!e.frame || !e.packet) return e.fail("setting up", AVERROR(ENOMEM));
  e.frame->format = e.codec->pix_fmt;
  e.frame->width = e.codec->width;
  e.frame->height = e.codec->height;
  status = av_frame_get_buffer(e.frame, 0);
  if (status < 0) return e.fail("setting up", status);
  e.converter = sws_getContext(e.codec->width, e.codec->height, AV_PIX_FMT_RGB24, e.codec->width, e.codec->height,
                               AV_PIX_FMT_YUV420P, SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
  if (!e.converter) return e.fail("no RGB to yuv420p converter", AVERROR(EINVAL));
  const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
  sws_setColorspaceDetails(e.converter, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16); // full-range RGB in, video range out
  e.removeFile = false;
  encoder_ = std::move(owner);
  return true;
}

bool MovieWriter::writeFrame(const std::vector<std::uint8_t>& rgb) {
  if (!isOpen()) return false;
  Encoder& e = *encoder_;
  const std::size_t rowBytes = std::size_t(e.inputWidth) * 3;
  if (rgb.size() < rowBytes * std::size_t(e.inputHeight)) {
    std::fprintf(stderr, "Could not record the movie %s: a frame of the wrong size\n", e.path.c_str());
    return false;
  }
  int status = av_frame_make_writable(e.frame);
  if (status < 0) return e.fail("setting up", status);
  // The top row first: start at the last row and step backwards. An odd
  // height leaves out the bottom row, an odd width the last column.
  const std::uint8_t* topRow = rgb.data() + rowBytes * std::size_t(e.inputHeight - 1);
  const std::uint8_t* const source[1] = {topRow};
  const int sourceStride[1] = {-int(rowBytes)};
  sws_scale(e.converter, source, sourceStride, 0, e.codec->height, e.frame->data, e.frame->linesize);
  e.frame->pts = e.framesWritten;
  status = avcodec_send_frame(e.codec, e.frame);
  if (status < 0) return e.fail("encoding failed", status);
  ++e.framesWritten;
  return e.drain();
}

bool MovieWriter::finish() {
  if (!isOpen()) return true;
  Encoder& e = *encoder_;
  e.finished = true;
  bool ok = true;
  int status = avcodec_send_frame(e.codec, nullptr); // flush
  if (status < 0) ok = e.fail("encoding failed", status);
  ok = ok && e.drain();
  status = av_write_trailer(e.format);
  if (status < 0) ok = e.fail("writing the trailer failed", status);
  if (e.format->pb && !(e.format->oformat->flags & AVFMT_NOFILE)) {
    avio_flush(e.format->pb);
    if (e.format->pb->error < 0) ok = e.fail("writing failed", e.format->pb->error);
    status = avio_closep(&e.format->pb);
    if (status < 0 && ok) ok = e.fail("closing failed", status);
  }
  return ok;
}

} // namespace quillmere
