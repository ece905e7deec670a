// The replay file of a drive: the header and every sample block, laid out as
// the simulator lays them out. Each wheel's angular velocity and force are
// chosen last, from what the replay's reader measures of the written motion:
// the angular velocity so that it measures the wheel's slip ratio, and the
// force so that the grip it derives is the tyre's grip at the slip it
// measures, plus sensor noise.
#ifndef SKIDLOG_TOOLS_GENERATOR_SYNTH_H_
#define SKIDLOG_TOOLS_GENERATOR_SYNTH_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tools/generator/car.h"
#include "tools/generator/drive.h"

namespace skidlog::generator {

struct ReplayTexts {
  std::string player = "make_replay";
  std::string car = "Generated GT";
  std::string track = "Generated circuit";
};

// Noise on the measured grip: smooth (correlated over a few samples) with
// these standard deviations, and now and then a spike (a kerb, a bump) that
// the fit should treat as an outlier. `scale` 0 writes the exact curves.
struct SensorNoise {
  double scale = 1.0;
  double lateralGrip = 0.03;
  double longitudinalGrip = 0.02;
  double memory = 0.6;         // of the last sample's noise
  double spikeRate = 0.003;    // per wheel and sample
  std::uint64_t seed = 1;
};

// `splits`: the header's split times in ms, the lap time last (none: empty).
std::vector<std::byte> synthesiseReplay(const CarSetup& car, const std::vector<CarState>& states,
                                        double sampleInterval, const ReplayTexts& texts, const SensorNoise& noise,
                                        std::span<const std::int32_t> splits = {});

// What make_replay, the tests and the benchmarks vary about a generated lap.
// One seed drives both the driver's variation and the sensor noise, so that
// laps with different seeds are independent and a seed repeats its lap.
struct LapOptions {
  Turns turns = Turns::both;
  double seconds = 60.0;
  double sampleInterval = 0.01;  // s
  double noiseScale = 1.0;
  // Laps of one session differ in the tyres' warmth: the lap's grip is the
  // car's scaled by a factor drawn from the seed with this standard deviation.
  double gripVariation = 0.0;
  // One whole lap from the line, `seconds` unused, with the split times a
  // simulator records: at a third and two thirds of the lap, and the lap time.
  bool wholeLap = false;
  int slowCorner = -1;  // see DriveOptions
  int lateBrakeCorner = -1;
  double lateBrakeMetres = 0.0;
  int wideCorner = -1;
  double wideMetres = 0.0;
  double consistency = 0.0;  // see DriveOptions
  double pace = 1.0;         // see DriveOptions
  std::uint64_t seed = 1;
  ReplayTexts texts;
};

// The car as it drives the lap: its tyres' grip scaled by the lap's factor.
CarSetup lapCar(const CarSetup& car, const LapOptions& options);

// The replay file of lapCar(car, options) driving the circuit for options.seconds.
std::vector<std::byte> generateLap(const CarSetup& car, const LapOptions& options);

// The split times, ms, of a whole lap whose samples lie at `distance` m from
// the line, `interval` s apart, on a circuit `length` m long: where it passes
// a third and two thirds of the lap, and the lap time, samples x interval.
std::vector<std::int32_t> lapSplits(const std::vector<double>& distance, double interval, double length);

}  // namespace skidlog::generator

#endif  // SKIDLOG_TOOLS_GENERATOR_SYNTH_H_
