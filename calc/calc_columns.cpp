// The column runner: a kept program's steps carried out over whole columns.
// Every operation is CalcOperate, instantiated once per operation code, so
// each step is one loop without a switch in it; results are rounded with
// RoundValues. Trig and pow stay the C library's scalar functions, so no
// result depends on the width of the CPU's vectors. Columns are numbered by
// what they were worked out from, so a column met again is taken as it is.
#include "calc/calc_columns.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "calc/calc.h"
#include "calc/calc_operations.h"
#include "calc/calc_program.h"
#include "calc/round_values.h"
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
    int error = kCalcErrorNone;
    out[i] = CalcOperate(kCode, left[i], right[i], error);
    if constexpr (PossibleError(kCode) != kCalcErrorNone) errors[i] = static_cast<std::uint8_t>(error);
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

// At most this many values are kept in columns worked out before (32 MiB);
// past it new columns are not kept, and the kept ones go before the next run.
constexpr std::size_t kMaxKeptValues = std::size_t{1} << 22;

}  // namespace

std::size_t CalcColumns::NodeKeyHash::operator()(const NodeKey& key) const {
  std::uint64_t hash = key.left * 0x9E3779B97F4A7C15ull;
  hash = (hash ^ (hash >> 29) ^ key.right) * 0xBF58476D1CE4E5B9ull;
  hash ^=
      (static_cast<std::uint64_t>(key.code) << 16) | (static_cast<std::uint64_t>(key.leftForm) << 8) | key.rightForm;
  return static_cast<std::size_t>((hash ^ (hash >> 31)) * 0x94D049BB133111EBull);
}

void CalcColumns::ForgetKeptColumns() {
  nodes_.clear();
  keptCount_ = 0;
}

double* CalcColumns::NextKeptColumn() {
  // Columns are allocated sixteen at a time and kept for the next screens:
  // a block is larger than the allocator keeps for reuse, so freeing it
  // would hand its pages back and fault them in again on the next run.
  constexpr std::size_t kColumnsPerBlock = 16;
  const std::size_t block = keptCount_ / kColumnsPerBlock;
  if (block == keptBlocks_.size()) {
    keptBlocks_.push_back(std::make_unique_for_overwrite<double[]>(kColumnsPerBlock * count_));
  }
  return keptBlocks_[block].get() + (keptCount_ % kColumnsPerBlock) * count_;
}

void CalcColumns::Reset(std::size_t count) {
  // The kept blocks are sized for count_ points.
  if (count != count_) keptBlocks_.clear();
  count_ = count;
  inputCount_ = 0;
  ForgetKeptColumns();
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
  // Columns worked out from the old values are of no use any more.
  inputs_[index].node = nextNode_++;
  ForgetKeptColumns();
}

const CalcColumns::Input* CalcColumns::FindInput(std::string_view name) const {
  for (std::size_t i = 0; i < inputCount_; ++i) {
    if (inputs_[i].name == name) return &inputs_[i];
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
      case CalcStepKind::LoadVariable: filled[k] = filled[k + 1] = filled[k + 2] = true; break;
      case CalcStepKind::CheckVariable: break;
      case CalcStepKind::Fail:
      case CalcStepKind::Done: program.column_fit = CalcColumnFit::Yes; return true;
    }
  }
  return false;
}

