#include "tools/generator/synth.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "csv/wheel_row.h"
#include "physics/tyre_forces.h"
#include "raf/lap_splits.h"
#include "raf/raf_format.h"
#include "raf/replay_setup.h"
#include "skidlog/skidlog.h"
#include "tools/generator/noise.h"

namespace skidlog::generator {
namespace {

constexpr std::size_t headerSize = 1024;
constexpr std::size_t blockSize = 192;
constexpr std::size_t wheelBlockOffset = 64;
constexpr std::size_t wheelBlockSize = 32;

class Bytes {
 public:
  explicit Bytes(std::size_t size) : bytes_(size) {}
  template <class T>
  void put(std::size_t offset, T value) {
    const auto raw = std::bit_cast<std::array<std::byte, sizeof(T)>>(value);  // the host is little-endian
    std::memcpy(bytes_.data() + offset, raw.data(), sizeof(T));
  }
  void text(std::size_t offset, std::size_t width, const std::string& s) {
    for (std::size_t k = 0; k < s.size() && k < width; ++k) bytes_[offset + k] = static_cast<std::byte>(s[k]);
  }
  std::vector<std::byte>& bytes() { return bytes_; }

 private:
  std::vector<std::byte> bytes_;
};

std::size_t blockAt(std::size_t i) { return headerSize + blockSize * i; }
std::size_t wheelAt(std::size_t i, std::size_t w) { return blockAt(i) + wheelBlockOffset + wheelBlockSize * w; }

// Mounting offsets in the car's axes: x right, y forward, z up.
Vector3 mounting(const CarSetup& car, int w) {
  const double x = (isFront(w) ? car.frontTrack : car.rearTrack) / 2.0 * (isLeft(w) ? -1.0 : 1.0);
  const double y = isFront(w) ? car.cgToFrontAxle : -car.cgToRearAxle;
  return Vector3(toFloat(x), toFloat(y), toFloat(car.wheelHeight));
}

// The setup the replay records: the wheels' records after their geometry,
// the anti-roll bars and the gearing in the header.
void writeSetup(Bytes& out, const CarSetup& car) {
  for (int w = 0; w < 4; ++w) {
    const std::size_t record = raf::geometryOffset + raf::geometryStride * static_cast<std::size_t>(w);
    out.put<float>(record + raf::setupTravel, toFloat(car.travel));
    out.put<std::uint8_t>(record + raf::setupTyreType, static_cast<std::uint8_t>(car.tyreType));
    out.put<float>(record + raf::setupSpring, toFloat(car.springRate));
    out.put<float>(record + raf::setupBump, toFloat(car.bumpDamping));
    out.put<float>(record + raf::setupRebound, toFloat(car.reboundDamping));
    out.put<float>(record + raf::setupBrakeTorque, toFloat(isFront(w) ? car.frontBrakeTorque : car.rearBrakeTorque));
  }
  out.put<float>(raf::antiRollRearOffset, toFloat(car.antiRollRear()));
  out.put<float>(raf::antiRollFrontOffset, toFloat(car.antiRollFront()));
  out.put<float>(raf::finalDriveOffset, toFloat(car.finalDrive));
  const std::size_t gears = std::min(car.gearRatios.size(), raf::gearRatioSlots);
  out.put<std::uint8_t>(raf::gearCountOffset, static_cast<std::uint8_t>(gears));
  for (std::size_t k = 0; k < gears; ++k) out.put<float>(raf::gearRatiosOffset + 4 * k, toFloat(car.gearRatios[k]));
}

void writeHeader(Bytes& out, const CarSetup& car, std::size_t samples, double interval, const ReplayTexts& texts) {
  out.text(0, 6, "LFSRAF");
  out.put<std::uint8_t>(8, 2);
  out.put<std::uint8_t>(raf::intervalOffset, static_cast<std::uint8_t>(std::lround(interval * 1000.0)));
  out.put<std::uint16_t>(raf::firstBlockOffsetOffset, headerSize);
  out.put<std::uint16_t>(raf::blockSizeOffset, blockSize);
  out.put<std::uint16_t>(raf::wheelBlockSizeOffset, wheelBlockSize);
  out.put<std::uint16_t>(raf::wheelBlockOffsetOffset, wheelBlockOffset);
  out.put<std::int32_t>(raf::blockCountOffset, static_cast<std::int32_t>(samples));
  out.text(32, 31, texts.player);
  out.text(64, 31, texts.car);
  out.text(96, 31, texts.track);
  out.put<float>(raf::totalMassOffset, toFloat(car.totalMass));
  out.put<float>(raf::sprungMassOffset, toFloat(car.sprungMass));
  writeSetup(out, car);
  for (int w = 0; w < 4; ++w) {
    const std::size_t record = raf::geometryOffset + raf::geometryStride * static_cast<std::size_t>(w);
    const Vector3 m = mounting(car, w);
    out.put<float>(record + raf::geometryOffsetX, m.x);
    out.put<float>(record + raf::geometryOffsetY, m.y);
    out.put<float>(record + raf::geometryOffsetZ, m.z);
    out.put<float>(record + raf::geometryRadius, toFloat(car.tyreRadius));
    out.put<float>(record + raf::geometryWidth, toFloat(car.tyreWidth));
  }
}

std::int16_t quantiseAxis(double c) { return static_cast<std::int16_t>(std::lround(c * raf::axisScale)); }
std::int32_t fixedPoint(double metres) { return static_cast<std::int32_t>(std::llround(metres * raf::positionScale)); }

// The car fields of sample i: pedals, steering, gear, speed, engine speed,
// position, axes.
void writeCar(Bytes& out, std::size_t i, const CarState& c, const CarSetup& car) {
  const double ch = std::cos(c.heading), sh = std::sin(c.heading);
  const double cp = std::cos(c.pitch), sp = std::sin(c.pitch);
  const double cr = std::cos(c.roll), sr = std::sin(c.roll);
  const double forward[3] = {-sh * cp, ch * cp, sp};
  const double level[3] = {ch, sh, 0.0};
  // The car's up for a level right axis, then the right axis rolled about forward.
  const double up[3] = {level[1] * forward[2] - level[2] * forward[1], level[2] * forward[0] - level[0] * forward[2],
                        level[0] * forward[1] - level[1] * forward[0]};
  const std::size_t b = blockAt(i);
  out.put<float>(b + raf::blockThrottle, toFloat(c.throttle));
  out.put<float>(b + raf::blockBrake, toFloat(c.brake));
  out.put<float>(b + raf::blockSteering, toFloat(c.steeringInput));
  out.put<std::uint8_t>(b + raf::blockGear, static_cast<std::uint8_t>(c.gear + 1));
  out.put<float>(b + raf::blockSpeed, toFloat(c.speed));
  out.put<float>(b + raf::blockEngineSpeed, toFloat(car.engineSpeed(c.gear, c.speed)));
  out.put<std::int32_t>(b + raf::blockPosition, fixedPoint(c.x));
  out.put<std::int32_t>(b + raf::blockPosition + 4, fixedPoint(c.y));
  out.put<std::int32_t>(b + raf::blockPosition + 8, fixedPoint(c.z));
  for (std::size_t k = 0; k < 3; ++k) {
    out.put<std::int16_t>(b + raf::blockAxisX + 2 * k, quantiseAxis(level[k] * cr + up[k] * sr));
    out.put<std::int16_t>(b + raf::blockAxisY + 2 * k, quantiseAxis(forward[k]));
  }
}

void writeWheelMotion(Bytes& out, std::size_t i, const CarState& c) {
  for (std::size_t w = 0; w < 4; ++w) {
    const WheelState& s = c.wheels[w];
    const std::size_t sub = wheelAt(i, w);
    out.put<float>(sub + raf::wheelDeflection, toFloat(s.deflection));
    out.put<float>(sub + raf::wheelSteer, toFloat(s.steer));
    out.put<float>(sub + raf::wheelLean, toFloat(s.lean));
  }
}

Vector3 toVector(const double v[3]) { return Vector3(toFloat(v[0]), toFloat(v[1]), toFloat(v[2])); }

// The file force f (in the car's axes) for which the reader's tyre force,
// projected on the wheel's lateral, longitudinal and normal axes, is
// `wanted`: rows . (axes f + inertial) = wanted, solved in double.
Vector3 fileForce(const WheelTrack& wheel, const CarTrack& carTrack, float wheelMass, std::size_t i,
                  const double wanted[3]) {
  const Vector3 rows[3] = {wheel.lateralAxis[i], wheel.longitudinalAxis[i], wheel.normalAxis[i]};
  const Vector3 columns[3] = {carTrack.axisX[i], carTrack.axisY[i], carTrack.axisZ[i]};
  const Vector3 inertial = scaled(wheelMass, wheel.acceleration[i] - gravity);
  double m[3][4];
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) m[r][c] = dot(rows[r], columns[c]);
    m[r][3] = wanted[r] - dot(rows[r], inertial);
  }
  // Gaussian elimination with partial pivoting on the 3 x 4 system.
  for (int p = 0; p < 3; ++p) {
    int best = p;
    for (int r = p + 1; r < 3; ++r) {
      if (std::fabs(m[r][p]) > std::fabs(m[best][p])) best = r;
    }
    for (int c = 0; c < 4; ++c) std::swap(m[p][c], m[best][c]);
    for (int r = 0; r < 3; ++r) {
      if (r == p || m[p][p] == 0.0) continue;
      const double factor = m[r][p] / m[p][p];
      for (int c = p; c < 4; ++c) m[r][c] -= factor * m[p][c];
    }
  }
  const double f[3] = {m[0][3] / m[0][0], m[1][3] / m[1][1], m[2][3] / m[2][2]};
  return toVector(f);
}

