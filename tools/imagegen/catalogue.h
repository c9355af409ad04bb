// The image catalogue: every image's file name, kind and recipe. Names are
// chosen so that the case-insensitive sorted listing alternates kinds (and
// with them additive and alpha-blended drawing).
#pragma once

#include <string>
#include <vector>

#include "tools/common/png_file.h"

namespace imagegen {

enum class Kind { Glow, Ring, Star, Petal, Leaf, Feather, Crescent, Spiral, Hexagon, Lattice, Brush, Bokeh, Arc };

const char* KindName(Kind kind);

struct CatalogueEntry {
  std::string fileName;  // e.g. "amber.png"
  Kind kind;
};

// The entries in the order the viewer lists them (sorted by name).
const std::vector<CatalogueEntry>& CatalogueEntries();

// Draws one entry's image; deterministic.
tools::RgbaImage DrawCatalogueImage(size_t index);

}  // namespace imagegen
