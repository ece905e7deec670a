#include "csv/number_format.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace skidlog {
namespace {

constexpr int significantDigits = 6;
constexpr int firstDigits = 17;

char* copyText(const char* text, char* out) {
  const std::size_t n = std::strlen(text);
  std::memcpy(out, text, n);
  return out + n;
}

// Rounds a digit string half up to six digits in place; returns true when the
// carry ran out of the leading digit (999999.5 becomes 100000, one decade up).
bool roundHalfUp(char* digits) {
  if (digits[significantDigits] < '5') return false;
  for (int k = significantDigits - 1; k >= 0; --k) {
    if (digits[k] != '9') {
      ++digits[k];
      return false;
    }
    digits[k] = '0';
  }
  digits[0] = '1';
  return true;
}

char* writeFixed(const char* digits, int count, int exponent, char* out) {
  if (exponent < 0) {
    *out++ = '0';
    *out++ = '.';
    for (int k = -1; k > exponent; --k) *out++ = '0';
    std::memcpy(out, digits, static_cast<std::size_t>(count));
    return out + count;
  }
  const int whole = exponent + 1;
  for (int k = 0; k < whole; ++k) *out++ = k < count ? digits[k] : '0';
  if (count > whole) {
    *out++ = '.';
    std::memcpy(out, digits + whole, static_cast<std::size_t>(count - whole));
    out += count - whole;
  }
  return out;
}

char* writeScientific(const char* digits, int count, int exponent, char* out) {
  *out++ = digits[0];
  if (count > 1) {
    *out++ = '.';
    std::memcpy(out, digits + 1, static_cast<std::size_t>(count - 1));
    out += count - 1;
  }
  *out++ = 'e';
  *out++ = exponent < 0 ? '-' : '+';
  const int magnitude = exponent < 0 ? -exponent : exponent;
  *out++ = static_cast<char>('0' + magnitude / 100);
  *out++ = static_cast<char>('0' + magnitude / 10 % 10);
  *out++ = static_cast<char>('0' + magnitude % 10);
  return out;
}

// Powers of ten 10^0 to 10^22, exact as doubles.
constexpr double exactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The six significant digits of a positive finite value by scaling in double,
// when that decides the rounding beyond doubt: the scaled value then lies
// more than 1e-7 of a unit in the last digit away from a halfway point, far
// beyond what the 17-digit pre-rounding or the scaling error can move.
// Covers values from 1e-16 to 1e22; returns false when it cannot decide.
bool quickDigits(double value, char* digits, int& exponent) {
  if (!(value >= 1e-16 && value < 1e22)) return false;
  int x = static_cast<int>(std::floor(std::log10(value)));
  // log10 may land one decade off next to a power of ten; the checks below fix it.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int shift = significantDigits - 1 - x;
    const double scaled =
        shift >= 0 ? value * exactPowers[shift] : value / exactPowers[-shift];  // error below 1e-9
    if (scaled < 100000.0) {
      --x;
      continue;
    }
    if (scaled >= 1000000.0) {
      ++x;
      continue;
    }
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < 1e-7) return false;
    auto n = static_cast<unsigned>(whole) + (fraction > 0.5 ? 1u : 0u);
    if (n == 1000000) {
      n = 100000;
      ++x;
    }
    for (int k = significantDigits - 1; k >= 0; --k) {
      digits[k] = static_cast<char>('0' + n % 10);
      n /= 10;
    }
    exponent = x;
    return true;
  }
  return false;
}

// The six digits by way of the correctly rounded 17-digit decimal form.
void exactDigits(double value, char* digits, int& exponent) {
  // d.dddddddddddddddde±XX. An exact tie at the 17th digit cannot move the
  // half-up rounding at the 7th.
  char text[32];
  const std::to_chars_result r =
      std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, firstDigits - 1);
  char all[firstDigits];
  all[0] = text[0];
  std::memcpy(all + 1, text + 2, firstDigits - 1);
  const char* sign = text + firstDigits + 2;  // after "d." and 16 digits and "e"
  int e = 0;
  for (const char* p = sign + 1; p < r.ptr; ++p) e = e * 10 + (*p - '0');
  if (*sign == '-') e = -e;
  if (roundHalfUp(all)) ++e;
  std::memcpy(digits, all, significantDigits);
  exponent = e;
}

}  // namespace

char* formatNumber(double value, char* out) {
  if (std::isnan(value)) return copyText("nan", out);
  if (std::isinf(value)) return copyText(value < 0 ? "-inf" : "inf", out);
  if (value == 0.0) return copyText("0", out);
  if (value < 0) {
    *out++ = '-';
    value = -value;
  }
  char digits[significantDigits];
  int exponent = 0;
  if (!quickDigits(value, digits, exponent)) exactDigits(value, digits, exponent);
  int count = significantDigits;
  while (count > 1 && digits[count - 1] == '0') --count;
  if (exponent >= -4 && exponent < significantDigits) return writeFixed(digits, count, exponent, out);
  return writeScientific(digits, count, exponent, out);
}

char* formatInteger(unsigned value, char* out) { return std::to_chars(out, out + maxNumberChars, value).ptr; }

}  // namespace skidlog
