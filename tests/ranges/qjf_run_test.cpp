#include "qjf_test_support.h"

#include "model/element/element_selection.h"
#include "ranges/range_pages.h"

#include <algorithm>
#include <clocale>

namespace {

// The neutral digit is the neutral factor times the rating's first digit, rounded up and
// kept to one digit; earth and treatment texts go to their places, and the option flag
// marks a pattern with anything from place 9 on.
TEST_F(QJFRunTest, PatternsTakeNeutralEarthTreatmentAndOptionFlag) {
  struct Row {
    const char* rating;
    const char* neutral;
    const char* ground;
    const char* treatment;
    const char* expected;
  };
  for (const Row& row :
       {Row{"26", "0.5", " ", " ", "QJF26  1"}, Row{"26", "1", " ", " ", "QJF26  2"},
        Row{"26", "2", " ", " ", "QJF26  4"}, Row{"26", "-1", " ", " ", "QJF26  0"},
        Row{"46", "0.6", " ", " ", "QJF46  3"}, Row{"46", "9", " ", " ", "QJF46  9"},
        Row{"26", "abc", " ", " ", "QJF26  0"}, Row{"xx", "1", " ", " ", "QJFxx  0"},
        Row{"26", "1", "PE", " ", "QJF26  2 A   PE"},
        Row{"26", "1", " ", "TROPICAL-TREATMENT", "QJF26  2 A         TRO"}}) {
    CRunQJF& run = MakeRun(row.rating);
    run.SetProp("Neutral", row.neutral);
    run.SetProp("Ground", row.ground);
    run.SetProp("Treatment", row.treatment);
    std::string pattern(kRefWidth, ' ');
    run.FillRefPattern(pattern);
    EXPECT_EQ(pattern.size(), static_cast<std::size_t>(kRefWidth)) << row.expected;
    EXPECT_EQ(TrimmedRef(pattern), row.expected);
  }
  // A short pattern is filled as far as it goes.
  CRunQJF& run = MakeRun("26");
  std::string shortPattern(5, ' ');
  run.FillRefPattern(shortPattern);
  EXPECT_EQ(shortPattern, "QJF26");
}

TEST_F(QJFRunTest, FixedReferencesOfTheAccessoryKinds) {
  CRunQJF& run = MakeRun("46");
  EXPECT_EQ(TrimmedRef(run.GetElementRef(11)), "QJ046CB");
  EXPECT_EQ(TrimmedRef(run.GetElementRef(12)), "QJ046CB311571");
  EXPECT_EQ(TrimmedRef(run.GetElementRef(13)), "QJ003RT1");
  EXPECT_EQ(run.GetElementRef(13).size(), static_cast<std::size_t>(kRefWidth));
  EXPECT_EQ(run.GetElementRef(5), "");
}

TEST(QJFWildcard, SparseCodesStayInsideTheReference) {
  using namespace std::string_literals;
  struct Row {
    std::string sparse;
    std::string expected;
  };
  for (const Row& row : {Row{"\0\0\0"
                             "26"s,
                             "???26?????????????????"},
                         Row{"", std::string(22, '?')},
                         Row{"QJF"s + std::string(30, 'X'), "QJF" + std::string(19, 'X')},
                         Row{"\0A\0B"s, "?A?B??????????????????"}}) {
    const std::string made = CRunQJF::MakeWildcardRef(row.sparse);
    EXPECT_EQ(made, row.expected);
  }
}

// Feed units take the family of their entrax type (variant 5 has its own for types 3 and
// 5); a special piece of rating 14 has no part; an element without a device row neither.
TEST_F(QJFRunTest, ElementPatternsByKindVariantAndEntraxType) {
  struct Row {
    const char* rating;
    int kind, variant, entrax;
    const char* expected;
  };
  for (const Row& row :
       {Row{"26", CDev::kEnd, 3, 1, "QJF26AA2"}, Row{"26", CDev::kEnd, 3, 2, "QJF26AB2"},
        Row{"26", CDev::kEnd, 3, 3, "QJF26AC2"}, Row{"26", CDev::kEnd, 3, 4, "QJF26AD2"},
        Row{"26", CDev::kEnd, 3, 5, "QJF26AK2"}, Row{"26", CDev::kEnd, 3, 6, "QJF26AL2"},
        Row{"26", CDev::kEnd, 5, 3, "QJF26AD2"}, Row{"26", CDev::kEnd, 5, 5, "QJF26AL2"},
        Row{"26", CDev::kEnd, 3, 0, "QJF26AA2"}, Row{"26", CDev::kEnd, 1, 1, "QJF26FE2"},
        Row{"26", CDev::kJoint, 0, 0, "QJF26EA2"},
        Row{"14", CDev::kInLineVariant, 3, 0, "ZZZZZZZZZZZZZZZZ"},
        Row{"26", CDev::kInLineVariant, 3, 0, "QJF26ZZ2"},
        Row{"26", CDev::kEnd, 9, 0, "ZZZZZZZZZZZZZZZZ"},
        Row{"26", CDev::kElbow, 0, 0, "QJF26  2"}}) {
    CRunQJF& run = MakeRun(row.rating);
    CDev element(&run);
    element.SetKind(row.kind);
    element.SetStyle(static_cast<std::uint32_t>(row.variant) |
                     static_cast<std::uint32_t>(row.entrax) << 20);
    std::string pattern(kRefWidth, ' ');
    run.BuildElementPattern(element, pattern);
    EXPECT_EQ(TrimmedRef(pattern), row.expected) << row.kind << "/" << row.variant;
  }
}

// Option prices: one term per option letter, read to the first blank or to the end of a
// reference kept without its blanks.
TEST_F(QJFRunTest, OptionSuffixesOfEveryOptionLetter) {
  struct Row {
    const char* reference;
    const char* expected;  // "-": none
  };
  CRunQJF& run = MakeRun("26");
  for (const Row& row : {Row{"QJF26EA23ABC x=1", "QJF26EA23+QZQJ26_OPTION_B+QZQJ26_OPTION_C"},
                         Row{"QJF26EA23ABC", "QJF26EA23+QZQJ26_OPTION_B+QZQJ26_OPTION_C"},
                         Row{"QJ026PB22ADW", "QJ026PB22+QZQJ26_OPTION_D+QZQJ26_OPTION_W"},
                         Row{"QJF26EA23A", "QJF26EA23"}, Row{"QJF26EA23 BC", "-"},
                         Row{"QJF26EA23", "-"}, Row{"QMA26EA23ABC", "-"}, Row{"QJ", "-"}}) {
    const auto suffix = run.GetOptionSuffix(row.reference);
    EXPECT_EQ(suffix.value_or("-"), row.expected) << row.reference;
  }
}

TEST_F(QJFRunTest, PriceFormulasPutTheLengthBetweenTheOptions) {
  struct Row {
    const char* reference;
    const char* expected;
  };
  CRunQJF& run = MakeRun("26");
  for (const Row& row : {
           Row{"QJF26EA2SA2B          x=1000,2000",
               "QZQJ26_OPTION_2 + 0 * 3 + QZQJ26_OPTION_B + QJF26EA2S"},
           Row{"QJF26EA2SAB           a=1250,b=250,c=7", "0 * 1.507 + QZQJ26_OPTION_B + QJF26EA2S"},
           // Without a parameter text the parts-list row of the first nine characters
           // gives the length: LEG1 to LEG6 of the left elbow, 300 each.
           Row{"QJF26LB21AC", "0 * 2 + QZQJ26_OPTION_C + QJF26LB21"},
           Row{"QJF26EA2SA2B", "QZQJ26_OPTION_2 + 0 * 2.999 + QZQJ26_OPTION_B + QJF26EA2S"},
           Row{"QJF26EA2SA22 =x,1,2,3,4,5,6,7",
               "QZQJ26_OPTION_2 + QZQJ26_OPTION_2 + 0 * 0.015 + QJF26EA2S"},
       }) {
    EXPECT_EQ(run.GetPriceFormula(row.reference).value_or("-"), row.expected) << row.reference;
  }
  EXPECT_FALSE(run.GetPriceFormula("QJF26EA23").has_value());
  EXPECT_FALSE(run.GetPriceFormula("").has_value());
}

// The length term is written with a decimal point whatever the user's locale.
TEST_F(QJFRunTest, PriceFormulasAreWrittenInTheCLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "fr_FR.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.utf8"))
    GTEST_SKIP() << "no French locale on this machine";
  struct Restore {
    std::string name;
    ~Restore() { std::setlocale(LC_ALL, name.c_str()); }
  } restore{saved};
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  CRunQJF& run = MakeRun("26");
  EXPECT_EQ(run.GetPriceFormula("QJF26EA2SAB           x=1250,1").value_or("-"),
            "0 * 1.251 + QZQJ26_OPTION_B + QJF26EA2S");
  EXPECT_EQ(run.GetOptionSuffix("QJF26EA2SAB").value_or("-"), "QJF26EA2S+QZQJ26_OPTION_B");
}

