// The per-frame animation against the recording engine: the view, the
// automatic motion, each viewing control, panning, the figure pass and the
// colour check.
#include <cmath>
#include <string>

#include "composition/frame_input.h"
#include "tests/composition/composition_fixture.h"

// The cases below name only the fields that differ from the defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

class FigureAnimation : public CompositionTest {
 protected:
  void SetUp() override {
    CompositionTest::SetUp();
    AddGraphics(1);
    composition.Clear(context_);
    composition.autoMotion = 0;
    composition.brightnessSum = composition.alphaSum = -2;  // colour check idle
    figure_ = composition.CreateFigure(&Scene(), 100, 0, 0)->object;
  }
  // As the frame function runs the step: input read once, the generator
  // switched off when the step reports the wheel.
  void Frame(float mouseX = 0, float mouseY = 0) {
    FrameInput input = readFrameInput(*engine_, context_.windowScale);
    input.mouseX = mouseX;
    input.mouseY = mouseY;
    if (composition.Animate(0.02f, input, context_)) context_.autoGenerate = 0;
  }

  SPIX_OBJECT* figure_ = nullptr;
};

struct ControlCase {
  std::string name;
  int wheel = 0;
  std::string held;  // key codes held: "L" left button, "s" SHIFT, "c" CTRL, letters as themselves
  bool mouseOver = true;
  int autoMotion = 0;
  int autoGenerate = 1;
  int rotationMode = 0, scaleMode = 0, zoomMode = 0;
  float windowScale = 1;
  float zoom = 1;
  // Expected
  float turn = 0;
  float grow = 1;
  float zoomAfter = 1;
  int autoMotionAfter = 0;
  int autoGenerateAfter = 1;
};

void Hold(RecordingEngine& engine, const std::string& held) {
  for (char key : held) {
    if (key == 'L') engine.Input().SetHeld(kKeyLeftButton, true);
    else if (key == 's') engine.Input().SetHeld(kKeyShift, true);
    else if (key == 'c') engine.Input().SetHeld(kKeyCtrl, true);
    else engine.Input().SetHeld(static_cast<unsigned char>(key), true);
  }
}

