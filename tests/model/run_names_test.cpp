#include "run_test_support.h"

namespace {

class RunNamesTest : public RunTestBase {};

TEST_F(RunNamesTest, NamesAdvanceThroughLettersThenLonger) {
  const struct {
    const char* name;
    const char* next;
  } cases[] = {
      {"A", "B"},   {"Y", "Z"},    {"Z", "AA"},    {"AA", "AB"}, {"AZ", "BA"},
      {"ZY", "ZZ"}, {"ZZ", "AAA"}, {"AAZ", "ABA"}, {"", "A"},
  };
  for (const auto& c : cases) EXPECT_EQ(CRun::AdvanceRunName(c.name), c.next) << c.name;
}

TEST_F(RunNamesTest, NewRunTakesTheDocumentsNextNameAndAdvancesIt) {
  CFakeRunDocument document;
  document.nextName = "Z";
  CRun first(&document);
  EXPECT_EQ(first.GetPropText("Name"), "Z");
  EXPECT_EQ(document.nextName, "AA");
  CRun second(&document);
  EXPECT_EQ(second.GetPropText("Name"), "AA");
  EXPECT_EQ(document.nextName, "AB");
}

TEST_F(RunNamesTest, SetPropMarksTheDocumentEvenWhenNothingChanges) {
  CFakeRunDocument document;
  CRun run(&document);
  document.modified = 0;
  EXPECT_FALSE(run.SetProp("Name", "A"));
  EXPECT_EQ(document.modified, 1);
  EXPECT_EQ(document.pageTitles, 0);
  EXPECT_TRUE(run.SetProp("Name", "Q"));
  EXPECT_EQ(document.pageTitles, 1);
  EXPECT_EQ(run.GetChangedFlag(), 1);
  EXPECT_TRUE(run.SetProp("Neutral", "5"));
  EXPECT_EQ(run.GetPropText("Neutral"), "5");
  EXPECT_TRUE(run.SetProp("Neutral", ""));
  EXPECT_FALSE(run.GetProp("Neutral").has_value());
}

TEST_F(RunNamesTest, CatalogueListIsSharedAndFreedWithTheLastRun) {
  CRunEnvironment::Instance().SetCatalogues({{"QMA", "Range M"}, {"QDA", "Range D"}});
  {
    CRun a;
    CRun b;
    EXPECT_EQ(CRangeTableCache::Instance().CatalogueUsers(), 2);
    ASSERT_NE(a.GetCodeTable(), nullptr);
    EXPECT_EQ(a.GetCodeTable(), b.GetCodeTable());
    EXPECT_EQ(a.GetNextCode(true), "Range M");
    EXPECT_EQ(a.GetNextCode(false), "Range D");
    EXPECT_EQ(a.GetNextCode(false), std::nullopt);
  }
  EXPECT_EQ(CRangeTableCache::Instance().CatalogueUsers(), 0);
  EXPECT_TRUE(CRangeTableCache::Instance().CatalogueCodes().empty());
}

TEST_F(RunNamesTest, CatalogueKnownNeedsAnOfferedCodeAKnownRatingAndNeutral) {
  CRunEnvironment::Instance().SetCatalogues({{"QTA", "Test"}});
  CRangeTables tables = MakeTestTables();
  CRun run;
  run.SetCatalog("QTA");
  EXPECT_EQ(run.IsCatalogueKnown(), 0);  // no lists yet
  run.AttachRangeTables(tables);
  run.SetProp("Calibre", "63");
  run.SetProp("Neutral", "5");
  EXPECT_EQ(run.IsCatalogueKnown(), 1);
  run.SetProp("Neutral", "7");
  EXPECT_EQ(run.IsCatalogueKnown(), 0);
  run.SetProp("Neutral", "6");
  run.SetCatalog("QXX");
  EXPECT_EQ(run.IsCatalogueKnown(), 0);
  run.SetCatalog("");
  EXPECT_EQ(run.IsCatalogueKnown(), 1);
}

}  // namespace
