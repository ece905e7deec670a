#include "csv/csv_rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "csv/csv_writer.h"
#include "csv/number_format.h"
#include "numeric/precision.h"
#include "skidlog/skidlog.h"
#include "tests/support/replay_builder.h"
#include "tools/generator/synth.h"

namespace skidlog {
namespace {

// A generated lap, derived, with damaged values planted where a row keeps
// them: NaN and infinite forces, a huge steer, a negative zero.
Replay damagedLap() {
  generator::LapOptions lap;
  lap.seconds = 8.0;
  Replay replay;
  EXPECT_EQ(loadReplay(generator::generateLap(generator::exampleCar(), lap), std::uint64_t{1} << 32, replay).status,
            LoadStatus::loaded);
  deriveWheelSeries(replay);
  WheelTrack& fl = replay.wheels[0];
  fl.lateralForce[100] = std::numeric_limits<float>::quiet_NaN();
  fl.longitudinalForce[101] = std::numeric_limits<float>::infinity();
  fl.steer[102] = 3.0e38f;
  replay.wheels[3].suspensionDeflection[103] = -0.0f;
  replay.car.steerDeg[104] = -std::numeric_limits<float>::infinity();
  return replay;
}

std::vector<std::string> csvLines(const Replay& replay, bool sideBySide) {
  StringSink sink;
  EXPECT_TRUE(writeCsv(sink, sideBySide, replay.sampleCount(), replay.sampleTimes, replay.car, replay.wheels,
                       replay.geometry));
  std::vector<std::string> lines;
  std::istringstream in(sink.text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string printed(double value, ColumnType type) {
  char text[maxNumberChars];
  char* end = type == ColumnType::wheelNumber ? formatInteger(static_cast<unsigned>(value), text)
                                              : formatNumber(value, text);
  return std::string(text, end);
}

// Every value the producer gives prints as the CSV's text, row for row, and a
// float32 column holds a float exactly: what a reader of the values (the
// Python module) gets is what the CSV says, to the last digit.
TEST(CsvRows, ValuesPrintAsTheWrittenCsvInBothLayouts) {
  const Replay replay = damagedLap();
  for (bool sideBySide : {false, true}) {
    const std::vector<std::string> lines = csvLines(replay, sideBySide);
    CsvRows rows(sideBySide, replay.sampleCount(), replay.sampleTimes, replay.car, replay.wheels, replay.geometry);
    const auto columns = rows.columns();
    ASSERT_EQ(columns.size(), sideBySide ? sideBySideColumnCount : perWheelColumnCount);
    ASSERT_GT(rows.count(), 500u);
    ASSERT_EQ(rows.count() + 1, lines.size());
    std::string header;
    for (const Column& c : columns) header += (header.empty() ? "" : ", ") + c.name;
    EXPECT_EQ(header, lines[0]);

    RowValues values;
    std::size_t line = 1;
    for (; rows.next(values); ++line) {
      ASSERT_LT(line, lines.size());
      const std::vector<std::string> fields = test::fields(lines[line]);
      ASSERT_EQ(fields.size(), columns.size());
      for (std::size_t c = 0; c < columns.size(); ++c) {
        EXPECT_EQ(printed(values[c], columns[c].type), fields[c]) << "line " << line << ", " << columns[c].name;
        if (columns[c].type == ColumnType::float32 && !std::isnan(values[c])) {
          EXPECT_EQ(widen(toFloat(values[c])), values[c]) << columns[c].name;
        }
      }
    }
    EXPECT_EQ(line, lines.size());
    EXPECT_FALSE(rows.next(values)) << "a finished producer stays finished";
  }
}

TEST(CsvRows, PerWheelRowsRunWheelByWheelInTimeOrder) {
  const Replay replay = damagedLap();
  CsvRows rows(false, replay.sampleCount(), replay.sampleTimes, replay.car, replay.wheels, replay.geometry);
  RowValues values;
  double wheel = 0.0, time = -1.0;
  while (rows.next(values)) {
    const double w = values[perWheelColumnCount - 1];
    ASSERT_GE(w, wheel);
    if (w > wheel) time = -1.0;
    EXPECT_GT(values[0], time);
    wheel = w;
    time = values[0];
  }
  EXPECT_EQ(wheel, 3.0);
}

}  // namespace
}  // namespace skidlog
