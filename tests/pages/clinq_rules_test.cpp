#include "pages/clinq_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct OfferCase {
  const char* name;
  CClinqElement element;
  std::vector<int> shapes;
};

class OfferedClinqShapesTest : public testing::TestWithParam<OfferCase> {};

TEST_P(OfferedClinqShapesTest, ShapesByPictureCodeCatalogueAndVariant) {
  EXPECT_EQ(OfferedClinqShapes(GetParam().element), GetParam().shapes);
}

INSTANTIATE_TEST_SUITE_P(
    Elements, OfferedClinqShapesTest,
    testing::Values(
        OfferCase{"Code1", {.pictureCode = 1, .catalog = "QMA", .calibre = 20}, {0, 1, 5}},
        OfferCase{"Code3", {.pictureCode = 3, .catalog = "QMA", .calibre = 20}, {0, 1, 5}},
        OfferCase{"Code2", {.pictureCode = 2, .catalog = "QMC", .calibre = 20}, {3, 5, 6}},
        OfferCase{"Code0", {.pictureCode = 0, .catalog = "QMA", .calibre = 20}, {}},
        OfferCase{"SmallQMA", {.pictureCode = 1, .catalog = "QMA", .calibre = 8}, {}},
        OfferCase{"SmallQMC", {.pictureCode = 1, .catalog = "QMC", .calibre = 10}, {}},
        OfferCase{"LargeV6",
                  {.pictureCode = 1, .catalog = "QMA", .calibre = 50, .variant = 6, .nibble = 1},
                  {5}},
        OfferCase{"LargeQMCV6",
                  {.pictureCode = 2, .catalog = "QMC", .calibre = 63, .variant = 6, .nibble = 1},
                  {5}},
        OfferCase{"LargeOtherVariant",
                  {.pictureCode = 1, .catalog = "QMA", .calibre = 50, .variant = 1},
                  {0, 1, 5}},
        OfferCase{"QG", {.pictureCode = 2, .catalog = "QGA", .calibre = 10}, {7, 8, 9}},
        OfferCase{"QGNoPicture", {.pictureCode = 0, .catalog = "QGA", .calibre = 10}, {}},
        OfferCase{"ShapeWithoutBars", {.pictureCode = 1, .catalog = "QGA", .variant = 2}, {}},
        OfferCase{"ShapeWithBars",
                  {.pictureCode = 1, .catalog = "QGA", .variant = 3, .nibble = 2},
                  {7, 8, 9}}),
    [](const testing::TestParamInfo<OfferCase>& info) { return std::string(info.param.name); });

TEST(ClinqCombinationsTest, GroupsAndTheirDefaults) {
  EXPECT_EQ(ClinqCombinations(1, false), std::vector<std::string>{"1 YB2"});
  EXPECT_EQ(ClinqCombinations(3, false).size(), 4u);
  EXPECT_EQ(ClinqCombinations(4, true)[3], "1 YE + 1 YB4");
  EXPECT_EQ(ClinqCombinations(4, false)[3], "2 YB4");
  EXPECT_EQ(ClinqCombinations(5, false), std::vector<std::string>{"1 YB1"});
  EXPECT_TRUE(ClinqCombinations(0, false).empty());
  EXPECT_EQ(DefaultCombination(1), 0);
  EXPECT_EQ(DefaultCombination(3), 2);
  EXPECT_EQ(DefaultCombination(4), 3);
  EXPECT_EQ(DefaultCombination(5), 0);
  EXPECT_EQ(DefaultCombination(0), -1);
}

TEST(ClinqCombinationsTest, TheSideFlag) {
  EXPECT_TRUE(ClinqSideFlag({.variant = 6, .nibble = 1, .direction = 4, .rotation = 0}, 4));
  EXPECT_FALSE(ClinqSideFlag({.variant = 6, .nibble = 1, .direction = 2, .rotation = 0}, 4));
  EXPECT_FALSE(ClinqSideFlag({.variant = 6, .nibble = 2, .direction = 4, .rotation = 64}, 4));
  EXPECT_TRUE(ClinqSideFlag({.variant = 6, .nibble = 3, .direction = 3}, 4));
  EXPECT_FALSE(ClinqSideFlag({.variant = 6, .nibble = 3, .direction = 4}, 4));
  EXPECT_FALSE(ClinqSideFlag({.variant = 6, .nibble = 1, .direction = 4}, 5));
  EXPECT_FALSE(ClinqSideFlag({.variant = 2, .nibble = 1, .direction = 4}, 4));
}

