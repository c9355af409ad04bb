// Where "rnd" takes its random integers from. The application points this at
// its own shared generator; until then the C library's rand() is used.
#pragma once

// A function returning an integer from 0 to n-1, and 0 when n is 0.
using RandomBelowFunction = int (*)(int n);

// rand() modulo n; 0 for n == 0 without drawing.
int DefaultCalcRandomBelow(int n);
// Installs the function "rnd" draws from (nullptr restores the default) and
// returns the one installed before. Shared by every CALC in the process.
RandomBelowFunction SetCalcRandomBelow(RandomBelowFunction function);
// Draws through the installed function.
int CalcRandomBelow(int n);
