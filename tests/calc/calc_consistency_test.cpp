// Execute runs texts from their kept, pre-reduced form. This compares it,
// on many generated texts, with the statement-list algorithm written out
// plainly over Evaluate, which scans every character as it goes: results,
// errors, positions, variables and leftover slot contents must all agree.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "calc/calc.h"
#include "calc/random_source.h"
#include "tests/calc/plain_execute.h"

namespace {

int drawCount = 0;
int CountingRandom(int n) { return n == 0 ? 0 : (drawCount++ * 7) % n; }

void InstallHooks(CALC& calc) {
  calc.use_hook[0] = [](double v) { return v * 2 + 0.1; };
  calc.use_hook[1] = [&calc](double v) {
    calc.Execute("w=w+1");
    return v - 1;
  };
}

// Texts built from the language's pieces, with a little noise.
std::string RandomText(std::mt19937& random) {
  static const char* const kPieces[] = {
      "1",   "2",   "0",   ".5",   "1e3", "3.25", "1e308", "1e",   ".",  "x", "y",   "w",  "q",    "sin",
      "cos", "tan", "int", "ln",   "rnd", "use1", "use2",  "use3", "pi", "(", "(",   ")",  ")",    "+",
      "-",   "-",   "*",   "/",    "^",   "%",    "@",     "\\",   "<",  ">", "=",   "<=", "<>",   "&",
      "|",   "{",   "}",   "\xA4", ";",   " ",    "\t",    "z=",   "a=", "$", "SIN", "e1", "1e307"};
  std::uniform_int_distribution<int> count(0, 14);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
  std::string text;
  for (int i = count(random); i > 0; --i) text += kPieces[piece(random)];
  return text;
}

void ExpectSameState(CALC& kept, CALC& plain, const std::string& text) {
  ASSERT_EQ(kept.vars.Count(), plain.vars.Count()) << text;
  for (int i = 0; i < kept.vars.Count(); ++i) {
    ASSERT_EQ(kept.vars.NameAt(i), plain.vars.NameAt(i)) << text;
    ASSERT_EQ(kept.vars.ValueAt(i), plain.vars.ValueAt(i)) << text;
  }
  for (int slot = 0; slot < CALC::kValueSlots; ++slot) {
    ASSERT_EQ(kept.SlotText(slot), plain.SlotText(slot)) << text << " slot " << slot;
  }
}

TEST(CalcConsistency, KeptTextsBehaveExactlyLikeScanningEachTime) {
  RandomBelowFunction previous = SetCalcRandomBelow(&CountingRandom);
  std::mt19937 random(4242);
  CALC kept;
  CALC plain;
  for (CALC* calc : {&kept, &plain}) {
    calc->vars.Set("x", "3");
    calc->vars.Set("y", "-0.5");
    calc->vars.Set("w", "1");
    InstallHooks(*calc);
  }
  std::vector<std::string> recent;
  for (int i = 0; i < 40000; ++i) {
    // Texts come back now and then, so kept forms are reused.
    std::string text =
        !recent.empty() && i % 3 == 0 ? recent[static_cast<std::size_t>(i) % recent.size()] : RandomText(random);
    if (recent.size() < 50) recent.push_back(text);
    drawCount = 0;
    std::string expected = PlainExecute(plain, text);
    drawCount = 0;
    std::string actual = kept.Execute(text);
    ASSERT_EQ(actual, expected) << "text \"" << text << '"';
    ASSERT_EQ(kept.error, plain.error) << "text \"" << text << '"';
    ASSERT_EQ(kept.error_pos, plain.error_pos) << "text \"" << text << '"';
    ASSERT_EQ(kept.assigned, plain.assigned) << "text \"" << text << '"';
    ExpectSameState(kept, plain, text);
  }
  SetCalcRandomBelow(previous);
}

}  // namespace
