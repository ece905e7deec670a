// The unit speeds are shown in: the page's and the findings' sentences. The
// JSON's numbers stay in m/s.
#ifndef SKIDLOG_REPORT_QUANTITY_SPEED_UNIT_H_
#define SKIDLOG_REPORT_QUANTITY_SPEED_UNIT_H_

#include <optional>
#include <string_view>

namespace skidlog {

enum class SpeedUnit { metresPerSecond, kilometresPerHour, milesPerHour };

// The unit a name asks for ("m/s", "km/h", "mph"); empty for any other.
std::optional<SpeedUnit> speedUnitNamed(std::string_view name);

// The unit's name as shown, and a speed in it from m/s: m/s x speedScale(u).
const char* speedUnitName(SpeedUnit u);
double speedScale(SpeedUnit u);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_QUANTITY_SPEED_UNIT_H_
