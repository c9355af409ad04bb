// The statement-list algorithm written out plainly over Evaluate and
// ScanWord, which scan every character as they go: the yardstick that
// Execute's kept, pre-reduced texts are compared with (tests and fuzzer).
#pragma once

#include <string>
#include <string_view>

#include "calc/calc.h"

inline std::string PlainExecute(CALC& calc, std::string_view input) {
  calc.error = 0;
  calc.error_pos = 0;
  calc.assigned = 0;
  const std::string text = CALC::RemoveSpaces(input.substr(0, input.find('\0')));
  const std::size_t length = text.size();
  std::size_t start = 0;
  std::string last;
  for (;;) {
    std::size_t i = text.find_first_of("=;", start);
    if (i == std::string::npos) i = length;
    if (i < length && text[i] == '=') {
      calc.assigned = 1;
      if (i == start) {
        calc.error = 1;
        return "";
      }
      std::string value = calc.Evaluate(std::string_view(text).substr(i + 1));
      if (calc.error != 0) {
        calc.error_pos += static_cast<int>(i + 1);
        return "";
      }
      int pos = static_cast<int>(start);
      std::string name = calc.ScanWord(text, pos);
      if (calc.error != 0) return "";
      calc.vars.Set(name, value);
      last = value;
    } else {
      last = calc.Evaluate(std::string_view(text).substr(start));
      if (calc.error != 0) return "";
    }
    std::size_t next = text.find(';', start);
    if (next == std::string::npos) next = length;
    if (next >= length || next + 1 >= length) return last;
    start = next + 1;
  }
}
