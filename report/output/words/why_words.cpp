#include "report/output/words/why_words.h"

#include <string_view>

#include "report/output/words/number_text.h"
#include "report/output/words/setup_words.h"
#include "report/quantity/quantities.h"

namespace skidlog {

const char* ruleText(WhyRule rule) {
  switch (rule) {
    case WhyRule::frontShare:
      return "a larger front share of the lateral load transfer gives more understeer in the middle";
    case WhyRule::wheelOnStop:
      return "a wheel on its stop stiffens its corner abruptly: toward understeer at the front, oversteer at the rear";
    case WhyRule::rollStiffness:
      return "the bars and springs set each axle's share of the lateral load transfer; a larger front share gives "
             "more understeer in the middle";
    case WhyRule::travel:
      return "a shorter travel puts the wheels on their stops, stiffening that corner abruptly: toward understeer at "
             "the front, oversteer at the rear";
    case WhyRule::dampers:
      return "dampers act while the body moves: on entry and exit";
    case WhyRule::brakeSplit:
      return "the brake torque split acts on entry";
    case WhyRule::gearing:
      return "gearing acts on exit, through the engine speed";
    case WhyRule::tyreType:
      return "a tyre type changes every phase";
    case WhyRule::tyreWidth:
      return "a tyre's width changes every phase";
    case WhyRule::none:
      break;
  }
  return "";
}

std::string ruleWithRecord(const WhyLink& l) {
  if (l.rule == WhyRule::none) return "";
  std::string text = ruleText(l.rule);
  if (l.setup != nullptr) text.append(" (").append(describe(*l.setup)).append(")");
  return text;
}

bool shownFirst(const WhyLink& l) { return l.link == "setup" || claimed(l.verdict()); }

std::string whyLine(const WhyLink& l, SpeedUnit unit) {
  const std::string& phase = l.phase;
  std::string text;
  if (l.setup != nullptr) {
    text = "setup: " + describe(*l.setup);
    text += phase.empty() ? ", every phase" : ", acts on the " + phase;
  } else {
    // A phase's understeer is named by its phase, as the balance and
    // platform are; the rest by the table's words.
    const std::string& key = l.quantity();
    const bool understeer = key.rfind("understeer_", 0) == 0;
    const Quantity* q = quantityNamed(understeer ? "understeer_deg" : key);
    const bool speed = q != nullptr && q->unit == "m/s";
    const double scale = speed ? speedScale(unit) : 1.0;
    const int digits = q != nullptr ? q->decimals : 3;
    const std::string units = unitText(speed ? std::string_view(speedUnitName(unit)) : q != nullptr ? q->unit : "");
    const std::string words = q != nullptr ? std::string(q->words) : key;
    // Time and speed name their place in their words; balance and platform by phase.
    const bool byPhase = l.link == "balance" || l.link == "platform";
    const Estimate& delta = l.measured->delta;
    text = (byPhase ? phase + " " : "") + (l.wheel().empty() ? "" : l.wheel() + " ") + words + " " +
           signedText(delta.value * scale, digits) + units;
    if (l.hasInterval()) {
      text += " (" + signedText(delta.ci.low * scale, digits) + " to " + signedText(delta.ci.high * scale, digits) +
              units + ")";
    }
    text += claimed(l.measured->verdict) ? "" : ", " + l.measured->verdict;
  }
  if (l.agrees) {
    text += *l.agrees ? ": consistent with its rule" : ": not consistent with its rule";
    // A setup line has said its recorded change; the rule alone follows.
    if (l.rule != WhyRule::none) text.append(" (").append(ruleText(l.rule)).append(")");
  }
  return text;
}

}  // namespace skidlog
