#include "app/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <new>

namespace skidlog {
namespace {

// Closes a descriptor when it goes out of scope.
struct FdCloser {
  int fd;
  ~FdCloser() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

ReadStatus readInputFile(const std::string& path, InputFile& file) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ReadStatus::notOpened;
  FdCloser closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return ReadStatus::notOpened;
  file.device = info.st_dev;
  file.inode = info.st_ino;
  const auto size = static_cast<std::size_t>(info.st_size);
  try {
    file.bytes = std::make_unique_for_overwrite<std::byte[]>(size);
  } catch (const std::bad_alloc&) {
    return ReadStatus::notEnoughMemory;
  }
  // Take what the file holds now; a file that shrank since fstat is read as shorter.
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(fd, file.bytes.get() + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ReadStatus::notOpened;
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  file.size = done;
  return ReadStatus::read;
}

bool isSameFile(const std::string& path, dev_t device, ino_t inode) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && info.st_dev == device && info.st_ino == inode;
}

OutputFile::~OutputFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool OutputFile::open() {
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  return fd_ >= 0;
}

bool OutputFile::writeLine(std::string_view line) {
  if (failed_ || fd_ < 0) return false;
  const char* data = line.data();
  std::size_t left = line.size();
  while (left > 0) {
    const ssize_t put = ::write(fd_, data, left);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      failed_ = true;
      return false;
    }
    data += put;
    left -= static_cast<std::size_t>(put);
  }
  return true;
}

bool OutputFile::close() {
  if (fd_ < 0) return false;
  const int result = ::close(fd_);
  fd_ = -1;
  return result == 0 && !failed_;
}

std::uint64_t physicalMemory() {
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  const long pageSize = ::sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return std::uint64_t{1} << 40;
  return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

}  // namespace skidlog
