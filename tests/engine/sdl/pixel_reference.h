// The expected result of drawing, worked out independently of SDL: the blend
// arithmetic per pixel, and which texel of a textured parallelogram, after
// the engine's transform and clipping, covers a pixel.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/quad.h"
#include "tests/engine/sdl/test_files.h"

class HeadlessEngine;

// The screen colour after drawing texel x vertex colour with the blend mode
// (2 alpha, 0 additive) over the screen colour; opaque ARGB.
uint32_t BlendReference(uint32_t screen, uint32_t texel, uint32_t vertex, int blend);

// Largest per-channel difference of two colours (alpha ignored).
int ChannelDistance(uint32_t a, uint32_t b);

// A textured parallelogram in canvas units: corner 0 at origin, corner 1 at
// origin + edge1, corner 3 at origin + edge2; the texture's own size maps
// onto it exactly (the engine's surface may be padded).
struct ParallelogramScene {
  TestImage image;
  float originX = 0, originY = 0;
  float edge1X = 0, edge1Y = 0;
  float edge2X = 0, edge2Y = 0;
  uint32_t vertexColour = 0xFFFFFFFF;
  int blend = kBlendAlpha;
  uint32_t background = 0xFF000000;
  // Gfx_SetTransform's arguments; both scales 0 = none.
  float tx = 0, ty = 0, tdx = 0, tdy = 0, rotation = 0, hscale = 0, vscale = 0;
  // Gfx_SetClipping's arguments; all zero = none.
  int clipX = 0, clipY = 0, clipWidth = 0, clipHeight = 0;
};

// The quad the engine is given for the scene (texture coordinates over the
// surface whose size the engine reports).
SpriteQuad SceneQuad(const ParallelogramScene& scene, HTEXTURE texture, int surfaceWidth, int surfaceHeight);

// The expected colour of the target pixel, or nullopt where the pixel lies
// within a pixel of an edge (quad, texel or clip edge) and either answer is right.
std::optional<uint32_t> ExpectedPixel(const ParallelogramScene& scene, int x, int y);

struct SceneCheck {
  int checked = 0;
  int wrong = 0;
  std::string firstWrong;  // "(x, y): got ..., want ..."
};

// Loads the scene's texture, draws it on the cleared target and compares
// every pixel that ExpectedPixel decides (tolerance: 3 per channel).
SceneCheck DrawAndCheck(HeadlessEngine& engine, const ParallelogramScene& scene);