// The flat tee is drawn as a feed box 418 mm long beside the through line, on the side
// of its branch.
TEST_F(QJFRunTest, FeedBoxesOfFlatTeesAndBoxesOfFeedUnits) {
  CRunQJF& run = LayOut(
      "run QJF 26\nstart 3\nentrax 1\ngo 4 3000\ngo 1 2000\nend 1\nfrom 1\n"
      "go 4 2000\nend 1\n");
  CDev* tee = Laid()[1];
  ASSERT_EQ(tee->GetKind(), CDev::kJunction2);
  tee->SetReference("QJ026PB2262");
  const CHousingDims dims = run.GetHousingDims(*tee);
  EXPECT_EQ(dims.length2, -418);
  EXPECT_EQ(dims.width2, 190);
  EXPECT_EQ(dims.height2, 152);
  EXPECT_EQ(dims.offset.x, -304);
  EXPECT_EQ(std::abs(dims.offset.y), 190);
  tee->SetReference("QJF26TE2X");
  EXPECT_EQ(run.GetHousingDims(*tee).length2, 0);
  // The start's feed unit of entrax type 1 takes its device-housing row.
  const CHousingDims feed = run.GetHousingDims(*Laid()[0]);
  EXPECT_EQ(feed.length, 598);
  EXPECT_EQ(feed.height2, 170);
}

