// The render function: the scene, the particles and, while the left button
// is held, the outlined help overlay, which keeps its size at any zoom.
#include "app/render.h"

#include "app/app_state.h"
#include "app/help_text.h"
#include "composition/composition.h"
#include "font/font.h"
#include "particles/particle_manager.h"
#include "scene/scene.h"

namespace {

constexpr uint32_t kOutlineColour = 0xFF000000;
constexpr uint32_t kTextColour = 0xFF8080FF;

// Draws text centred at canvas height y: twice in black, one unit
// down-right and one unit up-left, then in light blue on top. Positions are
// divided by the zoom the engine applies, so the text keeps its size and place.
void drawOutlinedText(hgeFont& font, float y, const char* text) {
  float w = APP_STATE.screenWidth;
  float z = composition.zoom;
  float s = APP_STATE.windowScale;
  font.SetScale(s / z);
  font.SetColor(kOutlineColour);
  font.printf((w * 0.5f + 1) / z * s, (y + 1) / z * s, kTextCenter, "%s", text);
  font.printf((w * 0.5f - 1) / z * s, (y - 1) / z * s, kTextCenter, "%s", text);
  font.SetColor(kTextColour);
  font.printf(w * 0.5f / z * s, y / z * s, kTextCenter, "%s", text);
}

void drawHelpOverlay() {
  if (APP_STATE.titleFont) drawOutlinedText(*APP_STATE.titleFont, 180, APP_STATE.productName.c_str());
  if (APP_STATE.helpFont) drawOutlinedText(*APP_STATE.helpFont, 220, kHelpText);
}

}  // namespace

bool renderFunction() {
  HGE* engine = APP_STATE.engine;
  engine->Gfx_BeginScene(0);
  engine->Gfx_Clear(0x00000000);
  engine->Gfx_SetClipping(0, 0, static_cast<int>(APP_STATE.screenWidth), static_cast<int>(APP_STATE.screenHeight));
  if (APP_STATE.scene) APP_STATE.scene->Render(0, 0, 0, 0);
  particleManager.Render();
  if (engine->Input_GetKeyState(kKeyLeftButton)) drawHelpOverlay();
  engine->Gfx_EndScene();
  return false;
}
