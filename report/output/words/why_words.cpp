#include "report/output/words/why_words.h"

#include <string_view>

#include "report/output/words/number_text.h"
#include "report/quantity/quantities.h"

namespace skidlog {

bool shownFirst(const WhyLink& l) { return l.link == "setup" || claimed(l.verdict); }

std::string whyLine(const WhyLink& l, SpeedUnit unit) {
  const std::string& phase = l.phase;
  std::string text;
  if (l.link == "setup") {
    text = "setup: " + l.recorded;
    text += phase.empty() ? ", every phase" : ", acts on the " + phase;
  } else {
    // A phase's understeer is named by its phase, as the balance and
    // platform are; the rest by the table's words.
    const bool understeer = l.quantity.rfind("understeer_", 0) == 0;
    const Quantity* q = quantityNamed(understeer ? "understeer_deg" : l.quantity);
    const bool speed = q != nullptr && q->unit == "m/s";
    const double scale = speed ? speedScale(unit) : 1.0;
    const int digits = q != nullptr ? q->decimals : 3;
    const std::string units = unitText(speed ? std::string_view(speedUnitName(unit)) : q != nullptr ? q->unit : "");
    const std::string words = q != nullptr ? std::string(q->words) : l.quantity;
    // Time and speed name their place in their words; balance and platform by phase.
    const bool byPhase = l.link == "balance" || l.link == "platform";
    text = (byPhase ? phase + " " : "") + (l.wheel.empty() ? "" : l.wheel + " ") + words + " " +
           signedText(l.delta.value * scale, digits) + units;
    if (l.hasInterval) {
      text += " (" + signedText(l.delta.ci.low * scale, digits) + " to " + signedText(l.delta.ci.high * scale, digits) +
              units + ")";
    }
    text += claimed(l.verdict) ? "" : ", " + l.verdict;
  }
  if (l.agrees) text += *l.agrees ? ": consistent with its rule" : ": not consistent with its rule";
  if (l.agrees && !l.rule.empty()) {
    // A setup rule carries its recorded change, which the line has said.
    std::string rule = l.rule;
    const std::string recorded = " (" + l.recorded + ")";
    if (!l.recorded.empty() && rule.size() > recorded.size() &&
        rule.compare(rule.size() - recorded.size(), recorded.size(), recorded) == 0) {
      rule.resize(rule.size() - recorded.size());
    }
    text += " (" + rule + ")";
  }
  return text;
}

}  // namespace skidlog
