#include "platform/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

TEST(CNumberFormatTest, WritesLikePrintfInTheCLocale) {
  struct Case {
    const char* format;
    double value;
    const char* text;
  };
  const std::vector<Case> cases = {
      {"%.0f", 2.0, "2"},
      {"%.0f", 9.6, "10"},
      {"%.0f", 2.5, "2"},  // ties to even, as printf does
      {"%.0f", -0.4, "-0"},
      {"%f", 1.5, "1.500000"},
      {"%lf", 1.5, "1.500000"},
      {"%.1f", 12.34, "12.3"},
      {"%.3f", -1.0005, "-1.000"},
      {"%8.2f", 3.14159, "    3.14"},
      {"%-8.2f|", 3.14159, "3.14    |"},
      {"%08.2f", -3.14159, "-0003.14"},
      {"%+.1f", 2.0, "+2.0"},
      {"% .1f", 2.0, " 2.0"},
      {"%.2e", 12345.0, "1.23e+04"},
      {"%.2E", 12345.0, "1.23E+04"},
      {"%g", 0.0001, "0.0001"},
      {"%g", 1234567.0, "1.23457e+06"},
      {"%G", 1e-10, "1E-10"},
      {"%.0f%%", 50.0, "50%"},
      {"L=%.1f m", 2.25, "L=2.2 m"},
      {"%.0f", 1e20, "100000000000000000000"},
      {"%f", std::numeric_limits<double>::infinity(), "inf"},
      {"%F", -std::numeric_limits<double>::infinity(), "-INF"},
      {"%5.1f", std::nan(""), "  nan"},
  };
  for (const auto& c : cases) {
    const auto format = CNumberFormat::Parse(c.format);
    ASSERT_TRUE(format.has_value()) << c.format;
    EXPECT_EQ(format->Apply(c.value), c.text) << c.format << " " << c.value;
  }
}

TEST(CNumberFormatTest, RefusesFormatsThatAreNotOneNumber) {
  const std::vector<const char*> refused = {
      "",    // no conversion
      "mm",  // no conversion
      "%%",  // a percent sign only
      "%s",  // a text would be read from nowhere
      "%n",  // writes to memory
      "%d",  // an integer conversion of a double
      "%x",
      "%*f",  // width from nowhere
      "%.*f",
      "%f%f",  // two numbers
      "%f %s",
      "%",  // cut short
      "%.2",
      "%Lf",     // long double
      "%#f",     // alternate form not supported
      "%101f",   // absurd width
      "%.101f",  // absurd precision
      "%99999999999f",
  };
  for (const char* format : refused)
    EXPECT_FALSE(CNumberFormat::Parse(format).has_value()) << format;
}

}  // namespace
