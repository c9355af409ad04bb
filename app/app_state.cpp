// The application record and its special members, defined where the scene
// and font types are complete.
#include "app/app_state.h"

#include "font/font.h"
#include "scene/scene.h"

AppState::AppState() = default;
AppState::~AppState() = default;
AppState& AppState::operator=(AppState&&) = default;

AppState APP_STATE;

CompositionContext compositionContext() {
  CompositionContext context;
  context.engine = APP_STATE.engine;
  context.scene = APP_STATE.scene.get();
  context.screenWidth = APP_STATE.screenWidth;
  context.screenHeight = APP_STATE.screenHeight;
  context.windowScale = APP_STATE.windowScale;
  context.autoGenerate = APP_STATE.autoGenerate;
  return context;
}

CompositionContext compositionContextWithDesktop() {
  CompositionContext context = compositionContext();
  if (APP_STATE.platform) context.desktop = APP_STATE.platform->GetDesktopSize();
  return context;
}
