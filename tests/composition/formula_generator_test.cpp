// The formula generator: formula texts and their draws, the colour plan, the
// parameters, the sampling grid and what each formula result becomes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <set>
#include <string>
#include <string_view>

#include "composition/screen_seeds.h"
#include "core/seeded_random.h"
#include "tests/composition/composition_fixture.h"

namespace {

using FormulaGenerator = CompositionTest;

// Every figure object of the scene, in creation order.
std::vector<SPIX_OBJECT*> FigureObjects(const SPIX& scene) {
  std::vector<SPIX_OBJECT*> objects;
  for (int i = 0; i < scene.objectsById.Count(); ++i) objects.push_back(scene.objectsById.ItemAt(i));
  return objects;
}

// Formulas 0..8 that place figure k of a row at (x, y) with f = 1, and give
// the other values as constants.
void SetPlainFormulas() {
  composition.formulas[0] = "z=x";
  composition.formulas[1] = "z=y";
  composition.formulas[2] = "z=0";
  composition.formulas[3] = "z=0";
  composition.formulas[4] = "z=1";
  composition.formulas[5] = "z=1";
  composition.formulas[6] = "z=1";
  composition.formulas[7] = "z=1";
  composition.formulas[8] = "z=1";
  composition.f = 1;
}

// Consumes the longest of the choices that text starts with; false when none.
bool TakeOneOf(std::string_view& text, std::initializer_list<std::string_view> choices, bool optional = false) {
  std::string_view best;
  for (std::string_view choice : choices) {
    if (text.starts_with(choice) && choice.size() > best.size()) best = choice;
  }
  text.remove_prefix(best.size());
  return optional || !best.empty();
}

// "z=" and one to four terms function(argument)suffix joined by + - *.
// Returns the number of terms, or 0 when the text has another shape.
int TermsOfFormula(std::string_view text) {
  if (!text.starts_with("z=")) return 0;
  text.remove_prefix(2);
  for (int terms = 1; terms <= 4; ++terms) {
    if (!TakeOneOf(text, {"sin(", "cos(", "tan("}) ||
        !TakeOneOf(text, {"t)", "t*a)", "t*b)", "t*c)", "t*d)", "x*y)"}) ||
        !TakeOneOf(text, {"/e1", "/e2", "^2"}, true)) {
      return 0;
    }
    if (text.empty()) return terms;
    if (!TakeOneOf(text, {"+", "-", "*"})) return 0;
  }
  return 0;
}

TEST_F(FormulaGenerator, FormulaTextsHaveTheirFixedFirstTermsAndShapes) {
  EXPECT_EQ(TermsOfFormula("z=cos(t)-tan(t*c)^2*sin(x*y)/e1"), 3);
  EXPECT_EQ(TermsOfFormula("z=cos(t)-"), 0);
  EXPECT_EQ(TermsOfFormula("z=cos(t)+cos(t)+cos(t)+cos(t)+cos(t)"), 0);
  std::set<int> termCounts;
  for (int seed = 1; seed <= 300; ++seed) {
    structureRandom.drawSmall(-seed);
    composition.GenerateFormulaTexts();
    EXPECT_EQ(composition.formulas[0].rfind("z=cos(t)", 0), 0u) << composition.formulas[0];
    EXPECT_EQ(composition.formulas[1].rfind("z=sin(t)", 0), 0u) << composition.formulas[1];
    for (int v = 0; v < 10; ++v) {
      const std::string& text = composition.formulas[v];
      const int terms = TermsOfFormula(text);
      ASSERT_GT(terms, 0) << text;
      EXPECT_EQ(text.find('_'), std::string::npos);
      termCounts.insert(terms);
    }
    for (int v = 10; v < 20; ++v) EXPECT_TRUE(composition.formulas[v].empty());
  }
  EXPECT_EQ(termCounts, (std::set<int>{1, 2, 3, 4}));
}

TEST_F(FormulaGenerator, EveryFormulaIncludingTheTenthDrawsItsPiecesFromTheStructureGenerator) {
  for (int seed : {1, 77, 4242, 100000}) {
    structureRandom.drawSmall(-seed);
    composition.GenerateFormulaTexts();
    // One draw for the term count, three per drawn term, one per operator.
    int draws = 0;
    for (int v = 0; v < 10; ++v) {
      const std::string& text = composition.formulas[v];
      const int terms = static_cast<int>(std::count(text.begin(), text.end(), '('));
      draws += 1 + 3 * terms + (terms - 1) - (v < 2 ? 3 : 0);
    }
    SEEDED_RANDOM model;
    model.drawSmall(-seed);
    for (int i = 0; i < draws; ++i) model.drawSmall(1);  // the step does not depend on n
    EXPECT_EQ(structureRandom.State(), model.State()) << seed;
  }
}

// The draws of the colour plan, in the order the generator makes them.
struct ColourDraws {
  int order[3] = {0, 1, 2};
  int digits[4];    // d1..d4
  int choice[3];    // c for the channels in processing order
  int constant[3];  // r where c was 0
  int alphaDraw;
};

ColourDraws ModelColourDraws(int seed) {
  SEEDED_RANDOM g;
  g.drawLarge(-seed);
  ColourDraws draws;
  for (int swap = 0; swap < 2; ++swap) {
    int i = g.drawLarge(2);
    int j = g.drawLarge(2);
    std::swap(draws.order[i], draws.order[j]);
  }
  for (int& digit : draws.digits) digit = g.drawLarge(9) + 1;
  for (int i = 0; i < 3; ++i) {
    draws.choice[i] = g.drawLarge(3);
    draws.constant[i] = draws.choice[i] == 0 ? g.drawLarge(100) : -1;
  }
  draws.alphaDraw = g.drawLarge(10);
  return draws;
}

// Position in processing order of channel k.
int Rank(const ColourDraws& draws, int k) {
  for (int i = 0; i < 3; ++i) {
    if (draws.order[i] == k) return i;
  }
  return -1;
}

// Writes the formula texts, then the colour plan with the given colour seed.
void ColourPlan(int colourSeed) {
  structureRandom.drawSmall(-5);
  composition.GenerateFormulaTexts();
  colourRandom.drawLarge(-colourSeed);
  composition.GenerateColourPlan();
}

TEST_F(FormulaGenerator, BaseColourComesFromTheFourDigits) {
  const uint32_t bytes[11] = {0, 25, 51, 76, 102, 127, 153, 178, 204, 229, 255};
  for (int seed = 1; seed <= 200; ++seed) {
    const ColourDraws draws = ModelColourDraws(seed);
    ColourPlan(seed);
    const uint32_t expected = bytes[draws.digits[0]] << 24 | bytes[draws.digits[3]] << 16 |
                              bytes[draws.digits[2]] << 8 | bytes[draws.digits[1]];
    ASSERT_EQ(composition.baseColour, expected) << seed;
  }
}

TEST_F(FormulaGenerator, ACopyTakesTheOtherTextInItsStateAtThatMoment) {
  bool copiedRewritten = false, copiedOriginal = false;
  for (int seed = 1; seed <= 20000 && !(copiedRewritten && copiedOriginal); ++seed) {
    const ColourDraws draws = ModelColourDraws(seed);
    const int red = Rank(draws, 0), green = Rank(draws, 1);
    // Red copies green (c = 1) and green is a constant (c = 0).
    if (draws.choice[red] != 1 || draws.choice[green] != 0) continue;
    ColourPlan(seed);
    char constant[32];
    std::snprintf(constant, sizeof constant, "z=%f", draws.constant[green] * 0.01);
    EXPECT_EQ(composition.formulas[6], constant);
    if (green < red) {
      // Green was rewritten first: red has the constant too.
      EXPECT_EQ(composition.formulas[5], constant) << seed;
      copiedRewritten = true;
    } else {
      // Red went first and took green's random formula text.
      EXPECT_EQ(composition.formulas[5].rfind("z=", 0), 0u);
      EXPECT_NE(composition.formulas[5].find('('), std::string::npos) << seed;
      copiedOriginal = true;
    }
  }
  EXPECT_TRUE(copiedRewritten);
  EXPECT_TRUE(copiedOriginal);
}

TEST_F(FormulaGenerator, BaseChannelsAndTheRareBaseAlphaArePrintedAsFractionsOf255) {
  bool sawBaseChannel = false, sawBaseAlpha = false;
  for (int seed = 1; seed <= 3000; ++seed) {
    const ColourDraws draws = ModelColourDraws(seed);
    ColourPlan(seed);
    const ColorRGBA base(composition.baseColour);
    const float channel[3] = {base.r, base.g, base.b};
    for (int i = 0; i < 3; ++i) {
      if (draws.choice[i] != 3) continue;
      const int k = draws.order[i];
      // Later copies may overwrite it; only the last channel is sure to keep it.
      if (i == 2) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "z=%f", channel[k]);
        EXPECT_EQ(composition.formulas[5 + k], expected) << seed;
        sawBaseChannel = true;
      }
    }
    if (draws.alphaDraw == 0) {
      char expected[32];
      std::snprintf(expected, sizeof expected, "z=%f", base.a);
      EXPECT_EQ(composition.formulas[8], expected) << seed;
      sawBaseAlpha = true;
    } else {
      EXPECT_NE(composition.formulas[8].find('('), std::string::npos) << seed;
    }
  }
  EXPECT_TRUE(sawBaseChannel);
  EXPECT_TRUE(sawBaseAlpha);
}

