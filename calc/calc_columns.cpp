// The column runner: a kept program's steps carried out over whole columns.
// Every operation is CalcOperate, instantiated once per operation code, so
// each step is one loop without a switch in it; results are rounded with
// RoundValues. Trig and pow stay the C library's scalar functions, so no
// result depends on the width of the CPU's vectors.
#include "calc/calc_columns.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "calc/calc.h"
#include "calc/calc_operations.h"
#include "calc/calc_program.h"
#include "calc/value_text.h"

namespace {

using ColumnOperation = void (*)(const double* left, const double* right, double* out, std::uint8_t* errors,
                                 std::size_t count);

// Operations whose left operand is read: the binary operators.
constexpr bool UsesLeft(int code) { return code >= kCodeNotEqual && code <= kCodePower; }

constexpr bool IsColumnCode(int code) {
  return (code >= 1 && code <= 23 && !IsOrderDependentCode(code)) ||
         (code >= kCodeNotEqual && code <= kCodeNegate && code != kCodeEnd && !IsTextCode(code));
}

// out[i] = operation code on left[i] and right[i]; errors[i] = its error
// code, written only for operations that can fail. out never overlaps the
// operands.
template <int kCode>
void RunOperation(const double* left, const double* right, double* out, std::uint8_t* errors, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    int error = 0;
    out[i] = CalcOperate(kCode, left[i], right[i], error);
    if constexpr (PossibleError(kCode) != 0) errors[i] = static_cast<std::uint8_t>(error);
  }
}

template <int kCode>
constexpr ColumnOperation OperationEntry() {
  if constexpr (IsColumnCode(kCode)) {
    return &RunOperation<kCode>;
  } else {
    return nullptr;
  }
}

template <std::size_t... kCodes>
constexpr std::array<ColumnOperation, sizeof...(kCodes)> MakeOperationTable(std::index_sequence<kCodes...>) {
  return {OperationEntry<static_cast<int>(kCodes)>()...};
}

constexpr std::array<ColumnOperation, 256> kOperations = MakeOperationTable(std::make_index_sequence<256>());

// Positions are 32-bit; Execute refuses longer texts.
constexpr std::size_t kMaxTextLength = 0x3FFFFFFF;

}  // namespace

void CalcColumns::Reset(std::size_t count) {
  count_ = count;
  inputCount_ = 0;
}

void CalcColumns::SetInput(std::string_view name, const double* values) {
  std::size_t index = 0;
  while (index < inputCount_ && inputs_[index].name != name) ++index;
  if (index == inputCount_) {
    if (inputCount_ == inputs_.size()) inputs_.emplace_back();
    inputs_[index].name.assign(name);
    ++inputCount_;
  }
  std::vector<double>& column = inputs_[index].values;
  column.assign(values, values + count_);
  RoundValues(column.data(), column.size());
}

const double* CalcColumns::InputColumn(std::string_view name) const {
  for (std::size_t i = 0; i < inputCount_; ++i) {
    if (inputs_[i].name == name) return inputs_[i].values.data();
  }
  return nullptr;
}

double* CalcColumns::Buffer(std::size_t index) {
  if (buffers_.size() <= index) buffers_.resize(index + 1);
  buffers_[index].resize(count_);
  return buffers_[index].data();
}

const double* CalcColumns::Broadcast(std::vector<double>& buffer, double number) {
  buffer.assign(count_, number);
  return buffer.data();
}

bool CalcColumns::Qualifies(const CalcProgram& program) {
  if (program.column_fit != CalcColumnFit::Unknown) return program.column_fit == CalcColumnFit::Yes;
  program.column_fit = CalcColumnFit::No;
  if (program.statements.size() != 1) return false;
  const CalcStatement& statement = program.statements.front();
  if (statement.kind != CalcStatementKind::Assignment || statement.target_length == 0) return false;
  // Slots the program fills before it reads them; slot 0 starts out empty.
  std::array<bool, CALC::kValueSlots + 2> filled{};
  filled[0] = true;
  for (std::size_t s = statement.first_step; s < program.steps.size(); ++s) {
    const CalcStep& step = program.steps[s];
    const auto k = static_cast<std::size_t>(step.slot);
    switch (step.kind) {
      case CalcStepKind::Apply:
        if (!IsColumnCode(step.code) || !filled[k + 1] || (UsesLeft(step.code) && !filled[k])) return false;
        [[fallthrough]];
      case CalcStepKind::LoadNumber:
      case CalcStepKind::LoadVariable:
        filled[k] = filled[k + 1] = filled[k + 2] = true;
        break;
      case CalcStepKind::CheckVariable:
        break;
      case CalcStepKind::Fail:
      case CalcStepKind::Done:
        program.column_fit = CalcColumnFit::Yes;
        return true;
    }
  }
  return false;
}

