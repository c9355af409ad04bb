// Drawing the scene: the walk over drawOrder with culling and colours, the
// frame animation of each object, and the effects drawn after an object.
// All objects of a graphic share one sprite, so frame and colours are
// written into it right before each object is drawn. Allocates nothing.
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/random_below.h"
#include "scene/scene.h"

namespace {

// Whole frames of frameSize in sheetSize; at least 1, so that a frame of
// width or height 0 (or anything else that does not divide) means one frame.
int32_t framesIn(float sheetSize, float frameSize) {
  if (!(frameSize > 0.0f)) return 1;
  const float frames = std::floor(sheetSize / frameSize);
  if (!(frames >= 1.0f)) return 1;
  if (frames >= 2147483647.0f) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(frames);
}

}  // namespace

void SPIX::Render(float xmin, float ymin, float xmax, float ymax) {
  const bool cullX = xmin < xmax;
  const bool cullY = ymin < ymax;
  // The count is read afresh on every pass.
  for (int i = 0; i < drawOrder.Count(); ++i) {
    SPIX_OBJECT* object = drawOrder.ItemAt(i);
    if (!object || object->hidden) continue;
    if (!object->graphics || !object->graphics->sprite) continue;
    Animate(object);  // before the visibility and culling tests: hidden-from-view objects keep animating
    if (!object->visible) continue;

    hgeSprite& sprite = *object->graphics->sprite;
    float pivotX = 0, pivotY = 0;
    sprite.GetPivot(&pivotX, &pivotY);
    // The culling box is the scaled frame, unrotated and without the scene
    // offset; touching the view edge still counts as inside.
    if (cullX) {
      const float left = object->x - pivotX * object->scale + object->drawOffsetX;
      const float width = sprite.GetWidth() * object->scale;
      if (left + width < xmin || left > xmax) continue;
    }
    if (cullY) {
      const float top = object->y - pivotY * object->scale + object->drawOffsetY;
      const float height = sprite.GetHeight() * object->scale;
      if (top + height < ymin || top > ymax) continue;
    }

    // Untinted objects take whatever colours the previous user of the sprite left.
    if (object->tinted) {
      if (object->cornerTinted) {
        for (int k = 0; k < 4; ++k) sprite.SetVertexColor(object->cornerTint[k], k);
      } else {
        sprite.SetVertexColor(object->tint, -1);
      }
    }
    sprite.RenderTransformed(object->x + offsetX + object->drawOffsetX, object->y + offsetY + object->drawOffsetY,
                             object->rotation, object->scale, 0.0f);
    RenderEffects(object);
  }
}

// Choices for the flags whose details are open:
// - SPIX_ANIM_PINGPONG: the column moves in the direction of animReverse; a
//   column past the last is moved back by 2 and animReverse becomes 1, a
//   column below 0 is moved forward by 2 and animReverse becomes 0. On a
//   single-column sheet the wrap that follows keeps the column at 0.
// - SPIX_ANIM_RANDOMDELAY: each call draws randomBelow(frameDelay) instead of
//   counting, and a step happens when the draw is 0: one step per frameDelay
//   calls on average (every call when frameDelay is 1).
// - stopFrame is -1 on a new object, so an animation started without setting
//   it never stops by itself.
void SPIX::Animate(SPIX_OBJECT* object) {
  if (!object || !object->graphics || !object->graphics->sprite) return;
  const SPIX_GRAPHICS& graphic = *object->graphics;
  hgeSprite& sprite = *graphic.sprite;
  const float frameWidth = sprite.GetWidth();
  const float frameHeight = sprite.GetHeight();

  if (object->frameDelay > 0) {
    bool step;
    if (object->animFlags & SPIX_ANIM_RANDOMDELAY) {
      step = randomBelow(object->frameDelay) == 0;
    } else {
      // Counted without overflow should a caller have set a huge tick.
      object->animTick = static_cast<int32_t>(static_cast<uint32_t>(object->animTick) + 1u);
      step = object->animTick % object->frameDelay == 0;
    }
    if (step) {
      object->animTick = 0;
      const int32_t columns = framesIn(graphic.sheetWidth, frameWidth);
      if (object->animFlags & SPIX_ANIM_RANDOMFRAME) {
        object->frameColumn = randomBelow(columns);
      } else {
        int64_t column = static_cast<int64_t>(object->frameColumn) + (object->animReverse == 0 ? 1 : -1);
        if (object->animFlags & SPIX_ANIM_PINGPONG) {
          if (column > columns - 1) {
            column -= 2;
            object->animReverse = 1;
          } else if (column < 0) {
            column += 2;
            object->animReverse = 0;
          }
        }
        if (column > columns - 1) {
          column = 0;
        } else if (column < 0) {
          column = columns - 1;
        }
        object->frameColumn = static_cast<int32_t>(column);
      }
      if (!(object->animFlags & SPIX_ANIM_LOOP) && object->frameColumn == object->stopFrame) object->frameDelay = 0;
    }
  }

  const int32_t rows = framesIn(graphic.sheetHeight, frameHeight);
  if (object->frameRow >= rows) object->frameRow = 0;
  sprite.SetSourceRect(frameWidth * static_cast<float>(object->frameColumn),
                       frameHeight * static_cast<float>(object->frameRow), frameWidth, frameHeight);
}

void SPIX::RenderEffects(SPIX_OBJECT* object) {
  if (!object || !object->effects) return;
  const NameList<ObjectEffect>& effects = *object->effects;
  for (int i = 0; i < effects.Count(); ++i) {
    if (ObjectEffect* effect = effects.ItemAt(i)) effect->Render();
  }
}
