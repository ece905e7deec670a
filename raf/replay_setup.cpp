#include "raf/replay_setup.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "numeric/precision.h"
#include "raf/read_at.h"
#include "raf/replay_header.h"
#include "raf/replay_names.h"

namespace skidlog {
namespace {

// One item at `offset`, or `missing` where the file does not hold it: each
// read on its own, so a short file still gives what it holds.
template <FileItem T>
T itemAt(std::span<const std::byte> file, std::uint64_t offset, T missing) {
  ReplayInput input(file);
  const T value = readOne<T>(input, offset, missing);
  return input.failed() ? missing : value;
}

float floatAt(std::span<const std::byte> file, std::uint64_t offset) {
  return itemAt<float>(file, offset, notRecorded);
}

// A byte as recorded, -1 where the file does not hold it.
int byteAt(std::span<const std::byte> file, std::uint64_t offset) {
  ReplayInput input(file);
  const std::uint8_t value = readOne<std::uint8_t>(input, offset);
  return input.failed() ? -1 : static_cast<int>(value);
}

bool sameBits(float a, float b) { return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b); }

bool sameWheel(const WheelSetup& a, const WheelSetup& b) {
  return a.tyreCode == b.tyreCode && sameBits(a.tyreWidth, b.tyreWidth) && sameBits(a.travel, b.travel) &&
         sameBits(a.spring, b.spring) && sameBits(a.bump, b.bump) && sameBits(a.rebound, b.rebound) &&
         sameBits(a.brakeTorque, b.brakeTorque);
}

}  // namespace

bool ReplaySetup::sameAs(const ReplaySetup& other) const {
  for (std::size_t w = 0; w < wheels.size(); ++w) {
    if (!sameWheel(wheels[w], other.wheels[w])) return false;
  }
  return sameBits(antiRollFront, other.antiRollFront) && sameBits(antiRollRear, other.antiRollRear) &&
         sameBits(finalDrive, other.finalDrive) && gearCount == other.gearCount &&
         std::equal(gearRatios.begin(), gearRatios.end(), other.gearRatios.begin(), other.gearRatios.end(),
                    sameBits) &&
         playerFlags == other.playerFlags;
}

std::array<std::uint8_t, raf::wheelCount> wheelSlotsOf(std::span<const std::byte> file) {
  std::array<WheelGeometry, raf::wheelCount> fileOrder;
  for (std::size_t w = 0; w < fileOrder.size(); ++w) {
    const std::uint64_t record = raf::geometryOffset + raf::geometryStride * w;
    fileOrder[w].offsetX = floatAt(file, record + raf::geometryOffsetX);
    fileOrder[w].offsetY = floatAt(file, record + raf::geometryOffsetY);
  }
  return assignWheelRoles(fileOrder);
}

ReplaySetup readReplaySetup(std::span<const std::byte> file,
                            const std::array<std::uint8_t, raf::wheelCount>& wheelSlot) {
  ReplaySetup s;
  for (std::size_t role = 0; role < s.wheels.size(); ++role) {
    const std::uint64_t record = raf::geometryOffset + raf::geometryStride * wheelSlot[role];
    WheelSetup& w = s.wheels[role];
    w.tyreCode = byteAt(file, record + raf::setupTyreType);
    w.tyreWidth = floatAt(file, record + raf::geometryWidth);
    w.travel = floatAt(file, record + raf::setupTravel);
    w.spring = floatAt(file, record + raf::setupSpring);
    w.bump = floatAt(file, record + raf::setupBump);
    w.rebound = floatAt(file, record + raf::setupRebound);
    w.brakeTorque = floatAt(file, record + raf::setupBrakeTorque);
  }
  s.antiRollFront = floatAt(file, raf::antiRollFrontOffset);
  s.antiRollRear = floatAt(file, raf::antiRollRearOffset);
  s.finalDrive = floatAt(file, raf::finalDriveOffset);
  s.gearCount = byteAt(file, raf::gearCountOffset);
  const std::size_t gears = s.gearCount < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(s.gearCount),
                                                                         raf::gearRatioSlots);
  for (std::size_t k = 0; k < gears; ++k) s.gearRatios.push_back(floatAt(file, raf::gearRatiosOffset + 4 * k));
  s.playerFlags = byteAt(file, raf::playerFlagsOffset);
  s.weather = headerText(file, raf::weatherOffset, raf::weatherWidth);
  return s;
}

std::string tyreName(int code) {
  static constexpr const char* names[] = {"R1",         "R2",          "R3",     "R4",
                                          "road super", "road normal", "hybrid", "knobbly"};
  if (code < 0) return "not recorded";
  if (code < 8) return names[code];
  return "unknown (code " + std::to_string(code) + ")";
}

std::vector<std::string> aidsOf(int playerFlags) {
  std::vector<std::string> aids;
  if (playerFlags < 0) return aids;
  if ((playerFlags & 8) != 0) aids.emplace_back("automatic gear changes");
  if ((playerFlags & 64) != 0) aids.emplace_back("brake help");
  return aids;
}

std::vector<double> overallRatios(const ReplaySetup& setup) {
  std::vector<double> out;
  const double finalDrive = widen(setup.finalDrive);
  if (!(finalDrive > 0.0) || !std::isfinite(finalDrive)) return out;
  for (const float ratio : setup.gearRatios) {
    const double r = widen(ratio);
    if (!(r > 0.0) || !std::isfinite(r)) return {};
    out.push_back(finalDrive * r);
  }
  return out;
}

}  // namespace skidlog
