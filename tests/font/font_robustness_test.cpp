// Many damaged descriptions, made from a fixed seed: every one must build a
// font, draw and measure without a fault (run it in the sanitizer build), and
// the header rule must decide whether the log gets its one line.
#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <random>
#include <string>

#include "font/font.h"
#include "font/font_description.h"
#include "tests/support/recording_engine.h"

namespace {

const std::string kSeedDescription =
    "[HGEFONT]\r\n"
    "Bitmap = font.png\r\n"
    "Char=\"A\",2,2,14,20,1,0\r\n"
    "Char=42,18,2,12,20,0,1\r\n"
    "Char=\" \",0,0,0,0,0,6\r\n"
    "Char=3F,30,2,10,20,0,2\r\n"
    "Bitmap = second.png\r\n"
    "Char=\"C\",40,2,11,-20,-1,1\r\n"
    "end\r\n";

// Fragments that tend to reach the reader's edges.
const char* const kFragments[] = {
    "Char=",     "Bitmap = ", "\"", "=",         ",",           "-",           "+",
    "\r\n",      "\n",        "\r", "FFFFFFFFF", "2147483647",  "-2147483648", "99999999999999999999",
    "[HGEFONT]", " ",         "\t", "\x80\xFF",  "missing.png", "\\",          "/",
};

std::string mutate(std::string text, std::mt19937& random) {
  const int edits = 1 + static_cast<int>(random() % 8);
  for (int e = 0; e < edits; ++e) {
    const size_t position = text.empty() ? 0 : random() % (text.size() + 1);
    switch (random() % 7) {
      case 0:  // flip a byte
        if (position < text.size()) text[position] = static_cast<char>(random() % 256);
        break;
      case 1:  // delete a run
        if (position < text.size()) text.erase(position, 1 + random() % 16);
        break;
      case 2:  // insert a fragment
        text.insert(position, kFragments[random() % std::size(kFragments)]);
        break;
      case 3:  // insert random bytes
        for (int n = static_cast<int>(random() % 12); n > 0; --n)
          text.insert(text.begin() + static_cast<std::ptrdiff_t>(std::min(position, text.size())),
                      static_cast<char>(random() % 256));
        break;
      case 4:  // an over-long run of one character
        text.insert(position, 200 + random() % 400, "x 9,\""[random() % 5]);
        break;
      case 5:  // truncate
        text.resize(position);
        break;
      default:  // duplicate a piece
        if (position < text.size()) text.insert(position, text.substr(position, 1 + random() % 40));
        break;
    }
  }
  return text;
}

std::string randomBytes(std::mt19937& random) {
  std::string text(random() % 600, '\0');
  for (char& c : text) c = static_cast<char>(random() % 256);
  if (random() % 2) text = "[HGEFONT]\n" + text;
  return text;
}

bool startsWithHeaderLine(const std::string& text) {
  const std::string header = "[HGEFONT]";
  if (text.compare(0, header.size(), header) != 0) return false;
  return text.size() == header.size() || text[header.size()] == '\r' || text[header.size()] == '\n' ||
         text[header.size()] == '\0';
}

TEST(FontRobustness, DamagedDescriptionsNeverFault) {
  ScopedRecordingEngine engine;
  engine->textureFiles["graphics/font.png"] = {"graphics/font.png", 60, 30, 64, 32};
  engine->textureFiles["graphics/second.png"] = {"graphics/second.png", 16, 16, 16, 16};
  std::mt19937 random(20240611u);
  const char* const texts[] = {"", "A", "AB\nC", "\n\n?", "A B*C\x80\xFF", "%d %s"};
  int validHeaders = 0;

  for (int round = 0; round < 4000; ++round) {
    const std::string description = round % 5 == 4 ? randomBytes(random) : mutate(kSeedDescription, random);
    engine->ClearRecordings();
    engine->resources["graphics/x.fnt"] = description;
    SCOPED_TRACE(::testing::Message() << "round " << round);
    {
      hgeFont font("graphics\\x.fnt");
      const bool valid = startsWithHeaderLine(description);
      validHeaders += valid;
      const auto wrongFormat =
          std::count(engine->logLines.begin(), engine->logLines.end(), "Font graphics\\x.fnt has incorrect format.");
      EXPECT_EQ(wrongFormat, valid ? 0 : 1);
      EXPECT_LE(engine->logLines.size(), 1u);
      EXPECT_EQ(ReadFontDescription(description, "graphics\\x.fnt").validHeader, valid);

      for (float scale : {1.0f, 0.5f, 3.0f}) {
        font.SetScale(scale);
        for (const char* text : texts) {
          for (int align = 0; align < 4; ++align) font.Render(480, 480, align, text);
          EXPECT_FALSE(std::isnan(font.GetStringWidth(text)));
        }
      }
      font.SetColor(0xFF102030);
      font.printf(0, 0, kTextCenter, "%s|%d", description.c_str(), round);
      // At most one quad per drawn byte.
      size_t drawnBytes = 0;
      for (int pass = 0; pass < 3; ++pass)
        for (const char* text : texts) drawnBytes += 4 * std::char_traits<char>::length(text);
      EXPECT_LE(engine->quads.size(), drawnBytes + 1023);
    }
  }
  // The mutations must leave many headers intact, or the body is never read.
  EXPECT_GT(validHeaders, 1500);
}

}  // namespace