// A feed unit of entrax type 1 shows its box and four outlets; without a neutral the
// fourth outlet is not drawn.
TEST_F(QJFRunTest, FeedUnitOutletsFollowTheEntraxPitch) {
  CRunQJF& run = LayOut("run QJF 26\nstart 3\nentrax 1\ngo 4 3000\nend 1\n");
  const CDev& feed = *Laid()[0];
  CElementGeometry box;
  EXPECT_EQ(run.GetElementGeometry(feed, 7, box), 0);
  EXPECT_EQ(box.extents, (std::array<std::int32_t, 3>{598, 238, 422}));
  std::vector<double> steps;
  for (int index = 10; index <= 13; ++index) {
    CElementGeometry outlet;
    EXPECT_EQ(run.GetElementGeometry(feed, index, outlet), 1);
    EXPECT_EQ(outlet.colour, 0x969696u);
    steps.push_back(outlet.offset.x - 299);
  }
  EXPECT_EQ(steps, (std::vector<double>{-186, -62, 62, 186}));
  run.SetProp("Neutral", "0");
  CElementGeometry none;
  EXPECT_EQ(run.GetElementGeometry(feed, 13, none), 0);
  EXPECT_EQ(none.extents, (std::array<std::int32_t, 3>{0, 0, 0}));
}

TEST_F(QJFRunTest, DeviceTextForASideOfAStockLength) {
  CRunQJF& run = LayOut("run QJF 26\nstart 3\ngo 4 3000\ngo 4 1000\nend 1\n");
  CDev& straight = *Laid()[1];
  struct Row {
    const char* reference;
    int side;
    const char* expected;
  };
  for (const Row& row : {Row{"QJF26EA23", 0, "QJF26EA23"}, Row{"QJF26EA23", 1, "QJF26ED23"},
                         Row{"QJF26ED23", 1, "QJF26ED23"}, Row{"QJF26EA23", 2, ""},
                         Row{"QJF26LB21", 1, ""}, Row{"QJF", 1, ""}}) {
    straight.SetReference(row.reference);
    EXPECT_EQ(run.GetDeviceTextForSide(straight, row.side), row.expected) << row.reference;
  }
  CDev& shorter = *Laid()[2];
  shorter.SetReference("QJF26EA23");
  shorter.SetStyle(shorter.GetStyle() | 0x100);
  EXPECT_EQ(run.GetDeviceTextForSide(shorter, 0), "");
}

