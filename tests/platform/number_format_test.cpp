#include "platform/number_format.h"
#include "platform/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>

#include "support/case_table.h"

namespace {

TEST(CNumberFormatTest, WritesLikePrintfInTheCLocale) {
  for (const CCaseRow& row : ReadCaseTable("platform/number_format_apply.tsv", 3)) {
    SCOPED_TRACE(row.where);
    const auto format = CNumberFormat::Parse(row[0]);
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(format->Apply(row.Number(1)), row[2]);
  }
}

TEST(CNumberFormatTest, RefusesFormatsThatAreNotOneNumber) {
  for (const CCaseRow& row : ReadCaseTable("platform/number_format_refused.tsv", 2)) {
    SCOPED_TRACE(row.where + " " + row[1]);
    EXPECT_FALSE(CNumberFormat::Parse(row[0]).has_value());
  }
}

// Large values once came back as the bytes of a too-small buffer.
TEST(NumberTextTest, FixedTextsAreWholeForAnyValueAndIgnoreTheLocale) {
  std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");  // a decimal comma, where it is installed
  EXPECT_EQ(FixedDecimalText(0.75, 6), "0.750000");
  EXPECT_EQ(FixedDecimalText(-2.5, 0), "-2");
  const std::string huge = FixedDecimalText(1e300, 6);
  EXPECT_EQ(huge.size(), 301u + 7u);
  EXPECT_EQ(huge.substr(huge.size() - 7), ".000000");
  std::setlocale(LC_NUMERIC, "C");
}

TEST(NumberTextTest, PrefixesAndWholeNumbers) {
  const struct {
    const char* text;
    std::optional<int> prefix;
    std::size_t length;
    std::optional<int> whole;
  } cases[] = {
      {"12ab", 12, 2, std::nullopt},
      {"-7", -7, 2, -7},
      {"+7", std::nullopt, 0, std::nullopt},           // no sign but "-"
      {" 7", std::nullopt, 0, std::nullopt},           // no blanks
      {"99999999999", std::nullopt, 0, std::nullopt},  // beyond int
      {"", std::nullopt, 0, std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<CParsedInt> parsed = ParseIntPrefix(c.text);
    EXPECT_EQ(parsed.has_value(), c.prefix.has_value()) << c.text;
    if (parsed && c.prefix) {
      EXPECT_EQ(parsed->value, *c.prefix) << c.text;
      EXPECT_EQ(parsed->length, c.length) << c.text;
    }
    EXPECT_EQ(ParseWholeInt(c.text), c.whole) << c.text;
  }
  EXPECT_FALSE(ParseDoublePrefix("1e999"));
  ASSERT_TRUE(ParseDoublePrefix("2.5e1x"));
  EXPECT_EQ(ParseDoublePrefix("2.5e1x")->value, 25.0);
  EXPECT_EQ(ParseDoublePrefix("2.5e1x")->length, 5u);
}

}  // namespace
