// The library's public interface, shared by both programs: a replay file read
// and loaded with its messages and exit code, and the whole conversion of a
// loaded replay to CSV lines. Tests and the fuzzer drive the same calls.
#ifndef SKIDLOG_SKIDLOG_SKIDLOG_H_
#define SKIDLOG_SKIDLOG_SKIDLOG_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "csv/line_sink.h"
#include "physics/wheel_series.h"
#include "system/system.h"
#include "raf/replay.h"
#include "raf/replay_names.h"

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
  // Runs the wheels' share of loading; empty: one wheel after another.
  EachWheel eachWheel;
  // What to do with a file that does not begin with the replay signature (a
  // CSV or another file given by mistake): read it silently, as the converter
  // does (its messages are fixed), read it with a warning, or refuse it as no
  // replay (the report, which would otherwise draw a page of nonsense).
  enum class Unsigned { read, warn, refuse };
  Unsigned withoutSignature = Unsigned::read;
};

// The six letters every replay begins with.
inline constexpr std::string_view replaySignature = "LFSRAF";

enum class LoadStatus { loaded, notAReplay, notEnoughMemory };

struct LoadOutcome {
  LoadStatus status = LoadStatus::loaded;
  std::uint64_t declared = 0;  // the header's sample count (0 when not positive)
  std::uint64_t held = 0;      // the samples the file holds completely
};

// Reads the header and every complete sample block into `replay`, the
// wheels' sub-blocks by `eachWheel` when one is given.
LoadOutcome loadReplay(std::span<const std::byte> file, std::uint64_t memoryLimit, Replay& replay,
                       const EachWheel& eachWheel = {});

// Loads the replay from the file's bytes, reporting a rejected input or a
// truncated one on `messages`; success means `replay` is ready for writeReplay.
ExitCode readReplay(std::span<const std::byte> file, const ConvertOptions& options, Replay& replay,
                    std::ostream& messages);

// Reads the replay file options.inputName whole and loads it as readReplay
// does. Reports a file that cannot be opened or read (exit 2 or 4), and refuses
// it (exit 3) when one of `outputs` names the same file by any path or link,
// before loading. `names`, when given, receives its header texts. The file's
// bytes are released before it returns.
ExitCode loadReplayFile(const ConvertOptions& options, std::span<const std::string> outputs, Replay& replay,
                        std::ostream& messages, ReplayNames* names = nullptr);

// Derives the wheel series and writes the CSV; opens `sink` first.
ExitCode writeReplay(Replay& replay, const ConvertOptions& options, LineSink& sink, std::ostream& messages);

// Runs job(w) for the four wheels on the machine's cores: an EachWheel for
// loading and deriving a replay.
void eachWheelOnCores(const std::function<void(std::size_t)>& job);

// readReplay, then writeReplay. Every message goes to `messages`, one line each.
ExitCode convertReplay(std::span<const std::byte> file, const ConvertOptions& options, LineSink& sink,
                       std::ostream& messages);

}  // namespace skidlog

#endif  // SKIDLOG_SKIDLOG_SKIDLOG_H_
