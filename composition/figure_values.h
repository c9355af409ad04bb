// The rules that turn formula results into a figure's graphic index and
// scale. Pure functions of their arguments.
#pragma once

#include <cstdint>

// v rounded to single precision as the hardware rounds it, with values
// beyond the float range becoming infinities (a plain cast is undefined there).
float narrowToFloat(double v);

// |trunc(z·n) rem n| for n graphics: the product truncated toward zero to 64
// bits, its low 32 bits taken as signed, the remainder signed like the
// dividend. A product that is not a number or lies beyond the signed 64-bit
// range gives 0, and so does n <= 0. The result lies in 0..n-1.
int32_t figureGraphicIndex(double z, int32_t n);

// The scale z as a float, held in 0.05..3; a value that is not a number gives 0.05.
float figureScale(double z);
