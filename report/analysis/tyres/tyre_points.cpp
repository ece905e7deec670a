#include "report/analysis/tyres/tyre_points.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "csv/wheel_row.h"
#include "numeric/precision.h"
#include "system/parallel_for.h"
#include "report/fit/bootstrap.h"

namespace skidlog {

std::size_t samplesPerBlock(std::size_t n, double interval) {
  const std::size_t atMost = (n + maxBlocksPerReplay - 1) / maxBlocksPerReplay;
  if (!(interval > 0.0)) return std::max<std::size_t>(1, atMost);
  return std::max({std::size_t{1}, atMost, static_cast<std::size_t>(std::lround(blockSeconds / interval))});
}

void WheelPoints::roomFor(std::size_t more) {
  for (std::vector<float>* v : {&slipAngle, &lateralGrip, &slipRatio, &longitudinalGrip, &normalLoad, &speed}) {
    skidlog::roomFor(*v, more);
  }
  skidlog::roomFor(sample, more);
  skidlog::roomFor(block, more);
}

void WheelPoints::shrinkToFit() {
  for (std::vector<float>* v : {&slipAngle, &lateralGrip, &slipRatio, &longitudinalGrip, &normalLoad, &speed}) {
    v->shrink_to_fit();
  }
  sample.shrink_to_fit();
  block.shrink_to_fit();
}

void WheelPoints::keepGripsAndLoads() {
  slipAngle = {};
  slipRatio = {};
  speed = {};
  block = {};
}

std::uint32_t blockCount(std::size_t n, double interval) {
  const std::size_t perBlock = samplesPerBlock(n, interval);
  return static_cast<std::uint32_t>((n + perBlock - 1) / perBlock);
}

void appendTyrePoints(const Replay& replay, SampleNumbering numbering, TyrePoints& points) {
  const std::size_t n = replay.sampleCount();
  const std::size_t perBlock = samplesPerBlock(n, widen(replay.header.sampleInterval));
  // The wheels share nothing: each on its own core.
  parallelFor(static_cast<int>(points.size()), [&](int wheelIndex) {
    const auto w = static_cast<std::size_t>(wheelIndex);
    const WheelTrack& wheel = replay.wheels[w];
    WheelPoints& p = points[w];
    p.roomFor(n);
    for (std::size_t i = 0; i < n; ++i) {
      if (!passesPerWheel(wheel, i)) continue;
      const WheelRow row = wheelRow(wheel, replay.geometry[w], i);
      p.slipAngle.push_back(toFloat(row.slipAngle));
      p.lateralGrip.push_back(row.lateralGrip);
      p.slipRatio.push_back(row.slipRatio);
      p.longitudinalGrip.push_back(row.longitudinalGrip);
      p.normalLoad.push_back(wheel.normalLoad[i]);
      p.speed.push_back(wheel.localVelocity[i].y);
      p.sample.push_back(numbering.firstSample + static_cast<std::uint32_t>(i));
      p.block.push_back(numbering.firstBlock + static_cast<std::uint32_t>(i / perBlock));
    }
  });
}

WheelPoints axlePoints(const WheelPoints& left, const std::vector<PointIndex>& leftFitted, const WheelPoints& right,
                       const std::vector<PointIndex>& rightFitted) {
  WheelPoints axle;
  axle.roomFor(std::min(leftFitted.size(), rightFitted.size()));
  // Both wheels' rows are in sample order: walk them together.
  std::size_t a = 0, b = 0;
  while (a < leftFitted.size() && b < rightFitted.size()) {
    const std::size_t i = leftFitted[a], k = rightFitted[b];
    if (left.sample[i] < right.sample[k]) {
      ++a;
      continue;
    }
    if (right.sample[k] < left.sample[i]) {
      ++b;
      continue;
    }
    const double loadLeft = widen(left.normalLoad[i]), loadRight = widen(right.normalLoad[k]);
    const double load = loadLeft + loadRight;
    // The axle's force over its load: each wheel's grip weighted by its load.
    const auto share = [&](const std::vector<float>& leftGrip, const std::vector<float>& rightGrip) {
      return toFloat((widen(leftGrip[i]) * loadLeft + widen(rightGrip[k]) * loadRight) / load);
    };
    const auto mean = [&](const std::vector<float>& leftValues, const std::vector<float>& rightValues) {
      return toFloat((widen(leftValues[i]) + widen(rightValues[k])) / 2.0);
    };
    axle.slipAngle.push_back(mean(left.slipAngle, right.slipAngle));
    axle.lateralGrip.push_back(share(left.lateralGrip, right.lateralGrip));
    axle.slipRatio.push_back(mean(left.slipRatio, right.slipRatio));
    axle.longitudinalGrip.push_back(share(left.longitudinalGrip, right.longitudinalGrip));
    axle.normalLoad.push_back(toFloat(load / 2.0));
    axle.speed.push_back(std::min(left.speed[i], right.speed[k]));
    axle.sample.push_back(left.sample[i]);
    axle.block.push_back(left.block[i]);
    ++a;
    ++b;
  }
  return axle;
}

ReplayTrace takeTrace(Replay& replay) {
  const std::size_t n = replay.sampleCount();
  CarTrack& car = replay.car;
  ReplayTrace t;
  t.distance.reserve(n);
  double travelled = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0) {
      const double step = length(car.position[i] - car.position[i - 1]);
      // A jump of more than 100 m in one sample is a reset, not a drive.
      if (std::isfinite(step) && step < 100.0) travelled += step;
    }
    t.distance.push_back(static_cast<float>(travelled));
  }
  t.time = std::move(replay.sampleTimes);
  t.speed = std::move(car.speed);
  t.throttle = std::move(car.throttle);
  t.brake = std::move(car.brake);
  t.steer = std::move(car.steerDeg);
  for (std::size_t w = 0; w < t.normalLoad.size(); ++w) t.normalLoad[w] = std::move(replay.wheels[w].normalLoad);
  return t;
}

}  // namespace skidlog
