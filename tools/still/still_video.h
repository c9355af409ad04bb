// driftglow-still's video: every frame of the screen's motion drawn on the
// headless engine and encoded on a second thread, with an optional sound
// track from Sound.paq.
#pragma once

#include <memory>
#include <string>

#include "tools/still/still_options.h"
#include "tools/video/thread_times.h"

class HeadlessEngine;
class InterruptWatch;
class StillSound;
class TrackAudio;
class VideoWriter;

class StillVideo {
 public:
  // interrupts, when not null, is asked between frames whether to stop.
  StillVideo(HeadlessEngine& engine, InterruptWatch* interrupts);
  ~StillVideo();
  StillVideo(const StillVideo&) = delete;
  StillVideo& operator=(const StillVideo&) = delete;

  // Loads the sound track and creates the file (under a temporary name)
  // before anything is drawn, so bad requests fail at once. Returns an exit
  // code; errors are reported on standard error.
  int Prepare(const StillOptions& options, const std::string& path);
  // Draws and encodes every frame, then puts the finished file in place.
  // The engine's target holds the last frame afterwards. Returns an exit
  // code; an interrupted run ends the process (Interrupted).
  int Run();
  // Removes the unfinished file, says so and ends the process (see
  // InterruptWatch::EndNow): closing the AV1 encoder would first encode
  // every picture it holds, only for them to be thrown away.
  [[noreturn]] void Interrupted();

 private:
  HeadlessEngine& engine_;
  InterruptWatch* interrupts_;
  std::string path_;
  int frames_ = 0;
  std::unique_ptr<StillSound> sound_;
  std::unique_ptr<TrackAudio> audio_;
  std::unique_ptr<VideoWriter> writer_;
  // The threads alive before the encoders start are the drawing side.
  ThreadTimes times_;
};
