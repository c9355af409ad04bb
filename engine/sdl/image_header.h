// Reads an image's width and height from its header, without decoding it,
// so that an absurd size can be refused before anything is allocated.
// Plain byte arithmetic, no SDL.
#pragma once

#include <cstddef>
#include <cstdint>

struct ImageSize {
  const char* format = "";  // "PNG", "BMP", "JPG", "WEBP", "QOI", "PNM" or "PCX"
  int64_t width = 0;
  int64_t height = 0;
  bool complete = true;  // false for a PNG whose chunks run past the end or lack IEND
};

// The format and the size the header of a PNG, BMP, JPEG, WebP, QOI, PNM or
// PCX file claims (for a BMP the height without its sign). False when the
// format is none of these or the header is cut short.
bool ReadImageSize(const uint8_t* bytes, size_t size, ImageSize* result);
