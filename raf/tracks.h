// The in-memory record of one replay: one series per quantity, entry i of every
// series belonging to sample i.
#ifndef SKIDLOG_RAF_TRACKS_H_
#define SKIDLOG_RAF_TRACKS_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "numeric/series_memory.h"
#include "numeric/vector3.h"
#include "raf/read_at.h"

namespace skidlog {

// A series owns its entries and is only appended to; room for every sample is
// reserved once, before loading, so no stage reallocates it.
template <class T>
using Series = std::vector<T, SeriesAllocator<T>>;

// The car's series, decoded from the car fields of each sample block.
struct CarTrack {
  Series<float> speed;       // m/s
  Series<Vector3> position;  // world, m
  Series<Vector3> axisX;     // car's right, world axes
  Series<Vector3> axisY;     // car's forward, world axes
  Series<Vector3> axisZ;     // cross(axisX, axisY), derived
  Series<float> throttle;
  Series<float> brake;
  Series<float> steerDeg;  // steering angle, degrees
  Series<float> gear;      // gear byte minus 1: -1 reverse, 0 neutral
  Series<float> engineSpeed;  // rad/s

  static constexpr std::size_t bytesPerSample = 6 * sizeof(float) + 4 * sizeof(Vector3);

  void reserve(std::size_t n);
  // Appends one entry to each series from the block at file offset `block`.
  void decodeCarBlock(ReplayInput& input, std::uint64_t block);
};

// The series of one wheel, numbered 0 to 16. Series 0 to 6 come from the
// file; 7 to 16 are derived from them.
struct WheelTrack {
  Series<float> suspensionDeflection;  // 0: m, positive when compressed
  Series<float> steer;                 // 1: radians
  Series<float> forceX;                // 2: N along the car's x axis
  Series<float> forceY;                // 3: N along the car's y axis
  Series<float> forceZ;                // 4: N along the car's z axis
  Series<float> angularVelocity;       // 5: rad/s
  Series<float> lean;                  // 6: radians
  Series<Vector3> position;            // 7: world position of the wheel's reference point, m
  Series<Vector3> velocity;            // 8: world, m/s
  Series<Vector3> acceleration;        // 9: world, m/s^2
  Series<Vector3> lateralAxis;         // 10: left to right, turned by the steer angle
  Series<Vector3> longitudinalAxis;    // 11: rear to front, turned by the steer angle
  Series<Vector3> normalAxis;          // 12: not turned
  Series<Vector3> localVelocity;       // 13: x lateral, y longitudinal, z normal, m/s
  Series<float> normalLoad;            // 14: N
  Series<float> longitudinalForce;     // 15: N
  Series<float> lateralForce;          // 16: N

  static constexpr std::size_t bytesPerSample = 10 * sizeof(float) + 7 * sizeof(Vector3);

  void reserve(std::size_t n);
  // Appends one entry to series 0 to 6 from the wheel sub-block at file offset `subBlock`.
  void decodeWheelBlock(ReplayInput& input, std::uint64_t subBlock);
};

}  // namespace skidlog

#endif  // SKIDLOG_RAF_TRACKS_H_
