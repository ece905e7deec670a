#include "csv/csv_rows.h"

#include <string_view>
#include <vector>

#include "csv/wheel_row.h"
#include "numeric/precision.h"

namespace skidlog {
namespace {

constexpr std::size_t wheelCount = raf::wheelCount;

constexpr std::string_view carNames[carColumnCount] = {
    "time [s]", "speed [m/s]", "position x [m]", "position y [m]", "position z [m]",
    "throttle", "break",       "steer [deg]",    "gear"};

struct WheelColumnName {
  std::string_view name;
  ColumnType type;
};
constexpr WheelColumnName wheelNames[wheelColumnCount] = {
    {"susp. deflection [m]", ColumnType::float32},       {"angular velocity [rad/s]", ColumnType::float32},
    {"wheel steer [deg]", ColumnType::float64},          {"camber [deg]", ColumnType::float64},
    {"longitudinal speed [m/s]", ColumnType::float32},   {"lateral speed [m/s]", ColumnType::float32},
    {"tyre normal load [N]", ColumnType::float32},       {"tyre longitudinal force [N]", ColumnType::float32},
    {"tyre lateral force [N]", ColumnType::float32},     {"tyre longitudinal grip", ColumnType::float32},
    {"tyre lateral grip", ColumnType::float32},          {"slip ratio", ColumnType::float32},
    {"slip angle [deg]", ColumnType::float64}};
constexpr std::string_view wheelLabels[wheelCount] = {"FL ", "FR ", "RL ", "RR "};

std::vector<Column> makeColumns(bool sideBySide) {
  std::vector<Column> columns;
  for (std::string_view name : carNames) columns.push_back({std::string(name), ColumnType::float32});
  const std::size_t wheels = sideBySide ? wheelCount : 1;
  for (std::size_t w = 0; w < wheels; ++w) {
    const std::string_view label = sideBySide ? wheelLabels[w] : std::string_view();
    for (const WheelColumnName& c : wheelNames) columns.push_back({std::string(label) + std::string(c.name), c.type});
  }
  if (!sideBySide) columns.push_back({"wheel number", ColumnType::wheelNumber});
  return columns;
}

// Where the wheel columns formed as the row is written stand among the
// thirteen: steer, camber, the grips, slip ratio and slip angle.
enum : std::size_t {
  wheelSteerAt = 2,
  camberAt = 3,
  longitudinalGripAt = 9,
  lateralGripAt = 10,
  slipRatioAt = 11,
  slipAngleAt = 12,
};
constexpr std::size_t formedAt[] = {wheelSteerAt,  camberAt,    longitudinalGripAt,
                                    lateralGripAt, slipRatioAt, slipAngleAt};

std::array<StoredColumn, carColumnCount> carColumnsOf(const Series<float>& times, const CarTrack& car) {
  return {{{times.data()},
           {car.speed.data()},
           {nullptr, car.position.data(), &Vector3::x},
           {nullptr, car.position.data(), &Vector3::y},
           {nullptr, car.position.data(), &Vector3::z},
           {car.throttle.data()},
           {car.brake.data()},
           {car.steerDeg.data()},
           {car.gear.data()}}};
}

// The wheel's stored columns; longitudinal speed (y) before lateral speed (x).
std::array<StoredColumn, wheelColumnCount> wheelColumnsOf(const WheelTrack& wheel) {
  std::array<StoredColumn, wheelColumnCount> c{};
  c[0] = {wheel.suspensionDeflection.data()};
  c[1] = {wheel.angularVelocity.data()};
  c[4] = {nullptr, wheel.localVelocity.data(), &Vector3::y};
  c[5] = {nullptr, wheel.localVelocity.data(), &Vector3::x};
  c[6] = {wheel.normalLoad.data()};
  c[7] = {wheel.longitudinalForce.data()};
  c[8] = {wheel.lateralForce.data()};
  return c;
}

// The formed columns of a row, in the order of formedAt.
std::array<double, std::size(formedAt)> formed(const WheelRow& row) {
  return {row.wheelSteer,         row.camber,           widen(row.longitudinalGrip),
          widen(row.lateralGrip), widen(row.slipRatio), row.slipAngle};
}

// Puts a value into its column's array at `index`: a float32 column holds a
// widened float, so narrowing it is exact.
void put(const ColumnTarget& column, std::size_t index, double value) {
  switch (column.type) {
    case ColumnType::float32: static_cast<float*>(column.data)[index] = toFloat(value); break;
    case ColumnType::float64: static_cast<double*>(column.data)[index] = value; break;
    case ColumnType::wheelNumber:
      static_cast<std::int64_t*>(column.data)[index] = static_cast<std::int64_t>(value);
      break;
  }
}

// A stored column's values at `samples` into a float32 column, from `first` on.
void gather(const StoredColumn& from, std::span<const std::size_t> samples, const ColumnTarget& column,
            std::size_t first) {
  float* out = static_cast<float*>(column.data) + first;
  if (from.floats != nullptr) {
    for (std::size_t r = 0; r < samples.size(); ++r) out[r] = from.floats[samples[r]];
    return;
  }
  for (std::size_t r = 0; r < samples.size(); ++r) out[r] = from.vectors[samples[r]].*from.component;
}

}  // namespace

std::span<const Column> csvColumns(bool sideBySide) {
  static const std::vector<Column> perWheel = makeColumns(false);
  static const std::vector<Column> side = makeColumns(true);
  return sideBySide ? std::span<const Column>(side) : std::span<const Column>(perWheel);
}

CsvRows::CsvRows(bool sideBySide, std::size_t n, const Series<float>& sampleTimes, const CarTrack& car,
                 const WheelTracks& wheels, const WheelGeometries& geometry)
    : sideBySide_(sideBySide),
      n_(n),
      wheels_(wheels),
      geometry_(geometry),
      carColumns_(carColumnsOf(sampleTimes, car)) {
  for (std::size_t w = 0; w < wheelCount; ++w) wheelColumns_[w] = wheelColumnsOf(wheels[w]);
}

bool CsvRows::passes(std::size_t i) const {
  if (!sideBySide_) return passesPerWheel(wheels_[wheel_], i);
  for (const WheelTrack& wheel : wheels_) {
    if (!passesSideBySide(wheel, i)) return false;
  }
  return true;
}

std::size_t CsvRows::count() const {
  std::size_t rows = 0;
  if (sideBySide_) {
    for (std::size_t i = 0; i < n_; ++i) rows += passes(i) ? 1u : 0u;
    return rows;
  }
  for (std::size_t w = firstWheel_; w < endWheel_; ++w) {
    for (std::size_t i = 0; i < n_; ++i) rows += passesPerWheel(wheels_[w], i) ? 1u : 0u;
  }
  return rows;
}

void CsvRows::onlyWheel(std::size_t w) {
  firstWheel_ = w;
  endWheel_ = w + 1;
  wheel_ = w;
  sample_ = 0;
}

void CsvRows::fillRow(std::size_t i, RowValues& values) const {
  for (std::size_t c = 0; c < carColumnCount; ++c) values[c] = widen(carColumns_[c].at(i));
  const auto fillWheel = [&](std::size_t w, double* at) {
    for (std::size_t c = 0; c < wheelColumnCount; ++c) {
      if (wheelColumns_[w][c].stored()) at[c] = widen(wheelColumns_[w][c].at(i));
    }
    const auto made = formed(wheelRow(wheels_[w], geometry_[w], i));
    for (std::size_t k = 0; k < made.size(); ++k) at[formedAt[k]] = made[k];
  };
  if (sideBySide_) {
    for (std::size_t w = 0; w < wheelCount; ++w) fillWheel(w, &values[carColumnCount + w * wheelColumnCount]);
    return;
  }
  fillWheel(wheel_, &values[carColumnCount]);
  values[perWheelColumnCount - 1] = static_cast<double>(wheel_);
}

void CsvRows::fillWheelColumns(std::size_t w, std::span<const std::size_t> samples,
                               std::span<const ColumnTarget> columns, std::size_t at, std::size_t first) const {
  for (std::size_t c = 0; c < wheelColumnCount; ++c) {
    if (wheelColumns_[w][c].stored()) gather(wheelColumns_[w][c], samples, columns[at + c], first);
  }
  for (std::size_t r = 0; r < samples.size(); ++r) {
    const auto made = formed(wheelRow(wheels_[w], geometry_[w], samples[r]));
    for (std::size_t k = 0; k < made.size(); ++k) put(columns[at + formedAt[k]], first + r, made[k]);
  }
}

std::size_t CsvRows::fillColumns(std::span<const ColumnTarget> columns, std::size_t first) {
  const std::size_t start = first;
  std::vector<std::size_t> samples;
  while (wheel_ < endWheel_) {
    samples.clear();
    for (; sample_ < n_; ++sample_) {
      if (passes(sample_)) samples.push_back(sample_);
    }
    for (std::size_t c = 0; c < carColumnCount; ++c) gather(carColumns_[c], samples, columns[c], first);
    if (sideBySide_) {
      for (std::size_t w = 0; w < wheelCount; ++w) {
        fillWheelColumns(w, samples, columns, carColumnCount + w * wheelColumnCount, first);
      }
      first += samples.size();
      break;
    }
    fillWheelColumns(wheel_, samples, columns, carColumnCount, first);
    for (std::size_t r = 0; r < samples.size(); ++r) {
      put(columns[perWheelColumnCount - 1], first + r, static_cast<double>(wheel_));
    }
    first += samples.size();
    ++wheel_;
    sample_ = 0;
  }
  wheel_ = endWheel_;
  return first - start;
}

bool CsvRows::next(RowValues& values) {
  while (wheel_ < endWheel_) {
    while (sample_ < n_) {
      const std::size_t i = sample_++;
      if (!passes(i)) continue;
      fillRow(i, values);
      return true;
    }
    // Side by side is one pass over the samples; per wheel, one pass per wheel.
    if (sideBySide_) break;
    ++wheel_;
    sample_ = 0;
  }
  wheel_ = endWheel_;
  return false;
}

}  // namespace skidlog