TEST_F(FormulaGenerator, ParametersAreDrawnInOrderWithinTheirRanges) {
  for (float width : {960.0f, 1151.0f}) {
    context_.screenWidth = width;
    for (int seed = 1; seed <= 400; ++seed) {
      paramRandom.drawSmall(-seed);
      composition.GenerateParameters(context_);
      SEEDED_RANDOM model;
      model.drawSmall(-seed);
      for (float value : {composition.a, composition.b, composition.c, composition.d}) {
        ASSERT_EQ(value, model.drawSmall(60) - 30);
      }
      ASSERT_EQ(composition.e1, model.drawSmall(30) - 15);
      ASSERT_EQ(composition.e2, static_cast<float>(model.drawSmall(static_cast<int>(width)) - 0.5 * width));
      ASSERT_EQ(composition.f, static_cast<float>(model.drawSmall(static_cast<int>(2 * width)) - width));
      ASSERT_LE(std::fabs(composition.e2), width / 2);
      ASSERT_LE(std::fabs(composition.f), width);
      // Whole numbers for an even width, halves for an odd one.
      ASSERT_EQ(composition.e2 - std::floor(composition.e2), width == 960.0f ? 0.0f : 0.5f);
    }
  }
}

TEST_F(FormulaGenerator, TheGridHasFortyColumnsAndRowsAtTheDefaultSize) {
  AddGraphics(1);
  SetPlainFormulas();
  composition.SampleGrid(context_);
  std::set<float> columns, rows;
  for (SPIX_OBJECT* object : FigureObjects(Scene())) {
    columns.insert(object->x);
    rows.insert(object->y);
  }
  EXPECT_EQ(FigureObjects(Scene()).size(), 1600u);
  EXPECT_EQ(composition.figures.Count(), 1600);
  ASSERT_EQ(columns.size(), 40u);
  ASSERT_EQ(rows.size(), 40u);
  EXPECT_EQ(*columns.begin(), -960);
  EXPECT_EQ(*columns.rbegin(), 912);  // steps of exactly 48
  EXPECT_EQ(*rows.rbegin(), 912);
}

