// Statement lists through Execute: priorities, unary minus, numbers, words,
// parentheses, statements and assignments, every scanner error with its
// position, and the stack limits. Each case runs on a fresh CALC that has
// x = 3, y = 3, w = 4 and e1 = 0.5.
#include <gtest/gtest.h>

#include <string>

#include "calc/calc.h"

namespace {

struct Case {
  std::string text;
  const char* result;
  int error;
  int errorPos;
};

void PrepareVariables(CALC& calc) {
  calc.vars.Set("x", "3");
  calc.vars.Set("y", "3");
  calc.vars.Set("w", "4");
  calc.vars.Set("e1", "0.5");
}

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    CALC calc;
    PrepareVariables(calc);
    std::string result = calc.Execute(c.text);
    EXPECT_EQ(result, c.result) << "text \"" << c.text << '"';
    EXPECT_EQ(calc.error, c.error) << "text \"" << c.text << '"';
    EXPECT_EQ(calc.error_pos, c.errorPos) << "text \"" << c.text << '"';
  }
}

std::string Nested(int depth) { return std::string(depth, '(') + "1" + std::string(depth, ')'); }

TEST(CalcExpression, PrioritiesAndAssociativity) {
  RunCases({
      {"1+2*3", "7", 0, 0},
      {"(1+2)*3", "9", 0, 0},
      {"2*(3+4)-1", "13", 0, 0},
      {"2^3^2", "64", 0, 0},
      {"2-3-4", "-5", 0, 0},
      {"8/4/2", "1", 0, 0},
      {"2*3^2", "18", 0, 0},
      {"1+2<4", "1", 0, 0},
      {"3{5}4", "4", 0, 0},
      {"3}5{4", "4", 0, 0},
      {"1|0&0", "0", 0, 0},
      {"0&0|1", "1", 0, 0},
      {"1+1&1", "1", 0, 0},
      {"2+3}4", "5", 0, 0},
      {"10%50+1", "6", 0, 0},
      {"1/3*3", "0.999999999999999", 0, 0},
      {"1+1\xA4"
       "2",
       "2.00", 0, 0},
      {"1\xA4"
       "1+1",
       "1.00", 0, 0},
      {"(2\xA4"
       "3)+1",
       "3", 0, 0},
      {"z=3< =3", "1", 0, 0},
      {"z=3<>4", "1", 0, 0},
      {"z=4>=5", "0", 0, 0},
      {"z=x=y", "1", 0, 0},
      {"z=x=w", "0", 0, 0},
      {"z=x=y=1", "1", 0, 0},
      {"z=1+2=3", "1", 0, 0},
  });
}

TEST(CalcExpression, UnaryMinusOnlyAtTheStartAndAfterAnOpeningParenthesis) {
  RunCases({
      {"-2", "-2", 0, 0},
      {"-2^2", "4", 0, 0},
      {"-2*3", "-6", 0, 0},
      {"-2-2", "-4", 0, 0},
      {"-(3+5)", "-8", 0, 0},
      {"2*(-3)", "-6", 0, 0},
      {"2-(-3)", "5", 0, 0},
      {"-(-2)", "2", 0, 0},
      {"-x", "-3", 0, 0},
      {"(-x)^2", "9", 0, 0},
      {"+3", "3", 0, 0},
      {"(*3)", "0", 0, 0},
      {"2*-3", "", 14, 2},
      {"2^-1", "", 14, 2},
      {"--2", "", 14, 1},
      {"1+-2", "", 14, 2},
      {"z=2*-x", "", 14, 4},
  });
}

TEST(CalcExpression, Numbers) {
  RunCases({
      {"12", "12", 0, 0},
      {"1.5", "1.5", 0, 0},
      {".5", "0.5", 0, 0},
      {"5.", "5", 0, 0},
      {".", "0", 0, 0},
      {"0.50", "0.5", 0, 0},
      {"1e3", "1000", 0, 0},
      {"2.5E-10", "2.5E-10", 0, 0},
      {"1e+2", "100", 0, 0},
      {"1e307", "1E307", 0, 0},
      {"1e-307", "1E-307", 0, 0},
      {"1e007", "10000000", 0, 0},
      {"0.1234567890123456789", "0.123456789012346", 0, 0},
      {"99e307", "INF", 0, 0},
      {"1e308", "", 3, 5},
      {"1e-308", "", 3, 6},
      {"1e0307", "", 3, 6},
      {"1e", "", 3, 2},
      {"1e+", "", 3, 3},
      {"2exp(1)", "", 3, 2},
      {"1.2.3", "", 1, 3},
      {"2x", "", 1, 1},
      {"1 2", "12", 0, 0},
  });
}

TEST(CalcExpression, WordsAndParentheses) {
  RunCases({
      {"x*y", "9", 0, 0},
      {"x y", "", 11, 2},
      {"SIN(1)", "", 11, 3},
      {"sin(0)", "0", 0, 0},
      {"sin.5+1", "1.4794255386042", 0, 0},
      {"nothing", "", 11, 7},
      {"2(3)", "", 1, 1},
      {"x(1)", "", 1, 1},
      {"(1)(2)", "", 1, 3},
      {"(1", "", 13, 2},
      {"((1)", "", 13, 4},
      {"1)", "", 10, 2},
      {"(1))", "", 10, 4},
      {"(1)2", "2", 0, 0},
      {"1+", "1", 0, 0},
      {"sin", "0", 0, 0},
      {"x$", "", 1, 1},
      {"1\t+2", "", 1, 1},
      {"\t", "", 1, 0},
      {"1+2\n", "", 1, 3},
      {"\xE9", "", 1, 0},
      {Nested(79), "1", 0, 0},
      {Nested(80), "", 6, 81},
      {Nested(81), "", 7, 81},
      {"z=" + Nested(80), "", 6, 83},
  });
}

