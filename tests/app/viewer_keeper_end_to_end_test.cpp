// The viewer with its keeper on the headless engine and the real content:
// N twice, then B returns the previous screen's figure list exactly, and P
// writes a PNG equal to the frame on the screen and a description whose
// seeds make the same figure list in driftglow-still.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/app_reset.h"
#include "app/app_state.h"
#include "app/screen_json.h"
#include "app/screen_keeper.h"
#include "app/startup.h"
#include "engine/engine_factory.h"
#include "engine/sdl/headless_engine.h"
#include "tests/support/recording_platform.h"
#include "tools/common/png_file.h"

#ifdef DRIFTGLOW_STILL

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr const char* kNullDevice = "NUL";
#else
constexpr const char* kNullDevice = "/dev/null";
#endif

std::string readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// The description without its "view" field.
std::string withoutView(std::string json) {
  const size_t view = json.find("\"view\":{");
  if (view != std::string::npos) json.erase(view, json.find("},\n", view) + 3 - view);
  return json;
}

TEST(ViewerKeeperEndToEnd, BackRebuildsTheScreenAndPSavesWhatIsShown) {
  resetAppStateForTests();
  const fs::path previous = fs::current_path();
  const fs::path folder = fs::temp_directory_path() / ("driftglow-keeper-e2e-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::current_path(DRIFTGLOW_RUN_DIR);

  RecordingPlatform platform;
  HeadlessEngine engine(960, 960);
  hgeUseEngine(&engine);
  KeeperOptions options;
  options.picturesFolder = (folder / "Pictures" / "Driftglow").string();
  options.favouritesPath = (folder / "favourites").string();
  options.printScreens = false;
  ScreenKeeper keeper(options);
  StartupOptions startup;
  startup.fullScreenAnswer = kIdNo;

  // N at frames 10 and 20, B at 30, P at 40, X at 50.
  std::map<int, std::string> builtJson;  // the figure list right after each key's frame
  std::vector<uint32_t> shown(960 * 960);
  engine.SetBeforeFrame([&](int frame) {
    if (frame == 11 || frame == 21 || frame == 31) {
      const ScreenRecord* screen = keeper.History().Current();
      builtJson[frame - 1] = screen ? screenJson(APP_STATE.scene.get(), screen->seeds, 960, 960) : "";
    }
    if (frame == 41) {
      ASSERT_TRUE(engine.ReadFrame(shown.data(), 960 * 4));
    }
    engine.SetKey(kKeyN, frame == 10 || frame == 20);
    engine.SetKey(kKeyB, frame == 30);
    engine.SetKey(kKeyP, frame == 40);
    engine.SetKey(kKeyX, frame >= 50);
  });
  EXPECT_EQ(driftglowMain(platform, startup, &keeper), 0);
  EXPECT_TRUE(platform.messages.empty()) << "no question with --window, and no failure";
  keeper.FinishPictures();
  hgeUseEngine(nullptr);
  resetAppStateForTests();
  fs::current_path(previous);

  ASSERT_EQ(builtJson.size(), 3u);
  EXPECT_NE(builtJson[10], builtJson[20]);
  EXPECT_EQ(builtJson[30], builtJson[10]) << "B did not rebuild the previous screen exactly";

  fs::path png, json;
  for (const auto& entry : fs::directory_iterator(options.picturesFolder))
    (entry.path().extension() == ".png" ? png : json) = entry.path();
  ASSERT_FALSE(png.empty());
  ASSERT_EQ(json.stem(), png.stem());
  tools::RgbaImage image;
  std::string error;
  ASSERT_TRUE(tools::ReadPngFile(png.string(), image, error)) << error;
  ASSERT_EQ(image.width, 960);
  ASSERT_EQ(image.height, 960);
  int different = 0;
  for (int i = 0; i < 960 * 960; ++i) {
    const uint8_t* p = &image.pixels[static_cast<size_t>(i) * 4];
    different += ((p[0] << 16) | (p[1] << 8) | p[2]) != static_cast<int>(shown[i] & 0xFFFFFF);
  }
  EXPECT_EQ(different, 0);

  // The description's seeds make the same figure list in driftglow-still.
  const std::string description = readFile(json);
  EXPECT_NE(description.find("\"view\":{\"zoom\":"), std::string::npos);
  // Frames 30 (B) to 40 (P) were shown.
  EXPECT_NE(description.find("\"frames\":11}"), std::string::npos);
  const size_t seedsAt = description.find("\"seeds\":[");
  ASSERT_NE(seedsAt, std::string::npos);
  const std::string seeds = description.substr(seedsAt + 9, description.find(']', seedsAt) - seedsAt - 9);
  const fs::path stillJson = folder / "still.json";
  const std::string command = std::string(DRIFTGLOW_STILL) + " --seeds " + seeds + " --data " + DRIFTGLOW_RUN_DIR +
                              " --renderer software --json " + stillJson.string() + " >" + kNullDevice + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  EXPECT_EQ(readFile(stillJson), withoutView(description));
  EXPECT_EQ(withoutView(description), builtJson[10]);
  fs::remove_all(folder);
}

}  // namespace

#endif
