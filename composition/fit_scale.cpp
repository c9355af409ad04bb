// computeFitScale: the largest window scale in steps of 1/8 that fits the desktop.
#include "composition/fit_scale.h"

#include <cmath>

#include "composition/app_state.h"

float computeFitScale() {
  if (!APP_STATE.platform) return 1.0f;
  DesktopSize desktop = APP_STATE.platform->GetDesktopSize();
  float m = static_cast<float>(desktop.width <= desktop.height ? desktop.width : desktop.height);
  if (m < 600) m = 600;
  m = m - 60;
  if (m >= APP_STATE.screenHeight) return 1.0f;
  return std::floor(m / APP_STATE.screenHeight * 8) * 0.125f;
}
