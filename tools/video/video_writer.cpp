// Encoding choices and the FFmpeg calls behind VideoWriter.
//
// The pictures are glowing shapes on black: long, smooth, dark gradients that
// band easily. WebM and Matroska get AV1 (SVT-AV1) at 10 bits per sample,
// which keeps every level of the 8-bit source through the colour conversion
// and leaves the encoder room below one source step; SVT-AV1 is also the
// fastest of the open encoders here for a given quality. MP4 gets 8-bit
// H.264, which every player and phone decodes; its banding is held back with
// x264's adaptive quantisation biased towards dark areas and a low CRF. Both
// run in constant-quality mode: the motion varies too much from screen to
// screen for a fixed bit rate to suit them all.
#include "tools/video/video_writer.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
}

#include "tools/video/track_audio.h"

namespace {

// SVT-AV1's constant-quality level (0 best to 63) and preset (0 slowest to 13).
constexpr const char* kAv1Quality = "28";
constexpr const char* kAv1Preset = "10";
// x264's constant-quality level (0 lossless to 51) and preset.
constexpr const char* kH264Quality = "18";
constexpr const char* kH264Preset = "fast";
constexpr int kOpusBitRate = 160000;
constexpr int kAacBitRate = 192000;
// Two seconds between key frames, so players seek quickly.
constexpr int kKeyFrameSeconds = 2;
constexpr int kEncoderThreads = 2;

// SVT-AV1 moves its threads (and the thread that starts it) to real-time
// priority when it runs as root, which starves everything else on the
// machine for as long as the encoding lasts. Without CAP_SYS_NICE in effect
// that request fails and the threads stay at normal priority; the threads
// started from this one inherit the reduced set. The capability stays
// permitted, so nothing is given up for good.
void refuseRealTimePriority() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
  if (syscall(SYS_capget, &header, data) != 0) return;
  const unsigned bit = 1u << (CAP_SYS_NICE % 32);
  if (!(data[CAP_SYS_NICE / 32].effective & bit)) return;
  data[CAP_SYS_NICE / 32].effective &= ~bit;
  syscall(SYS_capset, &header, data);
}

void setOption(AVDictionary** options, const char* name, const char* value) { av_dict_set(options, name, value, 0); }

constexpr int kIoBufferBytes = 1 << 16;

#if LIBAVFORMAT_VERSION_MAJOR >= 61
using WriteBuffer = const uint8_t*;
#else
using WriteBuffer = uint8_t*;
#endif

int writeToFile(void* opaque, WriteBuffer data, int size) {
  auto* file = static_cast<PendingFile*>(opaque);
  if (size < 0 || !file->Write(data, static_cast<size_t>(size))) return AVERROR(EIO);
  return size;
}

int64_t seekInFile(void* opaque, int64_t offset, int whence) {
  auto* file = static_cast<PendingFile*>(opaque);
  whence &= ~AVSEEK_FORCE;
  if (whence == AVSEEK_SIZE) return file->Size();
  const int64_t position = file->Seek(offset, whence);
  return position < 0 ? AVERROR(EIO) : position;
}

// A new encoder context for FFmpeg's encoder of that name, held by holder;
// null with a one-line error when this FFmpeg lacks it or memory runs out.
AVCodecContext* newEncoder(const char* name, CodecContextHandle& holder, std::string& error) {
  const AVCodec* codec = avcodec_find_encoder_by_name(name);
  if (!codec) {
    error = std::string("this FFmpeg has no ") + name + " encoder";
    return nullptr;
  }
  holder.reset(avcodec_alloc_context3(codec));
  if (!holder) error = "out of memory";
  return holder.get();
}

}  // namespace

void quietVideoLibraries() {
  av_log_set_level(AV_LOG_ERROR);
  // SVT-AV1 prints its settings itself unless told otherwise, and an error
  // when a failed run closes it early; its failures reach FFmpeg's log too.
  // A level the user set is kept.
  setenv("SVT_LOG", "0", 0);
}

VideoWriter::VideoWriter() = default;
VideoWriter::~VideoWriter() { Abandon(); }

std::string VideoWriter::Description() const { return description_; }

std::string VideoWriter::Failure(const std::string& what, int code) const {
  const std::string fileFailure = file_.WriteFailure();
  if (!fileFailure.empty()) return "can't write '" + path_ + "': " + fileFailure;
  return what + " for '" + path_ + "' failed: " + avErrorText(code);
}

bool VideoWriter::OpenIo() {
  auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
  AVIOContext* io =
      buffer ? avio_alloc_context(buffer, kIoBufferBytes, 1, &file_, nullptr, &writeToFile, &seekInFile) : nullptr;
  if (!io) av_free(buffer);
  io_.reset(io);
  return io != nullptr;
}

