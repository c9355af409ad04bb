// driftglow-contactsheet PIXDIR OUT.png [CELL]: one picture showing every catalogue
// image tinted, drawn additively on black and alpha-blended on a dark
// ground, followed by a crowd of hundreds of figures drawn the way the viewer
// alternates blend modes, to judge the catalogue by eye.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/common/png_file.h"
#include "tools/common/random.h"

namespace {

struct Colour {
  double r, g, b;
};

// Float RGB canvas in 0..1 (values above 1 are clipped on output).
struct Canvas {
  int width, height;
  std::vector<double> rgb;
  Canvas(int w, int h, Colour fill) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3) {
    for (size_t i = 0; i < rgb.size(); i += 3) {
      rgb[i] = fill.r;
      rgb[i + 1] = fill.g;
      rgb[i + 2] = fill.b;
    }
  }
  void Fill(int x0, int y0, int w, int h, Colour c) {
    for (int y = std::max(0, y0); y < std::min(height, y0 + h); ++y)
      for (int x = std::max(0, x0); x < std::min(width, x0 + w); ++x) {
        double* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
      }
  }
};

// An image with its mipmap chain (halved by box filtering, weighted by alpha).
struct Mipmapped {
  std::vector<tools::RgbaImage> levels;
};

Mipmapped BuildMips(const tools::RgbaImage& image) {
  Mipmapped result;
  result.levels.push_back(image);
  while (result.levels.back().width > 1 && result.levels.back().height > 1) {
    const tools::RgbaImage& src = result.levels.back();
    tools::RgbaImage dst(src.width / 2, src.height / 2);
    for (int y = 0; y < dst.height; ++y)
      for (int x = 0; x < dst.width; ++x) {
        double sum[4] = {0, 0, 0, 0};
        for (int k = 0; k < 4; ++k) {
          const uint8_t* p = src.At(2 * x + k % 2, 2 * y + k / 2);
          const double a = p[3] / 255.0;
          for (int c = 0; c < 3; ++c) sum[c] += p[c] * (a > 0 ? a : 1e-6);
          sum[3] += a > 0 ? a : 1e-6;
        }
        uint8_t* d = dst.At(x, y);
        for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>(std::lround(sum[c] / sum[3]));
        int alphaSum = 0;
        for (int k = 0; k < 4; ++k) alphaSum += src.At(2 * x + k % 2, 2 * y + k / 2)[3];
        d[3] = static_cast<uint8_t>((alphaSum + 2) / 4);
      }
    result.levels.push_back(std::move(dst));
  }
  return result;
}

void SampleBilinear(const tools::RgbaImage& image, double x, double y, double out[4]) {
  x -= 0.5;
  y -= 0.5;
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  const double fx = x - x0, fy = y - y0;
  for (int c = 0; c < 4; ++c) out[c] = 0.0;
  for (int k = 0; k < 4; ++k) {
    const int sx = std::clamp(x0 + k % 2, 0, image.width - 1), sy = std::clamp(y0 + k / 2, 0, image.height - 1);
    const double w = (k % 2 ? fx : 1 - fx) * (k / 2 ? fy : 1 - fy);
    const uint8_t* p = image.At(sx, sy);
    for (int c = 0; c < 4; ++c) out[c] += w * p[c] / 255.0;
  }
}

// Draws the image centred at (cx, cy), scaled and turned, multiplied by tint;
// additive adds colour times alpha, otherwise alpha-blends.
// Rows above clipTop are left alone.
void Draw(Canvas& canvas, const Mipmapped& mips, double cx, double cy, double scale, double angle, Colour tint,
          bool additive, int clipTop = 0) {
  const tools::RgbaImage& base = mips.levels[0];
  int level = 0;
  while (level + 1 < static_cast<int>(mips.levels.size()) && scale * (1 << (level + 1)) <= 1.0) ++level;
  const tools::RgbaImage& image = mips.levels[level];
  const double levelScale = static_cast<double>(image.width) / base.width;
  const double halfDiagonal = 0.5 * std::hypot(base.width, base.height) * scale;
  const double c = std::cos(angle), s = std::sin(angle);
  for (int y = static_cast<int>(cy - halfDiagonal) - 1; y <= static_cast<int>(cy + halfDiagonal) + 1; ++y) {
    if (y < clipTop || y >= canvas.height) continue;
    for (int x = static_cast<int>(cx - halfDiagonal) - 1; x <= static_cast<int>(cx + halfDiagonal) + 1; ++x) {
      if (x < 0 || x >= canvas.width) continue;
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      const double u = (dx * c + dy * s) / scale + 0.5 * base.width;
      const double v = (-dx * s + dy * c) / scale + 0.5 * base.height;
      if (u < 0 || v < 0 || u >= base.width || v >= base.height) continue;
      double texel[4];
      SampleBilinear(image, u * levelScale, v * levelScale, texel);
      double* p = &canvas.rgb[(static_cast<size_t>(y) * canvas.width + x) * 3];
      const double a = texel[3];
      const double colour[3] = {texel[0] * tint.r, texel[1] * tint.g, texel[2] * tint.b};
      for (int k = 0; k < 3; ++k) p[k] = additive ? p[k] + colour[k] * a : p[k] * (1 - a) + colour[k] * a;
    }
  }
}

