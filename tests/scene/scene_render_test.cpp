// Tests of drawing the scene into the recording engine: draw order, culling,
// colours on the shared sprite, draw positions, frame animation and effects.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "scene/scene.h"
#include "tests/support/recording_engine.h"

namespace {

class SceneRenderTest : public ::testing::Test {
 protected:
  ScopedRecordingEngine engine;
  SPIX scene;

  SPIX_GRAPHICS* graphic(float width, float height, float pivotX, float pivotY, float sheetWidth = 0,
                         float sheetHeight = 0) {
    SPIX_GRAPHICS* made = scene.AddGraphics("g", 0, 0, 0, width, height, sheetWidth, sheetHeight, 0);
    made->sprite->SetPivot(pivotX, pivotY);
    return made;
  }

  // Top-left corner (corner 0) of every quad drawn by one Render call.
  std::vector<std::pair<float, float>> renderCorners(float xmin = 0, float ymin = 0, float xmax = 0, float ymax = 0) {
    engine->quads.clear();
    scene.Render(xmin, ymin, xmax, ymax);
    std::vector<std::pair<float, float>> corners;
    for (const SpriteQuad& quad : engine->quads) corners.emplace_back(quad.v[0].x, quad.v[0].y);
    return corners;
  }
};

TEST_F(SceneRenderTest, DrawsInOrderOfTruncatedCreationYThenIdText) {
  SPIX_GRAPHICS* dot = graphic(1, 1, 0, 0);
  for (int id = 1; id <= 8; ++id) scene.AddObject("filler", dot, 1000, 1000, id);
  scene.AddObject("a", dot, 9, 10.9f, 9);
  scene.AddObject("b", dot, 10, 10.2f, 10);
  scene.AddObject("c", dot, 30, 30, 11);
  scene.AddObject("d", dot, -1, -0.5f, 12);  // truncates to 0
  SPIX_OBJECT* moved = scene.AddObject("e", dot, 5, 5, 13);
  moved->SetY(500);  // later moves do not re-sort
  moved->depth = 600;
  auto corners = renderCorners();
  ASSERT_EQ(corners.size(), 13u);
  const float expectedX[] = {-1, 5, 10, 9, 30};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(corners[i].first, expectedX[i]) << i;
  EXPECT_EQ(corners[1].second, 500);
}

TEST_F(SceneRenderTest, DrawPositionAddsSceneAndObjectOffsetsWithRotationAndScale) {
  SPIX_GRAPHICS* square = graphic(20, 10, 10, 5);
  SPIX_OBJECT* object = scene.AddObject("a", square, 100, 200, 0);
  scene.offsetX = 1000;
  scene.offsetY = -50;
  object->drawOffsetX = 3;
  object->drawOffsetY = 4;
  object->scale = 2;
  scene.Render(0, 0, 0, 0);
  ASSERT_EQ(engine->quads.size(), 1u);
  const SpriteQuad& quad = engine->quads[0];
  EXPECT_EQ(quad.v[0].x, 1103 - 20);
  EXPECT_EQ(quad.v[0].y, 154 - 10);
  EXPECT_EQ(quad.v[2].x, 1103 + 20);
  EXPECT_EQ(quad.v[2].y, 154 + 10);

  engine->quads.clear();
  object->rotation = 3.14159265f;  // half a turn about the pivot swaps the corners
  scene.Render(0, 0, 0, 0);
  ASSERT_EQ(engine->quads.size(), 1u);
  EXPECT_NEAR(engine->quads[0].v[0].x, 1103 + 20, 1e-3);
  EXPECT_NEAR(engine->quads[0].v[0].y, 154 + 10, 1e-3);
}

TEST_F(SceneRenderTest, EmptyViewDrawsEverythingHoweverFarAway) {
  SPIX_GRAPHICS* square = graphic(20, 20, 10, 10);
  scene.AddObject("far", square, 1e7f, -1e7f, 0);
  scene.AddObject("near", square, 0, 0, 0);
  EXPECT_EQ(renderCorners(0, 0, 0, 0).size(), 2u);
  EXPECT_EQ(renderCorners(5, 5, 5, 5).size(), 2u);
  EXPECT_EQ(renderCorners(10, 10, -10, -10).size(), 2u);
}

TEST_F(SceneRenderTest, CullingKeepsObjectsTouchingTheViewEdge) {
  SPIX_GRAPHICS* square = graphic(20, 20, 10, 10);
  struct Case {
    float x, y, scale, drawOffsetX;
    float xmin, ymin, xmax, ymax;
    bool drawn;
  };
  const Case cases[] = {
      {105, 50, 1, 0, 0, 0, 100, 100, true},   // left edge 95 is inside
      {111, 50, 1, 0, 0, 0, 100, 100, false},  // left edge 101 is past the view
      {110, 50, 1, 0, 0, 0, 100, 100, true},   // left edge exactly 100
      {-10, 50, 1, 0, 0, 0, 100, 100, true},   // right edge exactly 0
      {-10.5f, 50, 1, 0, 0, 0, 100, 100, false}, {50, -10, 1, 0, 0, 0, 100, 100, true},  // bottom edge exactly 0
      {50, -11, 1, 0, 0, 0, 100, 100, false},    {50, 111, 1, 0, 0, 0, 100, 100, false},
      {50, 111, 1, 0, 0, 0, 100, 0, true},      // y not culled: empty y range
      {111, 50, 1, 0, 0, 0, 0, 100, true},      // x not culled: empty x range
      {-25, 50, 2, 0, 0, 0, 100, 100, false},   // scaled: right edge -25 + 20 = -5
      {-15, 50, 2, 0, 0, 0, 100, 100, true},    // scaled: right edge 5
      {111, 50, 1, -11, 0, 0, 100, 100, true},  // draw offsets count
  };
  for (const Case& c : cases) {
    scene.ClearObjects(false);
    SPIX_OBJECT* object = scene.AddObject("a", square, c.x, c.y, 0);
    object->scale = c.scale;
    object->drawOffsetX = c.drawOffsetX;
    scene.offsetX = 5000;  // the scene offset does not count
    EXPECT_EQ(renderCorners(c.xmin, c.ymin, c.xmax, c.ymax).size(), c.drawn ? 1u : 0u)
        << "object at " << c.x << ", " << c.y << " scale " << c.scale;
  }
}

TEST_F(SceneRenderTest, HiddenObjectsAreNotAnimatedInvisibleOnesAre) {
  SPIX_GRAPHICS* sheet = graphic(32, 32, 0, 0, 128, 32);
  SPIX_OBJECT* hidden = scene.AddObject("h", sheet, 0, 0, 0);
  SPIX_OBJECT* invisible = scene.AddObject("i", sheet, 0, 0, 0);
  SPIX_OBJECT* culled = scene.AddObject("c", sheet, 5000, 0, 0);
  for (SPIX_OBJECT* object : {hidden, invisible, culled}) {
    object->frameDelay = 1;
    object->animFlags = SPIX_ANIM_LOOP;
  }
  hidden->hidden = true;
  invisible->visible = false;
  EXPECT_EQ(renderCorners(0, 0, 100, 100).size(), 0u);
  EXPECT_EQ(hidden->frameColumn, 0);
  EXPECT_EQ(invisible->frameColumn, 1);
  EXPECT_EQ(culled->frameColumn, 1);
}

TEST_F(SceneRenderTest, ObjectsWithoutADrawableGraphicAreSkipped) {
  scene.AddObject("bare", nullptr, 0, 0, 0);
  SPIX_GRAPHICS* spriteless = graphic(1, 1, 0, 0);
  scene.AddObject("spriteless", spriteless, 0, 0, 0);
  spriteless->sprite.reset();
  scene.AddObject("fine", graphic(1, 1, 0, 0), 0, 0, 0);
  EXPECT_EQ(renderCorners().size(), 1u);
}

TEST_F(SceneRenderTest, UntintedObjectsInheritTheColoursOfTheSharedSprite) {
  SPIX_GRAPHICS* shared = graphic(4, 4, 0, 0);
  SPIX_GRAPHICS* other = graphic(4, 4, 0, 0);
  SPIX_OBJECT* green = scene.AddObject("a", shared, 0, 1, 0);
  scene.AddObject("b", shared, 0, 2, 0);
  scene.AddObject("c", other, 0, 3, 0);
  SPIX_OBJECT* corners = scene.AddObject("d", other, 0, 4, 0);
  green->tinted = true;
  green->tint = 0xFF00FF00;
  corners->tinted = true;
  corners->cornerTinted = true;
  corners->tint = 0xFFFF0000;  // ignored in favour of the corners
  const uint32_t cornerColours[4] = {0x11111111, 0x22222222, 0x33333333, 0x44444444};
  for (int k = 0; k < 4; ++k) corners->cornerTint[k] = cornerColours[k];

  renderCorners();
  ASSERT_EQ(engine->quads.size(), 4u);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(engine->quads[0].v[k].colour, 0xFF00FF00u);
    EXPECT_EQ(engine->quads[1].v[k].colour, 0xFF00FF00u);  // untinted: drawn green as well
    EXPECT_EQ(engine->quads[2].v[k].colour, 0xFFFFFFFFu);  // the other graphic is still white
    EXPECT_EQ(engine->quads[3].v[k].colour, cornerColours[k]);
  }
  // cornerTinted alone does nothing.
  corners->tinted = false;
  other->sprite->SetVertexColor(0xFF0000FF);
  renderCorners();
  EXPECT_EQ(engine->quads[3].v[2].colour, 0xFF0000FFu);
}

