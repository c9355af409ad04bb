// The description reader on its own: line splitting, the header, "Bitmap"
// and "Char" lines, and damaged input.
#include "font/font_description.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Compact listing of what a description acts on: "B:<path>" for a texture,
// "<code>:x,y,w,h,pre,post" for a glyph, separated by " | ".
std::string summary(const FontDescription& description) {
  std::string out = description.validHeader ? "" : "INVALID";
  for (const FontDescriptionLine& line : description.lines) {
    if (!out.empty()) out += " | ";
    if (line.kind == FontDescriptionLine::Kind::Bitmap) {
      out += "B:" + line.texturePath;
    } else {
      out += std::to_string(line.code) + ":" + std::to_string(line.x) + "," + std::to_string(line.y) + "," +
             std::to_string(line.w) + "," + std::to_string(line.h) + "," + std::to_string(line.pre) + "," +
             std::to_string(line.post);
    }
  }
  return out;
}

std::string read(std::string_view text, std::string_view name = "graphics\\font.fnt") {
  return summary(ReadFontDescription(text, name));
}

const std::string kExampleFont = "B:graphics\\font.png | 65:2,2,14,20,1,0 | 66:18,2,12,20,0,1 | 32:0,0,0,0,0,6";

struct DescriptionCase {
  const char* label;
  std::string text;
  std::string expected;
};

void PrintTo(const DescriptionCase& c, std::ostream* out) { *out << c.label; }

class DescriptionTable : public ::testing::TestWithParam<DescriptionCase> {};

