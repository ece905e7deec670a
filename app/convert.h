// The whole conversion of one replay's bytes to CSV lines, with its messages
// and exit code: what the command line runs, and what tests and the fuzzer drive.
#ifndef SKIDLOG_APP_CONVERT_H_
#define SKIDLOG_APP_CONVERT_H_

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>

#include "csv/line_sink.h"
#include "raf/replay.h"

namespace skidlog {

enum class ExitCode : int {
  success = 0,
  usage = 1,
  inputNotOpened = 2,   // missing, unreadable or not a regular file
  outputNotOpened = 3,  // cannot be created, or is the input itself
  notAReplay = 4,       // too short to be a replay, or too many samples for memory
  writeFailed = 5,      // a write or the close of the output failed
};

struct ConvertOptions {
  bool sideBySide = false;
  std::string inputName;   // for messages
  std::string outputName;  // for messages
  // The most memory the series may take, bytes; a replay that needs more is refused.
  std::uint64_t memoryLimit = 0;
};

enum class LoadStatus { loaded, notAReplay, notEnoughMemory };

struct LoadOutcome {
  LoadStatus status = LoadStatus::loaded;
  std::uint64_t declared = 0;  // the header's sample count (0 when not positive)
  std::uint64_t held = 0;      // the samples the file holds completely
};

// Reads the header and every complete sample block into `replay`.
LoadOutcome loadReplay(std::span<const std::byte> file, std::uint64_t memoryLimit, Replay& replay);

// Loads the replay from the file's bytes, reporting a rejected input or a
// truncated one on `messages`; success means `replay` is ready for writeReplay.
ExitCode readReplay(std::span<const std::byte> file, const ConvertOptions& options, Replay& replay,
                    std::ostream& messages);

// Derives the wheel series and writes the CSV; opens `sink` first.
ExitCode writeReplay(Replay& replay, const ConvertOptions& options, LineSink& sink, std::ostream& messages);

// readReplay, then writeReplay. Every message goes to `messages`, one line each.
ExitCode convertReplay(std::span<const std::byte> file, const ConvertOptions& options, LineSink& sink,
                       std::ostream& messages);

}  // namespace skidlog

#endif  // SKIDLOG_APP_CONVERT_H_
