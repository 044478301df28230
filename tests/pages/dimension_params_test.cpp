#include "pages/dimension_params.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ReadCase {
  const char* text;
  char key;
  int expected;
};

class ReadParamTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadParamTest, ReadsTheFirstOccurrenceWithBounds) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(ReadParam(c.text, c.key), c.expected) << c.text << " " << c.key;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadParamTest,
    testing::Values(ReadCase{":a=50,b=25,c=25,d=50,e=2,f=2,y=25", 'a', 50},
                    ReadCase{":a=50,b=25,c=25,d=50,e=2,f=2,y=25", 'y', 25},
                    ReadCase{":a=50,b=25", 'c', 0},            // absent
                    ReadCase{":a=,b=25", 'a', 0},              // no digits
                    ReadCase{":a=-5,b=25", 'a', 0},            // a sign is not a digit
                    ReadCase{":a=12x,b=25", 'a', 12},          // digits up to the first other
                    ReadCase{":a=1,a=2", 'a', 1},              // the first occurrence
                    ReadCase{":ba=7", 'a', 7},                 // found anywhere in the text
                    ReadCase{":a=9999999999", 'a', 0},         // too long for a number
                    ReadCase{":a=123456789", 'a', 123456789},  // the longest accepted
                    ReadCase{"a=", 'a', 0},                    // ends right after "="
                    ReadCase{"", 'a', 0}, ReadCase{":a=5b=6", 'b', 6}));  // missing separator

TEST(ReadParamTest, ATextOverTheLimitReadsAsEmpty) {
  std::string text = ":a=5," + std::string(kMaxParamText, 'x');
  EXPECT_EQ(ReadParam(text, 'a'), 0);
  text.resize(kMaxParamText);
  EXPECT_EQ(ReadParam(text, 'a'), 5);
}

struct BuildCase {
  const char* name;
  EParamMode mode;
  bool withY;
  std::array<std::int64_t, kParamFieldCount> values;
  const char* text;
  int refusedControl;  // 0: accepted
};

class BuildParamTextTest : public testing::TestWithParam<BuildCase> {};

TEST_P(BuildParamTextTest, ChecksInTheDialogsOrderAndWritesTheModesText) {
  const BuildCase& c = GetParam();
  CParamValues values;
  values.mode = c.mode;
  values.withY = c.withY;
  values.values = c.values;
  const CParamResult result = BuildParamText(values);
  EXPECT_EQ(result.text, c.text);
  const int refused = result.refusal ? ParamFields(c.mode)[result.refusal->field].control : 0;
  EXPECT_EQ(refused, c.refusedControl);
}

constexpr EParamMode kS = EParamMode::kSpecialShape;
constexpr EParamMode kC = EParamMode::kClinq;

