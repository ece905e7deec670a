// The car's balance in words: what the axles' fits say of which axle gives
// up first.
#ifndef SKIDLOG_REPORT_OUTPUT_WORDS_BALANCE_WORDS_H_
#define SKIDLOG_REPORT_OUTPUT_WORDS_BALANCE_WORDS_H_

#include <string>

#include "report/analysis/balance.h"

namespace skidlog {

// "At the limit the rear axle saturates first (oversteer): rear peak 1.21
// reached, front 1.34 not reached."
std::string limitStatement(const Balance& balance);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_WORDS_BALANCE_WORDS_H_
