// What the programs need from the operating system, behind one interface with
// one source file per operating system: the command line as UTF-8, the message stream,
// the input read whole, the output written one line at a time, and the
// machine's memory. Every path is UTF-8 text as the user typed it.
#ifndef SKIDLOG_SYSTEM_SYSTEM_H_
#define SKIDLOG_SYSTEM_SYSTEM_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "csv/line_sink.h"

namespace skidlog {

// The program's arguments as UTF-8, argument 0 first. On Windows they are
// taken from the wide command line, whatever the console's code page.
class CommandLine {
 public:
  CommandLine(int argc, char** argv);
  std::span<const char* const> arguments() const { return pointers_; }

 private:
  std::vector<std::string> strings_;
  std::vector<const char*> pointers_;
};

// The file name at the end of `path`, without its folders: a path as typed
// on either system may separate them with '/' or '\\'.
inline std::string_view fileNameOf(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Standard error for messages. UTF-8 text; a Windows console gets it as UTF-16
// so that every name shows as typed.
std::ostream& messageStream();

// True when standard error is a terminal (a console), where a progress line
// may be drawn and redrawn; false for a file or a pipe.
bool messagesToTerminal();

// Identifies a file whatever name, link or spelling reaches it: device and
// inode, or volume serial number and file index.
struct FileId {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  friend bool operator==(const FileId&, const FileId&) = default;
};

// A regular file read whole into memory.
struct InputFile {
  std::unique_ptr<std::byte[]> bytes;
  std::size_t size = 0;
  std::uint64_t fileSize = 0;  // the whole file's when it was opened, where only its start is read
  FileId id;

  std::span<const std::byte> view() const { return {bytes.get(), size}; }
};

enum class ReadStatus { read, notOpened, notEnoughMemory };

// Opens `path`, refuses anything but a regular file, and reads all of it, or
// its first `most` bytes. On Windows the file may be held open by another
// program, even for writing.
ReadStatus readInputFile(const std::string& path, InputFile& file, std::size_t most = SIZE_MAX);

// True when `path` names an existing file that is `id`, through whatever name,
// link or spelling.
bool isSameFile(const std::string& path, const FileId& id);

// The identity of the existing file `path` names; none when it names nothing
// that can be opened.
std::optional<FileId> fileIdentity(const std::string& path);

// An output text file: created or truncated by open(), each line handed to the
// file with one write; on Windows every line ends in CR LF. The first failure
// sticks and is reported by writeLine and close.
class OutputFile : public LineSink {
 public:
  explicit OutputFile(std::string path) : path_(std::move(path)) {}
  ~OutputFile() override;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool open() override;
  bool writeLine(std::string_view line) override;
  bool close() override;

 private:
  bool writeAll(const char* data, std::size_t size);

  std::string path_;
  std::intptr_t handle_ = -1;  // a descriptor, or a Windows HANDLE
  bool failed_ = false;
  std::string text_;  // the line with its platform line end
};

// Decodes `bytes` from a Windows code page (1250 to 1257, 932, 936, 949 or
// 950) to UTF-8. A byte, or a byte pair, that does not decode becomes U+FFFD.
std::string codePageToUtf8(std::string_view bytes, int codePage);

// The machine's physical memory, bytes; a large default when it cannot be told.
std::uint64_t physicalMemory();

}  // namespace skidlog

#endif  // SKIDLOG_SYSTEM_SYSTEM_H_
