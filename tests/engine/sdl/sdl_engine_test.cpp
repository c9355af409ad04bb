// The windowed engine where no display exists (it must fail cleanly) and on
// SDL's offscreen video driver (its paced frame loop).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/sdl/sdl_engine.h"
#include "tests/engine/sdl/test_files.h"

namespace {

// No X11 or Wayland display is reachable while this lives.
struct NoDisplay {
  ScopedEnvironment display{"DISPLAY", std::nullopt};
  ScopedEnvironment wayland{"WAYLAND_DISPLAY", std::nullopt};
  ScopedEnvironment runtime{"XDG_RUNTIME_DIR", std::nullopt};
};

// Returns the message System_Initiate left.
std::string expectCleanFailure(HGE& engine) {
  engine.System_SetState(IntState::ScreenWidth, 320);
  engine.System_SetState(IntState::ScreenHeight, 200);
  engine.System_SetState(BoolState::Windowed, true);
  EXPECT_FALSE(engine.System_Initiate());
  std::string message = engine.System_GetErrorMessage();
  EXPECT_NE(message, "");
  EXPECT_FALSE(engine.System_Start());
  EXPECT_EQ(engine.Texture_Load("anything.png"), 0u);
  EXPECT_FALSE(engine.Gfx_BeginScene(0));
  SpriteQuad quad{};
  engine.Gfx_RenderQuad(&quad);
  engine.Gfx_EndScene();
  engine.System_Shutdown();
  engine.System_Shutdown();
  return message;
}

TEST(SdlEngineWithoutDisplay, InitiateFailsWithSdlsMessage) {
  NoDisplay noDisplay;
  ScopedEnvironment driver("SDL_VIDEODRIVER", "x11");
  std::unique_ptr<HGE> engine = CreateSdlEngine();
  expectCleanFailure(*engine);
}

TEST(SdlEngineWithoutDisplay, SdlsInvisibleFallbackDriverIsNotTakenForADisplay) {
  if (std::filesystem::exists("/dev/dri")) GTEST_SKIP() << "a KMS device may serve as a display here";
  NoDisplay noDisplay;
  ScopedEnvironment driver("SDL_VIDEODRIVER", std::nullopt);
  std::unique_ptr<HGE> engine = CreateSdlEngine();
  std::string message = expectCleanFailure(*engine);
  EXPECT_NE(message.find("No display"), std::string::npos) << message;
}

struct LoopRecord {
  HGE* engine = nullptr;
  int frames = 0;
  int renders = 0;
  int stopAfter = 0;
  std::vector<float> deltas;
};
LoopRecord* record = nullptr;

bool countFrame() {
  record->deltas.push_back(record->engine->Timer_GetDelta());
  return ++record->frames == record->stopAfter;
}

bool drawFrame() {
  ++record->renders;
  HGE& engine = *record->engine;
  if (engine.Gfx_BeginScene(0)) {
    engine.Gfx_Clear(0xFF000000);
    SpriteQuad quad{};
    quad.v[0] = {0, 0, 0.5f, 0xFFFFFFFF, 0, 0};
    quad.v[1] = {100, 0, 0.5f, 0xFFFFFFFF, 1, 0};
    quad.v[2] = {100, 100, 0.5f, 0xFFFFFFFF, 1, 1};
    quad.v[3] = {0, 100, 0.5f, 0xFFFFFFFF, 0, 1};
    quad.blend = kBlendAlpha;
    engine.Gfx_RenderQuad(&quad);
    engine.Gfx_EndScene();
  }
  return false;
}

TEST(SdlEngineOffscreen, FrameLoopRunsAtTheFixedRateUntilTheFrameFunctionStops) {
  ScopedEnvironment driver("SDL_VIDEODRIVER", "offscreen");
  ScopedEnvironment audio("SDL_AUDIODRIVER", "dummy");
  // SDL's software renderer on a plain window surface: OpenGL through Mesa
  // would work too, but Mesa's driver leaves allocations that LeakSanitizer
  // reports and cannot name (the driver is unloaded by then).
  ScopedEnvironment renderer("SDL_RENDER_DRIVER", "software");
  ScopedEnvironment framebuffer("SDL_FRAMEBUFFER_ACCELERATION", "0");
  std::unique_ptr<HGE> engine = CreateSdlEngine();
  engine->System_SetState(StringState::Title, "Driftglow - test");
  engine->System_SetState(IntState::ScreenWidth, 160);
  engine->System_SetState(IntState::ScreenHeight, 160);
  engine->System_SetState(BoolState::Windowed, true);
  engine->System_SetState(BoolState::HideMouse, false);
  engine->System_SetState(IntState::Fps, 50);
  engine->System_SetState(BoolState::DontSuspend, true);
  engine->System_SetState(FuncState::FrameFunc, countFrame);
  engine->System_SetState(FuncState::RenderFunc, drawFrame);
  if (!engine->System_Initiate()) GTEST_SKIP() << "offscreen video unavailable: " << engine->System_GetErrorMessage();
  LoopRecord loop{engine.get(), 0, 0, 10, {}};
  record = &loop;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(engine->System_Start());
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  record = nullptr;
  EXPECT_EQ(loop.frames, 10);
  EXPECT_EQ(loop.renders, 10);
  // Ten frames at 50 per second: nine waits of 0.02 s at least.
  EXPECT_GE(seconds, 0.175);
  for (float delta : loop.deltas) {
    EXPECT_GT(delta, 0.0f);
    EXPECT_LE(delta, 0.2f);
  }
  EXPECT_FLOAT_EQ(loop.deltas.front(), 0.02f) << "the first frame reports the nominal delta";
  EXPECT_FALSE(engine->Input_GetKeyState(kKeyLeftButton));
  EXPECT_EQ(engine->Input_GetMouseWheel(), 0);
  engine->System_Shutdown();
}

}  // namespace
