// Saved pictures: the PNG holds the frame's pixels, the JSON sits beside it,
// names never overwrite, and a failure leaves nothing behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/picture_saver.h"
#include "tests/support/test_folder.h"
#include "tools/common/png_file.h"

namespace {

namespace fs = std::filesystem;

FramePixels testFrame() {
  FramePixels frame;
  frame.width = 5;
  frame.height = 3;
  for (uint32_t i = 0; i < 15; ++i) frame.argb.push_back(0xFF000000u | (i * 0x0F1E2D));
  return frame;
}

class PictureFiles : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = FreshTestFolder("driftglow-pictures"); }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

TEST_F(PictureFiles, WritesThePixelsAndTheDescriptionUnderFreeNames) {
  PictureSaver saver;
  for (int i = 0; i < 2; ++i)
    ASSERT_TRUE(saver.Queue({testFrame(), "{\"seeds\":[1,2,3]}\n", (folder_ / "Driftglow").string(), "shot"}));
  saver.WaitUntilIdle();
  PictureOutcome first, second, none;
  ASSERT_TRUE(saver.TakeOutcome(first));
  ASSERT_TRUE(saver.TakeOutcome(second));
  EXPECT_FALSE(saver.TakeOutcome(none));
  EXPECT_TRUE(first.saved) << first.text;
  EXPECT_EQ(first.text, "shot.png");
  EXPECT_EQ(second.text, "shot-2.png");

  tools::RgbaImage image;
  std::string error;
  ASSERT_TRUE(tools::ReadPngFile((folder_ / "Driftglow" / "shot-2.png").string(), image, error)) << error;
  ASSERT_EQ(image.width, 5);
  ASSERT_EQ(image.height, 3);
  const FramePixels frame = testFrame();
  for (int i = 0; i < 15; ++i) {
    const uint8_t* p = &image.pixels[i * 4];
    EXPECT_EQ(0xFF000000u | (p[0] << 16) | (p[1] << 8) | p[2], frame.argb[i]) << i;
    EXPECT_EQ(p[3], 0xFF);
  }
  std::ifstream json(folder_ / "Driftglow" / "shot.json");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(json), {}), "{\"seeds\":[1,2,3]}\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "Driftglow"), fs::directory_iterator()), 4);
}

TEST_F(PictureFiles, AFolderThatCannotBeMadeLeavesNothing) {
  fs::create_directories(folder_);
  std::ofstream(folder_ / "Driftglow") << "a file";
  const PictureOutcome outcome = writePicture({testFrame(), "{}", (folder_ / "Driftglow").string(), "shot"});
  EXPECT_FALSE(outcome.saved);
  EXPECT_NE(outcome.text.find("Driftglow"), std::string::npos) << outcome.text;
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

}  // namespace
