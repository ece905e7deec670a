#include "report/output/words/setup_words.h"

namespace skidlog {

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
