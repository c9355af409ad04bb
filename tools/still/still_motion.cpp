// The per-frame step shared by the picture and the video of driftglow-still.
#include "tools/still/still_motion.h"

#include "app/app_state.h"
#include "composition/composition.h"
#include "composition/frame_input.h"
#include "engine/hge.h"

void animateStillFrame(HGE& engine) {
  const float dt = engine.Timer_GetDelta();
  if (composition.Animate(dt, readFrameInput(engine, APP_STATE.windowScale), compositionContext()))
    APP_STATE.autoGenerate = 0;
}
