// CALC_VAR: the variable list's lookup, overwrite and failure rules.
#include <gtest/gtest.h>

#include "calc/calc_var.h"

namespace {

TEST(CalcVar, SetOverwritesAndNamesAreCaseSensitive) {
  CALC_VAR vars;
  vars.Set("x", "1");
  vars.Set("y", "5");
  vars.Set("x", "2");
  EXPECT_EQ(vars.Count(), 2);
  EXPECT_EQ(vars.IndexOf("x"), 0);
  EXPECT_EQ(vars.IndexOf("y"), 1);
  EXPECT_EQ(vars.Get("x"), "2");
  EXPECT_EQ(vars.error, 0);
  EXPECT_TRUE(vars.Exists("x"));
  EXPECT_FALSE(vars.Exists("X"));
  EXPECT_EQ(vars.IndexOf("X"), -1);
  EXPECT_EQ(vars.Get("X"), "");
  EXPECT_EQ(vars.error, 12);
  vars.Set("X", "3");
  EXPECT_EQ(vars.error, 0);
  EXPECT_EQ(vars.Get("X"), "3");
  EXPECT_EQ(vars.Get("x"), "2");
}

TEST(CalcVar, KeepsAnyTextAndItsNumber) {
  CALC_VAR vars;
  vars.Set("weird name", "0.50abc");
  vars.Set("empty", "");
  EXPECT_EQ(vars.Get("weird name"), "0.50abc");
  EXPECT_EQ(vars.GetNumber("weird name"), 0.5);
  EXPECT_EQ(vars.Get("empty"), "");
  EXPECT_EQ(vars.GetNumber("empty"), 0.0);
  EXPECT_EQ(vars.GetNumber("missing"), 0.0);
  EXPECT_EQ(vars.error, 12);
  vars.Set("weird name", "7");
  EXPECT_EQ(vars.GetNumber("weird name"), 7.0);
}

TEST(CalcVar, LookupsFindTheRightEntryWhateverTheOrder) {
  CALC_VAR vars;
  const char* names[] = {"x", "y", "t", "a", "b", "c", "d", "e1", "e2", "f", "z"};
  for (int i = 0; i < 11; ++i) vars.Set(names[i], std::to_string(i));
  // Sequential, repeated, reversed and scattered lookups.
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 11; ++i) EXPECT_EQ(vars.GetNumber(names[i]), i);
    for (int i = 10; i >= 0; --i) EXPECT_EQ(vars.GetNumber(names[i]), i);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(vars.GetNumber(names[(i * 7) % 11]), (i * 7) % 11);
    EXPECT_EQ(vars.GetNumber("z"), 10);
    EXPECT_EQ(vars.GetNumber("z"), 10);
  }
  EXPECT_EQ(vars.Count(), 11);
}

TEST(CalcVar, SetFromItsOwnValueSurvivesGrowth) {
  CALC_VAR vars;
  vars.Set("long", "0.123456789012345678901234567890");
  for (int i = 0; i < 100; ++i) vars.Set("copy" + std::to_string(i), vars.Get("long"));
  EXPECT_EQ(vars.Get("copy99"), "0.123456789012345678901234567890");
  vars.Set("long", vars.Get("long"));
  EXPECT_EQ(vars.Get("long"), "0.123456789012345678901234567890");
}

}  // namespace
