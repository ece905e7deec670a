#include "report/output/words/difference_words.h"

#include <cmath>

#include "report/output/words/number_text.h"
#include "report/quantity/quantities.h"

namespace skidlog {

std::string disagreementText(const Difference& d, const std::string& group) {
  const Disagreement& w = d.disagreement;
  const Quantity* q = quantityNamed(d.quantity, d.curve);
  if (w.laps == 0 || q == nullptr) return {};
  const auto value = [q](double v) { return minusText(v, q->decimals) + unitText(q->unit); };
  std::string text = group;
  text.append("'s ").append(std::to_string(w.laps)).append(" laps spread ").append(value(w.spread));
  text.append(" from lap to lap, more than an interval over so few can bound");
  if (!w.lap.empty() && std::isfinite(w.lapValue) && std::isfinite(w.othersMean)) {
    text.append("; ").append(w.lap).append(" ").append(value(w.lapValue)).append(" against ");
    text.append(value(w.othersMean)).append(w.laps == 2 ? " for its other lap" : " for its other laps");
  }
  return text;
}

namespace {

// "club: full brake in 2 of 2 laps": a group's laps at a limit.
std::string limitText(const LimitCount& c, bool brake, const std::vector<std::string>& labels) {
  std::string text = c.group < labels.size() ? labels[c.group] : std::string();
  text.append(": ").append(brake ? "full brake" : "no coasting").append(" in ").append(std::to_string(c.atLimit));
  text.append(" of ").append(std::to_string(c.laps)).append(c.laps == 1 ? " lap" : " laps");
  if (c.atLimit < c.laps) text.append(", mean ").append(fixedText(c.mean, 2));
  return text;
}

// "tyre types differ: front road normal against hybrid": a tyre-type note's
// first part.
std::string tyreTypes(const DifferenceNote& n) {
  std::string text = "tyre types differ: ";
  for (std::size_t k = 0; k < n.tyres.size(); ++k) {
    const AxleTyres& t = n.tyres[k];
    if (k > 0) text.append("; ");
    if (!t.axle.empty()) text.append(t.axle).append(" ");
    text.append(t.from).append(" against ").append(t.to);
  }
  return text;
}

}  // namespace

std::string noteText(const DifferenceNote& n, const std::vector<std::string>& labels) {
  using Reason = DifferenceNote::Reason;
  constexpr const char* otherIntervals = "the groups are recorded at different sample intervals, and ";
  const auto limits = [&] {
    return limitText(n.limits[0], n.brake, labels) + "; " + limitText(n.limits[1], n.brake, labels);
  };
  switch (n.reason) {
    case Reason::oneLapEach:
      return "one lap on each side: the laps' own variation is not known, so no interval";
    case Reason::oneLapAgainst:
      return "one lap against " + std::to_string(n.laps) + ": its lap-to-lap variation is taken to be the other group's";
    case Reason::blocksOfOneLap:
      return "one lap on each side: the interval resamples each lap's blocks";
    case Reason::largestTravelPerLap:
      return "each lap's largest share of the travel, compared over laps";
    case Reason::slipAtOtherInterval:
      return std::string(otherIntervals) + "the longitudinal slip, from the wheel's speed over two intervals, reads "
             "differently at each: compare laps recorded alike";
    case Reason::loadAtOtherInterval:
      return std::string(otherIntervals) + "the load, which holds the wheel's acceleration over two intervals, reads "
             "differently at each: compare laps recorded alike";
    case Reason::tyreTypesDiffer:
      return tyreTypes(n) + ": the difference is the tyres' type as well";
    case Reason::bothAtLimit:
      return "every lap of both groups at the limit (" + limits() + ")";
    case Reason::atLimit:
      return limits() + ": laps at the limit show no spread, so the difference cannot be judged";
    case Reason::gearboxesDiffer:
      return "the groups' gearboxes differ (first gear's overall ratio " + fixedText(n.ratios[0], 2) + " against " +
             fixedText(n.ratios[1], 2) + "): the gear is the gearbox's as much as the driver's; the engine speed at "
             "the slowest point compares across gearboxes";
  }
  return {};
}

std::string tyreTypesText(const std::vector<Difference>& differences, std::size_t to) {
  for (const Difference& d : differences) {
    if (d.to != to) continue;
    for (const DifferenceNote& n : d.notes) {
      if (n.reason == DifferenceNote::Reason::tyreTypesDiffer) return tyreTypes(n);
    }
  }
  return {};
}

std::vector<std::string> notesOf(const Difference& d, const std::vector<std::string>& labels) {
  std::vector<std::string> notes;
  for (const DifferenceNote& n : d.notes) notes.push_back(noteText(n, labels));
  if (d.verdict == lapsDisagree) {
    const std::size_t g = d.disagreement.group;
    const std::string why = g < labels.size() ? disagreementText(d, labels[g]) : std::string();
    notes.push_back(why.empty() ? "the laps disagree here" : "the laps disagree here: " + why);
  }
  return notes;
}

}  // namespace skidlog
