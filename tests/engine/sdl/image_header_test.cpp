// Image sizes read from headers: one sample per format, and no read past
// the end of any cut-short header.
#include "engine/sdl/image_header.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<uint8_t> bytes(std::initializer_list<int> values) { return {values.begin(), values.end()}; }
std::vector<uint8_t> text(const std::string& s) { return {s.begin(), s.end()}; }

struct HeaderCase {
  const char* name;
  std::vector<uint8_t> header;
  bool known;
  int64_t width, height;
  std::string format;
};

TEST(ImageHeader, SizesAsTheHeadersClaimThem) {
  const HeaderCase cases[] = {
      {"png",
       bytes({0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0x17, 0x70, 0, 1, 0, 0}),
       true, 6000, 65536, "PNG"},
      {"bmp info, bottom-up",
       bytes({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0, 0, 0x40, 0, 0, 0x00, 0xC0, 0xFF, 0xFF}), true,
       16384, 16384, "BMP"},
      {"bmp core", bytes({'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0, 0x10, 0, 0x20, 0}), true, 16, 32,
       "BMP"},
      // GIF's decoder takes whichever image it can read: no header size to trust.
      {"gif", bytes({'G', 'I', 'F', '8', '9', 'a', 10, 0, 10, 0, 0, 0, 0, ',', 0, 0, 0, 0, 0x50, 0xC3, 0x20, 0x4E}),
       false, 0, 0, ""},
      {"jpeg", bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 0, 0, 0xFF, 0xC2, 0, 11, 8, 0x40, 0x00, 0x10, 0x00}), true, 4096,
       16384, "JPG"},
      {"webp lossless", bytes({'R', 'I', 'F', 'F', 0, 0, 0, 0,    'W',  'E',  'B',  'P', 'V',
                               'P', '8', 'L', 0,   0, 0, 0, 0x2F, 0xFF, 0xFF, 0xFF, 0x0F}),
       true, 16384, 16384, "WEBP"},
      {"qoi", bytes({'q', 'o', 'i', 'f', 0, 0, 0x40, 0, 0, 0, 0, 7, 4, 0}), true, 16384, 7, "QOI"},
      {"pnm with comment", text("P6\n# made by hand\n 7000 12\n255\n"), true, 7000, 12, "PNM"},
      {"pcx", bytes({0x0A, 5, 1, 8, 10, 0, 20, 0, 0x09, 0x10, 0x13, 0x10}), true, 4096, 4096, "PCX"},
      {"text", text("this is not an image"), false, 0, 0, ""},
      {"pnm without numbers", text("P6\n# no size\n"), false, 0, 0, ""},
      {"svg, whose size is whatever it names", text("<svg width=\"99999\" height=\"99999\"/>"), false, 0, 0, ""},
  };
  for (const HeaderCase& c : cases) {
    ImageSize size;
    EXPECT_EQ(ReadImageSize(c.header.data(), c.header.size(), &size), c.known) << c.name;
    if (!c.known) continue;
    EXPECT_EQ(size.width, c.width) << c.name;
    EXPECT_EQ(size.height, c.height) << c.name;
    EXPECT_EQ(size.format, c.format) << c.name;
    // Every shorter prefix is read without going past its end (the
    // sanitizer build checks the reads).
    for (size_t length = 0; length < c.header.size(); ++length) {
      std::vector<uint8_t> prefix(c.header.begin(), c.header.begin() + static_cast<long>(length));
      ReadImageSize(prefix.data(), prefix.size(), &size);
    }
  }
}

// The PNG decoder reads on past the end of the data: a chunk claiming more
// than the file holds kept it busy for minutes, so such files are marked.
TEST(ImageHeader, APngIsCompleteOnlyWhenEveryChunkUpToIendFits) {
  std::vector<uint8_t> whole =
      bytes({0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0,   0,   0, 2, 0, 0, 0,
             2,    8,   6,   0,   0,  0,  1,  2,  3, 4, 0, 0,  0,   0,   'I', 'E', 'N', 'D', 1, 2, 3, 4});
  ImageSize size;
  ASSERT_TRUE(ReadImageSize(whole.data(), whole.size(), &size));
  EXPECT_TRUE(size.complete);
  whole[33] = 0x40;  // IEND now claims 4 MiB
  ASSERT_TRUE(ReadImageSize(whole.data(), whole.size(), &size));
  EXPECT_FALSE(size.complete);
}

}  // namespace
