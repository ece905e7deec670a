#include "skidlog/skidlog.h"

#include <new>

#include "csv/csv_writer.h"
#include "system/parallel_for.h"
#include "raf/raf_format.h"

namespace skidlog {

LoadOutcome loadReplay(std::span<const std::byte> file, std::uint64_t memoryLimit, Replay& replay,
                       const EachWheel& eachWheel) {
  LoadOutcome outcome;
  if (file.size() < raf::minimumFileSize) {
    outcome.status = LoadStatus::notAReplay;
    return outcome;
  }
  ReplayInput input(file);
  HeaderRecords records = readHeader(input);
  replay.header = records.header;
  replay.geometry = records.geometry;
  outcome.declared = replay.header.blockCount > 0 ? static_cast<std::uint64_t>(replay.header.blockCount) : 0;
  outcome.held = heldSampleCount(replay.header, file.size());
  if (outcome.held > memoryLimit / bytesPerSample) {
    outcome.status = LoadStatus::notEnoughMemory;
    return outcome;
  }
  try {
    const auto n = static_cast<std::size_t>(outcome.held);
    reserveSeries(replay, n);
    if (eachWheel) {
      loadSamples(input, replay.header, n, replay.sampleTimes, replay.car, replay.wheels, eachWheel);
    } else {
      loadSamples(input, replay.header, n, replay.sampleTimes, replay.car, replay.wheels);
    }
  } catch (const std::bad_alloc&) {
    outcome.status = LoadStatus::notEnoughMemory;
  }
  return outcome;
}

ExitCode readReplay(std::span<const std::byte> file, const ConvertOptions& options, Replay& replay,
                    std::ostream& messages) {
  const LoadOutcome load = loadReplay(file, options.memoryLimit, replay, options.eachWheel);
  switch (load.status) {
    case LoadStatus::notAReplay:
      messages << "Not a replay analyser file: " << options.inputName << "." << std::endl;
      return ExitCode::notAReplay;
    case LoadStatus::notEnoughMemory:
      messages << "Not enough memory for " << load.held << " samples." << std::endl;
      return ExitCode::notAReplay;
    case LoadStatus::loaded:
      break;
  }
  if (load.held < load.declared) {
    messages << "Warning: " << options.inputName << " holds " << load.held << " of " << load.declared
             << " sample blocks." << std::endl;
  }
  return ExitCode::success;
}

namespace {

bool beginsWithSignature(std::span<const std::byte> file) {
  if (file.size() < replaySignature.size()) return false;
  for (std::size_t i = 0; i < replaySignature.size(); ++i) {
    if (static_cast<char>(file[i]) != replaySignature[i]) return false;
  }
  return true;
}

}  // namespace

ExitCode loadReplayFile(const ConvertOptions& options, std::span<const std::string> outputs, Replay& replay,
                        std::ostream& messages, ReplayNames* names) {
  InputFile input;
  switch (readInputFile(options.inputName, input)) {
    case ReadStatus::notOpened:
      messages << "Could not open file: " << options.inputName << "." << std::endl;
      return ExitCode::inputNotOpened;
    case ReadStatus::notEnoughMemory:
      messages << "Not enough memory to read file: " << options.inputName << "." << std::endl;
      return ExitCode::notAReplay;
    case ReadStatus::read:
      break;
  }
  for (const std::string& output : outputs) {
    if (isSameFile(output, input.id)) {
      messages << "Output file is the input file: " << output << "." << std::endl;
      return ExitCode::outputNotOpened;
    }
  }
  const bool isSigned = beginsWithSignature(input.view());
  if (!isSigned && options.withoutSignature == ConvertOptions::Unsigned::refuse) {
    messages << "Not a replay: " << options.inputName << " does not begin with the replay signature "
             << replaySignature << "." << std::endl;
    return ExitCode::notAReplay;
  }
  if (names != nullptr) *names = readReplayNames(input.view());
  const ExitCode read = readReplay(input.view(), options, replay, messages);
  // A file that loads but lacks the signature is read as it stands, with a word.
  if (read == ExitCode::success && !isSigned && options.withoutSignature == ConvertOptions::Unsigned::warn) {
    messages << "Warning: " << options.inputName << " does not begin with the replay signature " << replaySignature
             << "; it is read as a replay, but may be none." << std::endl;
  }
  return read;
}

ExitCode writeReplay(Replay& replay, const ConvertOptions& options, LineSink& sink, std::ostream& messages) {
  if (!sink.open()) {
    messages << "Could not open file: " << options.outputName << "." << std::endl;
    return ExitCode::outputNotOpened;
  }
  deriveWheelSeries(replay);
  const bool written = writeCsv(sink, options.sideBySide, replay.sampleCount(), replay.sampleTimes, replay.car,
                                replay.wheels, replay.geometry);
  const bool closed = sink.close();
  if (!written || !closed) {
    messages << "Could not write file: " << options.outputName << "." << std::endl;
    return ExitCode::writeFailed;
  }
  return ExitCode::success;
}

void eachWheelOnCores(const std::function<void(std::size_t)>& job) {
  parallelFor(raf::wheelCount, [&](int w) { job(static_cast<std::size_t>(w)); });
}

ExitCode convertReplay(std::span<const std::byte> file, const ConvertOptions& options, LineSink& sink,
                       std::ostream& messages) {
  Replay replay;
  const ExitCode read = readReplay(file, options, replay, messages);
  if (read != ExitCode::success) return read;
  return writeReplay(replay, options, sink, messages);
}

}  // namespace skidlog
