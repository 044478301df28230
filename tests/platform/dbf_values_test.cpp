#include "platform/dbf_values.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <tuple>

namespace tvr::platform {
namespace {

TEST(DbfValuesTest, LeadingIntReadsAsTheDbaseEnginesDo) {
  const std::vector<std::pair<std::string, std::int32_t>> cases = {
      {" 42", 42},
      {"12.75", 12},
      {"-3.9", -3},
      {"+7x", 7},
      {"", 0},
      {"   ", 0},
      {"abc", 0},
      {"- 5", 0},
      {"2147483647", 2147483647},
      {"99999999999999999999", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"-99999999999999999999", std::numeric_limits<std::int32_t>::min()},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(LeadingInt(text), value) << '"' << text << '"';
}

TEST(DbfValuesTest, ParseNumberTakesWholeNumbersOnly) {
  const std::vector<std::pair<std::string, std::optional<double>>> cases = {
      {"12", 12.0},
      {" -3.5 ", -3.5},
      {"+.25", 0.25},
      {"1e3", 1000.0},
      {"0", 0.0},
      {"", std::nullopt},
      {"1,5", std::nullopt},
      {"12abc", std::nullopt},
      {"inf", std::nullopt},
      {"nan", std::nullopt},
      {"++1", std::nullopt},
      {"- 1", std::nullopt},
      {"1 2", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseNumber(text), value) << '"' << text << '"';
}

TEST(DbfValuesTest, FormatNumberRightAlignsOrRefuses) {
  struct Case {
    double value;
    int length;
    int decimals;
    std::optional<std::string> text;
  };
  const std::vector<Case> cases = {
      {12.75, 8, 2, "   12.75"},
      {12.755, 8, 1, "    12.8"},
      {-1, 5, 0, "   -1"},
      {0.0, 4, 2, "0.00"},
      {-0.0, 4, 0, "   0"},
      {-0.004, 5, 2, " 0.00"},
      {123456, 5, 0, std::nullopt},
      {1.5, 3, 2, std::nullopt},
      {std::numeric_limits<double>::infinity(), 10, 0, std::nullopt},
      {std::numeric_limits<double>::quiet_NaN(), 10, 0, std::nullopt},
      {1e300, 20, 2, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.length, c.decimals), c.text) << c.value;
  }
}

TEST(DbfValuesTest, NumbersIgnoreADecimalCommaLocale) {
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  if (std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr &&
      std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "no decimal-comma locale installed";
  }
  EXPECT_EQ(ParseNumber("1.5"), 1.5);
  EXPECT_EQ(FormatNumber(1.5, 6, 2), "  1.50");
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(DbfValuesTest, DatesMustNameARealDay) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"20240229", true},  {"20000229", true},  {"19991231", true},  {"19000229", false},
      {"20230229", false}, {"20231301", false}, {"20230100", false}, {"00000101", false},
      {"2023-1-1", false}, {"2023011", false},
  };
  for (const auto& [text, valid] : cases) EXPECT_EQ(IsValidDate(text), valid) << text;
}

TEST(DbfValuesTest, FitWidthCountsCharacters) {
  const std::vector<std::tuple<std::string, int, std::string>> cases = {
      {"abc", 5, "abc  "}, {"abcdef", 2, "ab"}, {"été", 2, "ét"}, {"", 3, "   "}, {"abc", 0, ""}};
  for (const auto& [text, width, fitted] : cases) EXPECT_EQ(FitWidth(text, width), fitted) << text;
}

}  // namespace
}  // namespace tvr::platform
