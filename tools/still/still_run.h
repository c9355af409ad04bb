// The work of driftglow-still once its arguments are read: load the
// catalogue headless, build the screen from the seeds as the viewer would,
// write its description and picture.
#pragma once

#include "tools/still/still_options.h"

// Runs the whole tool; errors go to standard error as one line each.
int runStill(const StillOptions& options);
