#include "app/run.h"

#include <string>

#include "skidlog/skidlog.h"

namespace skidlog {
namespace {

int exitWith(ExitCode code) { return static_cast<int>(code); }

}  // namespace

int run(std::span<const char* const> args, std::ostream& messages) {
  messages << banner << std::endl;
  if (args.size() < 3) {
    messages << usageText << std::endl;
    return exitWith(ExitCode::usage);
  }
  // The switch counts only in the first position and only exactly as "/s".
  ConvertOptions options;
  options.sideBySide = args[1] == sideBySideSwitch;
  const std::size_t first = options.sideBySide ? 2 : 1;
  if (args.size() < first + 2) {
    messages << usageText << std::endl;
    return exitWith(ExitCode::usage);
  }
  options.inputName = args[first];
  options.outputName = args[first + 1];
  options.memoryLimit = physicalMemory();

  // The file's bytes are gone once it is loaded: every later stage works from the series.
  Replay replay;
  const ExitCode read = loadReplayFile(options, std::span(&options.outputName, 1), replay, messages);
  if (read != ExitCode::success) return exitWith(read);
  OutputFile output(options.outputName);
  return exitWith(writeReplay(replay, options, output, messages));
}

}  // namespace skidlog
