// Building a screen from three seeds.
#include "composition/screen_seeds.h"

#include <cassert>

#include "composition/composition.h"
#include "core/seeded_random.h"

namespace {

void seedGenerator(SEEDED_RANDOM& generator, int32_t seed) {
  assert(seed >= 1 && "screen seeds are positive");
  if (seed < 1) {
    generator.Reset();
    return;
  }
  // A draw with a negative argument seeds the generator with its magnitude.
  generator.drawLarge(-seed);
}

}  // namespace

void buildScreenFromSeeds(const CompositionContext& context, int32_t structureSeed, int32_t colourSeed,
                          int32_t paramSeed) {
  seedGenerator(structureRandom, structureSeed);
  seedGenerator(colourRandom, colourSeed);
  seedGenerator(paramRandom, paramSeed);
  composition.Generate(context);
}