TEST_F(FormulaGenerator, SinglePrecisionSteppingGivesFortyOneStepsAt1152) {
  context_.screenWidth = 1152;
  context_.screenHeight = 1152;
  AddGraphics(1);
  SetPlainFormulas();
  composition.formulas[3] = "z=t";  // the position code lands in the rotation
  composition.SampleGrid(context_);
  std::set<float> columns, rows;
  bool doubleWouldDiffer = false;
  for (SPIX_OBJECT* object : FigureObjects(Scene())) {
    columns.insert(object->x);
    rows.insert(object->y);
    // t = y·W + x formed in float.
    const float t = object->y * 1152.0f + object->x;
    ASSERT_EQ(object->rotation, t) << object->x << ", " << object->y;
    if (static_cast<float>(static_cast<double>(object->y) * 1152.0 + object->x) != t) doubleWouldDiffer = true;
  }
  EXPECT_EQ(columns.size(), 41u);
  EXPECT_EQ(rows.size(), 41u);
  EXPECT_LT(*columns.rbegin(), 1152.0f);
  EXPECT_GT(*columns.rbegin(), 1152.0f - 57.6f);
  EXPECT_EQ(FigureObjects(Scene()).size(), 41u * 41u);
  EXPECT_TRUE(doubleWouldDiffer);  // the check above tells float from double
}

TEST_F(FormulaGenerator, FormulaResultsBecomeTheFigure) {
  AddGraphics(5);
  SetPlainFormulas();
  composition.f = -2;
  composition.formulas[0] = "z=0.25";
  composition.formulas[2] = "z=-2.6";  // trunc(-13) rem 5 = -3: graphic 3
  composition.formulas[3] = "z=1.5";
  composition.formulas[4] = "z=0.7";
  composition.formulas[5] = "z=1.5";  // 382: spills into the alpha byte
  composition.formulas[6] = "z=0";
  composition.formulas[7] = "z=-0.5";  // -127: borrows from everything above
  composition.formulas[8] = "z=1";
  composition.zoom = 0.625f;
  composition.SampleGrid(context_);
  const std::vector<SPIX_OBJECT*> objects = FigureObjects(Scene());
  ASSERT_EQ(objects.size(), 1600u);
  for (SPIX_OBJECT* object : objects) {
    EXPECT_EQ(object->x, -0.5f);
    EXPECT_EQ(object->graphics, Scene().GraphicsAt(3));
    EXPECT_EQ(object->rotation, 1.5f);
    EXPECT_EQ(object->scale, 0.7f);
    EXPECT_TRUE(object->tinted);
    EXPECT_EQ(object->tint, 0xFF000000u + (382u << 16) + 0u - 127u);
    EXPECT_STREQ(static_cast<FigureEntry*>(object->userData)->name, "3");
  }
  EXPECT_EQ(composition.zoom, 0.625f);  // no scale above 1: the zoom stays
  EXPECT_EQ(composition.brightnessSum, 0);
  EXPECT_EQ(composition.alphaSum, 0);
}

