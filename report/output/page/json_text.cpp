#include "report/output/page/json_text.h"

#include <charconv>
#include <cmath>

#include "report/output/json/json_number.h"

namespace skidlog {

void JsonText::separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!needsComma_.empty()) {
    if (needsComma_.back()) out_ += ',';
    needsComma_.back() = true;
  }
}

JsonText& JsonText::open(char bracket) {
  separate();
  out_ += bracket;
  needsComma_.push_back(false);
  return *this;
}

JsonText& JsonText::close(char bracket) {
  out_ += bracket;
  needsComma_.pop_back();
  return *this;
}

JsonText& JsonText::key(std::string_view name) {
  separate();
  out_ += Json(std::string(name)).dump();
  out_ += ':';
  afterKey_ = true;
  return *this;
}

JsonText& JsonText::number(double value, int decimals) {
  if (!std::isfinite(value)) return null();
  const double scale = std::pow(10.0, decimals);
  return number(std::round(value * scale) / scale);
}

JsonText& JsonText::number(double value) {
  if (!std::isfinite(value)) return null();
  separate();
  if (value == 0.0) value = 0.0;  // no "-0"
  char digits[32];
  const auto written = std::to_chars(digits, digits + sizeof digits, value);
  out_.append(digits, written.ptr);
  return *this;
}

JsonText& JsonText::integer(std::int64_t value) {
  separate();
  out_ += std::to_string(value);
  return *this;
}

JsonText& JsonText::boolean(bool value) {
  separate();
  out_ += value ? "true" : "false";
  return *this;
}

JsonText& JsonText::null() {
  separate();
  out_ += "null";
  return *this;
}

JsonText& JsonText::string(std::string_view text) {
  separate();
  out_ += Json(std::string(text)).dump(-1, ' ', false, Json::error_handler_t::replace);
  return *this;
}

JsonText& JsonText::numbers(std::span<const double> values, int decimals) {
  beginArray();
  for (const double v : values) number(v, decimals);
  return endArray();
}

JsonText& JsonText::strings(const std::vector<std::string>& values) {
  beginArray();
  for (const std::string& v : values) string(v);
  return endArray();
}

}  // namespace skidlog
