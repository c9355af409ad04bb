// computeFitScale: the largest window scale in steps of 1/8 that fits the desktop.
#include "composition/fit_scale.h"

#include <cmath>

#include "composition/composition_context.h"

float computeFitScale(const CompositionContext& context) {
  if (!context.desktop) return 1.0f;
  const DesktopSize desktop = *context.desktop;
  float m = static_cast<float>(desktop.width <= desktop.height ? desktop.width : desktop.height);
  if (m < 600) m = 600;
  m = m - 60;
  if (m >= context.screenHeight) return 1.0f;
  return std::floor(m / context.screenHeight * 8) * 0.125f;
}
