// The scanned form of a statement list: each expression's tokens with the
// scan positions that errors report, so that a text run again and again is
// scanned once. Private to calc/.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

enum class CalcStatementKind : std::uint8_t { Bare, Assignment, StartsWithEquals };

struct CalcStatement {
  CalcStatementKind kind;
  std::int32_t start;          // first character of the statement
  std::int32_t offset;         // first character of its expression
  std::int32_t target_length;  // length of the assignment's target word; 0 if none
  std::uint32_t first_token;
};

struct CalcProgram {
  std::string text;  // the statement list without spaces
  std::vector<CalcStatement> statements;
  std::vector<CalcToken> tokens;
};

// Scans one expression: expression is the text from the expression's start
// to the end of the whole text, which begins at offset in the program text.
void ScanExpression(std::string_view expression, std::int32_t offset, std::vector<CalcToken>& tokens);
// Splits a space-free statement list into statements and scans each.
CalcProgram CompileStatements(std::string text);

struct CalcTextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

struct CalcProgramCache {
  std::unordered_map<std::string, CalcProgram, CalcTextHash, std::equal_to<>> programs;
};
