// Value texts: the decimal text form in which the evaluator keeps every
// number, and fast exact conversions between it and doubles. Depends on
// nothing but the standard library; never on the process locale.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
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

// A value text held as its number and, once wanted, its characters: a
// computed value is formatted only when someone reads its text.
class ValueText {
 public:
  // The empty text (which reads as 0).
  void Clear();
  // A computed value: number must read back as itself (see RoundValue);
  // the characters will be FloatToText(number).
  void SetNumber(double number);
  // Characters as given, with number = TextToFloat(text); canonical tells
  // that text is FloatToText(number).
  void SetText(std::string_view text, double number, bool canonical);
  void Assign(const ValueText& other);

  double Number() const { return number_; }
  bool IsCanonical() const { return canonical_; }
  // The characters; formats a computed value on first use.
  const std::string& Text() const;
  bool empty() const { return !pending_ && text_.empty(); }
  operator const std::string&() const { return Text(); }
  operator std::string_view() const { return Text(); }

  friend bool operator==(const ValueText& value, std::string_view text) {
    return std::string_view(value.Text()) == text;
  }

 private:
  double number_ = 0.0;
  mutable std::string text_;
  mutable bool pending_ = false;  // text_ is still to be formatted from number_
  bool canonical_ = false;
};

std::ostream& operator<<(std::ostream& out, const ValueText& value);
