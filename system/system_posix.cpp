#include <fcntl.h>
#include <iconv.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <new>

#include "system/parallel_for.h"
#include "system/system.h"

namespace skidlog {
namespace {

// Closes a descriptor when it goes out of scope.
struct FdCloser {
  int fd;
  ~FdCloser() {
    if (fd >= 0) ::close(fd);
  }
};

FileId idOf(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

int descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

// Asks the kernel to back a large buffer with huge pages: a long replay's
// buffer then takes a few dozen page faults instead of tens of thousands.
// Only advice; a kernel that declines changes nothing.
void adviseHugePages(std::byte* data, std::size_t size) {
  constexpr std::uintptr_t page = 4096;
  const auto start = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(page - 1);
  if (end > start + (std::uintptr_t{2} << 20)) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

// From this size a file is read in two halves at once.
constexpr std::size_t parallelReadBytes = std::size_t{16} << 20;

// A stretch of a file read into its place in the buffer: how many of its
// bytes arrived before the file ended, and whether the reading failed.
struct Span {
  std::size_t at;
  std::size_t count;
  std::size_t got;
  bool ok;
};

void readSpan(int fd, std::byte* buffer, Span& span) {
  while (span.got < span.count) {
    const ssize_t got = ::pread(fd, buffer + span.at + span.got, span.count - span.got,
                                static_cast<off_t>(span.at + span.got));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      span.ok = false;
      return;
    }
    if (got == 0) return;
    span.got += static_cast<std::size_t>(got);
  }
}

}  // namespace

CommandLine::CommandLine(int argc, char** argv) {
  for (int k = 0; k < argc; ++k) strings_.emplace_back(argv[k] != nullptr ? argv[k] : "");
  for (const std::string& s : strings_) pointers_.push_back(s.c_str());
}

std::ostream& messageStream() { return std::cerr; }

bool messagesToTerminal() { return ::isatty(STDERR_FILENO) == 1; }

ReadStatus readInputFile(const std::string& path, InputFile& file, std::size_t most) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ReadStatus::notOpened;
  FdCloser closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return ReadStatus::notOpened;
  file.id = idOf(info);
  file.fileSize = static_cast<std::uint64_t>(info.st_size);
  const auto size = std::min(static_cast<std::size_t>(info.st_size), most);
  try {
    file.bytes = std::make_unique_for_overwrite<std::byte[]>(size);
  } catch (const std::bad_alloc&) {
    return ReadStatus::notEnoughMemory;
  }
  adviseHugePages(file.bytes.get(), size);
  // A long replay is read in two halves at once: copying a file's pages, and
  // first touching the buffer's, take one core a few hundredths of a second.
  const std::size_t half = size >= parallelReadBytes ? size / 2 : size;
  Span parts[2] = {{0, half, 0, true}, {half, size - half, 0, true}};
  parallelFor(half < size ? 2 : 1, [&](int k) { readSpan(fd, file.bytes.get(), parts[k]); });
  if (!parts[0].ok || !parts[1].ok) return ReadStatus::notOpened;
  // Take what the file holds now; a file that shrank since fstat is read as
  // shorter, up to its first short part.
  file.size = parts[0].got < parts[0].count ? parts[0].got : parts[0].count + parts[1].got;
  return ReadStatus::read;
}

bool isSameFile(const std::string& path, const FileId& id) { return fileIdentity(path) == id; }

std::optional<FileId> fileIdentity(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return idOf(info);
}

OutputFile::~OutputFile() {
  if (handle_ >= 0) ::close(descriptor(handle_));
}

bool OutputFile::open() {
  handle_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  return handle_ >= 0;
}

// Lines end in a line feed alone here, so a line goes out as it is.
bool OutputFile::writeLine(std::string_view line) { return writeAll(line.data(), line.size()); }

bool OutputFile::writeAll(const char* data, std::size_t size) {
  if (failed_ || handle_ < 0) return false;
  while (size > 0) {
    const ssize_t put = ::write(descriptor(handle_), data, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      failed_ = true;
      return false;
    }
    data += put;
    size -= static_cast<std::size_t>(put);
  }
  return true;
}

bool OutputFile::close() {
  if (handle_ < 0) return false;
  const int result = ::close(descriptor(handle_));
  handle_ = -1;
  return result == 0 && !failed_;
}

std::string codePageToUtf8(std::string_view bytes, int codePage) {
  constexpr std::string_view replacement = "\xEF\xBF\xBD";  // U+FFFD
  const iconv_t converter = ::iconv_open("UTF-8", ("CP" + std::to_string(codePage)).c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    // No converter for this code page: ASCII stays, every other byte is replaced.
    std::string ascii;
    for (const char c : bytes) {
      if (static_cast<unsigned char>(c) < 0x80) {
        ascii += c;
      } else {
        ascii += replacement;
      }
    }
    return ascii;
  }
  std::string out;
  std::string input(bytes);
  char* in = input.data();
  std::size_t inLeft = input.size();
  char buffer[256];
  while (inLeft > 0) {
    char* put = buffer;
    std::size_t room = sizeof buffer;
    const std::size_t result = ::iconv(converter, &in, &inLeft, &put, &room);
    out.append(buffer, static_cast<std::size_t>(put - buffer));
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // An invalid or cut-off sequence: one replacement character for its first byte.
      out.append(replacement);
      ++in;
      --inLeft;
    }
  }
  ::iconv_close(converter);
  return out;
}

std::uint64_t physicalMemory() {
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  const long pageSize = ::sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return std::uint64_t{1} << 40;
  return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

}  // namespace skidlog
