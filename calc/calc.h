// CALC: a one-pass operator-priority evaluator for statement lists such as
// "a=2;z=sin(t*a)+x*y/e1^2". Every number travels as a value text, so each
// operation's result is rounded to 15 significant digits before it is used
// again. Needs nothing outside calc/, core/ and the standard library.
//
// Operators, loosest first (all binary ones left-associative):
//   0xA4 (rounding to decimals, as text) 200;  & | 248;
//   < > = <= >= <> 249;  { } (min, max) 250;  + - 251;  * / % @ \ 252;
//   ^ 253;  unary - 254;  the 23 functions 255.
// A "-" is the negation only at the start of an expression or right after
// "("; two operators in a row are refused, so write 2*(-3), not 2*-3.
// A statement with "=" in it is an assignment to the word it starts with,
// so comparisons using "=" belong inside one: "z=a<=b", not "a<=b".
// "rnd" draws its integers through CalcRandomBelow (calc/random_source.h).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "calc/calc_error.h"
#include "calc/calc_var.h"
#include "calc/value_text.h"

// Operators that are not a single operator byte, for OperatorCode and Reduce.
enum CalcOperator : int {
  kCalcEnd = 0x100,  // end of an expression
  kCalcGreaterEqual,
  kCalcLessEqual,
  kCalcNotEqual,
};

// Operation codes: 1 to 23 are the functions in table order, then these.
enum CalcCode : int {
  kCodeNotEqual = 226,
  kCodeRoundDecimals = 227,
  kCodeRemainder = 228,
  kCodeRoundMultiple = 229,
  kCodePercent = 230,
  kCodeOr = 231,
  kCodeAnd = 232,
  kCodeGreaterEqual = 233,
  kCodeLessEqual = 234,
  kCodeGreater = 235,
  kCodeLess = 236,
  kCodeEqual = 237,
  kCodeMaximum = 238,
  kCodeMinimum = 239,
  kCodeSubtract = 240,
  kCodeAdd = 241,
  kCodeMultiply = 242,
  kCodeDivide = 243,
  kCodePower = 244,
  kCodeEnd = 245,
  kCodeGroup = 246,
  kCodeNegate = 247,
};

struct CalcOperatorEntry {
  std::uint8_t code;
  std::uint8_t priority;
};

struct CalcProgram;
struct CalcProgramCache;
struct CalcStep;
struct CalcToken;

class CALC {
 public:
  static constexpr int kLevelCount = 32;
  static constexpr int kOperatorSlots = 80;
  static constexpr int kValueSlots = 82;
  static constexpr int kFunctionCount = 23;
  static constexpr std::int32_t function_priority = 255;

  // "use1" to "use3" call these with their argument. A hook runs one level
  // up, so it may evaluate further texts on the same CALC; it reports a
  // failure by leaving `error` non-zero. Empty when not installed.
  using UserFunction = std::function<double(double)>;

  CALC();
  ~CALC();
  CALC(const CALC&) = delete;
  CALC& operator=(const CALC&) = delete;

  std::int32_t level = 0;     // nesting level, 0 except inside a user function
  std::int32_t assigned = 0;  // set by Execute when a statement was an assignment
  std::int32_t error = 0;     // last error code, a CalcError (see ErrorMessage)
  std::int32_t error_pos = 0;
  std::array<UserFunction, 3> use_hook;
  CALC_VAR vars;

  // Runs a statement list separated by ";"; a statement "name=expression"
  // stores its value in vars. Returns the last statement's value text, or
  // the empty text with `error` and `error_pos` set. The text ends at its
  // first zero byte. The returned value is valid until the next Execute or
  // Evaluate at the same level; its characters are only formatted if read.
  // Texts are kept with their scanned form, so running the same texts again
  // and again skips the scanning.
  const ValueText& Execute(std::string_view text);
  // One expression, up to the first ";", on the current level.
  const ValueText& Evaluate(std::string_view text);

  // The scanner's pieces.
  static std::string RemoveSpaces(std::string_view text);
  static bool IsNumberStart(char c) { return (c >= '0' && c <= '9') || c == '.'; }
  static bool IsWordStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
  static bool IsWordChar(char c) { return IsWordStart(c) || (c >= '0' && c <= '9'); }
  static bool IsOpenParen(char c) { return c == '('; }
  static bool IsOperatorChar(char c);
  // Scans the number at pos and moves pos past it; its canonical value text,
  // or the empty text with kCalcErrorNumber (bad exponent) or
  // kCalcErrorNotANumber (no number here).
  std::string ScanNumber(std::string_view text, int& pos);
  // Scans the word at pos and moves pos past it; kCalcErrorNotAWord if none
  // starts there.
  std::string ScanWord(std::string_view text, int& pos);
  // Function id 1 to 23, or 0.
  static int FindFunction(std::string_view word);

