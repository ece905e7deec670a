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

}  // namespace

char* formatNumber(double value, char* out) {
  if (std::isnan(value)) return copyText("nan", out);
  if (std::isinf(value)) return copyText(value < 0 ? "-inf" : "inf", out);
  if (value == 0.0) return copyText("0", out);
  if (value < 0) {
    *out++ = '-';
    value = -value;
  }
  // d.dddddddddddddddde±XX, correctly rounded to 17 significant digits. An
  // exact tie at the 17th digit cannot move the half-up rounding at the 7th.
  char text[32];
  const std::to_chars_result r =
      std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, firstDigits - 1);
  char digits[firstDigits];
  digits[0] = text[0];
  std::memcpy(digits + 1, text + 2, firstDigits - 1);
  const char* sign = text + firstDigits + 2;  // after "d." and 16 digits and "e"
  int exponent = 0;
  for (const char* p = sign + 1; p < r.ptr; ++p) exponent = exponent * 10 + (*p - '0');
  if (*sign == '-') exponent = -exponent;

  if (roundHalfUp(digits)) ++exponent;
  int count = significantDigits;
  while (count > 1 && digits[count - 1] == '0') --count;
  if (exponent >= -4 && exponent < significantDigits) return writeFixed(digits, count, exponent, out);
  return writeScientific(digits, count, exponent, out);
}

char* formatInteger(unsigned value, char* out) { return std::to_chars(out, out + maxNumberChars, value).ptr; }

}  // namespace skidlog
