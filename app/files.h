// The files of one run: the whole input read into memory, and the output
// written one line per system call.
#ifndef SKIDLOG_APP_FILES_H_
#define SKIDLOG_APP_FILES_H_

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "csv/line_sink.h"

namespace skidlog {

// A regular file read whole into memory.
struct InputFile {
  std::unique_ptr<std::byte[]> bytes;
  std::size_t size = 0;
  dev_t device = 0;
  ino_t inode = 0;
};

enum class ReadStatus { read, notOpened, notEnoughMemory };

// Opens `path`, refuses anything but a regular file, and reads all of it.
ReadStatus readInputFile(const std::string& path, InputFile& file);

// True when `path` names an existing file with the given device and inode,
// through whatever name or link.
bool isSameFile(const std::string& path, dev_t device, ino_t inode);

// The CSV file: created or truncated by open(), each line one write; the
// first failure sticks and is reported by writeLine and close.
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
  std::string path_;
  int fd_ = -1;
  bool failed_ = false;
};

// The machine's physical memory, bytes; a large default when it cannot be told.
std::uint64_t physicalMemory();

}  // namespace skidlog

#endif  // SKIDLOG_APP_FILES_H_
