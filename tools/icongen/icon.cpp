// Composing the icon: a soft-edged night-blue disc, then catalogue motifs
// added in colour the way the viewer draws its additive figures.
#include "tools/icongen/icon.h"

#include <algorithm>
#include <cmath>

namespace icongen {
namespace {

constexpr int kIconSize = 256;

struct Layer {
  const char* fileName;
  float centreX, centreY;  // icon pixels
  float size;              // the motif's longer side, in icon pixels
  float angleRadians;
  float red, green, blue;  // tint, 0..1
};

// Large soft bloom behind, a ring and a spiral around it, sparks in front.
constexpr Layer kLayers[] = {
    {"bloom.png", 128, 128, 250, 0.0f, 0.45f, 0.30f, 0.95f}, {"orbit.png", 128, 128, 200, 0.5f, 0.30f, 0.75f, 1.00f},
    {"sol.png", 128, 128, 150, 0.0f, 1.00f, 0.70f, 0.35f},   {"glint.png", 84, 82, 70, 0.3f, 1.00f, 0.90f, 0.60f},
    {"glint.png", 176, 170, 56, 1.1f, 0.70f, 0.95f, 1.00f},  {"amber.png", 128, 128, 64, 0.0f, 1.00f, 0.95f, 0.85f},
};

// Bilinear sample of straight-alpha RGBA, returning premultiplied values 0..1.
void sample(const tools::RgbaImage& image, float x, float y, float out[4]) {
  for (int c = 0; c < 4; ++c) out[c] = 0;
  const float fx = x - 0.5f, fy = y - 0.5f;
  const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
  const float tx = fx - static_cast<float>(x0), ty = fy - static_cast<float>(y0);
  for (int dy = 0; dy < 2; ++dy) {
    for (int dx = 0; dx < 2; ++dx) {
      const int px = x0 + dx, py = y0 + dy;
      if (px < 0 || py < 0 || px >= image.width || py >= image.height) continue;
      const float weight = (dx ? tx : 1 - tx) * (dy ? ty : 1 - ty);
      const uint8_t* p = image.At(px, py);
      const float alpha = p[3] / 255.0f;
      for (int c = 0; c < 3; ++c) out[c] += weight * alpha * p[c] / 255.0f;
      out[3] += weight * alpha;
    }
  }
}

}  // namespace

bool DrawIcon(const std::string& catalogueFolder, tools::RgbaImage& icon, std::string& error) {
  // Premultiplied working canvas.
  std::vector<float> canvas(static_cast<size_t>(kIconSize) * kIconSize * 4, 0.0f);
  const float radius = kIconSize * 0.47f;
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      const float dx = x + 0.5f - kIconSize / 2.0f, dy = y + 0.5f - kIconSize / 2.0f;
      const float distance = std::sqrt(dx * dx + dy * dy);
      const float coverage = std::clamp(radius - distance + 0.5f, 0.0f, 1.0f);
      // Darker towards the rim, like the viewer's black behind glowing figures.
      const float shade = 1.0f - 0.5f * std::min(distance / radius, 1.0f);
      float* p = &canvas[(static_cast<size_t>(y) * kIconSize + x) * 4];
      p[0] = coverage * 0.06f * shade;
      p[1] = coverage * 0.07f * shade;
      p[2] = coverage * 0.16f * shade;
      p[3] = coverage;
    }
  }

  for (const Layer& layer : kLayers) {
    tools::RgbaImage motif;
    std::string reason;
    if (!tools::ReadPngFile(catalogueFolder + "/" + layer.fileName, motif, reason)) {
      error = std::string(layer.fileName) + ": " + reason;
      return false;
    }
    const float scale = static_cast<float>(std::max(motif.width, motif.height)) / layer.size;
    const float cosine = std::cos(layer.angleRadians), sine = std::sin(layer.angleRadians);
    for (int y = 0; y < kIconSize; ++y) {
      for (int x = 0; x < kIconSize; ++x) {
        float* p = &canvas[(static_cast<size_t>(y) * kIconSize + x) * 4];
        if (p[3] <= 0) continue;  // light only where the disc is
        const float dx = x + 0.5f - layer.centreX, dy = y + 0.5f - layer.centreY;
        const float u = (cosine * dx + sine * dy) * scale + motif.width / 2.0f;
        const float v = (-sine * dx + cosine * dy) * scale + motif.height / 2.0f;
        float texel[4];
        sample(motif, u, v, texel);
        p[0] = std::min(p[0] + texel[0] * layer.red, p[3]);
        p[1] = std::min(p[1] + texel[1] * layer.green, p[3]);
        p[2] = std::min(p[2] + texel[2] * layer.blue, p[3]);
      }
    }
  }

  icon = tools::RgbaImage(kIconSize, kIconSize);
  for (size_t i = 0; i < canvas.size(); i += 4) {
    const float alpha = canvas[i + 3];
    for (int c = 0; c < 3; ++c) {
      const float straight = alpha > 0 ? canvas[i + c] / alpha : 0.0f;
      icon.pixels[i + c] = static_cast<uint8_t>(std::lround(std::clamp(straight, 0.0f, 1.0f) * 255.0f));
    }
    icon.pixels[i + 3] = static_cast<uint8_t>(std::lround(std::clamp(alpha, 0.0f, 1.0f) * 255.0f));
  }
  return true;
}

tools::RgbaImage ReduceImage(const tools::RgbaImage& image, int size) {
  tools::RgbaImage result(size, size);
  const double step = static_cast<double>(image.width) / size;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      // Source pixels whose centres fall in this output pixel's area.
      const int left = static_cast<int>(x * step), right = std::max(left + 1, static_cast<int>((x + 1) * step));
      const int top = static_cast<int>(y * step), bottom = std::max(top + 1, static_cast<int>((y + 1) * step));
      double sum[4] = {0, 0, 0, 0};
      int count = 0;
      for (int sy = top; sy < bottom && sy < image.height; ++sy) {
        for (int sx = left; sx < right && sx < image.width; ++sx) {
          const uint8_t* p = image.At(sx, sy);
          for (int c = 0; c < 3; ++c) sum[c] += static_cast<double>(p[c]) * p[3];
          sum[3] += p[3];
          ++count;
        }
      }
      uint8_t* out = result.At(x, y);
      for (int c = 0; c < 3; ++c) out[c] = sum[3] > 0 ? static_cast<uint8_t>(std::lround(sum[c] / sum[3])) : 0;
      out[3] = count > 0 ? static_cast<uint8_t>(std::lround(sum[3] / count)) : 0;
    }
  }
  return result;
}

}  // namespace icongen
