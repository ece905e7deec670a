// JSON text written directly, for the page's data: thousands of numbers per
// chart, each rounded to the decimals a chart can show and printed in its
// shortest form, with no tree of values built first.
#ifndef SKIDLOG_REPORT_OUTPUT_JSON_FORMAT_JSON_TEXT_H_
#define SKIDLOG_REPORT_OUTPUT_JSON_FORMAT_JSON_TEXT_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "report/output/json/format/json_number.h"

namespace skidlog {

class JsonText {
 public:
  JsonText& beginObject() { return open('{'); }
  JsonText& endObject() { return close('}'); }
  JsonText& beginArray() { return open('['); }
  JsonText& endArray() { return close(']'); }
  // The key of the next member of the open object.
  JsonText& key(std::string_view name);
  // `value` rounded to `decimals` places; null when not finite.
  JsonText& number(double value, int decimals);
  // `value` as the shortest decimal that reads back to it; null when not finite.
  JsonText& number(double value);
  // `value` to `digits` significant digits (to_chars' general form), for
  // numbers a page shows to a few places; null when not finite.
  JsonText& significant(double value, int digits);
  JsonText& integer(std::int64_t value);
  JsonText& boolean(bool value);
  JsonText& null();
  // UTF-8 text, escaped; invalid bytes become U+FFFD.
  JsonText& string(std::string_view text);
  // `values` rounded to `decimals` places; an array of at least
  // packedFrom values is packed (see packed()).
  JsonText& numbers(std::span<const double> values, int decimals);
  // `values` packed as {"lo", "step", "d", "u16"}: value k is
  // (lo + code_k x step) / 10^d, code_k the k-th little-endian 16-bit word of
  // the base64 text u16, and 65535 for a value that is not finite. `step` is
  // 1 (the values to `decimals` places, as numbers() writes them) unless the
  // range needs more than 65,535 steps of 10^-decimals: then it is the fewest
  // such steps that span it, which a chart of any width cannot tell apart.
  // A plain array where the values are too large for that.
  JsonText& packed(std::span<const double> values, int decimals);
  static constexpr std::size_t packedFrom = 64;
  JsonText& strings(const std::vector<std::string>& values);
  // A value the JSON summary writes, as it writes it, without whitespace:
  // a member the page shares with the summary has one writer.
  JsonText& json(const Json& value);

  const std::string& text() const { return out_; }

 private:
  // `values` rounded to `decimals` places, as a JSON array.
  JsonText& plain(std::span<const double> values, int decimals);
  JsonText& open(char bracket);
  JsonText& close(char bracket);
  void separate();

  std::string out_;
  std::vector<bool> needsComma_;  // per open container
  bool afterKey_ = false;
};

}  // namespace skidlog

#endif  // SKIDLOG_REPORT_OUTPUT_JSON_FORMAT_JSON_TEXT_H_
