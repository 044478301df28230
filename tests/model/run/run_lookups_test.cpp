#include "model/run/run_test_support.h"

#include "model/run/run_range_rules.h"

#include "platform/dbf_table.h"
#include "support/temp_folder.h"

#include <functional>

namespace {

class RunLookupsTest : public RunTestBase {
 protected:
  void SetUp() override {
    RunTestBase::SetUp();
    m_tables = MakeTestTables();
    m_run.AttachRangeTables(m_tables);
  }

  CRangeTables m_tables;
  CRun m_run;
};

TEST_F(RunLookupsTest, KindTextsFromTheCodeTableWithFallbacks) {
  EXPECT_EQ(m_run.GetKindText(CDev::kStraight, 1), "STR-1");
  EXPECT_EQ(m_run.GetKindText(CDev::kJoint, 0), "JNT-0");           // joints are looked up as 64
  EXPECT_EQ(m_run.GetKindText(CDev::kInLineVariant, 5), "FEED-5");  // variant modulo 100
  EXPECT_EQ(m_run.GetKindText(CDev::kStraight, 9), "??????????????????SUP? #[1,9]");
  CRun bare;
  EXPECT_EQ(bare.GetKindText(3, 2), "?????? #[3,2]");
}

// Asking whether a text is a kind's text answers as comparing with the kind's text does:
// for rows of the table, for made-up texts of kinds without a row, for a run without
// tables, and for texts that differ from the kind's text only at their ends.
TEST_F(RunLookupsTest, IsKindTextAnswersAsComparingWithTheKindText) {
  CRun bare;
  for (const CRun* run : {&m_run, &bare}) {
    for (int kind = 0; kind < CDev::kKindCount; ++kind) {
      for (int variant : {0, 1, 5, 9, 105, -1}) {
        const std::string text = run->GetKindText(kind, variant);
        const std::vector<std::string> probes = {
            text,
            text + " ",
            " " + text,
            text.substr(0, text.size() - 1),
            "",
            "STR-1",
            "JNT-0",
            run->GetKindText((kind + 1) % CDev::kKindCount, variant),
            run->GetKindText(kind, variant + 10)};
        for (const std::string& probe : probes) {
          EXPECT_EQ(run->IsKindText(probe, kind, variant), probe == text)
              << kind << "," << variant << " '" << probe << "'";
        }
      }
    }
  }
}

// Kind texts are kept once looked up: each step changes the tables the run reads, and
// the text that follows must be the new table's.
TEST_F(RunLookupsTest, KeptKindTextsFollowTheRunsTables) {
  CRangeTables other = MakeTestTables();
  other.codes[3].texts[2] = "STR-1-OTHER";
  const struct {
    const char* step;
    std::function<void()> change;
    const char* expected;
  } rows[] = {
      {"first look-up", [] {}, "STR-1"},
      {"other tables attached", [&] { m_run.AttachRangeTables(other); }, "STR-1-OTHER"},
      {"the first again", [&] { m_run.AttachRangeTables(m_tables); }, "STR-1"},
      {"a row added to the table",
       [&] {
         m_tables.codes.push_back({{"1", "1", "STR-1-ADDED", ""}});
       },
       "STR-1-ADDED"},
      {"the kept row's text changed in place",
       [&] { m_tables.codes.back().texts[2] = "STR-1-CHANGED"; }, "STR-1-CHANGED"},
      {"the kept row's code changed in place", [&] { m_tables.codes.back().texts[1] = "0"; },
       "STR-1"},
      {"the table replaced", [&] { m_tables.codes = MakeTestTables().codes; }, "STR-1"},
  };
  for (const auto& row : rows) {
    row.change();
    EXPECT_EQ(m_run.GetKindText(CDev::kStraight, 1), row.expected) << row.step;
    EXPECT_EQ(m_run.GetKindText(CDev::kStraight, 1), row.expected) << row.step << ", kept";
    EXPECT_EQ(m_run.GetKindText(CDev::kJoint, 0), "JNT-0") << row.step;
  }
}

TEST_F(RunLookupsTest, ElementReferencePatternsFillFromCatalogueAndRating) {
  m_run.SetCatalog("qta");
  m_run.SetProp("Calibre", "63");
  std::string pattern(22, ' ');
  m_run.FillRefPattern(pattern);
  EXPECT_EQ(pattern, "QTA63                 ");
  EXPECT_EQ(m_run.GetElementRef(0), "QTA63       ACC1      ");
  EXPECT_EQ(m_run.GetElementRef(1), "QTA63             SUP ");
  EXPECT_EQ(m_run.GetElementRef(2), "");
  EXPECT_EQ(m_run.FindCodeRowForKind(CDev::kJoint), 4);  // group 1, last row with "1"
  EXPECT_EQ(m_run.FindCodeRowForKind(CDev::kTapOff), 0);
}

TEST_F(RunLookupsTest, ReferenceRows) {
  EXPECT_EQ(m_run.FindReference("3").code, "3");
  EXPECT_EQ(m_run.FindReference("63").Width(), 300);
  EXPECT_EQ(m_run.FindReference("99").Width(), 150);
  m_run.SetProp("Calibre", "63");
  EXPECT_EQ(m_run.FindReference().Height(), 200);
  m_run.SetProp("Neutral", "5");
  EXPECT_EQ(m_run.FindReference().Width(), 340);  // the neutral's extra width
  CRun bare;
  const CReferenceRow none = bare.FindReference("63");
  EXPECT_EQ(none.code, "");
  EXPECT_EQ(none.Width(), 150);
  EXPECT_EQ(none.Height(), 150);
}

TEST_F(RunLookupsTest, ReferenceCodesMatchPositionByPosition) {
  // Positions 0-5 compare as characters (a key "1" takes a row "3" at position 3); from
  // position 6 the numbers compare.
  m_tables.references = {
      {"QMA3BN40X", {2, 0, 0, 0, 0}}, {"QMA3BN4", {1, 0, 0, 0, 0}}, {"QMA3B", {3, 0, 0, 0, 0}}};
  EXPECT_EQ(m_run.FindReference("QMA1BN6").Width(), 1);     // 4 < 6 and 7 characters
  EXPECT_EQ(m_run.FindReference("QMA3BN32XY").Width(), 2);  // 40 >= 32: on at position 8
  EXPECT_EQ(m_run.FindReference("QMA3BZ").Width(), 3);      // the row ends first
  EXPECT_EQ(m_run.FindReference("QMA3").Width(), 150);      // the key ends first
  EXPECT_EQ(m_run.FindReference("QMA2B").Width(), 150);
}

TEST_F(RunLookupsTest, TurnCodes) {
  CDev element;
  element.SetDirection(4);  // back face 0
  const struct {
    int rotation, steps, first, second, code;
  } cases[] = {
      {16, 0, 0, 5, 2},  {32, 0, 0, 5, 4},  {16, 1, 0, 5, 4}, {64, 0, 0, 5, 1},  {128, 0, 0, 5, 3},
      {16, 0, 1, -1, 1}, {16, 0, 4, -1, 0}, {16, 0, 0, 4, 0}, {16, 0, 9, -1, 0}, {16, -1, 0, 5, 3},
  };
  for (const auto& c : cases) {
    element.SetRotation(c.rotation);
    EXPECT_EQ(m_run.GetTurnCode(element, c.first, c.second, c.steps), c.code)
        << c.rotation << " " << c.steps << " " << c.first << " " << c.second;
  }
}

TEST_F(RunLookupsTest, GenericBoxSizes) {
  CRunEnvironment::Instance();
  CDev element(&m_run);
  element.SetCalibre("63");
  const struct {
    int kind;
    std::int32_t length, width;
  } cases[] = {{CDev::kEnd, 0, 300},
               {CDev::kInLine, 200, 800},
               {CDev::kInLineVariant, 500, 400},
               {CDev::kJoint, 32, 320},
               {CDev::kStraight, 0, 300}};
  for (const auto& c : cases) {
    element.SetKind(c.kind);
    const CHousingDims dims = m_run.GetHousingDims(element);
    EXPECT_EQ(dims.length, c.length) << c.kind;
    EXPECT_EQ(dims.width, c.width) << c.kind;
  }
  element.SetKind(CDev::kEnd);
  CHousingDims placed = m_run.GetHousingDims(element);
  EXPECT_EQ(placed.length2, 100);
  EXPECT_EQ(placed.width2, 304);
  EXPECT_EQ(placed.offset.x, 50);
  m_run.SetFlagsWord(0);
  placed = m_run.GetHousingDims(element);
  EXPECT_EQ(placed.length, 100);
  EXPECT_EQ(placed.height, 204);
}

// A range that draws real joints of 360 with a margin of 10.
class CRealJointRules : public CRunRangeRules {
 public:
  CRealJoint GetRealJoint() const override { return {360, 10}; }
};

TEST_F(RunLookupsTest, RealJointLengthFollowsTheDrawnRatio) {
  const CRealJointRules rules;
  CRunFactory::Instance().SetRules("QT", &rules);  // the fixture resets the factory
  CRun run;
  run.AttachRangeTables(m_tables);
  run.SetCatalog("QTA");
  run.SetPartsState(2);
  CChainBuilder builder(run);
  CDev* start = builder.Start(4);
  CDev* joint = builder.Add(start, 4, CDev::kJoint, 2000);
  CDev* front = builder.Add(joint, 4, CDev::kStraight, 2000);
  joint->SetDrawnLength(1000);  // drawn at half its length
  front->SetDrawnLength(1000);
  EXPECT_EQ(run.GetHousingDims(*joint).length, 180);
  joint->SetDrawnLength(4000);
  front->SetDrawnLength(4000);
  const CHousingDims dims = run.GetHousingDims(*joint);
  EXPECT_EQ(dims.length, 720);
  EXPECT_EQ(dims.width, 150 + 20);  // margin 10 each side
}

// The rules of a code's range: its first two letters in any case, the generic rules for a
// range without any and for a code too short to name one; a second registration replaces
// the first and none removes it.
TEST_F(RunLookupsTest, RulesAreFoundByTheRangeOfTheCode) {
  const CRealJointRules joints;
  const CRunRangeRules other;
  const CRunRangeRules& generic = CRunRangeRules::Generic();
  CRunFactory& factory = CRunFactory::Instance();  // the fixture resets the factory
  factory.SetRules("QT", &joints);
  factory.SetRules("QD", &other);
  const std::pair<const char*, const CRunRangeRules*> found[] = {
      {"QTA", &joints}, {"qta", &joints}, {"qTx-1", &joints}, {"QDT", &other},
      {"QD", &generic}, {"Q", &generic},  {"", &generic},     {"QXA", &generic}};
  for (const auto& [code, rules] : found) EXPECT_EQ(&factory.RulesForCode(code), rules) << code;
  factory.SetRules("QD", &joints);
  EXPECT_EQ(&factory.RulesForCode("QDA"), &joints);
  factory.SetRules("QT", nullptr);
  EXPECT_EQ(&factory.RulesForCode("QTA"), &generic);
  EXPECT_EQ(&factory.RulesForCode("QDA"), &joints);
  EXPECT_EQ(CRunFactory::RangeKeyOfCode("Qpa"), "QP");
  EXPECT_EQ(CRunFactory::RangeKeyOfCode("QP"), "");
}

TEST_F(RunLookupsTest, PageListsOfAnElement) {
  CDev element(&m_run);
  element.SetKind(CDev::kInLine);
  m_run.Selection().Select(&element, CElementSelection::kWholeElement);
  EXPECT_EQ(m_run.GetSubObjects(element),
            (std::vector<int>{kPageLength, kPagePosition, kPageCharacteristics, kPageElementName}));
  element.SetKind(CDev::kInLineVariant);
  element.SetVariantBoth(5);
  EXPECT_EQ(m_run.GetSubObjects(element), (std::vector<int>{kPagePosition, kPageCharacteristics,
                                                            kPageFeedUnit, kPageElementName}));
  element.SetKind(CDev::kTapOff);
  EXPECT_EQ(m_run.GetSubObjects(element), (std::vector<int>{kPageElementName}));
  element.SetKind(CDev::kStraight);
  m_run.Selection().Select(&element, 2);
  EXPECT_EQ(m_run.GetSubObjects(element),
            (std::vector<int>{kPageLength, kPageCharacteristics, kPageElementName}));
  m_run.SetPartsState(2);
  element.SetVariantBoth(0);
  element.SetReference(m_run.GetKindText(CDev::kStraight, 0));
  EXPECT_EQ(m_run.GetSubObjects(element), (std::vector<int>{kPageLength, kPageElementName}));
}

TEST_F(RunLookupsTest, ParameterTextsAreNormalised) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {{"a=1,b=2,c=3,d=4", "x=1,2,3,4"},
               {"l=5", "x=5"},
               {"k=5,b=1,b=2", "k=5,1,2"},
               {"", ""},
               {"=1", "=1"}};
  for (const auto& c : cases) {
    std::string text = c.text;
    NormalizeParamText(text);
    EXPECT_EQ(text, c.expected) << c.text;
  }
}

