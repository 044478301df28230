#include "app/options_rules.h"

#include <gtest/gtest.h>

namespace {

using P = EOptionsPage;

TEST(OptionsRulesTest, NumberEditsTakeWholeNumbersInTheirRange) {
  struct Case {
    const char* text;
    CNumberRange range;
    std::optional<int> value;
  };
  const Case cases[] = {
      {"20", kPercentRange, 20},   {" 200 ", kPercentRange, 200},
      {"+1", kPercentRange, 1},    {"0", kPercentRange, {}},
      {"201", kPercentRange, {}},  {"-5", kPercentRange, {}},
      {"", kPercentRange, {}},     {"12a", kPercentRange, {}},
      {"1.5", kPercentRange, {}},  {"99999999999", kPercentRange, {}},
      {"0", kOverhangRange, 0},    {"500", kOverhangRange, 500},
      {"501", kOverhangRange, {}}, {"-0", kOverhangRange, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadNumberInRange(c.text, c.range), c.value) << c.text;
}

TEST(OptionsRulesTest, DesignLanguageReadsWordsAndNumbers) {
  struct Case {
    const char* text;
    int value;
  };
  const Case cases[] = {{"LOCAL", 0}, {"1", 0},  {"UK", 1}, {"2", 1}, {"OPTION", 2},
                        {"3", 2},     {"uk", 0}, {"", 0},   {"4", 0}, {"UKX", 0}};
  for (const Case& c : cases) EXPECT_EQ(ReadDesignLanguage(c.text), c.value) << c.text;
  const std::pair<int, const char*> texts[] = {
      {0, "LOCAL"}, {1, "UK"}, {2, "OPTION"}, {7, "LOCAL"}};
  for (auto [value, text] : texts) EXPECT_EQ(DesignLanguageText(value), text) << value;
}

TEST(OptionsRulesTest, ColoursTooNearTheHighlightAreRefused) {
  const CColor highlight = MakeColor(48, 140, 198);
  EXPECT_TRUE(IsColorTooNearHighlight(highlight, highlight));
  EXPECT_TRUE(IsColorTooNearHighlight(MakeColor(58, 130, 208), highlight)) << "10 off each way";
  EXPECT_FALSE(IsColorTooNearHighlight(MakeColor(59, 140, 198), highlight)) << "red 11 off";
  EXPECT_FALSE(IsColorTooNearHighlight(MakeColor(48, 129, 198), highlight)) << "green 11 off";
  EXPECT_FALSE(IsColorTooNearHighlight(MakeColor(48, 140, 187), highlight)) << "blue 11 off";
}

TEST(OptionsRulesTest, ColourListTextsNameTheDevices) {
  const std::vector<CDeviceEntry> devices = {
      {"0", "Pass-through"}, {"1", "Straight"},      {"7", "End"},     {"8", "Special"},
      {"32", "User joint"},  {"64", "System joint"}, {"99", "Unknown"}};
  EXPECT_EQ(ColorListTexts(devices, "Tap-off"),
            (std::vector<std::string>{"Special", "Straight #1", "Straight #2", "Straight #3",
                                      "Straight #4", "User joint", "System joint", "End",
                                      "Pass-through", "Tap-off", "Unknown"}));
  std::vector<std::string> none = ColorListTexts({}, "Tap-off");
  ASSERT_EQ(none.size(), static_cast<std::size_t>(kColorListItemCount));
  EXPECT_EQ(none[0], "") << "a missing device gives an empty name";
  EXPECT_EQ(none[1], " #1");
}

TEST(OptionsRulesTest, DefaultColoursKeepTheTapOffColour) {
  std::array<CColor, kColorCount> colors;
  colors.fill(MakeColor(1, 2, 3));
  SetDefaultColors(colors);
  // The factory colours are those of a settings file without colours.
  for (std::size_t i = 0; i < kColorCount; ++i) {
    const CColor expected = i == kColorTapOff ? MakeColor(1, 2, 3) : CAppSettings().colors[i];
    EXPECT_EQ(colors[i], expected) << ColorKey(ColorIndex(i));
  }
}

TEST(OptionsRulesTest, ColoursAreWrittenInTheirKeyOrder) {
  std::vector<std::string> keys;
  for (ColorIndex index : ColorWriteOrder()) keys.push_back(ColorKey(index));
  EXPECT_EQ(keys,
            (std::vector<std::string>{"Straight1", "Straight2", "Straight3", "Straight4", "Ending",
                                      "Special", "SystemJoint", "UserJoint", "PassThrough",
                                      "UnKnown", "Tapoff", "FireBarrier", "Support"}));
}

}  // namespace
