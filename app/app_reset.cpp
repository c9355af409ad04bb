// resetAppStateForTests: every global record back to its state before start-up.
#include "app/app_reset.h"

#include "app/app_state.h"
#include "composition/composition.h"
#include "core/seeded_random.h"
#include "particles/particle_manager.h"

void resetAppStateForTests() {
  // Figures point at scene objects: forget them before the scene goes.
  resetCompositionForTests();
  particleManager.Clear();
  APP_STATE = AppState{};
  structureRandom.Reset();
  colourRandom.Reset();
  paramRandom.Reset();
}
