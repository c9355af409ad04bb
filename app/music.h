// The three ambient tracks: loading at start-up and keeping one playing.
#pragma once

// Loads the three tracks into APP_STATE.trackEffects; stops at the first
// that fails. Returns true on failure.
bool loadMusic();

// Starts the next track when none is playing, never the same one twice in a row.
void keepMusicPlaying();
