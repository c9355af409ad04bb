// Every FFmpeg object the video code holds, as a std::unique_ptr with the
// library's own release call, and FFmpeg's error codes as text.
#pragma once

#include <memory>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

struct CodecContextDeleter {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameDeleter {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketDeleter {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScalerDeleter {
  void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};
struct ResamplerDeleter {
  void operator()(SwrContext* resampler) const { swr_free(&resampler); }
};
struct AudioFifoDeleter {
  void operator()(AVAudioFifo* fifo) const { av_audio_fifo_free(fifo); }
};
// An output context; its AVIOContext belongs to whoever made it.
struct OutputFormatDeleter {
  void operator()(AVFormatContext* context) const { avformat_free_context(context); }
};
struct InputFormatDeleter {
  void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
// A custom AVIOContext and the buffer it may have reallocated.
struct IoContextDeleter {
  void operator()(AVIOContext* io) const {
    av_freep(&io->buffer);
    avio_context_free(&io);
  }
};

using CodecContextHandle = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using FrameHandle = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketHandle = std::unique_ptr<AVPacket, PacketDeleter>;
using ScalerHandle = std::unique_ptr<SwsContext, ScalerDeleter>;
using ResamplerHandle = std::unique_ptr<SwrContext, ResamplerDeleter>;
using AudioFifoHandle = std::unique_ptr<AVAudioFifo, AudioFifoDeleter>;
using OutputFormatHandle = std::unique_ptr<AVFormatContext, OutputFormatDeleter>;
using InputFormatHandle = std::unique_ptr<AVFormatContext, InputFormatDeleter>;
using IoContextHandle = std::unique_ptr<AVIOContext, IoContextDeleter>;

inline std::string avErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}