bool CalcColumns::Execute(CALC& calc, std::string_view text, std::string_view target, double* results,
                          std::uint8_t* errors, std::int32_t* positions) {
  if (calc.level < 0 || calc.level >= CALC::kLevelCount || text.size() > kMaxTextLength) return false;
  CalcProgram scratch;
  const CALC::ProgramInUse use(calc, text, scratch);
  const CalcProgram& program = use.Program();
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

  if (keptCount_ * count_ >= kMaxKeptValues) ForgetKeptColumns();
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
        const Input* input = FindInput(name);
        const int variable = input != nullptr ? -1 : calc.vars.IndexOf(name);
        if (input == nullptr && variable < 0) {
          FailAll(kCalcErrorUnknownWord, index);
          done = index;
          break;
        }
        if (step.kind == CalcStepKind::CheckVariable) break;
        if (input != nullptr) {
          slots_[k] = Slot{input->values.data(), 0.0, true, input->node};
        } else {
          const double number = calc.vars.NumberAt(variable);
          const double rounded = RoundValue(number);
          slots_[k] = Slot{nullptr, number, std::memcmp(&rounded, &number, sizeof number) == 0};
        }
        slots_[k + 1] = slots_[k + 2] = Slot{};
        break;
      }
      case CalcStepKind::Apply: Apply(step.code, k, index); break;
      case CalcStepKind::Fail:
        FailAll(static_cast<CalcError>(step.code), index);
        done = index;
        break;
      case CalcStepKind::Done: done = index; break;
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
  const auto at = static_cast<std::size_t>(k);
  const Slot left = slots_[at];
  const Slot right = slots_[at + 1];
  const bool mayFail = PossibleError(code) != kCalcErrorNone;
  const bool usesLeft = UsesLeft(code);
  if (code == kCodeGroup && right.rounded) {
    // A closed group passes its value on, and rounding a rounded value
    // changes nothing. A column of slot k + 1 moves with its value, since
    // that slot is reused next.
    if (right.column != nullptr && at + 1 < buffers_.size() && right.column == buffers_[at + 1].data()) {
      Buffer(at);
      std::swap(buffers_[at], buffers_[at + 1]);
      slots_[k] = right;
      slots_[k].column = buffers_[at].data();
    } else {
      slots_[k] = right;
    }
  } else if (left.column == nullptr && right.column == nullptr) {
    // The same at every point: worked out once.
    double result = 0.0;
    std::uint8_t error = 0;
    operation(&left.number, &right.number, &result, &error, 1);
    if (mayFail && error != 0) FailAll(static_cast<CalcError>(error), step);
    slots_[k] = {nullptr, RoundValue(result)};
  } else {
    // Every value of a point is worked out even after an error there, so a
    // column depends on the operands' columns alone, and equal operations on
    // equal operands give equal columns.
    NodeKey key;
    key.code = static_cast<std::uint16_t>(code);
    auto identify = [](const Slot& slot, std::uint64_t& value, std::uint8_t& form) {
      form = slot.column != nullptr ? 2 : 1;
      if (slot.column != nullptr) {
        value = slot.node;
      } else {
        std::memcpy(&value, &slot.number, sizeof value);
      }
    };
    if (usesLeft) identify(left, key.left, key.leftForm);
    identify(right, key.right, key.rightForm);
    auto [found, added] = nodes_.try_emplace(key, Node{nextNode_, nullptr});
    if (added) ++nextNode_;
    Node& node = found->second;
    if (node.kept != nullptr) {
      // Worked out before without an error anywhere: no point fails here now.
      slots_[k] = {node.kept, 0.0, true, node.id};
    } else {
      const double* rightColumn = right.column != nullptr ? right.column : Broadcast(rightCopies_, right.number);
      const double* leftColumn = rightColumn;  // functions do not read their left slot
      if (usesLeft) leftColumn = left.column != nullptr ? left.column : Broadcast(leftCopies_, left.number);
      // Written where the column will be kept if no point fails, else to a
      // spare column: never to slot k's own column, which may be an operand.
      const bool keepable = (keptCount_ + 1) * count_ <= kMaxKeptValues;
      double* out = keepable ? NextKeptColumn() : Buffer(CALC::kValueSlots);
      operation(leftColumn, rightColumn, out, stepErrors_.data(), count_);
      bool anyError = false;
      if (mayFail) {
        for (std::size_t i = 0; i < count_; ++i) {
          const bool first = stepErrors_[i] != 0 && failedCode_[i] == 0;
          failedCode_[i] = first ? stepErrors_[i] : failedCode_[i];
          failedStep_[i] = first ? step : failedStep_[i];
          anyError |= stepErrors_[i] != 0;
        }
      }
      RoundValues(out, count_);
      if (keepable && !anyError) {
        ++keptCount_;
        node.kept = out;
        slots_[k] = {out, 0.0, true, node.id};
      } else if (keepable) {
        double* column = Buffer(at);
        std::copy(out, out + count_, column);
        slots_[k] = {column, 0.0, true, node.id};
      } else {
        Buffer(at);
        std::swap(buffers_[at], buffers_[CALC::kValueSlots]);
        slots_[k] = {buffers_[at].data(), 0.0, true, node.id};
      }
    }
  }
  slots_[k + 1] = slots_[k + 2] = Slot{};
}

void CalcColumns::FailAll(CalcError code, int step) {
  for (std::size_t i = 0; i < count_; ++i) {
    const bool first = failedCode_[i] == 0;
    failedCode_[i] = first ? static_cast<std::uint8_t>(code) : failedCode_[i];
    failedStep_[i] = first ? step : failedStep_[i];
  }
}
