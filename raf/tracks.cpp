#include "raf/tracks.h"

#include "numeric/precision.h"
#include "raf/raf_format.h"

namespace skidlog {
namespace {

Vector3 readPosition(ReplayInput& input, std::uint64_t offset) {
  std::int32_t raw[3] = {0, 0, 0};
  readAt(input, offset, raw, 3);
  // raw / 65536 is exact in double; the only rounding is to float.
  return Vector3(toFloat(raw[0] / raf::positionScale), toFloat(raw[1] / raf::positionScale),
                 toFloat(raw[2] / raf::positionScale));
}

Vector3 readAxis(ReplayInput& input, std::uint64_t offset) {
  std::int16_t raw[3] = {0, 0, 0};
  readAt(input, offset, raw, 3);
  return Vector3(toFloat(raw[0] / raf::axisScale), toFloat(raw[1] / raf::axisScale),
                 toFloat(raw[2] / raf::axisScale));
}

}  // namespace

void CarTrack::reserve(std::size_t n) {
  for (Series<float>* s : {&speed, &throttle, &brake, &steerDeg, &gear, &engineSpeed}) s->reserve(n);
  for (Series<Vector3>* s : {&position, &axisX, &axisY, &axisZ}) s->reserve(n);
}

void CarTrack::decodeCarBlock(ReplayInput& input, std::uint64_t block) {
  speed.push_back(readOne<float>(input, block + raf::blockSpeed));
  position.push_back(readPosition(input, block + raf::blockPosition));
  axisX.push_back(readAxis(input, block + raf::blockAxisX));
  axisY.push_back(readAxis(input, block + raf::blockAxisY));
  // From the stored float axes of this sample, not the raw integers; not normalised.
  axisZ.push_back(cross(axisX.back(), axisY.back()));
  throttle.push_back(readOne<float>(input, block + raf::blockThrottle));
  brake.push_back(readOne<float>(input, block + raf::blockBrake));
  steerDeg.push_back(toFloat(widen(readOne<float>(input, block + raf::blockSteering)) * degreesPerRadian));
  const std::uint8_t gearByte = readOne<std::uint8_t>(input, block + raf::blockGear);
  gear.push_back(static_cast<float>(gearByte - 1));
  engineSpeed.push_back(readOne<float>(input, block + raf::blockEngineSpeed));
}

void WheelTrack::reserve(std::size_t n) {
  for (Series<float>* s : {&suspensionDeflection, &steer, &forceX, &forceY, &forceZ, &angularVelocity, &lean,
                           &normalLoad, &longitudinalForce, &lateralForce}) {
    s->reserve(n);
  }
  for (Series<Vector3>* s :
       {&position, &velocity, &acceleration, &lateralAxis, &longitudinalAxis, &normalAxis, &localVelocity}) {
    s->reserve(n);
  }
}

void WheelTrack::decodeWheelBlock(ReplayInput& input, std::uint64_t subBlock) {
  suspensionDeflection.push_back(readOne<float>(input, subBlock + raf::wheelDeflection));
  steer.push_back(readOne<float>(input, subBlock + raf::wheelSteer));
  forceX.push_back(readOne<float>(input, subBlock + raf::wheelForceX));
  forceY.push_back(readOne<float>(input, subBlock + raf::wheelForceY));
  forceZ.push_back(readOne<float>(input, subBlock + raf::wheelForceZ));
  angularVelocity.push_back(readOne<float>(input, subBlock + raf::wheelAngularVelocity));
  lean.push_back(readOne<float>(input, subBlock + raf::wheelLean));
}

}  // namespace skidlog
