#include "csv/csv_writer.h"

#include <cstring>
#include <string_view>

#include "csv/number_format.h"
#include "csv/wheel_row.h"
#include "numeric/precision.h"

namespace skidlog {
namespace {

constexpr std::string_view separator = ", ";
constexpr std::string_view carHeader1 = "time [s], speed [m/s], position x [m], position y [m], position z [m], ";
constexpr std::string_view carHeader2 = "throttle, break, steer [deg], gear, ";
constexpr std::string_view wheelHeaders[] = {
    "susp. deflection [m], ",        "angular velocity [rad/s], ",    "wheel steer [deg], ",
    "camber [deg], ",                "longitudinal speed [m/s], ",    "lateral speed [m/s], ",
    "tyre normal load [N], ",        "tyre longitudinal force [N], ", "tyre lateral force [N], ",
    "tyre longitudinal grip, ",      "tyre lateral grip, ",           "slip ratio, ",
    "slip angle [deg]"};
constexpr std::string_view wheelLabels[] = {"FL ", "FR ", "RL ", "RR "};

// One output line, built in place: no allocation or stream state per value.
class LineBuilder {
 public:
  void text(std::string_view t) {
    std::memcpy(end_, t.data(), t.size());
    end_ += t.size();
  }
  void number(double value) { end_ = formatNumber(value, end_); }
  // A float column: the float widened, never formatted as a wider value.
  void number(float value) { number(widen(value)); }
  void integer(unsigned value) { end_ = formatInteger(value, end_); }
  bool finish(LineSink& sink) {
    *end_++ = '\n';
    const bool ok = sink.writeLine(std::string_view(buffer_, static_cast<std::size_t>(end_ - buffer_)));
    end_ = buffer_;
    return ok;
  }

 private:
  // The side-by-side header, the longest line, is under 1,700 characters; a
  // row is at most 61 numbers of 16 characters and their separators.
  char buffer_[4096];
  char* end_ = buffer_;
};

void writeWheelHeader(LineBuilder& line, std::string_view prefix) {
  for (std::string_view name : wheelHeaders) {
    line.text(prefix);
    line.text(name);
  }
}

void writeCarValues(LineBuilder& line, std::size_t i, const Series<float>& sampleTimes, const CarTrack& car) {
  for (float value : {sampleTimes[i], car.speed[i], car.position[i].x, car.position[i].y, car.position[i].z,
                      car.throttle[i], car.brake[i], car.steerDeg[i], car.gear[i]}) {
    line.number(value);
    line.text(separator);
  }
}

void writeWheelValues(LineBuilder& line, const WheelTrack& wheel, const WheelGeometry& geometry, std::size_t i) {
  const WheelRow row = wheelRow(wheel, geometry, i);
  line.number(wheel.suspensionDeflection[i]);
  line.text(separator);
  line.number(wheel.angularVelocity[i]);
  line.text(separator);
  line.number(row.wheelSteer);
  line.text(separator);
  line.number(row.camber);
  line.text(separator);
  // Longitudinal speed (y) before lateral speed (x).
  for (float value : {wheel.localVelocity[i].y, wheel.localVelocity[i].x, wheel.normalLoad[i],
                      wheel.longitudinalForce[i], wheel.lateralForce[i], row.longitudinalGrip, row.lateralGrip,
                      row.slipRatio}) {
    line.number(value);
    line.text(separator);
  }
  line.number(row.slipAngle);
}

bool writeSideBySide(LineSink& sink, LineBuilder& line, std::size_t n, const Series<float>& sampleTimes,
                     const CarTrack& car, const WheelTracks& wheels, const WheelGeometries& geometry) {
  line.text(carHeader1);
  line.text(carHeader2);
  for (std::size_t w = 0; w < wheels.size(); ++w) {
    if (w > 0) line.text(separator);
    writeWheelHeader(line, wheelLabels[w]);
  }
  if (!line.finish(sink)) return false;

  for (std::size_t i = 0; i < n; ++i) {
    bool all = true;
    for (const WheelTrack& wheel : wheels) {
      if (!passesSideBySide(wheel, i)) {
        all = false;
        break;
      }
    }
    if (!all) continue;
    writeCarValues(line, i, sampleTimes, car);
    for (std::size_t w = 0; w < wheels.size(); ++w) {
      if (w > 0) line.text(separator);
      writeWheelValues(line, wheels[w], geometry[w], i);
    }
    if (!line.finish(sink)) return false;
  }
  return true;
}

bool writePerWheel(LineSink& sink, LineBuilder& line, std::size_t n, const Series<float>& sampleTimes,
                   const CarTrack& car, const WheelTracks& wheels, const WheelGeometries& geometry) {
  line.text(carHeader1);
  line.text(carHeader2);
  writeWheelHeader(line, "");
  line.text(", wheel number");
  if (!line.finish(sink)) return false;

  for (std::size_t w = 0; w < wheels.size(); ++w) {
    for (std::size_t i = 0; i < n; ++i) {
      if (!passesPerWheel(wheels[w], i)) continue;
      writeCarValues(line, i, sampleTimes, car);
      writeWheelValues(line, wheels[w], geometry[w], i);
      line.text(separator);
      line.integer(static_cast<unsigned>(w));
      if (!line.finish(sink)) return false;
    }
  }
  return true;
}

}  // namespace

bool writeCsv(LineSink& sink, bool sideBySide, std::size_t n, const Series<float>& sampleTimes,
              const CarTrack& car, const WheelTracks& wheels, const WheelGeometries& geometry) {
  LineBuilder line;
  if (sideBySide) return writeSideBySide(sink, line, n, sampleTimes, car, wheels, geometry);
  return writePerWheel(sink, line, n, sampleTimes, car, wheels, geometry);
}

}  // namespace skidlog
