#include <gtest/gtest.h>

#include "reference/ref_equipment.h"

namespace {

std::vector<int> AllOffered(int state = 2) { return std::vector<int>(56, state); }

std::vector<int> Kinds(const CRefEquipPages& pages) {
  std::vector<int> kinds;
  for (const CRefEquipPage& page : pages.pages) kinds.push_back(page.kind);
  return kinds;
}

struct PageCase {
  int product;
  int lineMode;
  int specialMode;
  bool plain;  // T[55] = 1
  bool zfl21;
  std::vector<int> kinds;  // in combo order
  int startKind;
};

TEST(RefEquipPagesTest, PagesRemovedByProductAndModeInComboOrder) {
  const PageCase cases[] = {
      {0, 2, 0, false, false, {0, 1, 5}, 5},
      {0, 1, 0, false, false, {1, 5}, 5},  // below mode 2 page 0 goes, start moves down
      {0, 2, 0, true, false, {5}, 5},
      {1, 1, 0, false, false, {0, 1, 2, 6, 4, 5}, 6},
      {2, 1, 0, true, false, {6}, 6},
      {3, 1, 0, false, false, {1, 2, 6, 5}, 2},
      {3, 1, 0, true, false, {2, 6}, 6},
      {4, 1, 0, false, false, {0, 2, 6, 4, 5}, 2},
      {4, 1, 0, false, true, {0, 1, 2, 6, 4, 5}, 2},  // page 1 back, start one further
      {8, 1, 0, false, false, {0, 2, 6, 5}, 2},
      {5, 1, 0, false, false, {0, 2, 4}, 2},
      {6, 1, 0, false, false, {5}, 5},
      {7, 1, 0, false, false, {0, 2, 4, 5}, 2},
      {1, 1, 1, false, false, {0, 6, 5}, 0},
      {2, 1, 2, false, false, {0, 6, 5}, 0},
      {4, 1, 2, false, false, {0, 2, 6, 4}, 0 + 2},
  };
  for (const PageCase& c : cases) {
    CRefEquipSetup setup;
    setup.product = c.product;
    setup.lineMode = c.lineMode;
    setup.specialMode = c.specialMode;
    setup.zfl21 = c.zfl21;
    setup.states = AllOffered();
    setup.states[55] = c.plain ? 1 : 2;
    const CRefEquipPages pages = RefEquipPages(setup);
    EXPECT_EQ(Kinds(pages), c.kinds)
        << "product " << c.product << " mode " << c.lineMode << " special " << c.specialMode;
    ASSERT_FALSE(pages.pages.empty());
    EXPECT_EQ(pages.pages[static_cast<std::size_t>(pages.start)].kind, c.startKind)
        << "product " << c.product;
  }
}

TEST(RefEquipPagesTest, LineOptionsOfferTheirOwnPagesAndTexts) {
  CRefEquipSetup setup;
  setup.lineOptions = true;
  setup.states = AllOffered();
  const struct {
    int lineMode;
    std::vector<int> kinds;
    std::vector<int> texts;
  } cases[] = {
      {1, {2}, {32212}}, {2, {2, 3}, {32212, 32215}}, {10, {2, 3, 4}, {32212, 32215, 32216}}};
  for (const auto& c : cases) {
    setup.lineMode = c.lineMode;
    const CRefEquipPages pages = RefEquipPages(setup);
    EXPECT_EQ(Kinds(pages), c.kinds);
    std::vector<int> texts;
    for (const CRefEquipPage& page : pages.pages) texts.push_back(page.textMessage);
    EXPECT_EQ(texts, c.texts);
  }
  setup.connection = 7;
  EXPECT_TRUE(RefEquipPages(setup).note);
  setup.specialMode = 3;
  EXPECT_FALSE(RefEquipPages(setup).note);
}

TEST(RefEquipRowsTest, ComponentStatesDecideWhichRowsShowAndWhichEdit) {
  CRefLine line;
  line.components[18] = 4;
  CRefEquipSetup setup;
  setup.product = 3;
  setup.states = AllOffered();
  setup.states[17] = 0;  // not offered: its row never shows
  setup.states[18] = 3;  // odd: greyed
  const CRefEquipPageView view = RefEquipShowPage(setup, 1, line, CRefEquipCounts());
  EXPECT_EQ(view.picture, 31013);
  EXPECT_TRUE(view.rows[0].shown);  // text alone
  EXPECT_EQ(view.rows[0].component, 0);
  EXPECT_TRUE(view.rows[1].shown);
  EXPECT_TRUE(view.rows[1].editable);
  EXPECT_FALSE(view.rows[2].shown);  // component 17
  EXPECT_TRUE(view.rows[3].shown);
  EXPECT_FALSE(view.rows[3].editable);
  EXPECT_EQ(view.rows[3].value, 4);
  EXPECT_FALSE(view.rows[5].shown);  // row 6 is not on this page
  // Product 0 edits every offered row outside the line options, whatever its state.
  setup.product = 0;
  const CRefEquipPageView qfp = RefEquipShowPage(setup, 1, line, CRefEquipCounts());
  EXPECT_TRUE(qfp.rows[3].editable);
  EXPECT_FALSE(qfp.rows[2].shown);  // state 0 still hides
}

TEST(RefEquipRowsTest, PlainProductsShowOnlyTheirMarkedRowsAndTakeTheOtherPicture) {
  CRefLine line;
  CRefEquipSetup setup;
  setup.product = 3;
  setup.states = AllOffered();
  setup.states[55] = 1;
  const CRefEquipPageView view = RefEquipShowPage(setup, 2, line, CRefEquipCounts());
  EXPECT_EQ(view.picture, 31017);
  EXPECT_TRUE(view.rows[0].shown);   // style 10
  EXPECT_FALSE(view.rows[2].shown);  // style 0
}

TEST(RefEquipRowsTest, PrefixesNumberTheItemsOfAPage) {
  CRefLine line;
  CRefEquipSetup setup;
  setup.product = 4;
  setup.states = AllOffered();
  const CRefEquipPageView view = RefEquipShowPage(setup, 2, line, CRefEquipCounts());
  EXPECT_EQ(view.rows[0].text.substr(0, 5), " 1-  ");  // style 10 counts and numbers as 0
  EXPECT_EQ(view.rows[2].text.substr(0, 5), " 2-  ");
  EXPECT_EQ(view.rows[3].text.substr(0, 5), " 3-  ");
  setup.product = 3;
  const CRefEquipPageView ends = RefEquipShowPage(setup, 1, line, CRefEquipCounts());
  EXPECT_EQ(ends.rows[1].text.substr(0, 12), "          - ");
}

TEST(RefEquipRowsTest, LineOptionRowsReplaceTheProductRows) {
  CRefLine line;
  CRefEquipSetup setup;
  setup.product = 0;
  setup.lineOptions = true;
  setup.states = AllOffered();
  const CRefEquipPageView view = RefEquipShowPage(setup, 2, line, CRefEquipCounts());
  EXPECT_EQ(view.picture, 31022);
  EXPECT_EQ(view.rows[1].component, 24);
  EXPECT_EQ(view.rows[2].component, 25);
  EXPECT_EQ(view.rows[3].component, 26);
  EXPECT_FALSE(view.rows[4].shown);
  setup.lineMode = 11;
  const CRefEquipPageView options = RefEquipShowPage(setup, 3, line, CRefEquipCounts());
  EXPECT_EQ(options.rows[0].component, 29);
  EXPECT_EQ(options.rows[1].component, 28);
  EXPECT_EQ(options.rows[3].component, 30);
  EXPECT_EQ(options.rows[8].component, 35);
}

TEST(RefEquipCountsTest, TypedCountsSurviveAPageChangeAndReachTheLineOnlyOnWrite) {
  CRefLine line;
  line.components[16] = 2;
  CRefEquipCounts counts;
  EXPECT_EQ(counts.Count(line, 16), 2);
  counts.Set(16, 7);
  counts.Set(45, 3);  // outside 16..44: ignored
  EXPECT_EQ(counts.Count(line, 16), 7);
  EXPECT_EQ(line.components[16], 2);
  CRefEquipSetup setup;
  setup.product = 4;
  setup.states = AllOffered();
  EXPECT_EQ(RefEquipShowPage(setup, 0, line, counts).rows[0].value, 7);
  EXPECT_TRUE(counts.WriteTo(line));
  EXPECT_EQ(line.components[16], 7);
  EXPECT_FALSE(counts.WriteTo(line));  // nothing new
  CRefEquipCounts untouched;
  CRefLine copy = line;
  EXPECT_FALSE(untouched.WriteTo(copy));
  EXPECT_EQ(copy.components, line.components);
}

TEST(RefEquipFormulaTest, FixingEstimateByStep) {
  const struct {
    int length, style, product, expected;
  } cases[] = {{10, 4, 1, 4}, {10, 3, 1, 20}, {10, 3, 3, 6}, {9, 4, 1, 3}, {0, 4, 1, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(RefEquipFixingEstimate(c.length, c.style, c.product), c.expected)
        << c.length << " " << c.style;
}

TEST(RefEquipFormulaTest, FixingsForSupportsNeverDivideByZero) {
  const struct {
    int value, fixingCount, length, spacing, expected;
  } cases[] = {{4, 5, 10, 300, 6}, {4, 0, 10, 300, 5}, {4, 5, 0, 300, 0},
               {4, 0, 10, 0, 0},   {0, 5, 10, 300, 0}, {3, 0, 10, 150, 7}};
  for (const auto& c : cases)
    EXPECT_EQ(RefEquipFixingsFor(c.value, c.fixingCount, c.length, c.spacing), c.expected)
        << c.value << " " << c.fixingCount << " " << c.length << " " << c.spacing;
}

}  // namespace
