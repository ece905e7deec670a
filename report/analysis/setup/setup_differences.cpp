#include "report/analysis/setup/setup_differences.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cmath>
#include <cstdint>
#include <functional>

#include "report/analysis/report_group.h"
#include "report/analysis/tyres/tyre_analysis.h"

namespace skidlog {
namespace {

struct WheelItem {
  const char* quantity;
  std::function<SetupValue(const WheelSetup&)> of;
};

const std::vector<WheelItem>& wheelItems() {
  static const std::vector<WheelItem> items = {
      {"tyre", [](const WheelSetup& w) { return SetupValue(tyreName(w.tyreCode)); }},
      {"tyre_width_m", [](const WheelSetup& w) { return SetupValue(w.tyreWidth); }},
      {"travel_m", [](const WheelSetup& w) { return SetupValue(w.travel); }},
      {"spring_n_per_m", [](const WheelSetup& w) { return SetupValue(w.spring); }},
      {"bump_ns_per_m", [](const WheelSetup& w) { return SetupValue(w.bump); }},
      {"rebound_ns_per_m", [](const WheelSetup& w) { return SetupValue(w.rebound); }},
      {"brake_torque_nm", [](const WheelSetup& w) { return SetupValue(w.brakeTorque); }},
  };
  return items;
}

}  // namespace

// Items compare bit for bit: a value not recorded (NaN) equals itself.
bool sameValue(const SetupValue& a, const SetupValue& b) {
  if (a.index() != b.index()) return false;
  const auto bits = [](float f) { return std::bit_cast<std::uint32_t>(f); };
  if (const float* x = std::get_if<float>(&a)) return bits(*x) == bits(std::get<float>(b));
  if (const auto* x = std::get_if<std::vector<float>>(&a)) {
    const auto& y = std::get<std::vector<float>>(b);
    return std::equal(x->begin(), x->end(), y.begin(), y.end(), [&](float p, float q) { return bits(p) == bits(q); });
  }
  return a == b;
}

std::vector<SetupDifference> setupDifferences(const ReplaySetup& from, const ReplaySetup& to) {
  std::vector<SetupDifference> out;
  const auto wheels = [&](const WheelItem& item) {
    for (std::size_t axle = 0; axle < axleCount; ++axle) {
      const std::size_t left = 2 * axle, right = left + 1;
      const SetupValue fl = item.of(from.wheels[left]), fr = item.of(from.wheels[right]);
      const SetupValue tl = item.of(to.wheels[left]), tr = item.of(to.wheels[right]);
      if (sameValue(fl, fr) && sameValue(tl, tr)) {
        if (!sameValue(fl, tl)) out.push_back({0, 0, axleNames[axle], item.quantity, fl, tl});
        continue;
      }
      if (!sameValue(fl, tl)) out.push_back({0, 0, wheelNames[left], item.quantity, fl, tl});
      if (!sameValue(fr, tr)) out.push_back({0, 0, wheelNames[right], item.quantity, fr, tr});
    }
  };
  const auto car = [&](const char* quantity, SetupValue a, SetupValue b) {
    if (!sameValue(a, b)) out.push_back({0, 0, "car", quantity, std::move(a), std::move(b)});
  };
  // What moves the numbers most first: the tyres, the gearing, the bars.
  wheels(wheelItems().front());
  car("final_drive", from.finalDrive, to.finalDrive);
  car("gear_ratios", from.gearRatios, to.gearRatios);
  car("anti_roll_front", from.antiRollFront, to.antiRollFront);
  car("anti_roll_rear", from.antiRollRear, to.antiRollRear);
  for (std::size_t k = 1; k < wheelItems().size(); ++k) wheels(wheelItems()[k]);
  car("player_flags", from.playerFlags, to.playerFlags);
  return out;
}

std::vector<SetupDifference> compareSetups(std::span<const ReportGroup> groups) {
  std::vector<SetupDifference> out;
  if (groups.empty() || groups.front().replays.empty()) return out;
  for (std::size_t g = 1; g < groups.size(); ++g) {
    if (groups[g].replays.empty()) continue;
    for (SetupDifference d : setupDifferences(groups.front().replays.front().setup, groups[g].replays.front().setup)) {
      d.to = g;
      out.push_back(std::move(d));
    }
  }
  return out;
}

std::vector<SetupMix> setupMixes(std::span<const ReportGroup> groups) {
  std::vector<SetupMix> mixes;
  for (std::size_t k = 0; k < groups.size(); ++k) {
    const ReportGroup& g = groups[k];
    std::vector<const ReplaySetup*> distinct;
    for (const ReplaySummary& r : g.replays) {
      const bool seen = std::any_of(distinct.begin(), distinct.end(), [&](const ReplaySetup* s) { return s->sameAs(r.setup); });
      if (!seen) distinct.push_back(&r.setup);
    }
    if (distinct.size() < 2) continue;
    mixes.push_back({k, distinct.size()});
  }
  return mixes;
}

std::string axleTyres(const ReplaySetup& s, std::size_t axle) {
  const std::size_t left = 2 * axle, right = left + 1;
  const std::string l = tyreName(s.wheels[left].tyreCode), r = tyreName(s.wheels[right].tyreCode);
  return l == r ? l : std::string(wheelNames[left]) + " " + l + ", " + wheelNames[right] + " " + r;
}

void noteTyreTypes(std::span<const ReportGroup> groups, std::vector<Difference>& differences) {
  for (Difference& d : differences) {
    if (d.from >= groups.size() || d.to >= groups.size() || groups[d.from].replays.empty() ||
        groups[d.to].replays.empty()) {
      continue;
    }
    const ReplaySetup& from = groups[d.from].replays.front().setup;
    const ReplaySetup& to = groups[d.to].replays.front().setup;
    DifferenceNote note(DifferenceNote::Reason::tyreTypesDiffer);
    for (std::size_t axle = 0; axle < axleCount; ++axle) {
      const bool here = d.where == axleNames[axle] || d.where == wheelNames[2 * axle] ||
                        d.where == wheelNames[2 * axle + 1] || d.where == "balance";
      std::string a = axleTyres(from, axle), b = axleTyres(to, axle);
      if (!here || a == b) continue;
      note.tyres.push_back({d.where == "balance" ? axleNames[axle] : "", std::move(a), std::move(b)});
    }
    if (!note.tyres.empty()) d.notes.push_back(std::move(note));
  }
}

}  // namespace skidlog
