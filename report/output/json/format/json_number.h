// Numbers in the report's JSON as a user reads them.
#ifndef SKIDLOG_REPORT_OUTPUT_JSON_FORMAT_JSON_NUMBER_H_
#define SKIDLOG_REPORT_OUTPUT_JSON_FORMAT_JSON_NUMBER_H_

#include <nlohmann/json.hpp>

namespace skidlog {

using Json = nlohmann::ordered_json;

// A value stored as a 32-bit float, written as the shortest decimal that
// reads back to the same float: 0.01f is written 0.01, not 0.009999999776482582.
Json floatNumber(float value);

// A double, or null when it is not finite.
Json number(double value);

struct Estimate;
// An estimate's value, and its interval as [low, high]; null where the data
// did not give it.
Json estimateValue(const Estimate& e);
Json estimateInterval(const Estimate& e);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_JSON_FORMAT_JSON_NUMBER_H_
