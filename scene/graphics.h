// SPIX_GRAPHICS: a named graphic of the scene, an image cut from a texture
// and held as the one sprite every object of that graphic is drawn with.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/sprite.h"
#include "scene/record_list.h"

class SPIX;

// Made only by SPIX::AddGraphics and owned by the scene. Owns its sprite and
// both record containers, not the texture.
struct SPIX_GRAPHICS {
  std::string name;
  int32_t id = 0;
  // Shared by every object of this graphic; its source rectangle is the frame
  // size, and each object selects its frame and colours right before drawing.
  std::unique_ptr<hgeSprite> sprite;
  SPIX_COLLISIONCIRCLE collisionCircles;
  SPIX_NODEPOINT nodePoints;
  // Size in texels of the frame sheet, a grid of frames of the sprite's size
  // from the texture's top-left corner; never smaller than one frame.
  float sheetWidth = 0;
  float sheetHeight = 0;
  int32_t userValues[4] = {};  // free for callers; the scene never reads them
  SPIX* owner = nullptr;
  std::string userText;  // free for callers; the scene never reads it
  int32_t moreUserValues[6] = {};
};
