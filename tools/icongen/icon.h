// The application icon, composed from catalogue images: each is tinted and
// added like light onto a dark disc. Standard library and the PNG helpers only.
#pragma once

#include <string>

#include "tools/common/png_file.h"

namespace icongen {

// The largest icon, 256 × 256, from the catalogue folder's images; false with
// a reason when one of the images it uses cannot be read.
bool DrawIcon(const std::string& catalogueFolder, tools::RgbaImage& icon, std::string& error);

// The image reduced to size × size by averaging each output pixel's area,
// weighted by alpha so transparent pixels do not darken the edges.
tools::RgbaImage ReduceImage(const tools::RgbaImage& image, int size);

}  // namespace icongen
