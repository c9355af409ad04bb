// SPRITE::Generate: ten formula texts, the colour plan and the parameters
// from the three seeded generators, then one figure per point of a grid over
// the canvas, placed, chosen, turned, scaled and coloured by the formulas.
// Every draw happens in a fixed order, so equal seeds give equal screens.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/calc.h"
#include "calc/calc_columns.h"
#include "calc/value_text.h"
#include "composition/composition.h"
#include "composition/composition_context.h"
#include "composition/figure_values.h"
#include "core/float_to_int.h"
#include "core/seeded_random.h"
#include "engine/sprite.h"
#include "scene/scene.h"
#include "scene/scene_object.h"

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

// The random expression of formula text v: one to four terms, each a
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

// Sets a variable of the evaluator from a number, as its canonical value text.
void setNumber(CALC& calc, std::string_view name, double value) {
  char text[kValueTextCapacity];
  calc.vars.Set(name, std::string_view(text, FormatValueText(value, text)));
}

constexpr int kRunFormulas = 9;  // formula 0..8, in this order at every point

// The grid points in the order the figures are made, and the value of z
// read after each formula at each point.
struct GridValues {
  std::vector<double> x, y, t;
  std::vector<double> z[kRunFormulas];
};

// The seven parameters with their names, as the formulas read them.
struct Parameters {
  static constexpr std::string_view kNames[7] = {"a", "b", "c", "d", "e1", "e2", "f"};
  float values[7];
  void Set(CALC& calc) const {
    for (int p = 0; p < 7; ++p) setNumber(calc, kNames[p], values[p]);
  }
};

// Every formula at every point, point after point on a fresh evaluator, as
// the evaluator runs any formula. After a failed run z keeps its last value;
// a z never assigned reads as 0.
void runPointByPoint(const Parameters& parameters, const std::string* formulas, GridValues& grid) {
  CALC calc;
  for (size_t i = 0; i < grid.x.size(); ++i) {
    setNumber(calc, "x", grid.x[i]);
    setNumber(calc, "y", grid.y[i]);
    setNumber(calc, "t", grid.t[i]);
    parameters.Set(calc);
    for (int k = 0; k < kRunFormulas; ++k) {
      calc.Execute(formulas[k]);
      grid.z[k][i] = calc.vars.GetNumber("z");
    }
  }
}

// The same values, each formula run over all points at once, when every
// formula is one whose points cannot affect each other (see CalcColumns);
// false, with nothing run, otherwise. z is carried from run to run exactly
// as the point-by-point order carries it.
bool runByColumns(CalcColumns& columns, const Parameters& parameters, const std::string* formulas, GridValues& grid) {
  const size_t count = grid.x.size();
  CALC calc;
  parameters.Set(calc);
  columns.Reset(count);
  columns.SetInput("x", grid.x.data());
  columns.SetInput("y", grid.y.data());
  columns.SetInput("t", grid.t.data());
  std::vector<uint8_t> errors[kRunFormulas];
  for (int k = 0; k < kRunFormulas; ++k) {
    grid.z[k].resize(count);
    errors[k].resize(count);
    if (!columns.Execute(calc, formulas[k], "z", grid.z[k].data(), errors[k].data())) return false;
  }
  double z = calc.vars.GetNumber("z");
  for (size_t i = 0; i < count; ++i) {
    for (int k = 0; k < kRunFormulas; ++k) {
      if (errors[k][i] == 0) z = grid.z[k][i];
      grid.z[k][i] = z;
    }
  }
  return true;
}

}  // namespace

void SPRITE::Generate(const CompositionContext& context) {
  GenerateFormulaTexts();
  GenerateColourPlan();
  GenerateParameters(context);
  SampleGrid(context);
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
      case 0: target = constantFormula(colourRandom.drawLarge(100) * 0.01); break;
      case 1:  // the other text as it stands now, possibly already rewritten
        target = formulas[kFormulaRed + kCopyFirst[k]];
        break;
      case 2: target = formulas[kFormulaRed + kCopySecond[k]]; break;
      default: target = constantFormula(baseChannel[k]); break;
    }
  }
  if (colourRandom.drawLarge(10) == 0) formulas[kFormulaAlpha] = constantFormula(base.a);
}

void SPRITE::GenerateParameters(const CompositionContext& context) {
  const float width = context.screenWidth;
  a = static_cast<float>(paramRandom.drawSmall(60) - 30);
  b = static_cast<float>(paramRandom.drawSmall(60) - 30);
  c = static_cast<float>(paramRandom.drawSmall(60) - 30);
  d = static_cast<float>(paramRandom.drawSmall(60) - 30);
  e1 = static_cast<float>(paramRandom.drawSmall(30) - 15);
  e2 = narrowToFloat(paramRandom.drawSmall(truncateToInt32(width)) - 0.5 * width);
  f = paramRandom.drawSmall(truncateToInt32(2 * width)) - width;
}

void SPRITE::SampleGrid(const CompositionContext& context) {
  SPIX* scene = context.scene;
  const int32_t graphicsCount = scene ? scene->GraphicsCount() : 0;
  float largestScale = 0;
  if (graphicsCount > 0) {
    const float width = context.screenWidth;
    const float height = context.screenHeight;
    GridValues grid;
    // x and y are floats: each step is formed in double and the sum rounded
    // to float, which gives 40 steps, or 41 for widths such as 1152.
    for (float y = -height; y < height; y = static_cast<float>(y + 0.05 * height)) {
      for (float x = -width; x < width; x = static_cast<float>(x + 0.05 * width)) {
        // The position code, a float product and a float sum (never fused).
        const float rowCode = y * width;
        const float t = rowCode + x;
        grid.x.push_back(x);
        grid.y.push_back(y);
        grid.t.push_back(t);
      }
    }

    const Parameters parameters{{a, b, c, d, e1, e2, f}};
    if (!runByColumns(columns_, parameters, formulas.data(), grid)) {
      for (std::vector<double>& column : grid.z) column.assign(grid.x.size(), 0.0);
      runPointByPoint(parameters, formulas.data(), grid);
    }

    // No formula runs between the figures, so making them after all the
    // runs makes the same objects with the same ids in the same order.
    for (size_t i = 0; i < grid.x.size(); ++i) {
      const float px = narrowToFloat(grid.z[kFormulaX][i] * f);
      const float py = narrowToFloat(grid.z[kFormulaY][i] * f);
      const int32_t graphic = figureGraphicIndex(grid.z[kFormulaGraphic][i], graphicsCount);
      SPIX_OBJECT* object = CreateFigure(scene, px, py, graphic)->object;
      const float rotation = narrowToFloat(grid.z[kFormulaRotation][i]);
      const float scale = figureScale(grid.z[kFormulaScale][i]);
      largestScale = std::max(largestScale, scale);
      float channels[4];
      for (int k = 0; k < 4; ++k) channels[k] = narrowToFloat(grid.z[kFormulaRed + k][i]);
      if (object) {
        object->rotation = rotation;
        object->scale = scale;
        object->tinted = true;
        object->tint = ColorRGBA(channels[0], channels[1], channels[2], channels[3]).ToARGB();
      }
    }
  }
  if (largestScale > 1) zoom = 1 / largestScale;
  brightnessSum = 0;
  alphaSum = 0;
}
