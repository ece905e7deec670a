#include "report/output/words/corner_words.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "report/output/words/number_text.h"
#include "report/quantity/quantities.h"

namespace skidlog {
namespace {

// How an action's difference reads: "brakes 12 m later (5 to 19 m)".
struct Phrase {
  CornerKey key;
  const char* before;  // what it is
  const char* unit;
  const char* more;  // the word for a positive difference
  const char* less;
  int digits;
  double scale;  // the number as shown: the difference times this
};

constexpr std::array<Phrase, 17> phrases = {{
    {brakeAt, "brakes ", " m", "later", "earlier", 0, 1.0},
    {brakeReleaseAt, "releases the brake ", " m", "later", "earlier", 0, 1.0},
    {peakBrake, "peak brake pedal ", " points", "higher", "lower", 0, 100.0},
    {cornerMinSpeed, "minimum speed ", " m/s", "higher", "lower", 1, 1.0},
    {minSpeedAt, "slowest ", " m", "later", "earlier", 0, 1.0},
    {gearAtMinSpeed, "", " gear", "higher at the slowest point", "lower at the slowest point", 0, 1.0},
    {rpmAtMinSpeed, "engine ", " rpm", "faster at the slowest point", "slower at the slowest point", 0, 1.0},
    {throttleOnAt, "back on the throttle ", " m", "later", "earlier", 0, 1.0},
    {fullThrottleAt, "full throttle ", " m", "later", "earlier", 0, 1.0},
    {coastSeconds, "coasts ", " s", "longer", "less", 2, 1.0},
    {lineEntry, "", " m", "tighter at turn-in", "wider at turn-in", 1, 1.0},
    {lineApex, "", " m", "tighter at the apex", "wider at the apex", 1, 1.0},
    {lineExit, "", " m", "tighter at the exit", "wider at the exit", 1, 1.0},
    {steerApex, "", "\u00b0", "more steering at the apex", "less steering at the apex", 1, 1.0},
    {understeerEntry, "understeers ", "\u00b0", "more on entry", "less on entry", 2, 1.0},
    {understeerMiddle, "understeers ", "\u00b0", "more in the middle", "less in the middle", 2, 1.0},
    {understeerExit, "understeers ", "\u00b0", "more on exit", "less on exit", 2, 1.0},
}};

const Phrase* phraseOf(const std::string& quantity) {
  for (const Phrase& p : phrases) {
    if (quantity == cornerKeyNames[p.key]) return &p;
  }
  return nullptr;
}

}  // namespace

std::string actionText(const Difference& d, bool leftHand, SpeedUnit unit) {
  const Phrase* p = phraseOf(d.quantity);
  if (p == nullptr) return {};
  const double toward = p->key == steerApex && !leftHand ? -1.0 : 1.0;
  const bool speed = p->key == cornerMinSpeed;
  const double scale = speed ? p->scale * speedScale(unit) : p->scale;
  const std::string unitText = speed ? std::string(" ") + speedUnitName(unit) : p->unit;
  const double v = toward * d.delta.value * scale;
  // Rounded as the quantity is everywhere on the page; the pedal in points.
  const Quantity* q = quantityNamed(cornerKeyNames[p->key]);
  const int digits = p->scale == 1.0 && q != nullptr ? q->decimals : p->digits;
  std::string text = std::string(p->before) + fixedText(std::fabs(v), digits) + unitText + " " + (v >= 0.0 ? p->more : p->less);
  if (!d.hasInterval) return text;
  double a = toward * d.delta.ci.low * scale, b = toward * d.delta.ci.high * scale;
  if (v < 0.0) {
    a = -a;
    b = -b;
  }
  return text + " (" + intervalText(std::min(a, b), std::max(a, b), digits) + unitText + ")";
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
    if (!t.disagreement.empty()) s += " (" + t.disagreement + ")";
  } else if (!t.hasInterval) {
    s += ", " + t.verdict;
  } else if (claimed(t.verdict)) {
    s += " (" + intervalText(low, high, 2) + " s)";
  } else {
    s += ", within the laps' own variation (" + intervalText(low, high, 2) + " s)";
  }
  if (!f.lift.empty()) s += "; " + f.lift;
  for (const Difference& a : f.actions) s += "; " + actionText(a, f.leftHand, unit);
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
