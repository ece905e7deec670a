// The platform's numbers of every later group against the first's, as the
// other differences: "where" is "platform" for the car's numbers and the
// wheel (FL ... RR) for a wheel's.
#ifndef SKIDLOG_REPORT_ANALYSIS_PLATFORM_PLATFORM_DIFFERENCES_H_
#define SKIDLOG_REPORT_ANALYSIS_PLATFORM_PLATFORM_DIFFERENCES_H_

#include <span>
#include <vector>

#include "report/analysis/compare/differences.h"

namespace skidlog {

struct ReportGroup;

// Below these differences nothing is claimed: a hundredth of a degree per g,
// a thousandth of a share, a hundredth of a second per lap.
inline constexpr double gradientResolution = 0.01;
inline constexpr double shareResolution = 0.001;
inline constexpr double travelEndResolution = 0.01;

// Appends the differences of every later group against the first.
void comparePlatforms(std::span<const ReportGroup> groups, std::vector<Difference>& out);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_ANALYSIS_PLATFORM_PLATFORM_DIFFERENCES_H_
