// The font and image catalogue loader on a temporary working folder, with
// the recording engine deciding which images load; and its place in start-up.
#include "app/texture_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/app_reset.h"
#include "app/app_state.h"
#include "app/startup.h"
#include "engine/engine_factory.h"
#include "font/font.h"
#include "scene/scene.h"
#include "tests/support/recording_engine.h"
#include "tests/support/recording_platform.h"
#include "tests/support/test_folder.h"

namespace {

class TextureCatalogue : public ::testing::Test {
 protected:
  void SetUp() override {
    resetAppStateForTests();
    folder_ = FreshTestFolder("driftglow-pix");
    ASSERT_TRUE(std::filesystem::create_directories(folder_));
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
    APP_STATE.engine = &*engine_;
    APP_STATE.scene = std::make_unique<SPIX>();
  }
  void TearDown() override {
    resetAppStateForTests();
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(folder_, ignored);
  }

  // A file in pix that the engine loads as an image of the given size (on a
  // power-of-two surface), or, with loads false, one it cannot load.
  void AddImage(const std::string& name, int width, int height, bool loads = true) {
    std::filesystem::create_directories(folder_ / "pix");
    std::ofstream(folder_ / "pix" / name) << "image bytes";
    if (!loads) return;
    int surfaceWidth = 1, surfaceHeight = 1;
    while (surfaceWidth < width) surfaceWidth *= 2;
    while (surfaceHeight < height) surfaceHeight *= 2;
    engine_->textureFiles["pix/" + name] = {name, width, height, surfaceWidth, surfaceHeight};
  }

  struct Registered {
    std::string name;
    int32_t id;
    int blend;
    float pivotX, pivotY;
    float width, height;
  };
  std::vector<Registered> Graphics() const {
    std::vector<Registered> out;
    for (int i = 0; i < APP_STATE.scene->GraphicsCount(); ++i) {
      const SPIX_GRAPHICS* g = APP_STATE.scene->GraphicsAt(i);
      Registered r{g->name, g->id, g->sprite->GetBlend(), 0, 0, g->sprite->GetWidth(), g->sprite->GetHeight()};
      g->sprite->GetPivot(&r.pivotX, &r.pivotY);
      out.push_back(r);
    }
    return out;
  }

