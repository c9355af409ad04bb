// The window scale at which the canvas fits the desktop.
#pragma once

struct CompositionContext;

// A multiple of 1/8 up to 1.0, from the smaller desktop side less a 60-pixel
// margin (at least 540) against the context's screenHeight. Without a desktop
// the canvas counts as fitting at 1.0.
float computeFitScale(const CompositionContext& context);
