#include "report/output/json/format/json_text.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace skidlog {
namespace {

// What the page's script does with a packed series: the 16-bit codes from
// base64, each (lo + code x step) / 10^d, 65535 for no value (NaN here).
std::vector<double> unpack(const nlohmann::json& p) {
  const std::string text = p.at("u16").get<std::string>();
  const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::vector<unsigned char> bytes;
  std::uint32_t bits = 0;
  int held = 0;
  for (const char c : text) {
    if (c == '=') break;
    bits = bits << 6 | static_cast<std::uint32_t>(digits.find(c));
    held += 6;
    if (held >= 8) {
      held -= 8;
      bytes.push_back(static_cast<unsigned char>(bits >> held & 0xff));
    }
  }
  const double lo = p.at("lo").get<double>(), step = p.at("step").get<double>();
  const double ten = std::pow(10.0, p.at("d").get<int>());
  std::vector<double> out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const int code = bytes[i] | bytes[i + 1] << 8;
    out.push_back(code == 65535 ? std::numeric_limits<double>::quiet_NaN() : (lo + code * step) / ten);
  }
  return out;
}

nlohmann::json written(const std::vector<double>& values, int decimals) {
  JsonText j;
  j.numbers(values, decimals);
  return nlohmann::json::parse(j.text());
}

TEST(PageNumbers, ShortArraysArePlainLongOnesPackedToTheSameValues) {
  const std::vector<double> few = {1.234, -0.5};
  EXPECT_TRUE(written(few, 2).is_array());
  std::vector<double> lap;
  for (int i = 0; i < 1000; ++i) lap.push_back(std::sin(i * 0.01) * 1.7 - 0.123456);
  lap[10] = std::numeric_limits<double>::quiet_NaN();
  lap[11] = std::numeric_limits<double>::infinity();
  const nlohmann::json p = written(lap, 4);
  ASSERT_TRUE(p.is_object());
  const std::vector<double> back = unpack(p);
  ASSERT_EQ(back.size(), lap.size());
  for (std::size_t i = 0; i < lap.size(); ++i) {
    if (!std::isfinite(lap[i])) {
      EXPECT_TRUE(std::isnan(back[i])) << i;
    } else {
      // The same double the plain array's text reads back to.
      EXPECT_EQ(back[i], std::round(lap[i] * 1e4) / 1e4) << i;
    }
  }
}

TEST(PageNumbers, AWideRangeTakesCoarserStepsAndHugeValuesStayPlain) {
  std::vector<double> hour;
  for (int i = 0; i <= 360000; i += 7) hour.push_back(i * 0.01);
  const nlohmann::json p = written(hour, 2);
  const double step = p.at("step").get<double>();
  EXPECT_EQ(step, 6.0);  // 360,000 hundredths in at most 65,534 steps
  const std::vector<double> back = unpack(p);
  for (std::size_t i = 0; i < hour.size(); ++i) EXPECT_LE(std::fabs(back[i] - hour[i]), 0.5 * step * 0.01 + 1e-9);
  std::vector<double> damaged(100, 1.0);
  damaged[50] = 1e30;  // a damaged file's value
  EXPECT_TRUE(written(damaged, 2).is_array());
}

TEST(PageNumbers, SignificantDigitsKeepSmallAndLargeValuesAlike) {
  JsonText j;
  j.beginArray().significant(0.25046868654810720, 6).significant(-0.0012345678, 6).significant(123456789.0, 6);
  j.significant(-0.0, 6).significant(std::numeric_limits<double>::quiet_NaN(), 6).endArray();
  EXPECT_EQ(j.text(), "[0.250469,-0.00123457,1.23457e+08,0,null]");
}

}  // namespace
}  // namespace skidlog
