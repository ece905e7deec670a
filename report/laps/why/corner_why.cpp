#include "report/laps/why/corner_why.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <utility>
#include <variant>

#include "report/laps/findings.h"

namespace skidlog {
namespace {

// Which way a setup difference predicts the understeer moves: +1 more, -1
// less, 0 where its rule says nothing of the balance.
using Prediction = int;

// A textbook rule: the phases a setup item acts on.
struct SetupRule {
  const char* quantity;
  const char* phases[3];  // null-terminated; none for every phase
  WhyRule rule;
};

constexpr SetupRule setupRules[] = {
    {"anti_roll_front", {"middle"}, WhyRule::rollStiffness},
    {"anti_roll_rear", {"middle"}, WhyRule::rollStiffness},
    {"spring_n_per_m", {"middle"}, WhyRule::rollStiffness},
    {"travel_m", {"middle", "exit"}, WhyRule::travel},
    {"bump_ns_per_m", {"entry", "exit"}, WhyRule::dampers},
    {"rebound_ns_per_m", {"entry", "exit"}, WhyRule::dampers},
    {"brake_torque_nm", {"entry"}, WhyRule::brakeSplit},
    {"final_drive", {"exit"}, WhyRule::gearing},
    {"gear_ratios", {"exit"}, WhyRule::gearing},
    {"tyre", {}, WhyRule::tyreType},
    {"tyre_width_m", {}, WhyRule::tyreWidth},
};

const SetupRule* ruleOf(const std::string& quantity) {
  for (const SetupRule& r : setupRules) {
    if (quantity == r.quantity) return &r;
  }
  return nullptr;
}

bool actsOn(const SetupRule& r, const std::string& phase) {
  if (r.phases[0] == nullptr) return true;
  for (const char* p : r.phases) {
    if (p != nullptr && phase == p) return true;
  }
  return false;
}

bool frontPlace(const std::string& where) { return where == "front" || where == "FL" || where == "FR"; }
bool rearPlace(const std::string& where) { return where == "rear" || where == "RL" || where == "RR"; }

int sign(double v) { return v > 0.0 ? 1 : v < 0.0 ? -1 : 0; }

// What a setup difference predicts of the understeer, from its recorded
// change: a stiffer front (bar or spring) more, a stiffer rear less; a
// shorter travel more at the front, less at the rear.
Prediction predictOf(const SetupDifference& d) {
  const float* from = std::get_if<float>(&d.fromValue);
  const float* to = std::get_if<float>(&d.toValue);
  if (from == nullptr || to == nullptr || !std::isfinite(*from) || !std::isfinite(*to)) return 0;
  const int change = sign(static_cast<double>(*to) - static_cast<double>(*from));
  if (d.quantity == "anti_roll_front") return change;
  if (d.quantity == "anti_roll_rear") return -change;
  if (d.quantity == "spring_n_per_m") return frontPlace(d.where) ? change : rearPlace(d.where) ? -change : 0;
  if (d.quantity == "travel_m") return frontPlace(d.where) ? -change : rearPlace(d.where) ? change : 0;
  return 0;
}

const char* understeerKey(const std::string& phase) {
  return phase == "entry" ? "understeer_entry_deg" : phase == "middle" ? "understeer_middle_deg" : "understeer_exit_deg";
}

// The comparison's differences at one corner.
class CornerDifferences {
 public:
  CornerDifferences(const std::vector<Difference>& all, std::size_t from, std::size_t to, const std::string& corner) {
    for (const Difference& d : all) {
      if (d.from == from && d.to == to && d.where == corner && d.curve.empty()) at_.push_back(&d);
    }
  }

  const Difference* find(const std::string& quantity, const std::string& phase = "",
                         const std::string& wheel = "") const {
    for (const Difference* d : at_) {
      if (d->quantity == quantity && d->phase == phase && d->wheel == wheel) return d;
    }
    return nullptr;
  }

  // Which way the understeer in `phase` moved, where claimed: +1 more, -1
  // less, 0 not claimed.
  int understeerMoved(const std::string& phase) const {
    const Difference* d = find(understeerKey(phase));
    return d != nullptr && claimed(d->verdict) ? sign(d->delta.value) : 0;
  }

