// make_replay: writes a plausible replay analyser file of a car lapping a
// closed track, for examples, benchmarks and fuzzing seeds.
//
//   make_replay <output.raf> [seconds = 60] [seed = 1]
//
// The car follows a loop of straights and curves at 5 to 60 m/s, braking into
// the curves and accelerating out of them, with roll and pitch from its
// accelerations, load transfer between the wheels, wheel speeds near speed
// over radius with some slip, and gears, throttle and brake to match.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "tools/track.h"

namespace skidlog::tools {
namespace {

constexpr int samplesPerSecond = 100;
constexpr double dt = 1.0 / samplesPerSecond;
constexpr std::size_t headerSize = 1024;
constexpr std::size_t blockSize = 192;
constexpr double totalMass = 1150.0;
constexpr double sprungMass = 1090.0;
constexpr double gravity = 9.81;
constexpr double wheelbase = 2.45;
constexpr double trackWidth = 1.48;
constexpr double centreOfMassHeight = 0.45;
constexpr double tyreRadius = 0.3;

class Writer {
 public:
  explicit Writer(std::size_t size) : bytes_(size, 0) {}
  template <class T>
  void put(std::size_t offset, T value) {
    static_assert(std::is_trivially_copyable_v<T>);
    unsigned char raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    for (std::size_t k = 0; k < sizeof(T); ++k) bytes_[offset + k] = raw[k];  // little-endian host
  }
  void text(std::size_t offset, const std::string& s) {
    for (std::size_t k = 0; k < s.size(); ++k) bytes_[offset + k] = static_cast<unsigned char>(s[k]);
  }
  const std::vector<unsigned char>& bytes() const { return bytes_; }

