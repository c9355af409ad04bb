// The three tracks: loading them at start-up and starting the next one
// whenever none is playing.
#include "app/music.h"

#include "app/app_state.h"
#include "core/random_below.h"

namespace {

struct Track {
  const char* resourceName;
  int volume;
};

constexpr Track kTracks[kMusicTrackCount] = {
    {"sound\\MoonGarden.mp3", 50},
    {"sound\\Kalliope.mp3", 30},
    {"sound\\Mercury.mp3", 30},
};

}  // namespace

const char* musicTrackResource(int track) {
  return track >= 0 && track < kMusicTrackCount ? kTracks[track].resourceName : nullptr;
}

bool loadMusic() {
  for (int i = 0; i < 3; ++i) {
    APP_STATE.trackEffects[i] = APP_STATE.engine->Effect_Load(kTracks[i].resourceName, 0);
    if (APP_STATE.trackEffects[i] == 0) return true;
  }
  return false;
}

void keepMusicPlaying() {
  HGE* engine = APP_STATE.engine;
  if (engine->Channel_IsPlaying(APP_STATE.musicChannel)) return;
  // After a track, draw 0 or 1 and step over the last one: after track 0
  // this always gives track 1, after 1 it gives 0 or 2, after 2 it gives 0 or 1.
  int32_t track = APP_STATE.lastTrack < 0 ? randomBelow(3) : randomBelow(2);
  if (track == APP_STATE.lastTrack) track = track + 1;
  APP_STATE.musicChannel = engine->Effect_PlayEx(APP_STATE.trackEffects[track], kTracks[track].volume, 0, 1.0f, false);
  APP_STATE.lastTrack = track;
}