TEST_F(RunLookupsTest, PartRowsByWildcard) {
  m_tables.patterns = {{{"QT##A*", "1000-3000", "", "", "", "", ""}},
                       {{"QT*", "1", "", "", "", "", ""}}};
  EXPECT_EQ(m_run.FindPartRow("QT63A1").texts[1], "1000-3000");
  EXPECT_EQ(m_run.FindPartRow("QT6").texts[1], "1");
  EXPECT_EQ(m_run.FindPartRow("ZZ").texts[0], "");
}

// Patterns as the catalogue reader gives them, padded with blanks to 22: one that closes
// with '*' takes what it stands for, its padding after the '*' or before it.
TEST_F(RunLookupsTest, PaddedPartRowsEndingInAStarMatch) {
  const auto padded = [](std::string text) {
    text.resize(22, ' ');
    return text;
  };
  m_tables.patterns = {{{padded("QGA10ER41"), "300", "", "", "", "", ""}},
                       {{padded("QGA##LP4*"), "300-1000", "", "", "", "", ""}},
                       {{"QGA25                *", "500", "", "", "", "", ""}},
                       {{padded("?????ED?30"), "3000", "", "", "", "", ""}},
                       {{padded("QG*"), "1", "", "", "", "", ""}}};
  const struct {
    const char* reference;
    const char* leg;  // LEG1 of the row found; "" none
  } cases[] = {
      {"QGA10ER41", "300"},   {"QGA10LP4A", "300-1000"},
      {"QGA25ER41", "500"},   {"QGA25LP4C", "300-1000"},
      {"QGC12ED430", "3000"}, {"QGC12ZZ", "1"},
      {"QDA10ER41", ""},      {"QG", "1"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(m_run.FindPartRow(padded(c.reference)).texts[1], c.leg) << c.reference;
}

TEST_F(RunLookupsTest, SeekCatalogCodeReadsTheFoundRecord) {
  const CTempFolder folder("run-lookups");
  const std::string path = folder.File("weights.dbf");
  {
    tvr::platform::CDbfTable table;
    ASSERT_TRUE(table.Create(path, {{"REFERENCE", 'C', 20, 0}, {"MASSE", 'C', 10, 0}}));
    const std::pair<const char*, const char*> rows[] = {
        {"QTA63", "1250"}, {"QTA630", ""}, {"QTB", "x"}};
    for (const auto& [reference, weight] : rows) {
      ASSERT_TRUE(table.Append());
      table.Assign(0, reference);
      table.Assign(1, weight);
    }
    ASSERT_TRUE(table.Close());
  }
  tvr::platform::CDbfTable table;
  ASSERT_TRUE(table.Open(path));
  ASSERT_TRUE(table.AddTag("TAG_REF", "REFERENCE"));
  ASSERT_TRUE(table.SelectTag("TAG_REF"));
  EXPECT_EQ(m_run.SeekCatalogCode("QTA63", &table, "REFERENCE", "MASSE"), 1250);
  EXPECT_EQ(m_run.SeekCatalogCode("QTA630", &table, "REFERENCE", "MASSE"), 0);
  EXPECT_EQ(m_run.SeekCatalogCode("QTA6", &table, "REFERENCE", "MASSE"), -1);  // a longer key
  EXPECT_EQ(m_run.SeekCatalogCode("QTC", &table, "REFERENCE", "MASSE"), -1);
  EXPECT_EQ(m_run.SeekCatalogCode("QTA63", &table, "REFERENCE", "NOFIELD"), -1);
  EXPECT_EQ(m_run.SeekCatalogCode("QTA63", nullptr, "REFERENCE", "MASSE"), -1);
}

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
