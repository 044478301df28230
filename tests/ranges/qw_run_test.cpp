#include "qw_test_support.h"
#include "ranges/qw/qw_text.h"

namespace {

TEST_F(QWRunTest, DefaultReferencesOfKindsTenAndElevenFollowTheRating) {
  struct Row {
    const char* variant;
    const char* rating;
    int kind;
    const char* expected;
  };
  for (const Row& row :
       {Row{"A", "20", CDev::kJoint2, "QW031YA4"}, Row{"A", "50", CDev::kJoint2, "QW063YA4"},
        // 63 gives "80" only in QWA; QWC keeps what the pattern gave.
        Row{"A", "63", CDev::kJoint2, "QW080YA4"}, Row{"C", "63", CDev::kJoint2, "QW063YA4"},
        Row{"A", "31", CDev::kBend, "QW025YA4"}, Row{"C", "50", CDev::kBend, "QW040YA41"},
        Row{"A", "63", CDev::kBend, "QW040YA42"}, Row{"C", "63", CDev::kBend, "QW040YA41"},
        Row{"A", "80", CDev::kBend, "QW040YA42"},
        // Kinds without a catalogue row and without a rule: none.
        Row{"A", "40", CDev::kJoint, ""}}) {
    MakeRun(row.variant, row.rating);
    EXPECT_EQ(TrimmedQW(m_run->GetElementRef(row.kind)), row.expected)
        << row.variant << " " << row.rating << " kind " << row.kind;
  }
  // The neutral "7" of a double section stays "4" in these references.
  MakeRun("A", "40").SetProp("Neutral", "7");
  EXPECT_EQ(TrimmedQW(m_run->GetElementRef(CDev::kJoint2)), "QW063YA4");
}

TEST_F(QWRunTest, SpecialLengthRowsAreReadWithinBounds) {
  struct Row {
    const char* reference;
    const char* leg1;  // empty: the catalogue rows answer (none matches these)
    const char* leg2;
  };
  for (const Row& row : {Row{"QWA63EF7201500-0600", "1500-1770", "0600"},
                         Row{"QWA63EF720330-1070     ", "330-1070", "1070"},
                         // Fewer than four characters after the "-": the reference ends.
                         Row{"QWA63EF720800-7", "800-477", "7"}, Row{"QWA63EF720800-", "", ""},
                         Row{"QWA63EF7201500", "", ""}, Row{"QWA63EF720x-0600", "", ""},
                         Row{"QWA63EF7209999999999-1", "", ""}, Row{"QWA63EF7200500-0600", "", ""},
                         Row{"QWA63EF7", "", ""}}) {
    MakeRun("A", "63");
    const CPatternRow found = m_run->FindPartRow(row.reference);
    EXPECT_EQ(found.texts[1], row.leg1) << row.reference;
    EXPECT_EQ(found.texts[2], row.leg2) << row.reference;
  }
}

TEST(QWFormulaRewrite, EveryQW0TakesTheRatingClassOfItsFamily) {
  struct Row {
    const char* formula;
    int rating;
    bool qwa;
    const char* expected;
  };
  for (const Row& row :
       {Row{"QW0??ET431 QW0??JN4", 40, true, "QW063ET431 QW063JN4"},
        Row{"QW0??ER41 + QW0??ER4101", 20, true, "QW025ER41 + QW025ER4101"},
        Row{"QW0??ER41001", 50, true, "QW050ER41001"}, Row{"QW0??ER41", 50, false, "QW063ER41"},
        Row{"QW0??ER41", 63, false, "QW063ER41"},
        // "1004" turns the neutral to "7" and keeps the 63 class.
        Row{"QW0??ER41004", 63, true, "QW0??ER71004"},
        Row{"QW0??ET4 x QW0??EV3", 80, true, "QW080ET4 x QW080EV4"},
        // A "QW0" at the end has no rating characters to take; "EV3" before the sixth
        // character stays.
        Row{"EV3 QW0", 31, true, "EV3 QW0"}, Row{"QW0", 99, true, "QW0"}}) {
    std::string formula = row.formula;
    RewriteFormulaRatings(formula, row.rating, row.qwa);
    EXPECT_EQ(formula, row.expected) << row.formula;
  }
}

TEST_F(QWRunTest, OptionFormulasCountTheLengthInMetres) {
  MakeRun("A", "40");
  struct Row {
    const char* key;
    const char* price;   // "-": none
    const char* option;  // "-": none
  };
  for (const Row& row :
       {Row{"QWA40EV4M1A1 l=1500,500", "QW00_OPTION_A1 * 2 + QWA40EV4M1",
            "QWA40EV4M1+QW00_OPTION_A1"},
        Row{"QW063EF720A1 x=1", "QW00_OPTION_A1 * 2 + QW063EF720", "QW063EF720+QW00_OPTION_A1"},
        // Without parameters the legs of the row give the length.
        Row{"QW063LP4041A1 ", "QW00_OPTION_A1 * 4.7 + QW063LP4041", "QW063LP4041+QW00_OPTION_A1"},
        // The rebuild writes "A1" over the reference's last blank: at its end, or before
        // the parameters' "=".
        Row{"QW063LP4041          A1", "QW00_OPTION_A1 * 4.7 + QW063LP4041",
            "QW063LP4041+QW00_OPTION_A1"},
        Row{"QWA40EV4M1            A1=2670", "QW00_OPTION_A1 * 2.67 + QWA40EV4M1",
            "QWA40EV4M1+QW00_OPTION_A1"},
        Row{"QW063ZA1 x=5", "-", "-"}, Row{"QW063LP4041", "-", "-"},
        // "A1" inside a word is no option.
        Row{"QW063LP4041A12", "-", "-"}}) {
    const auto price = m_run->GetPriceFormula(row.key);
    const auto option = m_run->GetReferenceOptionSuffix(row.key);
    EXPECT_EQ(price.value_or("-"), row.price) << row.key;
    EXPECT_EQ(option.value_or("-"), row.option) << row.key;
  }
}

TEST_F(QWRunTest, TapTeesTakeTheirBoxFromTheHousingHeight) {
  struct Row {
    const char* rating;
    bool through;  // a neighbour on the tee's own direction
    std::int32_t length2, width2, height2, offsetZ;
  };
  for (const Row& row : {Row{"20", true, 115, 96, 50, 47}, Row{"40", false, 120, 169, 77, 74},
                         Row{"80", true, 255, 150, 120, 117}}) {
    MakeRun("A", row.rating);
    CChainBuilder chain(*m_run);
    CDev* start = chain.Start(4);
    CDev* tee = chain.Add(start, 4, CDev::kJunction2, 0, "QW031TP4092");
    if (row.through) chain.Add(tee, 4, CDev::kInLine, 1000);
    const CHousingDims dims = m_run->GetHousingDims(*tee);
    EXPECT_EQ(dims.length2, row.length2) << row.rating;
    EXPECT_EQ(dims.width2, row.width2) << row.rating;
    EXPECT_EQ(dims.height2, row.height2) << row.rating;
    EXPECT_EQ(dims.offset.z, row.offsetZ) << row.rating;
  }
}

TEST_F(QWRunTest, OutletsOfFeedUnitsFollowTheRating) {
  struct Row {
    const char* variant;
    const char* rating;
    std::int32_t height;
  };
  for (const Row& row : {Row{"A", "31", 40}, Row{"A", "50", 68}, Row{"C", "63", 68},
                         Row{"A", "63", 110}, Row{"A", "80", 110}}) {
    MakeRun(row.variant, row.rating);
    CDev* end = Lay({}, 2).front();
    CElementGeometry outlet;
    EXPECT_EQ(m_run->GetElementGeometry(*end, 12, outlet), 1);
    EXPECT_EQ(outlet.extents[2], row.height) << row.rating;
    EXPECT_EQ(outlet.offset.y, 35);
    // Other ends have no outlets, and boxes beyond them are empty.
    SetVariant(*end, 0);
    CElementGeometry none;
    none.extents = {1, 1, 1};
    EXPECT_EQ(m_run->GetElementGeometry(*end, 12, none), 0);
    EXPECT_EQ(none.extents, (std::array<std::int32_t, 3>{0, 0, 0}));
  }
}

// The plug-in unit of a feed unit with outlets stands its own half length and 10 off the
// feed unit's plate, whatever the feed unit's own length.
TEST_F(QWRunTest, PlugInUnitsStandOffThePlateByTheirOwnHalfLength) {
  struct Row {
    int direction;
    int rotation;
    std::array<std::int32_t, 3> extents;
    C3DPoint offset;
  };
  for (const Row& row : {Row{4, 16, {200, 450, 600}, C3DPoint(110, 0, -205)},
                         Row{4, 64, {200, 450, 600}, C3DPoint(110, 0, 205)},
                         Row{1, 16, {200, 450, 600}, C3DPoint(110, 0, -205)},
                         Row{2, 16, {600, 450, 200}, C3DPoint(310, 0, 0)},
                         Row{3, 16, {600, 450, 200}, C3DPoint(310, 0, 0)}}) {
    MakeRun("A", "80");
    CDev* end = Lay({}, 2).front();
    end->SetStyle(end->GetStyle() | (1u << 28));
    end->SetDirection(row.direction);
    end->SetRotation(row.rotation);
    end->SetDrawnLength(3000);
    CElementGeometry unit;
    EXPECT_EQ(m_run->GetElementGeometry(*end, 8, unit), 3) << row.direction;
    EXPECT_EQ(unit.extents, row.extents) << row.direction;
    EXPECT_EQ(unit.offset.x, row.offset.x) << row.direction;
    EXPECT_EQ(unit.offset.y, row.offset.y) << row.direction;
    EXPECT_EQ(unit.offset.z, row.offset.z) << row.direction << " " << row.rotation;
  }
}

// The elbow page of an edgewise elbow (or one without an exit) offers only 90 degrees.
TEST_F(QWRunTest, ElbowPagesOfEdgewiseElbowsOfferOnlyTheRightAngle) {
  struct Row {
    const char* step;
    int word;
  };
  for (const Row& row : {Row{"L1", 0}, Row{"L5", 0}, Row{"L2", 1}, Row{"L3", 1}}) {
    MakeRun("A", "40");
    const std::vector<CDev*> chain = Lay({"S1000", row.step, "S1000", "E"});
    const int elbowPage = m_run->GetElementPage(kSlotElbow);
    EXPECT_EQ(m_run->GetPageWord(*chain[2], elbowPage), row.word) << row.step;
    EXPECT_EQ(m_run->GetPageWord(*chain[1], elbowPage), 0) << row.step;
  }
  MakeRun("A", "40");
  CDev* lonely = Lay({"S1000", "L1"}).back();
  EXPECT_EQ(m_run->GetPageWord(*lonely, m_run->GetElementPage(kSlotElbow)), 1);
}

}  // namespace
