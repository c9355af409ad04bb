// Fuzz target for the evaluator. The input is up to eight statement lists,
// one per line, run in turn on two CALCs: one through Execute (kept,
// pre-reduced texts), one through the plain character-by-character
// algorithm. Any difference in results, errors, positions, variables or
// leftover slots traps. Each line that CalcColumns accepts is also run over
// a column of awkward inputs and compared, point by point, with Execute;
// the sanitizers catch the rest.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc.h"
#include "calc/calc_columns.h"
#include "calc/random_source.h"
#include "calc/value_text.h"
#include "tests/calc/plain_execute.h"

namespace {

int drawCount = 0;
int CountingRandom(int n) { return n == 0 ? 0 : (drawCount++ * 7919) % n; }

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void Prepare(CALC& calc, bool plain, const std::string& current) {
  calc.vars.Set("x", "3");
  calc.vars.Set("y", "-0.5");
  calc.vars.Set("w", "1");
  calc.vars.Set("e1", "0");
  calc.vars.Set("big", "1E300");
  calc.vars.Set("raw", "0.12345678901234567890");
  calc.use_hook[0] = [](double v) { return v * 2 + 0.1; };
  calc.use_hook[1] = [&calc, plain](double v) {
    if (plain) {
      PlainExecute(calc, "w=w+1");
    } else {
      calc.Execute("w=w+1");
    }
    return v - 1;
  };
  // Runs the current line again one level up, down to the nesting limit.
  calc.use_hook[2] = [&calc, plain, &current](double v) {
    if (plain) {
      PlainExecute(calc, current);
    } else {
      calc.Execute(current);
    }
    return v;
  };
}

void Compare(CALC& kept, CALC& plain) {
  Check(kept.vars.Count() == plain.vars.Count());
  for (int i = 0; i < kept.vars.Count(); ++i) {
    Check(kept.vars.NameAt(i) == plain.vars.NameAt(i));
    Check(kept.vars.ValueAt(i) == plain.vars.ValueAt(i));
  }
  for (int slot = 0; slot < CALC::kValueSlots; ++slot) Check(kept.SlotText(slot) == plain.SlotText(slot));
}

// Inputs that round near ties, huge and tiny magnitudes, values that are
// not finite, zeros of both signs.
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kColumnValues[] = {0.0,
                                    -0.0,
                                    1.0,
                                    -2.5,
                                    0.1234567890123455,
                                    12345678901234.5,
                                    1e15,
                                    999999999999999.5,
                                    1e300,
                                    -1e-300,
                                    5e-324,
                                    kInf,
                                    -kInf,
                                    std::numeric_limits<double>::quiet_NaN(),
                                    3.0,
                                    1e-9};
constexpr std::size_t kPoints = std::size(kColumnValues);

void CopyVariables(const CALC& from, CALC& to) {
  for (int i = 0; i < from.vars.Count(); ++i) to.vars.Set(from.vars.NameAt(i), from.vars.ValueAt(i));
}

// The word a statement list starts with, the target of its assignment.
std::string LeadingWord(const std::string& line) {
  const std::string text = CALC::RemoveSpaces(line);
  std::size_t end = 0;
  if (!text.empty() && CALC::IsWordStart(text[0])) {
    while (end < text.size() && CALC::IsWordChar(text[end])) ++end;
  }
  return text.substr(0, end);
}

// Runs line over the column inputs x and t with state's variables (which the
// column runner leaves as they are) and, if CalcColumns takes it, point by
// point through Execute on a copy of them.
void CompareColumns(CALC& state, const std::string& line) {
  static CalcColumns columns;
  double reversed[kPoints];
  for (std::size_t i = 0; i < kPoints; ++i) reversed[i] = kColumnValues[kPoints - 1 - i];
  columns.Reset(kPoints);
  columns.SetInput("x", kColumnValues);
  columns.SetInput("t", reversed);
  const std::string target = LeadingWord(line);
  double results[kPoints];
  std::uint8_t errors[kPoints];
  std::int32_t positions[kPoints];
  if (!columns.Execute(state, line, target, results, errors, positions)) return;
  CALC pointCalc;
  CopyVariables(state, pointCalc);
  for (std::size_t i = 0; i < kPoints; ++i) {
    char text[kValueTextCapacity];
    pointCalc.vars.Set("x", std::string_view(text, FormatValueText(kColumnValues[i], text)));
    pointCalc.vars.Set("t", std::string_view(text, FormatValueText(reversed[i], text)));
    pointCalc.Execute(line);
    Check(errors[i] == pointCalc.error);
    Check(positions[i] == pointCalc.error_pos);
    if (pointCalc.error != 0) continue;
    const double expected = pointCalc.vars.GetNumber(target);
    Check(std::memcmp(&results[i], &expected, sizeof expected) == 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SetCalcRandomBelow(&CountingRandom);
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= input.size() && lines.size() < 8) {
    std::size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    lines.emplace_back(input.substr(start, end - start));
    start = end + 1;
  }

  std::string current;
  CALC kept;
  CALC plain;
  Prepare(kept, false, current);
  Prepare(plain, true, current);
  for (const std::string& line : lines) {
    current = line;
    CompareColumns(plain, line);
    // Twice each: the second run comes from the kept form.
    for (int round = 0; round < 2; ++round) {
      drawCount = 0;
      const std::string expected = PlainExecute(plain, line);
      drawCount = 0;
      const std::string actual = kept.Execute(line);
      Check(actual == expected);
      Check(kept.error == plain.error);
      Check(kept.error_pos == plain.error_pos);
      Check(kept.assigned == plain.assigned);
      Check(kept.level == 0 && plain.level == 0);
      Compare(kept, plain);
    }
  }
  return 0;
}
