// driftglow-still's video: every frame of the screen's motion drawn on the
// headless engine and encoded on a second thread, with an optional sound
// track from Sound.paq.
#pragma once

#include <memory>
#include <string>

#include "tools/still/still_options.h"
#include "tools/video/thread_times.h"

class HeadlessEngine;
class StillSound;
class TrackAudio;
class VideoWriter;

class StillVideo {
 public:
  explicit StillVideo(HeadlessEngine& engine);
  ~StillVideo();
  StillVideo(const StillVideo&) = delete;
  StillVideo& operator=(const StillVideo&) = delete;

  // Loads the sound track and creates the file (under a temporary name)
  // before anything is drawn, so bad requests fail at once. Returns an exit
  // code; errors are reported on standard error.
  int Prepare(const StillOptions& options, const std::string& path);
  // Draws and encodes every frame, then puts the finished file in place.
  // The engine's target holds the last frame afterwards. Returns an exit code.
  int Run();

 private:
  class InterruptWatch;

  HeadlessEngine& engine_;
  // First in, last out: the encoders' threads, started in Prepare, must
  // inherit the blocked signals, and a signal held back is only delivered
  // once everything else is gone, unfinished files included.
  std::unique_ptr<InterruptWatch> interrupts_;
  std::string path_;
  int frames_ = 0;
  std::unique_ptr<StillSound> sound_;
  std::unique_ptr<TrackAudio> audio_;
  std::unique_ptr<VideoWriter> writer_;
  // The threads alive before the encoders start are the drawing side.
  ThreadTimes times_;
};