 private:
  std::vector<unsigned char> bytes_;
};

std::int16_t quantiseAxis(double c) { return static_cast<std::int16_t>(std::lround(c * 32767.0)); }
std::int32_t fixedPoint(double metres) { return static_cast<std::int32_t>(std::llround(metres * 65536.0)); }

struct WheelLayout {
  float x, y, z;
};
// Front left, front right, rear left, rear right in the car's axes.
constexpr WheelLayout wheels[4] = {{-0.74f, 1.05f, 0.15f}, {0.74f, 1.05f, 0.15f},
                                   {-0.73f, -1.40f, 0.16f}, {0.73f, -1.40f, 0.16f}};

void writeHeader(Writer& out, int samples) {
  out.text(0, "LFSRAF");
  out.put<std::uint8_t>(8, 2);
  out.put<std::uint8_t>(9, 1000 / samplesPerSecond);
  out.put<std::uint16_t>(12, headerSize);
  out.put<std::uint16_t>(14, blockSize);
  out.put<std::uint16_t>(16, 32);
  out.put<std::uint16_t>(18, 64);
  out.put<std::int32_t>(20, samples);
  out.text(32, "skidlog example");
  out.text(64, "XRG");
  out.text(96, "generated loop");
  out.put<float>(188, static_cast<float>(totalMass));
  out.put<float>(192, static_cast<float>(sprungMass));
  out.put<float>(196, 0.6f);
  for (std::size_t w = 0; w < 4; ++w) {
    const std::size_t record = 512 + 128 * w;
    out.put<float>(record, wheels[w].x);
    out.put<float>(record + 4, wheels[w].y);
    out.put<float>(record + 8, wheels[w].z);
    out.put<float>(record + 12, static_cast<float>(tyreRadius));
    out.put<float>(record + 16, 0.205f);
  }
}

// Roll to the outside of the curve, radians.
double rollOf(const CarState& car) { return -0.012 * car.lateralAcceleration; }

// The car fields of a sample block: controls, speed, position and axes.
void writeCarFields(Writer& out, std::size_t block, const CarState& car) {
  const double aLong = car.longitudinalAcceleration;
  const double roll = rollOf(car);
  // Pitch nose-down under braking, and with the road's slope.
  const double pitch = 0.004 * aLong + car.slope;
  const double ch = std::cos(car.heading), sh = std::sin(car.heading);
  const double cp = std::cos(pitch), sp = std::sin(pitch);
  const double cr = std::cos(roll), sr = std::sin(roll);
  const double forward[3] = {-sh * cp, ch * cp, sp};
  const double right0[3] = {ch, sh, 0.0};
  const double up0[3] = {right0[1] * forward[2] - right0[2] * forward[1], right0[2] * forward[0] - right0[0] * forward[2],
                         right0[0] * forward[1] - right0[1] * forward[0]};
  double right[3];
  for (int k = 0; k < 3; ++k) right[k] = right0[k] * cr + up0[k] * sr;

  const double throttle = aLong > 0 ? std::fmin(1.0, 0.25 + aLong / 5.0) : (aLong > -0.5 ? 0.2 : 0.0);
  const double brake = aLong < -0.5 ? std::fmin(1.0, -aLong / 10.0) : 0.0;
  const int gear = 1 + std::min(5, static_cast<int>(car.speed / 11.0));
  out.put<float>(block + 0, static_cast<float>(throttle));
  out.put<float>(block + 4, static_cast<float>(brake));
  out.put<float>(block + 8, static_cast<float>(15.0 * std::atan(wheelbase * car.curvature)));
  out.put<std::uint8_t>(block + 20, static_cast<std::uint8_t>(gear + 1));
  out.put<float>(block + 24, static_cast<float>(car.speed));
  out.put<std::int32_t>(block + 32, fixedPoint(car.x));
  out.put<std::int32_t>(block + 36, fixedPoint(car.y));
  out.put<std::int32_t>(block + 40, fixedPoint(car.z));
  for (int k = 0; k < 3; ++k) {
    out.put<std::int16_t>(block + 52 + 2 * static_cast<std::size_t>(k), quantiseAxis(right[k]));
    out.put<std::int16_t>(block + 58 + 2 * static_cast<std::size_t>(k), quantiseAxis(forward[k]));
  }
}

// The four wheel sub-blocks: load transfer, forces, steer, spin and lean.
void writeWheelFields(Writer& out, std::size_t block, const CarState& car, Noise& noise) {
  const double aLong = car.longitudinalAcceleration;
  const double aLat = car.lateralAcceleration;  // positive to the left
  const double roll = rollOf(car);
  const double frontSteer = std::atan(wheelbase * car.curvature);
  const double staticLoad = totalMass * gravity / 4.0;
  const double pitchTransfer = totalMass * aLong * centreOfMassHeight / wheelbase / 2.0;
  const double rollTransfer = totalMass * aLat * centreOfMassHeight / trackWidth / 2.0;
  for (std::size_t w = 0; w < 4; ++w) {
    const bool front = w < 2;
    const bool left = w % 2 == 0;
    // Braking and cornering load the front and the outside wheels.
    const double load = staticLoad + (front ? -pitchTransfer : pitchTransfer) + (left ? -rollTransfer : rollTransfer) +
                        noise.gauss(60.0);
    const double lateral = -totalMass * aLat / 4.0 * load / staticLoad + noise.gauss(40.0);
    const bool driven = !front;
    const double longitudinal =
        aLong >= 0 ? (driven ? totalMass * aLong / 2.0 : -40.0) : totalMass * aLong / 4.0 * (front ? 1.3 : 0.7);
    const double steer = front ? frontSteer + (left ? 0.0015 : -0.0015) + 0.12 * frontSteer * frontSteer * (left ? 1 : -1)
                               : (left ? 0.001 : -0.001);
    const double wheelSpeed = car.speed * (1.0 + car.curvature * trackWidth / 2.0 * (left ? -1.0 : 1.0));
    const double slip = longitudinal / (load > 100.0 ? load : 100.0) * 0.05;
    const double deflection = 0.055 + (load - staticLoad) / 35000.0 + noise.gauss(0.002);
    const double lean = (left ? 1.0 : -1.0) * 0.012 + roll * 0.5;
    const std::size_t sub = block + 64 + 32 * w;
    out.put<float>(sub + 0, static_cast<float>(deflection));
    out.put<float>(sub + 4, static_cast<float>(steer));
    out.put<float>(sub + 8, static_cast<float>(lateral));
    out.put<float>(sub + 12, static_cast<float>(longitudinal));
    out.put<float>(sub + 16, static_cast<float>(load));
    out.put<float>(sub + 20, static_cast<float>(wheelSpeed * (1.0 + slip) / tyreRadius));
    out.put<float>(sub + 24, static_cast<float>(lean));
  }
}

}  // namespace
}  // namespace skidlog::tools

int main(int argc, char** argv) {
  using namespace skidlog::tools;
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: make_replay <output.raf> [seconds = 60] [seed = 1]\n");
    return 1;
  }
  const double seconds = argc > 2 ? std::atof(argv[2]) : 60.0;
  const unsigned long seed = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 1;
  if (!(seconds > 0.0) || seconds > 48.0 * 3600.0) {
    std::fprintf(stderr, "make_replay: seconds must be between 0 and 172800\n");
    return 1;
  }
  const int samples = static_cast<int>(std::lround(seconds * samplesPerSecond));
  Writer out(headerSize + blockSize * static_cast<std::size_t>(samples));
  writeHeader(out, samples);
  Noise noise(seed);
  Track track(seed);
  Drive drive(track);
  for (int i = 0; i < samples; ++i) {
    const std::size_t block = headerSize + blockSize * static_cast<std::size_t>(i);
    const CarState car = drive.state();
    writeCarFields(out, block, car);
    writeWheelFields(out, block, car, noise);
    drive.step(dt);
  }
  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "make_replay: cannot create %s\n", argv[1]);
    return 1;
  }
  const bool written = std::fwrite(out.bytes().data(), 1, out.bytes().size(), file) == out.bytes().size();
  if (std::fclose(file) != 0 || !written) {
    std::fprintf(stderr, "make_replay: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
