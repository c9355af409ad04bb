// The texts of a video run: the progress line while encoding and the
// summary at the end. Standard library only.
#pragma once

#include <string>

// "120/500 frames  24.0 fps  0:16 left"; the rate and time left are left
// out until a frame is done and some time has passed.
std::string progressText(int framesDone, int framesTotal, double elapsedSeconds);

// Seconds as "0:16", "12:05" or "1:02:03".
std::string clockText(double seconds);