INSTANTIATE_TEST_SUITE_P(
    Values, BuildParamTextTest,
    testing::Values(BuildCase{"SpecialAtLowest",
                              kS,
                              false,
                              {15, 30, 1, 15, 30, 1, 10, 0},
                              ":e=15,f=30,g=1,h=15,l=30,j=1,k=10",
                              0},
                    BuildCase{"SpecialAtHighest",
                              kS,
                              false,
                              {200, 300, 100, 200, 300, 100, 30, 0},
                              ":e=200,f=300,g=100,h=200,l=300,j=100,k=30",
                              0},
                    BuildCase{"KIsCheckedFirst", kS, false, {14, 30, 1, 15, 30, 1, 9, 0}, "", 1500},
                    BuildCase{"KAboveItsLimit", kS, false, {15, 30, 1, 15, 30, 1, 31, 0}, "", 1500},
                    BuildCase{"EBelow", kS, false, {14, 30, 1, 15, 30, 1, 10, 0}, "", 1691},
                    BuildCase{"FAbove", kS, false, {15, 301, 1, 15, 30, 1, 10, 0}, "", 1692},
                    BuildCase{"GAbove", kS, false, {15, 30, 101, 15, 30, 1, 10, 0}, "", 1693},
                    BuildCase{"HBelow", kS, false, {15, 30, 1, 14, 30, 1, 10, 0}, "", 1499},
                    BuildCase{"LAbove", kS, false, {15, 30, 1, 15, 301, 1, 10, 0}, "", 1695},
                    BuildCase{"JBelow", kS, false, {15, 30, 1, 15, 30, 0, 10, 0}, "", 1694},
                    BuildCase{"AllZeroIsEmpty", kS, false, {0, 0, 0, 0, 0, 0, 0, 0}, "", 0},
                    BuildCase{"ClinqDefault",
                              kC,
                              false,
                              {50, 25, 2, 25, 50, 2, 14, 0},
                              ":a=50,b=25,c=25,d=50,e=2,f=2",
                              0},
                    BuildCase{"ClinqDefaultQM",
                              kC,
                              true,
                              {50, 25, 2, 25, 50, 2, 14, 25},
                              ":a=50,b=25,c=25,d=50,e=2,f=2,y=25",
                              0},
                    BuildCase{"ClinqYFirst", kC, true, {29, 14, 2, 25, 50, 2, 14, 14}, "", 1623},
                    BuildCase{"ClinqBBeforeA", kC, false, {29, 14, 2, 25, 50, 2, 14, 0}, "", 1692},
                    BuildCase{"ClinqAAbove", kC, false, {301, 15, 1, 15, 30, 1, 14, 0}, "", 1691},
                    BuildCase{"ClinqEBelow", kC, false, {30, 15, 0, 15, 30, 1, 14, 0}, "", 1693},
                    BuildCase{"ClinqCAbove", kC, false, {30, 15, 1, 201, 30, 1, 14, 0}, "", 1499},
                    BuildCase{"ClinqDBelow", kC, false, {30, 15, 1, 15, 29, 1, 14, 0}, "", 1695},
                    BuildCase{"ClinqFAbove", kC, false, {30, 15, 1, 15, 30, 101, 14, 0}, "", 1694},
                    // The fixed field does not make a text of its own.
                    BuildCase{"ClinqOnlyFixed", kC, false, {0, 0, 0, 0, 0, 0, 14, 0}, "", 0},
                    BuildCase{"ClinqYIgnoredOffQM",
                              kC,
                              false,
                              {50, 25, 2, 25, 50, 2, 14, 999},
                              ":a=50,b=25,c=25,d=50,e=2,f=2",
                              0},
                    // An empty field among filled ones is 0 and fails its lower limit.
                    BuildCase{
                        "EmptyFieldFails", kC, false, {50, 25, 2, 0, 50, 2, 14, 0}, "", 1499}),
    [](const testing::TestParamInfo<BuildCase>& info) { return std::string(info.param.name); });

TEST(ReadParamValuesTest, TheClinqDefaultFillsItsFieldsAndTheFixedOne) {
  const CParamValues values =
      ReadParamValues(":a=50,b=25,c=25,d=50,e=2,f=2,y=25", EParamMode::kClinq, true);
  const std::array<std::int64_t, kParamFieldCount> expected = {50, 25, 2, 25, 50, 2, 14, 25};
  EXPECT_EQ(values.values, expected);
  EXPECT_EQ(BuildParamText(values).text, ":a=50,b=25,c=25,d=50,e=2,f=2,y=25");
  const CParamValues other = ReadParamValues(":a=50,y=25", EParamMode::kClinq, false);
  EXPECT_EQ(other.values[7], 0);
}

TEST(ReadParamValuesTest, ASpecialShapeTextReadsBackAsWritten) {
  const char* text = ":e=20,f=40,g=3,h=25,l=60,j=4,k=12";
  EXPECT_EQ(BuildParamText(ReadParamValues(text, EParamMode::kSpecialShape, false)).text, text);
}

}  // namespace