TEST_F(SceneRenderTest, EveryObjectDrawsItsOwnFrameFromTheSharedSprite) {
  SPIX_GRAPHICS* sheet = graphic(32, 16, 0, 0, 128, 32);  // 4 columns, 2 rows; texture 0: texel coordinates
  SPIX_OBJECT* a = scene.AddObject("a", sheet, 0, 1, 0);
  SPIX_OBJECT* b = scene.AddObject("b", sheet, 0, 2, 0);
  a->frameColumn = 3;
  a->frameRow = 1;
  b->frameColumn = 1;
  renderCorners();
  ASSERT_EQ(engine->quads.size(), 2u);
  EXPECT_EQ(engine->quads[0].v[0].tx, 96);
  EXPECT_EQ(engine->quads[0].v[0].ty, 16);
  EXPECT_EQ(engine->quads[0].v[2].tx, 128);
  EXPECT_EQ(engine->quads[0].v[2].ty, 32);
  EXPECT_EQ(engine->quads[1].v[0].tx, 32);
  EXPECT_EQ(engine->quads[1].v[0].ty, 0);
  EXPECT_EQ(sheet->sprite->GetWidth(), 32);  // the frame size never changes

  sheet->sprite->SetFlipState(true, false);  // mirroring survives the frame selection
  renderCorners();
  EXPECT_EQ(engine->quads[0].v[0].tx, 128);
  EXPECT_EQ(engine->quads[0].v[1].tx, 96);
}

