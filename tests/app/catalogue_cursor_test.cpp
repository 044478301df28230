#include "app/catalogue_cursor.h"
#include "app/catalogue_menu_plan.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Walk(CCatalogueCursor& cursor, bool restart) {
  std::vector<std::string> codes;
  for (const CCatalogueEntry* entry = cursor.GetNextCatalogEntry(restart); entry != nullptr;
       entry = cursor.GetNextCatalogEntry(false)) {
    codes.push_back(entry->code);
  }
  return codes;
}

TEST(CatalogueCursorTest, WalksTheListAndStopsAtItsEnd) {
  std::vector<CCatalogueEntry> entries = {{"QMA", "a"}, {"QGA", "b"}, {"QDA", "c"}};
  CCatalogueCursor cursor(entries);
  ASSERT_NE(cursor.GetNextCatalogEntry(false), nullptr);  // starts on the first entry
  EXPECT_EQ(Walk(cursor, false), (std::vector<std::string>{"QGA", "QDA"}));
  EXPECT_EQ(cursor.GetNextCatalogEntry(false), nullptr);  // stays at the end
  EXPECT_EQ(Walk(cursor, true), (std::vector<std::string>{"QMA", "QGA", "QDA"}));
  cursor.GetNextCatalogEntry(true);
  cursor.GetNextCatalogEntry(false);
  EXPECT_EQ(Walk(cursor, true).front(), "QMA") << "a restart in the middle goes back to the first";
}

TEST(CatalogueCursorTest, EmptyOrShrunkListGivesNone) {
  std::vector<CCatalogueEntry> entries;
  CCatalogueCursor cursor(entries);
  EXPECT_EQ(cursor.GetNextCatalogEntry(true), nullptr);
  entries = {{"QMA", "a"}, {"QGA", "b"}, {"QDA", "c"}};
  cursor.GetNextCatalogEntry(true);
  cursor.GetNextCatalogEntry(false);
  entries.resize(1);
  EXPECT_EQ(cursor.GetNextCatalogEntry(false), nullptr);
}

std::vector<int> Numbers(const CCatalogueMenuPlan& plan) {
  std::vector<int> numbers;
  for (const CCatalogueMenuItem& item : plan.items) numbers.push_back(item.number);
  return numbers;
}

TEST(CatalogueMenuPlanTest, UnnamedListsFromFiveOnAreLeftOut) {
  std::vector<std::string> names(15);
  names[0] = "Tarif A";
  names[1] = "Tarif B";
  names[5] = "Export";
  CCatalogueMenuPlan plan = PlanCatalogueMenu(names, false, 2);
  EXPECT_EQ(Numbers(plan), (std::vector<int>{1, 2, 3, 4, 6}));
  EXPECT_EQ(plan.current, 2);
  EXPECT_EQ(plan.items[4], (CCatalogueMenuItem{6, "Export"}));
  EXPECT_EQ(plan.items[2].name, "");  // list 3 stays, without a name
}

TEST(CatalogueMenuPlanTest, JustOneListsOnlyTheCurrent) {
  std::vector<std::string> names(15, "n");
  CCatalogueMenuPlan plan = PlanCatalogueMenu(names, true, 12);
  EXPECT_EQ(Numbers(plan), (std::vector<int>{12}));
  EXPECT_EQ(plan.current, 12);
}

TEST(CatalogueMenuPlanTest, CurrentThatIsNotListedLeavesNoCurrent) {
  std::vector<std::string> names(15);
  EXPECT_EQ(PlanCatalogueMenu(names, false, 7).current, 0);  // unnamed list 7
  EXPECT_EQ(PlanCatalogueMenu(names, false, 0).current, 0);
  EXPECT_EQ(PlanCatalogueMenu(names, false, 99).current, 0);
  EXPECT_EQ(PlanCatalogueMenu(names, true, -3).items.size(), 0u);
  EXPECT_EQ(PlanCatalogueMenu({}, false, 1).current, 1);  // short name lists count as empty
  EXPECT_EQ(Numbers(PlanCatalogueMenu({}, false, 1)), (std::vector<int>{1, 2, 3, 4}));
}

}  // namespace
