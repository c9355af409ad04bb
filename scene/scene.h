// SPIX, the scene: its keyed lists of objects and graphics, registration,
// object creation and removal, lookup by name prefix, and drawing in draw
// order. Depends on the engine interface only.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/sprite.h"
#include "scene/graphics.h"
#include "scene/name_list.h"
#include "scene/scene_object.h"

class SPIX {
 public:
  SPIX() = default;
  SPIX(const SPIX&) = delete;
  SPIX& operator=(const SPIX&) = delete;
  // Frees every object it still owns (kept ones included) and every graphic.
  ~SPIX();

  // --- Lists. Items are never owned by the lists; the scene owns objects and
  // graphics itself. ------------------------------------------------------
  NameList<SPIX_OBJECT> objectsById{NameListOrder::Unsorted};  // key: id key
  NameList<SPIX_OBJECT> objectsByName{NameListOrder::Sorted};  // key: name
  NameList<SPIX_OBJECT> drawOrder{NameListOrder::Sorted};      // key: OrderKey(depth, id key)
  // Keys from x and from the left and right edges of the bounds at creation;
  // filled only while noSpatialIndex is clear.
  NameList<SPIX_OBJECT> objectsByX{NameListOrder::Sorted};
  NameList<SPIX_OBJECT> objectsByLeft{NameListOrder::Sorted};
  NameList<SPIX_OBJECT> objectsByRight{NameListOrder::Sorted};
  // The latest FindObjects result, key: id key. Entries of objects removed
  // since then stay with their item set to null.
  NameList<SPIX_OBJECT> queryResults{NameListOrder::Unsorted};
  // Filled by no operation; removal clears references to removed objects.
  NameList<SPIX_OBJECT> auxListA{NameListOrder::Sorted};
  NameList<SPIX_OBJECT> auxListB{NameListOrder::Sorted};
  NameList<SPIX_GRAPHICS> graphicsById{NameListOrder::Unsorted};    // registration order
  NameList<SPIX_GRAPHICS> graphicsByName{NameListOrder::Unsorted};  // registration order

  int32_t lastObjectId = 0;        // highest object id handed out or accepted; 0 after ClearObjects
  int32_t lastGraphicsId = 0;      // highest graphic id handed out or accepted; never reset
  float offsetX = 0, offsetY = 0;  // added to every object's position when drawing
  bool noSpatialIndex = false;     // when set, the three coordinate lists are not filled

  // --- Graphics ------------------------------------------------------------
  // Registers a graphic drawn from the rectangle (texX, texY, width, height)
  // of the texture (texels; handle 0 allowed). A sheet size below the frame
  // size means one frame. id <= 0 or an id already registered gets the next
  // free number. The graphic lives as long as the scene.
  SPIX_GRAPHICS* AddGraphics(std::string_view name, HTEXTURE texture, float texX, float texY, float width, float height,
                             float sheetWidth, float sheetHeight, int32_t id);
  int GraphicsCount() const { return graphicsById.Count(); }
  // In registration order from 0; null out of range.
  SPIX_GRAPHICS* GraphicsAt(int32_t position) const { return graphicsById.ItemAt(position); }

  // --- Objects -------------------------------------------------------------
  // Creates an object showing graphic (may be null) at (x, y) and files it in
  // every list. id < 1 gets lastObjectId + 1; ids need not be unique.
  SPIX_OBJECT* AddObject(std::string_view name, SPIX_GRAPHICS* graphic, float x, float y, int32_t id);
  // Takes the object out of every list; destroys it unless keep is set, in
  // which case it stays valid (still owned by the scene) until the scene goes.
  // An object the scene does not hold, or null, is left alone.
  void RemoveObject(SPIX_OBJECT* object, bool keep);
  // Removes every object at once (linear time) and restarts ids at 1.
  // queryResults keeps its entries, all emptied.
  void ClearObjects(bool keep);

  // The first position in objectsByName whose name is not less than name.
  int FindNamePosition(std::string_view name) const { return objectsByName.LowerBound(name); }
  // Fills queryResults with the searchable objects (other than exclude) whose
  // names begin with prefix, in name order, newest first among equal names;
  // at most one with firstOnly. Returns the count. Allocates nothing once the
  // list has held as many results before.
  int FindObjects(std::string_view prefix, bool firstOnly, const SPIX_OBJECT* exclude);
  // Entry n of queryResults; null out of range or when that object has gone.
  SPIX_OBJECT* FoundObject(int n) const { return queryResults.ItemAt(n); }

  // The object's frame (unrotated) around its position, scaled by its scale
  // about the position. False and an empty rectangle without a drawable graphic.
  bool ObjectBounds(const SPIX_OBJECT* object, BoundingRect& rect) const;

  // --- Drawing (scene_render.cpp) -------------------------------------------
  // Animates and draws every object in draw order. The view rectangle is in
  // scene units before offsetX/offsetY; an axis whose min is not below its
  // max is not culled, so Render(0, 0, 0, 0) draws everything.
  void Render(float xmin, float ymin, float xmax, float ymax);
  // One frame-animation step, then selects the object's frame on the shared
  // sprite. Runs for every object Render reaches, drawn or not.
  void Animate(SPIX_OBJECT* object);
  // Draws the effects attached to the object, in list order.
  void RenderEffects(SPIX_OBJECT* object);

 private:
  // Every object filed in the lists; each object knows its slot.
  std::vector<std::unique_ptr<SPIX_OBJECT>> objects_;
  // Objects removed with keep set: out of every list, alive until the scene goes.
  std::vector<std::unique_ptr<SPIX_OBJECT>> keptObjects_;
  std::vector<std::unique_ptr<SPIX_GRAPHICS>> graphics_;
};
