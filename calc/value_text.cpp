// Conversions between doubles and value texts. Rounding to 15 significant
// digits is exact (ties to even, as printf does); a scaled multiply with an
// exact error term settles the common cases and std::to_chars the rest.
#include "calc/value_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>

namespace {

// Every power of ten up to 1e22 is exact in a double.
constexpr double kPowersOfTen[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                     1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t kFifteenDigits = 100000000000000ull;  // 1e14
constexpr int kMaxExactPower = 22;

// |v| rounded to 15 significant digits is digits × 10^-shift, with
// 1e14 <= digits < 1e15.
struct Digits15 {
  std::uint64_t digits;
  int shift;
};

Digits15 NormalizeCarry(std::uint64_t digits, int shift) {
  if (digits >= 10 * kFifteenDigits) return {kFifteenDigits, shift - 1};
  return {digits, shift};
}

// Exact rounding through the standard library (Ryu-style printf digits).
Digits15 SlowDigits(double magnitude) {
  char buffer[48];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
  // The text is d.dddddddddddddde±XX.
  std::uint64_t digits = static_cast<std::uint64_t>(buffer[0] - '0');
  for (int i = 2; i < 16; ++i) digits = digits * 10 + static_cast<std::uint64_t>(buffer[i] - '0');
  const char* p = buffer + 17;
  bool negative = *p == '-';
  ++p;
  int exponent = 0;
  for (; p < result.ptr; ++p) exponent = exponent * 10 + (*p - '0');
  if (negative) exponent = -exponent;
  return NormalizeCarry(digits, 14 - exponent);
}

// The common case without text: false when the answer is not certain.
bool FastDigits(double magnitude, Digits15& out) {
  std::uint64_t bits;
  std::memcpy(&bits, &magnitude, sizeof bits);
  const int binaryExponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
  // floor(binaryExponent * log10(2)): the decimal exponent, or one below it.
  int shift = 14 - ((binaryExponent * 78913) >> 18);
  double scaled;
  if (shift >= 1 && shift <= kMaxExactPower) {
    // Both candidates at once, then pick the one with 15 integer digits.
    const double low = magnitude * kPowersOfTen[shift];
    const double high = magnitude * kPowersOfTen[shift - 1];
    const bool tooMany = low >= 1e15;
    scaled = tooMany ? high : low;
    shift -= tooMany ? 1 : 0;
  } else {
    if (shift < -kMaxExactPower || shift > kMaxExactPower) return false;
    scaled = shift >= 0 ? magnitude * kPowersOfTen[shift] : magnitude / kPowersOfTen[-shift];
    if (scaled >= 1e15) {
      if (--shift < -kMaxExactPower) return false;
      scaled = shift >= 0 ? magnitude * kPowersOfTen[shift] : magnitude / kPowersOfTen[-shift];
    }
  }
  // Too close to a change in the number of digits to trust the product.
  if (scaled < 1e14 + 1.0 || scaled > 1e15 - 1.0) return false;
  const auto base = static_cast<std::uint64_t>(scaled);
  const double fraction = scaled - static_cast<double>(base);
  std::uint64_t digits;
  // The scaled value is within 1/16 of the true one (half a unit in the
  // last place below 2^50), so outside that band around .5 it decides.
  if (std::fabs(fraction - 0.5) > 0.0625) {
    digits = base + (fraction > 0.5 ? 1 : 0);
  } else if (shift >= 0) {
    // The product's rounding error, exactly: the true scaled value is
    // scaled + error, so the sign of fraction - 0.5 + error decides.
    const double error = std::fma(magnitude, kPowersOfTen[shift], -scaled);
    const double side = (fraction - 0.5) + error;
    if (side > 0) {
      digits = base + 1;
    } else if (side < 0) {
      digits = base;
    } else {
      digits = base + (base & 1);
    }
  } else {
    return false;
  }
  out = NormalizeCarry(digits, shift);
  return true;
}

Digits15 RoundToDigits(double magnitude) {
  Digits15 result;
  if (FastDigits(magnitude, result)) return result;
  return SlowDigits(magnitude);
}

// Correctly rounded double of digits × 10^-shift (digits < 2^53).
double DigitsToDouble(std::uint64_t digits, int shift) {
  if (shift >= 0 && shift <= kMaxExactPower) return static_cast<double>(digits) / kPowersOfTen[shift];
  if (shift < 0 && shift >= -kMaxExactPower) return static_cast<double>(digits) * kPowersOfTen[-shift];
  char buffer[48];
  char* end = std::to_chars(buffer, buffer + 24, digits).ptr;  // at most 16 digits
  *end++ = 'e';
  end = std::to_chars(end, buffer + sizeof buffer, -shift).ptr;
  double value = 0;
  auto result = std::from_chars(buffer, end, value);
  if (result.ec == std::errc::result_out_of_range) {
    return shift < 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return value;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Near a tie the product's exact rounding error decides; kept out of line so
// that the common path needs no call.
[[gnu::noinline]] std::uint64_t DigitsNearTie(double magnitude, int shift, double scaled, std::uint64_t base,
                                              double fraction) {
  const double side = (fraction - 0.5) + std::fma(magnitude, kPowersOfTen[shift], -scaled);
  return side > 0 ? base + 1 : side < 0 ? base : base + (base & 1);
}

// Writes exactly count decimal digits of value, two at a time.
void WriteDigits(std::uint64_t value, int count, char* out) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  int i = count;
  while (i >= 2) {
    const auto pair = static_cast<std::size_t>(value % 100) * 2;
    value /= 100;
    out[--i] = kPairs[pair + 1];
    out[--i] = kPairs[pair];
  }
  if (i == 1) out[0] = static_cast<char>('0' + value);
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::size_t FormatValueText(double v, char* out) {
  if (std::isnan(v)) {
    out[0] = 'N', out[1] = 'A', out[2] = 'N';
    return 3;
  }
  char* p = out;
  if (v < 0) *p++ = '-';
  if (std::isinf(v)) {
    p[0] = 'I', p[1] = 'N', p[2] = 'F';
    return static_cast<std::size_t>(p + 3 - out);
  }
  if (v == 0) {
    out[0] = '0';
    return 1;
  }
  if (std::fabs(v) < 1e15) {
    // Whole numbers below 1e15 are written as they are.
    const auto whole = static_cast<std::int64_t>(v);
    if (static_cast<double>(whole) == v) return static_cast<std::size_t>(std::to_chars(out, out + 24, whole).ptr - out);
  }
  Digits15 rounded = RoundToDigits(std::fabs(v));
  // The 15 digits without their trailing zeros.
  std::uint64_t significant = rounded.digits;
  int count = 15;
  while (significant % 10 == 0) {
    significant /= 10;
    --count;
  }
  char digits[16];
  WriteDigits(significant, count, digits);
  // |v| = 0.d1...dk × 10^exponent
  int exponent = 15 - rounded.shift;
  if (exponent >= -3 && exponent <= 15) {
    if (exponent <= 0) {
      *p++ = '0';
      *p++ = '.';
      for (int i = 0; i < -exponent; ++i) *p++ = '0';
      for (int i = 0; i < count; ++i) *p++ = digits[i];
    } else {
      for (int i = 0; i < exponent; ++i) *p++ = i < count ? digits[i] : '0';
      if (count > exponent) {
        *p++ = '.';
        for (int i = exponent; i < count; ++i) *p++ = digits[i];
      }
    }
  } else {
    *p++ = digits[0];
    if (count > 1) {
      *p++ = '.';
      for (int i = 1; i < count; ++i) *p++ = digits[i];
    }
    *p++ = 'E';
    p = std::to_chars(p, p + 8, exponent - 1).ptr;
  }
  return static_cast<std::size_t>(p - out);
}

double ParseValueText(std::string_view text) {
  if (text == "INF") return std::numeric_limits<double>::infinity();
  if (text == "-INF") return -std::numeric_limits<double>::infinity();
  if (text == "NAN") return std::numeric_limits<double>::quiet_NaN();
  std::size_t i = 0;
  const std::size_t size = text.size();
  while (i < size && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < size && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t numberStart = i;

  // Up to 19 significant digits are gathered; later ones only mark the value
  // as needing the general conversion.
  std::uint64_t significand = 0;
  int significantDigits = 0;
  bool droppedDigits = false;
  int pointExponent = 0;  // value = significand × 10^pointExponent before the exponent part
  int digitCount = 0;
  for (; i < size && IsDigit(text[i]); ++i, ++digitCount) {
    if (significand == 0 && text[i] == '0') continue;
    if (significantDigits < 19) {
      significand = significand * 10 + static_cast<std::uint64_t>(text[i] - '0');
      ++significantDigits;
    } else {
      ++pointExponent;
      droppedDigits = droppedDigits || text[i] != '0';
    }
  }
  if (i < size && text[i] == '.') {
    ++i;
    for (; i < size && IsDigit(text[i]); ++i, ++digitCount) {
      if (significand == 0 && text[i] == '0') {
        --pointExponent;
        continue;
      }
      if (significantDigits < 19) {
        significand = significand * 10 + static_cast<std::uint64_t>(text[i] - '0');
        ++significantDigits;
        --pointExponent;
      } else {
        droppedDigits = droppedDigits || text[i] != '0';
      }
    }
  }
  if (digitCount == 0) return 0.0;
  std::size_t numberEnd = i;
  long long exponent = 0;
  if (i < size && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool exponentNegative = false;
    if (j < size && (text[j] == '+' || text[j] == '-')) exponentNegative = text[j++] == '-';
    if (j < size && IsDigit(text[j])) {
      for (; j < size && IsDigit(text[j]); ++j) {
        if (exponent < 100000000) exponent = exponent * 10 + (text[j] - '0');
      }
      if (exponentNegative) exponent = -exponent;
      numberEnd = j;
    }
  }
  double value;
  long long decimalExponent = exponent + pointExponent;
  if (significand == 0) {
    value = 0.0;
  } else if (!droppedDigits && significand <= (1ull << 53) && decimalExponent >= -kMaxExactPower &&
             decimalExponent <= kMaxExactPower) {
    value = decimalExponent >= 0 ? static_cast<double>(significand) * kPowersOfTen[decimalExponent]
                                 : static_cast<double>(significand) / kPowersOfTen[-decimalExponent];
  } else {
    auto result = std::from_chars(text.data() + numberStart, text.data() + numberEnd, value);
    if (result.ec == std::errc::result_out_of_range) {
      // Position of the leading digit decides between overflow and underflow.
      long long leading = decimalExponent + significantDigits;
      value = leading > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc()) {
      value = 0.0;
    }
  }
  return negative ? -value : value;
}

double RoundValue(double v) {
  const double magnitude = std::fabs(v);
  if (magnitude < 1e15) {
    // Whole numbers below 1e15 have at most 15 digits: they stay as they are
    // (and -0 becomes 0, as its text "0" reads back).
    const auto whole = static_cast<std::int64_t>(v);
    if (static_cast<double>(whole) == v) return v + 0.0;
    // The common case, straight through: one scaling, one rounding, one
    // correctly rounded division.
    std::uint64_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    int shift = 14 - (((static_cast<int>((bits >> 52) & 0x7FF) - 1023) * 78913) >> 18);
    if (shift >= 1 && shift <= kMaxExactPower) {
      const double low = magnitude * kPowersOfTen[shift];
      const double high = magnitude * kPowersOfTen[shift - 1];
      const bool tooMany = low >= 1e15;
      const double scaled = tooMany ? high : low;
      shift -= tooMany ? 1 : 0;
      if (scaled >= 1e14 + 1.0 && scaled <= 1e15 - 1.0) {
        const auto base = static_cast<std::uint64_t>(scaled);
        const double fraction = scaled - static_cast<double>(base);
        std::uint64_t digits = base + (fraction > 0.5 ? 1 : 0);
        if (std::fabs(fraction - 0.5) <= 0.0625) digits = DigitsNearTie(magnitude, shift, scaled, base, fraction);
        const double result = static_cast<double>(digits) / kPowersOfTen[shift];
        return v < 0 ? -result : result;
      }
    }
  } else if (!(magnitude <= std::numeric_limits<double>::max())) {
    return std::isnan(v) ? std::numeric_limits<double>::quiet_NaN() : v;
  }
  Digits15 rounded = RoundToDigits(magnitude);
  const double result = DigitsToDouble(rounded.digits, rounded.shift);
  return v < 0 ? -result : result;
}

void ValueText::Clear() {
  text_.clear();
  number_ = 0.0;
  pending_ = false;
  canonical_ = false;
}

void ValueText::SetNumber(double number) {
  number_ = number;
  pending_ = true;
  canonical_ = true;
}

void ValueText::SetText(std::string_view text, double number, bool canonical) {
  text_.assign(text.data(), text.size());
  number_ = number;
  pending_ = false;
  canonical_ = canonical;
}

void ValueText::Assign(const ValueText& other) {
  if (this == &other) return;
  number_ = other.number_;
  pending_ = other.pending_;
  canonical_ = other.canonical_;
  if (!pending_) text_.assign(other.text_);
}

const std::string& ValueText::Text() const {
  if (pending_) {
    char buffer[kValueTextCapacity];
    text_.assign(buffer, FormatValueText(number_, buffer));
    pending_ = false;
  }
  return text_;
}

std::ostream& operator<<(std::ostream& out, const ValueText& value) { return out << value.Text(); }
