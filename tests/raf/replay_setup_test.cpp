#include "raf/replay_setup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <variant>
#include <vector>

#include "raf/replay_header.h"
#include "report/analysis/setup/setup_differences.h"
#include "report/output/words/setup_words.h"
#include "tests/support/replay_builder.h"

namespace skidlog {
namespace {

using test::floatBits;
using test::ReplayBuilder;

// A front-drive car's file: the rear wheels' records first, as those cars
// store them, each wheel's setup written in file order.
ReplayBuilder frontDriveSetup() {
  ReplayBuilder b(2);
  const float x[4] = {-0.66f, 0.66f, -0.71f, 0.71f};
  const float y[4] = {-1.39f, -1.39f, 0.94f, 0.94f};
  for (int w = 0; w < 4; ++w) {
    const std::size_t record = 512 + 128 * static_cast<std::size_t>(w);
    const bool rear = w < 2;
    b.geometry(w, x[w], y[w], 0.15f, 0.3f);
    b.put<float>(record + 16, 0.185f)                    // tyre width
        .put<float>(record + 20, rear ? 0.063f : 0.071f)  // travel
        .put<std::uint8_t>(record + 29, rear ? 6 : 5)     // hybrid behind, road normal in front
        .put<float>(record + 32, rear ? 62000.0f : 61600.0f)
        .put<float>(record + 36, rear ? 3500.0f : 5450.0f)
        .put<float>(record + 40, rear ? 7000.0f : 10900.0f)
        .put<float>(record + 44, rear ? 348.58f : 853.42f);
  }
  b.put<float>(196, 26000.0f).put<float>(200, 86000.0f).put<float>(204, 7.5f).put<std::uint8_t>(208, 5);
  const float ratios[7] = {1.175f, 0.885f, 0.735f, 0.63f, 0.58f, 9.0f, 9.0f};  // two slots past the count
  for (std::size_t k = 0; k < 7; ++k) b.put<float>(212 + 4 * k, ratios[k]);
  b.put<std::uint8_t>(168, 73);
  for (std::size_t k = 0; k < 9; ++k) b.put<char>(144 + k, "Clear Day"[k]);
  return b;
}

ReplaySetup setupOf(const ReplayBuilder& b) { return readReplaySetup(b.bytes(), wheelSlotsOf(b.bytes())); }

TEST(ReplaySetup, ReadsEveryItemByWheelRole) {
  const ReplaySetup s = setupOf(frontDriveSetup());
  EXPECT_EQ(s.wheels[frontLeft].tyreCode, 5);
  EXPECT_EQ(tyreName(s.wheels[rearRight].tyreCode), "hybrid");
  EXPECT_EQ(floatBits(s.wheels[frontRight].spring), floatBits(61600.0f));
  EXPECT_EQ(floatBits(s.wheels[rearLeft].travel), floatBits(0.063f));
  EXPECT_EQ(floatBits(s.wheels[frontLeft].rebound), floatBits(10900.0f));
  EXPECT_EQ(floatBits(s.wheels[rearLeft].brakeTorque), floatBits(348.58f));
  EXPECT_EQ(floatBits(s.antiRollFront), floatBits(86000.0f));
  EXPECT_EQ(floatBits(s.antiRollRear), floatBits(26000.0f));
  ASSERT_EQ(s.gearRatios.size(), 5u);  // the count, not the seven slots
  EXPECT_EQ(floatBits(s.gearRatios[4]), floatBits(0.58f));
  EXPECT_EQ(s.playerFlags, 73);
  EXPECT_EQ(aidsOf(s.playerFlags), (std::vector<std::string>{"automatic gear changes", "brake help"}));
  EXPECT_EQ(s.weather, "Clear Day");
  ASSERT_EQ(overallRatios(s).size(), 5u);
  EXPECT_NEAR(overallRatios(s)[0], 7.5 * 1.175, 1e-6);
}

// Damaged or odd headers: kept as recorded, named as unknown, never trusted
// as a divisor, and a file cut short gives what it holds.
TEST(ReplaySetup, HostileValuesAreKeptAsRecorded) {
  ReplayBuilder b = frontDriveSetup();
  b.put<std::uint8_t>(208, 200);               // more gears than there are slots
  b.put<std::uint8_t>(512 + 29, 125);          // no tyre type
  b.put<float>(204, -3.0f);                    // a negative final drive
  b.put<float>(512 + 128 * 2 + 32, NAN);       // a front spring that is not a number
  const ReplaySetup s = setupOf(b);
  EXPECT_EQ(s.gearCount, 200);
  EXPECT_EQ(s.gearRatios.size(), 7u);
  EXPECT_EQ(tyreName(s.wheels[rearLeft].tyreCode), "unknown (code 125)");
  EXPECT_TRUE(overallRatios(s).empty());
  EXPECT_TRUE(std::isnan(s.wheels[frontLeft].spring));
  EXPECT_TRUE(s.sameAs(s));  // NaN equals itself: one setup, one group
  const ReplaySetup cut = readReplaySetup(b.bytes().first(600), wheelSlotsOf(b.bytes().first(600)));
  // Only the first record is whole: too little to tell the axles apart, so
  // the file order stands, and what is not there is not recorded.
  EXPECT_EQ(cut.wheels[frontLeft].tyreCode, 125);
  EXPECT_EQ(cut.wheels[rearLeft].tyreCode, -1);
  EXPECT_TRUE(std::isnan(cut.wheels[rearLeft].spring));
  EXPECT_EQ(floatBits(cut.finalDrive), floatBits(-3.0f));
  EXPECT_EQ(tyreName(-1), "not recorded");
}

// An item that differs on both wheels of an axle alike is the axle's; one
// that differs on one wheel, or whose wheels differ, is each wheel's; the
// weather is no part of a setup.
TEST(SetupDifferences, ByAxleWhereLeftAndRightAgree) {
  const ReplaySetup base = setupOf(frontDriveSetup());
  EXPECT_TRUE(setupDifferences(base, base).empty());
  ReplaySetup other = base;
  other.weather = "Rain";
  EXPECT_TRUE(base.sameAs(other));
  other.finalDrive = 3.0f;
  other.wheels[rearLeft].spring = other.wheels[rearRight].spring = 50000.0f;
  other.wheels[frontLeft].tyreCode = 6;
  const std::vector<SetupDifference> d = setupDifferences(base, other);
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[0].where, "FL");
  EXPECT_EQ(d[0].quantity, "tyre");
  EXPECT_EQ(std::get<std::string>(d[0].toValue), "hybrid");
  EXPECT_EQ(d[1].where, "car");
  EXPECT_EQ(d[1].quantity, "final_drive");
  EXPECT_EQ(describe(d[1]), "final drive 7.5 to 3");
  EXPECT_EQ(d[2].where, "rear");
  EXPECT_EQ(describe(d[2]), "rear springs 62000 to 50000 N/m");
  // A label says only what is short: the tyres wheel by wheel are not.
  EXPECT_EQ(setupApart(other, std::vector<ReplaySetup>{base}), "final 3");
  other.wheels[frontLeft].tyreCode = other.wheels[frontRight].tyreCode = 6;
  EXPECT_EQ(setupApart(other, std::vector<ReplaySetup>{base}), "hybrid, final 3");
}

}  // namespace
}  // namespace skidlog