bool VideoWriter::Open(const std::string& path, const VideoFormat& format, int width, int height, int framesPerSecond,
                       TrackAudio* audio, std::string& error) {
  Abandon();
  path_ = path;
  framesPerSecond_ = framesPerSecond;
  if (width <= 0 || height <= 0 || width % 2 || height % 2 || framesPerSecond <= 0) {
    error = "a video needs an even width and height";
    return false;
  }
  if (!file_.Create(path, error)) return false;
  if (!OpenIo()) {
    error = "out of memory for '" + path_ + "'";
    Abandon();
    return false;
  }
  AVFormatContext* output = nullptr;
  const int made = avformat_alloc_output_context2(&output, nullptr, format.muxer, file_.TemporaryPath().c_str());
  output_.reset(output);
  packet_.reset(av_packet_alloc());
  if (made < 0 || !output || !packet_) {
    error = "can't make a " + std::string(format.muxer) + " container (" + avErrorText(made) + ")";
    Abandon();
    return false;
  }
  output->pb = io_.get();
  if (!title_.empty()) av_dict_set(&output->metadata, "title", title_.c_str(), 0);
  if (!comment_.empty()) av_dict_set(&output->metadata, "comment", comment_.c_str(), 0);
  audio_ = audio;
  if (!OpenVideo(format, width, height, framesPerSecond, error) || (audio && !OpenAudio(format, error))) {
    Abandon();
    return false;
  }
  description_ =
      std::string(format.description) + (audio ? format.audio == AudioCodec::Opus ? " + Opus" : " + AAC" : "");

  AVDictionary* options = nullptr;
  // MP4 players want the index before the data to start playing early;
  // the muxer moves it there at the end by reading the file back.
  if (format.video == VideoCodec::H264) setOption(&options, "movflags", "+faststart");
  const int written = avformat_write_header(output, &options);
  av_dict_free(&options);
  if (written < 0) {
    error = Failure("starting the container", written);
    Abandon();
    return false;
  }
  headerWritten_ = true;
  return true;
}

