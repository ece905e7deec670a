// Windows: wide-character file and console calls, with every path carried as
// UTF-8 inside the program and turned into UTF-16 at the system boundary.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <streambuf>

#include "system/system.h"

namespace skidlog {
namespace {

std::wstring toWide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int count = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(count), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), count);
  return wide;
}

std::string toUtf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int count = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(count), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), count, nullptr, nullptr);
  return utf8;
}

// The path for the wide file API. A long absolute path gets the \\?\ form,
// which lifts the 260-character limit; it needs a full path with backslashes,
// so the path is made full first (that also resolves "." and "..").
std::wstring systemPath(const std::string& path) {
  std::wstring wide = toWide(path);
  if (wide.size() < 240 || wide.starts_with(LR"(\\?\)")) return wide;
  const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return wide;
  std::wstring full(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return wide;
  full.resize(length);
  if (full.starts_with(LR"(\\)")) return LR"(\\?\UNC\)" + full.substr(2);
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return LR"(\\?\)" + full;
  return wide;
}

HANDLE asHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Closes a handle when it goes out of scope.
struct HandleCloser {
  HANDLE handle;
  ~HandleCloser() {
    if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  }
};

bool identify(HANDLE handle, FileId& id) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle, &info)) return false;
  id.volume = info.dwVolumeSerialNumber;
  id.index = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  return true;
}

// Standard error: text collected until a flush, then written as UTF-16 to a
// console, or as the UTF-8 bytes themselves to a file or pipe.
class ConsoleBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) pending_.push_back(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    pending_.append(s, static_cast<std::size_t>(n));
    return n;
  }
  int sync() override {
    const HANDLE out = ::GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    bool ok = true;
    if (::GetConsoleMode(out, &mode)) {
      const std::wstring wide = toWide(pending_);
      DWORD written = 0;
      ok = ::WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) != 0;
    } else if (!pending_.empty()) {
      DWORD written = 0;
      ok = ::WriteFile(out, pending_.data(), static_cast<DWORD>(pending_.size()), &written, nullptr) != 0;
    }
    pending_.clear();
    return ok ? 0 : -1;
  }

 private:
  std::string pending_;
};

}  // namespace

CommandLine::CommandLine(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) {
    for (int k = 0; k < argc; ++k) strings_.emplace_back(argv[k] != nullptr ? argv[k] : "");
  } else {
    for (int k = 0; k < count; ++k) strings_.push_back(toUtf8(wide[k]));
    ::LocalFree(wide);
  }
  for (const std::string& s : strings_) pointers_.push_back(s.c_str());
}

std::ostream& messageStream() {
  static ConsoleBuffer buffer;
  static std::ostream stream(&buffer);
  return stream;
}

bool messagesToTerminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

ReadStatus readInputFile(const std::string& path, InputFile& file, std::size_t most) {
  // Shared for reading, writing and deletion: the simulator may still hold the replay.
  const HANDLE handle = ::CreateFileW(systemPath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return ReadStatus::notOpened;
  HandleCloser closer{handle};
  LARGE_INTEGER size{};
  if (::GetFileType(handle) != FILE_TYPE_DISK || !identify(handle, file.id) || !::GetFileSizeEx(handle, &size) ||
      size.QuadPart < 0) {
    return ReadStatus::notOpened;
  }
  file.fileSize = static_cast<std::uint64_t>(size.QuadPart);
  const auto total = (std::min)(static_cast<std::uint64_t>(size.QuadPart), std::uint64_t{most});
  if (total > SIZE_MAX) return ReadStatus::notEnoughMemory;
  try {
    file.bytes = std::make_unique_for_overwrite<std::byte[]>(static_cast<std::size_t>(total));
  } catch (const std::bad_alloc&) {
    return ReadStatus::notEnoughMemory;
  }
  // Take what the file holds now; a file that shrank since it was measured is read as shorter.
  std::size_t done = 0;
  while (done < total) {
    const std::size_t left = static_cast<std::size_t>(total) - done;
    const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD got = 0;
    if (!::ReadFile(handle, file.bytes.get() + done, chunk, &got, nullptr)) return ReadStatus::notOpened;
    if (got == 0) break;
    done += got;
  }
  file.size = done;
  return ReadStatus::read;
}

bool isSameFile(const std::string& path, const FileId& id) { return fileIdentity(path) == id; }

std::optional<FileId> fileIdentity(const std::string& path) {
  // No access rights are asked for, so this opens even a file another program holds.
  const HANDLE handle =
      ::CreateFileW(systemPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  HandleCloser closer{handle};
  FileId id;
  if (!identify(handle, id)) return std::nullopt;
  return id;
}

OutputFile::~OutputFile() {
  if (handle_ != -1) ::CloseHandle(asHandle(handle_));
}

bool OutputFile::open() {
  // Others may read the table while it is written, not write or delete it. A
  // file another program holds without sharing writes fails here, untouched.
  const HANDLE handle = ::CreateFileW(systemPath(path_).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<std::intptr_t>(handle);
  return true;
}

// A text file: each line feed is written as CR LF, and the line still goes
// out with one write.
bool OutputFile::writeLine(std::string_view line) {
  text_.clear();
  for (const char c : line) {
    if (c == '\n') text_.push_back('\r');
    text_.push_back(c);
  }
  return writeAll(text_.data(), text_.size());
}

bool OutputFile::writeAll(const char* data, std::size_t size) {
  if (failed_ || handle_ == -1) return false;
  while (size > 0) {
    const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD put = 0;
    if (!::WriteFile(asHandle(handle_), data, chunk, &put, nullptr) || put == 0) {
      failed_ = true;
      return false;
    }
    data += put;
    size -= put;
  }
  return true;
}

bool OutputFile::close() {
  if (handle_ == -1) return false;
  const bool closed = ::CloseHandle(asHandle(handle_)) != 0;
  handle_ = -1;
  return closed && !failed_;
}

std::string codePageToUtf8(std::string_view bytes, int codePage) {
  const auto page = static_cast<UINT>(codePage);
  std::wstring wide;
  for (std::size_t i = 0; i < bytes.size();) {
    // One character at a time, so that a bad byte costs only itself.
    const std::size_t length =
        i + 1 < bytes.size() && ::IsDBCSLeadByteEx(page, static_cast<BYTE>(bytes[i])) ? 2 : 1;
    wchar_t decoded[2];
    const int count = ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data() + i, static_cast<int>(length),
                                            decoded, 2);
    if (count > 0) {
      wide.append(decoded, static_cast<std::size_t>(count));
    } else {
      wide.push_back(L'\xFFFD');
    }
    i += count > 0 ? length : 1;
  }
  return toUtf8(wide);
}

std::uint64_t physicalMemory() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  if (!::GlobalMemoryStatusEx(&status)) return std::uint64_t{1} << 40;
  return status.ullTotalPhys;
}

}  // namespace skidlog
