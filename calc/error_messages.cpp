// The evaluator's error messages by code (UTF-8). The evaluator never shows
// them; they are there for callers and tools that want to.
#include <iterator>

#include "calc/calc.h"

namespace {
constexpr std::string_view kMessages[] = {
    "",
    "Syntax error.",
    "",
    "Chyba v zápisu čísla.",
    "Slovo nezačíná písmenem.",
    "Číslo nezačíná číslicí nebo '.'.",
    "Přetečení numerického zásobníku.",
    "Přetečení operátorového zásobníku.",
    "Dělení nulou.",
    "Numerická chyba.",
    "Málo otevíracích závorek.",
    "Neznámý identifikátor.",
    "Proměnná nenalezena.",
    "Chybí uzavírací závorky.",
    "Dvojitý operátor.",
    "Funkce use# není definovaná.",
    "Příliš mnoho vnoření.",
};
}  // namespace

std::string_view CALC::ErrorMessage(int code) {
  if (code < 0 || code >= static_cast<int>(std::size(kMessages))) return {};
  return kMessages[code];
}
