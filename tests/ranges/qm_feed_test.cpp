#include "qg_listing.h"
#include "qm_test_support.h"

#include "ranges/qm/part_builder_qm.h"

#include <climits>
#include <vector>

namespace {

// The lines of the bill that begin with the reference: their texts after it (the group
// suffix cut off) and quantities.
std::vector<std::pair<std::string, std::int64_t>> LinesOf(const CRun& run,
                                                          const std::string& reference) {
  std::vector<std::pair<std::string, std::int64_t>> lines;
  const CBOMGrid& bom = run.GetBOM();
  for (int row = 1; row < bom.GetLineCount(); ++row) {
    const std::string& text = bom.GetLine(row)->reference;
    if (!text.starts_with(reference)) continue;
    const std::string_view rest = CutGroupSuffix(std::string_view(text).substr(reference.size()));
    lines.emplace_back(std::string(rest), bom.GetLineQuantity(row));
  }
  return lines;
}

TEST(QMParameterTextTest, KeysAreFoundAtTheStartOfAParameterOnly) {
  struct Row {
    const char* text;
    const char* key;
    std::optional<int> value;
    int replaced;
    const char* after;
  };
  const Row rows[] = {
      {"a=5,c=7", "c=", 7, 9, "a=5,c=9"},
      {"ca=5,a=12", "a=", 12, 3, "ca=5,a=3"},
      {"QMA2500LC4B a=1200", "a=", 1200, 1012, "QMA2500LC4B a=1012"},
      {"a=-40,b=1", "a=", -40, 2, "a=2,b=1"},
      {"a=99999999999", "a=", CPartBuilderQM::kMaxCount, 1, "a=1"},
      {"a=x", "a=", 0, 4, "a=4x"},
      {"b=5", "a=", std::nullopt, 1, "b=5"},
      {"", "a=", std::nullopt, 1, ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(QMParameterValue(row.text, row.key), row.value) << row.text;
    EXPECT_EQ(WithQMParameter(row.text, row.key, row.replaced), row.after) << row.text;
  }
}

TEST(QMParameterTextTest, TheSecondGroupTakesDAndFTimesY) {
  struct Row {
    const char* text;
    const char* second;
  };
  const Row rows[] = {
      {"l=0,a=50,b=25,c=25,d=50,e=2,f=2,y=25", "l=0,a=50,b=25,c=50,d=50,e=2,f=2,y=50"},
      {"c=30,d=40,y=10", "c=40,d=40,y=10"},  // no f: one pitch
      {"c=30,d=40,f=0,y=10", "c=40,d=40,f=0,y=10"},
      {"c=30,d=40,f=3", "c=40,d=40,f=3"},  // no y to move
      {"c=30,d=40,f=99999,y=99999", "c=40,d=40,f=99999,y=10000"},
      {"a=50,c=25", ""},
      {"a=50,d=25", ""},
      {"", ""},
  };
  for (const Row& row : rows) EXPECT_EQ(SecondGroupText(row.text), row.second) << row.text;
}

// A one-sided tap-off fitting (n = 3) whose text places a second group is laid in two
// packs, 2 and 1 of the three bars a pole on a 2500 A run; other texts in one.
TEST_F(QMRunTest, TapOffFittingsSplitIntoTwoPacksWhenTheirTextPlacesThem) {
  const CProgramTexts texts;
  struct Row {
    const char* clinq;
    std::vector<std::pair<std::string, std::int64_t>> expected;
  };
  const Row rows[] = {
      {"4/0/2/0:a=50,b=25,c=25,d=50,e=2,f=2,y=25",
       {{"l=0,a=50,b=25,c=25,d=50,e=2,f=2,y=25", 8}, {"l=0,a=50,b=25,c=50,d=50,e=2,f=2,y=50", 4}}},
      {"4/120/2/0:c=30,d=45", {{"l=120,c=30,d=45", 8}, {"l=120,c=45,d=45", 4}}},
      {"4/0/2/0:a=50,b=25", {{"l=0,a=50,b=25", 12}}},
      {"4/0/2/0:c=30,d=30,y=5", {{"l=0,c=30,d=30,y=5", 12}}},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun("A", "25");
    run.SetProp("INDEXGRP", "0");
    auto unit = QMElement(run, CDev::kEnd, QMStyle(2, 1));
    unit->SetPropValue("CLINQ", row.clinq);
    CPartBuilderQM builder(run);
    builder.FinishPart(*unit, 1);
    std::vector<std::pair<std::string, std::int64_t>> lines = LinesOf(run, run.GetElementRef(151));
    for (auto& [text, quantity] : lines) text = std::string(TrimBOMBlanks(text));
    EXPECT_EQ(lines, row.expected) << row.clinq << "\n" << QGBillListing(run);
    EXPECT_EQ(unit->GetPropValue("POS2"), "02" + run.GetElementRef(151) + row.expected[0].first)
        << row.clinq;
  }
}

TEST(QMTransformerTest, ConnectionRowsByDirectionHousingAndKva) {
  struct Row {
    bool vertical;
    int height, kva;
    int kind, length;
  };
  const Row rows[] = {
      {false, 200, 800, 171, 320},  {false, 200, 1000, 172, 320}, {false, 200, 1600, 173, 320},
      {false, 200, 2000, 174, 320}, {false, 400, 1600, 171, 320}, {false, 400, 2000, 172, 370},
      {false, 400, 2500, 173, 400}, {false, 100, 2500, 171, 320}, {false, 700, 630, 174, 320},
      {true, 200, 1000, 181, 320},  {true, 200, 1600, 182, 320},  {true, 200, 3150, 183, 320},
      {true, 100, 3150, 181, 320},  {true, 400, 630, 182, 320},   {true, 618, 630, 183, 320},
  };
  for (const Row& row : rows) {
    const CQMConnectionRow connection = QMConnectionRow(row.vertical, row.height, row.kva);
    EXPECT_EQ(connection.kind, row.kind) << row.vertical << " " << row.height << " " << row.kva;
    EXPECT_EQ(connection.length, row.length) << row.height << " " << row.kva;
  }
}

// g bars a pole (a tenth of the calibre, one more, one more again for 63) in two packs;
// the neutral of a 1250 to 1600 kVA transformer on three bars a pole takes one less.
TEST(QMTransformerTest, BarsByCalibreKvaAndPoles) {
  struct Row {
    int calibre;
    bool threePoles;
    int kva;
    bool vertical;
    int first, second, secondKind;
  };
  const Row rows[] = {
      {25, false, 1600, false, 7, 4, 44},
      {25, true, 1600, false, 6, 3, 44},
      {20, false, 1250, false, 7, 4, 44},
      {25, false, 2000, false, 8, 4, 44},
      {32, false, 2000, true, 8, 8, 45},
      {63, false, 3150, false, 16, 16, 44},
      {10, true, 630, false, 3, 3, 44},
      {0, false, 630, false, 4, 0, 44},
      {INT_MAX, false, 630, false, 2004, 2000, 44},  // held to a calibre of 10,000
  };
  const CQMConnectionRow plate;
  for (const Row& row : rows) {
    const std::vector<CQMBarGroup> bars =
        TransformerBars(plate, row.calibre, row.threePoles, row.kva, row.vertical);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].kind, 43);
    EXPECT_EQ(bars[0].count, row.first) << row.calibre << " " << row.kva;
    EXPECT_EQ(bars[1].kind, row.secondKind) << row.calibre;
    EXPECT_EQ(bars[1].count, row.second) << row.calibre << " " << row.kva;
    EXPECT_EQ(bars[0].text, "l=320,a=50,b=25,c=25,d=50,e=2,f=2,y=25");
    EXPECT_EQ(bars[1].text, "l=320,a=50,b=25,c=50,d=50,e=2,f=2,y=50");
  }
}

