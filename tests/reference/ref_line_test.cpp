#include "reference/ref_line.h"

#include <gtest/gtest.h>

#include "ref_test_support.h"

namespace {

CRefItemNode Item(const std::string& reference, std::int32_t price, std::int32_t quantity,
                  int kind = 0) {
  return {reference, "d " + reference, price, quantity, 7, kind};
}

std::string Order(const CRefLine& line) {
  std::string order;
  for (const CRefItemNode& item : line.Items())
    order += item.reference + ":" + std::to_string(item.kind) + " ";
  return order;
}

TEST(RefLineTest, ItemsMergeByReferenceAndKindWithAWeightedMeanPrice) {
  CRefLine line;
  line.AddItemNode(Item("A", 100, 2));
  line.AddItemNode(Item("A", 130, 1));
  ASSERT_EQ(line.Items().size(), 1u);
  EXPECT_EQ(line.Items()[0].unitPrice, 110);
  EXPECT_EQ(line.Items()[0].quantity, 3);

  line.AddItemNode(Item("B", 100, 1));
  line.AddItemNode(Item("B", 101, 2));
  EXPECT_EQ(line.Items()[1].unitPrice, 100);  // (202 + 100) / 3, truncated

  line.AddItemNode(Item("A", 110, 4, 1));  // another kind: a line of its own
  EXPECT_EQ(line.Items().size(), 3u);
  line.AddItemNode(Item("C", 5, 0));  // no quantity
  line.AddItemNode(Item("", 5, 3));   // no reference
  EXPECT_EQ(line.Items().size(), 3u);
}

TEST(RefLineTest, TheWeightedMeanOfLargePricesDoesNotOverflow) {
  CRefLine line;
  line.AddItemNode(Item("A", 2'000'000'000, 1000));
  line.AddItemNode(Item("A", 1'000'000'000, 1000));
  EXPECT_EQ(line.Items()[0].unitPrice, 1'500'000'000);
  EXPECT_EQ(line.Items()[0].quantity, 2000);
}

TEST(RefLineTest, ItemsKeepTheRankOrderOfTheirKinds) {
  CRefLine line;
  for (int kind : {2, 0, 5, 1, 4, 3})
    line.AddItemNode(Item("K" + std::to_string(kind), 1, 1, kind));
  EXPECT_EQ(Order(line), "K0:0 K1:1 K4:4 K3:3 K5:5 K2:2 ");
  line.AddItemNode(Item("L0", 1, 1, 0));  // after the items of its own rank
  EXPECT_EQ(Order(line), "K0:0 L0:0 K1:1 K4:4 K3:3 K5:5 K2:2 ");
}

TEST(RefLineTest, AddingItemsAtOnceEqualsAddingThemOneByOne) {
  // Repeated references of every kind, equal and different prices, ignored items, on a
  // line that already has items.
  std::vector<CRefItemNode> items;
  for (int i = 0; i < 200; ++i)
    items.push_back({"R" + std::to_string(i % 13), "D" + std::to_string(i), 100 + (i % 3) * 7,
                     i % 17 == 0 ? 0 : 1 + i % 4, i, (i * 5) % 7 - 1});
  CRefLine oneByOne, atOnce;
  for (CRefLine* line : {&oneByOne, &atOnce}) {
    line->AddItemNode({"R3", "first", 90, 2, 1, 3});
    line->AddItemNode({"R0", "first", 90, 2, 1, 0});
  }
  for (const CRefItemNode& item : items) oneByOne.AddItemNode(item);
  atOnce.AddItemNodes(items);
  ExpectSameItems(atOnce, oneByOne);
}

TEST(RefLineTest, AResetLineHasItsDefaultsAndACopyIsIndependent) {
  CRefLine source;
  source.Assign(nullptr);
  EXPECT_EQ(source.group, -1);
  EXPECT_EQ(source.productKind, -1);
  EXPECT_EQ(source.rating, -1);
  EXPECT_EQ(source.conductors, -1);
  EXPECT_EQ(source.connection, -1);
  EXPECT_EQ(source.fixingSpacing, 300);
  EXPECT_EQ(source.lineQuantity, 1);
  EXPECT_EQ(source.lineMode, 1);

  source.name = "L1";
  source.productKind = 0;
  source.components[12] = 4;
  source.slots[199] = 0x30002;
  source.weight = 12.5;
  source.sections.resize(3);
  for (int kind : {2, 0, 5, 1}) source.AddItemNode(Item("R" + std::to_string(kind), 1, 1, kind));
  CRefLine copy;
  copy.Assign(&source);
  source.Assign(nullptr);
  EXPECT_EQ(copy.name, "L1");
  EXPECT_EQ(copy.components[12], 4);
  EXPECT_EQ(CRefLine::SlotUnits(copy.slots[199]), 2);
  EXPECT_EQ(CRefLine::SlotProtection(copy.slots[199]), 3);
  EXPECT_EQ(copy.weight, 0.0);  // the weight is the export's, never copied
  EXPECT_EQ(copy.sections.size(), 3u);
  EXPECT_EQ(Order(copy), "R0:0 R1:1 R5:5 R2:2 ");
  EXPECT_TRUE(source.Items().empty());
  EXPECT_TRUE(source.sections.empty());
}

struct SectionCase {
  const char* name;
  int lineMode;
  std::vector<int> counts;
  int total;
  int keepIndex;
  std::vector<int> expected;  // counts after
};

void PrintTo(const SectionCase& c, std::ostream* os) { *os << c.name; }

class RefLineSectionsTest : public ::testing::TestWithParam<SectionCase> {};

TEST_P(RefLineSectionsTest, SectionCountsAddUpToTheTotal) {
  const SectionCase& c = GetParam();
  CRefLine line;
  line.Assign(nullptr);
  line.productKind = 0;
  line.lineMode = c.lineMode;
  for (std::size_t i = 0; i < c.counts.size(); ++i) {
    CRefLineSection section;
    section.values[2] = c.counts[i];
    section.values[9] = static_cast<int>(i);  // marks where each section went
    line.sections.push_back(section);
  }
  line.ResizeSections(c.total, nullptr, nullptr, c.keepIndex);
  std::vector<int> counts;
  for (const CRefLineSection& section : line.sections)
    counts.push_back(section.values[2] * 10 + section.values[9]);
  EXPECT_EQ(counts, c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefLineSectionsTest,
    ::testing::Values(
        SectionCase{"a line mode below 10 empties the sections", 1, {2, 3}, 5, 0, {}},
        SectionCase{"total 0 empties the sections", 10, {2, 3}, 0, 0, {}},
        SectionCase{"the last kept section is cut to fit", 10, {2, 3, 4}, 4, 0, {20, 21}},
        SectionCase{"missing units come as sections of one", 10, {2}, 4, 0, {20, 10, 10}},
        SectionCase{
            "the kept section goes first and alone holds the total", 10, {2, 3, 4}, 3, 2, {32}},
        SectionCase{"the kept section goes first, then back", 10, {2, 3, 4}, 6, 2, {20, 42}},
        SectionCase{"a keep index past the end takes the last", 10, {2, 3}, 5, 9, {20, 31}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(RefLineSectionsTest, AddedSectionsFollowTheProductTableAndFlag) {
  CRefLine line;
  line.Assign(nullptr);
  line.productKind = 0;
  line.lineMode = 11;
  int table[49] = {};
  table[25] = 1;  // second side entry: value 6 = 3
  table[33] = 1;  // fourth option entry: value 7 = 5
  int flag = -1;
  line.ResizeSections(2, table, &flag, 0);
  ASSERT_EQ(line.sections.size(), 2u);
  EXPECT_EQ(line.sections[1].values[6], 3);
  EXPECT_EQ(line.sections[1].values[7], 5);
  EXPECT_EQ(line.sections[1].values[4], 2);

  flag = 0;
  line.lineMode = 10;
  line.ResizeSections(3, table, &flag, 0);
  EXPECT_EQ(line.sections[2].values[6], 0);  // no negative flag: no side
  EXPECT_EQ(line.sections[2].values[7], 0);  // line mode 10: no option
  EXPECT_EQ(line.sections[2].values[4], 1);

  line.productKind = 3;  // only luminaire lines have sections
  line.ResizeSections(0, nullptr, nullptr, 0);
  EXPECT_EQ(line.sections.size(), 3u);
}

}  // namespace
