// A fresh directory per test, removed afterwards, with small file helpers.
#ifndef SKIDLOG_TESTS_SUPPORT_TEMP_DIR_H_
#define SKIDLOG_TESTS_SUPPORT_TEMP_DIR_H_

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace skidlog::test {

class TempDir {
 public:
  TempDir() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    do {
      path_ = std::filesystem::temp_directory_path() / ("skidlog-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  std::string path() const { return path_.string(); }
  const std::filesystem::path& fsPath() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Paths as std::filesystem::path, so that names outside the ANSI code page
// work on Windows too.
inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace skidlog::test

#endif  // SKIDLOG_TESTS_SUPPORT_TEMP_DIR_H_
