#include "app/render.h"

#include "app/app_state.h"

bool renderFunction() {
  HGE* engine = APP_STATE.engine;
  engine->Gfx_BeginScene(0);
  engine->Gfx_Clear(0x00000000);
  engine->Gfx_SetClipping(0, 0, static_cast<int>(APP_STATE.screenWidth), static_cast<int>(APP_STATE.screenHeight));
  engine->Gfx_EndScene();
  return false;
}
