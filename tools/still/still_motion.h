// One frame of the viewer's automatic motion with nobody at the controls.
#pragma once

class HGE;

// The composition's step for one frame: a fresh screen has no particles,
// and no key, button or countdown fires in a run without a user.
void animateStillFrame(HGE& engine);
