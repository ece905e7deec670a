// The parts of a Replay Analyser File (RAF) this tool reads. All fields are
// little-endian; integers two's complement, floats IEEE 754 binary32.
//
// Header (offsets from the start of the file):
//    9  u8   recording interval in ms (0 in older files, which record every 10 ms)
//   12  u16  firstBlockOffset    file offset of sample block 0
//   14  u16  blockSize           start of one sample block to the start of the next
//   16  u16  wheelBlockSize      start of one wheel sub-block to the start of the next
//   18  u16  wheelBlockOffset    wheel sub-block 0 from the start of its sample block
//   20  i32  blockCount          number of sample blocks
//  188  f32  totalMass           kg
//  192  f32  sprungMass          kg
//  196  f32  (anti-roll setting, read and discarded)
//
// Wheel geometry record w (0..3) at 512 + 128 * w:
//    0  f32  offsetX   4 f32 offsetY   8 f32 offsetZ   12 f32 radius   16 f32 (width, discarded)
//
// Sample block (offsets from the start of the block):
//    0  f32  throttle       4 f32 brake       8 f32 steering, radians
//   20  u8   gear + 1       24 f32 speed, m/s
//   32  3 x i32  position, 16.16 fixed point metres
//   44  f32  engine speed, rad/s
//   52  3 x i16  car x axis, unit length in 1/32767
//   58  3 x i16  car y axis, unit length in 1/32767
//
// Wheel sub-block (from its start):
//    0 f32 suspension deflection   4 f32 steer   8 f32 force x   12 f32 force y
//   16 f32 force z                20 f32 angular velocity       24 f32 lean
#ifndef SKIDLOG_RAF_RAF_FORMAT_H_
#define SKIDLOG_RAF_RAF_FORMAT_H_

#include <cstddef>
#include <cstdint>

namespace skidlog::raf {

inline constexpr std::uint64_t intervalOffset = 9;
inline constexpr std::uint64_t firstBlockOffsetOffset = 12;
inline constexpr std::uint64_t blockSizeOffset = 14;
inline constexpr std::uint64_t wheelBlockSizeOffset = 16;
inline constexpr std::uint64_t wheelBlockOffsetOffset = 18;
inline constexpr std::uint64_t blockCountOffset = 20;
inline constexpr std::uint64_t totalMassOffset = 188;
inline constexpr std::uint64_t sprungMassOffset = 192;
inline constexpr std::uint64_t antiRollOffset = 196;

inline constexpr std::uint64_t geometryOffset = 512;
inline constexpr std::uint64_t geometryStride = 128;
inline constexpr std::uint64_t geometryOffsetX = 0;
inline constexpr std::uint64_t geometryOffsetY = 4;
inline constexpr std::uint64_t geometryOffsetZ = 8;
inline constexpr std::uint64_t geometryRadius = 12;
inline constexpr std::uint64_t geometryWidth = 16;

// The header and the four geometry records end here; a shorter file is no replay.
inline constexpr std::uint64_t minimumFileSize = geometryOffset + 3 * geometryStride + geometryWidth + 4;
// What a reader of a replay's names, split times and setup reads of it: its
// first 4 KiB, which hold its header past its setup.
inline constexpr std::size_t headerReadBytes = 4096;
static_assert(minimumFileSize == 916);

inline constexpr std::uint64_t blockThrottle = 0;
inline constexpr std::uint64_t blockBrake = 4;
inline constexpr std::uint64_t blockSteering = 8;
inline constexpr std::uint64_t blockGear = 20;
inline constexpr std::uint64_t blockSpeed = 24;
inline constexpr std::uint64_t blockPosition = 32;
inline constexpr std::uint64_t blockEngineSpeed = 44;
inline constexpr std::uint64_t blockAxisX = 52;
inline constexpr std::uint64_t blockAxisY = 58;
// The car fields of a block end here.
inline constexpr std::uint64_t carFieldsEnd = 64;

inline constexpr std::uint64_t wheelDeflection = 0;
inline constexpr std::uint64_t wheelSteer = 4;
inline constexpr std::uint64_t wheelForceX = 8;
inline constexpr std::uint64_t wheelForceY = 12;
inline constexpr std::uint64_t wheelForceZ = 16;
inline constexpr std::uint64_t wheelAngularVelocity = 20;
inline constexpr std::uint64_t wheelLean = 24;
// The fields read from a wheel sub-block end here.
inline constexpr std::uint64_t wheelFieldsEnd = 28;

inline constexpr int wheelCount = 4;

// 16.16 fixed point metres to metres.
inline constexpr double positionScale = 65536.0;
// Quantised unit-vector components to floats; no clamping, so -32768 gives -1.0000305.
inline constexpr double axisScale = 32767.0;
// The interval older files (interval byte 0) were recorded at.
inline constexpr unsigned defaultIntervalMs = 10;

}  // namespace skidlog::raf

#endif  // SKIDLOG_RAF_RAF_FORMAT_H_
