// The car's setup a replay records: per wheel its tyre and suspension, for the
// car its anti-roll bars and gearing, and the player's flags and weather.
//
//   Header (from the start of the file):
//   144  16 bytes  weather text      168  u8  player flags
//   196  f32  anti-roll bar, rear    200  f32  anti-roll bar, front
//   204  f32  final drive            208  u8   number of forward gears
//   212  7 x f32  gear ratios (the first `number of forward gears` count)
//
//   Wheel record w (0..3, in file order) at 512 + 128 * w:
//    16 f32 tyre width, m             20 f32 suspension travel, m
//    29 u8  tyre type                 32 f32 spring rate, N/m
//    36 f32 damping in bump, N s/m    40 f32 damping in rebound, N s/m
//    44 f32 largest brake torque, N m
#ifndef SKIDLOG_RAF_REPLAY_SETUP_H_
#define SKIDLOG_RAF_REPLAY_SETUP_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "raf/raf_format.h"

namespace skidlog {

namespace raf {
inline constexpr std::uint64_t weatherOffset = 144;
inline constexpr std::size_t weatherWidth = 16;
inline constexpr std::uint64_t playerFlagsOffset = 168;
inline constexpr std::uint64_t antiRollRearOffset = 196;
inline constexpr std::uint64_t antiRollFrontOffset = 200;
inline constexpr std::uint64_t finalDriveOffset = 204;
inline constexpr std::uint64_t gearCountOffset = 208;
inline constexpr std::uint64_t gearRatiosOffset = 212;
inline constexpr std::size_t gearRatioSlots = 7;
inline constexpr std::uint64_t setupTravel = 20;
inline constexpr std::uint64_t setupTyreType = 29;
inline constexpr std::uint64_t setupSpring = 32;
inline constexpr std::uint64_t setupBump = 36;
inline constexpr std::uint64_t setupRebound = 40;
inline constexpr std::uint64_t setupBrakeTorque = 44;
}  // namespace raf

// A value the file does not hold (a file cut short) is NaN, or -1 for a code.
inline constexpr float notRecorded = std::numeric_limits<float>::quiet_NaN();

struct WheelSetup {
  int tyreCode = -1;              // 0-7 (tyreName); as recorded, -1 where not recorded
  float tyreWidth = notRecorded;  // m
  float travel = notRecorded;     // m, the suspension's largest deflection
  float spring = notRecorded;     // N/m
  float bump = notRecorded;       // N s/m
  float rebound = notRecorded;    // N s/m
  float brakeTorque = notRecorded;  // N m
};

struct ReplaySetup {
  std::array<WheelSetup, raf::wheelCount> wheels;  // by wheel role
  float antiRollFront = notRecorded;
  float antiRollRear = notRecorded;
  float finalDrive = notRecorded;
  int gearCount = -1;  // as recorded; -1 where not recorded
  // The forward gears' ratios: the first gearCount of the seven recorded (all
  // seven where the count is larger).
  std::vector<float> gearRatios;
  int playerFlags = -1;  // the byte as recorded; -1 where not recorded
  std::string weather;   // the raw text, as the names are kept

  // The same setup, weather aside: every value bit for bit, so a NaN equals
  // itself and two files of one setup always group together.
  bool sameAs(const ReplaySetup& other) const;
};

// The setup of a replay file (any length: what it does not hold is not
// recorded), its wheels in the roles `wheelSlot` gives (wheelSlot[role] is
// the file index of the role's wheel record).
ReplaySetup readReplaySetup(std::span<const std::byte> file,
                            const std::array<std::uint8_t, raf::wheelCount>& wheelSlot);

// The wheel roles of a file from its geometry records (assignWheelRoles), for
// a file of any length: file order where it holds too little to tell.
std::array<std::uint8_t, raf::wheelCount> wheelSlotsOf(std::span<const std::byte> file);

// A tyre type's name: "R1" to "R4", "road super", "road normal", "hybrid",
// "knobbly"; "unknown (code N)" for any other code, "not recorded" for -1.
std::string tyreName(int code);

// The driving aids the player flags show, by name: bit 8 "automatic gear
// changes", bit 64 "brake help" (as far as these bits are known).
std::vector<std::string> aidsOf(int playerFlags);

// The overall ratio of each forward gear, the final drive times the gear's
// ratio; empty where either is not a positive finite number.
std::vector<double> overallRatios(const ReplaySetup& setup);

}  // namespace skidlog

#endif  // SKIDLOG_RAF_REPLAY_SETUP_H_
