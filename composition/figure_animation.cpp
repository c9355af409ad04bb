// SPRITE::Animate, the composition's step in every frame: the view, the
// automatic motion of a fresh screen, the viewing controls (wheel, keys,
// right-button dragging), turning and scaling the figures, and the one-time
// colour check of a new screen. Every rate is per frame of 1/50 s.
#include <cstdint>

#include "composition/composition.h"
#include "composition/composition_context.h"
#include "composition/figure_animation.h"
#include "composition/frame_input.h"
#include "core/angles.h"
#include "core/float_to_int.h"
#include "engine/hge.h"
#include "engine/sprite.h"
#include "scene/scene.h"
#include "scene/scene_object.h"

namespace {

// The mouse position seen in the last frame in which the controls were read,
// cut toward zero to whole canvas units.
int32_t lastMouseX = 0;
int32_t lastMouseY = 0;

// Colour-check markers.
constexpr float kApplyBaseColour = -1;
constexpr float kCheckOver = -2;

// Rates per frame.
constexpr float kAutoTurn = 0.0005f;
constexpr float kAutoGrow = 1.002f;
constexpr float kAutoShrink = 0.998004019f;   // 1 / 1.002
constexpr double kAutoZoomOut = 0.999000999;  // 1 / 1.001
constexpr double kAutoZoomIn = 1.001;
constexpr float kWheelTurn = 0.05f;
constexpr float kWheelGrow = 1.01f;
constexpr float kWheelShrink = 0.990099013f;  // 1 / 1.01

}  // namespace

void resetFigureAnimationState() {
  lastMouseX = 0;
  lastMouseY = 0;
}

bool SPRITE::Animate(float frameTime, const FrameInput& input, const CompositionContext& context) {
  HGE* engine = context.engine;
  SPIX* scene = context.scene;
  const float width = context.screenWidth;
  const float height = context.screenHeight;
  const float windowScale = context.windowScale;

  // The view, from the values of the previous frame: scene point
  // (-panX, -panY) lands on the window centre after the engine's scaling.
  // A zoom of 0 (only before the first Clear, or after W has been held for a
  // very long time) would put the view at infinity; the last view then stays.
  if (scene && zoom != 0) {
    scene->offsetX = static_cast<float>(width * windowScale * 0.5 / zoom + panX);
    scene->offsetY = static_cast<float>(height * windowScale * 0.5 / zoom + panY);
  }
  if (engine) engine->Gfx_SetTransform(0, 0, 0, 0, 0, zoom, zoom);

  // This frame's turn (radians) and scale factor; 0 means no change.
  float turn = 0;
  float grow = 0;
  const bool frozen = input.leftButton;
  bool wheelTurned = false;

  // Automatic motion of a fresh screen.
  if (!frozen && autoMotion != 0) {
    zoom = static_cast<float>(zoom * 0.999);
    if (0.1 * windowScale > zoom) zoom = static_cast<float>(0.1 * windowScale);
    if (context.autoGenerate != 0) {
      if (rotationMode == 1) turn = kAutoTurn;
      if (rotationMode == 2) turn = -kAutoTurn;
      if (scaleMode == 1) grow = kAutoGrow;
      if (scaleMode == 2) grow = kAutoShrink;
      if (zoomMode == 1) zoom = static_cast<float>(zoom * kAutoZoomOut);
      if (zoomMode == 2) zoom = static_cast<float>(zoom * kAutoZoomIn);
    }
  }

  // The viewing controls, while the pointer is over the window.
  if (!frozen && input.mouseOver) {
    const int wheel = input.wheel;
    if (wheel != 0) {
      const bool shift = input.shift;
      const bool ctrl = input.ctrl;
      if (wheel > 0) {
        if (shift) {
          turn = kWheelTurn;
        } else if (ctrl) {
          grow = kWheelGrow;
        } else {
          zoom = static_cast<float>(zoom * 1.1);
          if (8 * windowScale < zoom) zoom = 8 * windowScale;
        }
      } else {
        if (shift) {
          turn = -kWheelTurn;
        } else if (ctrl) {
          grow = kWheelShrink;
        } else {
          zoom = static_cast<float>(zoom * 0.9090909);
          if (0.001 * windowScale > zoom) zoom = static_cast<float>(0.001 * windowScale);
        }
      }
      autoMotion = 0;
      wheelTurned = true;
    }

    // Held keys win over the automatic motion and the wheel; they have no limits.
    if (input.keyD) {
      turn = kAutoTurn;
    } else if (input.keyA) {
      turn = -kAutoTurn;
    }
    if (input.keyQ) {
      grow = kAutoGrow;
    } else if (input.keyE) {
      grow = kAutoShrink;
    }
    if (input.keyW) {
      zoom = static_cast<float>(zoom * kAutoZoomOut);
    } else if (input.keyS) {
      zoom = static_cast<float>(zoom * kAutoZoomIn);
    }

    const float mouseX = input.mouseX;
    const float mouseY = input.mouseY;
    if (input.rightButton && zoom != 0 &&
        (mouseX != static_cast<float>(lastMouseX) || mouseY != static_cast<float>(lastMouseY))) {
      panX += (mouseX - lastMouseX) * windowScale / zoom;
      panY += (mouseY - lastMouseY) * windowScale / zoom;
    }
    lastMouseX = truncateToInt32(mouseX);
    lastMouseY = truncateToInt32(mouseY);
  }

  // The figures, found again by their object name.
  const int found = scene ? scene->FindObjects("ti", false, nullptr) : 0;
  for (int i = 0; i < found; ++i) {
    SPIX_OBJECT* object = scene->FoundObject(i);
    if (!object || !object->userData) continue;
    if (turn != 0) {
      float x = object->x;
      float y = object->y;
      rotateAboutCentre(x, y, turn, 0, 0);
      object->SetX(x);
      object->SetY(y);
      object->rotation += turn;
    }
    if (grow != 0) object->scale *= grow;
    if (brightnessSum == kApplyBaseColour || alphaSum == kApplyBaseColour) {
      object->tint = baseColour;
    } else if (brightnessSum != kCheckOver && alphaSum != kCheckOver) {
      const ColorRGBA colour(object->tint);
      brightnessSum += colour.r + colour.g + colour.b;
      alphaSum += colour.a;
    }
  }

  // The colour check's conclusion: a screen whose mean channel is below
  // 0.08, or whose mean alpha is below 0.05, takes the base colour next frame.
  if (brightnessSum == kApplyBaseColour || alphaSum == kApplyBaseColour) {
    brightnessSum = kCheckOver;
    alphaSum = kCheckOver;
  } else if (!(brightnessSum < 0 || alphaSum < 0)) {
    brightnessSum = found > 0 && brightnessSum / (3 * found) < 0.08 ? kApplyBaseColour : kCheckOver;
    alphaSum = found > 0 && alphaSum / found < 0.05 ? kApplyBaseColour : kCheckOver;
  }
  return wheelTurned;
}
