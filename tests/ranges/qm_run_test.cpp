#include "qm_test_support.h"

#include "model/element/element_selection.h"
#include "model/props/page_kinds.h"
#include "ranges/range_pages.h"

#include <vector>

namespace {

// The device patterns of the sample catalogue over the run's code, rating and neutral,
// with the connection digit at place 9 of the connection units.
TEST_F(QMRunTest, ElementReferencesByKindVariantAndRating) {
  constexpr std::uint32_t kBit12 = 1u << 12;
  struct Row {
    const char* variant;
    const char* rating;
    const char* neutral;
    int kind;
    std::uint32_t style;
    const char* entrax;
    const char* expected;
  };
  const Row rows[] = {
      {"A", "25", "4", CDev::kStraight, QMStyle(0), "", "QMA25ED4"},
      {"A", "16", "8", CDev::kStraight, QMStyle(0), "", "QMA16ED6"},  // 8 written as 6
      {"C", "32", "7", CDev::kStraight, QMStyle(0), "", "QMC32ED7"},
      {"A", "25", "4", CDev::kEnd, QMStyle(1), "", "QMA25FE41"},
      {"A", "25", "4", CDev::kEnd, QMStyle(2, 1), "", "QMA25ER41"},
      {"A", "25", "4", CDev::kEnd, QMStyle(2, 1), "120", "QMA25ER42"},
      {"C", "32", "4", CDev::kEnd, QMStyle(3, 1), "", "QMC32ER42"},  // variant 3: always 2
      {"A", "20", "4", CDev::kEnd, QMStyle(2, 2), "", "QMA20ER47"},
      {"C", "25", "4", CDev::kEnd, QMStyle(5, 2), "", "QMC25EC47"},
      {"A", "25", "4", CDev::kEnd, QMStyle(2, 0), "", "QMA25ER41"},  // no mode: the row's
      {"C", "32", "7", CDev::kEnd, QMStyle(6, 2), "", "QMC32EL74"},
      {"C", "32", "7", CDev::kEnd, QMStyle(6, 2, kBit12), "", "QMC32EL73"},
      {"C", "32", "7", CDev::kEnd, QMStyle(6, 3), "", "QMC32EL75"},
      {"A", "25", "4", CDev::kEnd, QMStyle(4), "", "QMA25AB44"},
      {"A", "25", "6", CDev::kEnd, QMStyle(9), "", "QMA25AB69"},
      {"A", "25", "4", CDev::kEnd, QMStyle(10), "", "QMA25EF42"},  // free behind
      {"A", "25", "4", CDev::kInLineVariant, QMStyle(3), "", "QMA25EF43"},
      {"A", "25", "4", CDev::kInLine, QMStyle(12), "", "QMA25DL4"},
      // Elbows and junctions take the code, rating and neutral only.
      {"A", "25", "4", CDev::kElbow, QMStyle(0), "", "QMA25  4"},
      {"C", "40", "5", CDev::kJunction2, QMStyle(0), "", "QMC40  5"},
      // No row of the kind and variant (QMC leaves the end cabinet out).
      {"C", "25", "4", CDev::kEnd, QMStyle(9), "", "ZZZZZZZZZZZZZZZZ"},
      {"A", "25", "4", CDev::kInLineVariant, QMStyle(42), "", "ZZZZZZZZZZZZZZZZ"},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun(row.variant, row.rating, row.neutral);
    auto element = QMElement(run, row.kind, row.style);
    element->SetPropValue("ENTRAX", row.entrax);
    std::string reference(kRefWidth, ' ');
    run.ApplyRefPattern(*element, reference);
    EXPECT_EQ(reference, QMPadded(row.expected))
        << row.variant << row.rating << " kind " << row.kind << " style " << row.style;
  }
}

// A special connection unit in mode 1 is fed from the side its orientation gives; the
// twin ratings turn only on edge.
TEST_F(QMRunTest, SpecialConnectionDigitFollowsItsOrientation) {
  constexpr std::uint32_t kBit12 = 1u << 12;
  struct Row {
    const char* rating;
    int direction;
    int rotation;
    bool ahead;  // a neighbour on the direction face
    std::uint32_t bits;
    char expected;
  };
  const Row rows[] = {
      {"32", 4, 16, false, 0, '2'},       {"32", 4, 64, false, 0, '1'},
      {"32", 4, 64, true, 0, '2'},        {"32", 4, 16, true, 0, '1'},
      {"32", 4, 128, false, 0, '2'},      {"32", 2, 16, false, 0, '1'},
      {"32", 2, 16, false, kBit12, '2'},  {"32", 4, 16, false, kBit12, '2'},
      {"32", 4, 32, false, kBit12, '2'},  {"63", 4, 128, false, 0, '2'},
      {"63", 4, 16, false, 0, '1'},       {"63", 4, 16, false, kBit12, '2'},
      {"63", 4, 128, false, kBit12, '2'},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun("C", row.rating);
    auto unit = QMElement(run, CDev::kEnd, QMStyle(6, 1, row.bits));
    auto next = QMElement(run, CDev::kStraight, 0);
    unit->SetDirection(row.direction);
    unit->SetRotation(row.rotation);
    if (row.ahead) unit->SetNeighbour(row.direction, next.get());
    std::string reference(kRefWidth, ' ');
    run.ApplyRefPattern(*unit, reference);
    EXPECT_EQ(reference[8], row.expected) << row.rating << " " << row.direction << "/"
                                          << row.rotation << " " << row.ahead << " " << row.bits;
    unit->SetNeighbour(row.direction, nullptr);
  }
}

// The part builder took every rating 63 for a twin run, a QMA 63 run too.
TEST_F(QMRunTest, OnlyQmc63AndQma50AreBuiltAsTwins) {
  const struct {
    const char* variant;
    const char* rating;
    bool runRules;  // the run class's own rules
    bool builder;   // the part builder's flag
  } rows[] = {
      {"C", "63", true, true},   {"A", "50", true, true},   {"A", "63", true, false},
      {"C", "50", false, false}, {"A", "25", false, false},
  };
  for (const auto& row : rows) {
    const CRunQM& run = MakeRun(row.variant, row.rating);
    EXPECT_EQ(run.IsTwinRating(), row.runRules) << row.variant << row.rating;
    EXPECT_EQ(run.IsBuiltAsTwin(), row.builder) << row.variant << row.rating;
  }
}

TEST_F(QMRunTest, FlatEndDigitFollowsTheNeighbourBehind) {
  CRunQM& run = MakeRun("A", "25");
  auto end = QMElement(run, CDev::kEnd, QMStyle(10));
  auto behind = QMElement(run, CDev::kStraight, 0);
  struct Row {
    int direction;
    bool linked;
    char expected;
  };
  for (const Row& row : {Row{4, false, '2'}, Row{4, true, '1'}, Row{2, false, '1'},
                         Row{2, true, '2'}, Row{3, true, '1'}}) {
    end->SetDirection(row.direction);
    end->SetNeighbour(end->GetBackFace(), row.linked ? behind.get() : nullptr);
    std::string reference(kRefWidth, ' ');
    run.ApplyRefPattern(*end, reference);
    EXPECT_EQ(reference[8], row.expected) << row.direction << row.linked;
    end->SetNeighbour(end->GetBackFace(), nullptr);
  }
}

TEST_F(QMRunTest, AccessoryReferencesByCodeAndHousingSize) {
  struct Row {
    const char* variant;
    const char* rating;
    int code;
    const char* expected;
  };
  const Row rows[] = {
      // QMA 25: housing value 200.
      {"A", "25", 4, "QMB0404ZA4"},
      {"A", "25", 5, "QMB0200ZA52"},
      {"A", "25", 7, "QMB0000ZA7"},
      {"A", "25", 10, "QMA2500YA4"},
      {"A", "25", 12, "QMB0350BC01"},
      {"A", "25", 13, "QMB0350CR1"},
      {"A", "25", 16, "QMB0350CR3"},
      {"A", "25", 17, "QMB0000CR5"},
      {"A", "25", 19, "QMB0350CR6"},
      {"A", "25", 20, "QMB0200TT01"},
      {"A", "25", 23, "QMB0000YC3"},
      {"A", "25", 31, "QMB0000YT1"},
      {"A", "25", 41, "QMB0000YE2"},
      {"A", "25", 46, "QMB0000YB6"},
      {"A", "25", 52, "QMB0000YS2"},
      {"A", "25", 62, "QMB0350CS0"},
      {"A", "25", 71, "QMB0164PE1"},
      {"A", "25", 73, "QMB0404PE1"},
      {"A", "25", 80, "QMB08CF7"},
      {"A", "25", 81, "QMB0000SC1"},
      {"A", "25", 85, "QMA2500GS1"},
      {"A", "25", 91, "QMB0350HT01"},
      {"A", "25", 96, "QMB0350HT06"},
      {"A", "25", 141, "QMB0100YC105B"},
      {"A", "25", 152, "QMB0120YC305B"},
      {"A", "25", 163, "QMB0100YC50510B"},
      {"A", "25", 164, "QMB0100YC50506B"},
      {"A", "25", 172, "QMB0350CR72"},
      {"A", "25", 183, "QMB0350CR83"},
      {"A", "25", 193, "QMB0000YP13"},
      {"A", "25", 205, "QMB0000YP25"},
      {"A", "25", 100, "QJB00AD"},
      // Small housings: the 74 size, at least 164, base 230 raised to 350 for covers.
      {"A", "08", 4, "QMB0074ZA4"},
      {"A", "08", 5, "QMB0164ZA52"},
      {"A", "08", 12, "QMB0230BC01"},
      {"A", "08", 91, "QMB0350HT01"},
      {"A", "16", 5, "QMB0164ZA52"},
      // Large housings: 510 above 244, 726 for the 618 housing of 63.
      {"C", "40", 12, "QMB0510BC01"},
      {"C", "40", 80, "QMB08CF9"},
      {"C", "63", 12, "QMB0726BC01"},
      {"C", "63", 17, "QMB0001CR5"},
      {"C", "63", 20, "QMB0622TT01"},
      {"C", "63", 10, "QMC6300YA4"},
      {"C", "63", 5, ""},  // no such accessory on the 618 housing
      {"A", "25", 3, ""},
      {"A", "25", 999, ""},
      {"A", "25", -4, ""},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun(row.variant, row.rating);
    const std::string expected = *row.expected == '\0' ? "" : QMPadded(row.expected);
    EXPECT_EQ(run.GetElementRef(row.code), expected)
        << row.variant << row.rating << " " << row.code;
  }
}

// A reference of the code table's accessory rows is written in amperes; fixings of the
// small housings take the 164 size, those of the 618 housing the 244 size.
TEST_F(QMRunTest, AccessoriesOfTheCodeTableAreWrittenInAmperes) {
  struct Row {
    const char* variant;
    const char* rating;
    int code;
    const char* expected;
  };
  const Row rows[] = {{"A", "25", 1, "QMA2500FX41"}, {"A", "08", 1, "QMA0164FX41"},
                      {"C", "63", 1, "QMC0244FX41"}, {"A", "50", 2, "QMA2500FX42"},
                      {"C", "63", 2, "QMC3200FX42"}, {"A", "25", 3, "QMB0200TT02"}};
  for (const Row& row : rows) {
    // The tables outlive the run that reads them.
    CRangeTables tables;
    auto run = std::make_unique<CRunQM>(row.variant, nullptr);
    tables = *run->GetRangeTables();
    tables.codes.push_back({{"80", "1", "Fixing", "?????FX?1"}});
    tables.codes.push_back({{"80", "2", "Fixing", "?????FX?2"}});
    tables.codes.push_back({{"80", "3", "Tray", "??B??TT02"}});
    run->AttachRangeTables(tables);
    run->SetProp("Calibre", row.rating);
    EXPECT_EQ(run->GetElementRef(row.code), QMPadded(row.expected))
        << row.rating << " " << row.code;
  }
}

TEST_F(QMRunTest, GreyRunsMarkTheColouredAccessories) {
  struct Row {
    const char* neutral;
    const char* ral;
    int code;
    const char* expected;
  };
  const Row rows[] = {
      {"4", "7035", 10, "QMA2500YA4G"},  {"3", "7035", 10, "QMA2500YA3"},
      {"5", "7035", 10, "QMA2500YA5G"},  {"6", "7035", 10, "QMA2500YA4G"},  // 6 becomes 4
      {"4", "9005", 10, "QMA2500YA4"},   {"4", "7035", 93, "QMB0350HT03G"},
      {"7", "7035", 94, "QMB0350HT14G"}, {"4", "7035", 91, "QMB0350HT01"},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun("A", "25", row.neutral);
    run.SetProp("RAL", row.ral);
    EXPECT_EQ(run.GetElementRef(row.code), QMPadded(row.expected)) << row.neutral << row.code;
  }
}

TEST_F(QMRunTest, RatingReferencesExpandToAmperes) {
  struct Row {
    const char* rating;
    const char* text;
    bool converted;
    const char* expected;
  };
  const Row rows[] = {
      {"25", "QMA25ED4", true, "QMA2500ED4"},   {"25", "QMC13YA4", true, "QMC1350YA4"},
      {"25", "QMA08ED4", true, "QMA0800ED4"},   {"25", "QMA12ED4", true, "QMA1250ED4"},
      {"25", "QMC63ED4", true, "QMC6300ED4"},   {"25", "QMA05ED4", false, "QMA05ED4"},
      {"25", "QMA99ED4", false, "QMA99ED4"},    {"25", "QMA2500ED4", false, "QMA2500ED4"},
      {"25", "QMD25ED4", false, "QMD25ED4"},    {"25", "QMA2", false, "QMA2"},
      {"25", "QMAx5", false, "QMAx5"},          {"25", "QMB25TT01", true, "QMB0200TT01"},
      {"63", "QMB25TT01", true, "QMB0622TT01"},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun("A", row.rating);
    std::string text = row.text;
    EXPECT_EQ(run.ExpandRatingRef(text), row.converted) << row.text;
    EXPECT_EQ(text, row.expected) << row.text;
  }
}

TEST_F(QMRunTest, QmaPriceFormulasNameTheRatingOfTheOtherLine) {
  // The name of the tap-off box is the English file's.
  const CProgramTexts texts;
  struct Row {
    const char* variant;
    const char* rating;
    const char* expected;
  };
  // The second word takes the pattern, rating and neutral, where it has "?".
  const Row rows[] = {{"A", "25", "QM032EC41 QMB05  YA"},
                      {"A", "08", "QM010EC41 QMB08  YA"},
                      {"A", "63", "QM063EC41 QMB03  YA"},  // no code for 63: unchanged
                      {"C", "25", "QM025EC41 QMB05  YA"}};
  for (const Row& row : rows) {
    CRunQM& run = MakeRun(row.variant, row.rating);
    EXPECT_EQ(run.GetPriceFormula("Tap-off box").value_or("none"), row.expected) << row.rating;
  }
}

}  // namespace