// The connection of a 1600 kVA transformer to a 2500 A run: its accessory and its bars,
// the second pack of a connection that stands up being the longer bars; on QMC the
// plate sits 2 mm farther out.
TEST_F(QMRunTest, ATransformerConnectionAddsItsBars) {
  const CProgramTexts texts;
  struct Row {
    const char* variant;
    int direction;
    int accessory, secondKind;
    const char* firstText;
  };
  const Row rows[] = {
      {"A", 4, 171, 44, "l=320,a=50,b=25,c=25,d=50,e=2,f=2,y=25"},
      {"A", 2, 181, 45, "l=320,a=50,b=25,c=25,d=50,e=2,f=2,y=25"},
      {"C", 4, 171, 44, "l=320,a=52,b=25,c=25,d=50,e=2,f=2,y=25"},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun(row.variant, "25");
    run.SetProp("INDEXGRP", "0");
    auto unit = QMElement(run, CDev::kEnd, QMStyle(20) | (2u << 24));
    unit->SetDirection(row.direction);
    unit->SetPropValue("QWA", "5");
    CPartBuilderQM builder(run);
    builder.FinishPart(*unit, 1);
    EXPECT_EQ(LinesOf(run, run.GetElementRef(row.accessory)).size(), 1u) << QGBillListing(run);
    const auto first = LinesOf(run, run.GetElementRef(43));
    ASSERT_EQ(first.size(), 1u) << QGBillListing(run);
    EXPECT_EQ(TrimBOMBlanks(first[0].first), row.firstText);
    EXPECT_EQ(first[0].second, 7);
    const auto second = LinesOf(run, run.GetElementRef(row.secondKind));
    ASSERT_EQ(second.size(), 1u) << QGBillListing(run);
    EXPECT_EQ(second[0].second, 4);
  }
}

}  // namespace
