// driftglowMain: the start-up question, the engine's states, resource
// loading, the frame loop and the shutdown order.
#include "app/startup.h"

#include <utility>

#include "app/app_state.h"
#include "app/frame.h"
#include "app/music.h"
#include "app/render.h"
#include "app/screen_keeper.h"
#include "app/texture_catalogue.h"
#include "calc/random_source.h"
#include "composition/fit_scale.h"
#include "core/random_below.h"
#include "font/font.h"
#include "scene/scene.h"

namespace {

void configureWindow(HGE* engine, Platform& platform, const StartupOptions& options) {
  // Without the question the canvas is the area given, drawn as a window.
  const auto ask = [&] {
    if (options.fullScreenAnswer != 0) return options.fullScreenAnswer;
    return platform.ShowMessage("Run full screen?", APP_STATE.productName, kMbYesNo);
  };
  bool fullScreen = !options.askFullScreen || ask() == kIdYes;
  if (fullScreen) {
    DesktopSize desktop = platform.GetDesktopSize();
    APP_STATE.screenWidth = static_cast<float>(desktop.width);
    APP_STATE.screenHeight = static_cast<float>(desktop.height);
    engine->System_SetState(BoolState::Windowed, !options.askFullScreen && !options.takeWholeScreen);
    engine->System_SetState(IntState::ScreenWidth, static_cast<int>(APP_STATE.screenWidth));
    engine->System_SetState(IntState::ScreenHeight, static_cast<int>(APP_STATE.screenHeight));
    APP_STATE.windowScale = 1.0f;
  } else {
    engine->System_SetState(BoolState::Windowed, true);
    engine->System_SetState(IntState::ScreenWidth, static_cast<int>(APP_STATE.screenWidth * APP_STATE.windowScale));
    engine->System_SetState(IntState::ScreenHeight, static_cast<int>(APP_STATE.screenHeight * APP_STATE.windowScale));
  }
  engine->System_SetState(IntState::ScreenBpp, 32);
  engine->System_SetState(BoolState::UseSound, options.sound);
  engine->System_SetState(BoolState::HideMouse, options.takeWholeScreen);
  engine->System_SetState(BoolState::ZBuffer, false);
  engine->System_SetState(IntState::Fps, APP_STATE.framesPerSecond);
  engine->System_SetState(BoolState::DontSuspend, true);
  engine->System_SetState(BoolState::TextureFilter, true);
}

// Loads everything the frame loop needs; shows the failure and returns true
// when something is missing.
bool loadResources(HGE* engine, Platform& platform, const StartupOptions& options) {
  engine->Resource_AttachPack("Graphics.paq");
  if (loadTextureCatalogue()) {
    platform.ShowMessage("Can't load graphics.", "Error", kMbIconError);
    return true;
  }
  // The viewer runs without them, but its help overlay then shows no text.
  const std::pair<const hgeFont*, const char*> fonts[] = {{APP_STATE.titleFont.get(), kTitleFontName},
                                                          {APP_STATE.helpFont.get(), kHelpFontName}};
  for (auto [font, name] : fonts)
    if (font && !font->GetTexture())
      engine->System_Log("Font %s could not be read; the help overlay shows no text from it.", name);
  // Silent: no tracks, and the frame function's music has nothing to play.
  if (!options.sound) return false;

  engine->Resource_AttachPack("Sound.paq");
  if (loadMusic()) {
    platform.ShowMessage("Can't load sounds.", "Error", kMbIconError);
    return true;
  }
  return false;
}

void releaseLoadedResources() {
  resetScreen();
  APP_STATE.scene.reset();
  APP_STATE.titleFont.reset();
  APP_STATE.helpFont.reset();
}

}  // namespace

int driftglowMain(Platform& platform, const StartupOptions& options, ScreenKeeper* keeper) {
  APP_STATE.platform = &platform;
  seedRandomBelow(static_cast<uint32_t>(platform.NowSeconds()));
  // The evaluator's "rnd" draws from the same generator as the rest of the program.
  SetCalcRandomBelow(randomBelow);
  APP_STATE.windowScale = computeFitScale(compositionContextWithDesktop());

  HGE* engine = hgeCreate(kHgeVersion);
  APP_STATE.engine = engine;
  if (!engine) {
    platform.ShowMessage("The graphics engine could not be created.", "Error", kMbSystemModal | kMbIconError);
    return 1;
  }
  engine->System_SetState(FuncState::FrameFunc, frameFunction);
  engine->System_SetState(FuncState::RenderFunc, renderFunction);
  std::string title = APP_STATE.productName + " - " + APP_STATE.siteLabel;
  engine->System_SetState(StringState::Title, title.c_str());
  configureWindow(engine, platform, options);

  // A start-up that ends in an error message is a failure for whoever started the program.
  int exitCode = 1;
  if (!engine->System_Initiate()) {
    platform.ShowMessage(engine->System_GetErrorMessage(), "Error", kMbSystemModal | kMbIconError);
  } else {
    engine->Gfx_SetTransform(0, 0, 0, 0, 0, APP_STATE.windowScale, APP_STATE.windowScale);
    APP_STATE.scene = std::make_unique<SPIX>();
    APP_STATE.scene->noSpatialIndex = true;
    if (!loadResources(engine, platform, options)) {
      resetScreen();
      if (keeper) {
        APP_STATE.keeper = keeper;
        keeper->Start();
      }
      engine->System_Start();
      exitCode = 0;
      APP_STATE.keeper = nullptr;
    }
  }

  engine->System_Shutdown();
  engine->Release();
  APP_STATE.engine = nullptr;
  // The platform's services may be gone with the engine: the last reset
  // must not ask for the desktop again.
  APP_STATE.platform = nullptr;
  // Fonts, scene and sprites hold engine references of their own; letting
  // them go here, before static destruction, ends the engine in order.
  releaseLoadedResources();
  return exitCode;
}
