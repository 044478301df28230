#include "model/run/run_test_support.h"
#include "ranges/range_registry.h"

namespace {

class RunTakeOverTest : public RunTestBase {
 protected:
  void SetUp() override {
    RunTestBase::SetUp();
    RegisterRangeRuns();  // the variants of each range and what they differ in
    m_oldTables = MakeTestTables();
    m_newTables = MakeTestTables();
    m_newTables.codes[2].texts[2] = "NSTR-0";
    m_newTables.codes[4].texts[2] = "NELB-0";
    m_newTables.codes[0].texts[2] = "NEND-0";
  }

  std::unique_ptr<CRun> MakeRun(const char* catalog, CRangeTables& tables) {
    auto run = std::make_unique<CRun>(&m_document);
    run->AttachRangeTables(tables);
    run->SetCatalog(catalog);
    return run;
  }

  CFakeRunDocument m_document;
  CRangeTables m_oldTables;
  CRangeTables m_newTables;
};

TEST_F(RunTakeOverTest, NearestRatingOnAVariantChange) {
  const struct {
    const char* oldCode;
    const char* newCode;
    const char* oldRating;
    std::vector<CCodeLabelRow> ratings;
    const char* expected;
  } cases[] = {
      {"QMA", "QMC", "63", {{"40", ""}, {"63", ""}, {"100", ""}}, "63"},
      {"QMA", "QMC", "50", {{"40", ""}, {"63", ""}}, "40"},  // ties: the first wins
      {"QMA", "QMC", "70", {{"40", ""}, {"63", ""}}, "63"},
      {"QMA", "QMC", "63", {{"20000", ""}}, ""},             // too far: none
      {"QDA", "QDT", "20", {{"16", ""}, {"25", ""}}, "25"},  // 16 is skipped for QDT
      {"QDA", "QDT", "16", {{"16", ""}, {"25", ""}}, "25"},
      {"Qpa", "Qpc", "30", {{"25", ""}, {"40", ""}}, "25"},
  };
  for (const auto& c : cases) {
    m_newTables.ratings = c.ratings;
    auto oldRun = MakeRun(c.oldCode, m_oldTables);
    oldRun->SetProp("Calibre", c.oldRating);
    auto newRun = MakeRun(c.newCode, m_newTables);
    EXPECT_EQ(newRun->TakeOverRun(*oldRun), 1);
    EXPECT_EQ(newRun->GetPropText("Calibre"), c.expected)
        << c.oldCode << "->" << c.newCode << " " << c.oldRating;
  }
}

TEST_F(RunTakeOverTest, VariantChangeKeepsPropertiesAndFlags) {
  auto oldRun = MakeRun("QMA", m_oldTables);
  oldRun->SetProp("Name", "K");
  oldRun->SetProp("Neutral", "8");
  oldRun->SetProp("INDEXGRP", "2");
  oldRun->SetProp("QP_STEP", "5");
  oldRun->SetFlagsWord(0x31);
  auto newRun = MakeRun("QMC", m_newTables);
  m_document.runs = {oldRun.get()};
  newRun->TakeOverRun(*oldRun);
  EXPECT_EQ(newRun->GetPropText("Name"), "K");
  EXPECT_EQ(newRun->GetPropText("Neutral"), "7");
  EXPECT_EQ(newRun->GetPropText("INDEXGRP"), "2");  // kept within range M
  EXPECT_FALSE(newRun->GetProp("QP_STEP").has_value());
  EXPECT_EQ(newRun->GetFlagsWord(), 0x31u);
  EXPECT_EQ(m_document.runs.front(), newRun.get());
  EXPECT_EQ(m_document.current, newRun.get());
  EXPECT_EQ(m_document.retargets, 1);
}

TEST_F(RunTakeOverTest, RangeChangeResetsElementsToGenericForm) {
  auto oldRun = MakeRun("QMA", m_oldTables);
  oldRun->SetProp("Neutral", "8");
  CChainBuilder builder(*oldRun);
  CDev* start = builder.Start(4);
  start->SetVariantBoth(3);
  start->SetPropValue("ENTRAX", "1/2/3");
  CDev* straight = builder.Add(start, 4, CDev::kStraight, 2000, "S-OLD");
  straight->SetStyle(straight->GetStyle() | 0x3000);
  CDev* elbow = builder.Add(straight, 4, CDev::kElbow, 500);
  elbow->SetPropValue("ELBOW_ANGL", "45");
  builder.Loose(CDev::kTapOff, "TAP");
  oldRun->AddLengthToBOM("", 2000, 0);

  auto newRun = MakeRun("QDA", m_newTables);
  newRun->SetProp("Neutral", "5");
  EXPECT_EQ(newRun->TakeOverRun(*oldRun), 1);
  EXPECT_TRUE(oldRun->GetDevices().empty());
  EXPECT_TRUE(oldRun->GetLengthRecords().empty());
  ASSERT_EQ(newRun->GetDevices().size(), 3u);  // the tap-off unit is gone
  EXPECT_EQ(start->GetRun(), newRun.get());
  EXPECT_EQ(start->GetVariant(), 1);
  EXPECT_EQ(start->GetReference(), "END-1");
  EXPECT_FALSE(start->HasProp("ENTRAX"));
  EXPECT_EQ(straight->GetStyle() & 0xF000u, 0u);
  EXPECT_EQ(straight->GetReference(), newRun->GetElementRef(0));
  EXPECT_EQ(elbow->GetReference(), "NELB-0");
  EXPECT_FALSE(elbow->HasProp("ELBOW_ANGL"));
  EXPECT_EQ(newRun->GetPropText("Neutral"), "5");  // the new range's own defaults stay
  EXPECT_EQ(newRun->GetLengthRecords().front()->GetReference(), "NSTR-0 - 2m ");
  EXPECT_EQ(LineQuantity(*newRun, "NELB-0"), 1);
  EXPECT_EQ(LineQuantity(*newRun, "ELB-0"), -1);
  EXPECT_EQ(LineQuantity(*newRun, "NSTR-0 - 2m "), 1);
  EXPECT_EQ(newRun->GetCurrentElement(), start);
}

TEST_F(RunTakeOverTest, VariantChangeResetsOnlyEndsTheVariantLacks) {
  auto oldRun = MakeRun("QPA", m_oldTables);
  CChainBuilder builder(*oldRun);
  CDev* start = builder.Start(4);
  start->SetVariantBoth(7);
  CDev* straight = builder.Add(start, 4, CDev::kStraight, 1000, "S-KEEP");
  CDev* elbow = builder.Add(straight, 4, CDev::kElbow, 500, "E-KEEP");
  elbow->SetPropValue("ELBOW_LENG", "120");
  auto newRun = MakeRun("QPC", m_newTables);
  newRun->TakeOverRun(*oldRun);
  EXPECT_EQ(start->GetVariant(), 1);  // QPC has no end of variant 7
  EXPECT_EQ(straight->GetReference(), "S-KEEP");
  EXPECT_EQ(elbow->GetReference(), "E-KEEP");
  EXPECT_FALSE(elbow->HasProp("ELBOW_LENG"));  // every elbow loses it on the way to QPC
  EXPECT_EQ(m_document.sceneRebuilds, 1);
}

// An end takes a variant its range codes, so that it has a reference of the range: the
// plain end (variant 1) where the range has one, else the second end row of the table.
TEST_F(RunTakeOverTest, AnEndTakesAVariantItsNewRangeCodes) {
  const struct {
    const char* what;
    std::vector<CCodeRow> ends;
    int variant;
    const char* reference;
  } rows[] = {
      {"a plain end", {{{"0", "0", "E0", ""}}, {{"0", "1", "E1", ""}}}, 1, "E1"},
      {"no plain end",
       {{{"0", "302", "E2", ""}}, {{"0", "4", "E4", ""}}, {{"0", "0", "E0", ""}}},
       4,
       "E4"},
      {"a single end", {{{"0", "208", "E8", ""}}}, 8, "E8"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    CRangeTables tables = MakeTestTables();
    std::erase_if(tables.codes, [](const CCodeRow& code) { return code.texts[0] == "0"; });
    tables.codes.insert(tables.codes.begin(), row.ends.begin(), row.ends.end());
    auto oldRun = MakeRun("QMA", m_oldTables);
    CChainBuilder builder(*oldRun);
    CDev* start = builder.Start(4);
    builder.Add(start, 4, CDev::kStraight, 1000);
    auto newRun = MakeRun("QDA", tables);
    EXPECT_EQ(newRun->GetDefaultEndVariant(), row.variant);
    newRun->TakeOverRun(*oldRun);
    EXPECT_EQ(start->GetVariant(), row.variant);
    EXPECT_EQ(start->GetReference(), row.reference);
  }
}

// An in-line unit or a special piece takes a variant its range codes when it is made on a
// line and when its run changes range: the plain one (variant 0) where the table has one,
// else the first that an unbuilt run's page offers (a unit below 2, no piece the range
// refuses at the run's rating), with its option; a riser kit placed where the range says.
TEST_F(RunTakeOverTest, AnInLineUnitTakesAVariantItsRangeCodes) {
  const struct {
    const char* what;
    const char* catalog;
    int kind;
    std::vector<CCodeRow> units;
    int code;  // option x 100 + variant
    const char* reference;
    const char* kit;
  } rows[] = {
      {"a plain unit",
       "QGA",
       CDev::kInLine,
       {{{"7", "0", "U0", ""}}, {{"7", "1", "U1", ""}}},
       0,
       "U0",
       ""},
      {"no plain unit, a kit",
       "QMA",
       CDev::kInLine,
       {{{"7", "12", "U12", ""}}, {{"7", "1", "U1", ""}}},
       1,
       "U1",
       "0"},
      {"a kit where the range places none",
       "QDA",
       CDev::kInLine,
       {{{"7", "1", "U1", ""}}},
       1,
       "U1",
       ""},
      {"only a built run's unit", "QMA", CDev::kInLine, {{{"7", "12", "U12", ""}}}, 0, "", ""},
      {"a plain piece",
       "QGA",
       CDev::kInLineVariant,
       {{{"8", "1", "P1", ""}}, {{"8", "0", "P0", ""}}},
       0,
       "P0",
       ""},
      {"no plain piece, the first the rating offers",
       "QMA",
       CDev::kInLineVariant,
       {{{"8", "111", "P11", ""}}, {{"8", "16", "P16", ""}}, {{"8", "3", "P3", ""}}},
       3,
       "P3",
       ""},
      {"a piece with its option",
       "QMC",
       CDev::kInLineVariant,
       {{{"8", "111", "P11", ""}}, {{"8", "3", "P3", ""}}},
       111,
       "P11",
       ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    CRangeTables tables = MakeTestTables();
    const std::string kind = std::to_string(row.kind);
    std::erase_if(tables.codes, [&](const CCodeRow& code) { return code.texts[0] == kind; });
    tables.codes.insert(tables.codes.begin(), row.units.begin(), row.units.end());
    auto run = MakeRun(row.catalog, tables);
    EXPECT_EQ(run->GetDefaultUnitCode(row.kind), row.code);
    // Its reference is the table's text, or the range's unknown piece for a built run's
    // unit made on a run not built.
    const std::string reference =
        *row.reference != 0 ? std::string(row.reference) : run->GetKindText(row.kind, 0);
    const auto expectTaken = [&](const CDev& unit) {
      EXPECT_EQ(unit.GetVariant(), row.code % 100);
      EXPECT_EQ((unit.GetStyle() >> 24) & 0xFu, static_cast<std::uint32_t>(row.code / 100));
      EXPECT_EQ(unit.GetReference(), reference);
      EXPECT_EQ(unit.GetFieldText("KITCF").value_or(""), row.kit);
    };
    CDev* start = CChainBuilder(*run).Start(4);
    start->SetFrontOffsets({0, 200, 300});
    start->MakeBox(CDev::kBodySlot);
    start->BuildBoxes(0);
    CDev* line = start->AddStraightToward(4, 4000);
    ASSERT_EQ(line->InsertOnLineAt(1500, line->GetBox(0), row.kind), 1);
    expectTaken(*line->GetBackNeighbour());
    // The same unit on a run of another range takes that range's variant.
    auto oldRun = MakeRun("QDA", m_oldTables);
    CDev* oldStart = CChainBuilder(*oldRun).Start(4);
    CDev* oldUnit = CChainBuilder(*oldRun).Add(oldStart, 4, row.kind, 1000);
    CChainBuilder(*oldRun).Add(oldUnit, 4, CDev::kStraight, 1000);
    auto newRun = MakeRun(row.catalog, tables);
    newRun->TakeOverRun(*oldRun);
    expectTaken(*oldUnit);
  }
}

TEST_F(RunTakeOverTest, StartMarkerMovesAndTheRunCountsAsPlaced) {
  auto oldRun = MakeRun("QMA", m_oldTables);
  oldRun->SetFlagsWord(0);
  CDev* marker = oldRun->NewElement();
  marker->SetKind(CDev::kEnd);
  oldRun->SetStartMarker(marker);
  auto newRun = MakeRun("QMC", m_newTables);
  newRun->TakeOverRun(*oldRun);
  EXPECT_EQ(oldRun->GetStartMarker(), nullptr);
  EXPECT_EQ(newRun->GetStartMarker(), marker);
  EXPECT_EQ(marker->GetRun(), newRun.get());
  EXPECT_EQ(newRun->GetFlagsWord() & 1u, 1u);
  EXPECT_EQ(m_document.markerPlacements, 1);
}

}  // namespace
