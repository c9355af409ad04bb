// The render function: the scene, the particles and, while the left button
// is held, the outlined help overlay, which keeps its size at any zoom.
#include "app/render.h"

#include <algorithm>
#include <cstring>

#include "app/app_state.h"
#include "app/help_text.h"
#include "app/screen_keeper.h"
#include "composition/composition.h"
#include "font/font.h"
#include "particles/particle_manager.h"
#include "scene/scene.h"

namespace {

constexpr uint32_t kOutlineColour = 0xFF000000;
constexpr uint32_t kTextColour = 0xFF8080FF;
// The fading message's height above the bottom of the canvas.
constexpr float kMessageLift = 60;

// Draws text centred at canvas height y: twice in black, one unit
// down-right and one unit up-left, then in light blue on top. Positions are
// divided by the zoom the engine applies, so the text keeps its size and place.
// opacity scales the alpha of both colours (the fading message).
void drawOutlinedText(hgeFont& font, float y, const char* text, float opacity = 1) {
  float w = APP_STATE.screenWidth;
  float z = composition.zoom;
  float s = APP_STATE.windowScale;
  const uint32_t alpha = static_cast<uint32_t>(opacity * 255.0f + 0.5f) << 24;
  font.SetScale(s / z);
  font.SetColor((kOutlineColour & 0x00FFFFFFu) | alpha);
  font.printf((w * 0.5f + 1) / z * s, (y + 1) / z * s, kTextCenter, "%s", text);
  font.printf((w * 0.5f - 1) / z * s, (y - 1) / z * s, kTextCenter, "%s", text);
  font.SetColor((kTextColour & 0x00FFFFFFu) | alpha);
  font.printf(w * 0.5f / z * s, y / z * s, kTextCenter, "%s", text);
}

void drawHelpOverlay() {
  if (APP_STATE.titleFont) drawOutlinedText(*APP_STATE.titleFont, 180, APP_STATE.productName.c_str());
  if (APP_STATE.helpFont) {
    hgeFont& font = *APP_STATE.helpFont;
    drawOutlinedText(font, 220, kHelpText);
    // The viewer's own line, one empty line below the help text.
    static const int helpLines = 1 + static_cast<int>(std::count(kHelpText, kHelpText + std::strlen(kHelpText), '\n'));
    if (APP_STATE.keeper)
      drawOutlinedText(font, 220 + (helpLines + 1) * font.GetHeight(), APP_STATE.keeper->OverlayLine().c_str());
  }
}

void drawKeeperMessage() {
  float opacity = 0;
  const std::string& message = APP_STATE.keeper->Message(opacity);
  if (message.empty() || !APP_STATE.helpFont || opacity <= 0) return;
  drawOutlinedText(*APP_STATE.helpFont, APP_STATE.screenHeight - kMessageLift, message.c_str(), opacity);
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
  // A picture asked for shows what is drawn so far, without the message.
  if (APP_STATE.keeper) {
    APP_STATE.keeper->AfterDrawing();
    drawKeeperMessage();
  }
  engine->Gfx_EndScene();
  return false;
}
