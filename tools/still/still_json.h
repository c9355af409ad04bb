// The JSON description of the current screen: seeds, canvas, formulas,
// colour, parameters, zoom and every figure in creation order.
#pragma once

#include <cstdint>
#include <string>

// Reads the composition and APP_STATE.scene. Floats carry 9 significant
// digits, enough to give back the exact single-precision value; infinities
// and not-a-number are written as the strings "inf", "-inf" and "nan".
std::string screenJson(const int32_t seeds[3], int width, int height);

// One float as written in the description.
std::string jsonFloat(float value);
