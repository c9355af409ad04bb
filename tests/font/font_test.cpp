// hgeFont on the recording engine: building from a description, textures and
// engine references, and text layout checked through the recorded quads.
#include "font/font.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/engine_factory.h"
#include "tests/support/recording_engine.h"

namespace {

// Advances (width + pre + post): A 15, B 13, C 14, ? 12, space 6; line height 21.
const char* const kLayoutFont =
    "[HGEFONT]\n"
    "Bitmap = font.png\n"
    "Char=\"A\",0,0,14,20,1,0\n"
    "Char=\"B\",20,0,12,20,0,1\n"
    "Char=\"C\",40,0,9,21,2,3\n"
    "Char=\"?\",60,0,10,18,0,2\n"
    "Char=\" \",0,0,0,0,0,6\n"
    "end\n";

class FontTest : public ::testing::Test {
 protected:
  FontTest() {
    engine_->textureFiles["graphics/font.png"] = {"graphics/font.png", 100, 40, 128, 64};
    engine_->textureFiles["graphics/other.png"] = {"graphics/other.png", 10, 10, 16, 16};
  }

  std::unique_ptr<hgeFont> Make(const std::string& description) {
    engine_->resources["graphics/x.fnt"] = description;
    return std::make_unique<hgeFont>("graphics\\x.fnt");
  }

  // x of the quad's left and right edges, y of its top and bottom.
  float Left(size_t i) { return engine_->quads.at(i).v[0].x; }
  float Right(size_t i) { return engine_->quads.at(i).v[2].x; }
  float Top(size_t i) { return engine_->quads.at(i).v[0].y; }
  float Bottom(size_t i) { return engine_->quads.at(i).v[2].y; }
  // Texture u of the quad's left edge: tells which glyph was drawn.
  float GlyphU(size_t i) { return engine_->quads.at(i).v[0].tx; }

  ScopedRecordingEngine engine_;
};

TEST_F(FontTest, BuildsGlyphsFromTheDescriptionAndItsTexture) {
  auto font = Make(kLayoutFont);
  ASSERT_NE(font->GetTexture(), 0u);
  EXPECT_EQ(engine_->FindTexture(font->GetTexture())->name, "graphics/font.png");

  const hgeSprite* a = font->GetSprite('A');
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->GetTexture(), font->GetTexture());
  EXPECT_FLOAT_EQ(a->GetWidth(), 14);
  EXPECT_FLOAT_EQ(a->GetHeight(), 20);
  const hgeSprite* c = font->GetSprite('C');
  ASSERT_NE(c, nullptr);
  EXPECT_FLOAT_EQ(c->GetTextureX(), 40);
  EXPECT_FLOAT_EQ(font->GetPreOffset('C'), 2);
  EXPECT_FLOAT_EQ(font->GetPostOffset('C'), 3);
  EXPECT_FLOAT_EQ(font->GetHeight(), 21);  // the tallest glyph
  EXPECT_EQ(font->GetSprite('D'), nullptr);
  EXPECT_TRUE(engine_->logLines.empty());
}

TEST_F(FontTest, UnreadableDescriptionsGiveAnEmptyFont) {
  struct Case {
    const char* label;
    const char* description;  // null: no such resource
    const char* logged;       // null: nothing
  };
  const char* const wrongFormat = "Font graphics\\x.fnt has incorrect format.";
  const Case cases[] = {
      {"missing", nullptr, nullptr},
      {"empty file", "", wrongFormat},
      {"blank first line", "\n[HGEFONT]\nBitmap = font.png\nChar=41,0,0,5,5,0,0\nend\n", wrongFormat},
      {"binary", "\x89PNG\r\n\x1A\n\0\0\0\rIHDR", wrongFormat},
      {"header only", "[HGEFONT]\r\n", nullptr},
  };
  for (const Case& c : cases) {
    engine_->ClearRecordings();
    engine_->resources.clear();
    if (c.description) engine_->resources["graphics/x.fnt"] = c.description;
    hgeFont font("graphics\\x.fnt");
    if (c.logged) {
      EXPECT_EQ(engine_->logLines, std::vector<std::string>{c.logged}) << c.label;
    } else {
      EXPECT_TRUE(engine_->logLines.empty()) << c.label;
    }
    EXPECT_EQ(font.GetTexture(), 0u) << c.label;
    EXPECT_EQ(font.GetSprite('A'), nullptr) << c.label;
    EXPECT_FLOAT_EQ(font.GetStringWidth("AB?"), 0) << c.label;
    font.Render(10, 10, kTextCenter, "AB?\nA");
    font.printf(10, 10, kTextLeft, "%d", 42);
    EXPECT_TRUE(engine_->quads.empty()) << c.label;
  }
}

