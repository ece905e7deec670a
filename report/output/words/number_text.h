// A number as the report's sentences write it.
#ifndef SKIDLOG_REPORT_OUTPUT_WORDS_NUMBER_TEXT_H_
#define SKIDLOG_REPORT_OUTPUT_WORDS_NUMBER_TEXT_H_

#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

namespace skidlog {

// `v` with `digits` decimals ("%.*f"): the same text on every platform for
// the same double.
inline std::string fixedText(double v, int digits) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", digits, v);
  return text;
}

// `v` with `digits` decimals and its sign, a true minus ("+0.12", "\u22120.12");
// none on a value that rounds to zero.
inline std::string signedText(double v, int digits) {
  const std::string text = fixedText(std::fabs(v), digits);
  if (text.find_first_not_of("0.") == std::string::npos) return text;
  return (v < 0.0 ? "\u2212" : "+") + text;
}

// `v` with `digits` decimals and a true minus where negative ("\u22120.12",
// "0.12"); none on a value that rounds to zero.
inline std::string minusText(double v, int digits) {
  const std::string text = fixedText(std::fabs(v), digits);
  if (text.find_first_not_of("0.") == std::string::npos || v >= 0.0) return text;
  return "\u2212" + text;
}

// A unit as it follows a number: after a space, the degree sign without one;
// nothing for none.
inline std::string unitText(std::string_view unit) {
  std::string text;
  if (!unit.empty() && unit != "\u00b0") text.push_back(' ');
  return text.append(unit);
}

// A sample interval in whole milliseconds: "100 ms".
inline std::string millisecondsText(double seconds) {
  return std::to_string(std::lround(seconds * 1000.0)).append(" ms");
}

// An interval as a sentence gives it: "\u22120.88 to 0.98", the lower end first.
inline std::string intervalText(double low, double high, int digits) {
  return minusText(low, digits) + " to " + minusText(high, digits);
}

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_WORDS_NUMBER_TEXT_H_
