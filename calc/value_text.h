// Value texts: the decimal text form in which the evaluator keeps every
// number, and fast exact conversions between it and doubles. Depends on
// nothing but the standard library; never on the process locale.
#pragma once

#include <cstddef>
#include <string_view>

// Room for the longest text FormatValueText writes ("-1.23456789012345E-308").
constexpr std::size_t kValueTextCapacity = 32;

// Writes the canonical value text of v (15 significant digits, "." as the
// point, "INF", "-INF" or "NAN" when not finite) into out; returns its length.
std::size_t FormatValueText(double v, char* out);

// Reads a value text: "INF", "-INF" and "NAN" exactly, otherwise the longest
// decimal prefix after leading white space (0 when there is none).
double ParseValueText(std::string_view text);

// The number a value goes on as once written and read back:
// ParseValueText of FormatValueText(v), computed without the text.
double RoundValue(double v);