  // The evaluation engine's pieces, on the current level. Execute runs
  // texts it has seen before from precomputed steps, which leave the operand
  // slots and the operator count as scanning would, but not the scanner's
  // flags; Evaluate sets everything up afresh.
  void PushValue(std::string_view text);
  void PushOperator(int code, int priority);
  // op is an operator byte or a CalcOperator; kCalcErrorUnmatchedClose for
  // an unmatched ")".
  CalcOperatorEntry OperatorCode(int op);
  void Reduce(int op);
  // One operation on value texts; functions use only right.
  std::string Apply(int code, std::string_view left, std::string_view right);
  double Power(double x, double y);

  // Read-only views of the current level's stacks.
  int OperatorCount() const;
  std::string SlotText(int slot) const;

  // The message for an error code (UTF-8), or the empty text.
  static std::string_view ErrorMessage(int code);

  // The scanned program of a text, held while it runs: Execute's, or a
  // runner's that works through the program outside CALC (CalcColumns). It
  // counts as an Execute in progress meanwhile, so that a full program cache
  // is not cleared under the program a user function's caller still runs.
  // A text the cache does not keep is scanned into scratch.
  class ProgramInUse {
   public:
    ProgramInUse(CALC& calc, std::string_view text, CalcProgram& scratch);
    ~ProgramInUse() { --calc_.executing_; }
    ProgramInUse(const ProgramInUse&) = delete;
    ProgramInUse& operator=(const ProgramInUse&) = delete;
    const CalcProgram& Program() const { return *program_; }

   private:
    CALC& calc_;
    const CalcProgram* program_;
  };

 private:
  enum class SlotForm : std::uint8_t { Empty, Number, Text };
  struct ValueSlot {
    double number = 0.0;  // always TextToFloat of the slot's text
    SlotForm form = SlotForm::Empty;
    std::string text;  // the text when form is Text; a Number's text is FloatToText(number)
  };
  struct Level {
    std::int32_t op_count = 0;
    std::int32_t after_operator = 0;
    std::int32_t unary_allowed = 0;
    std::int32_t paren_depth = 0;
    std::int32_t after_function = 0;
    std::uint8_t op_code[kOperatorSlots] = {};
    std::uint8_t op_priority[kOperatorSlots] = {};
    ValueSlot value[kValueSlots];
    ValueText result;  // what Execute and Evaluate return
  };

  bool LevelInRange();
  // PushValue of a computed value into slots[0], emptying the next two.
  static void SetSlots(ValueSlot* slots, double number) {
    slots[0].number = number;
    slots[0].form = SlotForm::Number;
    slots[1].number = 0.0;
    slots[1].form = SlotForm::Empty;
    slots[2].number = 0.0;
    slots[2].form = SlotForm::Empty;
  }
  void StoreNumber(Level& lv, double number);
  void StoreText(Level& lv, std::string_view text, double number);
  // Carries out operation code on slots k and k + 1 into slot k (op_count
  // must be k); false on error, with slot k untouched.
  bool ApplyEntry(Level& lv, int k, int code);
  // The result of an operation other than 227 as a number.
  double Calculate(int code, double left, double right);
  // Operation 227: writes its text (at most 64 characters) unless the value
  // is passed on unchanged (textLength stays 0).
  double RoundDecimals(double left, double right, char* text, std::size_t& textLength);
  // Stores an operation's result as its value text would read back.
  void StoreResult(Level& lv, double result);
  double CallUserFunction(int index, double argument);
  void TextOf(const ValueSlot& slot, ValueText& out) const;
  bool RunTokens(const CalcToken* token, const std::string& text);
  bool RunSteps(const CalcStep* step, const std::string& text);
  int ResolveVariable(std::int32_t& cached, const std::string& text, std::int32_t start, std::int32_t length);
  const CalcProgram& ProgramFor(std::string_view text, CalcProgram& scratch);

  std::unique_ptr<Level[]> levels_;
  std::unique_ptr<CalcProgramCache> programs_;
  int executing_ = 0;     // Execute calls in progress (user functions nest them)
  ValueText outOfRange_;  // returned when `level` is outside 0 to 31
};
