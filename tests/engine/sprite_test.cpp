// Tests of hgeSprite, BoundingRect and ColorRGBA against the recording engine.
#include "engine/sprite.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "engine/engine_factory.h"
#include "tests/support/recording_engine.h"

namespace {

struct Corner {
  float x, y;
};

// Draws the sprite and returns the corners of the quad the engine received.
std::array<Corner, 4> drawnCorners(RecordingEngine& engine, hgeSprite& sprite, float x, float y, float rotation,
                                   float hscale, float vscale) {
  engine.quads.clear();
  sprite.RenderTransformed(x, y, rotation, hscale, vscale);
  EXPECT_EQ(engine.quads.size(), 1u);
  std::array<Corner, 4> corners{};
  if (engine.quads.empty()) return corners;
  for (int k = 0; k < 4; ++k) corners[k] = {engine.quads[0].v[k].x, engine.quads[0].v[k].y};
  return corners;
}

struct TexturePoint {
  float u, v;
};
std::array<TexturePoint, 4> textureCoordinates(const hgeSprite& sprite) {
  std::array<TexturePoint, 4> points{};
  for (int k = 0; k < 4; ++k) points[k] = {sprite.GetQuad().v[k].tx, sprite.GetQuad().v[k].ty};
  return points;
}

void expectTexture(const hgeSprite& sprite, std::array<TexturePoint, 4> expected) {
  auto actual = textureCoordinates(sprite);
  for (int k = 0; k < 4; ++k) {
    EXPECT_FLOAT_EQ(actual[k].u, expected[k].u) << "corner " << k;
    EXPECT_FLOAT_EQ(actual[k].v, expected[k].v) << "corner " << k;
  }
}

TEST(Sprite, HoldsOneEngineReferencePerLiveSpriteIncludingCopies) {
  ScopedRecordingEngine engine;
  {
    hgeSprite first(0, 0, 0, 8, 8);
    EXPECT_EQ(hgeReferenceCount(), 1);
    {
      hgeSprite copy(first);
      hgeSprite other(0, 0, 0, 4, 4);
      EXPECT_EQ(hgeReferenceCount(), 3);
      other = first;
      EXPECT_EQ(hgeReferenceCount(), 3);
      EXPECT_EQ(other.GetWidth(), 8);
    }
    EXPECT_EQ(hgeReferenceCount(), 1);
  }
  EXPECT_EQ(hgeReferenceCount(), 0);
}

TEST(Sprite, WithoutTextureUsesTexelCoordinatesAndTheDefaults) {
  ScopedRecordingEngine engine;
  hgeSprite sprite(0, 0, 0, 32, 16);
  EXPECT_EQ(sprite.GetTexture(), 0u);
  EXPECT_EQ(sprite.GetWidth(), 32);
  EXPECT_EQ(sprite.GetHeight(), 16);
  expectTexture(sprite, {{{0, 0}, {32, 0}, {32, 16}, {0, 16}}});
  for (const SpriteVertex& vertex : sprite.GetQuad().v) {
    EXPECT_EQ(vertex.z, 0.5f);
    EXPECT_EQ(vertex.colour, 0xFFFFFFFFu);
  }
  EXPECT_EQ(sprite.GetBlend(), 2);
  float px = -1, py = -1;
  sprite.GetPivot(&px, &py);
  EXPECT_EQ(px, 0);
  EXPECT_EQ(py, 0);
}

TEST(Sprite, NormalisesTextureCoordinatesByTheSurfaceSize) {
  ScopedRecordingEngine engine;
  engine->textureFiles["leaf.png"] = {"leaf.png", 100, 60, 128, 64};
  HTEXTURE texture = engine->Texture_Load("leaf.png", 0, false);
  ASSERT_NE(texture, 0u);
  hgeSprite sprite(texture, 0, 0, 100, 60);
  expectTexture(sprite, {{{0, 0}, {0.78125f, 0}, {0.78125f, 0.9375f}, {0, 0.9375f}}});

  sprite.SetSourceRect(64, 32, 32, 16);
  expectTexture(sprite, {{{0.5f, 0.5f}, {0.75f, 0.5f}, {0.75f, 0.75f}, {0.5f, 0.75f}}});
}

TEST(Sprite, UnknownTextureHandleKeepsFiniteTexelCoordinates) {
  ScopedRecordingEngine engine;
  hgeSprite sprite(77, 4, 2, 10, 10);  // the engine answers 0 for its size
  expectTexture(sprite, {{{4, 2}, {14, 2}, {14, 12}, {4, 12}}});
}

TEST(Sprite, CornersFollowPivotScaleAndRotation) {
  ScopedRecordingEngine engine;
  const float halfTurn = std::numbers::pi_v<float> / 2;
  struct Case {
    const char* what;
    float w, h, pivotX, pivotY, x, y, rotation, hscale, vscale;
    std::array<Corner, 4> expected;
  };
  const Case cases[] = {
      {"pivot at centre, uniform scale 2",
       100,
       60,
       50,
       30,
       200,
       100,
       0,
       2,
       0,
       {{{100, 40}, {300, 40}, {300, 160}, {100, 160}}}},
      {"separate vertical scale", 10, 10, 0, 0, 5, 5, 0, 2, 3, {{{5, 5}, {25, 5}, {25, 35}, {5, 35}}}},
      {"negative scale mirrors about the pivot", 10, 4, 2, 1, 0, 0, 0, -1, 0, {{{2, 1}, {-8, 1}, {-8, -3}, {2, -3}}}},
      {"quarter turn clockwise about the origin",
       10,
       10,
       0,
       0,
       0,
       0,
       halfTurn,
       1,
       0,
       {{{0, 0}, {0, 10}, {-10, 10}, {-10, 0}}}},
      {"quarter turn about a pivot lands the pivot on the position",
       10,
       10,
       5,
       5,
       20,
       30,
       halfTurn,
       1,
       0,
       {{{25, 25}, {25, 35}, {15, 35}, {15, 25}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    hgeSprite sprite(0, 0, 0, c.w, c.h);
    sprite.SetPivot(c.pivotX, c.pivotY);
    auto corners = drawnCorners(*engine, sprite, c.x, c.y, c.rotation, c.hscale, c.vscale);
    for (int k = 0; k < 4; ++k) {
      EXPECT_NEAR(corners[k].x, c.expected[k].x, 1e-4) << "corner " << k;
      EXPECT_NEAR(corners[k].y, c.expected[k].y, 1e-4) << "corner " << k;
    }
  }
}

TEST(Sprite, FlippingSwapsTextureCornersAndSurvivesNewSourceRectangles) {
  ScopedRecordingEngine engine;
  hgeSprite sprite(0, 0, 0, 10, 20);
  const auto plain = textureCoordinates(sprite);

  sprite.SetFlipState(true, false);
  expectTexture(sprite, {{plain[1], plain[0], plain[3], plain[2]}});
  sprite.SetFlipState(true, false);  // the current state: nothing changes
  expectTexture(sprite, {{plain[1], plain[0], plain[3], plain[2]}});

  sprite.SetSourceRect(10, 0, 10, 20);
  expectTexture(sprite, {{{20, 0}, {10, 0}, {10, 20}, {20, 20}}});
  sprite.SetFlipState(false, false);
  expectTexture(sprite, {{{10, 0}, {20, 0}, {20, 20}, {10, 20}}});

  sprite.SetFlipState(true, true);  // both ways: a half turn of the texture
  expectTexture(sprite, {{{20, 20}, {10, 20}, {10, 0}, {20, 0}}});
  bool fx = false, fy = false;
  sprite.GetFlipState(&fx, &fy);
  EXPECT_TRUE(fx);
  EXPECT_TRUE(fy);
}

TEST(Sprite, VertexColoursPerCornerOrAllAndBadIndexesIgnored) {
  ScopedRecordingEngine engine;
  hgeSprite sprite(0, 0, 0, 1, 1);
  sprite.SetVertexColor(0x80FF0000, 2);
  EXPECT_EQ(sprite.GetVertexColor(2), 0x80FF0000u);
  EXPECT_EQ(sprite.GetVertexColor(0), 0xFFFFFFFFu);
  EXPECT_EQ(sprite.GetVertexColor(3), 0xFFFFFFFFu);
  sprite.SetVertexColor(0x12345678, 4);
  sprite.SetVertexColor(0x12345678, -2);
  EXPECT_EQ(sprite.GetVertexColor(2), 0x80FF0000u);
  EXPECT_EQ(sprite.GetVertexColor(9), 0u);
  sprite.SetVertexColor(0x11223344);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(sprite.GetVertexColor(k), 0x11223344u);
}

TEST(Sprite, DrawsNothingAndDoesNotCrashWithoutAnEngine) {
  hgeSetFactory(nullptr);
  hgeSprite sprite(5, 0, 0, 4, 4);
  sprite.RenderTransformed(1, 2, 0.5f, 1);
  EXPECT_EQ(sprite.GetWidth(), 4);
}

TEST(Sprite, BoundsIgnoreScaleAndRotation) {
  ScopedRecordingEngine engine;
  hgeSprite sprite(0, 0, 0, 100, 60);
  sprite.SetPivot(50, 30);
  BoundingRect rect;
  EXPECT_TRUE(rect.empty);
  BoundingRect& result = sprite.ComputeBounds(0, 0, rect);
  EXPECT_EQ(&result, &rect);
  EXPECT_FALSE(rect.empty);
  EXPECT_EQ(rect.x1, -50);
  EXPECT_EQ(rect.y1, -30);
  EXPECT_EQ(rect.x2, 50);
  EXPECT_EQ(rect.y2, 30);
}

TEST(BoundingRect, ResetAssignAndInclude) {
  BoundingRect rect;
  rect.Include(3, 4);
  EXPECT_FALSE(rect.empty);
  EXPECT_EQ(rect.x1, 3);
  EXPECT_EQ(rect.x2, 3);
  rect.Include(-1, 10);
  rect.Include(2, 5);
  EXPECT_EQ(rect.x1, -1);
  EXPECT_EQ(rect.y1, 4);
  EXPECT_EQ(rect.x2, 3);
  EXPECT_EQ(rect.y2, 10);
  rect.Reset();
  EXPECT_TRUE(rect.empty);
  rect.Include(7, 8);
  EXPECT_EQ(rect.x1, 7);
  EXPECT_EQ(rect.y2, 8);
  rect.Assign(5, 6, 1, 2);  // stored as given, not reordered
  EXPECT_EQ(rect.x1, 5);
  EXPECT_EQ(rect.x2, 1);
}

TEST(ColorRGBA, UnpacksBytesOverTwoHundredFiftyFive) {
  ColorRGBA colour(0xFF336699u);
  EXPECT_FLOAT_EQ(colour.a, 1.0f);
  EXPECT_FLOAT_EQ(colour.r, 0.2f);
  EXPECT_FLOAT_EQ(colour.g, 0.4f);
  EXPECT_FLOAT_EQ(colour.b, 0.6f);
  EXPECT_EQ(colour.ToARGB(), 0xFF336699u);
}

TEST(ColorRGBA, EveryByteSurvivesTheRoundTripInEveryChannel) {
  for (uint32_t value = 0; value < 256; ++value) {
    for (int shift : {0, 8, 16, 24}) {
      const uint32_t packed = value << shift;
      EXPECT_EQ(ColorRGBA(packed).ToARGB(), packed) << std::hex << packed;
    }
  }
}

TEST(ColorRGBA, ChannelsOutsideTheRangeSpillWithWrapAround) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    ColorRGBA colour;
    uint32_t expected;
  };
  const Case cases[] = {
      // red 1.5 -> 382 = 0x17E: its top bit carries into alpha, which wraps.
      {{1.5f, 0, 0, 1}, 0x007E0000u},
      // blue -1.99 -> -1: all bits set, added to the opaque alpha.
      {{0, 0, -0.0078125f, 1}, 0xFEFFFFFFu},
      {{0, -1.0f, 0, 0}, 0xFFFF0100u},
      // truncation toward zero, not rounding
      {{0.999f, 0.5f, 0.0039f, 0.5f}, 0x7FFE7F00u},
      // not a number and values beyond 64 bits count as 0
      {{nan, 1, 1, 1}, 0xFF00FFFFu},
      {{1e30f, 0, 0, 1}, 0xFF000000u},
      {{-1e30f, 0, 0, 1}, 0xFF000000u},
      // blue 256 -> 0xFF00 lands in the green byte
      {{0, 0, 256.0f, 0}, 0x0000FF00u},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.colour.ToARGB(), c.expected)
        << c.colour.r << " " << c.colour.g << " " << c.colour.b << " " << c.colour.a;
  }
}

}  // namespace
