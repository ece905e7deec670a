// A corner's numbers in words, in the reader's speed unit, each number
// rounded as its quantity is everywhere on the page: a driver's action
// ("brakes 12 m later (5 to 19 m)"), a corner's finding as one sentence, and
// what the faster drivers of a session do there.
#ifndef SKIDLOG_REPORT_OUTPUT_WORDS_CORNER_WORDS_H_
#define SKIDLOG_REPORT_OUTPUT_WORDS_CORNER_WORDS_H_

#include <string>

#include "report/analysis/compare/differences.h"
#include "report/laps/findings.h"
#include "report/laps/session/session.h"
#include "report/quantity/speed_unit.h"

namespace skidlog {

// An action's difference in words: "brakes 12 m later (5 to 19 m)", the
// size, its direction, and its interval as sizes in that direction; empty
// for a number without words. Steering counts toward the corner: to the
// right in a right-hander.
std::string actionText(const Difference& d, bool leftHand, SpeedUnit unit = SpeedUnit::metresPerSecond);

// Where one side takes the corner flat in every lap and the other lifts:
// "flat through T2; club lifts in 2 of 2 laps", said of the later side;
// empty otherwise.
std::string liftText(const CornerFinding& f);

// One corner's finding as a sentence, said of the later side: "T1: record
// gains 2.21 s (1.80 to 2.62 s); brakes 12 m later (5 to 19 m)". The
// interval runs the way the words do.
std::string findingSentence(const CornerFinding& f, SpeedUnit unit = SpeedUnit::metresPerSecond);

// "takes 0.31 s less (0.20 to 0.42 s)": a segment time's difference in
// words, its interval as sizes in its direction.
std::string timeText(const Difference& d);

// What the faster third does differently at a corner, in the findings' words.
std::string fastGainText(const FastGain& f, SpeedUnit unit = SpeedUnit::metresPerSecond);

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_WORDS_CORNER_WORDS_H_
