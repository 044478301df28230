#include <gtest/gtest.h>

#include "linear/component_chooser.h"
#include "linear/linear_price_settings.h"
#include "linear/linear_slots.h"
#include "linear/linear_test_support.h"
#include "linear/ref_coff_table.h"

namespace {

struct PackCase {
  CBoxSlot box;
  CBoxSlot expected;
  const char* guards;
};

class BoxSlotTest : public testing::TestWithParam<PackCase> {};

TEST_P(BoxSlotTest, PacksEachFieldIntoItsOwnBits) {
  const PackCase& c = GetParam();
  const CBoxSlot read = UnpackBoxSlot(PackBoxSlot(c.box));
  EXPECT_EQ((std::array<int, 5>{read.quantity, read.ip, read.rating, read.group, read.button}),
            (std::array<int, 5>{c.expected.quantity, c.expected.ip, c.expected.rating,
                                c.expected.group, c.expected.button}))
      << c.guards;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoxSlotTest,
    testing::Values(
        PackCase{{4, 40, 63, 1, 0}, {4, 40, 63, 1, 0}, "a plain box"},
        PackCase{{1000, 54, 2047, 4, 3}, {1000, 54, 2047, 4, 3}, "every field at its top"},
        PackCase{{5000, 99, 4000, 1, 0}, {1000, 63, 2047, 1, 0}, "a rating above 2047 is held"},
        PackCase{{1, 40, 100, 1, 4}, {1, 40, 100, 3, 3}, "button 5 is stored as 3 with bit 28"},
        PackCase{{1, 40, 100, 9, 1}, {1, 40, 100, 4, 1}, "a group code above 4"}));

TEST(SlotPackingTest, NegativeSlotsReadAsNothing) {
  EXPECT_EQ(Slot28High(-1), 0);
  EXPECT_EQ(Slot28Low(-1), 0);
  EXPECT_EQ(Slot28High(PackSlot28(1, 1)), 1);
  EXPECT_EQ(BoxQuantity(-1), 0);
  EXPECT_EQ(UnpackBoxSlot(-1).group, 0);
}

TEST(ComponentGroupMessageTest, ButtonsAndGroups) {
  struct Case {
    int product, button, code, expected, groupKind;
  };
  for (const Case& c :
       {Case{kProductQMA, 1, 0, 32024 | (31008 << 16), 1},
        Case{kProductQPC, 1, 0, 32025 | (31008 << 16), 2},
        Case{kProductQYA, 1, 0, 32028 | (31131 << 16), 7},
        Case{kProductQYL, 2, 0, 32270 | (32268 << 16), 0}, Case{kProductQWA, 4, 0, 32268 << 16, 0},
        Case{kProductQMA, 3, 3, 31155, 3}, Case{kProductQDA, 2, 9, 32067, 9}}) {
    int code = c.code;
    EXPECT_EQ(ComponentGroupMessage(c.product, c.button, code, c.product == kProductQPC),
              c.expected)
        << c.product;
    EXPECT_EQ(code, c.groupKind) << c.product << " " << c.button;
  }
}

TEST(ComponentChooserTest, BoxEntriesOfAButtonAndTheirSlots) {
  CRefCoffTable table;
  ASSERT_TRUE(table.Load(SampleFolders().catalogue, false));
  CLinearLine line = MakeLine(1, kProductQMA, 1000, 13, 55);
  line.Slots[31] = PackBoxSlot({3, 54, 250, 1, 0});
  CComponentChooser chooser(kProductQMA, 20, 1);
  ASSERT_TRUE(chooser.LoadBoxEntries(&table, line.Slots));
  ASSERT_EQ(chooser.Entries().size(), 3u) << "button 1 rows with L in PARAM";
  EXPECT_EQ(chooser.Entries()[1].quantity, 3);
  EXPECT_EQ(chooser.Entries()[1].variant, 1) << "IP54 lies nearer to IP54";
  EXPECT_EQ(chooser.Entries()[2].group, 2);
  chooser.Entries()[0].quantity = 2;
  chooser.Entries()[1].quantity = 0;
  chooser.StoreBoxEntries(line.Slots);
  EXPECT_EQ(UnpackBoxSlot(line.Slots[30]).rating, 160);
  EXPECT_EQ(UnpackBoxSlot(line.Slots[30]).ip, 40);
  EXPECT_EQ(line.Slots[31], -1) << "a box type without quantity leaves the line";
  EXPECT_FALSE(CComponentChooser(kProductQMA, 20, 1).LoadBoxEntries(nullptr, line.Slots));
}

TEST(ComponentChooserTest, QueryParamKeepsTheListedPositions) {
  CRefCoffTable table;
  ASSERT_TRUE(table.Load(SampleFolders().catalogue, false));
  std::array<int, 5> values{1, 1, 1, 1, 1};
  EXPECT_EQ(QueryParamByProduct(&table, kProductQPA, 1, values), 1);
  EXPECT_EQ(values, (std::array<int, 5>{1, 1, 1, 0, 1}));
  values = {2, 3, 4, 5, 6};
  QueryParamByProduct(&table, kProductQMA, 3, values);
  EXPECT_EQ(values, (std::array<int, 5>{2, 0, 0, 0, 0})) << "mode 3 files every row at position 0";
  values = {1, 1, 1, 1, 1};
  EXPECT_EQ(QueryParamByProduct(nullptr, kProductQMA, 1, values), 0);
  EXPECT_EQ(values, (std::array<int, 5>{}));
}

TEST(PriceListSettingTest, TheWholeTrailingNumberNamesTheList) {
  EXPECT_EQ(PriceListIndexFromSetting("3"), 2);
  EXPECT_EQ(PriceListIndexFromSetting("12"), 11) << "lists 10..15 were read as 0..5";
  EXPECT_EQ(PriceListIndexFromSetting("Cat15"), 14);
  EXPECT_EQ(PriceListIndexFromSetting("16"), 0);
  EXPECT_EQ(PriceListIndexFromSetting(""), 0);
}

}  // namespace
