// The replay header, the four wheel geometry records, and which stored wheel
// plays which role (front left, front right, rear left, rear right).
#ifndef SKIDLOG_RAF_REPLAY_HEADER_H_
#define SKIDLOG_RAF_REPLAY_HEADER_H_

#include <array>
#include <cstdint>

#include "raf/raf_format.h"
#include "raf/read_at.h"

namespace skidlog {

// Wheel roles, the numbering every wheel series and CSV column uses.
enum WheelRole : int { frontLeft = 0, frontRight = 1, rearLeft = 2, rearRight = 3 };

struct ReplayHeader {
  std::uint16_t firstBlockOffset = 0;
  std::uint16_t blockSize = 0;
  std::uint16_t wheelBlockSize = 0;
  std::uint16_t wheelBlockOffset = 0;
  std::int32_t blockCount = 0;  // signed: FF FF FF FF is -1
  float totalMass = 0.0f;       // kg
  float sprungMass = 0.0f;      // kg

  // (totalMass - sprungMass) / 4 formed in double, rounded once: the unsprung
  // mass each wheel carries, kg.
  float wheelMass = 0.0f;
  // Seconds between samples: the float nearest interval byte / 1000, with
  // byte 0 taken as 10 ms.
  float sampleInterval = 0.0f;
  // wheelSlot[role] is the index of the file's wheel sub-block that holds that role.
  std::array<std::uint8_t, raf::wheelCount> wheelSlot = {0, 1, 2, 3};
};

// A wheel's static mounting point in the car's axes, and its tyre radius, m.
struct WheelGeometry {
  float offsetX = 0.0f;  // grows to the car's right
  float offsetY = 0.0f;  // grows forwards
  float offsetZ = 0.0f;
  float radius = 0.0f;
};

struct HeaderRecords {
  ReplayHeader header;
  std::array<WheelGeometry, raf::wheelCount> geometry;  // indexed by wheel role
};

// Reads the header and the four geometry records, derives wheelMass, the
// sample interval and the wheel roles. REQUIRES: the input holds at least
// raf::minimumFileSize bytes, so no read comes up short.
HeaderRecords readHeader(ReplayInput& input);

// The role of each stored wheel from its static position: the two wheels with
// the larger offsetY form the front axle when both lie strictly ahead of both
// others, and within an axle the smaller offsetX is the left wheel when the two
// differ. Otherwise (or on a NaN) the file order is taken as it stands.
// Returns wheelSlot: for each role, the file index of its wheel.
std::array<std::uint8_t, raf::wheelCount> assignWheelRoles(
    const std::array<WheelGeometry, raf::wheelCount>& fileOrder);

}  // namespace skidlog

#endif  // SKIDLOG_RAF_REPLAY_HEADER_H_
