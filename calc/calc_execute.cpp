// Evaluate and Execute: run scanned expressions token by token on the
// current level's stacks, and statement lists with their assignments.
// Scanned statement lists are kept per text, so a text is scanned once.
#include "calc/calc.h"
#include "calc/calc_program.h"
#include "calc/value_text.h"

namespace {

// Bounds on what is kept: callers run a handful of formulas many times.
constexpr std::size_t kMaxKeptPrograms = 256;
constexpr std::size_t kMaxKeptTextLength = 4096;
// Positions are 32-bit; longer texts are refused.
constexpr std::size_t kMaxTextLength = 0x3FFFFFFF;

std::string_view UpToZeroByte(std::string_view text) {
  std::size_t zero = text.find('\0');
  return zero == std::string_view::npos ? text : text.substr(0, zero);
}

}  // namespace

bool CALC::RunTokens(const CalcToken* token, const std::string& text) {
  error = 0;
  error_pos = 0;
  Level& lv = levels_[level];
  lv.paren_depth = 0;
  lv.op_count = 0;
  lv.value[0].number = 0.0;
  lv.value[0].form = SlotForm::Empty;
  lv.unary_allowed = 1;
  lv.after_function = 0;
  lv.after_operator = 0;
  for (;; ++token) {
    switch (token->kind) {
      case CalcTokenKind::Number:
        if (token->code != 0) {
          StoreResult(lv, token->number);
        } else {
          StoreNumber(lv, token->number);
        }
        if (error != 0) break;
        lv.unary_allowed = 0;
        lv.after_function = 0;
        continue;
      case CalcTokenKind::Variable: {
        lv.after_function = 0;
        int index = ResolveVariable(token->variable, text, token->name_start, token->name_length);
        if (index < 0) {
          error = kCalcErrorUnknownWord;
          break;
        }
        if (vars.IsCanonical(index)) {
          StoreNumber(lv, vars.NumberAt(index));
        } else {
          StoreText(lv, vars.ValueAt(index), vars.NumberAt(index));
        }
        if (error != 0) break;
        lv.unary_allowed = 0;
        continue;
      }
      case CalcTokenKind::Function:
        lv.after_function = 0;
        PushOperator(token->code, function_priority);
        if (error != 0) break;
        lv.after_function = 1;
        continue;
      case CalcTokenKind::Open:
        if (lv.after_operator == 0 && lv.after_function == 0 && token->pos > 0) {
          error = kCalcErrorSyntax;
          error_pos = token->pos;
          return false;
        }
        ++lv.paren_depth;
        PushOperator(kCodeGroup, static_cast<std::uint8_t>(lv.paren_depth));
        if (error != 0) break;
        lv.after_operator = 0;
        lv.unary_allowed = 1;
        lv.after_function = 1;
        continue;
      case CalcTokenKind::Operator:
        if (lv.after_operator != 0) {
          error = kCalcErrorDoubleOperator;
          error_pos = token->pos;
          return false;
        }
        Reduce(token->code);
        if (error != 0) break;
        if (token->code != ')') lv.after_operator = 1;
        lv.after_function = 0;
        continue;
      case CalcTokenKind::Fail:
        error = token->code;
        error_pos = token->pos;
        return false;
      case CalcTokenKind::End:
        Reduce(kCalcEnd);
        if (error == 0 && lv.paren_depth > 0) error = kCalcErrorUnclosedGroup;
        if (error != 0) {
          error_pos = token->pos;
          return false;
        }
        return true;
    }
    // An error while handling the token is reported just after it.
    error_pos = token->next;
    return false;
  }
}

const CalcProgram& CALC::ProgramFor(std::string_view text, CalcProgram& scratch) {
  CalcProgramCache& cache = *programs_;
  CalcProgramCache::Recent& recent = cache.recent[CalcProgramCache::RecentIndex(text.data(), text.size())];
  if (recent.entry != nullptr && recent.data == text.data() && recent.size == text.size() &&
      std::string_view(recent.entry->first) == text) {
    return recent.entry->second;
  }
  auto found = cache.programs.find(text);
  if (found == cache.programs.end()) {
    CalcProgram program = CompileStatements(RemoveSpaces(UpToZeroByte(text)));
    if (text.size() > kMaxKeptTextLength) {
      scratch = std::move(program);
      return scratch;
    }
    if (cache.programs.size() >= kMaxKeptPrograms) {
      // A program may be running further down (a user function's Execute).
      if (executing_ > 1) {
        scratch = std::move(program);
        return scratch;
      }
      cache.Clear();
    }
    found = cache.programs.emplace(std::string(text), std::move(program)).first;
  }
  recent = {text.data(), text.size(), &*found};
  return found->second;
}

CALC::ProgramInUse::ProgramInUse(CALC& calc, std::string_view text, CalcProgram& scratch) : calc_(calc) {
  ++calc_.executing_;
  program_ = &calc_.ProgramFor(text, scratch);
}

const ValueText& CALC::Execute(std::string_view text) {
  error = 0;
  error_pos = 0;
  assigned = 0;
  if (!LevelInRange()) {
    outOfRange_.Clear();
    return outOfRange_;
  }
  Level& lv = levels_[level];
  ValueText& result = lv.result;
  result.Clear();
  if (text.size() > kMaxTextLength) {
    error = kCalcErrorSyntax;
    return result;
  }
  CalcProgram scratch;
  const ProgramInUse use(*this, text, scratch);
  const CalcProgram& program = use.Program();
  for (const CalcStatement& statement : program.statements) {
    if (statement.kind == CalcStatementKind::StartsWithEquals) {
      assigned = 1;
      error = kCalcErrorSyntax;
      result.Clear();
      return result;
    }
    const CalcStep* steps = program.steps.data() + statement.first_step;
    if (statement.kind == CalcStatementKind::Assignment) {
      assigned = 1;
      if (!RunSteps(steps, program.text)) {
        error_pos += statement.offset;
        result.Clear();
        return result;
      }
      if (statement.target_length == 0) {
        error = kCalcErrorNotAWord;
        error_pos = statement.start;
        result.Clear();
        return result;
      }
      TextOf(lv.value[0], result);
      if (statement.target_variable >= 0) {
        vars.error = 0;
        vars.SetAt(statement.target_variable, result);
      } else {
        const std::string_view name =
            std::string_view(program.text)
                .substr(static_cast<std::size_t>(statement.start), static_cast<std::size_t>(statement.target_length));
        vars.SetValue(name, result);
        statement.target_variable = vars.Find(name);
      }
    } else {
      if (!RunSteps(steps, program.text)) {
        result.Clear();
        return result;
      }
      if (&statement == &program.statements.back()) TextOf(lv.value[0], result);
    }
  }
  return result;
}

const ValueText& CALC::Evaluate(std::string_view text) {
  error = 0;
  error_pos = 0;
  if (!LevelInRange()) {
    outOfRange_.Clear();
    return outOfRange_;
  }
  Level& lv = levels_[level];
  lv.result.Clear();
  if (text.size() > kMaxTextLength) {
    error = kCalcErrorSyntax;
    return lv.result;
  }
  CalcProgram program;
  program.text = RemoveSpaces(UpToZeroByte(text));
  ScanExpression(program.text, 0, program.tokens);
  if (RunTokens(program.tokens.data(), program.text)) TextOf(lv.value[0], lv.result);
  return lv.result;
}
