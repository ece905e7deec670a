#include "report/output/words/tyre_words.h"

namespace skidlog {
namespace {

std::string boundedNote(const char* curve) {
  return std::string(curve) + " cornering_stiffness: the peak factor D ran to a bound of its range, so the data does "
         "not determine the curve's shape or its slope at zero slip";
}

}  // namespace

std::vector<std::string> tyreNotes(const TyreAnalysis& a) {
  std::vector<std::string> notes;
  if (a.lateral) {
    if (peakFactorBounded(a.lateral->fit)) notes.push_back(boundedNote("lateral"));
    if (!a.loadSensitivity.known()) {
      notes.emplace_back("load_sensitivity: no slip holds points at different loads, so load cannot be told apart "
                         "from slip and side");
    }
  }
  if (a.longitudinal && peakFactorBounded(a.longitudinal->fit)) notes.push_back(boundedNote("longitudinal"));
  return notes;
}

}  // namespace skidlog
