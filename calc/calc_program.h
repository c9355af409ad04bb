// The scanned form of a statement list: each expression's tokens with the
// scan positions that errors report, so that a text run again and again is
// scanned once. Private to calc/.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "calc/calc.h"

enum class CalcTokenKind : std::uint8_t {
  Number,    // number: its value as its text reads back (code 1: read as is, the text overflows)
  Variable,  // word that is not a function: name_start, name_length
  Function,  // code: function id
  Open,      // "("
  Operator,  // code: operator byte or CalcOperator
  Fail,      // scanning stopped: code is the error code, pos the position
  End,       // ";" or the end of the text at pos
};

struct CalcToken {
  CalcTokenKind kind;
  std::int32_t code = 0;
  std::int32_t pos = 0;   // scan position at the token, within its expression
  std::int32_t next = 0;  // scan position just after the token
  double number = 0.0;
  std::int32_t name_start = 0;  // in the program's text
  std::int32_t name_length = 0;
  // The variable's position in the CALC's list once found; positions never
  // change, since variables are never removed.
  mutable std::int32_t variable = -1;
};

// What running a scanned expression does to the level's operand slots, in
// order. The reductions depend on the operators alone, never on values, so
// they are worked out once when a text is first scanned; only the values,
// the variables' presence and the operations' own errors are left for run
// time, which gives the same results, slot contents and errors as scanning.
enum class CalcStepKind : std::uint8_t {
  LoadNumber,     // slot = number (code 1: its text overflows, store it as a result)
  LoadVariable,   // slot = the variable's value; error 11 at pos when absent
  CheckVariable,  // error 11 at pos when absent (the push then overflows)
  Apply,          // slot = operation code on slots slot and slot + 1; errors at pos
  Fail,           // error code at pos
  Done,           // success; the result is slot 0
};

struct CalcStep {
  CalcStepKind kind;
  std::uint8_t code = 0;
  std::int16_t slot = 0;
  std::int16_t op_count = 0;  // the level's operator count after this step
  std::int32_t pos = 0;
  double number = 0.0;
  std::int32_t name_start = 0;
  std::int32_t name_length = 0;
  mutable std::int32_t variable = -1;
};

// Works out the steps of one scanned expression (tokens up to its End or Fail).
void CompileSteps(const CalcToken* tokens, std::vector<CalcStep>& steps);

// The operator table for operator bytes and CalcOperator values other than
// ")"; code 0 for anything else.
CalcOperatorEntry LookUpOperator(int op, bool unaryAllowed);

enum class CalcStatementKind : std::uint8_t { Bare, Assignment, StartsWithEquals };

struct CalcStatement {
  CalcStatementKind kind;
  std::int32_t start;          // first character of the statement
  std::int32_t offset;         // first character of its expression
  std::int32_t target_length;  // length of the assignment's target word; 0 if none
  std::uint32_t first_token;
  std::uint32_t first_step;
  mutable std::int32_t target_variable = -1;  // the target's position in the list, once known
};

// Whether CalcColumns may run a program over many points at once; worked
// out the first time it is asked.
enum class CalcColumnFit : std::uint8_t { Unknown, Yes, No };

struct CalcProgram {
  std::string text;  // the statement list without spaces
  std::vector<CalcStatement> statements;
  std::vector<CalcToken> tokens;
  std::vector<CalcStep> steps;
  mutable CalcColumnFit column_fit = CalcColumnFit::Unknown;
};

// Scans one expression: expression is the text from the expression's start
// to the end of the whole text, which begins at offset in the program text.
void ScanExpression(std::string_view expression, std::int32_t offset, std::vector<CalcToken>& tokens);
// Splits a space-free statement list into statements and scans each.
CalcProgram CompileStatements(std::string text);

// Eight bytes at a time: formula texts are short and looked up very often.
struct CalcTextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const {
    std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ text.size();
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
      std::uint64_t word;
      std::memcpy(&word, text.data() + i, 8);
      hash = Mix(hash ^ word);
    }
    if (i < text.size()) {
      std::uint64_t word = 0;
      std::memcpy(&word, text.data() + i, text.size() - i);
      hash = Mix(hash ^ word);
    }
    return static_cast<std::size_t>(hash ^ (hash >> 29));
  }
  static std::uint64_t Mix(std::uint64_t value) {
    value *= 0xBF58476D1CE4E5B9ull;
    return value ^ (value >> 31);
  }
};

struct CalcProgramCache {
  using Map = std::unordered_map<std::string, CalcProgram, CalcTextHash, std::equal_to<>>;
  Map programs;
  // Callers pass the same text objects again and again: a few recent ones
  // are found by address and length, then confirmed by content.
  struct Recent {
    const char* data = nullptr;
    std::size_t size = 0;
    const Map::value_type* entry = nullptr;
  };
  static constexpr std::size_t kRecentCount = 64;
  Recent recent[kRecentCount];

  static std::size_t RecentIndex(const char* data, std::size_t size) {
    const std::uint64_t key = (reinterpret_cast<std::uintptr_t>(data) ^ (size << 48)) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(key >> 58);
  }
  void Clear() {
    programs.clear();
    for (Recent& r : recent) r = Recent{};
  }
};