Colour Hue(double h) {
  const double r = 0.5 + 0.5 * std::cos(6.2831853 * (h + 0.0));
  const double g = 0.5 + 0.5 * std::cos(6.2831853 * (h + 0.33));
  const double b = 0.5 + 0.5 * std::cos(6.2831853 * (h + 0.67));
  return {0.35 + 0.65 * r, 0.35 + 0.65 * g, 0.35 + 0.65 * b};
}

std::string Lower(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: %s PIXDIR OUT.png [CELL]\n", argv[0]);
    return 2;
  }
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& item : fs::directory_iterator(argv[1], error))
    if (item.is_regular_file() && Lower(item.path().extension().string()) == ".png")
      names.push_back(item.path().filename().string());
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); });
  if (names.empty()) {
    std::fprintf(stderr, "driftglow-contactsheet: no PNG files in %s\n", argv[1]);
    return 1;
  }
  std::vector<Mipmapped> images;
  for (const std::string& name : names) {
    tools::RgbaImage image;
    std::string reason;
    if (!tools::ReadPngFile((fs::path(argv[1]) / name).string(), image, reason)) {
      std::fprintf(stderr, "driftglow-contactsheet: %s: %s\n", name.c_str(), reason.c_str());
      return 1;
    }
    images.push_back(BuildMips(image));
  }

  // Each image gets two square cells of this many pixels (default 136).
  const int kCell = argc == 4 ? std::clamp(std::atoi(argv[3]), 32, 600) : 136;
  constexpr int kColumns = 6;
  const int rows = (static_cast<int>(images.size()) + kColumns - 1) / kColumns;
  const int sheetWidth = kColumns * kCell * 2;
  const int crowdHeight = 900;
  Canvas canvas(sheetWidth, rows * kCell + crowdHeight, {0, 0, 0});
  const Colour ground{0.16, 0.17, 0.22};
  for (size_t i = 0; i < images.size(); ++i) {
    const int column = static_cast<int>(i) % kColumns, row = static_cast<int>(i) / kColumns;
    const int x0 = column * kCell * 2, y0 = row * kCell;
    canvas.Fill(x0 + kCell, y0, kCell, kCell, ground);
    const tools::RgbaImage& image = images[i].levels[0];
    const double scale = (kCell - 8.0) / std::max(image.width, image.height);
    const Colour tint = Hue(static_cast<double>(i) / images.size());
    Draw(canvas, images[i], x0 + kCell * 0.5, y0 + kCell * 0.5, scale, 0.0, tint, true);
    Draw(canvas, images[i], x0 + kCell * 1.5, y0 + kCell * 0.5, scale, 0.0, tint, false);
  }

  // The crowd: a 40 by 40 grid of figures with scales from 0.05 to 3, even
  // catalogue positions additive and odd ones alpha-blended, as the viewer draws them.
  tools::SplitMix random(7);
  const int crowdTop = rows * kCell;
  for (int gy = 0; gy < 40; ++gy)
    for (int gx = 0; gx < 40; ++gx) {
      const size_t index = static_cast<size_t>(random.Below(static_cast<int>(images.size())));
      const double scale = 0.05 * std::pow(60.0, std::pow(random.Uniform(), 2.2));
      const double x = (gx + 0.5) / 40.0 * sheetWidth + random.Range(-10, 10);
      const double y = crowdTop + (gy + 0.5) / 40.0 * crowdHeight + random.Range(-10, 10);
      Draw(canvas, images[index], x, y, scale * 0.5, random.Range(0, 6.2831853),
           Hue(0.55 + 0.25 * gx / 40.0 + random.Range(0, 0.1)), index % 2 == 0, crowdTop);
    }

  tools::RgbaImage out(canvas.width, canvas.height);
  for (int y = 0; y < canvas.height; ++y)
    for (int x = 0; x < canvas.width; ++x) {
      const double* p = &canvas.rgb[(static_cast<size_t>(y) * canvas.width + x) * 3];
      uint8_t* d = out.At(x, y);
      for (int k = 0; k < 3; ++k) d[k] = static_cast<uint8_t>(std::lround(std::clamp(p[k], 0.0, 1.0) * 255.0));
      d[3] = 255;
    }
  if (std::string error; !tools::WritePngFile(argv[2], out, error)) {
    std::fprintf(stderr, "driftglow-contactsheet: %s\n", error.c_str());
    return 1;
  }
  std::printf("driftglow-contactsheet: %zu images into %s\n", images.size(), argv[2]);
  return 0;
}