// Grip noise for one wheel: smooth noise and rare spikes.
class GripNoise {
 public:
  GripNoise(const SensorNoise& n, std::uint64_t seed)
      : lateral_(seed * 7 + 1, n.scale * n.lateralGrip, n.memory),
        longitudinal_(seed * 7 + 2, n.scale * n.longitudinalGrip, n.memory),
        spikes_(seed * 7 + 3),
        rate_(n.scale > 0.0 ? n.spikeRate : 0.0) {}

  double lateral() { return lateral_.next() + spike(); }
  double longitudinal() { return longitudinal_.next() + spike(); }

 private:
  double spike() {
    if (spikes_.uniform() >= rate_) return 0.0;
    const double size = 0.3 + 0.6 * spikes_.uniform();
    return spikes_.uniform() < 0.5 ? -size : size;
  }
  SmoothNoise lateral_;
  SmoothNoise longitudinal_;
  Noise spikes_;
  double rate_;
};

// Chooses each wheel's angular velocity and force from what the reader
// measures of the motion already written.
void writeWheelForces(Bytes& out, const CarSetup& car, const std::vector<CarState>& states, const SensorNoise& noise) {
  Replay replay;
  if (loadReplay(out.bytes(), std::numeric_limits<std::uint64_t>::max(), replay).status != LoadStatus::loaded) {
    throw std::runtime_error("the generated replay does not load");
  }
  deriveWheelSeries(replay);
  for (std::size_t w = 0; w < 4; ++w) {
    WheelTrack& wheel = replay.wheels[w];
    const WheelGeometry& geometry = replay.geometry[w];
    const Tyre& tyre = isFront(static_cast<int>(w)) ? car.front : car.rear;
    GripNoise gripNoise(noise, noise.seed * 4 + w);
    for (std::size_t i = 0; i < states.size(); ++i) {
      const WheelState& s = states[i].wheels[w];
      const float v = wheel.localVelocity[i].y;
      const double divisor = truncatedMagnitude(v);
      const float spin = toFloat((s.slipRatio * divisor + widen(v)) / widen(geometry.radius));
      wheel.angularVelocity[i] = spin;
      const WheelRow row = wheelRow(wheel, geometry, i);  // its slips, which do not depend on the force
      const double lateralGrip = tyre.lateralGrip(row.slipAngle, s.load, isLeft(static_cast<int>(w))) + gripNoise.lateral();
      const double longitudinalGrip = tyre.longitudinalGrip(widen(row.slipRatio), s.load) + gripNoise.longitudinal();
      const double wanted[3] = {s.load * lateralGrip, s.load * longitudinalGrip, s.load};
      const Vector3 f = fileForce(wheel, replay.car, replay.header.wheelMass, i, wanted);
      const std::size_t sub = wheelAt(i, w);
      out.put<float>(sub + raf::wheelForceX, f.x);
      out.put<float>(sub + raf::wheelForceY, f.y);
      out.put<float>(sub + raf::wheelForceZ, f.z);
      out.put<float>(sub + raf::wheelAngularVelocity, spin);
    }
  }
}

}  // namespace

