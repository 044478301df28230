#include "reference/ref_choice_captions.h"

#include <gtest/gtest.h>

#include "app/current_language.h"
#include "app/message_text.h"
#include "linear_test_support.h"
#include "ref_test_support.h"

namespace {

CRefChoiceContext Context() {
  CRefChoiceContext context;
  context.params = {300, 200, 5, 150, 105, 1};
  context.decimalSeparator = ',';
  return context;
}

struct CaptionCase {
  const char* name;
  int product, choice, value;
  bool asOption;
  const char* expected;
};

void PrintTo(const CaptionCase& c, std::ostream* os) { *os << c.name; }

const CaptionCase kCaptions[] = {
    {"a cable entry with its range", 0, kChoiceCableEntry, 21, true,
     "Cable entry by grommet : 4...6 mm"},
    {"a cable entry without a range", 0, kChoiceCableEntry, 11, true, "Cable entry by gland"},
    {"a height keeps two decimals", 0, kChoiceStraight, 5, true, "Height 1,05 m"},
    {"a whole height", 0, kChoiceStraight, 1, true, "Height 3 m"},
    {"a length option of a box range", 4, kChoiceStraight, 1, true,
     "300 lengths of 3 m (per line)"},
    {"a family caption names the length beside the count, not a count of its own", 4,
     kChoiceStraight, 2, false, "Straight lengths of 3 m"},
    {"one length", 3, kChoiceStraight, 6, true, "1 length per section"},
    {"one length of a family", 4, kChoiceStraight, 6, false, "Straight lengths of 3 m"},
    {"complementary lengths", 3, kChoiceComplement, 1, false, "Complementary lengths of 2 m"},
    {"a line mode of the luminaire line", 0, kChoiceLineMode, 2, false,
     "Luminaires beside the line"},
    {"fixings of a box range", 8, kChoiceFixing, 3, false, "Ceiling and wall supports"},
    {"no fixing", 1, kChoiceFixing, 36, false, "Without fixing"},
    {"feed units of light lines", 1, kChoiceFeed, 7, false, "Centre feed unit"},
    {"a transformer connection", 3, kChoiceFeed, 30, false, "Transformer connection"},
    {"an unknown value describes nothing", 3, kChoiceFixing, 9, false, ""},
};

class RefChoiceCaptionTest : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(RefChoiceCaptionTest, ChoicesReadAsTheirCaptions) {
  const CEnglishTexts texts;
  const CaptionCase& c = GetParam();
  EXPECT_EQ(DescribeChoice(c.product, c.choice, c.value, c.asOption, false, Context()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RefChoiceCaptionTest, ::testing::ValuesIn(kCaptions),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(RefChoiceCaptionRulesTest, AFamilyCaptionNamesTheLengthItsElementsAreCountedBy) {
  const CEnglishTexts texts;
  CRefChoiceContext context = Context();
  context.conductors = 2;
  // Once "3+2 lengths" beside a count of 6: the caption named a count of its own.
  EXPECT_EQ(DescribeChoice(2, kChoiceStraight, 3, false, false, context),
            "Straight lengths of 3 m");
  context.specialMode = 2;  // the only 5 m elements, counted by 5 m
  EXPECT_EQ(DescribeChoice(2, kChoiceStraight, 1, false, false, context),
            "Straight lengths of 5 m");
}

// Every caption that a product can show has its words in both languages.
TEST(RefChoiceCaptionRulesTest, EveryCaptionHasItsTextInBothLanguages) {
  for (const char* language : {"044", "033"}) {
    CCurrentLanguage::Instance().Reset();
    CLanguageSetup setup;
    setup.catalogueFolder = std::string(TVR_PROGRAM_DIR) + "/DBF/";
    CCurrentLanguage::Instance().SetSetup(setup);
    CCurrentLanguage::Instance().LoadLanguage(language);
    for (int product = 0; product <= 9; ++product) {
      for (int choice : {0, 1, 2, 4, 5, 6, 8})
        for (int value = 0; value <= 45; ++value)
          for (bool option : {false, true}) {
            const std::string text =
                DescribeChoice(product, choice, value, option, value == 2, Context());
            EXPECT_EQ(text.find("MSG_"), std::string::npos) << language << " " << text;
          }
      for (int family = 1; family <= 7; ++family)
        for (int group = 0; group <= 4; ++group)
          for (int mode = 0; mode <= 2; ++mode) {
            int code = group;
            const std::uint32_t id = GetRatingCaptionId(product, family, code, mode);
            for (std::uint32_t number : {id & 0xFFFF, id >> 16}) {
              if (number == 0) continue;
              EXPECT_FALSE(LookupText(int(number)).empty()) << language << " " << number;
            }
          }
    }
  }
  CCurrentLanguage::Instance().Reset();
}

TEST(RefRatingCaptionTest, TitlesGroupsAndFamilies) {
  int code = 0;
  EXPECT_EQ(GetRatingCaptionId(9, 3, code, 0), 32268u << 16);
  EXPECT_EQ(code, 0);
  code = 0;
  EXPECT_EQ(GetRatingCaptionId(4, 3, code, 0), (32023u << 16) | 32026u);
  EXPECT_EQ(code, 30);
  code = 0;
  EXPECT_EQ(GetRatingCaptionId(1, 3, code, 0), (32028u << 16) | 32244u);
  EXPECT_EQ(code, 6);
  code = 2;  // family 1, group 2
  EXPECT_EQ(GetRatingCaptionId(4, 1, code, 0), 31057u);
  code = 1;  // family 5 of a light line, below family index 4
  EXPECT_EQ(GetRatingCaptionId(0, 1, code, 0), 32236u);
  code = 1;
  EXPECT_EQ(GetRatingCaptionId(0, 1, code, 2), 32078u);
  code = 3;
  EXPECT_EQ(GetRatingCaptionId(0, 4, code, 0), 32069u);
  code = 2;
  EXPECT_EQ(GetRatingCaptionId(4, 3, code, 0), 31154u);
  code = 5;  // family 30 has no fifth group: its title
  EXPECT_EQ(GetRatingCaptionId(4, 3, code, 0), 32026u);
}

TEST(RefParamTableTest, PositionsTheCatalogueHasKeepTheirStates) {
  const std::string catalogue = SampleRefSetup().catalogueFolder;
  std::array<int, 7> states{};
  std::array<int, 5> connections{};
  states[5] = 4;  // only the first five count: nothing to ask
  EXPECT_TRUE(QueryParamTable("/nonexistent/", 3, states, connections, nullptr));
  EXPECT_EQ(states[5], 4);

  states = {3, 2, 2, 2, 2, 1, 1};
  std::array<int, 9> connectors{};
  ASSERT_TRUE(QueryParamTable(catalogue, 3, states, connections, &connectors));
  EXPECT_EQ(states, (std::array<int, 7>{3, 2, 0, 0, 0, 0, 0}));  // the QD rows sit at 1 and 2
  EXPECT_EQ(connections[1], 0 | (54 << 16));
  EXPECT_EQ(connections[2], 1 | (54 << 16));
  EXPECT_EQ(connectors, (std::array<int, 9>{-1, -1, -1, -1, -1, -1, -1, -1, -1}));

  states = {1, 1, 1, 1, 1, 1, 1};
  EXPECT_FALSE(QueryParamTable("/nonexistent/", 3, states, connections, nullptr));
  EXPECT_EQ(states, (std::array<int, 7>{}));
}

}  // namespace
