#include "app/app_state.h"

#include "app/seeded_random.h"

AppState APP_STATE;

void resetAppStateForTests() {
  APP_STATE = AppState{};
  structureRandom.Reset();
  colourRandom.Reset();
  paramRandom.Reset();
}
