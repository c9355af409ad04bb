// The application record and its special members, defined where the scene
// and font types are complete.
#include "composition/app_state.h"

#include "font/font.h"
#include "scene/scene.h"

AppState::AppState() = default;
AppState::~AppState() = default;
AppState& AppState::operator=(AppState&&) = default;

AppState APP_STATE;
