#include "app/catalogue_cursor.h"

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

}  // namespace
