// Draw calls of the viewer's frames with the real content: a screen of
// 1,600 figures in both blends goes out in a handful of draws wherever the
// renderer shares atlas pages and one blend state (OpenGL).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/app_reset.h"
#include "app/startup.h"
#include "engine/engine_factory.h"
#include "engine/sdl/headless_engine.h"
#include "tests/support/recording_platform.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr const char* kMesaLeaks = "Mesa's OpenGL driver leaves allocations LeakSanitizer reports";
#endif

TEST(DrawCount, DefaultScreenNeedsAHandfulOfDraws) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << kMesaLeaks;
#endif
  resetAppStateForTests();
  const std::filesystem::path previous = std::filesystem::current_path();
  std::error_code error;
  std::filesystem::current_path(DRIFTGLOW_RUN_DIR, error);
  ASSERT_FALSE(error) << "the generated content folder " << DRIFTGLOW_RUN_DIR << " is missing";

  RecordingPlatform platform;
  HeadlessEngine engine(960, 960, HeadlessRenderer::OpenGL);
  engine.System_SetState(BoolState::UseSound, false);
  hgeUseEngine(&engine);
  int draws[4] = {};
  engine.SetBeforeFrame([&](int frame) {
    if (frame > 0) draws[frame - 1] = engine.DrawsInLastFrame();
    engine.SetKey(kKeyX, frame == 3);
  });
  const int result = driftglowMain(platform);
  const std::string renderer = engine.RendererName();
  hgeUseEngine(nullptr);
  resetAppStateForTests();
  std::filesystem::current_path(previous);
  if (platform.messages.size() > 1 && renderer.empty()) GTEST_SKIP() << "no OpenGL renderer here";
  ASSERT_EQ(result, 0);
  for (int frame = 0; frame < 3; ++frame) {
    EXPECT_GE(draws[frame], 1) << "frame " << frame;
    EXPECT_LE(draws[frame], 3) << "frame " << frame;
  }
}

}  // namespace
