// The work of driftglow-still once its arguments are read: load the
// catalogue headless, build the screen from the seeds as the viewer would,
// write its description and picture.
#pragma once

#include "tools/still/still_options.h"

class InterruptWatch;

// Runs the whole tool; errors go to standard error as one line each.
// interrupts, when not null, is asked between steps whether to stop; the
// result is then 128 + the signal, with nothing unfinished left behind.
int runStill(const StillOptions& options, InterruptWatch* interrupts = nullptr);