TEST_F(FontTest, ATextureThatDoesNotLoadStopsReading) {
  auto font = Make("[HGEFONT]\nChar=41,0,0,5,5,0,0\nBitmap = missing.png\nChar=42,0,0,5,5,0,0\nend\n");
  ASSERT_NE(font->GetSprite('A'), nullptr);
  EXPECT_EQ(font->GetSprite('A')->GetTexture(), 0u);  // made before any "Bitmap" line
  EXPECT_EQ(font->GetSprite('B'), nullptr);
  EXPECT_EQ(font->GetTexture(), 0u);
}

// Without a bitmap a glyph would draw as a solid block: it keeps its room in
// the line but draws nothing, and the font says so once.
TEST_F(FontTest, GlyphsBeforeAnyBitmapTakeRoomButDrawNothing) {
  auto font =
      Make("[HGEFONT]\nChar=41,0,0,5,5,0,0\nChar=42,0,0,7,5,0,0\nBitmap = font.png\nChar=43,0,0,4,5,0,0\nend\n");
  EXPECT_EQ(engine_->logLines,
            std::vector<std::string>{"Font graphics\\x.fnt has glyphs before any bitmap; they are not drawn."});
  font->Render(10, 10, kTextLeft, "ABC");
  ASSERT_EQ(engine_->quads.size(), 1u);  // only C, which has the texture
  EXPECT_FLOAT_EQ(engine_->quads[0].v[0].x, 10 + 5 + 7);
}

TEST_F(FontTest, ATexturePathOverTheLimitCountsAsNotLoaded) {
  std::string folder(252, 'f');
  engine_->textureFiles[folder + "/longname.png"] = {"long", 8, 8, 8, 8};
  engine_->resources[folder + "/x.fnt"] = "[HGEFONT]\nBitmap = longname.png\nChar=41,0,0,5,5,0,0\nend\n";
  hgeFont font((folder + "\\x.fnt").c_str());
  EXPECT_EQ(font.GetTexture(), 0u);
  EXPECT_EQ(font.GetSprite('A'), nullptr);
  for (const std::string& call : engine_->calls) EXPECT_NE(call, "Texture_Load");
}

TEST_F(FontTest, ALaterBitmapLeavesEarlierGlyphsOnTheirTextureAndBothAreFreed) {
  HTEXTURE first = 0, second = 0;
  {
    auto font = Make(
        "[HGEFONT]\nBitmap = font.png\nChar=41,0,0,5,5,0,0\nChar=42,0,0,5,5,0,0\n"
        "Bitmap = other.png\nChar=42,1,1,6,6,0,0\nend\n");
    ASSERT_NE(font->GetSprite('A'), nullptr);
    ASSERT_NE(font->GetSprite('B'), nullptr);
    first = font->GetSprite('A')->GetTexture();
    second = font->GetTexture();
    EXPECT_EQ(engine_->FindTexture(first)->name, "graphics/font.png");
    EXPECT_EQ(engine_->FindTexture(second)->name, "graphics/other.png");
    // B was defined again after the second "Bitmap" line: the later glyph wins.
    EXPECT_EQ(font->GetSprite('B')->GetTexture(), second);
    EXPECT_FLOAT_EQ(font->GetSprite('B')->GetWidth(), 6);
    EXPECT_TRUE(engine_->freedTextures.empty());
  }
  EXPECT_EQ(engine_->freedTextures, (std::vector<HTEXTURE>{first, second}));
  EXPECT_EQ(hgeReferenceCount(), 0);  // the font's and every glyph's references are gone
}

