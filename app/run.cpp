#include "app/run.h"

#include <string>

#include "app/convert.h"
#include "app/files.h"

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

  InputFile input;
  switch (readInputFile(options.inputName, input)) {
    case ReadStatus::notOpened:
      messages << "Could not open file: " << options.inputName << "." << std::endl;
      return exitWith(ExitCode::inputNotOpened);
    case ReadStatus::notEnoughMemory:
      messages << "Not enough memory to read file: " << options.inputName << "." << std::endl;
      return exitWith(ExitCode::notAReplay);
    case ReadStatus::read:
      break;
  }
  if (isSameFile(options.outputName, input.device, input.inode)) {
    messages << "Output file is the input file: " << options.outputName << "." << std::endl;
    return exitWith(ExitCode::outputNotOpened);
  }
  Replay replay;
  const ExitCode read = readReplay(std::span<const std::byte>(input.bytes.get(), input.size), options, replay, messages);
  if (read != ExitCode::success) return exitWith(read);
  // Every later stage works from the series alone; the file's bytes can go.
  input.bytes.reset();
  OutputFile output(options.outputName);
  return exitWith(writeReplay(replay, options, output, messages));
}

}  // namespace skidlog