namespace {

// The whole element: the common pages, then the range's pages by kind and variant, the
// element name page last.
TEST_F(QMRunTest, PagesOfTheWholeElement) {
  CRunQM& run = MakeRun("A", "25");
  const auto page = [&run](int slot) { return run.GetElementPage(slot); };
  const int shape = kFirstRangeElementSlot;
  struct Row {
    int kind;
    int variant;
    std::vector<int> added;
    int wordPage;  // a page whose page word is asked, -1 none
    int word;
  };
  const Row rows[] = {
      {CDev::kEnd, 2, {shape, shape + 3, shape + 2, kSlotPhaseOrder}, -1, 0},
      {CDev::kEnd, 7, {shape + 4, kSlotPhaseOrder}, -1, 0},
      {CDev::kEnd, 4, {kSlotPhaseOrder}, -1, 0},
      {CDev::kInLineVariant, 6, {kSlotLength}, kSlotLength, 6},
      {CDev::kInLine, 12, {shape + 1}, -1, 0},
      {CDev::kElbow, 0, {kSlotElbow}, kSlotElbow, 1},  // turns no flat way
      {CDev::kStraight, 0, {}, -1, 0},
  };
  for (const Row& row : rows) {
    auto element = QMElement(run, row.kind, QMStyle(row.variant));
    CElementSelection::Of(*element).Select(element.get(), CElementSelection::kWholeElement);
    std::vector<int> expected;
    for (const int base : run.CRun::GetSubObjects(*element))
      if (base != page(kSlotElementName)) expected.push_back(base);
    for (const int slot : row.added) expected.push_back(page(slot));
    expected.push_back(page(kSlotElementName));
    EXPECT_EQ(run.GetSubObjects(*element), expected) << row.kind << "/" << row.variant;
    if (row.wordPage >= 0) {
      EXPECT_EQ(run.GetPageWord(*element, page(row.wordPage)), row.word) << row.kind;
    }
    CElementSelection::Of(*element).Clear();
    EXPECT_EQ(run.GetPageWord(*element, page(row.wordPage >= 0 ? row.wordPage : 0)), 0);
  }
}

}  // namespace

namespace {

// The price update names the options of a priced length record from the catalogue's
// formula of it; on QMA that is the formula before its "QM0" rating codes are written.
TEST_F(QMRunTest, OptionsOfAPricedReferenceAreItsCatalogueFormula) {
  for (const char* variant : {"A", "C"}) {
    CRunQM& run = MakeRun(variant, "25");
    run.AddLengthToBOM("25", 3000, 0);
    ASSERT_FALSE(run.GetLengthRecords().empty());
    const std::string reference = run.GetLengthRecords().back()->GetReference();
    const std::optional<std::string> formula = run.CRun::GetPriceFormula(reference);
    ASSERT_TRUE(formula.has_value()) << reference;
    EXPECT_EQ(run.GetReferenceOptionSuffix(reference), formula) << variant;
    EXPECT_EQ(run.GetReferenceOptionSuffix("QMA2500XX4"), std::nullopt);
  }
}

}  // namespace