std::vector<std::byte> synthesiseReplay(const CarSetup& car, const std::vector<CarState>& states,
                                        double sampleInterval, const ReplayTexts& texts, const SensorNoise& noise,
                                        std::span<const std::int32_t> splits) {
  Bytes out(headerSize + blockSize * states.size());
  writeHeader(out, car, states.size(), sampleInterval, texts);
  out.put<std::uint8_t>(raf::splitCountOffset, static_cast<std::uint8_t>(splits.size()));
  for (std::size_t k = 0; k < splits.size(); ++k) out.put<std::int32_t>(raf::splitsOffset + 4 * k, splits[k]);
  for (std::size_t i = 0; i < states.size(); ++i) {
    writeCar(out, i, states[i], car);
    writeWheelMotion(out, i, states[i]);
  }
  if (!states.empty()) writeWheelForces(out, car, states, noise);
  return std::move(out.bytes());
}

CarSetup lapCar(const CarSetup& car, const LapOptions& options) {
  if (options.gripVariation == 0.0) return car;
  Noise warmth(options.seed * 7 + 5);
  const double factor = 1.0 + warmth.gauss(options.gripVariation);
  CarSetup lap = car;
  lap.front = withGrip(car.front, factor);
  lap.rear = withGrip(car.rear, factor);
  return lap;
}