TEST_F(FontTest, LeftAlignedGlyphsAdvanceByPreWidthAndPost) {
  auto font = Make(kLayoutFont);
  font->Render(10, 5, kTextLeft, "AB C");
  ASSERT_EQ(engine_->quads.size(), 4u);
  EXPECT_FLOAT_EQ(Left(0), 11);  // pre 1
  EXPECT_FLOAT_EQ(Right(0), 25);
  EXPECT_FLOAT_EQ(Top(0), 5);
  EXPECT_FLOAT_EQ(Bottom(0), 25);
  EXPECT_FLOAT_EQ(Left(1), 25);  // A advanced 15 in all
  EXPECT_FLOAT_EQ(Left(2), 38);  // B advanced 13; the space draws an empty quad
  EXPECT_FLOAT_EQ(Right(2), 38);
  EXPECT_FLOAT_EQ(Left(3), 46);  // space advanced 6, then C's pre 2
  EXPECT_FLOAT_EQ(Bottom(3), 26);
}

TEST_F(FontTest, CentredLinesAreEachCentredAndOneScaledLineHeightApart) {
  auto font = Make(kLayoutFont);
  font->SetScale(2);
  font->Render(100, 50, kTextCenter, "AB\nC");
  ASSERT_EQ(engine_->quads.size(), 3u);
  // Line 1 is (15 + 13) * 2 = 56 wide and starts at 100 - 28; A's pre is 2.
  EXPECT_FLOAT_EQ(Left(0), 74);
  EXPECT_FLOAT_EQ(Right(0), 102);
  EXPECT_FLOAT_EQ(Bottom(0), 90);
  // Line 2 is 14 * 2 = 28 wide: starts at 86, C's pre is 4; 42 lower.
  EXPECT_FLOAT_EQ(Left(2), 90);
  EXPECT_FLOAT_EQ(Top(2), 92);
}

TEST_F(FontTest, CentringTruncatesTheHalfWidth) {
  auto font = Make(kLayoutFont);
  font->Render(100, 0, kTextCenter, "A");  // 15 wide: starts at 100 - 7
  ASSERT_EQ(engine_->quads.size(), 1u);
  EXPECT_FLOAT_EQ(Left(0), 94);
}

TEST_F(FontTest, RightAlignmentEndsEveryLineAtX) {
  auto font = Make(kLayoutFont);
  font->Render(200, 0, kTextRight, "AB\nA\n\nC");
  ASSERT_EQ(engine_->quads.size(), 4u);
  EXPECT_FLOAT_EQ(Right(1) + 1, 200);  // B's post
  EXPECT_FLOAT_EQ(Right(2) + 0, 200);  // A's post
  EXPECT_FLOAT_EQ(Right(3) + 3, 200);  // C's post
  EXPECT_FLOAT_EQ(Top(2), 21);
  EXPECT_FLOAT_EQ(Top(3), 63);  // the empty line still moves down
}

TEST_F(FontTest, LineFeedMovesDownByTheTruncatedScaledLineHeight) {
  auto font = Make(kLayoutFont);
  font->SetScale(1.5f);
  font->Render(0, 10, kTextLeft, "A\nA");
  ASSERT_EQ(engine_->quads.size(), 2u);
  EXPECT_FLOAT_EQ(Top(1), 10 + 31);  // 21 * 1.5 = 31.5
  EXPECT_FLOAT_EQ(Left(1), 1.5f);    // back at x, then the scaled pre
}

TEST_F(FontTest, OnlyTheTwoLowestAlignmentBitsCount) {
  auto font = Make(kLayoutFont);
  font->Render(100, 0, 3, "A");                // acts as left
  font->Render(100, 0, 4 | kTextRight, "A");   // right
  font->Render(100, 0, 8 | kTextCenter, "A");  // centre
  ASSERT_EQ(engine_->quads.size(), 3u);
  EXPECT_FLOAT_EQ(Left(0), 101);
  EXPECT_FLOAT_EQ(Left(1), 86);
  EXPECT_FLOAT_EQ(Left(2), 94);
}

