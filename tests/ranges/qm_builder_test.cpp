#include "qg_listing.h"
#include "qm_test_support.h"

#include "ranges/qm/part_builder_qm.h"

#include <algorithm>
#include <map>

namespace {

constexpr const char* kTurningRun =
    "run QMA 25\nstart 1\ngo 4 7800\ngo 5 2000\ngo 4 3000\nend 2\nentrax 1\n";

int QuantityOf(const CRun& run, std::string_view start) {
  const CBOMGrid& bom = run.GetBOM();
  int quantity = 0;
  for (int row = 1; row < bom.GetLineCount(); ++row) {
    if (bom.GetLine(row)->reference.starts_with(start)) quantity += bom.GetLineQuantity(row);
  }
  return quantity;
}

TEST(QMThermalCountsTest, CountsFollowTheTextOrTheJoints) {
  struct Row {
    const char* text;
    int joints;
    bool twin;
    CThermalCounts expected;
  };
  const Row rows[] = {
      {"1", 25, false, {25, 2, 1}},
      {"1", 25, true, {50, 3, 1}},
      {"1/7/7/7", 0, false, {0, 0, 0}},  // worked out from no joints
      {"2/5/3/1", 40, false, {5, 3, 1}},
      {"0/5/3/1", 40, false, {0, 0, 0}},
      {"2/99999999999/4", 0, false, {CPartBuilderQM::kMaxCount, 4, 0}},
      {"2/-4/x/", 0, false, {0, 0, 0}},
      {"", 30, false, {0, 0, 0}},
      {"1", 1000000, true, {CPartBuilderQM::kMaxCount, 500, 63}},
  };
  for (const Row& row : rows) {
    const CThermalCounts counts = ThermalCounts(row.text, row.joints, row.twin);
    EXPECT_EQ(counts.first, row.expected.first) << row.text;
    EXPECT_EQ(counts.second, row.expected.second) << row.text;
    EXPECT_EQ(counts.third, row.expected.third) << row.text;
  }
}

TEST(QMClinqTest, StoredTextsAreReadWithBounds) {
  struct Row {
    const char* text;
    int n, p1, p2, p3;
    const char* parameters;
  };
  const Row rows[] = {
      {"4/0/0/0", 3, 0, 0, 0, ""},
      {"4/600/2/1:a=5,b=6", 3, 600, 2, 1, "a=5,b=6"},
      {"", -1, 0, 0, 0, ""},
      {"7", 6, 0, 0, 0, ""},
      {"99999999999/88888888888", CPartBuilderQM::kMaxCount - 1, CPartBuilderQM::kMaxCount, 0, 0,
       ""},
      {"x/y/z:", -1, 0, 0, 0, ""},
  };
  for (const Row& row : rows) {
    const CQMClinqValues values = ReadQMClinq(row.text);
    EXPECT_EQ(values.n, row.n) << row.text;
    EXPECT_EQ(values.p1, row.p1) << row.text;
    EXPECT_EQ(values.p2, row.p2) << row.text;
    EXPECT_EQ(values.p3, row.p3) << row.text;
    EXPECT_EQ(values.parameters, row.parameters) << row.text;
  }
}

TEST(QMSupportTextTest, StraightsTakeTheirSupportsByFaceAndLength) {
  struct Row {
    const char* family;
    int d;
    std::int64_t length;
    bool onSide;
    const char* expected;
    int supports;
  };
  const Row rows[] = {
      {"ET", 4, 3000, false, "4:300/4:1500/4:2700", 3},
      {"ED", 4, 2000, false, "4:300/4:1700", 2},
      {"ED", 4, 600, false, "4:300", 1},
      {"ED", 4, 3600, true, "4:1200/4:2400", 2},
      {"ED", 4, 3000, true, "4:1500", 1},
      {"ED", 2, 2500, false, "2:1800", 1},
      {"ED", 3, 2500, false, "3:700", 1},
      {"ED", 2, 1500, false, "", 0},
      {"TN", 2, 2500, false, "", 0},
      {"LP", 4, 3000, false, "", 0},
  };
  for (const Row& row : rows) {
    const std::string text = StraightSupportText(row.family, row.d, row.length, row.onSide);
    EXPECT_EQ(text, row.expected) << row.family << " " << row.length;
    EXPECT_EQ(CountQMSupports(text, row.family), row.supports) << text;
  }
  EXPECT_EQ(CountQMSupports("4:300/4:600", "ZP"), 1);
}

// Legs measured to the corner; the housing's second value 200 and third 130 shorten the
// legs of a flat elbow by 100 and of an edgewise one by 65.
TEST(QMSupportTextTest, ElbowsTakeTheirSupportsByTheirLegs) {
  struct Row {
    const char* family;
    int d, e;
    std::int64_t first, second;
    int w3;
    const char* expected;
    int supports;
  };
  const Row rows[] = {
      {"LC", 4, 3, 1000, 500, 130, "4:835", 1},
      {"LC", 4, 3, 400, 500, 130, "43:0", 1},
      {"LC", 2, 4, 1000, 1000, 130, "24:165", 1},
      {"LC", 4, 2, 1000, 1000, 130, "42:0", 1},
      {"LC", 4, 1, 2000, 1000, 130, "41:0/4:300/41:700", 3},
      {"LC", 4, 1, 300, 1000, 130, "41:0/41:700", 2},
      {"LC", 4, 1, 300, 300, 130, "", 0},
      {"LC", 4, 1, 300, 300, 210, "41:0", 1},
      {"LP", 4, 3, 1000, 500, 130, "4:870/4:300", 2},
      {"LP", 4, 3, 450, 500, 130, "4:320", 1},
      {"LP", 2, 4, 500, 1000, 130, "24:130/24:700", 2},
      {"LP", 2, 4, 500, 450, 130, "24:130", 1},
      {"LP", 4, 2, 1000, 500, 130, "42:0/4:300", 2},
      {"LP", 3, 4, 500, 1000, 130, "34:0/34:700", 2},
      {"LP", 4, 5, 2000, 2000, 130, "4:1800/45:200", 2},
      {"LP", 4, 5, 500, 1000, 130, "45:200", 1},
      {"LP", 4, 5, 400, 400, 130, "", 0},
      {"LP", 4, 5, 500, 500, 130, "45:0", 1},
      {"ED", 4, 5, 2000, 2000, 130, "", 0},
  };
  for (const Row& row : rows) {
    const std::string text =
        ElbowSupportText(row.family, {row.d, row.e, row.first, row.second, 200, row.w3});
    EXPECT_EQ(text, row.expected) << row.family << " " << row.d << row.e << " " << row.first;
    EXPECT_EQ(CountQMSupports(text, row.family), row.supports) << text;
  }
}

TEST(QMSupportTextTest, FittingsTakeTheirSupportsAtFixedPlaces) {
  EXPECT_EQ(FittingSupportText("SL", 4), "4:650/4:1350");
  EXPECT_EQ(FittingSupportText("PL", 1), "1:650/1:1350");
  EXPECT_EQ(FittingSupportText("RL", 5), "5:650/5:1350");
  EXPECT_EQ(FittingSupportText("DB", 0), "0:300");
  EXPECT_EQ(FittingSupportText("DB", 2), "");
  EXPECT_EQ(FittingSupportText("SL", 3), "");
  EXPECT_EQ(FittingSupportText("ED", 4), "");
}

TEST_F(QMRunTest, ARunRebuildsIntoStraightsElbowsAndItsFeedUnit) {
  const CProgramTexts texts;
  CRunQM& run = LayOut(kTurningRun);
  ASSERT_EQ(run.RebuildParts(0), 1);
  EXPECT_EQ(run.GetPartsState(), 2);
  EXPECT_EQ(QuantityOf(run, "QMA2500FE41"), 1);
  EXPECT_EQ(QuantityOf(run, "QMA2500ED4302"), 1);
  EXPECT_EQ(QuantityOf(run, "QMA2500ED4203"), 1);
  EXPECT_EQ(QuantityOf(run, "QMA2500ED4SM3"), 3);
  EXPECT_EQ(QuantityOf(run, "QMA2500LP4A"), 2);
  EXPECT_EQ(QuantityOf(run, "QMA2500ER41"), 1);
  // The end cover (a variant-1 unit) balances the run: no end accessory.
  EXPECT_EQ(QuantityOf(run, run.GetElementRef(10)), 0) << QGBillListing(run);
  EXPECT_NE(run.GetPropText("SUPP"), "0");
}

TEST_F(QMRunTest, RebuildingARunTwiceGivesTheSameBill) {
  const CProgramTexts texts;
  CRunQM& run = LayOut(std::string(kTurningRun) + "prop THERMAL 1\n");
  ASSERT_EQ(run.RebuildParts(0), 1);
  const std::string first = QGSampleListing(run);
  ASSERT_EQ(run.RebuildParts(0), 1);
  EXPECT_EQ(QGSampleListing(run), first);
}

TEST_F(QMRunTest, ThermalAccessoriesCountTheJointsOfEveryPass) {
  const CProgramTexts texts;
  CRunQM& run = LayOut(std::string(kTurningRun) + "prop THERMAL 1\n");
  ASSERT_EQ(run.RebuildParts(0), 1);
  const int joints = QuantityOf(run, run.GetElementRef(130));
  EXPECT_GT(joints, 0) << QGBillListing(run);
  EXPECT_EQ(QuantityOf(run, run.GetElementRef(131)), (2 * joints + 39) / 40);
  // A second build counts afresh rather than on top of the first.
  ASSERT_EQ(run.RebuildParts(0), 1);
  EXPECT_EQ(QuantityOf(run, run.GetElementRef(130)), joints);
}

TEST_F(QMRunTest, EachBuilderStartsItsCandidateChoiceAfresh) {
  CRunQM& run = MakeRun("A", "25");
  const CSegment segment(3);
  for (int round = 0; round < 2; ++round) {
    CPartBuilderQM builder(run);
    EXPECT_EQ(builder.GetLastCandidate(), 0);
    EXPECT_EQ(builder.SelectCandidate(segment, 0), 2);
    EXPECT_EQ(builder.SelectCandidate(segment, 0), 0);
  }
}

TEST_F(QMRunTest, ThePassEndsAfterTheLastElementItIsGiven) {
  CRunQM& run = MakeRun("A", "25");
  run.SetProp("THERMAL", "2/3/0/0");
  CPartBuilderQM builder(run);
  // No element reaches the second pass: its end still adds the run's accessories.
  builder.FinishSecondPass();
  EXPECT_EQ(QuantityOf(run, run.GetElementRef(10)), 1);
  EXPECT_EQ(QuantityOf(run, run.GetElementRef(130)), 3);
}

TEST_F(QMRunTest, ATransformerConnectionOfAnotherSizeIsToldToTheUser) {
  struct Row {
    const char* qwa;
    bool told;
  };
  for (const Row row : {Row{"1", true}, Row{"5", false}, Row{"4", false}, Row{"junk", false}}) {
    messages.clear();
    CRunQM& run = MakeRun("A", "25");
    auto unit = QMElement(run, CDev::kEnd, QMStyle(20) | (2u << 24));
    unit->SetPropValue("QWA", row.qwa);
    CPartBuilderQM builder(run);
    builder.FinishPart(*unit, 1);
    const bool told = std::any_of(messages.begin(), messages.end(), [](const auto& m) {
      return m.first == CPartBuilderQM::kTransformerMessage && m.second == "2500";
    });
    EXPECT_EQ(told, row.told) << row.qwa;
  }
}

TEST_F(QMRunTest, AQMCPackageOnA5000ARunIsToldOnce) {
  CRunQM& run = MakeRun("C", "50");
  auto package = QMElement(run, CDev::kEnd, QMStyle(0) | (2u << 24));
  package->SetReference("QMPackage");
  CPartBuilderQM builder(run);
  builder.FinishPart(*package, 1);
  EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                          [](const auto& m) { return m.first == CPartBuilderQM::kPackageMessage; }),
            1);
  EXPECT_EQ(package->GetPropValue("NEEDREF"), "Pelmar4P7");
}