TEST_F(FigureAnimation, ControlsTable) {
  const float z1 = 1;
  const ControlCase cases[] = {
      {.name = "nothing"},
      {.name = "wheel up zooms in", .wheel = 1, .zoomAfter = static_cast<float>(z1 * 1.1), .autoGenerateAfter = 0},
      {.name = "wheel down zooms out",
       .wheel = -2,
       .zoomAfter = static_cast<float>(z1 * 0.9090909),
       .autoGenerateAfter = 0},
      {.name = "SHIFT wheel up turns by 0.05 whatever the amount",
       .wheel = 5,
       .held = "s",
       .turn = 0.05f,
       .autoGenerateAfter = 0},
      {.name = "SHIFT wheel down", .wheel = -1, .held = "s", .turn = -0.05f, .autoGenerateAfter = 0},
      {.name = "CTRL wheel up grows", .wheel = 1, .held = "c", .grow = 1.01f, .autoGenerateAfter = 0},
      {.name = "CTRL wheel down shrinks", .wheel = -1, .held = "c", .grow = 0.990099013f, .autoGenerateAfter = 0},
      {.name = "SHIFT wins over CTRL", .wheel = 1, .held = "sc", .turn = 0.05f, .autoGenerateAfter = 0},
      {.name = "wheel zoom stops at 8", .wheel = 1, .zoom = 7.9f, .zoomAfter = 8, .autoGenerateAfter = 0},
      {.name = "wheel zoom stops at 8 S",
       .wheel = 1,
       .windowScale = 0.5f,
       .zoom = 3.9f,
       .zoomAfter = 4,
       .autoGenerateAfter = 0},
      {.name = "wheel zoom stops at 0.001", .wheel = -1, .zoom = 0.0011f, .zoomAfter = 0.001f, .autoGenerateAfter = 0},
      {.name = "wheel ends the automatic motion",
       .wheel = 1,
       .held = "s",
       .autoMotion = 1,
       .zoom = 1,
       .turn = 0.05f,
       .zoomAfter = static_cast<float>(z1 * 0.999),
       .autoMotionAfter = 0,
       .autoGenerateAfter = 0},
      {.name = "D overrides SHIFT wheel", .wheel = 1, .held = "sD", .turn = 0.0005f, .autoGenerateAfter = 0},
      {.name = "A turns back", .held = "A", .turn = -0.0005f},
      {.name = "D before A", .held = "AD", .turn = 0.0005f},
      {.name = "Q grows", .held = "Q", .grow = 1.002f},
      {.name = "E overrides CTRL wheel", .wheel = 1, .held = "cE", .grow = 0.998004019f, .autoGenerateAfter = 0},
      {.name = "Q before E", .held = "QE", .grow = 1.002f},
      {.name = "W zooms out", .held = "W", .zoomAfter = static_cast<float>(z1 * 0.999000999)},
      {.name = "S zooms in", .held = "S", .zoomAfter = static_cast<float>(z1 * 1.001)},
      {.name = "W has no limit", .held = "W", .zoom = 1e-6f, .zoomAfter = static_cast<float>(1e-6f * 0.999000999)},
      {.name = "S has no limit", .held = "S", .zoom = 100, .zoomAfter = static_cast<float>(100.0f * 1.001)},
      {.name = "W then wheel",
       .wheel = 1,
       .held = "W",
       .zoomAfter = static_cast<float>(float(z1 * 1.1) * 0.999000999),
       .autoGenerateAfter = 0},
      {.name = "left button freezes everything",
       .wheel = 1,
       .held = "LsDQW",
       .autoMotion = 1,
       .rotationMode = 1,
       .scaleMode = 1,
       .zoomMode = 1,
       .autoMotionAfter = 1},
      {.name = "pointer outside the window", .wheel = 1, .held = "DQW", .mouseOver = false},
      {.name = "automatic motion",
       .autoMotion = 1,
       .rotationMode = 1,
       .scaleMode = 2,
       .zoomMode = 2,
       .turn = 0.0005f,
       .grow = 0.998004019f,
       .zoomAfter = static_cast<float>(float(z1 * 0.999) * 1.001),
       .autoMotionAfter = 1},
      {.name = "automatic motion, other way",
       .autoMotion = 1,
       .rotationMode = 2,
       .scaleMode = 1,
       .zoomMode = 1,
       .turn = -0.0005f,
       .grow = 1.002f,
       .zoomAfter = static_cast<float>(float(z1 * 0.999) * 0.999000999),
       .autoMotionAfter = 1},
      {.name = "automatic zoom-out alone with the generator off",
       .autoMotion = 1,
       .autoGenerate = 0,
       .rotationMode = 1,
       .scaleMode = 1,
       .zoomMode = 2,
       .zoomAfter = static_cast<float>(z1 * 0.999),
       .autoMotionAfter = 1,
       .autoGenerateAfter = 0},
      {.name = "automatic zoom-out floor",
       .autoMotion = 1,
       .autoGenerate = 0,
       .zoom = 0.1f,
       .zoomAfter = 0.1f,
       .autoMotionAfter = 1,
       .autoGenerateAfter = 0},
      {.name = "floor not applied after the mode",
       .autoMotion = 1,
       .zoomMode = 1,
       .zoom = 0.1f,
       .zoomAfter = static_cast<float>(0.1f * 0.999000999),
       .autoMotionAfter = 1},
      {.name = "keys override the automatic motion",
       .held = "AE",
       .autoMotion = 1,
       .rotationMode = 1,
       .scaleMode = 1,
       .turn = -0.0005f,
       .grow = 0.998004019f,
       .zoomAfter = static_cast<float>(z1 * 0.999),
       .autoMotionAfter = 1},
  };
  for (const ControlCase& c : cases) {
    SCOPED_TRACE(c.name);
    engine_->Input().ReleaseAllKeys();
    Hold(*engine_, c.held);
    engine_->Input().SetWheel(c.wheel);
    engine_->Input().SetMouseOver(c.mouseOver);
    context_.windowScale = c.windowScale;
    context_.autoGenerate = c.autoGenerate;
    composition.autoMotion = c.autoMotion;
    composition.rotationMode = c.rotationMode;
    composition.scaleMode = c.scaleMode;
    composition.zoomMode = c.zoomMode;
    composition.zoom = c.zoom;
    figure_->SetX(100);
    figure_->SetY(0);
    figure_->rotation = 0;
    figure_->scale = 1;

    Frame();
    EXPECT_EQ(figure_->rotation, c.turn);
    EXPECT_NEAR(figure_->x, 100 * std::cos(c.turn), 1e-3);
    EXPECT_NEAR(figure_->y, 100 * std::sin(c.turn), 1e-3);
    EXPECT_EQ(figure_->scale, c.grow);
    EXPECT_EQ(composition.zoom, c.zoomAfter);
    EXPECT_EQ(composition.autoMotion, c.autoMotionAfter);
    EXPECT_EQ(context_.autoGenerate, c.autoGenerateAfter);
  }
}

