#include "csv/csv_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "csv/wheel_row.h"
#include "tests/support/replay_builder.h"

namespace skidlog {
namespace {

// Series for n samples in which every wheel rolls at 10 m/s under 3000 N;
// tests then change single entries.
struct Table {
  explicit Table(std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      times.push_back(static_cast<float>(i));
      for (Series<float>* s : {&car.speed, &car.throttle, &car.brake, &car.steerDeg, &car.gear}) s->push_back(1.0f);
      car.position.push_back({1, 2, 3});
      for (WheelTrack& w : wheels) {
        for (Series<float>* s : {&w.suspensionDeflection, &w.steer, &w.lean, &w.angularVelocity, &w.longitudinalForce,
                                 &w.lateralForce}) {
          s->push_back(0.0f);
        }
        w.localVelocity.push_back({0.0f, 10.0f, 0.0f});
        w.normalLoad.push_back(3000.0f);
      }
    }
    for (WheelGeometry& g : geometry) g.radius = 0.3f;
  }

  std::vector<std::string> lines(bool sideBySide) {
    StringSink sink;
    EXPECT_TRUE(writeCsv(sink, sideBySide, times.size(), times, car, wheels, geometry));
    std::vector<std::string> out;
    std::istringstream in(sink.text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }

  Series<float> times;
  CarTrack car;
  WheelTracks wheels;
  WheelGeometries geometry;
};

using test::fields;

TEST(CsvWriter, HeadersAndFieldCounts) {
  Table t(3);
  const auto wheel = t.lines(false);
  const auto side = t.lines(true);
  ASSERT_EQ(wheel.size(), 1u + 4 * 3);
  ASSERT_EQ(side.size(), 1u + 3);
  for (const std::string& line : wheel) EXPECT_EQ(fields(line).size(), 23u) << line;
  for (const std::string& line : side) EXPECT_EQ(fields(line).size(), 61u) << line;
  EXPECT_EQ(wheel[0].find("time [s], speed [m/s], position x [m], position y [m], position z [m], throttle, break, "
                          "steer [deg], gear, susp. deflection [m], angular velocity [rad/s], wheel steer [deg]"),
            0u);
  EXPECT_EQ(fields(wheel[0])[22], "wheel number");
  EXPECT_EQ(fields(side[0])[9], "FL susp. deflection [m]");
  EXPECT_EQ(fields(side[0])[60], "RR slip angle [deg]");
}

TEST(CsvWriter, NoSamplesGivesTheHeaderAlone) {
  Table t(0);
  EXPECT_EQ(t.lines(false).size(), 1u);
  EXPECT_EQ(t.lines(true).size(), 1u);
}

TEST(CsvWriter, PerWheelRowsComeInWheelOrderThenSampleOrder) {
  Table t(3);
  t.wheels[1].localVelocity[1].y = 2.9f;
  const auto lines = t.lines(false);
  ASSERT_EQ(lines.size(), 12u);
  std::vector<std::string> order;
  for (std::size_t k = 1; k < lines.size(); ++k) {
    const auto f = fields(lines[k]);
    order.push_back(f[22] + "@" + f[0]);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"0@0", "0@1", "0@2", "1@0", "1@2", "2@0", "2@1", "2@2", "3@0", "3@1",
                                             "3@2"}));
}

TEST(CsvWriter, SpeedFilterBoundary) {
  Table t(4);
  const float below = std::nextafter(3.0f, 0.0f);
  const float speeds[4] = {3.0f, below, -12.0f, NAN};
  for (std::size_t i = 0; i < 4; ++i) t.wheels[0].localVelocity[i].y = speeds[i];
  const auto wheel = t.lines(false);
  ASSERT_EQ(fields(wheel[1])[0], "0");
  EXPECT_EQ(fields(wheel[2])[22], "1");  // wheel 0 passed only at sample 0
  EXPECT_EQ(t.lines(true).size(), 2u);   // one wheel failing drops the whole sample
}

