#include "skidlog/replay_info.h"

#include "raf/raf_format.h"
#include "raf/replay_header.h"
#include "raf/replay_names.h"
#include "skidlog/simulator_text.h"

namespace skidlog {

ExitCode readReplayInfo(const std::string& path, ReplayInfo& info, std::ostream& messages) {
  // The header holds everything but the sample count, which the file's size
  // gives: a replay's samples are not read.
  InputFile input;
  switch (readInputFile(path, input, raf::headerReadBytes)) {
    case ReadStatus::notOpened:
      messages << "Could not open file: " << path << "." << std::endl;
      return ExitCode::inputNotOpened;
    case ReadStatus::notEnoughMemory:
      messages << "Not enough memory to read file: " << path << "." << std::endl;
      return ExitCode::notAReplay;
    case ReadStatus::read:
      break;
  }
  // The whole file where it is shorter than what was asked (or shrank
  // while it was read), else its size when it was opened.
  const std::uint64_t length = input.size < raf::headerReadBytes ? input.size : input.fileSize;
  if (length < raf::minimumFileSize) {
    messages << "Not a replay analyser file: " << path << "." << std::endl;
    return ExitCode::notAReplay;
  }
  ReplayInput bytes(input.view());
  const ReplayHeader header = readHeader(bytes).header;
  ReplayNames names = readReplayNames(input.view());
  info.player = decodeSimulatorText(names.player);
  info.car = decodeSimulatorText(names.car);
  info.track = decodeSimulatorText(names.track);
  info.layout = decodeSimulatorText(names.layout);
  info.sampleInterval = header.sampleInterval;
  info.samples = heldSampleCount(header, length);
  info.declaredSamples = header.blockCount > 0 ? static_cast<std::uint64_t>(header.blockCount) : 0;
  info.splitsMs = std::move(names.splitsMs);
  info.setup = std::move(names.setup);
  return ExitCode::success;
}

}  // namespace skidlog