 private:
  std::vector<const Difference*> at_;
};

std::optional<bool> agreement(Prediction predicted, int moved) {
  if (predicted == 0 || moved == 0) return std::nullopt;
  return predicted == moved;
}

WhyLink measured(const char* link, const Difference& d, const std::string& phase) {
  WhyLink out;
  out.link = link;
  out.phase = phase;
  out.measured = &d;
  return out;
}

// The phase of the corner's two halves that loses (or gains) the most of
// its time, the way the corner's time goes: entry or exit; empty where
// neither half is known.
std::string losingHalf(const CornerDifferences& at, const Difference& timeLost) {
  const Difference* entry = at.find("entry_delta_s");
  const Difference* exit = at.find("exit_delta_s");
  const auto toward = [&](const Difference* d) {
    return d == nullptr || std::isnan(d->delta.value) ? -std::numeric_limits<double>::infinity() : sign(timeLost.delta.value) * d->delta.value;
  };
  if (entry == nullptr && exit == nullptr) return "";
  return toward(entry) >= toward(exit) ? "entry" : "exit";
}

void addPlatform(const CornerDifferences& at, const std::string& phase, std::vector<WhyLink>& links) {
  if (const Difference* d = at.find("lltd_front", phase)) {
    WhyLink l = measured("platform", *d, phase);
    if (phase == "middle" && claimed(d->verdict)) l.agrees = agreement(sign(d->delta.value), at.understeerMoved(phase));
    l.rule = WhyRule::frontShare;
    links.push_back(std::move(l));
  }
  if (const Difference* d = at.find("roll_deg", phase)) links.push_back(measured("platform", *d, phase));
  // Per wheel only what is claimed: four wheels' unchanged numbers say
  // nothing a line should carry.
  for (const char* wheel : {"FL", "FR", "RL", "RR"}) {
    if (const Difference* d = at.find("at_travel_end_s", phase, wheel); d != nullptr && claimed(d->verdict)) {
      WhyLink l = measured("platform", *d, phase);
      const Prediction p = frontPlace(wheel) ? sign(d->delta.value) : -sign(d->delta.value);
      l.agrees = agreement(p, at.understeerMoved(phase));
      l.rule = WhyRule::wheelOnStop;
      links.push_back(std::move(l));
    }
    if (phase == "middle") continue;  // dampers act while the body moves
    if (const Difference* d = at.find("damper_rms_mm_s", phase, wheel); d != nullptr && claimed(d->verdict)) {
      links.push_back(measured("platform", *d, phase));
    }
  }
}

void addSetup(const WhyEvidence& e, std::size_t from, std::size_t to, const CornerDifferences& at,
              const std::vector<std::string>& phases, std::vector<WhyLink>& links) {
  for (const SetupDifference& s : e.setups) {
    if (s.from != from || s.to != to) continue;
    const SetupRule* rule = ruleOf(s.quantity);
    if (rule == nullptr) continue;
    const auto link = [&](const std::string& phase) {
      WhyLink l;
      l.link = "setup";
      l.phase = phase;
      l.setup = &s;
      l.rule = rule->rule;
      if (!phase.empty()) l.agrees = agreement(predictOf(s), at.understeerMoved(phase));
      links.push_back(std::move(l));
    };
    if (rule->phases[0] == nullptr) {
      link("");
      continue;
    }
    for (const std::string& phase : phases) {
      if (actsOn(*rule, phase)) link(phase);
    }
  }
}

bool driversDiffer(const WhyEvidence& e, std::size_t from, std::size_t to) {
  if (from >= e.players.size() || to >= e.players.size()) return false;
  const std::set<std::string> a(e.players[from].begin(), e.players[from].end());
  const std::set<std::string> b(e.players[to].begin(), e.players[to].end());
  return a != b;
}

}  // namespace

const std::string& WhyLink::wheel() const {
  static const std::string none;
  return measured != nullptr ? measured->wheel : none;
}

Estimate WhyLink::delta() const {
  if (measured != nullptr) return measured->delta;
  Estimate change;
  const float* a = std::get_if<float>(&setup->fromValue);
  const float* b = std::get_if<float>(&setup->toValue);
  if (a != nullptr && b != nullptr) change.value = static_cast<double>(*b) - static_cast<double>(*a);
  return change;
}

CornerWhy explainCorner(const WhyEvidence& e, std::size_t from, std::size_t to, const std::string& corner,
                        const Difference& timeLost) {
  CornerWhy out;
  out.driversDiffer = driversDiffer(e, from, to);
  const CornerDifferences at(e.differences, from, to, corner);
  for (const char* half : {"entry", "exit"}) {
    if (const Difference* d = at.find(std::string(half) + "_delta_s")) out.links.push_back(measured("time", *d, half));
  }
  if (const Difference* d = at.find("min_speed")) out.links.push_back(measured("speed", *d, "middle"));
  // The half that loses most, then the middle.
  std::vector<std::string> phases;
  if (std::string half = losingHalf(at, timeLost); !half.empty()) phases.push_back(std::move(half));
  phases.emplace_back("middle");
  for (const std::string& phase : phases) {
    if (const Difference* d = at.find(understeerKey(phase))) out.links.push_back(measured("balance", *d, phase));
  }
  for (const std::string& phase : phases) addPlatform(at, phase, out.links);
  addSetup(e, from, to, at, phases, out.links);
  return out;
}

void explainFindings(std::vector<Finding>& findings, const WhyEvidence& e) {
  const auto index = [&](const std::string& label) {
    return static_cast<std::size_t>(std::find(e.labels.begin(), e.labels.end(), label) - e.labels.begin());
  };
  for (Finding& f : findings) {
    const std::size_t from = index(f.from), to = index(f.to);
    if (from >= e.labels.size() || to >= e.labels.size() || from == to) continue;
    for (CornerFinding& c : f.corners) {
      if (!claimed(c.timeLost.verdict)) continue;
      c.why = explainCorner(e, from, to, c.corner, c.timeLost);
    }
  }
}

}  // namespace skidlog
