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

std::vector<std::string> notesOf(const Difference& d, const std::vector<std::string>& labels) {
  std::vector<std::string> notes = d.notes;
  if (d.verdict == lapsDisagree) {
    const std::size_t g = d.disagreement.group;
    const std::string why = g < labels.size() ? disagreementText(d, labels[g]) : std::string();
    notes.push_back(why.empty() ? "the laps disagree here" : "the laps disagree here: " + why);
  }
  return notes;
}

}  // namespace skidlog
