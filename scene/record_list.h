// The plain records a graphic owns in unsorted lists: its collision circles
// (SPIX_COLLISIONCIRCLE) and node points (SPIX_NODEPOINT). The scene creates
// and reads no records; it only frees them.
#pragma once

#include "scene/owned_name_list.h"

struct CollisionCircle {
  float x = 0, y = 0;  // centre, texels from the frame's top-left corner
  float radius = 0;
};

struct NodePoint {
  float x = 0, y = 0;  // texels from the frame's top-left corner
};

using SPIX_COLLISIONCIRCLE = OwnedNameList<CollisionCircle>;
using SPIX_NODEPOINT = OwnedNameList<NodePoint>;
