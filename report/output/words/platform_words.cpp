#include "report/output/words/platform_words.h"

#include "report/output/words/number_text.h"

namespace skidlog {
std::vector<std::string> platformNotes(const Platform& p) {
  const PlatformGaps& g = p.gaps;
  std::vector<std::string> notes;
  const std::string why = ": a damper's stroke is over between two samples, so its velocity is not measured";
  if (!p.dampersMeasured && g.laps > 0) {
    notes.push_back("recorded every " + millisecondsText(g.coarseInterval) + why);
  } else if (g.coarseLaps > 0) {
    notes.push_back(std::to_string(g.coarseLaps) + " of " + std::to_string(g.laps) + " replays recorded every " +
                    millisecondsText(g.coarseInterval) + " are left out of the dampers" + why);
  }
  if (g.noGeometry) notes.emplace_back("the wheels' positions do not give the car's tracks and wheelbase: no roll or pitch");
  if (g.noTravel) notes.emplace_back("the setup does not record the suspension's travel: no share of it");
  return notes;
}

}  // namespace skidlog