bool CalcColumns::Execute(CALC& calc, std::string_view text, std::string_view target, double* results,
                          std::uint8_t* errors, std::int32_t* positions) {
  if (calc.level < 0 || calc.level >= CALC::kLevelCount || text.size() > kMaxTextLength) return false;
  // Counted like Execute, so that a full cache is not cleared under a
  // program that a user function's caller is still running.
  struct Running {
    int& count;
    explicit Running(int& c) : count(++c) {}
    ~Running() { --count; }
  } running(calc.executing_);
  CalcProgram scratch;
  const CalcProgram& program = calc.ProgramFor(text, scratch);
  if (!Qualifies(program)) return false;
  const CalcStatement& statement = program.statements.front();
  const std::string_view programText = program.text;
  auto nameAt = [programText](std::int32_t start, std::int32_t length) {
    return programText.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
  };
  if (nameAt(statement.start, statement.target_length) != target) return false;
  for (std::size_t s = statement.first_step; s < program.steps.size(); ++s) {
    const CalcStep& step = program.steps[s];
    if ((step.kind == CalcStepKind::LoadVariable || step.kind == CalcStepKind::CheckVariable) &&
        nameAt(step.name_start, step.name_length) == target) {
      return false;
    }
    if (step.kind == CalcStepKind::Done || step.kind == CalcStepKind::Fail) break;
  }

  failedCode_.assign(count_, 0);
  failedStep_.assign(count_, 0);
  stepErrors_.assign(count_, 0);
  slots_.assign(CALC::kValueSlots + 2, Slot{});
  const CalcStep* steps = program.steps.data();
  int done = -1;
  for (std::size_t s = statement.first_step; done < 0; ++s) {
    const CalcStep& step = steps[s];
    const int k = step.slot;
    const int index = static_cast<int>(s);
    switch (step.kind) {
      case CalcStepKind::LoadNumber:
        slots_[k] = {nullptr, step.code != 0 ? RoundValue(step.number) : step.number};
        slots_[k + 1] = slots_[k + 2] = Slot{};
        break;
      case CalcStepKind::LoadVariable:
      case CalcStepKind::CheckVariable: {
        const std::string_view name = nameAt(step.name_start, step.name_length);
        const double* column = InputColumn(name);
        const int variable = column != nullptr ? -1 : calc.vars.IndexOf(name);
        if (column == nullptr && variable < 0) {
          FailAll(11, index);
          done = index;
          break;
        }
        if (step.kind == CalcStepKind::CheckVariable) break;
        if (column != nullptr) {
          slots_[k] = Slot{column, 0.0, true};
        } else {
          const double number = calc.vars.NumberAt(variable);
          const double rounded = RoundValue(number);
          slots_[k] = Slot{nullptr, number, std::memcmp(&rounded, &number, sizeof number) == 0};
        }
        slots_[k + 1] = slots_[k + 2] = Slot{};
        break;
      }
      case CalcStepKind::Apply:
        Apply(step.code, k, index);
        break;
      case CalcStepKind::Fail:
        FailAll(step.code, index);
        done = index;
        break;
      case CalcStepKind::Done:
        done = index;
        break;
    }
  }

  const Slot result = slots_[0];
  for (std::size_t i = 0; i < count_; ++i) {
    errors[i] = failedCode_[i];
    if (failedCode_[i] == 0) results[i] = result.column != nullptr ? result.column[i] : result.number;
  }
  if (positions != nullptr) {
    for (std::size_t i = 0; i < count_; ++i) {
      positions[i] = failedCode_[i] == 0 ? 0 : steps[failedStep_[i]].pos + statement.offset;
    }
  }
  return true;
}

void CalcColumns::Apply(int code, int k, int step) {
  const ColumnOperation operation = kOperations[static_cast<std::size_t>(code)];
  const Slot left = slots_[static_cast<std::size_t>(k)];
  const Slot right = slots_[static_cast<std::size_t>(k) + 1];
  const bool mayFail = PossibleError(code) != 0;
  if (code == kCodeGroup && right.rounded) {
    // A closed group passes its value on, and rounding a rounded value
    // changes nothing. A column of slot k + 1 moves with its value, since
    // that slot is reused next.
    const auto next = static_cast<std::size_t>(k) + 1;
    if (right.column != nullptr && next < buffers_.size() && right.column == buffers_[next].data()) {
      Buffer(static_cast<std::size_t>(k));
      std::swap(buffers_[static_cast<std::size_t>(k)], buffers_[next]);
      slots_[k] = {buffers_[static_cast<std::size_t>(k)].data(), 0.0, true};
    } else {
      slots_[k] = right;
    }
  } else if (left.column == nullptr && right.column == nullptr) {
    // The same at every point: worked out once.
    double result = 0.0;
    std::uint8_t error = 0;
    operation(&left.number, &right.number, &result, &error, 1);
    if (mayFail && error != 0) FailAll(error, step);
    slots_[k] = {nullptr, RoundValue(result)};
  } else {
    const double* rightColumn = right.column != nullptr ? right.column : Broadcast(rightCopies_, right.number);
    const double* leftColumn = rightColumn;  // functions do not read their left slot
    if (UsesLeft(code)) leftColumn = left.column != nullptr ? left.column : Broadcast(leftCopies_, left.number);
    // Written to a spare column first: slot k's own column may be an operand.
    double* out = Buffer(CALC::kValueSlots);
    operation(leftColumn, rightColumn, out, stepErrors_.data(), count_);
    if (mayFail) {
      for (std::size_t i = 0; i < count_; ++i) {
        const bool first = stepErrors_[i] != 0 && failedCode_[i] == 0;
        failedCode_[i] = first ? stepErrors_[i] : failedCode_[i];
        failedStep_[i] = first ? step : failedStep_[i];
      }
    }
    RoundValues(out, count_);
    Buffer(static_cast<std::size_t>(k));
    std::swap(buffers_[static_cast<std::size_t>(k)], buffers_[CALC::kValueSlots]);
    slots_[k] = {buffers_[static_cast<std::size_t>(k)].data(), 0.0};
  }
  slots_[k + 1] = slots_[k + 2] = Slot{};
}

void CalcColumns::FailAll(int code, int step) {
  for (std::size_t i = 0; i < count_; ++i) {
    const bool first = failedCode_[i] == 0;
    failedCode_[i] = first ? static_cast<std::uint8_t>(code) : failedCode_[i];
    failedStep_[i] = first ? step : failedStep_[i];
  }
}
