// Decoding a track from memory: FFmpeg's demuxer and decoder over a memory
// reader, the resampler to float stereo, and a queue that evens out the
// decoder's frame sizes.
#include "tools/video/track_audio.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/mem.h>
}

namespace {

constexpr int kReadBufferBytes = 1 << 15;
constexpr double kPi = 3.14159265358979323846;

}  // namespace

TrackAudio::TrackAudio() = default;
TrackAudio::~TrackAudio() { av_channel_layout_uninit(&decodedLayout_); }

int TrackAudio::ReadBytes(void* opaque, uint8_t* buffer, int size) {
  auto* self = static_cast<TrackAudio*>(opaque);
  const size_t count = std::min(static_cast<size_t>(std::max(size, 0)), self->size_ - self->position_);
  if (count == 0) return AVERROR_EOF;
  std::memcpy(buffer, self->bytes_ + self->position_, count);
  self->position_ += count;
  return static_cast<int>(count);
}

int64_t TrackAudio::SeekBytes(void* opaque, int64_t offset, int whence) {
  auto* self = static_cast<TrackAudio*>(opaque);
  const auto size = static_cast<int64_t>(self->size_);
  int64_t target = 0;
  switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE: return size;
    case SEEK_SET: target = offset; break;
    case SEEK_CUR: target = static_cast<int64_t>(self->position_) + offset; break;
    case SEEK_END: target = size + offset; break;
    default: return AVERROR(EINVAL);
  }
  if (target < 0 || target > size) return AVERROR(EINVAL);
  self->position_ = static_cast<size_t>(target);
  return target;
}

