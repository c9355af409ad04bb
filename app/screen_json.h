// The JSON description of the current screen: seeds, canvas, formulas,
// colour, parameters, zoom, the version that wrote it and every figure in
// creation order.
#pragma once

#include <cstdint>
#include <string>

class SPIX;

// Reads the composition and the scene its figures live in (none: no
// graphics and no figures are listed). Floats carry 9 significant
// digits, enough to give back the exact single-precision value; infinities
// and not-a-number are written as the strings "inf", "-inf" and "nan".
std::string screenJson(const SPIX* scene, const int32_t seeds[3], int width, int height);

// One float as written in the description.
std::string jsonFloat(float value);

// The view of a screen as it is shown: the composition's zoom, how far the
// figures have turned (radians) and grown since the screen was made, and
// the frames shown since then.
struct ViewState {
  float zoom = 0;
  float rotation = 0;
  float figureScale = 1;
  int64_t framesShown = 0;
};

// A description from screenJson with a "view" field holding the view state
// added before its figures; the rest unchanged.
std::string withViewState(const std::string& json, const ViewState& view);
