// SPIX_OBJECT: one placed, scaled, turned and tinted instance of a graphic,
// with its frame animation state, and the animation flags.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "scene/name_list.h"
#include "scene/object_effect.h"

class SPIX;
struct SPIX_GRAPHICS;

constexpr int32_t SPIX_ANIM_LOOP = 1;         // never stop at stopFrame
constexpr int32_t SPIX_ANIM_PINGPONG = 2;     // reflect at the ends of the row
constexpr int32_t SPIX_ANIM_RANDOMFRAME = 4;  // jump to a random column
constexpr int32_t SPIX_ANIM_RANDOMDELAY = 8;  // random step timing

// Made only by SPIX::AddObject and owned by the scene, which destroys it when
// it is removed without being kept. Owns its name only: the graphic, the user
// data and the effects list stay when it goes.
class SPIX_OBJECT {
 public:
  SPIX_OBJECT(std::string_view objectName, SPIX_GRAPHICS* graphic, float creationX, float creationY, SPIX* scene,
              int32_t objectId);
  SPIX_OBJECT(const SPIX_OBJECT&) = delete;
  SPIX_OBJECT& operator=(const SPIX_OBJECT&) = delete;

  // Each setter first keeps the old value in the matching previous-value field.
  void SetX(float value) { prevX = x, x = value; }
  void SetY(float value) { prevY = y, y = value; }
  void SetOriginX(float value) { prevOriginX = originX, originX = value; }
  void SetOriginY(float value) { prevOriginY = originY, originY = value; }
  void SetOriginZ(float value) { prevOriginZ = originZ, originZ = value; }

  float x, y;                           // scene units; the sprite's pivot is drawn here (after offsets)
  float originX, originY, originZ = 0;  // the creation position; nothing reads them
  int32_t animTick = 0;                 // draws counted toward the next frame step
  // Column at which a non-looping animation stops; whoever starts an
  // animation sets it. -1 (no column) until then, so an animation started
  // without it runs on.
  int32_t stopFrame = -1;
  int32_t animReverse = 0;  // 0 steps forward, 1 backward
  std::string name;         // need not be unique
  SPIX* owner;
  int32_t id;
  void* userData = nullptr;  // the creator's; the composition keeps its figure entry here
  bool visible = true;       // drawn when set; animation runs either way
  bool searchable = true;    // returned by FindObjects when set
  float rotation = 0;        // radians, clockwise on screen, about the pivot
  float scale = 1.0f;        // uniform, about the pivot
  bool tinted = false;       // when set, the colours below go into the sprite before each draw
  uint32_t tint = 0xFFFFFFFF;
  bool cornerTinted = false;  // with tinted: cornerTint instead of tint
  uint32_t cornerTint[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
  int32_t userValues[4] = {0, -1, 0, 0};      // free for callers; the scene never reads them
  bool hidden = false;                        // skipped entirely by Render: no animation, no draw
  SPIX_GRAPHICS* graphics;                    // not owned
  NameList<ObjectEffect>* effects = nullptr;  // drawn right after the object; not owned
  float prevX, prevY;                         // x and y before the last SetX / SetY
  float drawOffsetX = 0, drawOffsetY = 0;     // added to the position for drawing and culling
  // What the drawOrder key was made from; changing it later does not move
  // the object in drawOrder.
  float depth;
  float prevOriginX, prevOriginY, prevOriginZ = 0;
  int32_t frameRow = 0;
  int32_t frameColumn = 0;
  int32_t frameDelay = 0;  // draws per frame step; 0 = no animation
  int32_t animFlags = 0;   // SPIX_ANIM_* bits

 private:
  friend class SPIX;
  size_t storeSlot_ = 0;  // where the owning scene keeps it
};
