// The CSV's rows as values, in the order the file holds them. The CSV writer
// formats these rows, and a reader that wants the values themselves (the
// Python module) takes the same rows, so the two cannot disagree.
#ifndef SKIDLOG_CSV_CSV_ROWS_H_
#define SKIDLOG_CSV_CSV_ROWS_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "numeric/vector3.h"

#include "raf/replay.h"

namespace skidlog {

// How a column's values are held: a stored (or float-rounded) 32-bit float, a
// value the writer forms in double (wheel steer, camber, slip angle), or the
// wheel number 0 to 3.
enum class ColumnType : std::uint8_t { float32, float64, wheelNumber };

struct Column {
  std::string name;  // the header's text
  ColumnType type;
};

inline constexpr std::size_t perWheelColumnCount = 23;
inline constexpr std::size_t sideBySideColumnCount = 61;
// A row's columns of the car, and of each wheel it holds.
inline constexpr std::size_t carColumnCount = 9;
inline constexpr std::size_t wheelColumnCount = 13;
static_assert(perWheelColumnCount == carColumnCount + wheelColumnCount + 1);
static_assert(sideBySideColumnCount == carColumnCount + raf::wheelCount * wheelColumnCount);

// The columns of a layout, in header order.
std::span<const Column> csvColumns(bool sideBySide);

// Where one column's values go: an array of its type (float for float32,
// double for float64, std::int64_t for the wheel number).
struct ColumnTarget {
  ColumnType type;
  void* data;
};

// A stored column: at sample i, floats[i], or vectors[i]'s component.
struct StoredColumn {
  const float* floats = nullptr;
  const Vector3* vectors = nullptr;
  float Vector3::*component = nullptr;

  bool stored() const { return floats != nullptr || vectors != nullptr; }
  float at(std::size_t i) const { return floats != nullptr ? floats[i] : vectors[i].*component; }
};

// One row's values in column order. A float32 column holds its float widened
// (exactly); a float64 column the value as formed; the wheel number as 0-3.
// Only the layout's first columns are used.
using RowValues = std::array<double, sideBySideColumnCount>;

// The rows of one layout over samples 0 to n - 1: side by side, one row per
// sample at which every wheel passes; per wheel, wheel 0's passing samples,
// then wheel 1's, 2's and 3's. REQUIRES: every series (the derived wheel
// series too) holds at least n entries, and they outlive the producer.
class CsvRows {
 public:
  CsvRows(bool sideBySide, std::size_t n, const Series<float>& sampleTimes, const CarTrack& car,
          const WheelTracks& wheels, const WheelGeometries& geometry);

  std::span<const Column> columns() const { return csvColumns(sideBySide_); }
  // Per wheel: from now on only wheel w's rows, from its first, so that each
  // wheel's rows can be taken on their own. REQUIRES: not side by side, w < 4.
  void onlyWheel(std::size_t w);
  // How many rows the producer gives from its start, counted by the row
  // filters alone.
  std::size_t count() const;
  // Fills `values` with the next row; false once every row has been produced.
  bool next(RowValues& values);
  // Writes every row still to come into `columns` (one target per column of
  // the layout), row r at index first + r, one column at a time: the values
  // next() would give, without a row in between. Returns how many rows.
  std::size_t fillColumns(std::span<const ColumnTarget> columns, std::size_t first);

 private:
  bool passes(std::size_t i) const;
  void fillRow(std::size_t i, RowValues& values) const;
  // The wheel's columns of the rows at `samples`, from column `at` on.
  void fillWheelColumns(std::size_t w, std::span<const std::size_t> samples, std::span<const ColumnTarget> columns,
                        std::size_t at, std::size_t first) const;

  bool sideBySide_;
  std::size_t n_;
  const WheelTracks& wheels_;
  const WheelGeometries& geometry_;
  std::array<StoredColumn, carColumnCount> carColumns_;  // every car column is stored
  std::array<std::array<StoredColumn, wheelColumnCount>, raf::wheelCount> wheelColumns_;  // none where computed
  std::size_t firstWheel_ = 0;       // per wheel: the wheels whose rows are given
  std::size_t endWheel_ = raf::wheelCount;
  std::size_t wheel_ = 0;   // per wheel: the wheel whose rows come next
  std::size_t sample_ = 0;  // the next sample to test
};

}  // namespace skidlog

#endif  // SKIDLOG_CSV_CSV_ROWS_H_
