// The meaning of every operation that depends on its operands alone: the
// functions other than rnd and use1 to use3, and every operator but the
// decimal rounding. One definition serves both the point-by-point engine and
// the column runner, so the two cannot drift apart. Private to calc/.
#pragma once

#include <cmath>
#include <limits>

#include "calc/calc.h"

// Operation codes that read or change anything besides their operands, or
// that make a text of their own: these never go through CalcOperate.
constexpr bool IsOrderDependentCode(int code) { return code >= 19 && code <= 22; }
constexpr bool IsTextCode(int code) { return code == kCodeRoundDecimals; }

// The error an operation can raise: division by zero for the divisions, a
// domain error for everything else that can fail, none when it never fails.
constexpr CalcError PossibleError(int code) {
  switch (code) {
    case 3:
    case 4:
    case 6:
    case 7:
    case 8:
    case 11:
    case 12:
    case kCodePower: return kCalcErrorDomain;
    case kCodeDivide:
    case kCodeRemainder:
    case kCodeRoundMultiple: return kCalcErrorDivisionByZero;
    default: return kCalcErrorNone;
  }
}

// x to the power y; a domain error where the power is undefined (result 0).
inline double CalcPower(double x, double y, int& error) {
  if (x == 0) {
    if (y == 0) return 1.0;
    if (y > 0) return 0.0;
    if (y < 0) {
      error = kCalcErrorDomain;
      return 0.0;
    }
    return std::numeric_limits<double>::quiet_NaN();
  }
  if (x > 0) return std::pow(x, y);
  if (x < 0) {
    if (std::floor(y) == y) {
      const double result = std::pow(-x, y);
      return std::fmod(std::floor(y), 2.0) != 0 ? -result : result;
    }
    error = kCalcErrorDomain;
    return 0.0;
  }
  return std::numeric_limits<double>::quiet_NaN();
}

// The result of operation code as a number, before rounding; functions use
// only right. Sets error (see PossibleError) and returns 0 on failure; a
// syntax error for a code this table does not know.
[[gnu::always_inline]] inline double CalcOperate(int code, double left, double right, int& error) {
  constexpr double kPi = 3.141592653589793;
  const double r = right;
  const double l = left;
  switch (code) {
    case 1: return std::sin(r);
    case 2: return std::cos(r);
    case 3: {
      // cos R = 0 would make the tangent enormous, so only then is it asked.
      const double tangent = std::tan(r);
      if (!(std::fabs(tangent) < 1e15) && std::cos(r) == 0) break;
      return tangent;
    }
    case 4: {
      // sin R = 0 would make the tangent 0, so only then is it asked.
      const double tangent = std::tan(r);
      if (tangent == 0 && std::sin(r) == 0) break;
      return 1.0 / tangent;
    }
    case 5: return std::exp(r);
    case 6:
      if (r <= 0) break;
      return std::log(r);
    case 7:
      if (r < -1 || r > 1) break;
      return std::asin(r);
    case 8:
      if (r < -1 || r > 1) break;
      return std::acos(r);
    case 9: return std::atan(r);
    case 10: return 1.0 / std::atan(r);
    case 11:
      if (r <= 0) break;
      return std::log10(r);
    case 12:
      if (r < 0) break;
      return std::sqrt(r);
    case 13: return std::fabs(r);
    case 14: return std::floor(r);
    case 15: return std::sinh(r);
    case 16: return std::cosh(r);
    case 17: return std::tanh(r);
    case 18: return 1.0 / std::tanh(r);
    case 23: return r * kPi;
    case kCodeNotEqual: return l != r ? 1.0 : 0.0;
    case kCodeRemainder:
      if (r == 0) {
        error = kCalcErrorDivisionByZero;
        return 0.0;
      }
      return l - std::floor(l / r) * r;
    case kCodeRoundMultiple:
      if (r == 0) {
        error = kCalcErrorDivisionByZero;
        return 0.0;
      }
      return std::floor(l / r + 0.5) * r;
    case kCodePercent: return l * r * 0.01;
    case kCodeOr: return l != 0 || r != 0 ? 1.0 : 0.0;
    case kCodeAnd: return l != 0 && r != 0 ? 1.0 : 0.0;
    case kCodeGreaterEqual: return l >= r ? 1.0 : 0.0;
    case kCodeLessEqual: return l <= r ? 1.0 : 0.0;
    case kCodeGreater: return l > r ? 1.0 : 0.0;
    case kCodeLess: return l < r ? 1.0 : 0.0;
    case kCodeEqual: return l == r ? 1.0 : 0.0;
    case kCodeMaximum: return l >= r ? l : r;
    case kCodeMinimum: return r < l ? r : l;
    case kCodeSubtract: return l - r;
    case kCodeAdd: return l + r;
    case kCodeMultiply: return l * r;
    case kCodeDivide:
      if (r == 0) {
        error = kCalcErrorDivisionByZero;
        return 0.0;
      }
      return l / r;
    case kCodePower: return CalcPower(l, r, error);
    case kCodeGroup: return r;
    case kCodeNegate: return -r;
    default: error = kCalcErrorSyntax; return 0.0;
  }
  // Every break above is a domain error.
  error = kCalcErrorDomain;
  return 0.0;
}
