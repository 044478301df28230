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

}  // namespace
