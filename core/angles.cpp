// vectorAngle and rotateAboutCentre in single precision, as the figures turn.
#include "core/angles.h"

#include <cmath>

namespace {
constexpr float kPi = 3.14159265358979f;
}

float vectorAngle(float a, float b) {
  float t = b != 0.0f ? std::atan(a / b) : std::atan(a * 1e38f);
  bool aNonNegative = a >= 0.0f;
  bool bNonNegative = b >= 0.0f;
  if (bNonNegative && aNonNegative) return t;
  if (!bNonNegative && aNonNegative) return t + kPi;
  if (!bNonNegative) return t - kPi;
  return t + 2.0f * kPi;
}

void rotateAboutCentre(float& x, float& y, float angle, float centreX, float centreY) {
  float dx = centreX - x;
  float dy = centreY - y;
  float d = std::sqrt(dx * dx + dy * dy);
  float theta = vectorAngle(dy, dx) + angle;
  x = centreX - std::cos(theta) * d;
  y = centreY - std::sin(theta) * d;
}
