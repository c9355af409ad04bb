// The variable list. Callers tend to set the same names in the same order
// over and over, so a lookup first tries the entry after the last one found.
#include "calc/calc_var.h"

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
    error = 12;
    return empty_;
  }
  return values_[static_cast<std::size_t>(index)];
}

double CALC_VAR::GetNumber(std::string_view name) {
  error = 0;
  int index = Find(name);
  if (index < 0) {
    error = 12;
    return 0.0;
  }
  return numbers_[static_cast<std::size_t>(index)];
}

void CALC_VAR::Set(std::string_view name, std::string_view value) {
  const double number = ParseValueText(value);
  char canonical[kValueTextCapacity];
  const std::size_t length = FormatValueText(number, canonical);
  SetKnown(name, value, number, std::string_view(canonical, length) == value);
}

void CALC_VAR::SetKnown(std::string_view name, std::string_view value, double number, bool canonical) {
  error = 0;
  int index = Find(name);
  if (index < 0) {
    // Copies first: name or value may point into these very lists.
    std::string newName(name);
    std::string newValue(value);
    names_.push_back(std::move(newName));
    values_.push_back(std::move(newValue));
    numbers_.push_back(number);
    canonical_.push_back(canonical ? 1 : 0);
    last_ = names_.size() - 1;
    return;
  }
  SetAt(index, value, number, canonical);
}

void CALC_VAR::SetAt(int index, std::string_view value, double number, bool canonical) {
  auto i = static_cast<std::size_t>(index);
  values_[i].assign(value.data(), value.size());
  numbers_[i] = number;
  canonical_[i] = canonical ? 1 : 0;
}

double CALC_VAR::TextToFloat(std::string_view text) { return ParseValueText(text); }

std::string CALC_VAR::FloatToText(double value) {
  char buffer[kValueTextCapacity];
  return std::string(buffer, FormatValueText(value, buffer));
}