TEST(CsvWriter, TheTwoLoadTestsDiffer) {
  const float loads[] = {0.1f, std::nextafter(0.1f, 0.0f), 0.999f, 1.0f, -1.5f, 0.5f, -5.0f, NAN, INFINITY, 3e9f, -3e9f};
  const bool perWheel[] = {true, false, true, true, false, true, false, false, true, true, false};
  const bool side[] = {false, false, false, true, true, false, true, false, true, true, true};
  Table t(std::size(loads));
  for (std::size_t i = 0; i < std::size(loads); ++i) t.wheels[2].normalLoad[i] = loads[i];
  std::vector<bool> wheelPassed(std::size(loads), false), sidePassed(std::size(loads), false);
  for (const std::string& line : t.lines(false)) {
    const auto f = fields(line);
    if (f[22] == "2") wheelPassed[std::stoul(f[0])] = true;
  }
  const auto sideLines = t.lines(true);
  for (std::size_t k = 1; k < sideLines.size(); ++k) sidePassed[std::stoul(fields(sideLines[k])[0])] = true;
  for (std::size_t i = 0; i < std::size(loads); ++i) {
    EXPECT_EQ(wheelPassed[i], perWheel[i]) << "load " << loads[i];
    EXPECT_EQ(sidePassed[i], side[i]) << "load " << loads[i];
  }
}

TEST(CsvWriter, SpeedDivisorIsTheWholeNumberPart) {
  EXPECT_EQ(truncatedMagnitude(3.9f), 3);
  EXPECT_EQ(truncatedMagnitude(7.0f), 7);
  EXPECT_EQ(truncatedMagnitude(12.99f), 12);
  EXPECT_EQ(truncatedMagnitude(-0.999f), 0);
  EXPECT_EQ(truncatedMagnitude(-2147483648.0f), 2147483647);
  EXPECT_EQ(truncatedMagnitude(INFINITY), 2147483647);
  EXPECT_EQ(truncatedMagnitude(-INFINITY), 2147483647);
  EXPECT_EQ(truncatedMagnitude(NAN), 0);
}

TEST(CsvWriter, OutputTimeColumns) {
  Table t(2);
  WheelTrack& w = t.wheels[0];
  w.angularVelocity[0] = 10.0f;
  w.localVelocity[0] = {0.5f, 3.9f, 0.0f};
  w.steer[0] = 0.1f;
  w.lean[0] = 0.05f;
  w.longitudinalForce[0] = 1500.0f;
  w.lateralForce[0] = -600.0f;
  const auto f = fields(t.lines(false)[1]);
  EXPECT_EQ(f[11], "5.72956");   // 180 / 3.1416, not 180 / pi
  EXPECT_EQ(f[12], "-2.86478");  // camber is the lean negated
  EXPECT_EQ(f[13], "3.9");
  EXPECT_EQ(f[14], "0.5");
  EXPECT_EQ(f[18], "0.5");       // grip 1500 / 3000
  EXPECT_EQ(f[19], "-0.2");
  EXPECT_EQ(f[20], "-0.3");      // (10 * 0.3 - 3.9) / 3
  EXPECT_EQ(f[21], "-9.4623");
  const auto g = fields(t.lines(false)[2]);
  EXPECT_EQ(g[12], "0");  // a zero lean gives a negative-zero camber
}

TEST(CsvWriter, NonFiniteValuesAreWrittenPlainly) {
  Table t(1);
  t.wheels[3].suspensionDeflection[0] = -NAN;
  t.wheels[3].lateralForce[0] = -INFINITY;
  t.car.speed[0] = INFINITY;
  const auto f = fields(t.lines(true)[1]);
  EXPECT_EQ(f[1], "inf");
  EXPECT_EQ(f[48], "nan");
  EXPECT_EQ(f[56], "-inf");
}

class FailingSink : public LineSink {
 public:
  bool writeLine(std::string_view) override { return ++lines < 2; }
  int lines = 0;
};

TEST(CsvWriter, StopsAtTheFirstFailedLine) {
  Table t(5);
  FailingSink sink;
  EXPECT_FALSE(writeCsv(sink, false, 5, t.times, t.car, t.wheels, t.geometry));
  EXPECT_EQ(sink.lines, 2);
}

}  // namespace
}  // namespace skidlog