TEST_F(FormulaGenerator, ScalesAreClampedAndTheLargestSetsTheZoom) {
  struct Case {
    const char* formula;
    float scale;
    float zoom;
  };
  const Case cases[] = {
      {"z=3.5", 3.0f, 1.0f / 3.0f}, {"z=2", 2.0f, 0.5f},
      {"z=0.01", 0.05f, 0.8f},      {"z=acotg(0)*0", 0.05f, 0.8f},  // not a number
      {"z=-acotg(0)", 0.05f, 0.8f}, {"z=1+(x>0)", 0, 0.5f},         // 1 or 2 by column: the largest counts
  };
  AddGraphics(2);
  for (const Case& c : cases) {
    ResetScreen();
    SetPlainFormulas();
    composition.formulas[4] = c.formula;
    composition.zoom = 0.8f;
    composition.SampleGrid(context_);
    const std::vector<SPIX_OBJECT*> objects = FigureObjects(Scene());
    ASSERT_EQ(objects.size(), 1600u);
    if (c.scale != 0) {
      EXPECT_EQ(objects.front()->scale, c.scale) << c.formula;
    }
    EXPECT_EQ(composition.zoom, c.zoom) << c.formula;
  }
}

TEST_F(FormulaGenerator, AFailedFormulaLeavesZFromTheLastRunAndTheTenthIsNeverRun) {
  AddGraphics(1);
  SetPlainFormulas();
  composition.formulas[0] = "z=1/0";  // fails: px takes z from before
  composition.formulas[8] = "z=0.5";
  composition.formulas[9] = "z=3";  // never run
  composition.f = 100;
  composition.SampleGrid(context_);
  const std::vector<SPIX_OBJECT*> objects = FigureObjects(Scene());
  ASSERT_EQ(objects.size(), 1600u);
  EXPECT_EQ(objects[0]->x, 0);   // z not assigned yet: 0
  EXPECT_EQ(objects[1]->x, 50);  // z of the alpha formula at the point before
  EXPECT_EQ(objects[1599]->x, 50);
}

TEST_F(FormulaGenerator, AnEmptyCatalogueGivesAScreenWithoutFigures) {
  composition.zoom = 0.75f;
  composition.brightnessSum = -2;
  composition.alphaSum = -2;
  buildScreenFromSeeds(context_, 11, 22, 33);
  EXPECT_EQ(composition.figures.Count(), 0);
  EXPECT_EQ(Scene().objectsById.Count(), 0);
  EXPECT_EQ(composition.formulas[0].rfind("z=cos(t)", 0), 0u);
  EXPECT_FALSE(composition.formulas[9].empty());
  EXPECT_NE(composition.baseColour, 0u);
  EXPECT_EQ(composition.zoom, 0.75f);
  EXPECT_EQ(composition.brightnessSum, 0);
  EXPECT_EQ(composition.alphaSum, 0);
  // Nothing but the generators' draws: the parameters are there too.
  EXPECT_LE(std::fabs(composition.f), 960.0f);
}

TEST_F(FormulaGenerator, AGeneratedScreenHasOneFigurePerGridPointWithAGraphicOfTheCatalogue) {
  AddGraphics(7);
  ResetScreen();
  buildScreenFromSeeds(context_, 1, 2, 3);
  ASSERT_EQ(composition.figures.Count(), 1600);
  int previousName = -1;
  for (int i = 0; i < composition.figures.Count(); ++i) {
    FigureEntry* entry = composition.figures.ItemAt(i);
    ASSERT_NE(entry->object, nullptr);
    EXPECT_EQ(entry->object->userData, entry);
    const int g = std::stoi(entry->name);
    EXPECT_EQ(entry->object->graphics, Scene().GraphicsAt(g));
    EXPECT_GE(entry->object->scale, 0.05f);
    EXPECT_LE(entry->object->scale, 3.0f);
    EXPECT_GE(g, previousName);  // single-digit names: text order is numeric order
    previousName = g;
  }
}

}  // namespace