bool TrackAudio::Open(const uint8_t* bytes, size_t size, int sampleRate, int64_t lengthSamples, int64_t fadeSamples,
                      std::string& error) {
  bytes_ = bytes;
  size_ = bytes ? size : 0;
  position_ = 0;
  sampleRate_ = sampleRate;
  lengthSamples_ = std::max<int64_t>(lengthSamples, 0);
  fadeSamples_ = std::clamp<int64_t>(fadeSamples, 0, lengthSamples_);

  auto* buffer = static_cast<unsigned char*>(av_malloc(kReadBufferBytes));
  AVIOContext* io =
      buffer ? avio_alloc_context(buffer, kReadBufferBytes, 0, this, &ReadBytes, nullptr, &SeekBytes) : nullptr;
  if (!io) {
    av_free(buffer);
    error = "out of memory";
    return false;
  }
  io_.reset(io);
  AVFormatContext* input = avformat_alloc_context();
  if (!input) {
    error = "out of memory";
    return false;
  }
  input->pb = io_.get();
  input->flags |= AVFMT_FLAG_CUSTOM_IO;
  // On failure avformat_open_input frees the context itself.
  int result = avformat_open_input(&input, nullptr, nullptr, nullptr);
  if (result < 0) {
    error = "not a sound file FFmpeg can read (" + avErrorText(result) + ")";
    return false;
  }
  input_.reset(input);
  result = avformat_find_stream_info(input, nullptr);
  const AVCodec* codec = nullptr;
  if (result >= 0) result = av_find_best_stream(input, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
  if (result < 0 || !codec) {
    error = "no sound stream found (" + avErrorText(result) + ")";
    return false;
  }
  streamIndex_ = result;
  decoder_.reset(avcodec_alloc_context3(codec));
  packet_.reset(av_packet_alloc());
  frame_.reset(av_frame_alloc());
  queue_.reset(av_audio_fifo_alloc(AV_SAMPLE_FMT_FLT, 2, 4096));
  if (!decoder_ || !packet_ || !frame_ || !queue_) {
    error = "out of memory";
    return false;
  }
  result = avcodec_parameters_to_context(decoder_.get(), input->streams[streamIndex_]->codecpar);
  if (result >= 0) result = avcodec_open2(decoder_.get(), codec, nullptr);
  if (result < 0) {
    error = std::string("can't start the ") + codec->name + " decoder (" + avErrorText(result) + ")";
    return false;
  }
  return true;
}

bool TrackAudio::Queue(AVFrame* frame, std::string& error) {
  // Made for the first frame's layout, rate and format, which the stream
  // header may not tell; a track that changes them midway is rare enough to
  // simply start a new resampler.
  const bool changed = resampler_ && (frame->sample_rate != decodedRate_ || frame->format != decodedFormat_ ||
                                      av_channel_layout_compare(&frame->ch_layout, &decodedLayout_) != 0);
  if (!resampler_ || changed) {
    SwrContext* resampler = nullptr;
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    int result = swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_FLT, sampleRate_, &frame->ch_layout,
                                     static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
    resampler_.reset(resampler);
    if (result >= 0) result = swr_init(resampler);
    if (result < 0) {
      error = "can't convert the track's sound (" + avErrorText(result) + ")";
      return false;
    }
    decodedRate_ = frame->sample_rate;
    decodedFormat_ = frame->format;
    av_channel_layout_uninit(&decodedLayout_);
    av_channel_layout_copy(&decodedLayout_, &frame->ch_layout);
  }
  return Convert(frame->extended_data, frame->nb_samples, error);
}

bool TrackAudio::Convert(uint8_t** input, int samples, std::string& error) {
  const int room = swr_get_out_samples(resampler_.get(), samples);
  if (room <= 0) return true;
  converted_.resize(static_cast<size_t>(room) * 2);
  auto* output = reinterpret_cast<uint8_t*>(converted_.data());
  const int made = swr_convert(resampler_.get(), &output, room, const_cast<const uint8_t**>(input), samples);
  if (made < 0) {
    error = "can't convert the track's sound (" + avErrorText(made) + ")";
    return false;
  }
  void* planes[1] = {converted_.data()};
  if (made > 0 && av_audio_fifo_write(queue_.get(), planes, made) < made) {
    error = "out of memory";
    return false;
  }
  return true;
}

bool TrackAudio::Fill(int wanted, std::string& error) {
  while (av_audio_fifo_size(queue_.get()) < wanted && !drained_) {
    if (!inputEnded_) {
      const int read = av_read_frame(input_.get(), packet_.get());
      if (read < 0) {
        // The end of the data, or damage the demuxer can't step over: either
        // way the track ends here, with what was decoded so far.
        inputEnded_ = true;
        avcodec_send_packet(decoder_.get(), nullptr);
      } else {
        int sent = 0;
        if (packet_->stream_index == streamIndex_) sent = avcodec_send_packet(decoder_.get(), packet_.get());
        av_packet_unref(packet_.get());
        // A damaged frame is skipped, as players do.
        if (sent < 0 && sent != AVERROR_INVALIDDATA && sent != AVERROR(EAGAIN)) {
          error = "can't decode the track (" + avErrorText(sent) + ")";
          return false;
        }
      }
    }
    for (;;) {
      const int received = avcodec_receive_frame(decoder_.get(), frame_.get());
      if (received == AVERROR(EAGAIN)) break;
      if (received == AVERROR_EOF) {
        if (resampler_ && !Convert(nullptr, 0, error)) return false;
        drained_ = true;
        break;
      }
      if (received == AVERROR_INVALIDDATA) continue;
      if (received < 0) {
        error = "can't decode the track (" + avErrorText(received) + ")";
        return false;
      }
      const bool queued = Queue(frame_.get(), error);
      av_frame_unref(frame_.get());
      if (!queued) return false;
    }
  }
  return true;
}

int TrackAudio::Read(float* interleaved, int count, std::string& error) {
  if (!queue_ || count <= 0) return 0;
  const int wanted = static_cast<int>(std::min<int64_t>(count, lengthSamples_ - delivered_));
  if (wanted <= 0) return 0;
  if (!Fill(wanted, error)) return -1;
  void* planes[1] = {interleaved};
  const int got = av_audio_fifo_read(queue_.get(), planes, std::min(wanted, av_audio_fifo_size(queue_.get())));
  if (got <= 0) return 0;
  // A raised-cosine fade over the last fadeSamples_ of the clip: no click
  // at the cut, and a gentle start to the fade.
  const int64_t fadeStart = lengthSamples_ - fadeSamples_;
  for (int i = 0; i < got; ++i) {
    const int64_t position = delivered_ + i;
    if (position < fadeStart) continue;
    const double progress = static_cast<double>(position - fadeStart) / static_cast<double>(fadeSamples_);
    const auto gain = static_cast<float>(0.5 * (1.0 + std::cos(kPi * progress)));
    interleaved[2 * i] *= gain;
    interleaved[2 * i + 1] *= gain;
  }
  delivered_ += got;
  return got;
}
