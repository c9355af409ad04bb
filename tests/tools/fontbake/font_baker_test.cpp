// The baked fonts: descriptions in the bitmap font's format (header, bitmap
// line, one "Char" line per byte, a closing line that is never read), glyph
// rectangles inside the bitmap and apart from each other, ink only inside
// them, white glyphs with coverage in alpha.
#include "tools/fontbake/font_baker.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

const std::string kFontPath = DRIFTGLOW_DEJAVU_SANS;

// Splits the way the font reader does: any run of CR and LF ends a line,
// so blank lines vanish.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      if (!current.empty()) lines.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

struct CharLine {
  int code = -1;
  int numbers[6] = {0, 0, 0, 0, 0, 0};
};

// Reads "Char=" lines as the font reader does: a quoted byte or hexadecimal
// digits, then six comma-separated integers. False for anything else.
bool ParseCharLine(const std::string& line, CharLine& out) {
  if (line.rfind("Char", 0) != 0) return false;
  const size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  size_t at = equals + 1;
  while (at < line.size() && line[at] == ' ') ++at;
  if (at < line.size() && line[at] == '"') {
    if (at + 2 >= line.size() || line[at + 2] != '"') return false;
    out.code = static_cast<unsigned char>(line[at + 1]);
    at += 3;
  } else {
    int code = 0, digits = 0;
    while (at < line.size() && std::isxdigit(static_cast<unsigned char>(line[at]))) {
      code = code * 16 + std::stoi(std::string(1, line[at]), nullptr, 16);
      ++at;
      ++digits;
    }
    if (digits == 0 || code > 255) return false;
    out.code = code;
  }
  int consumed = 0;
  const std::string rest = line.substr(at);
  if (std::sscanf(rest.c_str(), " , %d , %d , %d , %d , %d , %d%n", &out.numbers[0], &out.numbers[1], &out.numbers[2],
                  &out.numbers[3], &out.numbers[4], &out.numbers[5], &consumed) != 6)
    return false;
  return static_cast<size_t>(consumed) == rest.size();
}

struct FontCase {
  const char* name;
  int pixels;
  int minLineHeight, maxLineHeight;
};

class BakedFontTest : public ::testing::TestWithParam<FontCase> {
 protected:
  void SetUp() override {
    if (kFontPath.empty()) GTEST_SKIP() << "DejaVu Sans is not installed";
    fontbake::BakeOptions options{kFontPath, GetParam().pixels, std::string(GetParam().name) + ".png"};
    std::string error;
    ASSERT_TRUE(fontbake::BakeFont(options, baked_, error)) << error;
  }
  fontbake::BakedFont baked_;
};

TEST_P(BakedFontTest, DescriptionFollowsTheFontFormat) {
  const std::vector<std::string> lines = SplitLines(baked_.description);
  ASSERT_GE(lines.size(), 3u);
  // The header must be the very first line, with nothing before it.
  EXPECT_EQ(baked_.description.rfind("[HGEFONT]\r\n", 0), 0u);
  EXPECT_EQ(lines[1], std::string("Bitmap=") + GetParam().name + ".png");
  EXPECT_NE(lines.back().rfind("Char", 0), 0u) << "the last line is never read, so it must not hold a glyph";

  std::map<int, CharLine> glyphs;
  for (size_t i = 2; i + 1 < lines.size(); ++i) {
    ASSERT_LE(lines[i].size(), 255u);
    CharLine parsed;
    ASSERT_TRUE(ParseCharLine(lines[i], parsed)) << lines[i];
    EXPECT_TRUE(glyphs.emplace(parsed.code, parsed).second) << "code defined twice: " << parsed.code;
  }
  for (int code = 0x20; code <= 0x7E; ++code) EXPECT_EQ(glyphs.count(code), 1u) << "missing byte " << code;
  ASSERT_EQ(glyphs.size(), baked_.glyphs.size());
  for (const fontbake::GlyphBox& box : baked_.glyphs) {
    const CharLine& line = glyphs.at(box.code);
    const int expected[6] = {box.x, box.y, box.width, box.height, box.pre, box.post};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(line.numbers[k], expected[k]) << "byte " << box.code;
  }
}

