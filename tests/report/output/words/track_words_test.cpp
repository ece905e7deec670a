// A track's notes name what its numbers cannot give in the reader's words,
// never by a field's code name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/output/words/track_words.h"

namespace skidlog {
namespace {

TEST(TrackWords, DamagedPedalsAndGearsAreNamedInWords) {
  TrackAnalysis track;
  LapResult lap;
  lap.file = "damaged.raf";
  track.laps.push_back(lap);
  CornerResult corner;
  CornerLap through;
  through.pedalsClamped = true;
  through.gearOutOfRange = true;
  corner.laps.push_back(through);
  track.corners.push_back(corner);
  const std::vector<std::string> notes = trackNotes({}, track);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].rfind("damaged.raf: a pedal outside 0 to 1", 0), 0u) << notes[0];
  EXPECT_EQ(notes[1], "damaged.raf: the gear at the lowest speed is no gear (a damaged file), so the gear at the "
                      "slowest point is not known there.");
  for (const std::string& n : notes) EXPECT_EQ(n.find('_'), std::string::npos) << n;
}

}  // namespace
}  // namespace skidlog
