// CALC_VAR: the evaluator's variable list, names to value texts, plus the two
// conversions between doubles and value texts. Needs nothing outside calc/.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calc/value_text.h"

class CALC;

class CALC_VAR {
 public:
  CALC_VAR() = default;
  // Not copyable: a CALC keeps positions of entries, which only ever grow.
  CALC_VAR(const CALC_VAR&) = delete;
  CALC_VAR& operator=(const CALC_VAR&) = delete;

  // 0, or 12 after a Get of an absent name.
  std::int32_t error = 0;

  // Position of the name (exact, case-sensitive), or -1.
  int IndexOf(std::string_view name) const;
  bool Exists(std::string_view name) const { return IndexOf(name) >= 0; }
  // The value text stored for name, or the empty text with error 12. The
  // reference stays valid until the next Set of any variable.
  const std::string& Get(std::string_view name);
  // TextToFloat(Get(name)), without reading the text again.
  double GetNumber(std::string_view name);
  // Creates the variable or overwrites its value; any text is accepted.
  void Set(std::string_view name, std::string_view value);

  int Count() const { return static_cast<int>(names_.size()); }
  const std::string& NameAt(int index) const { return names_[static_cast<std::size_t>(index)]; }
  const std::string& ValueAt(int index) const { return values_[static_cast<std::size_t>(index)].Text(); }
  double NumberAt(int index) const { return values_[static_cast<std::size_t>(index)].Number(); }

  // Locale-independent; see calc/value_text.h for the exact forms.
  static double TextToFloat(std::string_view text);
  static std::string FloatToText(double value);

 private:
  friend class CALC;
  // Set with a value whose number is already known.
  void SetValue(std::string_view name, const ValueText& value);
  void SetAt(int index, const ValueText& value) { values_[static_cast<std::size_t>(index)].Assign(value); }
  bool IsCanonical(int index) const { return values_[static_cast<std::size_t>(index)].IsCanonical(); }
  int Find(std::string_view name);

  std::vector<std::string> names_;
  std::vector<ValueText> values_;  // each with its TextToFloat beside it
  std::size_t last_ = 0;           // the entry found last: lookups try it and the next first
  ValueText scratch_;
  std::string empty_;
};
