#include "app/price_list_edits.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/profile.h"
#include "options_test_support.h"

namespace {

class PriceListEditsTest : public ::testing::Test {
 protected:
  CPriceListEdits Read(const std::string& settings = std::string()) {
    if (!settings.empty()) m_app.Folder().WriteFile("settings/TVR.INI", settings);
    return CPriceListEdits::Read(m_app.ArticleFolder(), m_app.App().Profile(), TestPriceListTexts);
  }

  COptionsTestApp m_app;
};

TEST_F(PriceListEditsTest, ListsOneToFourAndNamedListsAreOffered) {
  CPriceListEdits edits = Read();
  EXPECT_TRUE(edits.ReadError().empty());
  EXPECT_EQ(edits.Entries(), (std::vector<CPriceListEntry>{{"Public", "EUR", 1},
                                                           {"Price list 2", "", 2},
                                                           {"Price list 3", "", 3},
                                                           {"Price list 4", "", 4},
                                                           {"Six", "CHF", 6}}));
  EXPECT_FALSE(edits.Changed());
}

TEST_F(PriceListEditsTest, SingleCatalogueModeOffersOnlyTheCurrentList) {
  CPriceListEdits edits = Read("[Database]\nJustOneCat=yes\nCurrentCat=6\n");
  EXPECT_EQ(edits.Entries(), (std::vector<CPriceListEntry>{{"Six", "CHF", 6}}));
  EXPECT_TRUE(Read("[Database]\nJustOneCat=yes\nCurrentCat=9\n").Entries().empty())
      << "a current list without a name";
  EXPECT_EQ(Read("[Database]\nJustOneCat=Yes\nCurrentCat=6\n").Entries().size(), 5u)
      << "only \"yes\" switches the mode on";
}

TEST_F(PriceListEditsTest, AnUnreadableTableSaysWhy) {
  std::filesystem::remove(m_app.ArticleTablePath());
  CPriceListEdits edits = Read();
  EXPECT_FALSE(edits.ReadError().empty());
  EXPECT_EQ(edits.Entries().size(), 4u) << "lists 1..4 stay, without names";
}

TEST_F(PriceListEditsTest, EditsAreTrimmedAndClearedNamesBecomeStars) {
  struct Case {
    int index;
    const char* name;
    const char* second;
    bool nameChanged;
    bool changed;
    CPriceListEntry stored;
    const char* guards;
  };
  const Case cases[] = {
      {0, "Public", "EUR", false, false, {"Public", "EUR", 1}, "nothing changed"},
      {0, "  Public\t", " EUR ", false, false, {"Public", "EUR", 1}, "blanks do not count"},
      {0, "Trade", "EUR", true, true, {"Trade", "EUR", 1}, "a new name"},
      {0, "Public", "USD", false, true, {"Public", "USD", 1}, "a new second name only"},
      {0, "   ", "EUR", true, true, {"***", "***", 1}, "a cleared name"},
      {4, "", "", true, true, {"***", "***", 6}, "a cleared name and second name"},
      {5, "Seven", "", false, false, {}, "no such entry"},
      {-1, "Seven", "", false, false, {}, "no entry chosen"},
  };
  for (const Case& c : cases) {
    CPriceListEdits edits = Read();
    const std::vector<CPriceListEntry> before = edits.Entries();
    EXPECT_EQ(edits.Edit(c.index, c.name, c.second), c.nameChanged) << c.guards;
    EXPECT_EQ(edits.Changed(), c.changed) << c.guards;
    if (c.index >= 0 && c.index < 5) {
      EXPECT_EQ(edits.Entries()[static_cast<std::size_t>(c.index)], c.stored) << c.guards;
    } else {
      EXPECT_EQ(edits.Entries(), before) << c.guards;
    }
  }
}

TEST_F(PriceListEditsTest, SavingAddsTheRecordsOfListsThatHadNone) {
  CPriceListEdits edits = Read();
  edits.Edit(2, "Export", "USD");
  CPriceListSave save = edits.Save(m_app.ArticleFolder());
  EXPECT_TRUE(save.saved) << save.error;
  EXPECT_EQ(save.appended, (std::vector<int>{3, 4})) << "default names are kept too";
  EXPECT_EQ(m_app.ArticleNames("PRICE_LIST_3"), "Export|USD");
  EXPECT_EQ(m_app.ArticleNames("PRICE_LIST_6"), "Six|CHF");
}

}  // namespace
