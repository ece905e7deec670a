// A number as the report's sentences write it.
#ifndef SKIDLOG_REPORT_ANALYSIS_NUMBER_TEXT_H_
#define SKIDLOG_REPORT_ANALYSIS_NUMBER_TEXT_H_

#include <cstdio>
#include <string>

namespace skidlog {

// `v` with `digits` decimals ("%.*f"): the same text on every platform for
// the same double.
inline std::string fixedText(double v, int digits) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", digits, v);
  return text;
}

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_NUMBER_TEXT_H_
