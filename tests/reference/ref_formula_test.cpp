#include <gtest/gtest.h>

#include <functional>

#include "linear_test_support.h"
#include "ref_test_support.h"

namespace {

using Rows = std::vector<std::array<const char*, 4>>;

struct FormulaCase {
  const char* name;
  Rows rows;
  std::function<void(CRefLine&)> setUp;
  const char* expected;
};

// QDA 63 A, 3L+N+PE, group 1: ED3 QDA63ED430, ED2 QDA63ED420, LP QDA63LP4A, YC
// QDB0000YC1, YP QDB0000YP11, SC QDB0000SC1, EX QDA63EX4, JN QDA63JN4, SUPGOUL2
// QDB0000YP21, SUPGOUL QDB0000YP25 (the sample LIN_REF.DBF).
const FormulaCase kCases[] = {
    {"a number after + multiplies the reference after *",
     {{"QDA", "3", "", "ED3 + 2 * LP"}},
     [](CRefLine& l) { l.components[3] = 4; },
     "QDA63ED430 x4 :1\nQDA63LP4A x8 :1\n"},
    {"SUPGOUL2 keeps one of its count for the SUPGOUL reference",
     {{"QDA", "15", "", "SUPGOUL2"}},
     [](CRefLine& l) { l.components[15] = 5; },
     "QDB0000YP21 x4 :5\nQDB0000YP25 x1 :5\n"},
    {"SUPGOUL2 of one gives the SUPGOUL reference alone",
     {{"QDA", "45", "", "SUPGOUL2"}},
     [](CRefLine&) {},
     "QDB0000YP25 x1 :1\n"},
    {"a pack of 3 keeps its remainder of 1 for a pack of 2",
     {{"QDA", "4", "", "[Q3;2] * ED3 + [Q2] * ED2"}},
     [](CRefLine& l) { l.components[4] = 7; },
     "QDA63ED430 x2 :1\nQDA63ED420 x1 :1\n"},
    {"a pack of 3 without a smaller pack rounds up",
     {{"QDA", "4", "", "[Q3] * ED3"}},
     [](CRefLine& l) { l.components[4] = 7; },
     "QDA63ED430 x3 :1\n"},
    {"a remainder a pack of 3 cannot hold rounds up",
     {{"QDA", "4", "", "[Q3;3] * ED3"}},
     [](CRefLine& l) { l.components[4] = 7; },
     "QDA63ED430 x3 :1\n"},
    {"an alternative function stands in once when the main one is 0",
     {{"QDA", "12-13", "", "YC"}},
     [](CRefLine& l) { l.components[13] = 4; },
     "QDB0000YC1 x4 :5\n"},
    {"an alternative function adds to the main one",
     {{"QDA", "12-13", "", "YC"}},
     [](CRefLine& l) {
       l.components[12] = 2;
       l.components[13] = 4;
     },
     "QDB0000YC1 x6 :4\n"},
    {"a pack counts the main and the alternative function",
     {{"QDA", "12-13", "", "[Q4] * YC"}},
     [](CRefLine& l) {
       l.components[12] = 2;
       l.components[13] = 4;
     },
     "QDB0000YC1 x2 :4\n"},
    {"a function of 0 without alternative is left out",
     {{"QDA", "12-13", "", "YC"}, {"QDA", "46", "", "YC"}, {"QDA", "-1", "", "YC"}},
     [](CRefLine&) {},
     ""},
    {"IP54 records apply to the IP54 connections only",
     {{"QDA", "20", "IP:40", "EX"}, {"QDA", "20", "IP:54", "EX + SC"}},
     [](CRefLine& l) {
       l.components[20] = 2;
       l.connection = 5;
     },
     "QDA63EX4 x2 :2\nQDB0000SC1 x2 :2\n"},
    {"other IP records apply to the other connections",
     {{"QDA", "20", "IP:40", "EX"}, {"QDA", "20", "IP:54", "EX + SC"}},
     [](CRefLine& l) { l.components[20] = 2; },
     "QDA63EX4 x2 :2\n"},
    {"ZG:1 applies to a fixing spacing of 2 m or less",
     {{"QDA", "13", "ZG:1", "YC * 2"}, {"QDA", "13", "ZG:0", "YC"}},
     [](CRefLine& l) {
       l.components[13] = 3;
       l.fixingSpacing = 200;
     },
     "QDB0000YC1 x6 :5\n"},
    {"a flag mask compares the shifted value",
     {{"QDA", "45", "FL:12:2", "SC"}, {"QDA", "45", "FL:0:1", "EX"}},
     [](CRefLine& l) { l.components[42] = 9; },
     "QDB0000SC1 x1 :1\n"},
    {"a group digit selects the range-wide record",
     {{"QD", "45", "PA:02", "SC"}, {"QD", "45", "PA:3", "EX"}, {"QP", "45", "", "LP"}},
     [](CRefLine& l) { l.group = 2; },
     "QDB0000SC1 x1 :1\n"},
    {"joint blocks between the straight lengths",
     {{"QDA", "45", "", "JN * [Straight-1]"}},
     [](CRefLine& l) {
       l.components[3] = 4;
       l.components[4] = 3;
     },
     "QDA63JN4 x6 :1\n"},
    {"free outlets are the outlets less the tap-off units",
     {{"QDA", "45", "", "[FreeOutlet] * SC"}, {"QDA", "45", "", "[TapOff] * YC"}},
     [](CRefLine& l) {
       l.components[3] = 4;
       l.components[4] = 2;
       l.slots[0] = 3 | (54 << 16);
       l.slots[7] = 2;
     },
     // The three sealed fused boxes of slot 1 follow, from REF_COFF.DBF.
     "QDB0000SC1 x1 :1\nQDB0000YC1 x5 :1\nQDB0016SE x3 :3\nQDB0000SC1 x3 :3\n"},
    {"more tap-off units than outlets leave no free outlet",
     {{"QDA", "45", "", "[FreeOutlet] * SC"}},
     [](CRefLine& l) {
       l.components[3] = 1;
       l.slots[0] = 9;
     },
     "QDB0016SE x9 :3\n"},
    {"the line quantity multiplies every item",
     {{"QDA", "9", "", "LP"}},
     [](CRefLine& l) {
       l.components[9] = 3;
       l.lineQuantity = 4;
     },
     "QDA63LP4A x12 :4\n"},
    {"a name the tables do not know counts as 0",
     {{"QDA", "9", "", "LP * NOSUCH"}, {"QDA", "9", "", "NOSUCH + LP"}},
     [](CRefLine& l) { l.components[9] = 2; },
     "QDA63LP4A x2 :4\n"},
};

void PrintTo(const FormulaCase& c, std::ostream* os) { *os << c.name; }

class RefFormulaTest : public ::testing::TestWithParam<FormulaCase> {};

TEST_P(RefFormulaTest, ItemsFollowTheFormula) {
  const FormulaCase& c = GetParam();
  CRefFormFolder folder(c.rows);
  CRefPriceSettings settings;
  settings.outletFactors = {1, 1, 0, 0, 0, 0};
  CRefCatalogue catalogue;
  ASSERT_TRUE(catalogue.OpenRefCatalogue(folder.Setup(), settings));
  CRefLine line = MakeRefLine(3, 63);
  c.setUp(line);
  catalogue.RebuildLineItems(line);
  EXPECT_EQ(ItemSummary(line), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, RefFormulaTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(RefFormulaRulesTest, OutletsOfALuminaireLineSkipAFactorOf0) {
  CRefFormFolder folder({{"QFP", "45", "", "[Outlet] * CAP"}},
                        {{{"CAP", "QF?", "", "", "QFPCAP"}}});
  CRefPriceSettings settings;
  settings.outletFactors = {100, 0, 50, 0, 0, 0};
  CRefCatalogue catalogue;
  ASSERT_TRUE(catalogue.OpenRefCatalogue(folder.Setup(), settings));
  CRefLine line = MakeRefLine(0, 0);
  line.components[3] = 2;
  line.components[4] = 5;  // its factor is 0: left out, not a division by zero
  line.components[5] = 3;
  catalogue.RebuildLineItems(line);
  EXPECT_EQ(ItemSummary(line), "QFPCAP x8 :1\n");
}

TEST(RefFormulaRulesTest, ProblemsAreToldOncePerOpening) {
  CRefFormFolder folder({{"QDA", "9", "", "LP * NOSUCH"},
                         {"QDA", "9", "", "NOSUCH"},
                         {"QDA", "x9", "", "LP"},
                         {"QDA", "9", "", "QDB9999XX"}},
                        {{{"QDB9999XX", "QD?", "", "", "QDB9999XX"}}});
  const CEnglishTexts texts;
  CRefRecordingNotifier notifier;
  CRefPriceSettings settings;
  CRefCatalogue catalogue(&notifier);
  ASSERT_TRUE(catalogue.OpenRefCatalogue(folder.Setup(), settings));
  CRefLine line = MakeRefLine(3, 63);
  line.components[9] = 1;
  catalogue.RebuildLineItems(line);
  catalogue.RebuildLineItems(line);
  ASSERT_EQ(notifier.messages.size(), 3u) << ::testing::PrintToString(notifier.messages);
  EXPECT_NE(notifier.messages[0].find("NOSUCH"), std::string::npos) << notifier.messages[0];
  EXPECT_NE(notifier.messages[1].find("x9"), std::string::npos);
  EXPECT_NE(notifier.messages[2].find("QDB9999XX"), std::string::npos);
  // An article the table lacks is still an item, priced 0.
  EXPECT_EQ(ItemListing(line), "QDB9999XX |  ? ? ? | 0 | 1 | 0 | 4\n");
}

}  // namespace

namespace {

struct UnpricedCase {
  const char* name;
  std::function<void(CRefLine&)> setUp;
  const char* told;  // the text the message must hold, empty when none is due
};

// QDA rows for functions 3 and 9 only, with function 13 as the alternative of 9, and a
// tap-off row for slot 1 (the sample REF_COFF.DBF: QD slots 1, 2, 3 and 6).
const UnpricedCase kUnpricedCases[] = {
    {"counts that formulas read are not told", [](CRefLine& l) { l.components[3] = 2; }, ""},
    {"a count no formula reads is told with its function and product",
     [](CRefLine& l) { l.components[20] = 7; }, "7 items of function 20 of QDA"},
    {"an alternative function counts as read", [](CRefLine& l) { l.components[13] = 4; }, ""},
    {"a variant flag is no count", [](CRefLine& l) { l.components[42] = 3; }, ""},
    {"a negative value is no count", [](CRefLine& l) { l.components[21] = -10; }, ""},
    {"units on a slot a row prices are not told", [](CRefLine& l) { l.slots[0] = 3; }, ""},
    {"units on a slot no row prices are told", [](CRefLine& l) { l.slots[4] = 5 | (54 << 16); },
     "5 units on tap-off position 5 of QDA"},
};

void PrintTo(const UnpricedCase& c, std::ostream* os) { *os << c.name; }

class RefUnpricedTest : public ::testing::TestWithParam<UnpricedCase> {};

TEST_P(RefUnpricedTest, ACountThatIsNotPricedIsTold) {
  const UnpricedCase& c = GetParam();
  CRefFormFolder folder({{"QDA", "3", "", "ED3"}, {"QDA", "9-13", "", "YC"}});
  const CEnglishTexts texts;
  CRefRecordingNotifier notifier;
  CRefPriceSettings settings;
  CRefCatalogue catalogue(&notifier);
  ASSERT_TRUE(catalogue.OpenRefCatalogue(folder.Setup(), settings));
  CRefLine line = MakeRefLine(3, 63);
  c.setUp(line);
  catalogue.RebuildLineItems(line);
  if (std::string(c.told).empty()) {
    EXPECT_TRUE(notifier.messages.empty()) << ::testing::PrintToString(notifier.messages);
    return;
  }
  ASSERT_EQ(notifier.messages.size(), 1u) << ::testing::PrintToString(notifier.messages);
  EXPECT_NE(notifier.messages[0].find(c.told), std::string::npos) << notifier.messages[0];
  EXPECT_NE(notifier.messages[0].find("not priced"), std::string::npos) << notifier.messages[0];
}

INSTANTIATE_TEST_SUITE_P(Cases, RefUnpricedTest, ::testing::ValuesIn(kUnpricedCases),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
