// SPRITE::Generate: ten formula texts, the colour plan and the parameters
// from the three seeded generators, then one figure per point of a grid over
// the canvas, placed, chosen, turned, scaled and coloured by the formulas.
// Every draw happens in a fixed order, so equal seeds give equal screens.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include "app/app_state.h"
#include "app/seeded_random.h"
#include "calc/calc.h"
#include "calc/value_text.h"
#include "composition/figure_values.h"
#include "composition/sprite.h"
#include "scene/scene.h"
#include "scene/scene_object.h"
#include "scene/sprite.h"

namespace {

// The evaluator's roles of the formulas.
constexpr int kFormulaX = 0;
constexpr int kFormulaY = 1;
constexpr int kFormulaGraphic = 2;
constexpr int kFormulaRotation = 3;
constexpr int kFormulaScale = 4;
constexpr int kFormulaRed = 5;
constexpr int kFormulaAlpha = 8;
constexpr int kGeneratedFormulas = 10;  // formula 9 is made but never run

constexpr const char* kFunctions[] = {"sin(", "cos(", "tan("};
constexpr const char* kArguments[] = {"t)", "t*a)", "t*b)", "t*c)", "t*d)", "x*y)"};
constexpr const char* kSuffixes[] = {"", "/e1", "/e2", "^2"};
constexpr const char* kOperators[] = {"+", "-", "*"};

// "z=" and value with six decimals, as printf's "%f" writes it, whatever the locale.
std::string constantFormula(double value) {
  char text[400] = "z=";
  const auto written = std::to_chars(text + 2, text + sizeof text, value, std::chars_format::fixed, 6);
  return std::string(text, written.ptr);
}

// The random expression of Step 1 for formula v: one to four terms, each a
// function, an argument, a suffix and, between terms, an operator. The first
// term of formula 0 is always "cos(t)" and of formula 1 "sin(t)", drawing nothing.
std::string randomExpression(int v) {
  std::string expression;
  const int terms = structureRandom.drawSmall(3) + 1;
  for (int j = 0; j < terms; ++j) {
    const bool fixedTerm = j == 0 && (v == 0 || v == 1);
    if (fixedTerm) {
      expression += v == 0 ? "cos(" : "sin(";
      expression += "t)";
    } else {
      expression += kFunctions[structureRandom.drawSmall(2)];
      expression += kArguments[structureRandom.drawSmall(5)];
      expression += kSuffixes[structureRandom.drawSmall(3)];
    }
    if (j + 1 < terms) expression += kOperators[structureRandom.drawSmall(2)];
  }
  return expression;
}

// A float cut toward zero to a draw argument, held inside the int32 range.
int32_t drawArgument(float value) {
  if (!(value > -2147483648.0f)) return value != value ? 0 : std::numeric_limits<int32_t>::min();
  if (value >= 2147483648.0f) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

// Sets a variable of the evaluator from a number, as its canonical value text.
void setNumber(CALC& calc, std::string_view name, double value) {
  char text[kValueTextCapacity];
  calc.vars.Set(name, std::string_view(text, FormatValueText(value, text)));
}

// Runs one formula and reads z. After a failed run z keeps its last value; a
// z never assigned reads as 0.
double runFormula(CALC& calc, const std::string& formula) {
  calc.Execute(formula);
  return calc.vars.GetNumber("z");
}

}  // namespace

void SPRITE::Generate() {
  GenerateFormulaTexts();
  GenerateColourPlan();
  GenerateParameters();
  SampleGrid();
}

void SPRITE::GenerateFormulaTexts() {
  for (int v = 0; v < kGeneratedFormulas; ++v) {
    // A template of one placeholder, replaced by an expression; the pieces
    // hold no "_", so one replacement always fills it.
    std::string pattern = "_";
    for (size_t hole = pattern.find('_'); hole != std::string::npos; hole = pattern.find('_')) {
      pattern.replace(hole, 1, randomExpression(v));
    }
    formulas[v] = "z=" + pattern;
  }
}

void SPRITE::GenerateColourPlan() {
  int order[3] = {0, 1, 2};
  for (int swap = 0; swap < 2; ++swap) {
    const int i = colourRandom.drawLarge(2);
    const int j = colourRandom.drawLarge(2);
    std::swap(order[i], order[j]);
  }
  const int d1 = colourRandom.drawLarge(9) + 1;
  const int d2 = colourRandom.drawLarge(9) + 1;
  const int d3 = colourRandom.drawLarge(9) + 1;
  const int d4 = colourRandom.drawLarge(9) + 1;
  baseColour = ColorRGBA(static_cast<float>(0.1 * d4), static_cast<float>(0.1 * d3), static_cast<float>(0.1 * d2),
                         static_cast<float>(0.1 * d1))
                   .ToARGB();
  const ColorRGBA base(baseColour);
  const float baseChannel[3] = {base.r, base.g, base.b};

  // The formula each channel copies for c = 1 and c = 2, by channel.
  constexpr int kCopyFirst[3] = {1, 0, 0};   // red copies green; green and blue copy red
  constexpr int kCopySecond[3] = {2, 2, 1};  // red and green copy blue; blue copies green
  for (int i = 0; i < 3; ++i) {
    const int k = order[i];
    std::string& target = formulas[kFormulaRed + k];
    switch (colourRandom.drawLarge(3)) {
      case 0:
        target = constantFormula(colourRandom.drawLarge(100) * 0.01);
        break;
      case 1:  // the other text as it stands now, possibly already rewritten
        target = formulas[kFormulaRed + kCopyFirst[k]];
        break;
      case 2:
        target = formulas[kFormulaRed + kCopySecond[k]];
        break;
      default:
        target = constantFormula(baseChannel[k]);
        break;
    }
  }
  if (colourRandom.drawLarge(10) == 0) formulas[kFormulaAlpha] = constantFormula(base.a);
}

void SPRITE::GenerateParameters() {
  const float width = APP_STATE.screenWidth;
  a = static_cast<float>(paramRandom.drawSmall(60) - 30);
  b = static_cast<float>(paramRandom.drawSmall(60) - 30);
  c = static_cast<float>(paramRandom.drawSmall(60) - 30);
  d = static_cast<float>(paramRandom.drawSmall(60) - 30);
  e1 = static_cast<float>(paramRandom.drawSmall(30) - 15);
  e2 = narrowToFloat(paramRandom.drawSmall(drawArgument(width)) - 0.5 * width);
  f = paramRandom.drawSmall(drawArgument(2 * width)) - width;
}

void SPRITE::SampleGrid() {
  SPIX* scene = APP_STATE.scene.get();
  const int32_t graphicsCount = scene ? scene->GraphicsCount() : 0;
  float largestScale = 0;
  if (graphicsCount > 0) {
    const float width = APP_STATE.screenWidth;
    const float height = APP_STATE.screenHeight;
    // The parameters go in as the same texts at every point.
    char parameterTexts[7][kValueTextCapacity];
    size_t parameterLengths[7];
    const float parameters[7] = {a, b, c, d, e1, e2, f};
    for (int p = 0; p < 7; ++p) parameterLengths[p] = FormatValueText(parameters[p], parameterTexts[p]);
    constexpr std::string_view kParameterNames[7] = {"a", "b", "c", "d", "e1", "e2", "f"};

    CALC calc;
    // x and y are floats: each step is formed in double and the sum rounded
    // to float, which gives 40 steps, or 41 for widths such as 1152.
    for (float y = -height; y < height; y = static_cast<float>(y + 0.05 * height)) {
      for (float x = -width; x < width; x = static_cast<float>(x + 0.05 * width)) {
        // The position code, a float product and a float sum (never fused).
        const float rowCode = y * width;
        const float t = rowCode + x;
        setNumber(calc, "x", x);
        setNumber(calc, "y", y);
        setNumber(calc, "t", t);
        for (int p = 0; p < 7; ++p) {
          calc.vars.Set(kParameterNames[p], std::string_view(parameterTexts[p], parameterLengths[p]));
        }

        const float px = narrowToFloat(runFormula(calc, formulas[kFormulaX]) * f);
        const float py = narrowToFloat(runFormula(calc, formulas[kFormulaY]) * f);
        const int32_t graphic = figureGraphicIndex(runFormula(calc, formulas[kFormulaGraphic]), graphicsCount);
        SPIX_OBJECT* object = CreateFigure(px, py, graphic)->object;
        const float rotation = narrowToFloat(runFormula(calc, formulas[kFormulaRotation]));
        const float scale = figureScale(runFormula(calc, formulas[kFormulaScale]));
        largestScale = std::max(largestScale, scale);
        float channels[4];
        for (int k = 0; k < 4; ++k) channels[k] = narrowToFloat(runFormula(calc, formulas[kFormulaRed + k]));
        if (object) {
          object->rotation = rotation;
          object->scale = scale;
          object->tinted = true;
          object->tint = ColorRGBA(channels[0], channels[1], channels[2], channels[3]).ToARGB();
        }
      }
    }
  }
  if (largestScale > 1) zoom = 1 / largestScale;
  brightnessSum = 0;
  alphaSum = 0;
}
