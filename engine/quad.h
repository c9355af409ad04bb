// The textured, coloured quad record that the engine draws. Its layout is
// fixed: sprites keep one inside themselves and hand it to the engine as is.
#pragma once

#include <cstdint>

using HTEXTURE = uint32_t;  // 0 means no texture
using HEFFECT = uint32_t;   // 0 means no sound
using HCHANNEL = uint32_t;  // 0 means no channel
using HTARGET = uint32_t;   // 0 means the screen

// Blend modes: the vertex colour always multiplies the texture colour.
constexpr int kBlendAdditive = 0;  // source added to the screen
constexpr int kBlendAlpha = 2;     // source alpha-blended over the screen

struct SpriteVertex {
  float x, y;       // screen position
  float z;          // depth, 0.5 throughout
  uint32_t colour;  // packed ARGB
  float tx, ty;     // texture coordinates, 0..1 across the texture surface
};

struct SpriteQuad {
  SpriteVertex v[4];  // 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left
  HTEXTURE texture;
  int blend;
};