TEST_F(QMRunTest, FeedGroupsFollowIndexGrp) {
  struct Row {
    const char* indexGroup;
    int counter;
    const char* suffix;
  };
  for (const Row row : {Row{"", 1, " \nGroup=1"}, Row{"3", 1, " \nGroup=1"}, Row{"0", 0, ""},
                        Row{"-2", 0, ""}, Row{"99999999999", 1, " \nGroup=1"}}) {
    CRunQM& run = MakeRun("A", "25");
    run.SetProp("INDEXGRP", row.indexGroup);
    auto unit = QMElement(run, CDev::kEnd, QMStyle(5));
    CPartBuilderQM builder(run);
    builder.FinishPart(*unit, 1);
    EXPECT_EQ(builder.GetGroupCounter(), row.counter) << row.indexGroup;
    EXPECT_EQ(unit->GetPropValue("POS1"), "07" + run.GetElementRef(12) + row.suffix)
        << row.indexGroup;
  }
}

TEST_F(QMRunTest, CoversFollowCapot) {
  struct Row {
    const char* capot;
    int kind;  // 0: no cover
    const char* kept;
  };
  for (const Row row : {Row{"16", 0, ""}, Row{"17", 0, ""}, Row{"18", 0, "18"}, Row{"20", 62, "20"},
                        Row{"12", 16, "12"}, Row{"x9", 0, "x9"}}) {
    CRunQM& run = MakeRun("A", "25");
    run.SetProp("INDEXGRP", "0");
    auto unit = QMElement(run, CDev::kEnd, QMStyle(2, 1));
    unit->SetPropValue("CAPOT", row.capot);
    CPartBuilderQM builder(run);
    builder.FinishPart(*unit, 1);
    EXPECT_EQ(unit->GetPropValue("CAPOT"), row.kept) << row.capot;
    const std::string pos1 = unit->GetPropValue("POS1");
    if (row.kind == 0) {
      EXPECT_EQ(pos1, "") << row.capot;
    } else {
      EXPECT_TRUE(pos1.starts_with("03" + run.GetElementRef(row.kind))) << row.capot << pos1;
    }
  }
}

}  // namespace

