#include "app/app_state.h"

#include "app/seeded_random.h"
#include "font/font.h"
#include "scene/scene.h"

AppState::AppState() = default;
AppState::~AppState() = default;
AppState& AppState::operator=(AppState&&) = default;

AppState APP_STATE;

void resetAppStateForTests() {
  APP_STATE = AppState{};
  structureRandom.Reset();
  colourRandom.Reset();
  paramRandom.Reset();
}
