// A corner finding's why: the measured differences beside it, the setup
// items that act on the phases that lose, and whether the balance moved as
// each rule predicts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/laps/why/corner_why.h"
#include "report/output/words/why_words.h"

namespace skidlog {
namespace {

Difference at(const std::string& quantity, double delta, const char* verdict, const std::string& phase = "",
              const std::string& wheel = "") {
  Difference d;
  d.to = 1;
  d.where = "T5";
  d.quantity = quantity;
  d.phase = phase;
  d.wheel = wheel;
  d.delta.value = delta;
  d.delta.ci = {delta - 0.1, delta + 0.1};
  d.verdict = verdict;
  return d;
}

SetupDifference setup(const std::string& quantity, SetupValue from, SetupValue to, const std::string& where = "car") {
  return {0, 1, where, quantity, std::move(from), std::move(to)};
}

const WhyLink* find(const CornerWhy& why, const std::string& link, const std::string& quantity,
                    const std::string& phase) {
  for (const WhyLink& l : why.links) {
    if (l.link == link && l.quantity() == quantity && l.phase == phase) return &l;
  }
  return nullptr;
}

class WhyTest : public ::testing::Test {
 protected:
  CornerWhy explain() {
    const WhyEvidence e{differences, setups, labels, players};
    return explainCorner(e, 0, 1, "T5", at("segment_time_s", -0.9, lower));
  }

  // The later group gains 0.9 s at T5, most of it before the apex, with
  // less understeer in the middle and a smaller front share there.
  std::vector<Difference> differences{
      at("entry_delta_s", -0.7, lower),           at("exit_delta_s", -0.2, lower),
      at("min_speed", 1.2, higher),               at("understeer_entry_deg", 0.05, noDifferenceShown),
      at("understeer_middle_deg", -4.5, lower),     at("understeer_exit_deg", -1.0, lower),
      at("lltd_front", -0.09, lower, "middle"),      at("roll_deg", -0.8, lower, "middle"),
      at("lltd_front", -0.08, lower, "entry"),    at("at_travel_end_s", 0.3, higher, "middle", "FR"),
      at("at_travel_end_s", 0.0, noDifferenceShown, "middle", "RR"), at("damper_rms_mm_s", 20.0, higher, "entry", "FL"),
      at("lltd_front", -0.09, lower, "exit")};
  std::vector<SetupDifference> setups{setup("anti_roll_front", 22000.0f, 67000.0f),
                                      setup("anti_roll_rear", 12000.0f, 57000.0f),
                                      setup("final_drive", 4.0f, 4.5f),
                                      setup("tyre", std::string("road normal"), std::string("hybrid"), "front"),
                                      setup("player_flags", 8, 72)};
  std::vector<std::string> labels{"club", "record"};
  std::vector<std::vector<std::string>> players{{"Ann", "Ann"}, {"Bo"}};
};

TEST_F(WhyTest, LinksTheLosingPhaseAndTheMiddle) {
  const CornerWhy why = explain();
  EXPECT_TRUE(why.driversDiffer);
  EXPECT_NE(find(why, "time", "entry_delta_s", "entry"), nullptr);
  EXPECT_NE(find(why, "time", "exit_delta_s", "exit"), nullptr);
  EXPECT_NE(find(why, "speed", "min_speed", "middle"), nullptr);
  // The entry loses most: its balance and platform, and the middle's.
  EXPECT_NE(find(why, "balance", "understeer_entry_deg", "entry"), nullptr);
  EXPECT_NE(find(why, "balance", "understeer_middle_deg", "middle"), nullptr);
  EXPECT_EQ(find(why, "balance", "understeer_exit_deg", "exit"), nullptr);
  EXPECT_EQ(find(why, "platform", "lltd_front", "exit"), nullptr);
  // A wheel's numbers only where claimed; dampers not in a steady middle.
  std::size_t wheels = 0;
  for (const WhyLink& l : why.links) wheels += l.wheel().empty() ? 0u : 1u;
  EXPECT_EQ(wheels, 2u);
  EXPECT_NE(find(why, "platform", "damper_rms_mm_s", "entry"), nullptr);
}

TEST_F(WhyTest, EachRuleAgreesWithTheBalanceOrNot) {
  const CornerWhy why = explain();
  // A smaller front share in the middle predicts less understeer there: so it is.
  ASSERT_NE(find(why, "platform", "lltd_front", "middle"), nullptr);
  EXPECT_EQ(find(why, "platform", "lltd_front", "middle")->agrees, true);
  EXPECT_FALSE(find(why, "platform", "lltd_front", "entry")->agrees.has_value());  // the rule is the middle's
  // A stiffer front bar predicts more understeer, a stiffer rear less.
  const WhyLink* front = find(why, "setup", "anti_roll_front", "middle");
  ASSERT_NE(front, nullptr);
  EXPECT_EQ(front->agrees, false);
  EXPECT_EQ(front->verdict(), asRecorded);
  EXPECT_DOUBLE_EQ(front->delta().value, 45000.0);
  EXPECT_EQ(find(why, "setup", "anti_roll_rear", "middle")->agrees, true);
  // The front right on its stop longer predicts more understeer: not so.
  EXPECT_EQ(find(why, "platform", "at_travel_end_s", "middle")->agrees, false);
  // Gearing acts on the exit, which does not lose most here; the tyre on
  // every phase, named always; the player flags on none.
  EXPECT_EQ(find(why, "setup", "final_drive", "exit"), nullptr);
  const WhyLink* tyre = find(why, "setup", "tyre", "");
  ASSERT_NE(tyre, nullptr);
  EXPECT_FALSE(tyre->agrees.has_value());
  EXPECT_NE(whyLine(*tyre).find("front tyres road normal to hybrid"), std::string::npos) << whyLine(*tyre);
  for (const WhyLink& l : why.links) EXPECT_NE(l.quantity(), "player_flags");
  // Rounded as the quantity is everywhere; a rule's verdict states its rule.
  EXPECT_EQ(whyLine(*find(why, "balance", "understeer_middle_deg", "middle")),
            "middle understeer \u22124.5\u00b0 (\u22124.6 to \u22124.4\u00b0)");
  const std::string stop = whyLine(*find(why, "platform", "at_travel_end_s", "middle"));
  EXPECT_NE(stop.find("not consistent with its rule (a wheel on its stop stiffens its corner abruptly"), std::string::npos)
      << stop;
}

TEST_F(WhyTest, OneDriverAndOneSetupHaveNoSetupLinks) {
  setups.clear();
  players = {{"Ann", "Ann"}, {"Ann"}};
  const CornerWhy why = explain();
  EXPECT_FALSE(why.driversDiffer);
  for (const WhyLink& l : why.links) EXPECT_NE(l.link, "setup");
  // An unclaimed balance leaves every rule without a verdict.
  differences[4].verdict = noDifferenceShown;
  for (const WhyLink& l : explain().links) {
    if (l.phase == "middle") {
      EXPECT_FALSE(l.agrees.has_value()) << l.quantity();
    }
  }
}

}  // namespace
}  // namespace skidlog
