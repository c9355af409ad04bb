// Turns an ink field (a function of normalised coordinates) into an RGBA
// image with straight alpha, soft edges and a fully transparent border.
#pragma once

#include <functional>

#include "tools/common/png_file.h"
#include "tools/imagegen/shape_math.h"

namespace imagegen {

// Where a sample lies: u to the right and v upwards, in units of half the
// image's smaller side (so a square image spans -1..1 both ways), and the
// size of one pixel in those units for anti-aliasing widths.
struct Sample {
  double u = 0.0;
  double v = 0.0;
  double pixel = 0.0;
};

// Radius up to which a radial motif may reach: the border fade covers the
// last four pixels.
inline double Reach(const Sample& s) { return 1.0 - 4.0 * s.pixel; }

using InkField = std::function<Ink(const Sample&)>;

// Evaluates the field on supersampling x supersampling points per pixel and
// averages them (premultiplied), then fades the outermost pixels to zero,
// quantises, and gives fully transparent pixels the grey of their visible
// neighbours so filtering at shape edges does not pull in black.
tools::RgbaImage RenderField(int width, int height, int supersampling, const InkField& field);

}  // namespace imagegen