TEST_F(FigureAnimation, TheViewUsesTheValuesFromBeforeThisFramesChanges) {
  composition.zoom = 0.5f;
  composition.panX = 10;
  composition.panY = -4;
  context_.screenWidth = 1152;
  engine_->Input().SetWheel(1);
  Frame();
  EXPECT_EQ(Scene().offsetX, 1152 * 0.5f / 0.5f + 10);
  EXPECT_EQ(Scene().offsetY, 960 * 0.5f / 0.5f - 4);
  ASSERT_FALSE(engine_->transforms.empty());
  const RecordingEngine::Transform& t = engine_->transforms.back();
  EXPECT_EQ(t.hscale, 0.5f);
  EXPECT_EQ(t.vscale, 0.5f);
  EXPECT_EQ(t.x + t.y + t.dx + t.dy + t.rotation, 0);
  EXPECT_EQ(composition.zoom, static_cast<float>(0.5f * 1.1));
}

TEST_F(FigureAnimation, RightButtonDraggingPansInSceneUnits) {
  composition.zoom = 0.5f;
  Frame(100, 100);  // button up: only remembers where the pointer is
  EXPECT_EQ(composition.panX, 0);
  engine_->Input().SetHeld(kKeyRightButton, true);
  Frame(110, 95);
  EXPECT_EQ(composition.panX, 20);  // 10 pixels at zoom 0.5
  EXPECT_EQ(composition.panY, -10);
  Frame(110, 95);  // no movement, no change
  EXPECT_EQ(composition.panX, 20);

  // With the left button held the last position stays where it was.
  engine_->Input().SetHeld(kKeyLeftButton, true);
  Frame(300, 300);
  EXPECT_EQ(composition.panX, 20);
  engine_->Input().SetHeld(kKeyLeftButton, false);
  Frame(111, 95);
  EXPECT_EQ(composition.panX, 22);

  // Window scale 0.5: mouse positions arrive in canvas units, moves count in pixels.
  context_.windowScale = 0.5f;
  Frame(121, 95);
  EXPECT_EQ(composition.panX, 32);

  // The last position is kept cut to whole units, so a fraction counts again.
  Frame(121.75f, 95);
  EXPECT_EQ(composition.panX, 32.75f);
  Frame(121.75f, 95);
  EXPECT_EQ(composition.panX, 33.5f);
}

