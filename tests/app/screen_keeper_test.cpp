// The viewer's keeper on the recording engine: P, F and B act once per press
// and wait for the key lock, going back rebuilds the screen with its modes,
// and new screens come from the first seeds or the favourites.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "app/app_reset.h"
#include "app/app_state.h"
#include "app/frame.h"
#include "app/screen_keeper.h"
#include "composition/composition.h"
#include "core/random_below.h"
#include "engine/engine_factory.h"
#include "tests/support/recording_engine.h"
#include "tests/support/recording_platform.h"
#include "tests/support/test_folder.h"

namespace {

namespace fs = std::filesystem;

class Keeper : public ::testing::Test {
 protected:
  void SetUp() override {
    resetAppStateForTests();
    folder_ = FreshTestFolder("driftglow-keeper");
    options_.picturesFolder = (folder_ / "Pictures").string();
    options_.favouritesPath = (folder_ / "favourites").string();
    options_.printScreens = false;
    APP_STATE.engine = hgeCreate(kHgeVersion);
    APP_STATE.platform = &platform_;
    engine_->frameToRead = {2, 1, {0xFF102030u, 0xFF405060u}};
    seedRandomBelow(7);
  }
  void TearDown() override {
    if (keeper_) keeper_->FinishPictures();
    APP_STATE.keeper = nullptr;
    APP_STATE.engine->Release();
    resetAppStateForTests();
    fs::remove_all(folder_);
  }
  void start() {
    keeper_ = std::make_unique<ScreenKeeper>(options_);
    APP_STATE.keeper = keeper_.get();
    keeper_->Start();
  }
  // Runs frames with key held, counting the frames in which it acted.
  std::vector<int> framesActing(int key, int frames, const std::function<bool()>& acted) {
    std::vector<int> acting;
    engine_->Input().SetHeld(key, true);
    for (int frame = 0; frame < frames; ++frame) {
      frameFunction();
      renderFunctionStandIn();
      if (acted()) acting.push_back(frame);
    }
    engine_->Input().SetHeld(key, false);
    return acting;
  }
  void renderFunctionStandIn() { keeper_->AfterDrawing(); }
  size_t readBacks() { return std::count(engine_->calls.begin(), engine_->calls.end(), "Gfx_ReadFrame"); }

  ScopedRecordingEngine engine_;
  RecordingPlatform platform_;
  KeeperOptions options_;
  std::unique_ptr<ScreenKeeper> keeper_;
  fs::path folder_;
};

TEST_F(Keeper, PFAndBActOncePerPressAndWaitForTheLock) {
  start();
  for (int frame = 0; frame < 10; ++frame) frameFunction();  // the first screen, the lock passed
  size_t seen = readBacks();
  auto pictureTaken = [&] { return readBacks() > std::exchange(seen, readBacks()); };
  EXPECT_EQ(framesActing(kKeyP, 20, pictureTaken), (std::vector<int>{0}));

  // Right after N the lock holds each key back until the clock passes 5.8333.
  auto newScreenByN = [&] {
    engine_->Input().SetHeld(kKeyN, true);
    frameFunction();
    engine_->Input().SetHeld(kKeyN, false);
  };
  newScreenByN();
  EXPECT_EQ(framesActing(kKeyP, 20, pictureTaken), (std::vector<int>{5}));

  for (int key : {kKeyB, kKeyBackspace}) {
    newScreenByN();
    int32_t shown = keeper_->History().Current()->seeds[0];
    auto wentBack = [&] {
      const int32_t now = keeper_->History().Current()->seeds[0];
      return std::exchange(shown, now) != now;
    };
    EXPECT_EQ(framesActing(key, 20, wentBack), (std::vector<int>{5})) << key;
  }

  newScreenByN();
  const std::vector<int> kept = framesActing(kKeyF, 20, [&] { return fs::exists(options_.favouritesPath); });
  ASSERT_FALSE(kept.empty());
  EXPECT_EQ(kept.front(), 5);
  keeper_->FinishPictures();
  EXPECT_EQ(std::distance(fs::directory_iterator(options_.picturesFolder), fs::directory_iterator()), 4);
}

TEST_F(Keeper, BackRebuildsTheScreenWithItsModes) {
  start();
  frameFunction();  // the automatic generator's first screen and its modes
  const ScreenRecord first = *keeper_->History().Current();
  const auto formulas = composition.formulas;
  const int32_t modes[3] = {composition.rotationMode, composition.zoomMode, composition.scaleMode};
  for (int frame = 0; frame < 10; ++frame) frameFunction();
  engine_->Input().SetHeld(kKeyN, true);
  frameFunction();
  engine_->Input().SetHeld(kKeyN, false);
  ASSERT_NE(composition.formulas, formulas);
  composition.rotationMode = composition.zoomMode = composition.scaleMode = 9;
  for (int frame = 0; frame < 10; ++frame) frameFunction();

  engine_->Input().SetHeld(kKeyB, true);
  frameFunction();
  EXPECT_TRUE(keeper_->History().Current()->SameSeeds(first));
  EXPECT_EQ(composition.formulas, formulas);
  EXPECT_EQ(composition.rotationMode, modes[0]);
  EXPECT_EQ(composition.zoomMode, modes[1]);
  EXPECT_EQ(composition.scaleMode, modes[2]);
}

TEST_F(Keeper, NewScreensFromTheFirstSeedsThenTheFavourites) {
  fs::create_directories(folder_);
  std::ofstream(options_.favouritesPath) << "1,2,3 x\n4,5,6 y\nbroken\n7,8,9 z\n";
  options_.fromFavourites = true;
  options_.haveFirstSeeds = true;
  options_.firstSeeds[0] = 11;
  options_.firstSeeds[1] = 12;
  options_.firstSeeds[2] = 13;
  start();
  float opacity = 0;
  EXPECT_NE(keeper_->Message(opacity).find("1 damaged"), std::string::npos);

  frameFunction();
  EXPECT_EQ(keeper_->History().Current()->seeds[0], 11);
  std::vector<int32_t> shown;
  engine_->Input().SetHeld(kKeyN, true);
  for (int frame = 0; frame < 6 * 30; ++frame) {
    frameFunction();
    const int32_t seed = keeper_->History().Current()->seeds[0];
    if (APP_STATE.screenClock == 1.0f) shown.push_back(seed);
  }
  ASSERT_GE(shown.size(), 25u);
  for (size_t i = 1; i < shown.size(); ++i) ASSERT_NE(shown[i], shown[i - 1]) << i;
  EXPECT_EQ(std::set<int32_t>(shown.begin(), shown.end()), (std::set<int32_t>{1, 4, 7}));
}

}  // namespace
