#include "csv/number_format.h"
#include "physics/precision.h"

#include <gtest/gtest.h>

#include <cmath>
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
