// CompositionContext: what the composition reads of the application that
// runs it, handed to each call instead of read from a global record, so that
// a composition can be built and tested on its own. Engine interface only.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/platform.h"

class HGE;
class SPIX;

struct CompositionContext {
  HGE* engine = nullptr;       // not owned; without one the view transform is not set
  SPIX* scene = nullptr;       // not owned; without one no figure gets an object
  float screenWidth = 960.0f;  // canvas size in canvas units
  float screenHeight = 960.0f;
  float windowScale = 1.0f;  // window pixels per canvas unit
  // The automatic generator on (non-zero) or off; the automatic motion runs
  // only while it is on.
  int32_t autoGenerate = 1;
  // The desktop the canvas is fitted to; none counts as large enough for 1.0.
  std::optional<DesktopSize> desktop;
};
