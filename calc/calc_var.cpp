// The variable list. Callers tend to set the same names in the same order
// over and over, so a lookup first tries the entry after the last one found.
#include "calc/calc_var.h"

#include "calc/calc_error.h"
#include "calc/value_text.h"

int CALC_VAR::IndexOf(std::string_view name) const {
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == name) return static_cast<int>(i);
  }
  return -1;
}

int CALC_VAR::Find(std::string_view name) {
  // Names are unique, so a hinted entry is the one IndexOf would find.
  const std::size_t count = names_.size();
  if (count > 0) {
    std::size_t next = last_ + 1 < count ? last_ + 1 : 0;
    if (names_[next] == name) return static_cast<int>(last_ = next);
    if (last_ < count && names_[last_] == name) return static_cast<int>(last_);
  }
  int found = IndexOf(name);
  if (found >= 0) last_ = static_cast<std::size_t>(found);
  return found;
}

const std::string& CALC_VAR::Get(std::string_view name) {
  error = 0;
  int index = Find(name);
  if (index < 0) {
    error = kCalcErrorVariableNotFound;
    return empty_;
  }
  return values_[static_cast<std::size_t>(index)].Text();
}

double CALC_VAR::GetNumber(std::string_view name) {
  error = 0;
  int index = Find(name);
  if (index < 0) {
    error = kCalcErrorVariableNotFound;
    return 0.0;
  }
  return values_[static_cast<std::size_t>(index)].Number();
}

namespace {

// "0", or an optional "-" and 1 to 15 digits without a leading zero: the
// form FloatToText gives every whole number below 1e15. Its value is exact.
bool ReadCanonicalWholeNumber(std::string_view text, double& value) {
  if (text == "0") {
    value = 0.0;
    return true;
  }
  const bool negative = !text.empty() && text[0] == '-';
  std::size_t i = negative ? 1 : 0;
  const std::size_t digits = text.size() - i;
  if (digits == 0 || digits > 15 || text[i] == '0') return false;
  std::int64_t whole = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    whole = whole * 10 + (text[i] - '0');
  }
  value = static_cast<double>(negative ? -whole : whole);
  return true;
}

}  // namespace

void CALC_VAR::Set(std::string_view name, std::string_view value) {
  double number;
  bool canonical = ReadCanonicalWholeNumber(value, number);
  if (!canonical) {
    number = ParseValueText(value);
    char text[kValueTextCapacity];
    canonical = std::string_view(text, FormatValueText(number, text)) == value;
  }
  // value may point into this very list, so it is copied aside first.
  scratch_.SetText(value, number, canonical);
  SetValue(name, scratch_);
}

void CALC_VAR::SetValue(std::string_view name, const ValueText& value) {
  error = 0;
  int index = Find(name);
  if (index < 0) {
    // name may point into these very lists.
    std::string newName(name);
    ValueText newValue;
    newValue.Assign(value);
    names_.push_back(std::move(newName));
    values_.push_back(std::move(newValue));
    last_ = names_.size() - 1;
    return;
  }
  SetAt(index, value);
}

double CALC_VAR::TextToFloat(std::string_view text) { return ParseValueText(text); }

std::string CALC_VAR::FloatToText(double value) {
  char buffer[kValueTextCapacity];
  return std::string(buffer, FormatValueText(value, buffer));
}
