// driftglow-still's video where the build has no video encoder (Windows):
// asking for a clip is refused before anything is drawn.
#include <cstdio>

#include "tools/still/still_run.h"
#include "tools/still/still_sound.h"
#include "tools/still/still_video.h"

// This build has neither encoder nor decoder: the types StillVideo keeps
// are empty here, and never made.
class StillVideo::InterruptWatch {};
class TrackAudio {};
class VideoWriter {};

StillVideo::StillVideo(HeadlessEngine& engine) : engine_(engine) {}

StillVideo::~StillVideo() = default;

int StillVideo::Prepare(const StillOptions&, const std::string&) {
  std::fprintf(stderr, "driftglow-still: video clips need the Linux build of Driftglow\n");
  return kStillBadRequest;
}

int StillVideo::Run() { return kStillBadRequest; }