// An end piece's parameters come from where its element first stands among the segments
// (an elbow ends one segment and starts the next), for the segments made last.
TEST_F(QMRunTest, AnEndPieceTakesItsParametersFromWhereItsElementFirstStands) {
  CRunQM& run = LayOut(kTurningRun);
  CPartBuilderQM builder(run);
  for (int collection = 0; collection < 2; ++collection) {
    builder.CollectSegments();
    const std::vector<CSegment>& segments = builder.GetSegments();
    ASSERT_GE(segments.size(), 2u);
    // Where each element stands first; a later place loses its way in, so that it would
    // answer otherwise.
    std::map<const CDev*, const CSegmentEntry*> firsts;
    int shared = 0;
    for (std::size_t s = 0; s < segments.size(); ++s) {
      for (std::size_t e = 0; e < segments[s].size(); ++e) {
        if (firsts.try_emplace(segments[s][e].element, &segments[s][e]).second) continue;
        builder.SegmentAt(static_cast<int>(s))[e].inFace = -1;
        ++shared;
      }
    }
    EXPECT_GT(shared, 0) << "no element stands in two segments";
    for (const auto& [element, first] : firsts) {
      CPlannedPart part;
      part.element = const_cast<CDev*>(element);
      part.face = 6;                 // no proposal: the lengths on the entry's own faces
      part.reference = "QMA25LP4B";  // an elbow's: the lengths are keyed
      EXPECT_EQ(
          builder.GetPartParameters(part),
          builder.References().GetPartParameters(*first, part.face, part.length, part.reference))
          << "collection " << collection;
    }
    // The run's own rebuild splits its straights: the next segments hold new elements.
    ASSERT_EQ(run.RebuildParts(0), 1);
  }
}

namespace {

// What a build could find no part for is kept with the run, by element, so that the
// price update can name what is drawn but not in the bill.
TEST_F(QMRunTest, TheElementsABuildFindsNoPartForAreKeptWithTheRun) {
  const CProgramTexts texts;
  struct Case {
    const char* fault;
    const char* layout;
    std::vector<std::size_t> unbuilt;  // indices in the run's element array
  };
  const Case cases[] = {
      {"an open straight end is dropped silently", "run QMA 16\nstart 1\ngo 4 3000\n", {1}},
      {"the open end after an elbow", "run QMA 16\nstart 1\ngo 4 3000\ngo 5 3000\n", {2}},
      {"a closed run names nothing", kTurningRun, {}},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.fault);
    CRunQM& run = LayOut(row.layout);
    ASSERT_EQ(run.RebuildParts(0), 1);
    std::vector<const CDev*> expected;
    for (std::size_t index : row.unbuilt) expected.push_back(run.GetDevices().at(index));
    EXPECT_EQ(run.GetUnbuiltElements(), expected) << QGBillListing(run);
  }
}

}  // namespace