  ScopedRecordingEngine engine_;
  std::filesystem::path folder_, previous_;
};

TEST_F(TextureCatalogue, ImagesBecomeNumberedGraphicsInListingOrder) {
  AddImage("c.png", 8, 9);
  AddImage("a.png", 33, 17);
  AddImage("B.png", 64, 64);
  std::ofstream(folder_ / "pix" / "notes.txt") << "not an image";

  EXPECT_FALSE(loadTextureCatalogue());
  auto graphics = Graphics();
  ASSERT_EQ(graphics.size(), 3u);
  const char* names[] = {"a.png", "B.png", "c.png"};
  const int blends[] = {kBlendAdditive, kBlendAlpha, kBlendAdditive};
  const float pivots[][2] = {{16, 8}, {32, 32}, {4, 4}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(names[i]);
    EXPECT_EQ(graphics[i].name, names[i]);
    EXPECT_EQ(graphics[i].id, i + 1);
    EXPECT_EQ(graphics[i].blend, blends[i]);
    EXPECT_FLOAT_EQ(graphics[i].pivotX, pivots[i][0]);
    EXPECT_FLOAT_EQ(graphics[i].pivotY, pivots[i][1]);
  }
  // The sprite covers the image's own size, not its padded surface.
  const SPIX_GRAPHICS* a = APP_STATE.scene->GraphicsAt(0);
  EXPECT_FLOAT_EQ(a->sprite->GetWidth(), 33);
  EXPECT_FLOAT_EQ(a->sprite->GetHeight(), 17);
  EXPECT_FLOAT_EQ(a->sprite->GetQuad().v[2].tx, 33.0f / 64.0f);
  EXPECT_FLOAT_EQ(a->sprite->GetQuad().v[2].ty, 17.0f / 32.0f);
  for (int corner = 0; corner < 4; ++corner) EXPECT_EQ(a->sprite->GetVertexColor(corner), 0xFFFFFFFFu);
  EXPECT_EQ(engine_->FindTexture(a->sprite->GetTexture())->name, "a.png");
}

TEST_F(TextureCatalogue, ADirectoryIsSkippedButShiftsTheBlendAlternation) {
  AddImage("a.png", 4, 4);
  std::filesystem::create_directories(folder_ / "pix" / "b.png");
  AddImage("c.png", 4, 4);
  AddImage("d.png", 4, 4);

  EXPECT_FALSE(loadTextureCatalogue());
  auto graphics = Graphics();
  ASSERT_EQ(graphics.size(), 3u);
  EXPECT_EQ(graphics[1].name, "c.png");
  EXPECT_EQ(graphics[1].id, 2);
  EXPECT_EQ(graphics[0].blend, kBlendAdditive);  // entry 0
  EXPECT_EQ(graphics[1].blend, kBlendAdditive);  // entry 2
  EXPECT_EQ(graphics[2].blend, kBlendAlpha);     // entry 3
}

TEST_F(TextureCatalogue, AnImageThatDoesNotLoadFailsAndKeepsTheGraphicsBeforeIt) {
  for (const char* name : {"a.png", "b.png", "c.png", "d.png", "f.png"}) AddImage(name, 16, 16);
  AddImage("e.png", 16, 16, false);

  EXPECT_TRUE(loadTextureCatalogue());
  auto graphics = Graphics();
  ASSERT_EQ(graphics.size(), 4u);
  EXPECT_EQ(graphics[3].name, "d.png");
}

TEST_F(TextureCatalogue, NoImageFolderIsNoFailureButEachMissingPieceIsSaid) {
  EXPECT_FALSE(loadTextureCatalogue());
  EXPECT_EQ(APP_STATE.scene->GraphicsCount(), 0);
  // The fonts are made even without their descriptions; they are empty.
  ASSERT_NE(APP_STATE.titleFont, nullptr);
  ASSERT_NE(APP_STATE.helpFont, nullptr);
  EXPECT_EQ(APP_STATE.titleFont->GetSprite('A'), nullptr);
  EXPECT_EQ(engine_->logLines, std::vector<std::string>{"No images in pix/ (*.png): every screen stays empty."});
}

// Windows file names cannot hold a backslash; elsewhere they can.
#ifndef _WIN32
TEST_F(TextureCatalogue, NamesWithABackslashAreSkippedWithoutCountingAndSaid) {
  AddImage("a.png", 4, 4);
  AddImage("b\\c.png", 4, 4);
  AddImage("d.png", 4, 4);

  EXPECT_FALSE(loadTextureCatalogue());
  auto graphics = Graphics();
  ASSERT_EQ(graphics.size(), 2u);
  EXPECT_EQ(graphics[1].name, "d.png");
  EXPECT_EQ(graphics[1].id, 2);
  EXPECT_EQ(graphics[1].blend, kBlendAlpha);  // entry 1, as if the name were not there
  EXPECT_EQ(engine_->logLines.back(), "Skipping pix/b\\c.png: a backslash in a file name cannot be addressed.");
}
#endif

TEST_F(TextureCatalogue, ImagesWithoutASceneFailInsteadOfCrashing) {
  AddImage("a.png", 4, 4);
  APP_STATE.scene.reset();
  EXPECT_TRUE(loadTextureCatalogue());
}

TEST_F(TextureCatalogue, LoadsBothFontsFromTheGraphicsFolder) {
  engine_->resources["graphics/font.fnt"] = "[HGEFONT]\nBitmap = font.png\nChar=41,0,0,20,36,0,0\nend\n";
  engine_->resources["graphics/fontsmall.fnt"] = "[HGEFONT]\nBitmap = fontsmall.png\nChar=41,0,0,8,15,0,0\nend\n";
  engine_->textureFiles["graphics/font.png"] = {"font.png", 256, 256, 256, 256};
  engine_->textureFiles["graphics/fontsmall.png"] = {"fontsmall.png", 128, 128, 128, 128};

  EXPECT_FALSE(loadTextureCatalogue());
  ASSERT_NE(APP_STATE.titleFont, nullptr);
  ASSERT_NE(APP_STATE.helpFont, nullptr);
  EXPECT_FLOAT_EQ(APP_STATE.titleFont->GetHeight(), 36);
  EXPECT_FLOAT_EQ(APP_STATE.helpFont->GetHeight(), 15);
  EXPECT_EQ(engine_->FindTexture(APP_STATE.helpFont->GetTexture())->name, "fontsmall.png");
}

class CatalogueStartup : public TextureCatalogue {
 protected:
  void SetUp() override {
    TextureCatalogue::SetUp();
    APP_STATE.engine = nullptr;
    APP_STATE.scene.reset();  // start-up makes its own
    for (const char* track : {"sound/MoonGarden.mp3", "sound/Kalliope.mp3", "sound/Mercury.mp3"})
      engine_->resources[track] = "mp3";
    engine_->maxFrames = 2;
  }
  RecordingPlatform platform_;
};

TEST_F(CatalogueStartup, ABrokenImageEndsTheStartWithCantLoadGraphics) {
  AddImage("a.png", 16, 16);
  AddImage("b.png", 16, 16, false);
  EXPECT_EQ(driftglowMain(platform_), 1);
  ASSERT_EQ(platform_.messages.size(), 2u);
  EXPECT_EQ(platform_.messages[1].text, "Can't load graphics.");
  EXPECT_EQ(platform_.messages[1].caption, "Error");
  EXPECT_EQ(platform_.messages[1].style, kMbIconError);
  EXPECT_EQ(engine_->attachedPacks, std::vector<std::string>{"Graphics.paq"});
  EXPECT_EQ(engine_->framesRun, 0);
  EXPECT_EQ(engine_->calls.back(), "System_Shutdown");
  EXPECT_EQ(hgeReferenceCount(), 0);  // fonts and graphics were let go
}

TEST_F(CatalogueStartup, ALoadableCatalogueReachesTheFrameLoop) {
  AddImage("a.png", 16, 16);
  AddImage("b.png", 16, 16);
  EXPECT_EQ(driftglowMain(platform_), 0);
  EXPECT_EQ(platform_.messages.size(), 1u);  // only the full-screen question
  EXPECT_GT(engine_->framesRun, 0);
  // Without their descriptions the fonts are empty: the viewer runs and says so.
  EXPECT_EQ(engine_->logLines,
            (std::vector<std::string>{
                "Font graphics\\font.fnt could not be read; the help overlay shows no text from it.",
                "Font graphics\\fontsmall.fnt could not be read; the help overlay shows no text from it."}));
  EXPECT_EQ(hgeReferenceCount(), 0);
}

}  // namespace