TEST_P(DescriptionTable, ReadsAsExpected) { EXPECT_EQ(read(GetParam().text), GetParam().expected); }

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    LineEndings, DescriptionTable,
    ::testing::Values(
        DescriptionCase{"lf",
                        "[HGEFONT]\nBitmap = font.png\nChar=\"A\",2,2,14,20,1,0\nChar=42,18,2,12,20,0,1\n"
                        "Char=\" \",0,0,0,0,0,6\nend\n",
                        kExampleFont},
        DescriptionCase{"crlf",
                        "[HGEFONT]\r\nBitmap = font.png\r\nChar=\"A\",2,2,14,20,1,0\r\nChar=42,18,2,12,20,0,1\r\n"
                        "Char=\" \",0,0,0,0,0,6\r\nend",
                        kExampleFont},
        DescriptionCase{"cr",
                        "[HGEFONT]\rBitmap = font.png\rChar=\"A\",2,2,14,20,1,0\rChar=42,18,2,12,20,0,1\r"
                        "Char=\" \",0,0,0,0,0,6\rend\r",
                        kExampleFont},
        DescriptionCase{"blankLines",
                        "[HGEFONT]\n\n\r\nBitmap = font.png\r\n\r\n\nChar=\"A\",2,2,14,20,1,0\n\n"
                        "Char=42,18,2,12,20,0,1\r\r\rChar=\" \",0,0,0,0,0,6\n\n\nend\n\n",
                        kExampleFont},
        DescriptionCase{"blankFirstLine", "\n[HGEFONT]\nChar=41,1,2,3,4,5,6\nend\n", "INVALID"},
        DescriptionCase{"headerWithTrailingSpace", "[HGEFONT] \nChar=41,1,2,3,4,5,6\nend\n", "INVALID"},
        DescriptionCase{"headerWithLeadingSpace", " [HGEFONT]\nChar=41,1,2,3,4,5,6\nend\n", "INVALID"},
        DescriptionCase{"empty", "", "INVALID"}, DescriptionCase{"headerOnly", "[HGEFONT]", ""},
        DescriptionCase{"headerAndLineBreaks", "[HGEFONT]\r\n\r\n", ""},
        DescriptionCase{"lastLineNeverActs", "[HGEFONT]\nChar=41,1,2,3,4,5,6", ""},
        DescriptionCase{"lastLineNeverActsEvenWithBreaks", "[HGEFONT]\nChar=41,1,2,3,4,5,6\r\n\r\n", ""},
        DescriptionCase{"zeroByteEndsTheText", "[HGEFONT]\nChar=41,1,2,3,4,5,6\nend\n\0Char=42,1,1,1,1,1,1\nmore\n"s,
                        "65:1,2,3,4,5,6"},
        DescriptionCase{"zeroByteInTheHeader", "[HGEFONT]\0\nChar=41,1,2,3,4,5,6\nend\n"s, ""}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    CharLines, DescriptionTable,
    ::testing::Values(
        DescriptionCase{"hexWithLeadingZeros", "[HGEFONT]\nChar=0041,1,2,3,4,5,6\nend", "65:1,2,3,4,5,6"},
        DescriptionCase{"hexLowerCase", "[HGEFONT]\nChar=ff,1,2,3,4,5,6\nend", "255:1,2,3,4,5,6"},
        DescriptionCase{"hexAboveFFIsIgnored", "[HGEFONT]\nChar=100,1,2,3,4,5,6\nend", ""},
        DescriptionCase{"hugeHexIsIgnored", "[HGEFONT]\nChar=FFFFFFFFFFFFFFFFFFFFFFFF41,1,2,3,4,5,6\nend", ""},
        DescriptionCase{"noDigitsIsCodeZero", "[HGEFONT]\nChar=,1,2,3,4,5,6\nend", "0:1,2,3,4,5,6"},
        DescriptionCase{"blanksAroundEverything", "[HGEFONT]\nChar =  41 ,\t1 ,2,  3 , 4,5 ,   6   \nend",
                        "65:1,2,3,4,5,6"},
        DescriptionCase{"quotedEquals", "[HGEFONT]\nChar=\"=\",1,2,3,4,5,6\nend", "61:1,2,3,4,5,6"},
        DescriptionCase{"quotedQuote", "[HGEFONT]\nChar=\"\"\",1,2,3,4,5,6\nend", "34:1,2,3,4,5,6"},
        DescriptionCase{"quotedHighByte", "[HGEFONT]\nChar=\"\xE9\",1,2,3,4,5,6\nend", "233:1,2,3,4,5,6"},
        DescriptionCase{"quoteAtLineEndIsIgnored", "[HGEFONT]\nChar=\"\nend", ""},
        // The byte after the code is taken as the closing quote, so the numbers
        // do not match and the first "Char" line gets zeros.
        DescriptionCase{"missingClosingQuote", "[HGEFONT]\nChar=\"A,2,2,14,20,1,0\nend", "65:0,0,0,0,0,0"},
        DescriptionCase{"noEqualsIsIgnored", "[HGEFONT]\nChar 41,1,2,3,4,5,6\nend", ""},
        DescriptionCase{"missingNumbersKeepThePreviousLine",
                        "[HGEFONT]\nChar=41,1,2,3,4,5,6\nChar=42,7,8\nChar=43\nend",
                        "65:1,2,3,4,5,6 | 66:7,8,3,4,5,6 | 67:7,8,3,4,5,6"},
        DescriptionCase{"ignoredLinesDoNotChangeThePreviousNumbers",
                        "[HGEFONT]\nChar=41,1,2,3,4,5,6\nChar=1FF,9,9,9,9,9,9\nChar=42\nend",
                        "65:1,2,3,4,5,6 | 66:1,2,3,4,5,6"},
        DescriptionCase{"firstLineWithFewNumbersGetsZeros", "[HGEFONT]\nChar=41,5\nend", "65:5,0,0,0,0,0"},
        DescriptionCase{"signsAndSaturation",
                        "[HGEFONT]\nChar=41,-3,2147483648,99999999999999999999,-99999999999999999999,+5,-0\nend",
                        "65:-3,2147483647,2147483647,-2147483648,5,0"},
        DescriptionCase{"signWithoutDigitsStops", "[HGEFONT]\nChar=41,1,-,3,4,5,6\nend", "65:1,0,0,0,0,0"},
        DescriptionCase{"keysAreCaseSensitive", "[HGEFONT]\nchar=41,1,2,3,4,5,6\nbitmap = x.png\nend", ""},
        DescriptionCase{"otherLinesAreIgnored", "[HGEFONT]\n; comment\n Char=41,1,2,3,4,5,6\nend", ""}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    BitmapLines, DescriptionTable,
    ::testing::Values(
        DescriptionCase{"noBlanks", "[HGEFONT]\nBitmap=a.png\nend", "B:graphics\\a.png"},
        DescriptionCase{"oneWordOnly", "[HGEFONT]\nBitmap \t=  a.png  rest of line\nend", "B:graphics\\a.png"},
        DescriptionCase{"bitmapXIsIgnored", "[HGEFONT]\nBitmapX = a.png\nend", ""},
        DescriptionCase{"nothingAfterEqualsIsIgnored", "[HGEFONT]\nBitmap =   \nend", ""},
        DescriptionCase{"bitmapWinsOverChar", "[HGEFONT]\nBitmapChar=41,1,2,3,4,5,6\nend", ""},
        DescriptionCase{"laterBitmapIsKept", "[HGEFONT]\nBitmap = a.png\nChar=41,1,2,3,4,5,6\nBitmap = b.png\nend",
                        "B:graphics\\a.png | 65:1,2,3,4,5,6 | B:graphics\\b.png"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(FontDescription, LongLinesAreCutAt255CharactersAndTheRestIsDropped) {
  // The "Char" text past the limit belongs to the same line: it must neither
  // be read as numbers nor start a line of its own.
  std::string line = "Char=41" + std::string(248, ' ');
  ASSERT_EQ(line.size(), kFontLineLimit);
  std::string text = "[HGEFONT]\n" + line + ",1,2,3,4,5,6\nChar=42,7,7,7,7,7,7\nend\n";
  EXPECT_EQ(read(text), "65:0,0,0,0,0,0 | 66:7,7,7,7,7,7");

  std::string junk = std::string(kFontLineLimit, 'x') + "Char=41,1,1,1,1,1,1";
  EXPECT_EQ(read("[HGEFONT]\n" + junk + "\nend\n"), "");

  std::string longWord = "Bitmap = " + std::string(5000, 'w');
  EXPECT_EQ(read("[HGEFONT]\n" + longWord + "\nend\n"), "B:graphics\\" + std::string(246, 'w'));
}

TEST(FontDescription, AVeryLongHeaderLineIsInvalid) {
  EXPECT_EQ(read("[HGEFONT]" + std::string(100000, ' ') + "\nChar=41,1,2,3,4,5,6\nend\n"), "INVALID");
}

struct PathCase {
  const char* name;
  const char* word;
  const char* expected;
};

TEST(FontTexturePath, ReplacesTheFileNameAfterTheLastSeparator) {
  const PathCase cases[] = {
      {"graphics\\font.fnt", "font.png", "graphics\\font.png"},
      {"a/b/font.fnt", "x.png", "a/b/x.png"},
      {"a/b\\c/font.fnt", "x.png", "a/b\\x.png"},  // a backslash wins over a later slash
      {"font.fnt", "x.png", "x.png"},
      {"graphics\\", "x.png", "graphics\\x.png"},
  };
  for (const PathCase& c : cases) EXPECT_EQ(FontTexturePath(c.name, c.word), c.expected) << c.name;
}

TEST(FontTexturePath, PathsOver259CharactersAreRefused) {
  std::string folder = std::string(250, 'f') + "\\";
  EXPECT_EQ(FontTexturePath(folder + "font.fnt", std::string(8, 'w')).size(), 259u);
  EXPECT_EQ(FontTexturePath(folder + "font.fnt", std::string(9, 'w')), "");
  EXPECT_EQ(FontTexturePath(std::string(1000, 'f') + "\\font.fnt", "x.png"), "");
}

}  // namespace
