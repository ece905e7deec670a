#include "report/cli/messages.h"

namespace skidlog {

PrefixedLines::int_type PrefixedLines::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  if (lineStart_) {
    if (progress_ != nullptr) progress_->clear();
    target_ << program << ": ";
  }
  const char ch = traits_type::to_char_type(c);
  target_.put(ch);
  lineStart_ = ch == '\n';
  return c;
}

int PrefixedLines::sync() {
  target_.flush();
  return target_ ? 0 : -1;
}

void Progress::show(const std::string& text) {
  if (!terminal_) return;
  const std::string line = std::string(program) + ": " + text;
  // Carriage return, the new text, and blanks over what is left of the old.
  out_ << '\r' << line;
  if (line.size() < shown_) out_ << std::string(shown_ - line.size(), ' ') << '\r' << line;
  out_.flush();
  shown_ = line.size();
}

void Progress::clear() {
  if (!terminal_ || shown_ == 0) return;
  out_ << '\r' << std::string(shown_, ' ') << '\r' << std::flush;
  shown_ = 0;
}

}  // namespace skidlog
