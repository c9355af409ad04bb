// driftglow-still's video where the build has no video encoder (Windows):
// asking for a clip is refused before anything is drawn.
#include <cstdio>
#include <cstdlib>

#include "tools/common/interrupt_watch.h"
#include "tools/still/still_run.h"
#include "tools/still/still_sound.h"
#include "tools/still/still_video.h"

// This build has neither encoder nor decoder: the types StillVideo keeps
// are empty here, and never made.
class TrackAudio {};
class VideoWriter {};

StillVideo::StillVideo(HeadlessEngine& engine, InterruptWatch* interrupts) : engine_(engine), interrupts_(interrupts) {}

StillVideo::~StillVideo() = default;

int StillVideo::Prepare(const StillOptions&, const std::string&) {
  std::fprintf(stderr, "driftglow-still: video clips need the Linux build of Driftglow\n");
  return kStillBadRequest;
}

int StillVideo::Run() { return kStillBadRequest; }

void StillVideo::Interrupted() {
  if (interrupts_) interrupts_->EndNow("interrupted");
  std::_Exit(kStillBadRequest);
}