// A feed unit whose catalogue formula names the cable box is priced from its own pattern
// with the connection mark; a unit of a family without one gets a 'Z' stem. A unit the
// catalogue has no formula for falls back on its options, and is never read past.
TEST_F(QJFRunTest, FeedUnitsPricedThroughTheirCableBox) {
  struct Row {
    int entrax;
    const char* rating;
    const char* expected;
  };
  for (const Row& row : {Row{5, "26", "+ QJF26AK 1"}, Row{6, "26", "+ QJF26AL 1"},
                         Row{6, "46", "+ ZZZZZZZZZ"}, Row{2, "26", "+ QJF26AB 1"}}) {
    CRunQJF& run = LayOut(std::string("run QJF ") + row.rating + "\nstart 3\nentrax " +
                          std::to_string(row.entrax) + "\ngo 4 3000\nend 1\n");
    CRangeTables tables = *run.GetRangeTables();
    tables.codes.push_back({{"0", "00003", "FEED-UNIT-REF", ""}});
    tables.priceFormulas.push_back({{"0", "00003", "", "QJF?6AK"}});
    run.AttachRangeTables(tables);
    CDev& feed = *Laid()[0];
    feed.SetReference("FEED-UNIT-REF");
    EXPECT_EQ(TrimmedRef(run.GetPriceFormula("FEED-UNIT-REF").value_or("-")), row.expected);
  }
  // The element is there, the catalogue has no formula for it: no cable box is read.
  CRunQJF& run = LayOut("run QJF 26\nstart 3\nentrax 1\ngo 4 3000\nend 1\n");
  Laid()[0]->SetReference("QJF26AA2120");
  EXPECT_FALSE(run.GetPriceFormula("QJF26AA2120").has_value());
  Laid()[0]->SetReference("QJF26AA21AB");
  EXPECT_EQ(run.GetPriceFormula("QJF26AA21AB").value_or("-"),
            "0 * 0 + QZQJ26_OPTION_B + QJF26AA21");
}

}  // namespace

namespace {

// The whole element selected: a feed unit shows its entrax page before its feed-unit
// page, a straight unit its riser page, an elbow its elbow page; the name page ends the
// list.
TEST_F(QJFRunTest, PagesOfTheWholeElement) {
  CRunQJF& run = LayOut("run QJF 26\nstart 3\nentrax 1\ngo 4 3000\ngo 1 2000\nend 1\n");
  const int entrax = run.GetElementPage(kFirstRangeElementSlot);
  const int name = run.GetElementPage(kSlotElementName);
  struct Row {
    CDev* element;
    int face;
    int page;  // the range's page expected, 0 for none
  };
  for (const Row& row :
       {Row{Laid()[0], CElementSelection::kWholeElement, entrax},
        Row{Laid()[1], CElementSelection::kWholeElement, run.GetElementPage(kSlotElbow)},
        Row{Laid()[0], 4, 0}}) {
    m_document->Selection().Select(row.element, row.face);
    const std::vector<int> pages = run.GetSubObjects(*row.element);
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(pages.back(), name);
    EXPECT_EQ(std::count(pages.begin(), pages.end(), name), 1);
    const bool shown = std::find(pages.begin(), pages.end(), row.page) != pages.end();
    EXPECT_EQ(shown, row.page != 0) << row.element->GetKind();
    if (row.page != entrax) continue;
    const auto feed = std::find(pages.begin(), pages.end(), run.GetElementPage(kSlotFeedUnit));
    if (feed != pages.end()) {
      EXPECT_LT(std::find(pages.begin(), pages.end(), entrax), feed);
    }
  }
  m_document->Selection().Clear();
}

}  // namespace
