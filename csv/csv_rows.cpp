#include "csv/csv_rows.h"

#include <string_view>
#include <vector>

#include "csv/wheel_row.h"
#include "numeric/precision.h"

namespace skidlog {
namespace {

constexpr std::size_t carColumnCount = 9;
constexpr std::size_t wheelCount = raf::wheelCount;
constexpr std::size_t wheelColumnCount = 13;
static_assert(perWheelColumnCount == carColumnCount + wheelColumnCount + 1);
static_assert(sideBySideColumnCount == carColumnCount + wheelCount * wheelColumnCount);

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

// The thirteen wheel columns of wheel `wheel` at sample i, from values[at] on.
void fillWheel(const WheelTrack& wheel, const WheelGeometry& geometry, std::size_t i, double* at) {
  const WheelRow row = wheelRow(wheel, geometry, i);
  // Longitudinal speed (y) before lateral speed (x).
  const double values[wheelColumnCount] = {
      widen(wheel.suspensionDeflection[i]), widen(wheel.angularVelocity[i]), row.wheelSteer,
      row.camber,                           widen(wheel.localVelocity[i].y), widen(wheel.localVelocity[i].x),
      widen(wheel.normalLoad[i]),           widen(wheel.longitudinalForce[i]), widen(wheel.lateralForce[i]),
      widen(row.longitudinalGrip),          widen(row.lateralGrip),         widen(row.slipRatio),
      row.slipAngle};
  for (double v : values) *at++ = v;
}

}  // namespace

std::span<const Column> csvColumns(bool sideBySide) {
  static const std::vector<Column> perWheel = makeColumns(false);
  static const std::vector<Column> side = makeColumns(true);
  return sideBySide ? std::span<const Column>(side) : std::span<const Column>(perWheel);
}

CsvRows::CsvRows(bool sideBySide, std::size_t n, const Series<float>& sampleTimes, const CarTrack& car,
                 const WheelTracks& wheels, const WheelGeometries& geometry)
    : sideBySide_(sideBySide), n_(n), sampleTimes_(sampleTimes), car_(car), wheels_(wheels), geometry_(geometry) {}

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
  const float car[carColumnCount] = {sampleTimes_[i],      car_.speed[i],    car_.position[i].x,
                                     car_.position[i].y,   car_.position[i].z, car_.throttle[i],
                                     car_.brake[i],        car_.steerDeg[i], car_.gear[i]};
  for (std::size_t c = 0; c < carColumnCount; ++c) values[c] = widen(car[c]);
  if (sideBySide_) {
    for (std::size_t w = 0; w < wheelCount; ++w) {
      fillWheel(wheels_[w], geometry_[w], i, &values[carColumnCount + w * wheelColumnCount]);
    }
    return;
  }
  fillWheel(wheels_[wheel_], geometry_[wheel_], i, &values[carColumnCount]);
  values[perWheelColumnCount - 1] = static_cast<double>(wheel_);
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
