#include "report/output/json/format/json_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "report/output/json/format/json_number.h"

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

JsonText& JsonText::significant(double value, int digits) {
  if (!std::isfinite(value)) return null();
  separate();
  if (value == 0.0) value = 0.0;  // no "-0"
  char text[48];
  const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits);
  out_.append(text, written.ptr);
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
  return values.size() >= packedFrom ? packed(values, decimals) : plain(values, decimals);
}

JsonText& JsonText::plain(std::span<const double> values, int decimals) {
  beginArray();
  for (const double v : values) number(v, decimals);
  return endArray();
}

namespace {

constexpr std::uint16_t notFinite = 65535;
constexpr double mostSteps = 65534.0;
// Units beyond this are not held exactly by a double, or by the reader's.
constexpr double largestUnits = 9007199254740992.0;  // 2^53

std::string base64(const std::vector<unsigned char>& bytes) {
  static constexpr char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t left = bytes.size() - i;
    const std::uint32_t b = static_cast<std::uint32_t>(bytes[i]) << 16 |
                            (left > 1 ? static_cast<std::uint32_t>(bytes[i + 1]) << 8 : 0u) |
                            (left > 2 ? static_cast<std::uint32_t>(bytes[i + 2]) : 0u);
    out += digits[b >> 18 & 63];
    out += digits[b >> 12 & 63];
    out += left > 1 ? digits[b >> 6 & 63] : '=';
    out += left > 2 ? digits[b & 63] : '=';
  }
  return out;
}

}  // namespace

JsonText& JsonText::packed(std::span<const double> values, int decimals) {
  const double scale = std::pow(10.0, decimals);
  double lo = INFINITY, hi = -INFINITY;
  for (const double v : values) {
    if (!std::isfinite(v)) continue;
    lo = std::min(lo, std::round(v * scale));
    hi = std::max(hi, std::round(v * scale));
  }
  if (!(lo <= hi)) lo = hi = 0.0;  // none finite
  if (!(std::fabs(lo) < largestUnits && std::fabs(hi) < largestUnits)) return plain(values, decimals);
  const double step = std::max(1.0, std::ceil((hi - lo) / mostSteps));
  std::vector<unsigned char> bytes;
  bytes.reserve(2 * values.size());
  for (const double v : values) {
    const double units = std::round(v * scale);
    const std::uint16_t code =
        std::isfinite(units) ? static_cast<std::uint16_t>(std::min(mostSteps, std::round((units - lo) / step)))
                             : notFinite;
    bytes.push_back(static_cast<unsigned char>(code & 0xff));
    bytes.push_back(static_cast<unsigned char>(code >> 8));
  }
  beginObject().key("lo").number(lo).key("step").number(step).key("d").integer(decimals);
  key("u16").separate();
  out_ += '"';
  out_ += base64(bytes);
  out_ += '"';
  return endObject();
}

JsonText& JsonText::json(const Json& value) {
  separate();
  out_ += value.dump(-1, ' ', false, Json::error_handler_t::replace);
  return *this;
}

JsonText& JsonText::strings(const std::vector<std::string>& values) {
  beginArray();
  for (const std::string& v : values) string(v);
  return endArray();
}

}  // namespace skidlog
