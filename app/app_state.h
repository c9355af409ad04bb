// APP_STATE: the one global application record that the start-up and the
// frame and render functions read and write directly, and the view of it
// that the composition is handed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "composition/composition_context.h"
#include "engine/hge.h"
#include "engine/platform.h"

class SPIX;
class hgeFont;
class ScreenKeeper;

struct AppState {
  AppState();
  ~AppState();
  AppState& operator=(AppState&&);

  HGE* engine = nullptr;
  std::unique_ptr<hgeFont> titleFont;  // draws the product-name line of the help overlay
  std::unique_ptr<hgeFont> helpFont;   // draws the help and credits text
  std::unique_ptr<SPIX> scene;         // every graphic of the catalogue and every figure
  int32_t autoGenerate = 1;            // automatic generator on (non-zero) or off
  int32_t autoCountdown = 0;           // frames until the automatic generator fires
  HCHANNEL musicChannel = 0;
  int32_t lastTrack = -1;      // 0..2, -1 before the first track
  float screenWidth = 960.0f;  // canvas size in canvas units
  float screenHeight = 960.0f;
  float windowScale = 1.0f;   // window pixels per canvas unit
  float screenClock = 0.0f;   // nominal frames since the screen was made
  float keyLockUntil = 0.0f;  // X, N and U are ignored until screenClock passes this
  int32_t framesPerSecond = 50;
  float frameTime = 1.0f / 50;                 // seconds per nominal frame
  float keyDelayFrames = 0.35f / (1.0f / 50);  // 17.5 nominal frames
  std::string productName = "Driftglow";
  std::string siteLabel = "generative art";
  HEFFECT trackEffects[3] = {0, 0, 0};
  int32_t autoPeriod = 0;  // countdown last drawn by the automatic generator

  // The operating-system services in use; start-up sets it. The fit scale is
  // taken against its desktop size.
  Platform* platform = nullptr;
  // The viewer's names, history, pictures and favourites of its screens;
  // start-up owns it. Null in the screensaver and the tools.
  ScreenKeeper* keeper = nullptr;
};

extern AppState APP_STATE;

// What the composition reads of APP_STATE in every frame: engine, scene,
// canvas, window scale and the automatic generator's switch; no desktop.
CompositionContext compositionContext();
// The same with the platform's desktop size, asked for afresh, for the fit
// scale of a cleared screen; no desktop while no platform is set.
CompositionContext compositionContextWithDesktop();
