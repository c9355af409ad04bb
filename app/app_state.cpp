#include "app/app_state.h"

#include "font/font.h"
#include "particles/particle_manager.h"
#include "scene/scene.h"

AppState::AppState() = default;
AppState::~AppState() = default;
AppState& AppState::operator=(AppState&&) = default;

AppState APP_STATE;
ParticleManager particleManager;
