// Where the CSV lines go: a file, or text in memory.
#ifndef SKIDLOG_CSV_LINE_SINK_H_
#define SKIDLOG_CSV_LINE_SINK_H_

#include <string>
#include <string_view>

namespace skidlog {

class LineSink {
 public:
  virtual ~LineSink() = default;
  // Makes the sink ready for lines; called once, before the first line, only
  // after the input has been accepted. False when it cannot be opened.
  virtual bool open() { return true; }
  // Hands one complete line (ending with '\n') on; false once writing failed.
  virtual bool writeLine(std::string_view line) = 0;
  // Finishes the output; false when the output could not be completed.
  virtual bool close() { return true; }
};

// Collects the lines in a string.
class StringSink : public LineSink {
 public:
  bool writeLine(std::string_view line) override {
    text.append(line);
    return true;
  }
  std::string text;
};

}  // namespace skidlog

#endif  // SKIDLOG_CSV_LINE_SINK_H_