TEST_P(BakedFontTest, GlyphRectanglesLieInsideTheBitmapAndApart) {
  const auto& glyphs = baked_.glyphs;
  const tools::RgbaImage& bitmap = baked_.bitmap;
  EXPECT_GE(baked_.lineHeight, GetParam().minLineHeight);
  EXPECT_LE(baked_.lineHeight, GetParam().maxLineHeight);
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const auto& a = glyphs[i];
    EXPECT_GE(a.x, 0);
    EXPECT_GE(a.y, 0);
    EXPECT_LE(a.x + a.width, bitmap.width);
    EXPECT_LE(a.y + a.height, bitmap.height);
    EXPECT_EQ(a.height, baked_.lineHeight);
    if (a.width == 0) continue;
    for (size_t j = i + 1; j < glyphs.size(); ++j) {
      const auto& b = glyphs[j];
      if (b.width == 0) continue;
      const bool apart = a.x + a.width + fontbake::kGlyphGap <= b.x || b.x + b.width + fontbake::kGlyphGap <= a.x ||
                         a.y + a.height + fontbake::kGlyphGap <= b.y || b.y + b.height + fontbake::kGlyphGap <= a.y;
      EXPECT_TRUE(apart) << "glyphs " << a.code << " and " << b.code << " are closer than the gap";
    }
  }
}

TEST_P(BakedFontTest, InkIsWhiteAndOnlyInsideGlyphs) {
  const tools::RgbaImage& bitmap = baked_.bitmap;
  std::vector<int> owner(static_cast<size_t>(bitmap.width) * bitmap.height, -1);
  for (const auto& box : baked_.glyphs)
    for (int y = box.y; y < box.y + box.height; ++y)
      for (int x = box.x; x < box.x + box.width; ++x) owner[static_cast<size_t>(y) * bitmap.width + x] = box.code;
  std::map<int, int> ink;
  for (int y = 0; y < bitmap.height; ++y)
    for (int x = 0; x < bitmap.width; ++x) {
      const uint8_t* p = bitmap.At(x, y);
      ASSERT_TRUE(p[0] == 255 && p[1] == 255 && p[2] == 255) << "glyph colour must be white for SetColor to tint it";
      const int code = owner[static_cast<size_t>(y) * bitmap.width + x];
      if (code < 0) {
        ASSERT_EQ(p[3], 0) << "ink outside every glyph at " << x << "," << y;
      } else if (p[3] > 0) {
        ++ink[code];
      }
    }
  for (int code = 0x21; code <= 0x7E; ++code) EXPECT_GT(ink[code], 0) << "byte " << code << " has no ink";
  EXPECT_EQ(ink.count(' '), 0u);
  // A non-empty glyph keeps a transparent column on both sides inside its rectangle.
  for (const auto& box : baked_.glyphs) {
    if (box.width == 0) continue;
    for (int y = box.y; y < box.y + box.height; ++y) {
      EXPECT_EQ(bitmap.At(box.x, y)[3], 0);
      EXPECT_EQ(bitmap.At(box.x + box.width - 1, y)[3], 0);
    }
  }
}

TEST_P(BakedFontTest, BakingIsDeterministic) {
  fontbake::BakedFont again;
  std::string error;
  ASSERT_TRUE(fontbake::BakeFont({kFontPath, GetParam().pixels, std::string(GetParam().name) + ".png"}, again, error));
  EXPECT_EQ(again.description, baked_.description);
  EXPECT_EQ(again.bitmap.pixels, baked_.bitmap.pixels);
}

INSTANTIATE_TEST_SUITE_P(ViewerFonts, BakedFontTest,
                         ::testing::Values(FontCase{"font", 36, 36, 50}, FontCase{"fontsmall", 15, 15, 24}),
                         [](const ::testing::TestParamInfo<FontCase>& info) { return std::string(info.param.name); });

TEST(FontBaker, MapsWindows1250Bytes) {
  struct Case {
    int byte;
    unsigned unicode;
  };
  const Case cases[] = {{0x41, 0x41},   {0x20, 0x20},   {0x7E, 0x7E},   {0x1F, 0},      {0x7F, 0},      {0x80, 0x20AC},
                        {0x81, 0},      {0x8A, 0x0160}, {0x9A, 0x0161}, {0xA9, 0x00A9}, {0xC8, 0x010C}, {0xE8, 0x010D},
                        {0xF9, 0x016F}, {0xFF, 0x02D9}, {-1, 0},        {256, 0}};
  for (const Case& c : cases) EXPECT_EQ(fontbake::Cp1250ToUnicode(c.byte), c.unicode) << c.byte;
}

TEST(FontBaker, RefusesMissingFontAndSillySizes) {
  fontbake::BakedFont baked;
  std::string error;
  EXPECT_FALSE(fontbake::BakeFont({"/nonexistent/font.ttf", 15, "x.png"}, baked, error));
  EXPECT_FALSE(error.empty());
  if (!kFontPath.empty()) {
    EXPECT_FALSE(fontbake::BakeFont({kFontPath, 0, "x.png"}, baked, error));
    EXPECT_FALSE(fontbake::BakeFont({kFontPath, 5000, "x.png"}, baked, error));
  }
}

}  // namespace
