#include "platform/number_text.h"

#include <gtest/gtest.h>

namespace {

// A price as the article table writes it, read as whole hundredths whatever the mark.
TEST(NumberTextTest, PriceTextsReadAsFixedPointHundredths) {
  const struct {
    const char* text;
    std::int32_t value;
    bool number;
  } cases[] = {{"12,5", 1250, true},       {"12.5", 1250, true},
               {"7", 700, true},           {"3.456", 345, true},
               {"  140.79 ", 14079, true}, {"", 0, true},
               {"-1.5", -150, true},       {"abc", 0, false},
               {"12x", 12, false},         {"99999999999", 2147483647, true}};
  for (const auto& c : cases) {
    bool number = !c.number;
    EXPECT_EQ(FixedPointHundredths(c.text, &number), c.value) << c.text;
    EXPECT_EQ(number, c.number) << c.text;
  }
}

// What a person types into a number field: both marks read, nothing dropped.
TEST(NumberTextTest, TypedNumbersReadBothMarksAndDropNothing) {
  const struct {
    const char* text;
    std::optional<double> number;
    std::optional<std::int64_t> whole, hundredths;
  } cases[] = {
      {"30,5", 30.5, {}, 3050},  // the comma once read as nothing: 305
      {"30.5", 30.5, {}, 3050},
      {" 12 ", 12, 12, 1200},
      {",5", 0.5, {}, 50},
      {"-4", -4, -4, -400},
      {"12.3456789", 12.3456789, {}, 1235},  // rounded, never 123456789
      {"1,005", 1.005, {}, 101},             // half up, as it reads
      {"1.2.3", {}, {}, {}},
      {"30 5", {}, {}, {}},
      {"12a", {}, {}, {}},
      {"1e3", {}, {}, {}},
      {"", {}, {}, {}},
      {",", {}, {}, {}},
      {"4-", {}, {}, {}},
      {"99999999999999999999", 1e20, {}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseTypedNumber(c.text), c.number) << c.text;
    EXPECT_EQ(ParseTypedWhole(c.text), c.whole) << c.text;
    EXPECT_EQ(ParseTypedScaled(c.text, 2), c.hundredths) << c.text;
  }
}

}  // namespace
