// A music track held in memory, decoded with FFmpeg into interleaved float
// stereo at the rate an audio encoder wants, cut at the clip's length with a
// fade-out over its last part.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/video/ffmpeg_handles.h"

class TrackAudio {
 public:
  TrackAudio();
  ~TrackAudio();
  TrackAudio(const TrackAudio&) = delete;
  TrackAudio& operator=(const TrackAudio&) = delete;

  // Starts decoding bytes (an MP3 or any audio file FFmpeg reads), which
  // must outlive this object. lengthSamples is where the sound is cut, per
  // channel at sampleRate; the fade-out covers the last fadeSamples before
  // it. False with a one-line error when the bytes hold no decodable sound.
  bool Open(const uint8_t* bytes, size_t size, int sampleRate, int64_t lengthSamples, int64_t fadeSamples,
            std::string& error);

  // Writes up to count stereo samples (2 × count floats, left first) and
  // returns how many; 0 once the track or the clip has ended; -1 with error
  // set when the data is damaged beyond what the decoder skips.
  int Read(float* interleaved, int count, std::string& error);

  int SampleRate() const { return sampleRate_; }

 private:
  static int ReadBytes(void* opaque, uint8_t* buffer, int size);
  static int64_t SeekBytes(void* opaque, int64_t offset, int whence);
  // Decodes until the queue holds wanted samples or the track ends.
  bool Fill(int wanted, std::string& error);
  bool Queue(AVFrame* frame, std::string& error);
  // Resamples input (null to flush the resampler) into the queue.
  bool Convert(uint8_t** input, int samples, std::string& error);

  const uint8_t* bytes_ = nullptr;
  size_t size_ = 0;
  size_t position_ = 0;
  int sampleRate_ = 0;
  int64_t lengthSamples_ = 0;
  int64_t fadeSamples_ = 0;
  int64_t delivered_ = 0;  // samples handed out so far
  int streamIndex_ = -1;
  bool inputEnded_ = false;
  bool drained_ = false;
  // What the resampler was made for.
  int decodedRate_ = 0;
  int decodedFormat_ = -1;
  AVChannelLayout decodedLayout_{};
  std::vector<float> converted_;

  IoContextHandle io_;
  InputFormatHandle input_;
  CodecContextHandle decoder_;
  ResamplerHandle resampler_;
  AudioFifoHandle queue_;
  PacketHandle packet_;
  FrameHandle frame_;
};
