#include "platform/dbf_values.h"

#include <gtest/gtest.h>

#include "support/case_table.h"

#include <clocale>
#include <limits>
#include <tuple>

namespace tvr::platform {
namespace {

TEST(DbfValuesTest, LeadingIntReadsAsTheDbaseEnginesDo) {
  for (const CCaseRow& row : ReadCaseTable("platform/dbf_leading_int.tsv", 2)) {
    SCOPED_TRACE(row.where);
    EXPECT_EQ(LeadingInt(row[0]), row.Int(1));
  }
}

TEST(DbfValuesTest, ParseNumberTakesWholeNumbersOnly) {
  for (const CCaseRow& row : ReadCaseTable("platform/dbf_parse_number.tsv", 2)) {
    SCOPED_TRACE(row.where);
    const std::optional<double> expected =
        row[1] == "refused" ? std::nullopt : std::optional(row.Number(1));
    EXPECT_EQ(ParseNumber(row[0]), expected);
  }
}

TEST(DbfValuesTest, FormatNumberRightAlignsOrRefuses) {
  for (const CCaseRow& row : ReadCaseTable("platform/dbf_format_number.tsv", 4)) {
    SCOPED_TRACE(row.where);
    const std::optional<std::string> expected =
        row[3] == "refused" ? std::nullopt : std::optional(row[3]);
    EXPECT_EQ(
        FormatNumber(row.Number(0), static_cast<int>(row.Int(1)), static_cast<int>(row.Int(2))),
        expected);
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
