// Real glyphs through the headless engine: a bitmap drawn and saved as PNG
// here, a description beside it on disk, then text rendered with a colour and
// checked at single pixels.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/engine_factory.h"
#include "engine/sdl/headless_engine.h"
#include "font/font.h"

namespace {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "driftglow-font-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlack = 0xFF000000;

TEST(FontPixels, GlyphsShowTheirPartOfTheBitmapInTheFontColour) {
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  HeadlessEngine engine(64, 32);
  hgeUseEngine(&engine);
  ASSERT_TRUE(engine.System_Initiate());
  {
    // The bitmap: white in the 8 by 16 pixels at the top left, black elsewhere.
    engine.Gfx_BeginScene();
    engine.Gfx_Clear(kBlack);
    hgeSprite white(0, 0, 0, 8, 16);
    white.RenderTransformed(0, 0, 0, 1);
    engine.Gfx_EndScene();
    ASSERT_TRUE(engine.SaveFrame((folder.path() / "glyphs.png").string()));
    std::ofstream(folder.path() / "glyphs.fnt") << "[HGEFONT]\r\nBitmap = glyphs.png\r\n"
                                                   "Char=\"A\",0,0,8,16,0,2\r\nChar=\"B\",8,0,8,16,0,0\r\nend\r\n";

    hgeFont font((folder.path() / "glyphs.fnt").string().c_str());
    ASSERT_NE(font.GetSprite('A'), nullptr);
    ASSERT_NE(font.GetTexture(), 0u);
    font.SetColor(kRed);
    engine.Gfx_BeginScene();
    engine.Gfx_Clear(kBlue);
    font.Render(4, 8, kTextLeft, "AB");  // A covers x 4..12, B 14..22, both y 8..24
    engine.Gfx_EndScene();

    struct Probe {
      int x, y;
      uint32_t expected;
    };
    const Probe probes[] = {
        {7, 16, kRed},     // white texels coloured red
        {17, 16, kBlack},  // B is cut from the black part
        {13, 16, kBlue},   // the gap of A's post advance
        {7, 4, kBlue},     // above the line
        {40, 16, kBlue},   // after the text
    };
    bool allMatch = true;
    for (const Probe& p : probes) {
      EXPECT_EQ(engine.GetPixel(p.x, p.y), p.expected) << p.x << "," << p.y;
      allMatch = allMatch && engine.GetPixel(p.x, p.y) == p.expected;
    }
    if (!allMatch) engine.SaveFrame("font_pixels_actual.png");
  }
  engine.System_Shutdown();
  hgeUseEngine(nullptr);
}

}  // namespace
