// The scanner: character classes, numbers, words, the function-name table,
// and the splitting of a statement list into scanned expressions.
#include <cmath>

#include "calc/calc.h"
#include "calc/calc_program.h"
#include "calc/value_text.h"

namespace {

// Function ids are positions in this table counted from 1.
constexpr std::string_view kFunctionNames[CALC::kFunctionCount] = {
    "sin", "cos", "tan",  "cotg", "exp",  "ln",    "asin", "acos", "atan", "acotg", "log", "sqr",
    "abs", "int", "sinh", "cosh", "tanh", "cotgh", "rnd",  "use1", "use2", "use3",  "pi"};

constexpr int kLargestExponent = 307;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number: digits, optionally "." and digits, optionally an exponent of
// one to three digits worth at most 307. Moves pos past what it read;
// returns kCalcErrorNone with the number's value, or kCalcErrorNumber for a
// bad exponent.
CalcError ScanNumberAt(std::string_view text, std::size_t& pos, double& value) {
  const std::size_t start = pos;
  const std::size_t size = text.size();
  while (pos < size && IsDigit(text[pos])) ++pos;
  if (pos < size && text[pos] == '.') {
    ++pos;
    while (pos < size && IsDigit(text[pos])) ++pos;
  }
  if (pos < size && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    if (pos < size && (text[pos] == '+' || text[pos] == '-')) ++pos;
    int digits = 0;
    int exponent = 0;
    for (; pos < size && IsDigit(text[pos]); ++pos, ++digits) {
      if (digits < 4) exponent = exponent * 10 + (text[pos] - '0');
    }
    if (digits == 0 || digits > 3 || exponent > kLargestExponent) return kCalcErrorNumber;
  }
  value = ParseValueText(text.substr(start, pos - start));
  return kCalcErrorNone;
}

std::size_t WordEnd(std::string_view text, std::size_t pos) {
  while (pos < text.size() && CALC::IsWordChar(text[pos])) ++pos;
  return pos;
}

// After a number or a variable only the end, ";" or an operator may follow.
bool MayFollowOperand(std::string_view text, std::size_t pos) {
  return pos >= text.size() || text[pos] == ';' || CALC::IsOperatorChar(text[pos]);
}

CalcToken MakeToken(CalcTokenKind kind, std::int32_t code, std::size_t pos, std::size_t next) {
  CalcToken token{kind};
  token.code = code;
  token.pos = static_cast<std::int32_t>(pos);
  token.next = static_cast<std::int32_t>(next);
  return token;
}

}  // namespace

bool CALC::IsOperatorChar(char c) {
  switch (c) {
    case '%':
    case '&':
    case ')':
    case '*':
    case '+':
    case '-':
    case '/':
    case '<':
    case '=':
    case '>':
    case '@':
    case '\\':
    case '^':
    case '{':
    case '}':
    case '|': return true;
    default: return static_cast<unsigned char>(c) == 0xA4;
  }
}

std::string CALC::RemoveSpaces(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c != ' ') result.push_back(c);
  }
  return result;
}

int CALC::FindFunction(std::string_view word) {
  for (int i = 0; i < kFunctionCount; ++i) {
    if (kFunctionNames[i] == word) return i + 1;
  }
  return 0;
}

std::string CALC::ScanNumber(std::string_view text, int& pos) {
  if (pos < 0 || static_cast<std::size_t>(pos) >= text.size() || !IsNumberStart(text[static_cast<std::size_t>(pos)])) {
    error = kCalcErrorNotANumber;
    return {};
  }
  auto at = static_cast<std::size_t>(pos);
  double value = 0;
  const CalcError code = ScanNumberAt(text, at, value);
  pos = static_cast<int>(at);
  if (code != kCalcErrorNone) {
    error = code;
    return {};
  }
  return CALC_VAR::FloatToText(value);
}

std::string CALC::ScanWord(std::string_view text, int& pos) {
  if (pos < 0 || static_cast<std::size_t>(pos) >= text.size() || !IsWordStart(text[static_cast<std::size_t>(pos)])) {
    error = kCalcErrorNotAWord;
    error_pos = pos;
    return {};
  }
  auto start = static_cast<std::size_t>(pos);
  std::size_t end = WordEnd(text, start);
  pos = static_cast<int>(end);
  return std::string(text.substr(start, end - start));
}

