// The evaluator's error messages by code (UTF-8). The evaluator never shows
// them; they are there for callers and tools that want to.
#include "calc/calc.h"

std::string_view CALC::ErrorMessage(int code) {
  // Every code has a case, so the compiler names any code added without one.
  switch (static_cast<CalcError>(code)) {
    case kCalcErrorNone: return "";
    case kCalcErrorSyntax: return "Syntax error.";
    case kCalcErrorNumber: return "Chyba v zápisu čísla.";
    case kCalcErrorNotAWord: return "Slovo nezačíná písmenem.";
    case kCalcErrorNotANumber: return "Číslo nezačíná číslicí nebo '.'.";
    case kCalcErrorOperandOverflow: return "Přetečení numerického zásobníku.";
    case kCalcErrorOperatorOverflow: return "Přetečení operátorového zásobníku.";
    case kCalcErrorDivisionByZero: return "Dělení nulou.";
    case kCalcErrorDomain: return "Numerická chyba.";
    case kCalcErrorUnmatchedClose: return "Málo otevíracích závorek.";
    case kCalcErrorUnknownWord: return "Neznámý identifikátor.";
    case kCalcErrorVariableNotFound: return "Proměnná nenalezena.";
    case kCalcErrorUnclosedGroup: return "Chybí uzavírací závorky.";
    case kCalcErrorDoubleOperator: return "Dvojitý operátor.";
    case kCalcErrorNoUserFunction: return "Funkce use# není definovaná.";
    case kCalcErrorTooDeep: return "Příliš mnoho vnoření.";
  }
  // Code 2 (not used) and anything out of range.
  return {};
}
