// The CSV number format: general notation with six significant digits.
#ifndef SKIDLOG_CSV_NUMBER_FORMAT_H_
#define SKIDLOG_CSV_NUMBER_FORMAT_H_

#include <cstddef>

namespace skidlog {

// The longest text formatNumber writes, "-1.23457e-308" being 13 characters.
inline constexpr std::size_t maxNumberChars = 16;

// Writes `value` to `out` (no terminator) and returns the end of the text:
// six significant digits, rounded half away from zero from the value's
// 17-digit decimal form; fixed notation for decimal exponents -4 to 5,
// otherwise d.ddddde+XXX with three exponent digits; trailing zeros and a bare
// point removed; zero (either sign) as "0"; "nan", "inf", "-inf".
// REQUIRES: `out` has room for maxNumberChars characters.
char* formatNumber(double value, char* out);

// Writes the decimal digits of a non-negative integer and returns the end.
char* formatInteger(unsigned value, char* out);

}  // namespace skidlog

#endif  // SKIDLOG_CSV_NUMBER_FORMAT_H_