std::vector<std::byte> generateLap(const CarSetup& setup, const LapOptions& options) {
  const CarSetup car = lapCar(setup, options);
  DriveOptions drive;
  drive.seconds = options.seconds;
  drive.sampleInterval = options.sampleInterval;
  drive.seed = options.seed;
  drive.wholeLap = options.wholeLap;
  drive.slowCorner = options.slowCorner;
  drive.lateBrakeCorner = options.lateBrakeCorner;
  drive.lateBrakeMetres = options.lateBrakeMetres;
  drive.wideCorner = options.wideCorner;
  drive.wideMetres = options.wideMetres;
  drive.consistency = options.consistency;
  drive.pace = options.pace;
  SensorNoise noise;
  noise.scale = options.noiseScale;
  noise.seed = options.seed;
  const Circuit circuit(options.turns);
  std::vector<double> distance;
  const std::vector<CarState> states = generator::drive(car, circuit, drive, &distance);
  const std::vector<std::int32_t> splits =
      options.wholeLap ? lapSplits(distance, drive.sampleInterval, circuit.length()) : std::vector<std::int32_t>{};
  return synthesiseReplay(car, states, drive.sampleInterval, options.texts, noise, splits);
}

std::vector<std::int32_t> lapSplits(const std::vector<double>& distance, double interval, double length) {
  std::vector<std::int32_t> splits;
  for (const double share : {1.0 / 3.0, 2.0 / 3.0}) {
    const double at = share * length;
    std::size_t i = 1;
    while (i < distance.size() && distance[i] < at) ++i;
    if (i >= distance.size()) return {};
    const double t = (static_cast<double>(i - 1) + (at - distance[i - 1]) / (distance[i] - distance[i - 1])) * interval;
    splits.push_back(static_cast<std::int32_t>(std::lround(t * 1000.0)));
  }
  splits.push_back(static_cast<std::int32_t>(std::lround(static_cast<double>(distance.size()) * interval * 1000.0)));
  return splits;
}

}  // namespace skidlog::generator
