#include "report/output/words/balance_words.h"

#include "report/output/words/number_text.h"
#include "report/analysis/report_group.h"

namespace skidlog {
namespace {

std::string grip(double value) { return fixedText(value, 2); }

}  // namespace

std::string limitStatement(const Balance& b) {
  const std::string f = grip(b.frontPeak), r = grip(b.rearPeak);
  const auto first = [&b](const std::string& detail) {
    const std::size_t axle = *b.limit;
    return std::string("At the limit the ") + axleNames[axle] + " axle saturates first (" +
           (axle == 0 ? "understeer" : "oversteer") + "): " + detail + ".";
  };
  switch (b.limitReading) {
    case LimitReading::notFitted:
      break;
    case LimitReading::oneReached:
      return first(*b.limit == 0 ? "front peak " + f + " reached, rear " + r + " not reached"
                                 : "rear peak " + r + " reached, front " + f + " not reached");
    case LimitReading::neitherReached:
      return "Neither axle's peak was reached: the front gave grip up to " + f + ", the rear up to " + r +
             ", and both had more.";
    case LimitReading::bothReached:
      if (b.limit) return first("front peak " + f + ", rear " + r + ", both reached");
      return "Both axles reach their peaks (front " + f + ", rear " + r + "); the data does not show which saturates "
             "first.";
  }
  return "The axles' curves could not both be fitted, so the data does not show which axle gives up first.";
}

}  // namespace skidlog
