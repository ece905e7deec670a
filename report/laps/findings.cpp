#include "report/laps/findings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "system/system.h"
#include "report/quantity/quantities.h"

namespace skidlog {
namespace {

// The driver's action or corner balance a difference names; nullptr for
// a number a finding does not name.
const ActionWords* actionOf(const std::string& quantity) {
  const Quantity* q = quantityNamed(quantity);
  return q != nullptr && q->action.named() ? &q->action : nullptr;
}

// How far a difference without an interval passes the smallest worth a
// word (1 at it); 0 for one that is not worth one.
double weight(const Difference& d) {
  const ActionWords* a = actionOf(d.quantity);
  // The balance of one lap moves too much from lap to lap to name alone.
  if (a == nullptr || std::isnan(d.delta.value) || d.quantity.rfind("understeer_", 0) == 0) return 0.0;
  const double w = std::fabs(d.delta.value) / a->oneLap;
  return w >= 1.0 ? w : 0.0;
}

bool worthAWord(const Difference& d) {
  // A phase's platform and grip use are evidence for a finding, not one.
  if (d.verdict == notComparable || !d.phase.empty()) return false;
  if (d.verdict != oneLapEach) return actionOf(d.quantity) != nullptr && claimed(d.verdict);
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

// The lifts of `from`'s and `to`'s laps through a corner.
Lifts liftsOf(const CornerGroup& from, const CornerGroup& to) {
  return {from.lifting, from.liftKnown, to.lifting, to.liftKnown};
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
                     std::size_t to, const std::vector<std::string>& labels) {
  Finding f{labels[0], labels[to], {}};
  for (const Difference& d : differences) {
    if (d.to != to || d.quantity != "segment_time_s") continue;
    CornerFinding c{d.where, d, {}, {}, {}, {}, 0, 0};
    for (const Difference& a : differences) {
      if (a.to == to && a.where == d.where && worthAWord(a)) c.actions.push_back(a);
    }
    if (d.verdict == oneLapEach) largestOnly(c.actions);
    const CornerResult* corner = cornerNamed(tracks, d.where);
    if (corner != nullptr && to < corner->groups.size()) {
      c.lifts = liftsOf(corner->groups[0], corner->groups[to]);
      c.fromLaps = corner->groups[0].laps;
      c.toLaps = corner->groups[to].laps;
    }
    c.leftHand = corner == nullptr || corner->corner.left;
    c.who = labels[to];
    c.against = labels[0];
    f.corners.push_back(std::move(c));
  }
  order(f.corners);
  return f;
}

// One lap against its track's reference lap: one value each, no intervals.
Finding lapFinding(const TrackAnalysis& track, std::size_t lap, bool prefixed) {
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
                             cornerKeyGrain[key]);
    };
    CornerFinding cf{where, compare(segmentTime, "segment_time_s"), {}, {}, {}, {}, 0, 0};
    cf.lifts = liftsOf(liftOf(*from), liftOf(*to));
    for (std::size_t key = 0; key < cornerKeyCount; ++key) {
      if (actionOf(cornerKeyNames[key]) == nullptr) continue;
      const Difference d = compare(static_cast<CornerKey>(key), cornerKeyNames[key]);
      if (worthAWord(d)) cf.actions.push_back(d);
    }
    largestOnly(cf.actions);
    cf.leftHand = c.corner.left;
    cf.who = std::string(fileNameOf(f.to));
    cf.against = std::string(fileNameOf(f.from));
    cf.fromLaps = cf.toLaps = 1;
    f.corners.push_back(std::move(cf));
  }
  order(f.corners);
  return f;
}

}  // namespace

std::vector<Finding> findTimeLoss(const std::vector<TrackAnalysis>& tracks, const std::vector<Difference>& differences,
                                  const std::vector<std::string>& labels) {
  std::vector<Finding> out;
  const auto keep = [&](Finding f) {
    if (!f.corners.empty()) out.push_back(std::move(f));
  };
  if (labels.size() > 1) {
    for (std::size_t g = 1; g < labels.size(); ++g) keep(groupFinding(tracks, differences, g, labels));
    return out;
  }
  for (const TrackAnalysis& t : tracks) {
    for (std::size_t l = 0; l < t.laps.size(); ++l) {
      if (l != t.reference) keep(lapFinding(t, l, tracks.size() > 1));
    }
  }
  return out;
}

}  // namespace skidlog
