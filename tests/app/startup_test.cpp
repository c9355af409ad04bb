// Tests of the start-up and shutdown paths with the recording engine and platform.
#include <gtest/gtest.h>

#include "app/app_reset.h"
#include "app/app_state.h"
#include "app/startup.h"
#include "engine/engine_factory.h"
#include "tests/support/recording_engine.h"
#include "tests/support/recording_platform.h"

namespace {

using StateChange = RecordingEngine::StateChange;

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    resetAppStateForTests();
    engine_->resources["sound/MoonGarden.mp3"] = "a";
    engine_->resources["sound/Kalliope.mp3"] = "b";
    engine_->resources["sound/Mercury.mp3"] = "c";
    engine_->maxFrames = 3;
  }
  void TearDown() override { resetAppStateForTests(); }

  int Run() { return driftglowMain(platform_); }

  std::vector<std::string> StateLines() {
    std::vector<std::string> lines;
    for (const StateChange& s : engine_->states)
      lines.push_back(std::string(1, s.kind) + std::to_string(s.state) + "=" +
                      (s.kind == 's' ? s.textValue : std::to_string(s.intValue)));
    return lines;
  }

  ScopedRecordingEngine engine_;
  RecordingPlatform platform_;
};

TEST_F(Startup, WindowedOnASmallDesktopSetsEveryStateInOrder) {
  platform_.desktop = {1366, 768};
  platform_.answer = kIdNo;
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(StateLines(),
            (std::vector<std::string>{"f1=1", "f2=1", "s7=Driftglow - generative art", "b11=1", "i8=600", "i9=600",
                                      "i10=32", "b18=1", "b25=0", "b12=0", "i23=50", "b24=1", "b13=1"}));
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].text, "Run full screen?");
  EXPECT_EQ(platform_.messages[0].caption, "Driftglow");
  EXPECT_EQ(platform_.messages[0].style, kMbYesNo);
  EXPECT_FLOAT_EQ(APP_STATE.windowScale, 0.625f);
  ASSERT_FALSE(engine_->transforms.empty());
  EXPECT_FLOAT_EQ(engine_->transforms[0].hscale, 0.625f);
  EXPECT_FLOAT_EQ(engine_->transforms[0].vscale, 0.625f);
  EXPECT_EQ(engine_->attachedPacks, (std::vector<std::string>{"Graphics.paq", "Sound.paq"}));
  EXPECT_GT(engine_->framesRun, 0);
  EXPECT_EQ(engine_->calls.back(), "System_Shutdown");
  EXPECT_EQ(hgeReferenceCount(), 0);
}

TEST_F(Startup, FullScreenTakesTheDesktopAsCanvas) {
  platform_.desktop = {1920, 1080};
  platform_.answer = kIdYes;
  EXPECT_EQ(Run(), 0);
  auto lines = StateLines();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[3], "b11=0");
  EXPECT_EQ(lines[4], "i8=1920");
  EXPECT_EQ(lines[5], "i9=1080");
  EXPECT_FLOAT_EQ(APP_STATE.screenWidth, 1920);
  EXPECT_FLOAT_EQ(APP_STATE.screenHeight, 1080);
  EXPECT_FLOAT_EQ(APP_STATE.windowScale, 1.0f);
}

TEST_F(Startup, EngineStartFailureShowsTheEngineMessageAndShutsDown) {
  engine_->initiateResult = false;
  engine_->errorMessage = "No available video device";
  EXPECT_EQ(Run(), 1);  // a failure, not a success
  ASSERT_EQ(platform_.messages.size(), 2u);
  EXPECT_EQ(platform_.messages[1].text, "No available video device");
  EXPECT_EQ(platform_.messages[1].caption, "Error");
  EXPECT_EQ(platform_.messages[1].style, kMbSystemModal | kMbIconError);
  EXPECT_EQ(engine_->framesRun, 0);
  EXPECT_TRUE(engine_->attachedPacks.empty());
  EXPECT_EQ(engine_->calls.back(), "System_Shutdown");
  EXPECT_EQ(hgeReferenceCount(), 0);
}

TEST_F(Startup, MissingSecondTrackStopsLoadingAndReportsSounds) {
  engine_->resources.erase("sound/Kalliope.mp3");
  EXPECT_EQ(Run(), 1);  // a failure, not a success
  ASSERT_EQ(platform_.messages.size(), 2u);
  EXPECT_EQ(platform_.messages[1].text, "Can't load sounds.");
  EXPECT_EQ(platform_.messages[1].caption, "Error");
  EXPECT_EQ(platform_.messages[1].style, kMbIconError);
  int effectLoads = 0;
  for (auto& call : engine_->calls) effectLoads += call == "Effect_Load";
  EXPECT_EQ(effectLoads, 2);  // the third track is never asked for
  EXPECT_EQ(engine_->framesRun, 0);
  EXPECT_EQ(engine_->calls.back(), "System_Shutdown");
  EXPECT_EQ(hgeReferenceCount(), 0);
}

TEST_F(Startup, NoEngineAtAllIsReportedNotCrashed) {
  hgeUseEngine(nullptr);
  hgeSetFactory(nullptr);
  EXPECT_EQ(Run(), 1);  // a failure, not a success
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].caption, "Error");
}

}  // namespace
