#include "report/output/words/corner_words.h"

#include <algorithm>
#include <cmath>

#include "report/output/words/difference_words.h"
#include "report/output/words/number_text.h"
#include "report/quantity/quantities.h"

namespace skidlog {
namespace {

std::string lapCount(std::size_t k, std::size_t n) {
  return std::to_string(k) + " of " + std::to_string(n) + (n == 1 ? " lap" : " laps");
}

// "on 1 of club's 2 laps": where an action stands on fewer laps than a side
// took through the corner; empty where it stands on them all.
std::string lapsText(const Difference& a, const CornerFinding& f) {
  std::string text;
  const auto side = [&text](std::size_t laps, std::size_t of, const std::string& who) {
    if (laps >= of) return;
    text.append(text.empty() ? "on " : " and ").append(std::to_string(laps)).append(" of ").append(who);
    text.append("'s ").append(std::to_string(of)).append(of == 1 ? " lap" : " laps");
  };
  side(a.toLaps, f.toLaps, f.who);
  side(a.fromLaps, f.fromLaps, f.against);
  return text;
}

}  // namespace

std::string liftText(const CornerFinding& f) {
  const Lifts& l = f.lifts;
  if (l.fromKnown == 0 || l.toKnown == 0) return {};
  if (l.to == 0 && l.from > 0) {
    return "flat through " + f.corner + "; " + f.against + " lifts in " + lapCount(l.from, l.fromKnown);
  }
  if (l.from == 0 && l.to > 0) return "lifts in " + lapCount(l.to, l.toKnown) + "; " + f.against + " flat through " + f.corner;
  return {};
}

std::string actionText(const Difference& d, bool leftHand, SpeedUnit unit) {
  const Quantity* q = quantityNamed(d.quantity);
  if (q == nullptr || !q->action.named()) return {};
  const ActionWords& a = q->action;
  const double toward = d.quantity == "steer_apex_deg" && !leftHand ? -1.0 : 1.0;
  const bool speed = q->unit == "m/s";
  const double scale = speed ? speedScale(unit) : a.scale;
  const std::string units = unitText(speed ? std::string_view(speedUnitName(unit)) : a.unit.empty() ? q->unit : a.unit);
  // Rounded as the quantity is everywhere on the page: the pedal's 0.01 is
  // one point.
  const int digits = std::max(0, q->decimals - static_cast<int>(std::lround(std::log10(a.scale))));
  const double v = toward * d.delta.value * scale;
  std::string text = std::string(a.before) + fixedText(std::fabs(v), digits) + units + " ";
  text.append(v >= 0.0 ? a.more : a.less);
  if (!d.hasInterval) return text;
  double low = toward * d.delta.ci.low * scale, high = toward * d.delta.ci.high * scale;
  if (v < 0.0) {
    low = -low;
    high = -high;
  }
  return text + " (" + intervalText(std::min(low, high), std::max(low, high), digits) + units + ")";
}

std::string findingSentence(const CornerFinding& f, SpeedUnit unit) {
  const Difference& t = f.timeLost;
  const double lost = t.delta.value;
  const bool gains = lost < 0.0;
  std::string s = f.corner + ": " + f.who + (gains ? " gains " : " loses ") + fixedText(std::fabs(lost), 2) + " s";
  // The interval runs the way the words do: of the time gained, or lost.
  const double low = gains ? -t.delta.ci.high : t.delta.ci.low, high = gains ? -t.delta.ci.low : t.delta.ci.high;
  if (t.verdict == oneLapEach) {
    s += " (one lap each: no interval)";
  } else if (t.verdict == lapsDisagree) {
    s += ", but the laps disagree here";
    const std::string why = disagreementText(t, t.disagreement.group == t.to ? f.who : f.against);
    if (!why.empty()) s.append(" (").append(why).append(")");
  } else if (!t.hasInterval) {
    s += ", " + t.verdict;
  } else if (claimed(t.verdict)) {
    s += " (" + intervalText(low, high, 2) + " s)";
  } else {
    s += ", within the laps' own variation (" + intervalText(low, high, 2) + " s)";
  }
  if (const std::string lift = liftText(f); !lift.empty()) s += "; " + lift;
  for (const Difference& a : f.actions) {
    s += "; " + actionText(a, f.leftHand, unit);
    if (const std::string laps = lapsText(a, f); !laps.empty()) s.append(", ").append(laps);
  }
  return s;
}

std::string timeText(const Difference& d) {
  const double v = d.delta.value;
  std::string text = "takes " + fixedText(std::fabs(v), 2) + " s " + (v > 0.0 ? "more" : "less");
  if (!d.hasInterval) return text;
  const double a = v < 0.0 ? -d.delta.ci.low : d.delta.ci.low, b = v < 0.0 ? -d.delta.ci.high : d.delta.ci.high;
  return text + " (" + intervalText(std::min(a, b), std::max(a, b), 2) + " s)";
}

std::string fastGainText(const FastGain& f, SpeedUnit unit) {
  return f.key == segmentTime ? timeText(f.delta) : actionText(f.delta, f.leftHand, unit);
}

}  // namespace skidlog