bool VideoWriter::OpenVideo(const VideoFormat& format, int width, int height, int framesPerSecond, std::string& error) {
  const bool av1 = format.video == VideoCodec::Av1;
  AVCodecContext* encoder = newEncoder(av1 ? "libsvtav1" : "libx264", videoEncoder_, error);
  if (!encoder) return false;
  encoder->width = width;
  encoder->height = height;
  encoder->time_base = {1, framesPerSecond};
  encoder->framerate = {framesPerSecond, 1};
  encoder->gop_size = kKeyFrameSeconds * framesPerSecond;
  encoder->pix_fmt = av1 ? AV_PIX_FMT_YUV420P10LE : AV_PIX_FMT_YUV420P;
  encoder->thread_count = av1 ? kEncoderThreads : 1;
  encoder->color_range = AVCOL_RANGE_MPEG;
  encoder->color_primaries = AVCOL_PRI_BT709;
  encoder->color_trc = AVCOL_TRC_BT709;
  encoder->colorspace = AVCOL_SPC_BT709;
  if (output_->oformat->flags & AVFMT_GLOBALHEADER) encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;

  AVDictionary* options = nullptr;
  if (av1) {
    refuseRealTimePriority();
    setOption(&options, "crf", kAv1Quality);
    setOption(&options, "preset", kAv1Preset);
  } else {
    setOption(&options, "preset", kH264Preset);
    setOption(&options, "crf", kH264Quality);
    setOption(&options, "profile", "high");
    setOption(&options, "aq-mode", "3");  // auto-variance, biased towards dark areas
  }
  int result = avcodec_open2(encoder, encoder->codec, &options);
  av_dict_free(&options);
  if (result < 0) {
    error = Failure(std::string("starting the ") + encoder->codec->name + " encoder", result);
    return false;
  }
  videoStream_ = avformat_new_stream(output_.get(), nullptr);
  if (!videoStream_ || (result = avcodec_parameters_from_context(videoStream_->codecpar, encoder)) < 0) {
    error = "out of memory";
    return false;
  }
  videoStream_->time_base = encoder->time_base;
  videoStream_->avg_frame_rate = encoder->framerate;
  videoStream_->r_frame_rate = encoder->framerate;

  videoFrame_.reset(av_frame_alloc());
  if (!videoFrame_) {
    error = "out of memory";
    return false;
  }
  videoFrame_->format = encoder->pix_fmt;
  videoFrame_->width = width;
  videoFrame_->height = height;
  videoFrame_->color_range = encoder->color_range;
  videoFrame_->color_primaries = encoder->color_primaries;
  videoFrame_->color_trc = encoder->color_trc;
  videoFrame_->colorspace = encoder->colorspace;
  if ((result = av_frame_get_buffer(videoFrame_.get(), 0)) < 0) {
    error = "out of memory for the frames (" + avErrorText(result) + ")";
    return false;
  }
  // Same size, so the filter only matters for the halved colour planes;
  // full-resolution colour input averages them properly.
  scaler_.reset(sws_getContext(width, height, AV_PIX_FMT_BGR0, width, height, encoder->pix_fmt,
                               SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INP, nullptr, nullptr, nullptr));
  if (!scaler_) {
    error = "can't convert frames to the encoder's colours";
    return false;
  }
  // Full-range RGB in, studio-range BT.709 out, as tagged above.
  const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
  sws_setColorspaceDetails(scaler_.get(), bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
  return true;
}

bool VideoWriter::OpenAudio(const VideoFormat& format, std::string& error) {
  const bool opus = format.audio == AudioCodec::Opus;
  AVCodecContext* encoder = newEncoder(opus ? "libopus" : "aac", audioEncoder_, error);
  if (!encoder) return false;
  encoder->sample_fmt = opus ? AV_SAMPLE_FMT_FLT : AV_SAMPLE_FMT_FLTP;
  encoder->sample_rate = kSampleRate;
  encoder->time_base = {1, kSampleRate};
  encoder->bit_rate = opus ? kOpusBitRate : kAacBitRate;
  const AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
  av_channel_layout_copy(&encoder->ch_layout, &stereo);
  if (output_->oformat->flags & AVFMT_GLOBALHEADER) encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  int result = avcodec_open2(encoder, encoder->codec, nullptr);
  if (result < 0) {
    error = Failure(std::string("starting the ") + encoder->codec->name + " encoder", result);
    return false;
  }
  audioStream_ = avformat_new_stream(output_.get(), nullptr);
  if (!audioStream_ || avcodec_parameters_from_context(audioStream_->codecpar, encoder) < 0) {
    error = "out of memory";
    return false;
  }
  audioStream_->time_base = encoder->time_base;

  const int frameSize = encoder->frame_size > 0 ? encoder->frame_size : 1024;
  audioFrame_.reset(av_frame_alloc());
  if (!audioFrame_) {
    error = "out of memory";
    return false;
  }
  audioFrame_->format = encoder->sample_fmt;
  audioFrame_->sample_rate = kSampleRate;
  audioFrame_->nb_samples = frameSize;
  av_channel_layout_copy(&audioFrame_->ch_layout, &stereo);
  if ((result = av_frame_get_buffer(audioFrame_.get(), 0)) < 0) {
    error = "out of memory for the sound (" + avErrorText(result) + ")";
    return false;
  }
  audioSamples_.assign(static_cast<size_t>(frameSize) * 2, 0.0f);
  audioPts_ = 0;
  audioEnded_ = false;
  return true;
}

bool VideoWriter::Encode(AVCodecContext* encoder, AVStream* stream, const AVFrame* frame, std::string& error) {
  int result = avcodec_send_frame(encoder, frame);
  if (result < 0 && !(frame == nullptr && result == AVERROR_EOF)) {
    error = Failure(std::string("encoding with ") + encoder->codec->name, result);
    return false;
  }
  for (;;) {
    result = avcodec_receive_packet(encoder, packet_.get());
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
    if (result < 0) {
      error = Failure(std::string("encoding with ") + encoder->codec->name, result);
      return false;
    }
    av_packet_rescale_ts(packet_.get(), encoder->time_base, stream->time_base);
    packet_->stream_index = stream->index;
    // Takes the packet's data and leaves it blank for the next one.
    result = av_interleaved_write_frame(output_.get(), packet_.get());
    if (result >= 0 && output_->pb->error < 0) result = output_->pb->error;
    if (result < 0) {
      error = Failure("writing", result);
      return false;
    }
  }
}

bool VideoWriter::EncodeAudioUntil(int64_t endSample, std::string& error) {
  if (!audio_ || !audioEncoder_) return true;
  AVCodecContext* encoder = audioEncoder_.get();
  const int frameSize = static_cast<int>(audioSamples_.size() / 2);
  while (!audioEnded_ && audioPts_ < endSample) {
    int got = 0;
    while (got < frameSize) {
      const int read = audio_->Read(audioSamples_.data() + 2 * got, frameSize - got, error);
      if (read < 0) return false;
      if (read == 0) break;
      got += read;
    }
    if (got < frameSize) audioEnded_ = true;
    if (got == 0) break;
    const int result = av_frame_make_writable(audioFrame_.get());
    if (result < 0) {
      error = "out of memory for the sound (" + avErrorText(result) + ")";
      return false;
    }
    // A short last frame is padded with silence for encoders that take
    // only whole frames.
    const bool shortAllowed =
        encoder->codec->capabilities & (AV_CODEC_CAP_SMALL_LAST_FRAME | AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
    const int samples = shortAllowed ? got : frameSize;
    std::fill(audioSamples_.begin() + 2 * got, audioSamples_.end(), 0.0f);
    audioFrame_->nb_samples = samples;
    if (encoder->sample_fmt == AV_SAMPLE_FMT_FLT) {
      std::memcpy(audioFrame_->data[0], audioSamples_.data(), sizeof(float) * 2 * samples);
    } else {
      auto* left = reinterpret_cast<float*>(audioFrame_->data[0]);
      auto* right = reinterpret_cast<float*>(audioFrame_->data[1]);
      for (int i = 0; i < samples; ++i) {
        left[i] = audioSamples_[2 * i];
        right[i] = audioSamples_[2 * i + 1];
      }
    }
    audioFrame_->pts = audioPts_;
    audioPts_ += samples;
    if (!Encode(encoder, audioStream_, audioFrame_.get(), error)) return false;
  }
  return true;
}

bool VideoWriter::AddFrame(const uint8_t* xrgb, int pitchBytes, std::string& error) {
  if (!headerWritten_) {
    error = "the video '" + path_ + "' is not open";
    return false;
  }
  AVFrame* frame = videoFrame_.get();
  const int writable = av_frame_make_writable(frame);
  if (writable < 0) {
    error = "out of memory for the frames (" + avErrorText(writable) + ")";
    return false;
  }
  const uint8_t* planes[1] = {xrgb};
  const int pitches[1] = {pitchBytes};
  sws_scale(scaler_.get(), planes, pitches, 0, frame->height, frame->data, frame->linesize);
  frame->pts = videoPts_;
  pictureSent_ = true;
  if (!Encode(videoEncoder_.get(), videoStream_, frame, error)) return false;
  ++videoPts_;
  // Sound follows the pictures frame by frame, so the muxer never holds more
  // than a moment of either.
  return EncodeAudioUntil(videoPts_ * kSampleRate / framesPerSecond_, error);
}

bool VideoWriter::Finish(std::string& error) {
  if (!headerWritten_) {
    error = "the video '" + path_ + "' is not open";
    return false;
  }
  if (!pictureSent_) {
    error = "no frames for the video '" + path_ + "'";
    Abandon();
    return false;
  }
  bool ok = EncodeAudioUntil(videoPts_ * kSampleRate / framesPerSecond_, error) &&
            Encode(videoEncoder_.get(), videoStream_, nullptr, error) &&
            (!audioEncoder_ || Encode(audioEncoder_.get(), audioStream_, nullptr, error));
  if (ok) {
    int result = av_write_trailer(output_.get());
    if (result >= 0 && output_->pb->error < 0) result = output_->pb->error;
    headerWritten_ = false;
    if (result < 0) {
      error = Failure("ending the container", result);
      ok = false;
    }
  }
  if (ok) {
    avio_flush(io_.get());
    if (io_->error < 0) {
      error = Failure("writing", io_->error);
      ok = false;
    }
  }
  ok = ok && file_.Commit(error);
  if (!ok) Abandon();
  return ok;
}

void VideoWriter::Abandon() {
  headerWritten_ = false;
  scaler_.reset();
  // SVT-AV1 drains itself when it is closed, and an encoder that never had
  // a picture never reports the end of its stream: closing it would wait
  // for ever. One blank picture first lets the drain end.
  if (videoEncoder_ && !pictureSent_ && videoFrame_ && avcodec_is_open(videoEncoder_.get()) &&
      std::strcmp(videoEncoder_->codec->name, "libsvtav1") == 0 && av_frame_make_writable(videoFrame_.get()) >= 0) {
    AVFrame* frame = videoFrame_.get();
    for (int plane = 0; plane < 3; ++plane) {
      const int rows = plane ? (frame->height + 1) / 2 : frame->height;
      std::memset(frame->data[plane], 0, static_cast<size_t>(frame->linesize[plane]) * rows);
    }
    frame->pts = 0;
    avcodec_send_frame(videoEncoder_.get(), frame);
  }
  pictureSent_ = false;
  videoPts_ = 0;
  videoFrame_.reset();
  videoEncoder_.reset();
  audioEncoder_.reset();
  output_.reset();
  io_.reset();
  videoStream_ = nullptr;
  audioStream_ = nullptr;
  file_.Abandon();
}
