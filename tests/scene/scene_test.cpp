// Tests of the scene's bookkeeping: graphics registration and ids, object
// creation and filing, lookup by prefix, removal, clearing and bounds.
#include "scene/scene.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine_factory.h"
#include "scene/keys.h"
#include "tests/support/recording_engine.h"

namespace {

class SceneTest : public ::testing::Test {
 protected:
  ScopedRecordingEngine engine;
  SPIX scene;

  SPIX_GRAPHICS* graphic(float width = 40, float height = 20, float pivotX = 20, float pivotY = 10) {
    SPIX_GRAPHICS* made = scene.AddGraphics("g.png", 0, 0, 0, width, height, 0, 0, 0);
    made->sprite->SetPivot(pivotX, pivotY);
    return made;
  }

  std::vector<std::string> names(const NameList<SPIX_OBJECT>& list) {
    std::vector<std::string> result;
    for (int i = 0; i < list.Count(); ++i) result.push_back(list.ItemAt(i) ? list.ItemAt(i)->name : "(none)");
    return result;
  }

  std::vector<NameList<SPIX_OBJECT>*> filingLists() {
    return {&scene.objectsById, &scene.objectsByName, &scene.drawOrder,
            &scene.objectsByX,  &scene.objectsByLeft, &scene.objectsByRight};
  }
};

TEST_F(SceneTest, FreshSceneIsEmptyWithItsListsOrderedAsDesigned) {
  EXPECT_FALSE(scene.noSpatialIndex);
  EXPECT_EQ(scene.lastObjectId + scene.lastGraphicsId, 0);
  for (const auto* list : {&scene.objectsByName, &scene.drawOrder, &scene.objectsByX, &scene.auxListA}) {
    EXPECT_EQ(list->Order(), NameListOrder::Sorted);
  }
  for (const auto* list : {&scene.objectsById, &scene.queryResults}) EXPECT_EQ(list->Order(), NameListOrder::Unsorted);
  EXPECT_EQ(scene.graphicsById.Order(), NameListOrder::Unsorted);
}

TEST_F(SceneTest, GraphicIdsAreAllocatedAcceptedOrReplaced) {
  struct Step {
    int requested;
    int expected;
    int lastAfter;
  };
  const Step steps[] = {
      {0, 1, 1},    {0, 2, 2}, {10, 10, 10}, {0, 11, 11}, {10, 12, 12},  // 10 is taken: next free number
      {5, 5, 12},                                                        // unused below the highest: as asked
      {-3, 13, 13},
  };
  for (const Step& step : steps) {
    SPIX_GRAPHICS* made = scene.AddGraphics("x", 0, 0, 0, 1, 1, 0, 0, step.requested);
    EXPECT_EQ(made->id, step.expected) << "asked for " << step.requested;
    EXPECT_EQ(scene.lastGraphicsId, step.lastAfter);
  }
  EXPECT_EQ(scene.GraphicsCount(), 7);
  EXPECT_EQ(scene.graphicsById.KeyAt(2), "10");
}

TEST_F(SceneTest, GraphicsKeepRegistrationOrderAndTheirSettings) {
  SPIX_GRAPHICS* first = scene.AddGraphics("leaf.png", 0, 0, 0, 64, 32, 0, 96, 0);
  SPIX_GRAPHICS* second = scene.AddGraphics("leaf.png", 0, 8, 4, 16, 16, 100, 2, 0);
  EXPECT_EQ(first->sheetWidth, 64);  // sheet never smaller than a frame
  EXPECT_EQ(first->sheetHeight, 96);
  EXPECT_EQ(second->sheetWidth, 100);
  EXPECT_EQ(second->sheetHeight, 16);
  EXPECT_EQ(first->name, "leaf.png");
  EXPECT_EQ(first->owner, &scene);
  ASSERT_NE(first->sprite, nullptr);
  EXPECT_EQ(first->sprite->GetBlend(), 2);
  EXPECT_EQ(first->sprite->GetVertexColor(3), 0xFFFFFFFFu);
  EXPECT_EQ(second->sprite->GetTextureX(), 8);
  EXPECT_EQ(second->sprite->GetWidth(), 16);
  EXPECT_EQ(first->collisionCircles.Count(), 0);
  EXPECT_EQ(first->nodePoints.Count(), 0);

  EXPECT_EQ(scene.GraphicsAt(0), first);
  EXPECT_EQ(scene.GraphicsAt(1), second);
  EXPECT_EQ(scene.GraphicsAt(2), nullptr);
  EXPECT_EQ(scene.GraphicsAt(-1), nullptr);
  EXPECT_EQ(scene.graphicsByName.Count(), 2);  // equal names both kept
  EXPECT_EQ(scene.graphicsByName.ItemAt(1), second);
}

TEST_F(SceneTest, EachGraphicHoldsOneEngineReferenceUntilTheSceneGoes) {
  {
    SPIX local;
    local.AddGraphics("a", 0, 0, 0, 1, 1, 0, 0, 0);
    local.AddGraphics("b", 0, 0, 0, 1, 1, 0, 0, 0);
    local.AddObject("o", local.GraphicsAt(0), 0, 0, 0);
    EXPECT_EQ(hgeReferenceCount(), 2);
  }
  EXPECT_EQ(hgeReferenceCount(), 0);
}

TEST_F(SceneTest, ObjectIdsAreAllocatedAcceptedAndRestartAfterClearing) {
  const int requested[] = {0, 0, 0, 7, 0, 3, -1};
  const int expected[] = {1, 2, 3, 7, 8, 3, 9};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(scene.AddObject("o", nullptr, 0, 0, requested[i])->id, expected[i]) << i;
  EXPECT_EQ(scene.lastObjectId, 9);
  EXPECT_EQ(scene.objectsById.Count(), 7);
  scene.ClearObjects(false);
  EXPECT_EQ(scene.lastObjectId, 0);
  EXPECT_EQ(scene.AddObject("o", nullptr, 0, 0, 0)->id, 1);
}

TEST_F(SceneTest, IdsStopAtTheLargestInsteadOfOverflowing) {
  scene.AddObject("o", nullptr, 0, 0, 2147483647);
  EXPECT_EQ(scene.AddObject("o", nullptr, 0, 0, 0)->id, 2147483647);
  scene.AddGraphics("g", 0, 0, 0, 1, 1, 0, 0, 2147483647);
  EXPECT_EQ(scene.AddGraphics("g", 0, 0, 0, 1, 1, 0, 0, 0)->id, 2147483647);
}

TEST_F(SceneTest, NewObjectsStartAtTheirCreationPositionAndSettersKeepThePreviousValue) {
  SPIX_GRAPHICS* shown = graphic();
  SPIX_OBJECT* object = scene.AddObject("titile", shown, 12.5f, -3.25f, 0);
  EXPECT_EQ(object->graphics, shown);
  EXPECT_EQ(object->owner, &scene);
  for (float value : {object->originX, object->prevX, object->prevOriginX}) EXPECT_EQ(value, 12.5f);
  for (float value : {object->originY, object->prevY, object->prevOriginY, object->depth}) EXPECT_EQ(value, -3.25f);
  EXPECT_TRUE(object->visible && object->searchable && !object->hidden && !object->tinted);
  EXPECT_EQ(object->scale, 1.0f);
  EXPECT_EQ(object->tint, 0xFFFFFFFFu);

  object->SetX(20);
  object->SetX(30);
  object->SetY(-1);
  EXPECT_EQ(object->prevX, 20);
  EXPECT_EQ(object->x, 30);
  EXPECT_EQ(object->prevY, -3.25f);
  object->SetOriginZ(4);
  EXPECT_EQ(object->prevOriginZ, 0);
  EXPECT_EQ(object->originZ, 4);
}

TEST_F(SceneTest, ObjectsAreFiledByIdNameDrawOrderAndPosition) {
  SPIX_GRAPHICS* shown = graphic();
  for (int id = 1; id <= 8; ++id) scene.AddObject("filler", shown, 0, 0, id);
  SPIX_OBJECT* nine = scene.AddObject("b", shown, 100, 10.9f, 9);
  SPIX_OBJECT* ten = scene.AddObject("b", shown, 100, 10.2f, 10);
  SPIX_OBJECT* low = scene.AddObject("a", shown, -7, -2, 0);

  EXPECT_EQ(scene.objectsById.Count(), 11);
  EXPECT_EQ(scene.objectsById.KeyAt(8), "9");
  EXPECT_EQ(scene.objectsById.ItemAt(10), low);
  EXPECT_EQ(scene.objectsByName.ItemAt(0), low);
  EXPECT_EQ(scene.objectsByName.ItemAt(1), ten);  // the newer "b" first
  EXPECT_EQ(scene.objectsByName.ItemAt(2), nine);

  // Same truncated y: the id text "10" sorts before "9".
  const int drawn = scene.drawOrder.Count();
  EXPECT_EQ(scene.drawOrder.ItemAt(0), low);
  EXPECT_EQ(scene.drawOrder.ItemAt(drawn - 2), ten);
  EXPECT_EQ(scene.drawOrder.ItemAt(drawn - 1), nine);
  EXPECT_EQ(scene.drawOrder.KeyAt(drawn - 1), "010000000109");

  // The 40 x 20 frame with its pivot at (20, 10): edges at x - 20 and x + 20.
  EXPECT_EQ(scene.objectsByX.PositionOfKey(OrderKey(100, "10")), scene.objectsByX.PositionOfItem(ten));
  EXPECT_GE(scene.objectsByLeft.PositionOfKey(OrderKey(80, "10")), 0);
  EXPECT_GE(scene.objectsByRight.PositionOfKey(OrderKey(120, "10")), 0);
  EXPECT_EQ(scene.objectsByLeft.ItemAt(0), low);
  EXPECT_EQ(scene.objectsByRight.KeyAt(0), OrderKey(13, "11").View());
}

TEST_F(SceneTest, WithoutASpatialIndexTheCoordinateListsStayEmpty) {
  scene.noSpatialIndex = true;
  scene.AddObject("a", graphic(), 1, 2, 0);
  EXPECT_EQ(scene.objectsByX.Count(), 0);
  EXPECT_EQ(scene.objectsByLeft.Count(), 0);
  EXPECT_EQ(scene.objectsByRight.Count(), 0);
  EXPECT_EQ(scene.drawOrder.Count(), 1);
}

TEST_F(SceneTest, ObjectWithoutGraphicIsFiledAtItsPosition) {
  scene.AddObject("a", nullptr, 5.5f, 1, 0);
  EXPECT_EQ(scene.objectsByLeft.KeyAt(0), "010000000051");
  EXPECT_EQ(scene.objectsByRight.KeyAt(0), "010000000051");
}

TEST_F(SceneTest, FindObjectsReturnsThePrefixRunInNameOrder) {
  SPIX_GRAPHICS* shown = graphic();
  for (const char* name : {"titile", "t", "tiger", "tj", "tin", "titile", "a", "zzz"}) {
    scene.AddObject(name, shown, 0, 0, 0);
  }
  struct Case {
    const char* prefix;
    std::vector<int> ids;
  };
  const Case cases[] = {
      {"ti", {3, 5, 6, 1}},  // tiger, tin, titile (newest first)
      {"tig", {3}},
      {"titile", {6, 1}},
      {"titiles", {}},
      {"t", {2, 3, 5, 6, 1, 4}},
      {"", {7, 2, 3, 5, 6, 1, 4, 8}},
      {"u", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.prefix);
    ASSERT_EQ(scene.FindObjects(c.prefix, false, nullptr), static_cast<int>(c.ids.size()));
    for (size_t i = 0; i < c.ids.size(); ++i) {
      ASSERT_NE(scene.FoundObject(static_cast<int>(i)), nullptr);
      EXPECT_EQ(scene.FoundObject(static_cast<int>(i))->id, c.ids[i]);
      EXPECT_EQ(scene.queryResults.KeyAt(static_cast<int>(i)), IdKey(c.ids[i]).View());
    }
    EXPECT_EQ(scene.FoundObject(static_cast<int>(c.ids.size())), nullptr);
    EXPECT_EQ(scene.FoundObject(-1), nullptr);
  }
  EXPECT_EQ(scene.FindNamePosition("ti"), 2);
  EXPECT_EQ(scene.FindNamePosition("zzzz"), 8);
}

TEST_F(SceneTest, FindObjectsSkipsUnsearchableAndExcludedAndStopsAfterTheFirst) {
  SPIX_GRAPHICS* shown = graphic();
  SPIX_OBJECT* oldest = scene.AddObject("titile", shown, 0, 0, 0);
  SPIX_OBJECT* middle = scene.AddObject("titile", shown, 0, 0, 0);
  SPIX_OBJECT* newest = scene.AddObject("titile", shown, 0, 0, 0);
  EXPECT_EQ(scene.FindObjects("ti", true, nullptr), 1);
  EXPECT_EQ(scene.FoundObject(0), newest);

  newest->searchable = false;
  EXPECT_EQ(scene.FindObjects("ti", false, middle), 1);
  EXPECT_EQ(scene.FoundObject(0), oldest);
  EXPECT_EQ(scene.FindObjects("ti", true, nullptr), 1);
  EXPECT_EQ(scene.FoundObject(0), middle);
  EXPECT_EQ(scene.FindObjects("ti", true, middle), 1);
  EXPECT_EQ(scene.FoundObject(0), oldest);
}

TEST_F(SceneTest, RemovalTakesTheObjectOutOfEveryListAndEmptiesItsQueryEntry) {
  SPIX_GRAPHICS* shown = graphic();
  SPIX_OBJECT* first = scene.AddObject("titile", shown, 1, 1, 0);
  SPIX_OBJECT* second = scene.AddObject("titile", shown, 2, 2, 0);
  SPIX_OBJECT* third = scene.AddObject("titile", shown, 3, 3, 0);
  scene.auxListA.Add("x", second);
  scene.auxListB.Add("y", second);
  ASSERT_EQ(scene.FindObjects("ti", false, nullptr), 3);
  ASSERT_EQ(scene.FoundObject(1), second);

  scene.RemoveObject(second, false);
  EXPECT_EQ(scene.queryResults.Count(), 3);
  EXPECT_EQ(scene.FoundObject(0), third);
  EXPECT_EQ(scene.FoundObject(1), nullptr);
  EXPECT_EQ(scene.FoundObject(2), first);
  EXPECT_EQ(scene.auxListA.Count(), 1);
  EXPECT_EQ(scene.auxListA.ItemAt(0), nullptr);
  EXPECT_EQ(scene.auxListB.ItemAt(0), nullptr);
  for (NameList<SPIX_OBJECT>* list : filingLists()) {
    EXPECT_EQ(list->Count(), 2);
    EXPECT_EQ(list->PositionOfItem(second), -1);
    EXPECT_GE(list->PositionOfItem(first), 0);
    EXPECT_GE(list->PositionOfItem(third), 0);
  }
  EXPECT_EQ(scene.FindObjects("ti", false, nullptr), 2);
}

TEST_F(SceneTest, RemovalWithKeepLeavesTheObjectIntact) {
  SPIX_OBJECT* kept = scene.AddObject("keeper", graphic(), 4, 5, 0);
  kept->userData = &scene;
  scene.RemoveObject(kept, true);
  for (NameList<SPIX_OBJECT>* list : filingLists()) EXPECT_EQ(list->Count(), 0);
  // Still a whole object (the sanitizer build would see a freed one).
  EXPECT_EQ(kept->name, "keeper");
  EXPECT_EQ(kept->x, 4);
  EXPECT_EQ(kept->userData, &scene);
  scene.RemoveObject(kept, false);  // no longer held: nothing happens
  EXPECT_EQ(kept->name, "keeper");
}

TEST_F(SceneTest, RemovingNothingOrAForeignObjectChangesNothing) {
  SPIX other;
  SPIX_OBJECT* foreign = other.AddObject("titile", nullptr, 0, 0, 0);
  SPIX_OBJECT* own = scene.AddObject("titile", nullptr, 0, 0, 0);
  scene.RemoveObject(nullptr, false);
  scene.RemoveObject(foreign, false);
  EXPECT_EQ(scene.objectsById.Count(), 1);
  EXPECT_EQ(other.objectsById.Count(), 1);
  EXPECT_EQ(foreign->name, "titile");
  scene.RemoveObject(own, false);
  scene.RemoveObject(own, false);  // a second removal finds nothing
  EXPECT_EQ(scene.objectsById.Count(), 0);
}

TEST_F(SceneTest, ObjectsFiledBeforeTheSpatialIndexWasSwitchedOffLeaveItOnRemoval) {
  SPIX_OBJECT* object = scene.AddObject("a", graphic(), 0, 0, 0);
  ASSERT_EQ(scene.objectsByX.Count(), 1);
  scene.noSpatialIndex = true;
  scene.RemoveObject(object, false);
  EXPECT_EQ(scene.objectsByX.Count(), 0);
  EXPECT_EQ(scene.objectsByLeft.Count(), 0);
  EXPECT_EQ(scene.objectsByRight.Count(), 0);
}

TEST_F(SceneTest, ClearingEmptiesEveryListButKeepsQueryEntriesAndGraphics) {
  SPIX_GRAPHICS* shown = graphic();
  for (int i = 0; i < 200; ++i) scene.AddObject(i % 2 ? "titile" : "other", shown, static_cast<float>(i), 0, 0);
  scene.auxListA.Add("k", scene.objectsById.ItemAt(3));
  ASSERT_EQ(scene.FindObjects("ti", false, nullptr), 100);
  scene.ClearObjects(false);
  for (NameList<SPIX_OBJECT>* list : filingLists()) EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(scene.queryResults.Count(), 100);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(scene.FoundObject(i), nullptr);
  EXPECT_EQ(scene.auxListA.Count(), 1);
  EXPECT_EQ(scene.auxListA.ItemAt(0), nullptr);
  EXPECT_EQ(scene.lastObjectId, 0);
  EXPECT_EQ(scene.GraphicsCount(), 1);
  EXPECT_EQ(scene.FindObjects("ti", false, nullptr), 0);
  EXPECT_EQ(scene.queryResults.Count(), 0);
}

TEST_F(SceneTest, ClearingWithKeepLeavesEveryObjectIntact) {
  SPIX_OBJECT* a = scene.AddObject("a", nullptr, 1, 0, 0);
  SPIX_OBJECT* b = scene.AddObject("b", nullptr, 2, 0, 0);
  scene.ClearObjects(true);
  EXPECT_EQ(scene.objectsById.Count(), 0);
  EXPECT_EQ(a->name, "a");
  EXPECT_EQ(b->x, 2);
}

TEST_F(SceneTest, ObjectBoundsScaleTheFrameAboutThePosition) {
  SPIX_GRAPHICS* shown = graphic(40, 20, 20, 10);
  SPIX_OBJECT* object = scene.AddObject("a", shown, 100, 50, 0);
  struct Case {
    float scale;
    BoundingRect expected;
  };
  BoundingRect half, whole, twice, mirrored;
  half.Assign(90, 45, 110, 55);
  whole.Assign(80, 40, 120, 60);
  twice.Assign(60, 30, 140, 70);
  mirrored.Assign(120, 60, 80, 40);  // a negative scale turns the corners over
  for (const Case& c : {Case{0.5f, half}, Case{1, whole}, Case{2, twice}, Case{-1, mirrored}}) {
    object->scale = c.scale;
    BoundingRect rect;
    ASSERT_TRUE(scene.ObjectBounds(object, rect));
    EXPECT_FALSE(rect.empty);
    EXPECT_FLOAT_EQ(rect.x1, c.expected.x1) << c.scale;
    EXPECT_FLOAT_EQ(rect.y1, c.expected.y1) << c.scale;
    EXPECT_FLOAT_EQ(rect.x2, c.expected.x2) << c.scale;
    EXPECT_FLOAT_EQ(rect.y2, c.expected.y2) << c.scale;
  }
  object->rotation = 1.0f;  // ignored, as are the draw offsets
  object->drawOffsetX = 50;
  object->scale = 1;
  BoundingRect rect;
  scene.ObjectBounds(object, rect);
  EXPECT_EQ(rect.x1, 80);

  SPIX_OBJECT* bare = scene.AddObject("b", nullptr, 0, 0, 0);
  rect.Assign(1, 2, 3, 4);
  EXPECT_FALSE(scene.ObjectBounds(bare, rect));
  EXPECT_TRUE(rect.empty);
  EXPECT_FALSE(scene.ObjectBounds(nullptr, rect));
}

}  // namespace
