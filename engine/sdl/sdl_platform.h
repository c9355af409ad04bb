// The platform services on SDL: message boxes, the desktop size, the clock.
#pragma once

#include <memory>

#include "engine/platform.h"

// Every message also goes to standard error. SIGTERM or SIGINT while a box
// is open ends the process with exit code 0 (see stop_signals.h). Where no box can be shown (no
// display), a Yes/No question answers No and a plain message answers OK.
// Without video the desktop size falls back to 1920 x 1080, said on stderr.
// The desktop is the display holding the mouse pointer, not the span of all.
std::unique_ptr<Platform> CreateSdlPlatform();