TEST_F(FigureAnimation, OnlyFiguresWithTheirEntryAreMoved) {
  SPIX_OBJECT* stranger = Scene().AddObject("tiger", Scene().GraphicsAt(0), 50, 0, 0);
  SPIX_OBJECT* other = Scene().AddObject("other", Scene().GraphicsAt(0), 50, 0, 0);
  other->userData = stranger;
  engine_->Input().SetHeld(kKeyD, true);
  engine_->Input().SetHeld(kKeyQ, true);
  Frame();
  EXPECT_EQ(figure_->rotation, 0.0005f);
  for (SPIX_OBJECT* object : {stranger, other}) {
    EXPECT_EQ(object->rotation, 0);
    EXPECT_EQ(object->scale, 1);
    EXPECT_EQ(object->x, 50);
  }
}

class ColourCheck : public CompositionTest {
 protected:
  void Screen(uint32_t tint, int figures) {
    AddGraphics(1);
    composition.Clear(context_);
    composition.autoMotion = 0;
    composition.baseColour = 0x80336699;
    for (int i = 0; i < figures; ++i) {
      SPIX_OBJECT* object = composition.CreateFigure(&Scene(), static_cast<float>(i), 0, 0)->object;
      object->tinted = true;
      object->tint = tint;
    }
    composition.brightnessSum = composition.alphaSum = 0;  // as Generate leaves them
  }
  void Frame() { composition.Animate(0.02f, readFrameInput(*engine_, context_.windowScale), context_); }
  bool AllTinted(uint32_t tint) {
    for (int i = 0; i < composition.figures.Count(); ++i) {
      if (composition.figures.ItemAt(i)->object->tint != tint) return false;
    }
    return true;
  }
};

TEST_F(ColourCheck, ABrightOpaqueScreenEndsTheCheckAfterOneFrame) {
  Screen(0xFF808080, 30);
  Frame();
  EXPECT_EQ(composition.brightnessSum, -2);
  EXPECT_EQ(composition.alphaSum, -2);
  Frame();
  EXPECT_TRUE(AllTinted(0xFF808080));
}

TEST_F(ColourCheck, ADarkScreenTakesTheBaseColourInTheSecondFrame) {
  Screen(0xFF101010, 30);  // mean channel 16/255 = 0.063
  Frame();
  EXPECT_EQ(composition.brightnessSum, -1);
  EXPECT_EQ(composition.alphaSum, -2);
  EXPECT_TRUE(AllTinted(0xFF101010));
  Frame();
  EXPECT_TRUE(AllTinted(0x80336699));
  EXPECT_EQ(composition.brightnessSum, -2);
  EXPECT_EQ(composition.alphaSum, -2);
  // Idle from now on.
  composition.figures.ItemAt(0)->object->tint = 0;
  Frame();
  EXPECT_EQ(composition.figures.ItemAt(0)->object->tint, 0u);
}

TEST_F(ColourCheck, ATransparentScreenTakesTheBaseColourToo) {
  Screen(0x0AFFFFFF, 10);  // mean alpha 10/255 = 0.039
  Frame();
  EXPECT_EQ(composition.brightnessSum, -2);
  EXPECT_EQ(composition.alphaSum, -1);
  Frame();
  EXPECT_TRUE(AllTinted(0x80336699));
}

TEST_F(ColourCheck, ThresholdsAreStrict) {
  Screen(0x0D151515, 10);  // channel 21/255 = 0.0824, alpha 13/255 = 0.051
  Frame();
  EXPECT_EQ(composition.brightnessSum, -2);
  EXPECT_EQ(composition.alphaSum, -2);
}

TEST_F(ColourCheck, RunsWhileTheLeftButtonIsHeld) {
  Screen(0xFF000000, 5);
  engine_->Input().SetHeld(kKeyLeftButton, true);
  Frame();
  Frame();
  EXPECT_TRUE(AllTinted(0x80336699));
}

TEST_F(ColourCheck, AScreenWithoutFiguresEndsTheCheckAtOnce) {
  Screen(0, 0);
  Frame();
  EXPECT_EQ(composition.brightnessSum, -2);
  EXPECT_EQ(composition.alphaSum, -2);
}

}  // namespace
