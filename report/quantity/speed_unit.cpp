#include "report/quantity/speed_unit.h"

namespace skidlog {

std::optional<SpeedUnit> speedUnitNamed(std::string_view name) {
  if (name == "m/s") return SpeedUnit::metresPerSecond;
  if (name == "km/h") return SpeedUnit::kilometresPerHour;
  if (name == "mph") return SpeedUnit::milesPerHour;
  return std::nullopt;
}

const char* speedUnitName(SpeedUnit u) {
  switch (u) {
    case SpeedUnit::kilometresPerHour: return "km/h";
    case SpeedUnit::milesPerHour: return "mph";
    case SpeedUnit::metresPerSecond: break;
  }
  return "m/s";
}

double speedScale(SpeedUnit u) {
  switch (u) {
    case SpeedUnit::kilometresPerHour: return 3.6;
    case SpeedUnit::milesPerHour: return 1.0 / 0.44704;  // a mile is 1609.344 m, an hour 3600 s
    case SpeedUnit::metresPerSecond: break;
  }
  return 1.0;
}

}  // namespace skidlog
