#include "csv/number_format.h"
#include "numeric/precision.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include <limits>
#include <string>

namespace skidlog {
namespace {

std::string format(double v) {
  char buffer[maxNumberChars];
  return std::string(buffer, formatNumber(v, buffer));
}

struct Case {
  double value;
  const char* text;
};

void expectAll(std::initializer_list<Case> cases) {
  for (const Case& c : cases) EXPECT_EQ(format(c.value), c.text) << "value " << c.value;
}

TEST(NumberFormat, Fixed) {
  expectAll({{3.0, "3"},
             {0.01, "0.01"},
             {0.5, "0.5"},
             {-1.0, "-1"},
             {123456.7, "123457"},
             {0.0001, "0.0001"},
             {12.3456789, "12.3457"},
             {100000.0, "100000"},
             {-0.000123456, "-0.000123456"},
             {widen(0.1f), "0.1"},
             {widen(10000.01f), "10000"}});
}

TEST(NumberFormat, Scientific) {
  expectAll({{1234567.0, "1.23457e+006"},
             {0.000025, "2.5e-005"},
             {1e6, "1e+006"},
             {0.00009999, "9.999e-005"},
             {-2.5e-300, "-2.5e-300"},
             {1.7976931348623157e308, "1.79769e+308"},
             {4.9406564584124654e-324, "4.94066e-324"},
             {widen(std::numeric_limits<float>::max()), "3.40282e+038"}});
}

TEST(NumberFormat, RoundingAndTies) {
  expectAll({{123456.5, "123457"},  // an exact tie rounds away from zero
             {-123456.5, "-123457"},
             {0.125, "0.125"},
             {1.0000005, "1"},      // just below the halfway point as a double
             {2.5e-5 + 0.0, "2.5e-005"},
             {999999.5, "1e+006"},  // the carry moves to the next decade
             {999999.4, "999999"},
             {0.000099999951, "0.0001"},
             {9.9999949999999, "9.99999"},
             {1.234565, "1.23456"},         // the double lies below the halfway point
             {0.001000005, "0.00100001"},   // below it too, but within 17 digits of it
             {std::nextafter(0.001000005, 0.0), "0.001"},
             {1.2345649999, "1.23456"}});
}

TEST(NumberFormat, ZeroAndSign) {
  expectAll({{0.0, "0"}, {-0.0, "0"}, {-5e-324, "-4.94066e-324"}});
}

TEST(NumberFormat, NonFinite) {
  expectAll({{std::numeric_limits<double>::quiet_NaN(), "nan"},
             {-std::numeric_limits<double>::quiet_NaN(), "nan"},
             {INFINITY, "inf"},
             {-INFINITY, "-inf"}});
}

TEST(NumberFormat, Integer) {
  char buffer[maxNumberChars];
  EXPECT_EQ(std::string(buffer, formatInteger(3, buffer)), "3");
  EXPECT_EQ(std::string(buffer, formatInteger(0, buffer)), "0");
}

}  // namespace
}  // namespace skidlog

namespace skidlog {
namespace {

// The reference: every value through its correctly rounded 17-digit form.
std::string slowFormat(double v) {
  char text[32];
  const auto r = std::to_chars(text, text + sizeof text - 1, std::fabs(v), std::chars_format::scientific, 16);
  *r.ptr = '\0';  // to_chars does not terminate the text
  std::string digits = std::string(1, text[0]) + std::string(text + 2, 16);
  int exponent = std::atoi(text + 19);
  if (digits[6] >= '5') {
    int k = 5;
    while (k >= 0 && digits[static_cast<std::size_t>(k)] == '9') digits[static_cast<std::size_t>(k--)] = '0';
    if (k < 0) {
      digits[0] = '1';
      ++exponent;
    } else {
      ++digits[static_cast<std::size_t>(k)];
    }
  }
  digits.resize(6);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s%c.%se%d", v < 0 ? "-" : "", digits[0], digits.c_str() + 1, exponent);
  return buffer;
}

// formatNumber's text parsed back into sign, digits and exponent, in the same shape.
std::string normalise(const std::string& text) {
  const double v = std::strtod(text.c_str(), nullptr);
  return slowFormat(v);
}

TEST(NumberFormat, AgreesWithTheSeventeenDigitRoundingEverywhere) {
  // Decade edges, halfway points and their neighbours, and floats of every magnitude.
  std::vector<double> values;
  for (int e = -20; e <= 25; ++e) {
    for (double base : {1.0, 9.999995, 9.9999949999, 1.000005, 4.567895, 123456.5e-5, 999999.5e-5}) {
      const double v = base * std::pow(10.0, e);
      values.insert(values.end(), {v, std::nextafter(v, 0.0), std::nextafter(v, INFINITY)});
    }
  }
  std::uint32_t bits = 12345;
  for (int k = 0; k < 200000; ++k) {
    bits = bits * 1664525u + 1013904223u;
    const float f = std::bit_cast<float>(bits);
    if (std::isfinite(f) && f != 0.0f) values.push_back(widen(f));
  }
  for (double v : values) {
    char buffer[maxNumberChars];
    const std::string text(buffer, formatNumber(v, buffer));
    ASSERT_EQ(normalise(text), slowFormat(v)) << text << " for " << v;
  }
}

}  // namespace
}  // namespace skidlog