TEST(ClinqTypesTest, SplitsTheLabelAndTheEntries) {
  const CClinqTypes types = SplitClinqTypes("Type: A/B/C/D/E", 4);
  EXPECT_EQ(types.label, "Type:");
  EXPECT_EQ(types.names, (std::vector<std::string>{"A", "B", "C", "D"}));
  const CClinqTypes bare = SplitClinqTypes("A/B", 3);
  EXPECT_EQ(bare.label, "");
  EXPECT_EQ(bare.values, (std::vector<int>{0, 1}));
}

struct TrimCase {
  int shape;
  bool qmc;
  std::vector<int> values;
};

class TrimClinqTypesTest : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimClinqTypesTest, KeepsTheEntriesOfTheShape) {
  CClinqTypes types = SplitClinqTypes("T: a/b/c/d", 4);
  TrimClinqTypes(types, GetParam().shape, GetParam().qmc);
  EXPECT_EQ(types.values, GetParam().values);
}

INSTANTIATE_TEST_SUITE_P(Shapes, TrimClinqTypesTest,
                         testing::Values(TrimCase{1, false, {2, 3}}, TrimCase{3, true, {2, 3}},
                                         TrimCase{5, true, {2}}, TrimCase{5, false, {0, 2}}));

struct StoredCase {
  const char* name;
  const char* text;
  int shape;
  std::int64_t length;
  int combination;
  int type;
  const char* parameters;
};

class ReadClinqTest : public testing::TestWithParam<StoredCase> {};

TEST_P(ReadClinqTest, ReadsTheStoredFieldWithBounds) {
  const StoredCase& c = GetParam();
  const CClinqStored stored = ReadClinq(c.text);
  EXPECT_EQ(stored.shape, c.shape);
  EXPECT_EQ(stored.length, c.length);
  EXPECT_EQ(stored.combination, c.combination);
  EXPECT_EQ(stored.type, c.type);
  EXPECT_EQ(stored.parameters, c.parameters);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadClinqTest,
    testing::Values(StoredCase{"Empty", "", -1, 0, 0, 0, ""},
                    StoredCase{"Shape1", "2/450/3/2:a=60", 1, 450, 3, 2, ":a=60"},
                    StoredCase{"OldShape3", "3/400/1/0", 1, 400, 1, 2, kDefaultClinqParameters},
                    StoredCase{"OldShape5", "5/400/4/1:a=1", 3, 400, 4, 2, kDefaultClinqParameters},
                    StoredCase{"Shape5DropsParams", "6/1000/4/2:a=1", 5, 1000, 4, 2, ""},
                    StoredCase{"Garbage", "x/y", -1, 0, 0, 0, ""},
                    StoredCase{"Negative", "-4/5", -1, 5, 0, 0, ""},
                    StoredCase{"NoSeparators", "9", 8, 0, 0, 0, ""}),
    [](const testing::TestParamInfo<StoredCase>& info) { return std::string(info.param.name); });

TEST(ReadClinqTest, AnOverlongTextReadsAsNoPiece) {
  EXPECT_EQ(ReadClinq("2/450/1/2" + std::string(600, ':')).shape, -1);
}

TEST(FormatClinqTest, TypeAndParametersByShape) {
  EXPECT_EQ(FormatClinq(-1, 450, 1, 2, ":a=1"), "");
  EXPECT_EQ(FormatClinq(0, 0, 1, 2, ":a=1"), "1/0/1");
  EXPECT_EQ(FormatClinq(1, 450, 3, 2, ":a=1"), "2/450/3/2:a=1");
  EXPECT_EQ(FormatClinq(5, 1000, 4, 2, ":a=1"), "6/1000/4/2");
  EXPECT_EQ(FormatClinq(6, 400, 4, 2, ":a=1"), "7/400/4");
  EXPECT_EQ(FormatClinq(7, 310, 1, 0, ":a=1"), "8/310/1/0");
  EXPECT_EQ(FormatClinq(8, 400, 1, 1, ":a=1"), "9/400/1/1:a=1");
}

}  // namespace
