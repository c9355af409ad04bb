// The evaluation engine: operand and operator stacks per nesting level, the
// operator table, the reduction step and the meaning of every operation.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "calc/calc.h"
#include "calc/calc_operations.h"
#include "calc/calc_program.h"
#include "calc/random_source.h"
#include "calc/value_text.h"

CalcOperatorEntry LookUpOperator(int op, bool unaryAllowed) {
  switch (op) {
    case 0xA4: return {kCodeRoundDecimals, 200};
    case '&': return {kCodeAnd, 248};
    case '|': return {kCodeOr, 248};
    case kCalcNotEqual: return {kCodeNotEqual, 249};
    case kCalcGreaterEqual: return {kCodeGreaterEqual, 249};
    case kCalcLessEqual: return {kCodeLessEqual, 249};
    case '>': return {kCodeGreater, 249};
    case '<': return {kCodeLess, 249};
    case '=': return {kCodeEqual, 249};
    case '}': return {kCodeMaximum, 250};
    case '{': return {kCodeMinimum, 250};
    case '-': return unaryAllowed ? CalcOperatorEntry{kCodeNegate, 254} : CalcOperatorEntry{kCodeSubtract, 251};
    case '+': return {kCodeAdd, 251};
    case '*': return {kCodeMultiply, 252};
    case '/': return {kCodeDivide, 252};
    case '%': return {kCodePercent, 252};
    case '@': return {kCodeRoundMultiple, 252};
    case '\\': return {kCodeRemainder, 252};
    case '^': return {kCodePower, 253};
    case kCalcEnd: return {kCodeEnd, 0};
    default: return {0, 0};
  }
}

CALC::CALC() : levels_(std::make_unique<Level[]>(kLevelCount)), programs_(std::make_unique<CalcProgramCache>()) {}

CALC::~CALC() = default;

bool CALC::LevelInRange() {
  if (level >= 0 && level < kLevelCount) return true;
  error = kCalcErrorTooDeep;
  return false;
}

int CALC::OperatorCount() const {
  if (level < 0 || level >= kLevelCount) return 0;
  return levels_[level].op_count;
}

std::string CALC::SlotText(int slot) const {
  ValueText text;
  if (level >= 0 && level < kLevelCount && slot >= 0 && slot < kValueSlots) TextOf(levels_[level].value[slot], text);
  return text.Text();
}

void CALC::TextOf(const ValueSlot& slot, ValueText& out) const {
  switch (slot.form) {
    case SlotForm::Empty: out.Clear(); break;
    case SlotForm::Number: out.SetNumber(slot.number); break;
    case SlotForm::Text: out.SetText(slot.text, slot.number, false); break;
  }
}

int CALC::ResolveVariable(std::int32_t& cached, const std::string& text, std::int32_t start, std::int32_t length) {
  if (cached >= 0) return cached;
  int index =
      vars.IndexOf(std::string_view(text).substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)));
  if (index >= 0) cached = index;
  return index;
}

