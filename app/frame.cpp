// The frame function: the composition's step, the particles, the X, N and U
// keys with their lock (and the keeper's P, F and B), the automatic
// generator's countdown, the music and the screen clock; and the reset and
// rebuild of a screen.
#include "app/frame.h"

#include "app/app_state.h"
#include "app/music.h"
#include "app/screen_keeper.h"
#include "composition/composition.h"
#include "composition/frame_input.h"
#include "composition/screen_seeds.h"
#include "core/random_below.h"
#include "core/seeded_random.h"
#include "particles/particle_manager.h"
#include "scene/scene.h"

namespace {

bool keyUnlocked() { return APP_STATE.keyLockUntil < APP_STATE.screenClock; }

void lockKeys() { APP_STATE.keyLockUntil = APP_STATE.screenClock + APP_STATE.keyDelayFrames / 3; }

}  // namespace

void resetScreen() {
  if (APP_STATE.scene) APP_STATE.scene->ClearObjects(false);
  composition.Clear(compositionContextWithDesktop());
  particleManager.Clear();
  APP_STATE.screenClock = 0;
  APP_STATE.keyLockUntil = 0;
}

void newScreen() {
  resetScreen();
  ScreenKeeper* keeper = APP_STATE.keeper;
  int32_t seeds[3];
  // The keeper may ask for a given screen; else three fresh seeds.
  if (!keeper || !keeper->NextSeeds(seeds)) {
    for (int32_t& seed : seeds) seed = randomBelow(100000) + 1;
  }
  buildScreenFromSeeds(compositionContext(), seeds[0], seeds[1], seeds[2]);
  if (keeper) keeper->ScreenBuilt(seeds, false);
}

bool frameFunction() {
  HGE* engine = APP_STATE.engine;
  float dt = engine->Timer_GetDelta();
  const FrameInput input = readFrameInput(*engine, APP_STATE.windowScale);
  if (composition.Animate(dt, input, compositionContext())) APP_STATE.autoGenerate = 0;
  particleManager.Update(dt);

  if (input.keyX && keyUnlocked()) return true;
  if (input.keyN && keyUnlocked()) {
    newScreen();
    lockKeys();
  }
  if (input.keyU && keyUnlocked()) {
    APP_STATE.autoGenerate = 1;
    APP_STATE.autoCountdown = 0;
    lockKeys();
  }
  // P, F and B or Backspace, for the viewer only.
  if (APP_STATE.keeper && APP_STATE.keeper->HandleKeys(input, keyUnlocked())) lockKeys();

  if (!input.leftButton && APP_STATE.autoGenerate != 0) {
    if (APP_STATE.autoCountdown > 0) {
      --APP_STATE.autoCountdown;
    } else {
      APP_STATE.autoCountdown = (structureRandom.drawLarge(20) + 8) * APP_STATE.framesPerSecond;
      APP_STATE.autoPeriod = APP_STATE.autoCountdown;
      newScreen();
      composition.rotationMode = structureRandom.drawLarge(2);
      composition.zoomMode = structureRandom.drawLarge(2);
      composition.scaleMode = structureRandom.drawLarge(2);
      if (APP_STATE.keeper) APP_STATE.keeper->ModesDrawn();
    }
    // A screen too heavy to draw at 12.5 frames per second is replaced soon
    // after it has had its minimum showing time.
    if (engine->Timer_GetDelta() >= 0.08f && APP_STATE.autoCountdown > 10 &&
        APP_STATE.autoPeriod - APP_STATE.autoCountdown > 140) {
      APP_STATE.autoCountdown = 10;
    }
  }

  keepMusicPlaying();
  if (APP_STATE.keeper) APP_STATE.keeper->Tick(dt);
  APP_STATE.screenClock = APP_STATE.screenClock + dt / APP_STATE.frameTime;
  return false;
}
