// The window scale at which the canvas fits the desktop.
#pragma once

// A multiple of 1/8 up to 1.0, from the smaller desktop side less a 60-pixel
// margin (at least 540) against APP_STATE.screenHeight. Without a platform
// the desktop counts as large enough for 1.0.
float computeFitScale();
