// The three ambient tracks: loading at start-up and keeping one playing.
#pragma once

constexpr int kMusicTrackCount = 3;

// The resource name of track 0 to 2 in the viewer's order, like
// "sound\MoonGarden.mp3"; null for any other number.
const char* musicTrackResource(int track);

// Loads the three tracks into APP_STATE.trackEffects; stops at the first
// that fails. Returns true on failure.
bool loadMusic();

// Starts the next track when none is playing, never the same one twice in a row.
void keepMusicPlaying();