bool CALC::RunSteps(const CalcStep* step, const std::string& text) {
  error = 0;
  error_pos = 0;
  Level& lv = levels_[level];
  lv.value[0].number = 0.0;
  lv.value[0].form = SlotForm::Empty;
  for (;; ++step) {
    switch (step->kind) {
      case CalcStepKind::LoadNumber:
        lv.op_count = step->slot;
        if (step->code != 0) {
          StoreResult(lv, step->number);
        } else {
          SetSlots(lv.value + step->slot, step->number);
        }
        continue;
      case CalcStepKind::LoadVariable:
      case CalcStepKind::CheckVariable: {
        int index = ResolveVariable(step->variable, text, step->name_start, step->name_length);
        if (index < 0) {
          error = kCalcErrorUnknownWord;
          break;
        }
        if (step->kind == CalcStepKind::CheckVariable) continue;
        lv.op_count = step->slot;
        if (vars.IsCanonical(index)) {
          SetSlots(lv.value + step->slot, vars.NumberAt(index));
        } else {
          StoreText(lv, vars.ValueAt(index), vars.NumberAt(index));
        }
        continue;
      }
      case CalcStepKind::Apply: {
        const int k = step->slot;
        lv.op_count = k;
        if (step->code == kCodeRoundDecimals || (step->code >= 20 && step->code <= 22)) {
          // Text results and user functions (which may run evaluations of
          // their own) take the general way.
          if (!ApplyEntry(lv, k, step->code)) break;
          continue;
        }
        ValueSlot* slot = lv.value + k;
        const double result = Calculate(step->code, slot[0].number, slot[1].number);
        if (error != 0) break;
        const double magnitude = std::fabs(result);
        if (magnitude < 1e15 && static_cast<double>(static_cast<std::int64_t>(result)) == result) {
          SetSlots(slot, result + 0.0);  // whole numbers are already as their text reads back
        } else if (magnitude < 1e300) {
          SetSlots(slot, RoundValue(result));
        } else {
          StoreResult(lv, result);
        }
        continue;
      }
      case CalcStepKind::Fail: error = step->code; break;
      case CalcStepKind::Done: lv.op_count = step->op_count; return true;
    }
    lv.op_count = step->op_count;
    error_pos = step->pos;
    return false;
  }
}

void CALC::StoreNumber(Level& lv, double number) {
  if (lv.op_count >= kOperatorSlots) {
    error = kCalcErrorOperandOverflow;
    return;
  }
  ValueSlot* slot = lv.value + lv.op_count;
  slot[0].number = number;
  slot[0].form = SlotForm::Number;
  slot[1].number = 0.0;
  slot[1].form = SlotForm::Empty;
  slot[2].number = 0.0;
  slot[2].form = SlotForm::Empty;
  lv.after_operator = 0;
}

void CALC::StoreText(Level& lv, std::string_view text, double number) {
  if (lv.op_count >= kOperatorSlots) {
    error = kCalcErrorOperandOverflow;
    return;
  }
  ValueSlot* slot = lv.value + lv.op_count;
  slot[0].number = number;
  if (text.empty()) {
    slot[0].form = SlotForm::Empty;
  } else {
    slot[0].form = SlotForm::Text;
    slot[0].text.assign(text.data(), text.size());
  }
  slot[1].number = 0.0;
  slot[1].form = SlotForm::Empty;
  slot[2].number = 0.0;
  slot[2].form = SlotForm::Empty;
  lv.after_operator = 0;
}

void CALC::StoreResult(Level& lv, double result) {
  double rounded = RoundValue(result);
  if (std::isinf(rounded) && std::isfinite(result)) {
    // Near the largest double the 15-digit text reads back as infinity; the
    // text itself is still the finite one.
    char buffer[kValueTextCapacity];
    StoreText(lv, std::string_view(buffer, FormatValueText(result, buffer)), rounded);
    return;
  }
  StoreNumber(lv, rounded);
}

void CALC::PushValue(std::string_view text) {
  if (!LevelInRange()) return;
  StoreText(levels_[level], text, ParseValueText(text));
}

void CALC::PushOperator(int code, int priority) {
  if (!LevelInRange()) return;
  Level& lv = levels_[level];
  if (lv.op_count >= kOperatorSlots) {
    error = kCalcErrorOperatorOverflow;
    return;
  }
  lv.op_code[lv.op_count] = static_cast<std::uint8_t>(code);
  lv.op_priority[lv.op_count] = static_cast<std::uint8_t>(priority);
  ++lv.op_count;
}

CalcOperatorEntry CALC::OperatorCode(int op) {
  error = 0;
  error_pos = 0;
  if (!LevelInRange()) return {0, 0};
  Level& lv = levels_[level];
  if (op == ')') {
    // A group closes with the priority of its opener: its depth.
    CalcOperatorEntry entry{kCodeGroup, static_cast<std::uint8_t>(lv.paren_depth)};
    if (--lv.paren_depth < 0) error = kCalcErrorUnmatchedClose;
    return entry;
  }
  CalcOperatorEntry entry = LookUpOperator(op, lv.unary_allowed != 0);
  if (entry.code == 0) error = kCalcErrorSyntax;
  return entry;
}

