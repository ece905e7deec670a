#include "report/output/json/format/json_number.h"

#include "report/analysis/tyres/tyre_analysis.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace skidlog {

Json floatNumber(float value) {
  if (!std::isfinite(value)) return nullptr;
  // The shortest digits that identify the float, read as the double nearest
  // them: the JSON writer's own shortest form of that double is those digits.
  char digits[64];
  const auto written = std::to_chars(digits, digits + sizeof digits - 1, value);
  *written.ptr = '\0';
  return std::strtod(digits, nullptr);
}

Json number(double value) { return std::isfinite(value) ? Json(value) : Json(nullptr); }

Json estimateValue(const Estimate& e) { return e.known() ? number(e.value) : Json(nullptr); }

Json estimateInterval(const Estimate& e) {
  return e.known() ? Json::array({number(e.ci.low), number(e.ci.high)}) : Json(nullptr);
}

}  // namespace skidlog
