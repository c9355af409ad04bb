// The windowed engine where no display exists (it must fail cleanly) and on
// SDL's offscreen video driver (its paced frame loop, the time it reports
// for slow frames and after stalls, no drawing while minimised, and its end
// on SIGTERM).
#include <SDL2/SDL_events.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "engine/sdl/sdl_engine.h"
#include "engine/sdl/stop_signals.h"
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
  std::function<void(int frame)> afterRender;  // with the number of the frame just drawn
};
LoopRecord* record = nullptr;

bool countFrame() {
  record->deltas.push_back(record->engine->Timer_GetDelta());
  return ++record->frames == record->stopAfter;
}

bool drawFrame() {
  ++record->renders;
  if (record->afterRender) record->afterRender(record->renders - 1);
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

// SDL's offscreen video driver with its software renderer on a plain window
// surface: OpenGL through Mesa would work too, but Mesa's driver leaves
// allocations that LeakSanitizer reports and cannot name (the driver is
// unloaded by then).
struct Offscreen {
  ScopedEnvironment driver{"SDL_VIDEODRIVER", "offscreen"};
  ScopedEnvironment audio{"SDL_AUDIODRIVER", "dummy"};
  ScopedEnvironment renderer{"SDL_RENDER_DRIVER", "software"};
  ScopedEnvironment framebuffer{"SDL_FRAMEBUFFER_ACCELERATION", "0"};
};

// A 160 x 160 window at 50 frames per second; null when no offscreen video.
std::unique_ptr<HGE> startOffscreen(std::string* reason) {
  std::unique_ptr<HGE> engine = CreateSdlEngine();
  engine->System_SetState(StringState::Title, "Driftglow - test");
  engine->System_SetState(IntState::ScreenWidth, 160);
  engine->System_SetState(IntState::ScreenHeight, 160);
  engine->System_SetState(BoolState::Windowed, true);
  engine->System_SetState(BoolState::HideMouse, false);
  engine->System_SetState(BoolState::UseSound, false);
  engine->System_SetState(IntState::Fps, 50);
  engine->System_SetState(BoolState::DontSuspend, true);
  engine->System_SetState(FuncState::FrameFunc, countFrame);
  engine->System_SetState(FuncState::RenderFunc, drawFrame);
  if (engine->System_Initiate()) return engine;
  *reason = engine->System_GetErrorMessage();
  return nullptr;
}

TEST(SdlEngineOffscreen, FrameLoopRunsAtTheFixedRateUntilTheFrameFunctionStops) {
  Offscreen offscreen;
  std::string reason;
  std::unique_ptr<HGE> engine = startOffscreen(&reason);
  if (!engine) GTEST_SKIP() << "offscreen video unavailable: " << reason;
  LoopRecord loop{engine.get(), 0, 0, 10, {}, {}};
  record = &loop;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(engine->System_Start());
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  record = nullptr;
  EXPECT_EQ(loop.frames, 10);
  EXPECT_EQ(loop.renders, 10);
  // Ten frames at 50 per second: nine waits of 0.02 s at least.
  EXPECT_GE(seconds, 0.175);
  for (float delta : loop.deltas) EXPECT_GT(delta, 0.0f);
  EXPECT_FLOAT_EQ(loop.deltas.front(), 0.02f) << "the first frame reports the nominal delta";
  EXPECT_FALSE(engine->Input_GetKeyState(kKeyLeftButton));
  EXPECT_EQ(engine->Input_GetMouseWheel(), 0);
  engine->System_Shutdown();
}

// Frames the program is slow to draw report their real length, so that the
// slow-frame rule can see them; a stop of the process (SIGCONT after it)
// counts as at most a second.
TEST(SdlEngineOffscreen, SlowFramesReportTheirRealLengthAndStallsAtMostASecond) {
  Offscreen offscreen;
  std::string reason;
  std::unique_ptr<HGE> engine = startOffscreen(&reason);
  if (!engine) GTEST_SKIP() << "offscreen video unavailable: " << reason;
  InstallStopSignals();
  LoopRecord loop{engine.get(), 0, 0, 7, {}, {}};
  loop.afterRender = [](int frame) {
    if (frame == 1 || frame == 2) std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (frame == 4) {
      std::raise(SIGCONT);
      std::this_thread::sleep_for(std::chrono::milliseconds(1300));
    }
  };
  record = &loop;
  engine->System_Start();
  record = nullptr;
  ASSERT_EQ(loop.deltas.size(), 7u);
  EXPECT_GE(loop.deltas[2], 0.29f);
  EXPECT_GE(loop.deltas[3], 0.29f);
  EXPECT_FLOAT_EQ(loop.deltas[5], 1.0f);
  engine->System_Shutdown();
}

// Minimised after frame 3 and restored after frame 6 (the events arrive
// before the next frame).
bool countFrameMinimising() {
  const bool stop = countFrame();
  if (record->frames == 3 || record->frames == 6) {
    SDL_Event window{};
    window.type = SDL_WINDOWEVENT;
    window.window.event = record->frames == 3 ? SDL_WINDOWEVENT_MINIMIZED : SDL_WINDOWEVENT_RESTORED;
    SDL_PushEvent(&window);
  }
  return stop;
}

TEST(SdlEngineOffscreen, NothingIsDrawnWhileTheWindowIsMinimised) {
  Offscreen offscreen;
  std::string reason;
  std::unique_ptr<HGE> engine = startOffscreen(&reason);
  if (!engine) GTEST_SKIP() << "offscreen video unavailable: " << reason;
  engine->System_SetState(FuncState::FrameFunc, countFrameMinimising);
  LoopRecord loop{engine.get(), 0, 0, 10, {}, {}};
  record = &loop;
  engine->System_Start();
  record = nullptr;
  EXPECT_EQ(loop.frames, 10);
  EXPECT_EQ(loop.renders, 7) << "frames 4 to 6 run without drawing";
  engine->System_Shutdown();
}

// Signal checks run in child processes (death tests), whose exit code is
// the result; each function below ends its process.
[[noreturn]] void loopUntilSigterm() {
  InstallStopSignals();
  std::string reason;
  std::unique_ptr<HGE> engine = startOffscreen(&reason);
  if (!engine) std::exit(0);  // nothing to check without offscreen video
  LoopRecord loop{engine.get(), 0, 0, 1000, {}, {}};
  loop.afterRender = [](int frame) {
    if (frame == 3) std::raise(SIGTERM);
  };
  record = &loop;
  engine->System_Start();
  engine->System_Shutdown();
  std::exit(loop.frames == 4 ? 0 : 10 + loop.frames);
}

[[noreturn]] void signalDuringWait(int signal, bool signalFirst) {
  InstallStopSignals();
  if (signalFirst) std::raise(signal);
  UninterruptibleWait wait;
  std::raise(signal);
  std::exit(3);
}

[[noreturn]] void signalAfterWait() {
  InstallStopSignals();
  { UninterruptibleWait wait; }
  std::raise(SIGTERM);  // only a request to stop now
  std::exit(StopRequested() ? 4 : 3);
}

TEST(StopSignals, SigtermEndsTheFrameLoopAtTheNextFrame) {
  Offscreen offscreen;
  EXPECT_EXIT(loopUntilSigterm(), ::testing::ExitedWithCode(0), "");
}

TEST(StopSignals, DuringAnUninterruptibleWaitTheProcessEndsWithCodeZero) {
  EXPECT_EXIT(signalDuringWait(SIGTERM, false), ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(signalDuringWait(SIGINT, false), ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(signalDuringWait(SIGHUP, false), ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(signalDuringWait(SIGTERM, true), ::testing::ExitedWithCode(0), "") << "a signal before the wait";
  EXPECT_EXIT(signalAfterWait(), ::testing::ExitedWithCode(4), "");
}

// True while the process exists and is not a zombie.
bool processRuns(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return false;
  const size_t close = line.rfind(')');
  return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}

// SDL shows a message box from a process it forks: that one must not
// outlive the program when a signal ends it during the box.
TEST(StopSignals, ProcessesForkedDuringTheWaitEndWithTheProgram) {
  int channel[2];
  ASSERT_EQ(pipe(channel), 0);
  const pid_t program = fork();
  if (program == 0) {
    InstallStopSignals();
    UninterruptibleWait wait;
    const pid_t box = fork();
    if (box == 0)
      for (;;) pause();
    (void)!write(channel[1], &box, sizeof box);
    std::raise(SIGTERM);
    _exit(3);
  }
  pid_t box = 0;
  ASSERT_EQ(read(channel[0], &box, sizeof box), static_cast<ssize_t>(sizeof box));
  int status = 0;
  waitpid(program, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  for (int i = 0; i < 200 && processRuns(box); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_FALSE(processRuns(box));
  if (processRuns(box)) kill(box, SIGKILL);
  close(channel[0]);
  close(channel[1]);
}

}  // namespace
