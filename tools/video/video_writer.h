// One video file being written: the picture encoder (and the sound encoder
// when there is a track), the container, and the temporary file that is
// renamed into place at the end. FFmpeg's libraries; no engine here.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/common/pending_file.h"
#include "tools/video/ffmpeg_handles.h"
#include "tools/video/video_format.h"

class TrackAudio;

// Makes FFmpeg and the encoders it calls report only errors on standard
// error, leaving the tool's own lines readable. Call before starting threads.
void quietVideoLibraries();

class VideoWriter {
 public:
  VideoWriter();
  // An unfinished file is removed.
  ~VideoWriter();
  VideoWriter(const VideoWriter&) = delete;
  VideoWriter& operator=(const VideoWriter&) = delete;

  // Sound is encoded at this rate, which both Opus and AAC take.
  static constexpr int kSampleRate = 48000;

  // The container's title and comment tags, for the next Open.
  void SetTags(std::string title, std::string comment) {
    title_ = std::move(title);
    comment_ = std::move(comment);
  }
  // Creates the temporary file beside path and starts the encoders for
  // frames of width × height pixels (both even) at framesPerSecond. audio,
  // when not null, is read as the frames arrive and must be opened at
  // kSampleRate. False with a one-line error.
  bool Open(const std::string& path, const VideoFormat& format, int width, int height, int framesPerSecond,
            TrackAudio* audio, std::string& error);
  // Encodes one frame of 32-bit XRGB words (bytes B, G, R, unused), rows
  // top to bottom pitchBytes apart, and the sound up to the frame's end.
  bool AddFrame(const uint8_t* xrgb, int pitchBytes, std::string& error);
  // Drains the encoders, ends the container and renames the file into
  // place. False with a one-line error; nothing is then left behind.
  bool Finish(std::string& error);
  // Gives up; nothing is left behind.
  void Abandon();

  // "AV1 10-bit + Opus" and the like.
  std::string Description() const;
  int64_t FramesWritten() const { return videoPts_; }

 private:
  bool OpenVideo(const VideoFormat& format, int width, int height, int framesPerSecond, std::string& error);
  bool OpenAudio(const VideoFormat& format, std::string& error);
  // Sends frame (null to drain) and muxes every packet the encoder returns.
  bool Encode(AVCodecContext* encoder, AVStream* stream, const AVFrame* frame, std::string& error);
  // Encodes sound until endSample or the end of the track.
  bool EncodeAudioUntil(int64_t endSample, std::string& error);
  // The reason behind a muxing or encoding failure, preferring the file's own.
  std::string Failure(const std::string& what, int code) const;
  // Gives the file's writes and seeks to the muxer through an FFmpeg I/O
  // context. False when out of memory.
  bool OpenIo();

  std::string path_;
  std::string description_;
  std::string title_;
  std::string comment_;
  int framesPerSecond_ = 0;
  PendingFile file_;
  IoContextHandle io_;  // writes into file_; goes before it
  OutputFormatHandle output_;
  CodecContextHandle videoEncoder_;
  CodecContextHandle audioEncoder_;
  AVStream* videoStream_ = nullptr;  // owned by output_
  AVStream* audioStream_ = nullptr;
  ScalerHandle scaler_;
  FrameHandle videoFrame_;
  FrameHandle audioFrame_;
  PacketHandle packet_;
  TrackAudio* audio_ = nullptr;
  std::vector<float> audioSamples_;  // one encoder frame, interleaved
  int64_t videoPts_ = 0;
  bool pictureSent_ = false;  // the video encoder has been given a picture
  int64_t audioPts_ = 0;
  bool audioEnded_ = false;
  bool headerWritten_ = false;
};
