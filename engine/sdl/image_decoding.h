// Decoding an image file into the ARGB8888 surface a texture is made from,
// with its size checked from the header before anything is decoded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/sdl/sdl_handles.h"

// The PNG image in bytes as an ARGB8888 surface no larger than largestSide
// on either side; other formats are refused by their header (see
// image_header.h). On failure null, with *reason saying why.
SurfaceHandle DecodeImage(const std::vector<uint8_t>& bytes, int largestSide, std::string* reason);
