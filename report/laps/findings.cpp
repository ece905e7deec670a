#include "report/laps/findings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "system/system.h"
#include "report/analysis/number_text.h"
#include "report/quantity/quantities.h"

namespace skidlog {
namespace {

// How an action's difference reads: "brakes 12 m later (5 to 19 m)". The
// smallest difference worth a word where one lap stands against one lap and
// no interval can say more.
struct Phrase {
  CornerKey key;
  const char* before;  // what it is
  const char* unit;
  const char* more;  // the word for a positive difference
  const char* less;
  int digits;
  double scale;    // the number as shown: the difference times this
  double oneLap;   // the smallest difference named without an interval, as shown
};

constexpr std::array<Phrase, 17> phrases = {{
    {brakeAt, "brakes ", " m", "later", "earlier", 0, 1.0, 5.0},
    {brakeReleaseAt, "releases the brake ", " m", "later", "earlier", 0, 1.0, 5.0},
    {peakBrake, "peak brake pedal ", " points", "higher", "lower", 0, 100.0, 10.0},
    {cornerMinSpeed, "minimum speed ", " m/s", "higher", "lower", 1, 1.0, 0.5},
    {minSpeedAt, "slowest ", " m", "later", "earlier", 0, 1.0, 5.0},
    {gearAtMinSpeed, "", " gear", "higher at the slowest point", "lower at the slowest point", 0, 1.0, 1.0},
    {rpmAtMinSpeed, "engine ", " rpm", "faster at the slowest point", "slower at the slowest point", 0, 1.0, 300.0},
    {throttleOnAt, "back on the throttle ", " m", "later", "earlier", 0, 1.0, 5.0},
    {fullThrottleAt, "full throttle ", " m", "later", "earlier", 0, 1.0, 5.0},
    {coastSeconds, "coasts ", " s", "longer", "less", 2, 1.0, 0.2},
    {lineEntry, "", " m", "tighter at turn-in", "wider at turn-in", 1, 1.0, 0.5},
    {lineApex, "", " m", "tighter at the apex", "wider at the apex", 1, 1.0, 0.5},
    {lineExit, "", " m", "tighter at the exit", "wider at the exit", 1, 1.0, 0.5},
    {steerApex, "", "\u00b0", "more steering at the apex", "less steering at the apex", 1, 1.0, 2.0},
    {understeerEntry, "understeers ", "\u00b0", "more on entry", "less on entry", 2, 1.0, 0.3},
    {understeerMiddle, "understeers ", "\u00b0", "more in the middle", "less in the middle", 2, 1.0, 0.3},
    {understeerExit, "understeers ", "\u00b0", "more on exit", "less on exit", 2, 1.0, 0.3},
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

namespace {

// How far a difference without an interval passes the smallest worth a
// word (1 at it); 0 for one that is not worth one.
double weight(const Difference& d) {
  const Phrase* p = phraseOf(d.quantity);
  // The balance of one lap moves too much from lap to lap to name alone.
  if (p == nullptr || std::isnan(d.delta.value) || p->key == understeerEntry || p->key == understeerMiddle ||
      p->key == understeerExit) {
    return 0.0;
  }
  const double w = std::fabs(d.delta.value * p->scale) / p->oneLap;
  return w >= 1.0 ? w : 0.0;
}

bool worthAWord(const Difference& d) {
  // A phase's platform and grip use are evidence for a finding, not one.
  if (d.verdict == notComparable || !d.phase.empty()) return false;
  if (d.verdict != oneLapEach) return phraseOf(d.quantity) != nullptr && claimed(d.verdict);
  return weight(d) > 0.0;
}

// One lap against one says nothing of its variation: only its few largest
// differences are named.
constexpr std::size_t oneLapActions = 3;

// One lap against one: its few largest action differences, largest first.
void largestOnly(std::vector<Difference>& actions) {
  std::stable_sort(actions.begin(), actions.end(),
                   [](const Difference& a, const Difference& b) { return weight(a) > weight(b); });
  if (actions.size() > oneLapActions) actions.resize(oneLapActions);
}

// The largest time differences first, gained or lost alike.
void order(std::vector<CornerFinding>& corners) {
  std::stable_sort(corners.begin(), corners.end(), [](const CornerFinding& a, const CornerFinding& b) {
    const double x = std::fabs(a.timeLost.delta.value), y = std::fabs(b.timeLost.delta.value);
    if (std::isnan(x) != std::isnan(y)) return std::isnan(y);
    return x > y;
  });
}

const CornerResult* cornerNamed(const std::vector<TrackAnalysis>& tracks, const std::string& where) {
  for (const TrackAnalysis& t : tracks) {
    const std::string prefix = tracks.size() > 1 ? t.track + " " : "";
    for (const CornerResult& c : t.corners) {
      if (prefix + c.corner.name == where) return &c;
    }
  }
  return nullptr;
}

std::string lapCount(std::size_t k, std::size_t n) {
  return std::to_string(k) + " of " + std::to_string(n) + (n == 1 ? " lap" : " laps");
}

// Where one side takes the corner flat in every lap and the other lifts:
// "flat through T2; club lifts in 2 of 2 laps", said of the later side.
std::string liftText(const std::string& corner, const CornerGroup& from, const CornerGroup& to,
                     const std::string& fromName) {
  if (from.liftKnown == 0 || to.liftKnown == 0) return {};
  if (to.lifting == 0 && from.lifting > 0) {
    return "flat through " + corner + "; " + fromName + " lifts in " + lapCount(from.lifting, from.liftKnown);
  }
  if (from.lifting == 0 && to.lifting > 0) {
    return "lifts in " + lapCount(to.lifting, to.liftKnown) + "; " + fromName + " flat through " + corner;
  }
  return {};
}

// A lap's lift as a group of one.
CornerGroup liftOf(const CornerLap& lap) {
  CornerGroup g;
  g.liftKnown = lap.lifts ? 1 : 0;
  g.lifting = lap.lifts == true ? 1 : 0;
  return g;
}

// Each later group against the first, from the report's differences.
Finding groupFinding(const std::vector<TrackAnalysis>& tracks, const std::vector<Difference>& differences,
                     std::size_t to, const std::vector<std::string>& labels, SpeedUnit unit) {
  Finding f{labels[0], labels[to], {}};
  for (const Difference& d : differences) {
    if (d.to != to || d.quantity != "segment_time_s") continue;
    CornerFinding c{d.where, d, {}, {}, {}};
    for (const Difference& a : differences) {
      if (a.to == to && a.where == d.where && worthAWord(a)) c.actions.push_back(a);
    }
    if (d.verdict == oneLapEach) largestOnly(c.actions);
    const CornerResult* corner = cornerNamed(tracks, d.where);
    if (corner != nullptr && to < corner->groups.size()) {
      c.lift = liftText(d.where, corner->groups[0], corner->groups[to], labels[0]);
    }
    c.sentence = findingSentence(c, corner == nullptr || corner->corner.left, labels[to], unit);
    f.corners.push_back(std::move(c));
  }
  order(f.corners);
  return f;
}

// One lap against its track's reference lap: one value each, no intervals.
Finding lapFinding(const TrackAnalysis& track, std::size_t lap, bool prefixed, SpeedUnit unit) {
  const std::size_t ref = track.reference;
  Finding f{track.laps[ref].file, track.laps[lap].file, {}};
  const auto one = [](double v) { return overLaps(std::span<const double>(&v, 1)); };
  for (const CornerResult& c : track.corners) {
    const std::string where = (prefixed ? track.track + " " : "") + c.corner.name;
    const CornerLap* from = nullptr;
    const CornerLap* to = nullptr;
    for (const CornerLap& l : c.laps) {
      if (l.lap == ref) from = &l;
      if (l.lap == lap) to = &l;
    }
    if (from == nullptr || to == nullptr || std::isnan(to->value[segmentTime])) continue;
    const auto compare = [&](CornerKey key, const char* quantity) {
      return compareOverLaps(one(from->value[key]), one(to->value[key]), {0, 0, where}, quantity,
                             cornerKeyResolution[key]);
    };
    CornerFinding cf{where, compare(segmentTime, "segment_time_s"), {}, {}, {}};
    cf.lift = liftText(where, liftOf(*from), liftOf(*to), std::string(fileNameOf(f.from)));
    for (const Phrase& p : phrases) {
      const Difference d = compare(p.key, cornerKeyNames[p.key]);
      if (worthAWord(d)) cf.actions.push_back(d);
    }
    largestOnly(cf.actions);
    cf.sentence = findingSentence(cf, c.corner.left, std::string(fileNameOf(f.to)), unit);
    f.corners.push_back(std::move(cf));
  }
  order(f.corners);
  return f;
}

}  // namespace

std::string findingSentence(const CornerFinding& f, bool leftHand, const std::string& who, SpeedUnit unit) {
  const Difference& t = f.timeLost;
  const double lost = t.delta.value;
  const bool gains = lost < 0.0;
  std::string s = f.corner + ": " + who + (gains ? " gains " : " loses ") + fixedText(std::fabs(lost), 2) + " s";
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
  for (const Difference& a : f.actions) s += "; " + actionText(a, leftHand, unit);
  return s;
}

std::vector<Finding> findTimeLoss(const std::vector<TrackAnalysis>& tracks, const std::vector<Difference>& differences,
                                  const std::vector<std::string>& labels, SpeedUnit unit) {
  std::vector<Finding> out;
  const auto keep = [&](Finding f) {
    if (!f.corners.empty()) out.push_back(std::move(f));
  };
  if (labels.size() > 1) {
    for (std::size_t g = 1; g < labels.size(); ++g) keep(groupFinding(tracks, differences, g, labels, unit));
    return out;
  }
  for (const TrackAnalysis& t : tracks) {
    for (std::size_t l = 0; l < t.laps.size(); ++l) {
      if (l != t.reference) keep(lapFinding(t, l, tracks.size() > 1, unit));
    }
  }
  return out;
}

}  // namespace skidlog
