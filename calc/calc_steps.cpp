// Turns a scanned expression into its steps: runs the scanner's state
// machine and the reduction rules on the operators alone, exactly as
// Evaluate and Reduce do, and records each push and operation.
#include "calc/calc_program.h"

namespace {

class StepCompiler {
 public:
  explicit StepCompiler(std::vector<CalcStep>& steps) : steps_(steps) {}

  void Run(const CalcToken* token) {
    for (;; ++token) {
      switch (token->kind) {
        case CalcTokenKind::Number: {
          if (opCount_ >= CALC::kOperatorSlots) return Fail(kCalcErrorOperandOverflow, token->next);
          CalcStep& step = Add(CalcStepKind::LoadNumber, token->next);
          step.code = static_cast<std::uint8_t>(token->code);
          step.slot = static_cast<std::int16_t>(opCount_);
          step.number = token->number;
          afterOperator_ = false;
          unaryAllowed_ = false;
          afterFunction_ = false;
          break;
        }
        case CalcTokenKind::Variable: {
          afterFunction_ = false;
          const bool full = opCount_ >= CALC::kOperatorSlots;
          CalcStep& step = Add(full ? CalcStepKind::CheckVariable : CalcStepKind::LoadVariable, token->next);
          step.slot = static_cast<std::int16_t>(full ? 0 : opCount_);
          step.name_start = token->name_start;
          step.name_length = token->name_length;
          if (full) return Fail(kCalcErrorOperandOverflow, token->next);
          afterOperator_ = false;
          unaryAllowed_ = false;
          break;
        }
        case CalcTokenKind::Function:
          afterFunction_ = false;
          if (!Push(token->code, CALC::function_priority)) return Fail(kCalcErrorOperatorOverflow, token->next);
          afterFunction_ = true;
          break;
        case CalcTokenKind::Open:
          if (!afterOperator_ && !afterFunction_ && token->pos > 0) return Fail(kCalcErrorSyntax, token->pos);
          ++parenDepth_;
          if (!Push(kCodeGroup, static_cast<std::uint8_t>(parenDepth_)))
            return Fail(kCalcErrorOperatorOverflow, token->next);
          afterOperator_ = false;
          unaryAllowed_ = true;
          afterFunction_ = true;
          break;
        case CalcTokenKind::Operator:
          if (afterOperator_) return Fail(kCalcErrorDoubleOperator, token->pos);
          if (!Reduce(token->code, token->next)) return;
          if (token->code != ')') afterOperator_ = true;
          afterFunction_ = false;
          break;
        case CalcTokenKind::Fail: return Fail(static_cast<CalcError>(token->code), token->pos);
        case CalcTokenKind::End:
          if (!Reduce(kCalcEnd, token->pos)) return;
          if (parenDepth_ > 0) return Fail(kCalcErrorUnclosedGroup, token->pos);
          Add(CalcStepKind::Done, token->pos);
          return;
      }
    }
  }

 private:
  CalcStep& Add(CalcStepKind kind, std::int32_t pos) {
    CalcStep& step = steps_.emplace_back(CalcStep{kind});
    step.pos = pos;
    step.op_count = static_cast<std::int16_t>(opCount_);
    return step;
  }

  void Fail(CalcError code, std::int32_t pos) { Add(CalcStepKind::Fail, pos).code = static_cast<std::uint8_t>(code); }

  bool Push(int code, int priority) {
    if (opCount_ >= CALC::kOperatorSlots) return false;
    opCode_[opCount_] = static_cast<std::uint8_t>(code);
    opPriority_[opCount_] = static_cast<std::uint8_t>(priority);
    ++opCount_;
    return true;
  }

  // Reduce with the incoming operator; false (with a Fail step) on error.
  bool Reduce(int op, std::int32_t pos) {
    CalcOperatorEntry incoming;
    if (op == ')') {
      incoming = {kCodeGroup, static_cast<std::uint8_t>(parenDepth_)};
      if (--parenDepth_ < 0) {
        Fail(kCalcErrorUnmatchedClose, pos);
        return false;
      }
    } else {
      incoming = LookUpOperator(op, unaryAllowed_);
    }
    bool closed = false;
    if (opCount_ > 0) {
      unsigned top = opPriority_[opCount_ - 1];
      while (incoming.priority <= top && opCount_ > 0 && !closed) {
        const int k = --opCount_;
        CalcStep& step = Add(CalcStepKind::Apply, pos);
        step.code = opCode_[k];
        step.slot = static_cast<std::int16_t>(k);
        afterOperator_ = false;  // storing the result clears it
        if (opCode_[k] == kCodeGroup) closed = true;
        if (opCount_ > 0) top = opPriority_[opCount_ - 1];
      }
    }
    if (!closed && !Push(incoming.code, incoming.priority)) {
      Fail(kCalcErrorOperatorOverflow, pos);
      return false;
    }
    return true;
  }

  std::vector<CalcStep>& steps_;
  int opCount_ = 0;
  int parenDepth_ = 0;
  bool afterOperator_ = false;
  bool unaryAllowed_ = true;
  bool afterFunction_ = false;
  std::uint8_t opCode_[CALC::kOperatorSlots] = {};
  std::uint8_t opPriority_[CALC::kOperatorSlots] = {};
};

}  // namespace

void CompileSteps(const CalcToken* tokens, std::vector<CalcStep>& steps) { StepCompiler(steps).Run(tokens); }