class AnimateTest : public SceneRenderTest {
 protected:
  // Columns shown over successive Animate calls.
  std::vector<int> columns(SPIX_OBJECT* object, int calls) {
    std::vector<int> seen;
    for (int i = 0; i < calls; ++i) {
      scene.Animate(object);
      seen.push_back(object->frameColumn);
    }
    return seen;
  }
};

TEST_F(AnimateTest, StepsEveryFrameDelayCallsAndStopsAtTheStopFrame) {
  SPIX_GRAPHICS* sheet = graphic(32, 32, 0, 0, 128, 32);
  SPIX_OBJECT* object = scene.AddObject("a", sheet, 0, 0, 0);
  object->frameDelay = 2;
  object->stopFrame = 2;
  EXPECT_EQ(columns(object, 6), (std::vector<int>{0, 1, 1, 2, 2, 2}));
  EXPECT_EQ(object->frameDelay, 0);
  EXPECT_EQ(sheet->sprite->GetTextureX(), 64);

  object->frameDelay = 2;  // restarted: runs on past the stop frame now and stops there again later
  object->animFlags = 0;
  EXPECT_EQ(columns(object, 10), (std::vector<int>{2, 3, 3, 0, 0, 1, 1, 2, 2, 2}));
  EXPECT_EQ(object->frameDelay, 0);
}

TEST_F(AnimateTest, LoopNeverStopsAndWrapsBothWays) {
  SPIX_GRAPHICS* sheet = graphic(32, 32, 0, 0, 128, 32);
  SPIX_OBJECT* object = scene.AddObject("a", sheet, 0, 0, 0);
  object->frameDelay = 1;
  object->stopFrame = 2;
  object->animFlags = SPIX_ANIM_LOOP;
  EXPECT_EQ(columns(object, 9), (std::vector<int>{1, 2, 3, 0, 1, 2, 3, 0, 1}));
  EXPECT_EQ(object->frameDelay, 1);
  object->animReverse = 1;
  EXPECT_EQ(columns(object, 5), (std::vector<int>{0, 3, 2, 1, 0}));
}

