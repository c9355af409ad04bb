// The evaluation engine's pieces: the operator table, Apply and Power on
// value texts, the stacks and their limits, Reduce on the worked example,
// user functions and their nesting limit, and the error messages.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/calc.h"

namespace {

struct OperatorCase {
  int op;
  bool unary;
  int code;
  int priority;
};

TEST(CalcEngine, OperatorTable) {
  const OperatorCase cases[] = {
      {0xA4, false, 227, 200},
      {'&', false, 232, 248},
      {'|', false, 231, 248},
      {kCalcNotEqual, false, 226, 249},
      {kCalcGreaterEqual, false, 233, 249},
      {kCalcLessEqual, false, 234, 249},
      {'>', false, 235, 249},
      {'<', false, 236, 249},
      {'=', false, 237, 249},
      {'}', false, 238, 250},
      {'{', false, 239, 250},
      {'-', false, 240, 251},
      {'+', false, 241, 251},
      {'+', true, 241, 251},
      {'*', false, 242, 252},
      {'/', false, 243, 252},
      {'%', false, 230, 252},
      {'@', false, 229, 252},
      {'\\', false, 228, 252},
      {'^', false, 244, 253},
      {'-', true, 247, 254},
      {kCalcEnd, false, 245, 0},
  };
  for (const OperatorCase& c : cases) {
    CALC calc;
    calc.Evaluate(c.unary ? "(" : "1");  // leaves unary_allowed as wanted (and a group open)
    calc.error = 5;
    calc.error_pos = 5;
    CalcOperatorEntry entry = calc.OperatorCode(c.op);
    EXPECT_EQ(entry.code, c.code) << "operator " << c.op;
    EXPECT_EQ(entry.priority, c.priority) << "operator " << c.op;
    EXPECT_EQ(calc.error, 0);
    EXPECT_EQ(calc.error_pos, 0);
  }
  CALC calc;
  calc.OperatorCode('a');
  EXPECT_EQ(calc.error, 1);
}

TEST(CalcEngine, ClosingParenthesisTakesTheDepthAsPriority) {
  CALC calc;
  calc.Evaluate("((2");  // fails (13) with two groups open and the stacks kept
  ASSERT_EQ(calc.error, 13);
  // The end marker closed the inner group; the outer one is still open.
  CalcOperatorEntry entry = calc.OperatorCode(')');
  EXPECT_EQ(entry.code, 246);
  EXPECT_EQ(entry.priority, 2);
  entry = calc.OperatorCode(')');
  EXPECT_EQ(entry.priority, 1);
  EXPECT_EQ(calc.error, 0);
  calc.OperatorCode(')');
  EXPECT_EQ(calc.error, 10);
}

struct ApplyCase {
  int code;
  const char* left;
  const char* right;
  const char* result;
  int error;
};

TEST(CalcEngine, ApplyOnValueTexts) {
  const ApplyCase cases[] = {
      {kCodeAdd, "1", "2", "3", 0},
      {kCodeAdd, "", "", "0", 0},
      {kCodeAdd, "0,5", "abc", "0", 0},
      {kCodeSubtract, "2", "3", "-1", 0},
      {kCodeMultiply, "1.5", "4", "6", 0},
      {kCodeDivide, "1", "3", "0.333333333333333", 0},
      {kCodeDivide, "1", "0", "", 8},
      {kCodeDivide, "1", "", "", 8},
      {kCodeRemainder, "7", "3", "1", 0},
      {kCodeRemainder, "-7", "3", "2", 0},
      {kCodeRemainder, "7", "-3", "-2", 0},
      {kCodeRemainder, "5.5", "2", "1.5", 0},
      {kCodeRemainder, "5", "0", "", 8},
      {kCodeRoundMultiple, "7", "3", "6", 0},
      {kCodeRoundMultiple, "8", "3", "9", 0},
      {kCodeRoundMultiple, "7", "2", "8", 0},
      {kCodeRoundMultiple, "-7", "2", "-6", 0},
      {kCodeRoundMultiple, "5", "0", "", 8},
      {kCodePercent, "50", "20", "10", 0},
      {kCodeOr, "1", "0", "1", 0},
      {kCodeOr, "0", "0", "0", 0},
      {kCodeAnd, "1", "0", "0", 0},
      {kCodeAnd, "2", "-1", "1", 0},
      {kCodeNotEqual, "2", "2", "0", 0},
      {kCodeNotEqual, "2", "3", "1", 0},
      {kCodeGreaterEqual, "3", "3", "1", 0},
      {kCodeLessEqual, "4", "3", "0", 0},
      {kCodeGreater, "3", "2", "1", 0},
      {kCodeLess, "2", "3", "1", 0},
      {kCodeEqual, "2.0", "2", "1", 0},
      {kCodeMaximum, "3", "5", "5", 0},
      {kCodeMinimum, "3", "5", "3", 0},
      {kCodePower, "2", "10", "1024", 0},
      {kCodePower, "0", "-1", "0", 9},  // Power's result comes back with its error
      {kCodeGroup, "9", "0.50", "0.5", 0},
      {kCodeNegate, "9", "2", "-2", 0},
      {kCodeNegate, "", "0", "0", 0},
      {kCodeRoundDecimals, "3.14159", "2", "3.14", 0},
      {kCodeRoundDecimals, "2", "3", "2.000", 0},
      {kCodeRoundDecimals, "2.5", "0", "2", 0},
      {kCodeRoundDecimals, "-0.001", "2", "-0.00", 0},
      {kCodeRoundDecimals, "1", "15.9", "1.000000000000000", 0},
      {kCodeRoundDecimals, "1", "16", "", 9},
      {kCodeRoundDecimals, "1", "-1", "", 9},
      {kCodeRoundDecimals, "1", "NAN", "", 9},
      {kCodeRoundDecimals, "1E16", "2", "1E16", 0},
      {kCodeRoundDecimals, "-1E15", "2", "-1E15", 0},
      {kCodeRoundDecimals, "1E-16", "2", "1E-16", 0},
      {kCodeRoundDecimals, "-1E-15", "2", "-1E-15", 0},
      {kCodeRoundDecimals, "0", "2", "0.00", 0},
      {kCodeRoundDecimals, "INF", "2", "INF", 0},
      {kCodeRoundDecimals, "NAN", "2", "NAN", 0},
      {1, "", "0", "0", 0},
      {kCodeEnd, "1", "2", "", 1},
  };
  for (const ApplyCase& c : cases) {
    CALC calc;
    EXPECT_EQ(calc.Apply(c.code, c.left, c.right), c.result)
        << "code " << c.code << " on \"" << c.left << "\" and \"" << c.right << '"';
    EXPECT_EQ(calc.error, c.error) << "code " << c.code << " on \"" << c.left << "\" and \"" << c.right << '"';
  }
}

struct PowerCase {
  double x;
  double y;
  double result;
  int error;
};

TEST(CalcEngine, Power) {
  const PowerCase cases[] = {
      {0, 0, 1, 0},      {0, 2, 0, 0},        {0, -1, 0, 9},   {2, 0.5, std::pow(2.0, 0.5), 0},
      {10, 15, 1e15, 0}, {-2, 3, -8, 0},      {-2, 2, 4, 0},   {-2, -1, -0.5, 0},
      {-2, 0, 1, 0},     {-8, 1.0 / 3, 0, 9}, {-2, 0.5, 0, 9}, {1, 1e300, 1, 0},
  };
  for (const PowerCase& c : cases) {
    CALC calc;
    EXPECT_EQ(calc.Power(c.x, c.y), c.result) << c.x << "^" << c.y;
    EXPECT_EQ(calc.error, c.error) << c.x << "^" << c.y;
  }
  CALC calc;
  EXPECT_TRUE(std::isnan(calc.Power(0, std::nan(""))));
  EXPECT_TRUE(std::isnan(calc.Power(std::nan(""), 2)));
  EXPECT_EQ(calc.Execute("(-2)^3"), "-8");
  EXPECT_EQ(calc.Execute("(-8)^(1/3)"), "");
  EXPECT_EQ(calc.error, 9);
  EXPECT_EQ(calc.Execute("2^0.5"), "1.4142135623731");
  EXPECT_EQ(calc.Execute("10^15"), "1E15");
  EXPECT_EQ(calc.Execute("0^(-1)"), "");
  EXPECT_EQ(calc.error, 9);
  EXPECT_EQ(calc.error_pos, 6);
}

TEST(CalcEngine, ReduceCarriesOutEqualAndHigherPrioritiesFirst) {
  // 2*3+4^2-1 driven by hand, as the scanner would.
  CALC calc;
  calc.PushValue("2");
  calc.Reduce('*');
  calc.PushValue("3");
  calc.Reduce('+');  // carries out 2*3
  EXPECT_EQ(calc.OperatorCount(), 1);
  EXPECT_EQ(calc.SlotText(0), "6");
  calc.PushValue("4");
  calc.Reduce('^');  // tighter: stacked
  EXPECT_EQ(calc.OperatorCount(), 2);
  calc.PushValue("2");
  calc.Reduce('-');  // carries out 4^2, then 6+16 (equal priority)
  EXPECT_EQ(calc.OperatorCount(), 1);
  EXPECT_EQ(calc.SlotText(0), "22");
  calc.PushValue("1");
  calc.Reduce(kCalcEnd);  // everything, then the end marker is stacked
  EXPECT_EQ(calc.error, 0);
  EXPECT_EQ(calc.OperatorCount(), 1);
  EXPECT_EQ(calc.SlotText(0), "21");

  calc.PushValue("1");
  calc.PushOperator(kCodeDivide, 252);
  calc.PushValue("0");
  calc.Reduce(kCalcEnd);
  EXPECT_EQ(calc.error, 8);
  EXPECT_EQ(calc.SlotText(1), "1");  // nothing stored on failure
}

TEST(CalcEngine, PushValueFillsOneSlotAndEmptiesTheNextTwo) {
  CALC calc;
  calc.PushValue("1");
  calc.PushOperator(kCodeAdd, 251);
  calc.PushValue("2");
  calc.PushOperator(kCodeAdd, 251);
  calc.PushValue("3");
  EXPECT_EQ(calc.SlotText(2), "3");
  calc.PushOperator(kCodeAdd, 251);
  calc.PushOperator(kCodeAdd, 251);
  calc.PushValue("4");  // into slot 4: slot 3 keeps nothing, 5 and 6 are emptied
  EXPECT_EQ(calc.SlotText(4), "4");
  EXPECT_EQ(calc.SlotText(1), "2");
  EXPECT_EQ(calc.OperatorCount(), 4);
  for (int i = 4; i < CALC::kOperatorSlots; ++i) calc.PushOperator(kCodeAdd, 251);
  EXPECT_EQ(calc.error, 0);
  calc.PushOperator(kCodeAdd, 251);
  EXPECT_EQ(calc.error, 7);
  calc.error = 0;
  calc.PushValue("5");
  EXPECT_EQ(calc.error, 6);
  EXPECT_EQ(calc.OperatorCount(), CALC::kOperatorSlots);
}

TEST(CalcEngine, UserFunctions) {
  CALC calc;
  EXPECT_EQ(calc.Execute("use1(1)"), "");
  EXPECT_EQ(calc.error, 15);
  EXPECT_EQ(calc.error_pos, 7);
  EXPECT_EQ(calc.Execute("use2(1)+use3(1)"), "");
  EXPECT_EQ(calc.error, 15);

  calc.use_hook[0] = [](double v) { return v * 2; };
  EXPECT_EQ(calc.Execute("use1(21)"), "42");
  EXPECT_EQ(calc.Execute("use1(1/3)"), "0.666666666666666");  // the argument was rounded first

  // A hook may evaluate on the same CALC: it runs one level up, so the
  // suspended expression keeps its stacks.
  calc.use_hook[1] = [&calc](double v) {
    EXPECT_EQ(calc.level, 1);
    return CALC_VAR::TextToFloat(calc.Execute("q=" + CALC_VAR::FloatToText(v) + "*(2+0)"));
  };
  EXPECT_EQ(calc.Execute("z=1+2*(5-use2(3)+1)"), "1");
  EXPECT_EQ(calc.level, 0);
  EXPECT_EQ(calc.vars.Get("q"), "6");
  EXPECT_EQ(calc.vars.Get("z"), "1");

  // A hook reports failure by leaving an error.
  calc.use_hook[2] = [&calc](double) {
    calc.error = 9;
    return 0.0;
  };
  EXPECT_EQ(calc.Execute("z=1+use3(1)"), "");
  EXPECT_EQ(calc.error, 9);
  EXPECT_EQ(calc.vars.Get("z"), "1");
}

TEST(CalcEngine, UserFunctionsNestAtMost31Deep) {
  CALC calc;
  int calls = 0;
  int deepest = 0;
  calc.use_hook[0] = [&](double v) {
    ++calls;
    deepest = std::max(deepest, calc.level);
    calc.Execute("use1(1)");
    return v;
  };
  EXPECT_EQ(calc.Execute("use1(1)"), "");
  EXPECT_EQ(calc.error, 16);
  EXPECT_EQ(calls, 31);
  EXPECT_EQ(deepest, 31);
  EXPECT_EQ(calc.level, 0);

  calc.level = 40;  // out of range: refused, nothing touched
  EXPECT_EQ(calc.Execute("1"), "");
  EXPECT_EQ(calc.error, 16);
  calc.level = 0;
  EXPECT_EQ(calc.Execute("1"), "1");
}

TEST(CalcEngine, ScannerPieces) {
  CALC calc;
  int pos = 2;
  EXPECT_EQ(calc.ScanNumber("x=1e3+1", pos), "1000");
  EXPECT_EQ(pos, 5);
  pos = 0;
  EXPECT_EQ(calc.ScanNumber("abc", pos), "");
  EXPECT_EQ(calc.error, 5);
  calc.error = 0;
  pos = 0;
  EXPECT_EQ(calc.ScanNumber("1e400", pos), "");
  EXPECT_EQ(calc.error, 3);
  calc.error = 0;
  pos = 1;
  EXPECT_EQ(calc.ScanWord("(ab_9c+1", pos), "ab_9c");
  EXPECT_EQ(pos, 6);
  pos = 3;
  EXPECT_EQ(calc.ScanWord("ab 9", pos), "");
  EXPECT_EQ(calc.error, 4);
  EXPECT_EQ(calc.error_pos, 3);
  EXPECT_EQ(CALC::FindFunction("sin"), 1);
  EXPECT_EQ(CALC::FindFunction("pi"), 23);
  EXPECT_EQ(CALC::FindFunction("cotgh"), 18);
  EXPECT_EQ(CALC::FindFunction("Sin"), 0);
  EXPECT_EQ(CALC::FindFunction(""), 0);
  EXPECT_EQ(CALC::RemoveSpaces(" a = 1 ;\t2 "), "a=1;\t2");
  EXPECT_TRUE(CALC::IsOperatorChar(static_cast<char>(0xA4)));
  EXPECT_FALSE(CALC::IsOperatorChar(static_cast<char>(0xA5)));
  EXPECT_FALSE(CALC::IsOperatorChar('('));
  EXPECT_FALSE(CALC::IsWordStart(static_cast<char>(0xE9)));
  EXPECT_TRUE(CALC::IsNumberStart('.'));
}

TEST(CalcEngine, EvaluateStopsAtTheFirstSemicolon) {
  CALC calc;
  EXPECT_EQ(calc.Evaluate("1+2;x"), "3");
  EXPECT_EQ(calc.Evaluate(""), "");
  EXPECT_EQ(calc.error, 1);
  EXPECT_EQ(calc.Evaluate("3<=3"), "1");
  EXPECT_EQ(calc.Evaluate("2*(3"), "");
  EXPECT_EQ(calc.error, 13);
  EXPECT_EQ(calc.error_pos, 4);
}

struct MessageCase {
  int code;
  const char* message;
};

TEST(CalcEngine, ErrorMessages) {
  const MessageCase cases[] = {
      {0, ""},
      {1, "Syntax error."},
      {2, ""},
      {3, "Chyba v zápisu čísla."},
      {4, "Slovo nezačíná písmenem."},
      {5, "Číslo nezačíná číslicí nebo '.'."},
      {6, "Přetečení numerického zásobníku."},
      {7, "Přetečení operátorového zásobníku."},
      {8, "Dělení nulou."},
      {9, "Numerická chyba."},
      {10, "Málo otevíracích závorek."},
      {11, "Neznámý identifikátor."},
      {12, "Proměnná nenalezena."},
      {13, "Chybí uzavírací závorky."},
      {14, "Dvojitý operátor."},
      {15, "Funkce use# není definovaná."},
      {16, "Příliš mnoho vnoření."},
      {17, ""},
      {-1, ""},
  };
  for (const MessageCase& c : cases) EXPECT_EQ(CALC::ErrorMessage(c.code), c.message) << "code " << c.code;
}

}  // namespace
