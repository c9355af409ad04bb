// The figure list: order by name text, equal names kept, links between
// entries and scene objects, deleting and clearing.
#include <string>
#include <vector>

#include "composition/fit_scale.h"
#include "tests/composition/composition_fixture.h"

namespace {

using FigureList = CompositionTest;

std::vector<std::string> Names() {
  std::vector<std::string> names;
  for (int i = 0; i < composition.figures.Count(); ++i) names.emplace_back(composition.figures.KeyAt(i));
  return names;
}

TEST_F(FigureList, EntriesAreOrderedByTheTextOfTheirNameAndEqualNamesAreKept) {
  std::vector<FigureEntry*> entries;
  for (const char* name : {"2", "10", "1", "100", "11", "0", "10"}) entries.push_back(composition.AddEntry(name));
  EXPECT_EQ(Names(), (std::vector<std::string>{"0", "1", "10", "10", "100", "11", "2"}));
  // The second "10" went in before the first one.
  EXPECT_EQ(composition.figures.ItemAt(2), entries[6]);
  EXPECT_EQ(composition.figures.ItemAt(3), entries[1]);
  for (FigureEntry* entry : entries) EXPECT_EQ(entry->object, nullptr);
  EXPECT_STREQ(entries[3]->name, "100");
}

TEST_F(FigureList, LongNamesAreCutTo107Characters) {
  const std::string name(200, 'n');
  FigureEntry* entry = composition.AddEntry(name);
  EXPECT_EQ(std::string(entry->name), name.substr(0, 107));
  EXPECT_EQ(composition.figures.KeyAt(0), name.substr(0, 107));
}

TEST_F(FigureList, CreateFigureLinksTheEntryAndItsSceneObjectBothWays) {
  AddGraphics(3);
  FigureEntry* first = composition.CreateFigure(&Scene(), 10.5f, -20.25f, 2);
  FigureEntry* second = composition.CreateFigure(&Scene(), 1, 2, 2);
  ASSERT_NE(first->object, nullptr);
  EXPECT_STREQ(first->name, "2");
  EXPECT_EQ(first->object->name, "titile");
  EXPECT_EQ(first->object->graphics, Scene().GraphicsAt(2));
  EXPECT_FLOAT_EQ(first->object->x, 10.5f);
  EXPECT_FLOAT_EQ(first->object->y, -20.25f);
  EXPECT_EQ(first->object->userData, first);
  // The scene numbers the objects itself.
  EXPECT_EQ(first->object->id, 1);
  EXPECT_EQ(second->object->id, 2);
  EXPECT_EQ(Scene().objectsById.Count(), 2);
  EXPECT_EQ(composition.figures.Count(), 2);
}

TEST_F(FigureList, AGraphicIndexOutsideTheRegistryGivesAnEntryWithoutObject) {
  AddGraphics(2);
  for (int index : {2, -1, 1000}) {
    FigureEntry* entry = composition.CreateFigure(&Scene(), 0, 0, index);
    EXPECT_EQ(entry->object, nullptr) << index;
    EXPECT_EQ(std::string(entry->name), std::to_string(index));
  }
  EXPECT_EQ(Scene().objectsById.Count(), 0);
  EXPECT_EQ(composition.figures.Count(), 3);
}

TEST_F(FigureList, DeleteFigureRemovesOnlyTheEntryAndIgnoresPositionsOutsideTheList) {
  AddGraphics(1);
  composition.CreateFigure(&Scene(), 0, 0, 0);
  composition.AddEntry("5");
  composition.DeleteFigure(-1);
  composition.DeleteFigure(2);
  EXPECT_EQ(composition.figures.Count(), 2);
  composition.DeleteFigure(0);
  EXPECT_EQ(Names(), std::vector<std::string>{"5"});
  EXPECT_EQ(Scene().objectsById.Count(), 1);  // the object stays with the scene
}

TEST_F(FigureList, ClearForgetsTheFiguresAndResetsTheViewButKeepsTheScreenTexts) {
  AddGraphics(1);
  for (int i = 0; i < 100; ++i) composition.CreateFigure(&Scene(), static_cast<float>(i), 0, 0);
  composition.formulas[0] = "z=cos(t)";
  composition.a = 7;
  composition.rotationMode = 2;
  composition.brightnessSum = -2;
  composition.zoom = 0.25f;
  composition.autoMotion = 0;
  composition.panX = 5;
  composition.panY = -5;
  composition.baseColour = 0x12345678;

  Scene().ClearObjects(false);
  composition.Clear(context_);
  EXPECT_EQ(composition.figures.Count(), 0);
  EXPECT_EQ(composition.zoom, 1.0f);  // no desktop: the canvas counts as fitting
  EXPECT_EQ(composition.autoMotion, 1);
  EXPECT_EQ(composition.panX, 0);
  EXPECT_EQ(composition.panY, 0);
  EXPECT_EQ(composition.baseColour, 0u);
  EXPECT_EQ(composition.formulas[0], "z=cos(t)");
  EXPECT_EQ(composition.a, 7);
  EXPECT_EQ(composition.rotationMode, 2);
  EXPECT_EQ(composition.brightnessSum, -2);
}

TEST_F(FigureList, ClearTakesTheZoomThatFitsTheDesktop) {
  context_.desktop = DesktopSize{800, 600};
  composition.Clear(context_);
  EXPECT_EQ(composition.zoom, 0.5f);
}

TEST_F(FigureList, ACompositionIsBuiltEmptyAndEndsWithoutTouchingTheScene) {
  AddGraphics(1);
  {
    SPRITE local;
    EXPECT_EQ(local.figures.Count(), 0);
    EXPECT_EQ(local.zoom, 0);
    EXPECT_EQ(local.autoMotion, 0);
    for (const std::string& formula : local.formulas) EXPECT_TRUE(formula.empty());
    local.CreateFigure(&Scene(), 0, 0, 0);
    local.AddEntry("x");
  }
  // The object stays with the scene; the entries went with the composition.
  EXPECT_EQ(Scene().objectsById.Count(), 1);
}

}  // namespace
