// PNG encoding and decoding over zlib for the content tools: 8-bit RGBA or
// RGB with text chunks out, 8-bit grey, grey+alpha, RGB, RGBA and palette in
// (non-interlaced).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// Rows top to bottom, four bytes per pixel (R, G, B, A), straight alpha.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;

  RgbaImage() = default;
  RgbaImage(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 4, 0) {}
  uint8_t* At(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
  const uint8_t* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
};

// Encodes as an 8-bit RGBA PNG. The output depends only on the pixels (and
// the zlib version), so equal images give equal files.
std::vector<uint8_t> EncodePng(const RgbaImage& image);

// A tEXt chunk: a keyword of 1 to 79 Latin-1 characters without NUL, and
// Latin-1 text without NUL.
struct PngText {
  std::string keyword;
  std::string text;
};

// Encodes the colours of an opaque image as an 8-bit RGB PNG (the alpha
// bytes are dropped) with the text chunks in order, equally deterministic.
std::vector<uint8_t> EncodeRgbPng(const RgbaImage& image, const std::vector<PngText>& texts);

// Decodes a PNG into RGBA; false with a reason in error for anything it does
// not support or that is damaged (bad signature, CRC, zlib data, sizes).
bool DecodePng(const std::vector<uint8_t>& bytes, RgbaImage& image, std::string& error);

bool WritePngFile(const std::string& path, const RgbaImage& image);
bool WritePngFile(const std::string& path, const RgbaImage& image, std::string& error);
bool ReadPngFile(const std::string& path, RgbaImage& image, std::string& error);

}  // namespace tools
