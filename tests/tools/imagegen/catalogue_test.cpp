// The image catalogue: enough images, names that sort into alternating
// kinds, and for every image the properties the viewer relies on (size,
// straight-alpha white-to-grey ink, transparent border, no dark fringes,
// the same bytes every time).
#include "tools/imagegen/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "tools/common/png_file.h"

namespace {

using imagegen::CatalogueEntries;
using imagegen::Kind;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST(Catalogue, HasEnoughUniquePngNamesInListingOrder) {
  const auto& entries = CatalogueEntries();
  ASSERT_GE(entries.size(), 32u);
  std::set<std::string> names;
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::string& name = entries[i].fileName;
    EXPECT_TRUE(names.insert(Lower(name)).second) << "duplicate " << name;
    ASSERT_GT(name.size(), 4u);
    EXPECT_EQ(name.substr(name.size() - 4), ".png");
    if (i > 0) {
      EXPECT_LT(Lower(entries[i - 1].fileName), Lower(name)) << "not in case-insensitive order";
    }
  }
}

TEST(Catalogue, SortedNeighboursAreOfDifferentKinds) {
  const auto& entries = CatalogueEntries();
  std::set<Kind> kinds;
  for (size_t i = 0; i < entries.size(); ++i) {
    kinds.insert(entries[i].kind);
    if (i > 0) {
      EXPECT_NE(entries[i - 1].kind, entries[i].kind) << entries[i - 1].fileName << " and " << entries[i].fileName;
    }
  }
  EXPECT_EQ(kinds.size(), 13u) << "every kind of motif appears";
  // Even listing positions are drawn additively, odd ones alpha-blended:
  // every kind should be seen both ways except where it has a single image.
  for (Kind kind : kinds) {
    int even = 0, odd = 0;
    for (size_t i = 0; i < entries.size(); ++i)
      if (entries[i].kind == kind) (i % 2 == 0 ? even : odd)++;
    if (even + odd >= 3) {
      EXPECT_TRUE(even > 0 && odd > 0) << imagegen::KindName(kind);
    }
  }
}

class CatalogueImage : public ::testing::TestWithParam<size_t> {};

TEST_P(CatalogueImage, IsSoftStraightAlphaGreyWithTransparentBorder) {
  const size_t index = GetParam();
  SCOPED_TRACE(CatalogueEntries()[index].fileName);
  const tools::RgbaImage image = imagegen::DrawCatalogueImage(index);
  ASSERT_GE(image.width, 32);
  ASSERT_LE(image.width, 256);
  ASSERT_GE(image.height, 32);
  ASSERT_LE(image.height, 256);
  ASSERT_EQ(image.pixels.size(), static_cast<size_t>(image.width) * image.height * 4);

  double inkSum = 0.0, greySum = 0.0;
  int maxAlpha = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = image.At(x, y);
      ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << "not grey at " << x << "," << y;
      const bool border = x == 0 || y == 0 || x == image.width - 1 || y == image.height - 1;
      if (border) {
        ASSERT_EQ(p[3], 0) << "border pixel " << x << "," << y << " is not transparent";
      }
      maxAlpha = std::max<int>(maxAlpha, p[3]);
      inkSum += p[3];
      greySum += p[3] * static_cast<double>(p[0]);
      // Straight alpha and no dark fringe: a transparent pixel next to ink
      // carries a grey close to that ink, so filtering does not darken edges.
      if (p[3] == 0) {
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= image.width || ny >= image.height) continue;
            const uint8_t* q = image.At(nx, ny);
            if (q[3] > 0) {
              ASSERT_GE(p[0] * 2, q[0]) << "dark fringe at " << x << "," << y;
            }
          }
      }
    }
  }
  EXPECT_GE(maxAlpha, 128) << "the image has visible ink";
  const double coverage = inkSum / (255.0 * image.width * image.height);
  EXPECT_GT(coverage, 0.01);
  EXPECT_LT(coverage, 0.85) << "soft shapes, not a filled square";
  EXPECT_GE(greySum / inkSum, 0.55 * 255.0) << "mostly white to grey, so tints give the colour";

  // Anti-aliased: no more than a small share of visible pixels jump from
  // nothing to full opacity against a neighbour.
  int hardEdges = 0, visible = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x + 1 < image.width; ++x) {
      const int a = image.At(x, y)[3], b = image.At(x + 1, y)[3];
      if (a > 0 || b > 0) ++visible;
      if (std::abs(a - b) > 200) ++hardEdges;
    }
  EXPECT_LT(hardEdges, std::max(2, visible / 200));

  EXPECT_EQ(tools::EncodePng(imagegen::DrawCatalogueImage(index)), tools::EncodePng(image))
      << "drawing is deterministic";
}

std::string ImageName(const ::testing::TestParamInfo<size_t>& info) {
  std::string name = CatalogueEntries()[info.param].fileName;
  return name.substr(0, name.size() - 4);
}

INSTANTIATE_TEST_SUITE_P(EveryImage, CatalogueImage, ::testing::Range<size_t>(0, CatalogueEntries().size()), ImageName);

}  // namespace
