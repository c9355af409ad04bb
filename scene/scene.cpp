// The scene's bookkeeping: registering graphics, creating, filing, removing
// and finding objects, and object bounds.
#include "scene/scene.h"

#include <limits>
#include <utility>

#include "scene/keys.h"

namespace {

// The next id after last; stays at the largest id instead of overflowing.
int32_t nextId(int32_t last) { return last < std::numeric_limits<int32_t>::max() ? last + 1 : last; }

void removeEntryOf(NameList<SPIX_OBJECT>& list, const SPIX_OBJECT* object) {
  const int position = list.PositionOfItem(object);
  if (position < 0) return;
  list.SetItemAt(position, nullptr);
  list.DeleteAt(position);
}

// Every entry that refers to the object keeps its place with a null item.
void emptyEntriesOf(NameList<SPIX_OBJECT>& list, const SPIX_OBJECT* object) {
  for (int position = list.PositionOfItem(object); position >= 0; position = list.PositionOfItem(object)) {
    list.SetItemAt(position, nullptr);
  }
}

}  // namespace

SPIX_OBJECT::SPIX_OBJECT(std::string_view objectName, SPIX_GRAPHICS* graphic, float creationX, float creationY,
                         SPIX* scene, int32_t objectId)
    : x(creationX),
      y(creationY),
      originX(creationX),
      originY(creationY),
      name(objectName),
      owner(scene),
      id(objectId),
      graphics(graphic),
      prevX(creationX),
      prevY(creationY),
      depth(creationY),
      prevOriginX(creationX),
      prevOriginY(creationY) {}

SPIX::~SPIX() = default;

SPIX_GRAPHICS* SPIX::AddGraphics(std::string_view name, HTEXTURE texture, float texX, float texY, float width,
                                 float height, float sheetWidth, float sheetHeight, int32_t id) {
  if (id <= 0 || graphicsById.PositionOfKey(IdKey(id)) >= 0) {
    lastGraphicsId = nextId(lastGraphicsId);
    id = lastGraphicsId;
  } else if (lastGraphicsId < id) {
    lastGraphicsId = id;
  }

  auto graphic = std::make_unique<SPIX_GRAPHICS>();
  graphic->name = name;
  graphic->id = id;
  graphic->owner = this;
  graphic->sprite = std::make_unique<hgeSprite>(texture, texX, texY, width, height);
  graphic->sprite->SetVertexColor(0xFFFFFFFF, -1);
  graphic->sprite->SetBlend(kBlendAlpha);
  graphic->sheetWidth = sheetWidth > width ? sheetWidth : width;
  graphic->sheetHeight = sheetHeight > height ? sheetHeight : height;

  SPIX_GRAPHICS* result = graphic.get();
  graphics_.push_back(std::move(graphic));
  graphicsById.Add(IdKey(id), result);
  graphicsByName.Add(name, result);
  return result;
}

SPIX_OBJECT* SPIX::AddObject(std::string_view name, SPIX_GRAPHICS* graphic, float x, float y, int32_t id) {
  BoundingRect bounds;
  if (id < 1) {
    lastObjectId = nextId(lastObjectId);
    id = lastObjectId;
  } else if (lastObjectId < id) {
    lastObjectId = id;
  }

  auto owned = std::make_unique<SPIX_OBJECT>(name, graphic, x, y, this, id);
  SPIX_OBJECT* object = owned.get();
  object->storeSlot_ = objects_.size();
  objects_.push_back(std::move(owned));

  // Objects come at scattered depths and places, so the lists sorted by them
  // are filed with AddLater: a screen's worth of objects then merges into
  // each list in one pass instead of as many inserts at random places.
  const KeyText idKey = IdKey(id);
  objectsById.Add(idKey, object);
  objectsByName.Add(object->name, object);
  drawOrder.AddLater(OrderKey(object->depth, idKey), object);
  if (!ObjectBounds(object, bounds)) {
    // Without a drawable graphic the object has no extent: its edges are its position.
    bounds.Assign(x, y, x, y);
  }
  if (!noSpatialIndex) {
    objectsByX.AddLater(OrderKey(x, idKey), object);
    objectsByLeft.AddLater(OrderKey(bounds.x1, idKey), object);
    objectsByRight.AddLater(OrderKey(bounds.x2, idKey), object);
  }
  return object;
}

void SPIX::RemoveObject(SPIX_OBJECT* object, bool keep) {
  if (!object) return;
  const int position = objectsById.PositionOfItem(object);
  if (position < 0) return;
  objectsById.SetItemAt(position, nullptr);
  objectsById.DeleteAt(position);
  removeEntryOf(objectsByName, object);
  removeEntryOf(drawOrder, object);
  // Searched even while noSpatialIndex is set: an object filed there before
  // the flag was set must not stay behind once it is destroyed.
  removeEntryOf(objectsByX, object);
  removeEntryOf(objectsByLeft, object);
  removeEntryOf(objectsByRight, object);
  emptyEntriesOf(queryResults, object);
  emptyEntriesOf(auxListA, object);
  emptyEntriesOf(auxListB, object);

  const size_t slot = object->storeSlot_;
  if (slot >= objects_.size() || objects_[slot].get() != object) return;  // filed by hand, not ours to free
  std::unique_ptr<SPIX_OBJECT> owned = std::move(objects_[slot]);
  if (slot + 1 != objects_.size()) {
    objects_[slot] = std::move(objects_.back());
    objects_[slot]->storeSlot_ = slot;
  }
  objects_.pop_back();
  if (keep) keptObjects_.push_back(std::move(owned));
}

void SPIX::ClearObjects(bool keep) {
  // Every object goes, so every list is emptied at once instead of searching
  // each list once per object. queryResults, auxListA and auxListB hold only
  // objects of this scene (or emptied entries), so all their entries empty.
  objectsById.Clear();
  objectsByName.Clear();
  drawOrder.Clear();
  objectsByX.Clear();
  objectsByLeft.Clear();
  objectsByRight.Clear();
  queryResults.ClearItems();
  auxListA.ClearItems();
  auxListB.ClearItems();
  if (keep) {
    for (std::unique_ptr<SPIX_OBJECT>& object : objects_) keptObjects_.push_back(std::move(object));
  }
  objects_.clear();
  lastObjectId = 0;
}

int SPIX::FindObjects(std::string_view prefix, bool firstOnly, const SPIX_OBJECT* exclude) {
  queryResults.Clear();
  objectsByName.ForEachFrom(FindNamePosition(prefix), [&](std::string_view name, SPIX_OBJECT* object) {
    if (!name.starts_with(prefix)) return false;
    if (object && object != exclude && object->searchable) {
      queryResults.Add(IdKey(object->id), object);
      if (firstOnly) return false;
    }
    return true;
  });
  return queryResults.Count();
}

bool SPIX::ObjectBounds(const SPIX_OBJECT* object, BoundingRect& rect) const {
  rect.Reset();
  if (!object || !object->graphics || !object->graphics->sprite) return false;
  object->graphics->sprite->ComputeBounds(object->x, object->y, rect);
  const float k = 1.0f - object->scale;
  rect.x1 = rect.x1 + (object->x - rect.x1) * k;
  rect.y1 = rect.y1 + (object->y - rect.y1) * k;
  rect.x2 = rect.x2 - (rect.x2 - object->x) * k;
  rect.y2 = rect.y2 - (rect.y2 - object->y) * k;
  return true;
}
