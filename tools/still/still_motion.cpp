// The per-frame step shared by the picture and the video of driftglow-still.
#include "tools/still/still_motion.h"

#include "composition/app_state.h"
#include "composition/composition.h"
#include "engine/hge.h"

void animateStillFrame(HGE& engine) {
  float mouseX = 0, mouseY = 0;
  engine.Input_GetMousePos(&mouseX, &mouseY);
  composition.Animate(engine.Timer_GetDelta(), mouseX / APP_STATE.windowScale, mouseY / APP_STATE.windowScale);
}
