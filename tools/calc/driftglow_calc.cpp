// driftglow-calc: a command-line front end to CALC. Each statement list
// (from the arguments, or one per line of standard input) runs on one
// shared CALC, so assignments carry over; each prints one result line.
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc.h"
#include "core/version.h"

namespace {

constexpr std::string_view kHelp = R"(Usage: driftglow-calc [--messages] [STATEMENTS...]
       driftglow-calc --version

Runs statement lists through Driftglow's formula evaluator. With arguments,
each argument is one statement list; without, each line of standard input is.
All of them share one set of variables, so an assignment stays for the lines
after it. For each list one line is printed:

  RESULT <tab> ERROR-CODE <tab> ERROR-POSITION

RESULT is the value text of the last statement (empty on an error), the
error code is 0 when all went well, and the position is where scanning
stopped. --messages adds a fourth column with the error's message.

The language:
  numbers      12  1.5  .5  5.  2.5E-10   (exponent at most 307)
  statements   separated by ";"; "name=expression" assigns
  operators    loosest first, all left-associative:
                 ¤ (round to decimals)   & | (and, or)
                 < > = <= >= <>          { } (minimum, maximum)
                 + -                     * / % @ \  (product, quotient,
                 ^ (power)                 percent, round to multiple, remainder)
               "-" negates only at the start or right after "(":
               2*(-3) works, 2*-3 is "two operators in a row"
  functions    sin cos tan cotg exp ln asin acos atan acotg log sqr abs int
               sinh cosh tanh cotgh rnd use1 use2 use3 pi   (pi(2) is 2π)
  Every intermediate result is rounded to 15 significant digits. Spaces are
  ignored; names are case-sensitive. "¤" may be typed in UTF-8. A statement
  with "=" in it is an assignment, so compare inside one: z=a<=b, not a<=b.
  Results too large or undefined read INF, -INF or NAN. A list that ends in
  an operator is not an error: the missing operand counts as 0, so 2+ gives
  2 and 2* gives 0. Lines may end in CR LF.

Examples:
  driftglow-calc '1+2*3' '2^3^2' '-2^2'     prints 7, 64 and 4
  driftglow-calc 'a=2;b=a*3;b+1'            prints 7
  driftglow-calc '1/3*3' 'pi(1)¤2'          prints 0.999999999999999 and 3.14
  driftglow-calc --messages '1/0'           prints the code 8 and "Dělení nulou."
  printf 'x=3\nz=x*x+1\n' | driftglow-calc  prints 3, then 10
)";

// The UTF-8 form of "¤" stands for the evaluator's single-byte operator 0xA4.
std::string FromTerminal(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) == 0xC2 && i + 1 < text.size() &&
        static_cast<unsigned char>(text[i + 1]) == 0xA4) {
      bytes.push_back(static_cast<char>(0xA4));
      ++i;
    } else {
      bytes.push_back(text[i]);
    }
  }
  return bytes;
}

void Run(CALC& calc, std::string_view input, bool messages) {
  std::string result = calc.Execute(FromTerminal(input));
  std::cout << result << '\t' << calc.error << '\t' << calc.error_pos;
  if (messages) std::cout << '\t' << CALC::ErrorMessage(calc.error);
  std::cout << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  bool messages = false;
  std::vector<std::string_view> statements;
  bool optionsDone = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (!optionsDone && (argument == "--help" || argument == "-h")) {
      std::cout << kHelp;
      return 0;
    }
    if (!optionsDone && argument == "--version") {
      std::cout << versionText("driftglow-calc");
      return 0;
    }
    if (!optionsDone && argument == "--messages") {
      messages = true;
    } else if (!optionsDone && argument == "--") {
      optionsDone = true;
    } else {
      statements.push_back(argument);
    }
  }

  CALC calc;
  if (!statements.empty()) {
    for (std::string_view statement : statements) Run(calc, statement, messages);
    return 0;
  }
  std::string line;
  while (std::getline(std::cin, line)) {
    // Lines from Windows editors end in CR LF; the CR is not part of the list.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Run(calc, line, messages);
  }
  return 0;
}