void ScanExpression(std::string_view expression, std::int32_t offset, std::vector<CalcToken>& tokens) {
  const std::size_t size = expression.size();
  std::size_t pos = 0;
  // At least one pass, so that an empty expression fails on its end.
  do {
    const char c = pos < size ? expression[pos] : '\0';
    if (c == ';') break;
    if (CALC::IsNumberStart(c)) {
      const std::size_t start = pos;
      double value = 0;
      if (int code = ScanNumberAt(expression, pos, value); code != 0) {
        tokens.push_back(MakeToken(CalcTokenKind::Fail, code, pos, pos));
        return;
      }
      CalcToken token = MakeToken(CalcTokenKind::Number, 0, start, pos);
      token.number = RoundValue(value);
      if (std::isinf(token.number) && std::isfinite(value)) {
        // Its 15-digit text reads back as infinity; keep the finite value for the text.
        token.code = 1;
        token.number = value;
      }
      tokens.push_back(token);
      if (!MayFollowOperand(expression, pos)) {
        tokens.push_back(MakeToken(CalcTokenKind::Fail, kCalcErrorSyntax, pos, pos));
        return;
      }
    } else if (CALC::IsWordStart(c)) {
      const std::size_t start = pos;
      pos = WordEnd(expression, pos);
      if (int id = CALC::FindFunction(expression.substr(start, pos - start)); id != 0) {
        tokens.push_back(MakeToken(CalcTokenKind::Function, id, start, pos));
      } else {
        CalcToken token = MakeToken(CalcTokenKind::Variable, 0, start, pos);
        token.name_start = offset + static_cast<std::int32_t>(start);
        token.name_length = static_cast<std::int32_t>(pos - start);
        tokens.push_back(token);
        if (!MayFollowOperand(expression, pos)) {
          tokens.push_back(MakeToken(CalcTokenKind::Fail, kCalcErrorSyntax, pos, pos));
          return;
        }
      }
    } else if (CALC::IsOpenParen(c)) {
      tokens.push_back(MakeToken(CalcTokenKind::Open, 0, pos, pos + 1));
      ++pos;
    } else if (CALC::IsOperatorChar(c)) {
      const std::size_t start = pos++;
      int op = static_cast<unsigned char>(c);
      const char following = pos < size ? expression[pos] : '\0';
      if (c == '>' && following == '=') {
        op = kCalcGreaterEqual;
      } else if (c == '<' && following == '=') {
        op = kCalcLessEqual;
      } else if (c == '<' && following == '>') {
        op = kCalcNotEqual;
      }
      if (op >= kCalcEnd) ++pos;
      tokens.push_back(MakeToken(CalcTokenKind::Operator, op, start, pos));
    } else {
      tokens.push_back(MakeToken(CalcTokenKind::Fail, kCalcErrorSyntax, pos, pos));
      return;
    }
  } while (pos < size);
  tokens.push_back(MakeToken(CalcTokenKind::End, 0, pos, pos));
}

CalcProgram CompileStatements(std::string text) {
  CalcProgram program;
  program.text = std::move(text);
  const std::string_view all = program.text;
  const std::size_t size = all.size();
  std::size_t start = 0;
  for (;;) {
    std::size_t i = start;
    while (i < size && all[i] != '=' && all[i] != ';') ++i;
    CalcStatement statement{CalcStatementKind::Bare,
                            static_cast<std::int32_t>(start),
                            static_cast<std::int32_t>(start),
                            0,
                            static_cast<std::uint32_t>(program.tokens.size()),
                            static_cast<std::uint32_t>(program.steps.size()),
                            -1};
    if (i < size && all[i] == '=') {
      if (i == start) {
        statement.kind = CalcStatementKind::StartsWithEquals;
        program.statements.push_back(statement);
        break;  // a statement list never gets past this one
      }
      statement.kind = CalcStatementKind::Assignment;
      statement.offset = static_cast<std::int32_t>(i + 1);
      if (CALC::IsWordStart(all[start])) {
        statement.target_length = static_cast<std::int32_t>(WordEnd(all, start) - start);
      }
    }
    ScanExpression(all.substr(static_cast<std::size_t>(statement.offset)), statement.offset, program.tokens);
    CompileSteps(program.tokens.data() + statement.first_token, program.steps);
    program.statements.push_back(statement);
    if (program.tokens.back().kind == CalcTokenKind::Fail) break;  // this statement always fails
    std::size_t next = all.find(';', start);
    if (next == std::string_view::npos || next + 1 >= size) break;
    start = next + 1;
  }
  return program;
}