TEST(CalcExpression, StatementListsAndAssignments) {
  RunCases({
      {"", "", 1, 0},           {" ", "", 1, 0},
      {";", "", 0, 0},          {"1;", "1", 0, 0},
      {"1; ", "1", 0, 0},       {"1;;2", "2", 0, 0},
      {"1;2;3", "3", 0, 0},     {"a=2;b=a*3;b+1", "7", 0, 0},
      {"a=2", "2", 0, 0},       {"a=2;a", "2", 0, 0},
      {"a=;a", "", 0, 0},       {"=3", "", 1, 0},
      {"1;=3", "", 1, 0},       {"2=3", "", 4, 0},
      {"1;2=3", "", 4, 2},      {"a\t=1", "1", 0, 0},
      {"a2b=5;a2b", "5", 0, 0}, {"sin=5;sin", "0", 0, 0},
      {"a=1/0", "", 8, 5},      {"1/0+1", "", 8, 4},
      {"1;2x", "", 1, 1},       {"a=1;b=2x", "", 1, 7},
      {"a=1;b=(2", "", 13, 8},  {"q", "", 11, 1},
      {"a=1;a+q", "", 11, 3},   {std::string("1\0+2", 4), "1", 0, 0},
  });
}

TEST(CalcExpression, AssignmentsPersistAndFailuresStopTheList) {
  CALC calc;
  EXPECT_EQ(calc.Execute("a=2;b=a*3;b+1"), "7");
  EXPECT_EQ(calc.vars.Get("a"), "2");
  EXPECT_EQ(calc.vars.Get("b"), "6");
  EXPECT_EQ(calc.assigned, 1);
  EXPECT_EQ(calc.Execute("a+b"), "8");
  EXPECT_EQ(calc.assigned, 0);

  EXPECT_EQ(calc.Execute("c=1;d=1/0;e=5"), "");
  EXPECT_EQ(calc.error, 8);
  EXPECT_EQ(calc.vars.Get("c"), "1");
  EXPECT_FALSE(calc.vars.Exists("d"));
  EXPECT_FALSE(calc.vars.Exists("e"));

  EXPECT_EQ(calc.Execute("2=3"), "");
  EXPECT_EQ(calc.error, 4);
  EXPECT_EQ(calc.vars.Count(), 3);

  // A failed formula leaves the previous value, as the screen generator relies on.
  EXPECT_EQ(calc.Execute("z=5"), "5");
  EXPECT_EQ(calc.Execute("z=1/0"), "");
  EXPECT_EQ(calc.vars.Get("z"), "5");

  // Rounded texts are stored as they are and read back as numbers.
  EXPECT_EQ(calc.Execute("r=2\xA4"
                         "3"),
            "2.000");
  EXPECT_EQ(calc.vars.Get("r"), "2.000");
  EXPECT_EQ(calc.Execute("r"), "2.000");
  EXPECT_EQ(calc.Execute("r+0"), "2");
}

TEST(CalcExpression, ValuesSetByCallersPassThroughUntilComputedWith) {
  CALC calc;
  calc.vars.Set("v", "0.1234567890123456789");
  calc.vars.Set("big", "INF");
  calc.vars.Set("odd", "1.50xyz");
  EXPECT_EQ(calc.Execute("v"), "0.1234567890123456789");
  EXPECT_EQ(calc.Execute("(v)"), "0.123456789012346");
  EXPECT_EQ(calc.Execute("z=v"), "0.1234567890123456789");
  EXPECT_EQ(calc.vars.Get("z"), "0.1234567890123456789");
  EXPECT_EQ(calc.Execute("odd*2"), "3");
  EXPECT_EQ(calc.Execute("big"), "INF");
  EXPECT_EQ(calc.Execute("-big"), "-INF");
  EXPECT_EQ(calc.Execute("big*0"), "NAN");
  EXPECT_EQ(calc.Execute("big>1"), "1");
}

TEST(CalcExpression, TheSameTextGivesTheSameResultsOnEveryRun) {
  CALC calc;
  const std::string formula = "z=cos(t)-tan(t*c)^2*sin(x*y)/e1";
  calc.vars.Set("c", "-7");
  calc.vars.Set("e1", "3");
  for (int point = -5; point <= 5; ++point) {
    calc.vars.Set("t", std::to_string(point * 48));
    calc.vars.Set("x", std::to_string(point));
    calc.vars.Set("y", std::to_string(point * 2));
    std::string kept = calc.Execute(formula);
    CALC fresh;
    fresh.vars.Set("c", "-7");
    fresh.vars.Set("e1", "3");
    fresh.vars.Set("t", std::to_string(point * 48));
    fresh.vars.Set("x", std::to_string(point));
    fresh.vars.Set("y", std::to_string(point * 2));
    EXPECT_EQ(kept, fresh.Execute(formula));
    EXPECT_EQ(calc.vars.Get("z"), kept);
  }
  // A variable that appears only later is found once it exists.
  EXPECT_EQ(calc.Execute("later+1"), "");
  EXPECT_EQ(calc.error, 11);
  calc.vars.Set("later", "1");
  EXPECT_EQ(calc.Execute("later+1"), "2");
}

}  // namespace