TEST_F(FontTest, MissingGlyphsFallBackToTheQuestionMark) {
  auto font = Make(kLayoutFont);
  const float questionU = 60.0f / 128.0f;
  font->Render(0, 0, kTextLeft,
               "AZ\x80"
               "B");
  ASSERT_EQ(engine_->quads.size(), 4u);
  EXPECT_FLOAT_EQ(GlyphU(1), questionU);
  EXPECT_FLOAT_EQ(GlyphU(2), questionU);
  EXPECT_FLOAT_EQ(Left(3), 15 + 12 + 12);
  EXPECT_FLOAT_EQ(font->GetStringWidth("AZ\x80"
                                       "B"),
                  15 + 12 + 12 + 13);
}

TEST_F(FontTest, WithoutAQuestionMarkMissingGlyphsDrawNothingAndDoNotAdvance) {
  auto font = Make("[HGEFONT]\nBitmap = font.png\nChar=\"A\",0,0,14,20,1,0\nChar=\"B\",20,0,12,20,0,1\nend\n");
  font->Render(0, 0, kTextLeft, "AZB");
  ASSERT_EQ(engine_->quads.size(), 2u);
  EXPECT_FLOAT_EQ(Left(1), 15);
  EXPECT_FLOAT_EQ(font->GetStringWidth("AZB"), 28);
}

TEST_F(FontTest, StringWidthMeasuresTheFirstLineScaled) {
  auto font = Make(kLayoutFont);
  EXPECT_FLOAT_EQ(font->GetStringWidth("AB C"), 15 + 13 + 6 + 14);
  EXPECT_FLOAT_EQ(font->GetStringWidth("AB\nCCCC"), 28);
  EXPECT_FLOAT_EQ(font->GetStringWidth(""), 0);
  EXPECT_FLOAT_EQ(font->GetStringWidth(nullptr), 0);
  font->SetScale(0.5f);
  EXPECT_FLOAT_EQ(font->GetStringWidth("AB"), 14);
}

TEST_F(FontTest, PrintfFormatsIntoItsBufferAndRenders) {
  auto font = Make(kLayoutFont);
  font->printf(0, 0, kTextLeft, "%c%d%%%s", 'A', 7, "B");  // "A7%B": 7 and % fall back to ?
  ASSERT_EQ(engine_->quads.size(), 4u);
  EXPECT_FLOAT_EQ(GlyphU(1), 60.0f / 128.0f);
  EXPECT_FLOAT_EQ(GlyphU(2), 60.0f / 128.0f);
  EXPECT_FLOAT_EQ(GlyphU(3), 20.0f / 128.0f);
}

TEST_F(FontTest, PrintfKeepsAtMost1023Characters) {
  auto font = Make(kLayoutFont);
  std::string longText(5000, 'A');
  font->printf(0, 0, kTextLeft, "%s", longText.c_str());
  EXPECT_EQ(engine_->quads.size(), 1023u);
  engine_->quads.clear();
  font->printf(0, 0, kTextLeft, "%s", std::string(1023, 'B').c_str());
  EXPECT_EQ(engine_->quads.size(), 1023u);
  engine_->quads.clear();
  font->printf(0, 0, kTextLeft, nullptr);
  font->Render(0, 0, kTextLeft, nullptr);
  EXPECT_TRUE(engine_->quads.empty());
}

TEST_F(FontTest, SetColorColoursEveryGlyphAndItsQuads) {
  auto font = Make(kLayoutFont);
  font->SetColor(0x80FF2010);
  for (unsigned char code : {'A', 'B', 'C', '?', ' '}) {
    for (int corner = 0; corner < 4; ++corner) EXPECT_EQ(font->GetSprite(code)->GetVertexColor(corner), 0x80FF2010u);
  }
  font->Render(0, 0, kTextLeft, "AZ");
  ASSERT_EQ(engine_->quads.size(), 2u);
  for (const SpriteQuad& quad : engine_->quads) {
    for (const SpriteVertex& vertex : quad.v) EXPECT_EQ(vertex.colour, 0x80FF2010u);
    EXPECT_EQ(quad.blend, kBlendAlpha);  // the sprite default
  }
}

}  // namespace