TEST_F(AnimateTest, PingPongReflectsAtBothEnds) {
  SPIX_GRAPHICS* sheet = graphic(32, 32, 0, 0, 128, 32);
  SPIX_OBJECT* object = scene.AddObject("a", sheet, 0, 0, 0);
  object->frameDelay = 1;
  object->animFlags = SPIX_ANIM_LOOP | SPIX_ANIM_PINGPONG;
  EXPECT_EQ(columns(object, 10), (std::vector<int>{1, 2, 3, 2, 1, 0, 1, 2, 3, 2}));

  SPIX_GRAPHICS* single = graphic(32, 32, 0, 0);
  SPIX_OBJECT* alone = scene.AddObject("b", single, 0, 0, 0);
  alone->frameDelay = 1;
  alone->animFlags = SPIX_ANIM_LOOP | SPIX_ANIM_PINGPONG;
  EXPECT_EQ(columns(alone, 4), (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(AnimateTest, RandomFrameStaysOnTheSheetAndRandomDelayStepsSometimes) {
  std::srand(12345);
  SPIX_GRAPHICS* sheet = graphic(32, 32, 0, 0, 160, 32);  // 5 columns
  SPIX_OBJECT* object = scene.AddObject("a", sheet, 0, 0, 0);
  object->frameDelay = 1;
  object->animFlags = SPIX_ANIM_LOOP | SPIX_ANIM_RANDOMFRAME;
  std::set<int> seen;
  for (int column : columns(object, 400)) {
    ASSERT_GE(column, 0);
    ASSERT_LT(column, 5);
    seen.insert(column);
  }
  EXPECT_EQ(seen.size(), 5u);

  SPIX_OBJECT* slow = scene.AddObject("b", sheet, 0, 0, 0);
  slow->frameDelay = 4;
  slow->animFlags = SPIX_ANIM_LOOP | SPIX_ANIM_RANDOMDELAY;
  int steps = 0;
  int previous = slow->frameColumn;
  for (int column : columns(slow, 4000)) {
    if (column != previous) ++steps;
    previous = column;
  }
  // One step in four calls on average.
  EXPECT_GT(steps, 800);
  EXPECT_LT(steps, 1200);
}

TEST_F(AnimateTest, RowsOutsideTheSheetGoBackToTheFirst) {
  SPIX_GRAPHICS* oneRow = graphic(32, 32, 0, 0, 128, 32);
  SPIX_OBJECT* object = scene.AddObject("a", oneRow, 0, 0, 0);
  object->frameRow = 1;
  scene.Animate(object);
  EXPECT_EQ(object->frameRow, 0);

  SPIX_GRAPHICS* threeRows = graphic(32, 32, 0, 0, 32, 100);  // 3 whole rows
  SPIX_OBJECT* tall = scene.AddObject("b", threeRows, 0, 0, 0);
  tall->frameRow = 2;
  scene.Animate(tall);
  EXPECT_EQ(tall->frameRow, 2);
  EXPECT_EQ(threeRows->sprite->GetTextureY(), 64);
  tall->frameRow = 3;
  scene.Animate(tall);
  EXPECT_EQ(tall->frameRow, 0);
}

TEST_F(AnimateTest, ZeroSizedFramesCountAsOneFrame) {
  SPIX_GRAPHICS* flat = graphic(0, 0, 0, 0, 64, 64);
  SPIX_OBJECT* object = scene.AddObject("a", flat, 0, 0, 0);
  object->frameDelay = 1;
  object->frameRow = 5;
  object->animFlags = SPIX_ANIM_LOOP;
  EXPECT_EQ(columns(object, 3), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(object->frameRow, 0);
  object->animFlags = SPIX_ANIM_LOOP | SPIX_ANIM_RANDOMFRAME;
  EXPECT_EQ(columns(object, 3), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(renderCorners().size(), 1u);
}

// Draws a marker quad so the test can see where in the sequence it ran.
class MarkerEffect : public ObjectEffect {
 public:
  explicit MarkerEffect(float marker) : sprite_(0, 0, 0, 1, 1), marker_(marker) {}
  void Render() override { sprite_.RenderTransformed(marker_, marker_, 0, 1); }

 private:
  hgeSprite sprite_;
  float marker_;
};

TEST_F(SceneRenderTest, EffectsAreDrawnRightAfterTheirObject) {
  SPIX_GRAPHICS* dot = graphic(1, 1, 0, 0);
  SPIX_OBJECT* first = scene.AddObject("a", dot, 1, 1, 0);
  SPIX_OBJECT* second = scene.AddObject("b", dot, 2, 2, 0);
  scene.AddObject("c", dot, 3, 3, 0);
  MarkerEffect spark(-100), glow(-200);
  NameList<ObjectEffect> firstEffects(NameListOrder::Sorted);
  firstEffects.Add("2", &glow);
  firstEffects.Add("1", &spark);
  firstEffects.Add("3", nullptr);  // empty entries are skipped
  first->effects = &firstEffects;
  NameList<ObjectEffect> noEffects;
  second->effects = &noEffects;

  auto corners = renderCorners();
  const float expectedX[] = {1, -100, -200, 2, 3};
  ASSERT_EQ(corners.size(), 5u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(corners[i].first, expectedX[i]) << i;

  first->visible = false;  // an object that is not drawn draws no effects either
  EXPECT_EQ(renderCorners().size(), 2u);
  first->effects = nullptr;
}

}  // namespace
