#include "tools/VideoFile.h"

#include "platform/FatalError.h"

#if OMBREVALE_VIDEO
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}
#endif

namespace ombrevale {

#if OMBREVALE_VIDEO

namespace {

std::string Why(int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  return text;
}

}  // namespace

struct VideoFile::Parts {
  std::string path;
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVStream* stream = nullptr;
  SwsContext* scaler = nullptr;
  AVFrame* frame = nullptr;
  AVPacket* packet = nullptr;
  int64_t next = 0;
  bool open = false;

  [[noreturn]] void Fail(const std::string& what, int error) const {
    throw FatalError("cannot write the video " + path + ": " + what + " (" + Why(error) + ")");
  }

  // Hands `input` (none: the end) to the encoder and writes every packet it gives back.
  void Encode(const AVFrame* input) {
    int result = avcodec_send_frame(codec, input);
    if (result < 0) Fail("the encoder refused a frame", result);
    while ((result = avcodec_receive_packet(codec, packet)) >= 0) {
      av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      result = av_interleaved_write_frame(format, packet);
      if (result < 0) Fail("writing failed", result);
    }
    if (result != AVERROR(EAGAIN) && result != AVERROR_EOF) Fail("the encoder failed", result);
  }

  ~Parts() {
    av_packet_free(&packet);
    av_frame_free(&frame);
    sws_freeContext(scaler);
    avcodec_free_context(&codec);
    if (format != nullptr && open) avio_closep(&format->pb);
    avformat_free_context(format);
  }
};

VideoFile::VideoFile(const std::string& path, int width, int height, int framesPerSecond)
    : parts_(std::make_unique<Parts>()) {
  Parts& p = *parts_;
  p.path = path;
  av_log_set_level(AV_LOG_ERROR);  // the libraries' news is not the renderer's
  int result = avformat_alloc_output_context2(&p.format, nullptr, nullptr, path.c_str());
  if (result < 0 || p.format == nullptr) p.Fail("no video format goes by that name", result);
  const AVCodec* encoder = avcodec_find_encoder(p.format->oformat->video_codec);
  if (encoder == nullptr) p.Fail("no encoder for its format", AVERROR_ENCODER_NOT_FOUND);
  p.stream = avformat_new_stream(p.format, nullptr);
  p.codec = avcodec_alloc_context3(encoder);
  if (p.stream == nullptr || p.codec == nullptr) p.Fail("out of memory", AVERROR(ENOMEM));
  p.codec->width = width;
  p.codec->height = height;
  p.codec->time_base = {1, framesPerSecond};
  p.codec->framerate = {framesPerSecond, 1};
  p.codec->pix_fmt = AV_PIX_FMT_YUV420P;
  p.codec->gop_size = framesPerSecond * 2;
  // The vision's noise is fine detail: a high quality, at a bit rate left to the encoder.
  av_opt_set(p.codec->priv_data, "crf", "20", 0);
  av_opt_set(p.codec->priv_data, "deadline", "realtime", 0);
  av_opt_set(p.codec->priv_data, "cpu-used", "8", 0);
  av_opt_set(p.codec->priv_data, "row-mt", "1", 0);
  if (p.format->oformat->flags & AVFMT_GLOBALHEADER) p.codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if ((result = avcodec_open2(p.codec, encoder, nullptr)) < 0) p.Fail("the encoder", result);
  if ((result = avcodec_parameters_from_context(p.stream->codecpar, p.codec)) < 0)
    p.Fail("the stream", result);
  p.stream->time_base = p.codec->time_base;
  if ((result = avio_open(&p.format->pb, path.c_str(), AVIO_FLAG_WRITE)) < 0)
    p.Fail("the file", result);
  p.open = true;
  if ((result = avformat_write_header(p.format, nullptr)) < 0) p.Fail("its header", result);
  // A pixel is 0x00RRGGBB: in memory, on every desktop this builds for, B, G, R, then nothing.
  p.scaler = sws_getContext(width, height, AV_PIX_FMT_BGR0, width, height, AV_PIX_FMT_YUV420P,
                            SWS_BILINEAR, nullptr, nullptr, nullptr);
  p.frame = av_frame_alloc();
  p.packet = av_packet_alloc();
  if (p.scaler == nullptr || p.frame == nullptr || p.packet == nullptr)
    p.Fail("out of memory", AVERROR(ENOMEM));
  p.frame->format = AV_PIX_FMT_YUV420P;
  p.frame->width = width;
  p.frame->height = height;
  if ((result = av_frame_get_buffer(p.frame, 0)) < 0) p.Fail("a frame", result);
}

VideoFile::~VideoFile() = default;

void VideoFile::Add(const Surface& frame) {
  Parts& p = *parts_;
  const int result = av_frame_make_writable(p.frame);
  if (result < 0) p.Fail("a frame", result);
  const auto* pixels = reinterpret_cast<const uint8_t*>(frame.Pixels().data());
  const uint8_t* planes[1] = {pixels};
  const int strides[1] = {frame.Width() * 4};
  sws_scale(p.scaler, planes, strides, 0, frame.Height(), p.frame->data, p.frame->linesize);
  p.frame->pts = p.next++;
  p.Encode(p.frame);
}

void VideoFile::Close() {
  Parts& p = *parts_;
  p.Encode(nullptr);
  const int result = av_write_trailer(p.format);
  if (result < 0) p.Fail("its end", result);
}

#else

struct VideoFile::Parts {};

VideoFile::VideoFile(const std::string& path, int, int, int) {
  throw FatalError("cannot write the video " + path +
                   ": this renderer was built without FFmpeg's libraries");
}
VideoFile::~VideoFile() = default;
void VideoFile::Add(const Surface&) {}
void VideoFile::Close() {}

#endif

}  // namespace ombrevale
