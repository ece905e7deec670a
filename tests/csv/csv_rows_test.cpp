#include "csv/csv_rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
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

// Column by column, the producer gives what it gives row by row, to the bit
// (NaN, infinities and the negative zero included), in both layouts, the
// rows of one wheel on their own too; a finished producer fills nothing.
TEST(CsvRows, ColumnsHoldTheRowsValuesBitForBit) {
  const Replay replay = damagedLap();
  const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  for (const int wheel : {-1, 2}) {
    for (const bool sideBySide : {false, true}) {
      if (sideBySide && wheel >= 0) continue;
      SCOPED_TRACE(std::string(sideBySide ? "side by side" : "per wheel") + ", wheel " + std::to_string(wheel));
      const auto make = [&] {
        CsvRows rows(sideBySide, replay.sampleCount(), replay.sampleTimes, replay.car, replay.wheels, replay.geometry);
        if (wheel >= 0) rows.onlyWheel(static_cast<std::size_t>(wheel));
        return rows;
      };
      CsvRows byRow = make(), byColumn = make();
      const std::size_t n = byColumn.count(), first = 3;
      std::vector<std::vector<double>> doubles(byColumn.columns().size(), std::vector<double>(n + first));
      std::vector<std::vector<float>> floats(byColumn.columns().size(), std::vector<float>(n + first));
      std::vector<std::vector<std::int64_t>> numbers(byColumn.columns().size(), std::vector<std::int64_t>(n + first));
      std::vector<ColumnTarget> targets;
      for (std::size_t c = 0; c < byColumn.columns().size(); ++c) {
        const ColumnType type = byColumn.columns()[c].type;
        targets.push_back({type, type == ColumnType::float32   ? static_cast<void*>(floats[c].data())
                                 : type == ColumnType::float64 ? static_cast<void*>(doubles[c].data())
                                                               : static_cast<void*>(numbers[c].data())});
      }
      ASSERT_EQ(byColumn.fillColumns(targets, first), n);
      EXPECT_EQ(byColumn.fillColumns(targets, first), 0u);
      RowValues values;
      for (std::size_t r = first; byRow.next(values); ++r) {
        ASSERT_LT(r, n + first);
        for (std::size_t c = 0; c < targets.size(); ++c) {
          const double held = targets[c].type == ColumnType::float32   ? widen(floats[c][r])
                              : targets[c].type == ColumnType::float64 ? doubles[c][r]
                                                                       : static_cast<double>(numbers[c][r]);
          EXPECT_TRUE(same(held, values[c])) << "row " << r << ", column " << c;
        }
      }
    }
  }
}

}  // namespace
}  // namespace skidlog
