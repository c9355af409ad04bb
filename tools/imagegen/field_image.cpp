// Field rendering: supersampled evaluation, border fade, quantisation and
// colour bleeding into transparent pixels.
#include "tools/imagegen/field_image.h"

#include <vector>

namespace imagegen {
namespace {

// Width in pixels of the fade towards the image border; the outermost
// pixel ring always ends fully transparent.
constexpr double kBorderFadePixels = 3.0;

// Spreads the grey of visible pixels into neighbouring transparent ones,
// ring by ring, so bilinear filtering near an edge blends with the shape's
// own grey instead of whatever the transparent pixels happened to hold.
void BleedGrey(std::vector<double>& grey, const std::vector<double>& alpha, int width, int height) {
  std::vector<char> known(alpha.size());
  double sum = 0.0, weight = 0.0;
  for (size_t i = 0; i < alpha.size(); ++i) {
    known[i] = alpha[i] > 0.0;
    sum += grey[i] * alpha[i];
    weight += alpha[i];
  }
  std::vector<double> next = grey;
  std::vector<char> nextKnown = known;
  for (int pass = 0; pass < 16; ++pass) {
    bool changed = false;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const size_t i = static_cast<size_t>(y) * width + x;
        if (known[i]) continue;
        double total = 0.0;
        int count = 0;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
            const size_t j = static_cast<size_t>(ny) * width + nx;
            if (known[j]) {
              total += grey[j];
              ++count;
            }
          }
        }
        if (count > 0) {
          next[i] = total / count;
          nextKnown[i] = 1;
          changed = true;
        }
      }
    }
    grey = next;
    known = nextKnown;
    if (!changed) break;
  }
  const double mean = weight > 0.0 ? sum / weight : 1.0;
  for (size_t i = 0; i < grey.size(); ++i) {
    if (!known[i]) grey[i] = mean;
  }
}

}  // namespace

tools::RgbaImage RenderField(int width, int height, int supersampling, const InkField& field) {
  const double unit = 0.5 * std::min(width, height);
  const double pixel = 1.0 / unit;
  const int n = std::max(1, supersampling);
  std::vector<double> alpha(static_cast<size_t>(width) * height), grey(alpha.size());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      double alphaSum = 0.0, greySum = 0.0, plainGrey = 0.0;
      for (int sy = 0; sy < n; ++sy) {
        for (int sx = 0; sx < n; ++sx) {
          Sample s;
          s.u = (x + (sx + 0.5) / n - 0.5 * width) / unit;
          s.v = (0.5 * height - y - (sy + 0.5) / n) / unit;
          s.pixel = pixel;
          const Ink ink = field(s);
          const double a = Clamp01(ink.alpha);
          alphaSum += a;
          greySum += a * Clamp01(ink.value);
          plainGrey += Clamp01(ink.value);
        }
      }
      const double edge = std::min({x + 0.5, width - x - 0.5, y + 0.5, height - y - 0.5}) - 1.0;
      const double fade = SmoothStep(0.0, kBorderFadePixels, edge);
      const size_t i = static_cast<size_t>(y) * width + x;
      const double a = alphaSum / (n * n) * fade;
      alpha[i] = a * 255.0 < 0.5 ? 0.0 : a;
      grey[i] = alphaSum > 0.0 ? greySum / alphaSum : plainGrey / (n * n);
    }
  }
  BleedGrey(grey, alpha, width, height);
  tools::RgbaImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const size_t i = static_cast<size_t>(y) * width + x;
      const auto g = static_cast<uint8_t>(std::lround(Clamp01(grey[i]) * 255.0));
      uint8_t* p = image.At(x, y);
      p[0] = p[1] = p[2] = g;
      p[3] = static_cast<uint8_t>(std::lround(Clamp01(alpha[i]) * 255.0));
    }
  }
  return image;
}

}  // namespace imagegen
