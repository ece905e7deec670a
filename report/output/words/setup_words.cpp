#include "report/output/words/setup_words.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <variant>

#include "report/analysis/report_group.h"

namespace skidlog {
namespace {

// To four significant digits, whole from 1000 on, as a person writes it
// ("3.8" for 3.8000426, "61600", "0.063").
std::string rounded(float v) {
  if (!std::isfinite(v)) return "not recorded";
  char text[48];
  const double x = static_cast<double>(v);
  std::snprintf(text, sizeof text, std::fabs(x) >= 1000.0 ? "%.0f" : "%.4g", x);
  return text;
}

// "a / b" for front and rear where each axle's two wheels agree, else the four.
std::string perAxle(const ReplaySetup& s, const std::function<std::string(const WheelSetup&)>& text) {
  const auto& w = s.wheels;
  std::array<std::string, raf::wheelCount> t;
  for (std::size_t k = 0; k < t.size(); ++k) t[k] = text(w[k]);
  if (t[0] == t[1] && t[2] == t[3]) return t[0] == t[2] ? t[0] : t[0] + " / " + t[2];
  return t[0] + ", " + t[1] + ", " + t[2] + ", " + t[3] + " (FL, FR, RL, RR)";
}

// The longest description of the tyres a label takes ("road normal / hybrid").
constexpr std::size_t maxLabelTyres = 24;

std::string tyres(const ReplaySetup& s) {
  return perAxle(s, [](const WheelSetup& w) { return tyreName(w.tyreCode); });
}

// A value in thousands, to three digits at most after the point.
std::string thousands(float v) {
  if (!std::isfinite(v)) return "not recorded";
  const double k = std::round(static_cast<double>(v)) / 1000.0;
  char text[32];
  std::snprintf(text, sizeof text, "%.3g", k);
  return text;
}

}  // namespace

std::string setupApart(const ReplaySetup& setup, std::span<const ReplaySetup> others) {
  std::vector<std::string> words;
  const std::string mine = tyres(setup);
  const bool brief = mine.size() <= maxLabelTyres;
  if (brief && std::all_of(others.begin(), others.end(), [&](const ReplaySetup& o) { return tyres(o) != mine; })) {
    words.push_back(mine);
  }
  const auto sameFinal = [&](const ReplaySetup& o) { return sameValue(o.finalDrive, setup.finalDrive); };
  if (std::none_of(others.begin(), others.end(), sameFinal)) words.push_back("final " + rounded(setup.finalDrive));
  std::string text;
  for (const std::string& w : words) text += (text.empty() ? "" : ", ") + w;
  return text;
}

std::string describe(const SetupDifference& d) {
  struct Words {
    const char* quantity;
    const char* words;
    const char* unit;
  };
  static constexpr Words words[] = {
      {"tyre", "tyres", ""},           {"tyre_width_m", "tyre width", " m"},  {"travel_m", "travel", " m"},
      {"spring_n_per_m", "springs", " N/m"}, {"bump_ns_per_m", "bump damping", " N s/m"},
      {"rebound_ns_per_m", "rebound damping", " N s/m"}, {"brake_torque_nm", "brake torque", " N m"},
      {"anti_roll_front", "front anti-roll bar", ""}, {"anti_roll_rear", "rear anti-roll bar", ""},
      {"final_drive", "final drive", ""}, {"gear_ratios", "gear ratios", ""}, {"player_flags", "player flags", ""}};
  const Words* w = nullptr;
  for (const Words& x : words) {
    if (d.quantity == x.quantity) w = &x;
  }
  const auto text = [](const SetupValue& v) -> std::string {
    if (const float* f = std::get_if<float>(&v)) return rounded(*f);
    if (const int* i = std::get_if<int>(&v)) return std::to_string(*i);
    if (const std::string* s = std::get_if<std::string>(&v)) return *s;
    std::string list;
    for (const float f : std::get<std::vector<float>>(v)) list += (list.empty() ? "" : ", ") + rounded(f);
    return list.empty() ? "none" : list;
  };
  const std::string where = d.where == "car" ? "" : d.where + " ";
  return where + (w ? w->words : d.quantity.c_str()) + " " + text(d.fromValue) + " to " + text(d.toValue) +
         (w ? w->unit : "");
}

std::string setupLine(const ReplaySetup& s) {
  std::string gears;
  for (const float r : s.gearRatios) gears += (gears.empty() ? "" : ", ") + rounded(r);
  std::string aids;
  for (const std::string& a : aidsOf(s.playerFlags)) aids += (aids.empty() ? "" : ", ") + a;
  return "tyres " + tyres(s) + "; travel " + perAxle(s, [](const WheelSetup& w) { return rounded(w.travel); }) +
         " m; springs " + perAxle(s, [](const WheelSetup& w) { return thousands(w.spring); }) +
         " kN/m; bump " + perAxle(s, [](const WheelSetup& w) { return thousands(w.bump); }) + ", rebound " +
         perAxle(s, [](const WheelSetup& w) { return thousands(w.rebound); }) + " kN s/m; brakes " +
         perAxle(s, [](const WheelSetup& w) { return rounded(w.brakeTorque); }) + " N m; anti-roll bars " +
         thousands(s.antiRollFront) + " / " + thousands(s.antiRollRear) + " k; final " + rounded(s.finalDrive) +
         "; gears " + (gears.empty() ? "not recorded" : gears) + (aids.empty() ? "" : "; aids: " + aids);
}


std::vector<std::string> setupNotes(const std::vector<SetupMix>& mixes, const std::vector<std::string>& labels) {
  const bool grouped = labels.size() > 1;
  std::vector<std::string> notes;
  for (const SetupMix& m : mixes) {
    std::string note = grouped && m.group < labels.size() ? labels[m.group] + ": its" : std::string("The");
    note.append(" replays hold ").append(std::to_string(m.setups)).append(" car setups; ");
    note.append(grouped ? "the group is compared by its first replay's setup" : "each replay's is listed");
    notes.push_back(note.append(" (--by setup groups replays of one setup)."));
  }
  return notes;
}

}  // namespace skidlog
