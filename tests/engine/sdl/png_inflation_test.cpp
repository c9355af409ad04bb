// What a PNG's image data may inflate to, and the refusal of files whose
// compressed streams inflate beyond it.
#include "engine/sdl/png_inflation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/sdl/test_files.h"

namespace {

TEST(PngInflation, ImageDataBytesFollowTheHeader) {
  const struct {
    const char* name;
    uint32_t width, height;
    uint8_t depth, colourType, interlace;
    uint64_t bytes;
  } cases[] = {
      {"rgba 64 x 64", 64, 64, 8, 6, 0, 64 * (1 + 256)},
      {"palette of 1 bit, rows of 10 pixels in 2 bytes", 10, 3, 1, 3, 0, 3 * (1 + 2)},
      {"grey and alpha of 16 bits", 5, 2, 16, 4, 0, 2 * (1 + 20)},
      {"rgb", 3, 1, 8, 2, 0, 1 + 9},
      // Adam7 over 8 x 8: passes of 1x1, 1x1, 2x1, 2x2, 4x2, 4x4, 8x4 pixels,
      // so 64 pixels and 15 filter bytes.
      {"interlaced grey 8 x 8", 8, 8, 8, 0, 1, 64 + 15},
      // 1 x 1 interlaced: only the first pass has a pixel.
      {"interlaced 1 x 1", 1, 1, 8, 6, 1, 1 + 4},
      {"colour type 5", 4, 4, 8, 5, 0, 0},
      {"palette of 16 bits", 4, 4, 16, 3, 0, 0},
      {"depth 3", 4, 4, 3, 0, 0, 0},
      {"interlace method 2", 4, 4, 8, 0, 2, 0},
  };
  for (const auto& c : cases) {
    const std::vector<uint8_t> png = BuildPng(c.width, c.height, c.depth, c.colourType, c.interlace, {});
    EXPECT_EQ(PngImageDataBytes(png.data(), png.size()), c.bytes) << c.name;
  }
}

TEST(PngInflation, StreamsThatInflateTooFarAreRefused) {
  const uint64_t limit = PngImageDataLimit(2);  // a 1 x 1 grey image needs 2 bytes
  const std::vector<uint8_t> bomb = DeflatedZeros(size_t{64} << 20);
  const std::vector<uint8_t> big = DeflatedZeros(size_t{5} << 20), huge = DeflatedZeros(size_t{9} << 20);
  auto zText = [](const std::vector<uint8_t>& stream) {
    std::vector<uint8_t> data = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 0};
    data.insert(data.end(), stream.begin(), stream.end());
    return PngChunk{"zTXt", data};
  };
  // Keyword, compression flag and method, language, translated keyword.
  auto iText = [](const std::vector<uint8_t>& stream, uint8_t compressed = 1) {
    std::vector<uint8_t> data = {'T', 'i', 't', 'l', 'e', 0, compressed, 0, 'e', 'n', 0, 'T', 0};
    data.insert(data.end(), stream.begin(), stream.end());
    return PngChunk{"iTXt", data};
  };
  auto profile = [](const std::vector<uint8_t>& stream) {
    std::vector<uint8_t> data = {'s', 'R', 'G', 'B', 0, 0};
    data.insert(data.end(), stream.begin(), stream.end());
    return PngChunk{"iCCP", data};
  };
  std::vector<PngChunk> bombInPieces;
  const long third = static_cast<long>(bomb.size() / 3);
  for (long piece = 0; piece < 3; ++piece) {
    const auto from = bomb.begin() + piece * third, to = piece == 2 ? bomb.end() : from + third;
    bombInPieces.push_back({"IDAT", {from, to}});
  }
  const struct {
    const char* name;
    std::vector<uint8_t> png;
    std::string reason;  // empty: accepted
  } cases[] = {
      {"image data at the limit", BuildPng(1, 1, 8, 0, 0, {{"IDAT", DeflatedZeros(limit)}}), ""},
      {"one byte past it", BuildPng(1, 1, 8, 0, 0, {{"IDAT", DeflatedZeros(limit + 1)}}),
       "the image data inflates to more than the 2 bytes a 1 x 1 image needs"},
      {"64 MiB over three IDAT chunks", BuildPng(64, 64, 8, 6, 0, bombInPieces),
       "the image data inflates to more than the 16448 bytes a 64 x 64 image needs"},
      {"damaged image data, left to the decoder", BuildPng(1, 1, 8, 0, 0, {{"IDAT", {0x78, 0x9C, 0xFF, 0xFF, 0xFF}}}),
       ""},
      {"5 MiB of text", BuildPng(1, 1, 8, 0, 0, {zText(big)}), ""},
      {"9 MiB of text", BuildPng(1, 1, 8, 0, 0, {zText(huge)}),
       "its compressed text and colour profile chunks inflate to more than 8 MiB"},
      {"9 MiB of international text", BuildPng(1, 1, 8, 0, 0, {iText(huge)}),
       "its compressed text and colour profile chunks inflate to more than 8 MiB"},
      {"uncompressed international text is not inflated", BuildPng(1, 1, 8, 0, 0, {iText(huge, 0)}), ""},
      {"9 MiB colour profile", BuildPng(1, 1, 8, 0, 0, {profile(huge)}),
       "its compressed text and colour profile chunks inflate to more than 8 MiB"},
      {"5 MiB twice", BuildPng(1, 1, 8, 0, 0, {zText(big), profile(big)}),
       "its compressed text and colour profile chunks inflate to more than 8 MiB"},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckPngInflation(c.png.data(), c.png.size()), c.reason) << c.name;
}

}  // namespace
