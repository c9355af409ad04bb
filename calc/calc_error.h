// The evaluator's error codes, which CALC leaves in `error`, the column
// runner reports per point and CALC::ErrorMessage turns into text. Both
// runners must give the same code for the same failure, so they name them
// here. No dependencies.
#pragma once

enum CalcError : int {
  kCalcErrorNone = 0,
  kCalcErrorSyntax = 1,  // unexpected character, "(" after an operand, statement starting with "="
  // Code 2 is not used.
  kCalcErrorNumber = 3,             // bad exponent in a number
  kCalcErrorNotAWord = 4,           // no word where one must start (an assignment's target)
  kCalcErrorNotANumber = 5,         // no number where ScanNumber was asked for one
  kCalcErrorOperandOverflow = 6,    // operand stack full
  kCalcErrorOperatorOverflow = 7,   // operator stack full
  kCalcErrorDivisionByZero = 8,     // "/", "\" or "@" by zero
  kCalcErrorDomain = 9,             // argument outside a function's domain, bad power or decimal count
  kCalcErrorUnmatchedClose = 10,    // ")" without an open group
  kCalcErrorUnknownWord = 11,       // neither a function nor a variable
  kCalcErrorVariableNotFound = 12,  // a variable read that fails
  kCalcErrorUnclosedGroup = 13,     // a group still open at the end
  kCalcErrorDoubleOperator = 14,    // an operator right after another
  kCalcErrorNoUserFunction = 15,    // use1 to use3 with no function installed
  kCalcErrorTooDeep = 16,           // more nested evaluation levels than there are
};
