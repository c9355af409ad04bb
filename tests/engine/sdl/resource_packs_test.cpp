// Resource loading through the engine: zip packs built here, searched
// before the disk, with "\" in the names.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "engine/sdl/headless_engine.h"
#include "engine/sdl/resource_packs.h"
#include "tests/engine/sdl/test_files.h"

namespace {

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// The loaded block as text; "(null)" when nothing was found.
std::string loadText(HGE& engine, const char* name) {
  uint32_t size = 12345;
  void* block = engine.Resource_Load(name, &size);
  if (!block) return size == 0 ? "(null)" : "(null, size not reset)";
  std::string text(static_cast<const char*>(block), size);
  engine.Resource_Free(block);
  return text;
}

class ResourcePacksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.Write("Graphics.paq", BuildStoredZip({{"graphics/font.fnt", bytesOf("font from the pack")},
                                                  {"graphics/only_in_pack.txt", bytesOf("pack only")},
                                                  {"shared.txt", bytesOf("graphics pack")}}));
    folder_.Write("Sound.paq",
                  BuildStoredZip({{"sound/MoonGarden.mp3", bytesOf("tone")}, {"shared.txt", bytesOf("sound pack")}}));
    folder_.Write("graphics/font.fnt", std::string("font from the disk"));
    folder_.Write("graphics/only_on_disk.txt", std::string("disk only"));
    folder_.Write("broken.paq", std::string("PK\x03\x04 but nothing more of a zip"));
  }
  TempFolder folder_;
  ScopedWorkingFolder cwd_{folder_.path()};
  HeadlessEngine engine_{8, 8};
};

TEST_F(ResourcePacksTest, DiskAloneBeforeAnyPackIsAttached) {
  EXPECT_EQ(loadText(engine_, "graphics\\font.fnt"), "font from the disk");
  EXPECT_EQ(loadText(engine_, "graphics/only_on_disk.txt"), "disk only");
  EXPECT_EQ(loadText(engine_, "graphics\\only_in_pack.txt"), "(null)");
}

TEST_F(ResourcePacksTest, AttachedPackWinsOverTheDiskAndTheDiskStillServesTheRest) {
  ASSERT_TRUE(engine_.Resource_AttachPack("Graphics.paq"));
  struct Case {
    const char* name;
    const char* want;
  };
  for (Case c : {Case{"graphics\\font.fnt", "font from the pack"},
                 {"graphics/font.fnt", "font from the pack"},
                 {"graphics\\only_in_pack.txt", "pack only"},
                 {"graphics\\only_on_disk.txt", "disk only"},
                 {"graphics\\missing.txt", "(null)"},
                 {"", "(null)"},
                 {"graphics\\", "(null)"},
                 {"graphics", "(null)"}})
    EXPECT_EQ(loadText(engine_, c.name), c.want) << c.name;
  EXPECT_EQ(engine_.Resource_Load(nullptr), nullptr);
}

TEST_F(ResourcePacksTest, TheLatestAttachedPackIsSearchedFirst) {
  ASSERT_TRUE(engine_.Resource_AttachPack("Graphics.paq"));
  ASSERT_TRUE(engine_.Resource_AttachPack("Sound.paq"));
  ASSERT_TRUE(engine_.Resource_AttachPack("Graphics.paq")) << "attaching again is harmless";
  EXPECT_EQ(loadText(engine_, "shared.txt"), "sound pack");
  EXPECT_EQ(loadText(engine_, "sound\\MoonGarden.mp3"), "tone");
  EXPECT_EQ(loadText(engine_, "graphics\\font.fnt"), "font from the pack");
}

TEST_F(ResourcePacksTest, MissingOrBrokenPacksAreRefused) {
  EXPECT_FALSE(engine_.Resource_AttachPack("Nothing.paq"));
  EXPECT_FALSE(engine_.Resource_AttachPack("broken.paq"));
  EXPECT_FALSE(engine_.Resource_AttachPack("graphics"));  // a folder is no pack
  EXPECT_FALSE(engine_.Resource_AttachPack(nullptr));
  EXPECT_EQ(loadText(engine_, "graphics\\font.fnt"), "font from the disk");
}

TEST_F(ResourcePacksTest, BlocksEndWithAZeroAndFreeingIsForgiving) {
  uint32_t size = 0;
  auto* block = static_cast<const char*>(engine_.Resource_Load("graphics\\only_on_disk.txt", &size));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(size, 9u);
  EXPECT_EQ(block[size], '\0');
  EXPECT_EQ(std::strlen(block), 9u);
  EXPECT_NE(engine_.Resource_Load("graphics\\only_on_disk.txt"), nullptr) << "size pointer is optional";
  engine_.Resource_Free(const_cast<char*>(block));
  engine_.Resource_Free(const_cast<char*>(block));
  engine_.Resource_Free(nullptr);
  int local = 0;
  engine_.Resource_Free(&local);
}

TEST_F(ResourcePacksTest, AnEnginesPacksOutliveAnotherEngine) {
  ASSERT_TRUE(engine_.Resource_AttachPack("Graphics.paq"));
  {
    HeadlessEngine other(8, 8);
    ASSERT_TRUE(other.Resource_AttachPack("Sound.paq"));
    EXPECT_EQ(loadText(other, "sound\\MoonGarden.mp3"), "tone");
  }
  EXPECT_EQ(loadText(engine_, "graphics\\font.fnt"), "font from the pack");
  engine_.System_Shutdown();
  EXPECT_EQ(loadText(engine_, "graphics\\font.fnt"), "font from the disk") << "shutdown detaches the packs";
}

TEST_F(ResourcePacksTest, TexturesLoadFromPacksByResourceName) {
  TestImage image{3, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF808080}};
  folder_.Write("Images.paq", BuildStoredZip({{"pix/tiny.png", EncodePng(image)}}));
  engine_.System_SetState(BoolState::UseSound, false);
  ASSERT_TRUE(engine_.System_Initiate());
  EXPECT_EQ(engine_.Texture_Load("pix\\tiny.png"), 0u);
  ASSERT_TRUE(engine_.Resource_AttachPack("Images.paq"));
  HTEXTURE texture = engine_.Texture_Load("pix\\tiny.png");
  ASSERT_NE(texture, 0u) << engine_.System_GetErrorMessage();
  EXPECT_EQ(engine_.Texture_GetWidth(texture, true), 3);
  EXPECT_EQ(engine_.Texture_GetHeight(texture, true), 2);
}

}  // namespace
