// Building a screen from its three seeds, as the viewer's new screen does;
// the viewer and the still-image tool share it, so a screen can be made again.
#pragma once

#include <cstdint>

struct CompositionContext;

// Seeds structureRandom, colourRandom and paramRandom, in this order, with
// their seeds (1..100000 in the viewer; any positive seed works), then runs
// composition.Generate(context). A seed below 1 cannot be set by a draw and
// leaves its generator at state 0. The caller has reset the screen first
// (scene objects removed, composition cleared).
void buildScreenFromSeeds(const CompositionContext& context, int32_t structureSeed, int32_t colourSeed,
                          int32_t paramSeed);