void CALC::Reduce(int op) {
  error = 0;
  CalcOperatorEntry incoming = OperatorCode(op);
  if (error != 0) return;
  Level& lv = levels_[level];
  if (lv.op_count == 0) {
    PushOperator(incoming.code, incoming.priority);
    return;
  }
  bool closed = false;
  unsigned top = lv.op_priority[lv.op_count - 1];
  while (incoming.priority <= top && lv.op_count > 0 && !closed) {
    const int k = --lv.op_count;
    const int code = lv.op_code[k];
    if (!ApplyEntry(lv, k, code)) return;
    if (code == kCodeGroup) closed = true;
    if (lv.op_count > 0) top = lv.op_priority[lv.op_count - 1];
  }
  if (!closed) PushOperator(incoming.code, incoming.priority);
}

bool CALC::ApplyEntry(Level& lv, int k, int code) {
  error = 0;
  const double left = lv.value[k].number;
  const double right = lv.value[k + 1].number;
  // op_count is k now, so the result lands in slot k.
  if (code == kCodeRoundDecimals) {
    char text[64];
    std::size_t textLength = 0;
    double result = RoundDecimals(left, right, text, textLength);
    if (error != 0) return false;
    if (textLength > 0) {
      StoreText(lv, std::string_view(text, textLength), result);
    } else {
      StoreResult(lv, result);
    }
    return true;
  }
  double result = Calculate(code, left, right);
  if (error != 0) return false;
  StoreResult(lv, result);
  return true;
}

std::string CALC::Apply(int code, std::string_view left, std::string_view right) {
  error = 0;
  char text[64];
  std::size_t textLength = 0;
  const double l = ParseValueText(left);
  const double r = ParseValueText(right);
  double result = code == kCodeRoundDecimals ? RoundDecimals(l, r, text, textLength) : Calculate(code, l, r);
  if (error != 0 && code != kCodePower) return {};
  if (textLength > 0) return std::string(text, textLength);
  return CALC_VAR::FloatToText(result);
}

double CALC::Power(double x, double y) {
  error = 0;
  return CalcPower(x, y, error);
}

double CALC::CallUserFunction(int index, double argument) {
  const UserFunction& hook = use_hook[static_cast<std::size_t>(index)];
  if (!hook) {
    error = kCalcErrorNoUserFunction;
    return 0.0;
  }
  if (level + 1 >= kLevelCount) {
    error = kCalcErrorTooDeep;
    return 0.0;
  }
  const std::int32_t saved = level;
  ++level;
  double result = hook(argument);
  level = saved;
  return result;
}

double CALC::RoundDecimals(double left, double right, char* text, std::size_t& textLength) {
  if (!(right >= 0 && right < 16)) {
    error = kCalcErrorDomain;
    return 0.0;
  }
  // Very large and very small values stay as they are.
  if (std::isnan(left) || left <= -1e15 || left >= 1e15 || (left != 0 && left >= -1e-15 && left <= 1e-15)) {
    return left;
  }
  auto written = std::to_chars(text, text + 64, left, std::chars_format::fixed, static_cast<int>(right));
  textLength = static_cast<std::size_t>(written.ptr - text);
  return ParseValueText(std::string_view(text, textLength));
}

double CALC::Calculate(int code, double left, double right) {
  switch (code) {
    case 19: {
      // The count must fit a 32-bit integer (NaN does not).
      const double magnitude = std::fabs(right);
      if (!(magnitude < 2147483648.0)) {
        error = kCalcErrorDomain;
        return 0.0;
      }
      return CalcRandomBelow(static_cast<int>(magnitude));
    }
    case 20:
    case 21:
    case 22: return CallUserFunction(code - 20, right);
    default: {
      int failure = 0;
      const double result = CalcOperate(code, left, right, failure);
      if (failure != 0) error = failure;
      return result;
    }
  }
}
