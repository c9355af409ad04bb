// The program's entry: engine set-up, resource loading, the frame loop and shutdown.
#pragma once

#include "engine/platform.h"

// Runs the whole program with the given platform and whatever engine
// hgeCreate hands out. Every failure is shown as a message; returns 0 on every path.
int driftglowMain(Platform& platform);
