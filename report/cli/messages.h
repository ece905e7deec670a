// skidlog-report's messages: every line begins with the program's name, as
// GNU programs write them, those the library writes for it too; and a
// progress line while replays are read and fitted, on a terminal only.
#ifndef SKIDLOG_REPORT_CLI_MESSAGES_H_
#define SKIDLOG_REPORT_CLI_MESSAGES_H_

#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace skidlog {

inline constexpr std::string_view program = "skidlog-report";

class Progress;

// Passes text on to `target`, writing "skidlog-report: " before each line,
// and clearing `progress` (when given) first.
class PrefixedLines : public std::streambuf {
 public:
  PrefixedLines(std::ostream& target, Progress* progress) : target_(target), progress_(progress) {}

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  std::ostream& target_;
  Progress* progress_;
  bool lineStart_ = true;
};

// A line that says how far the work has come, redrawn in place on a terminal
// and cleared when done (or before any message is written); nothing at all
// when `terminal` is false.
class Progress {
 public:
  Progress(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}
  ~Progress() { clear(); }
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void show(const std::string& text);
  void clear();

 private:
  std::ostream& out_;
  bool terminal_;
  std::size_t shown_ = 0;  // characters on the line now
};

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_CLI_MESSAGES_H_
