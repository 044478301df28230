#include "qg_test_support.h"

#include <algorithm>
#include <array>

namespace {

TEST_F(QGRunTest, LiteralKindsGiveTheirReferences) {
  struct Row {
    int kind;
    const char* expected;
  };
  const Row rows[] = {
      {15, "QGB0000RH1"},     {16, "QGB0000MF1"},     {17, "QGB0000DA1"},
      {21, "QGB0010CR1"},     {26, "QGB0010CR6"},     {33, "QGB0010CR3SP"},
      {41, "QGB0040YB112"},   {44, "QGB0070YB112"},   {45, "QGB0080YB112"},
      {46, "QGB0100YB112"},   {47, "QGB0120YB112"},   {111, "QGB0060YC110B"},
      {232, "QGB0100YC205T"}, {213, "QGB0060YC205S"}, {343, "QGB0120YC305S"},
      {122, "QGB0080YC110T"},
  };
  CRunQG& run = MakeRun("A", "10");
  for (const Row& row : rows)
    EXPECT_EQ(run.GetElementRef(row.kind), Padded(row.expected)) << row.kind;
  for (const int unknown : {99, 18, 27, 48, 110, 114, 150, 411}) {
    EXPECT_EQ(run.GetElementRef(unknown), "") << unknown;
  }
}

TEST_F(QGRunTest, ShortReferencesExpandToAmperes) {
  struct Row {
    const char* variant;
    const char* text;
    bool nextSize;
    bool converted;
    const char* expected;
  };
  const Row rows[] = {
      {"A", "QGA12YA4", false, true, "QGA1250YA4"},
      {"A", "QGA12YA4", true, true, "QGA1600YA4"},
      {"C", "QGC13YA4", false, true, "QGC1350YA4"},
      {"C", "QGC10YA4", true, true, "QGC1350YA4"},
      {"A", "QGA10YA4", true, true, "QGA1250YA4"},
      {"A", "QGA08YA4", false, true, "QGA0800YA4"},
      {"A", "QGA63YA4", true, true, "QGA6300YA4"},
      // Converted once already: the rating is not widened again.
      {"A", "QGA0800YA4", false, false, "QGA0800YA4"},
      {"A", "QGA1250YA4", true, false, "QGA1250YA4"},
      // 'B' references take the housing height, and its width where marked.
      {"A", "QGB?!EM?!", false, true, "QGB0130EM13"},
      {"A", "QGB12EM?!", false, false, "QGB12EM?!"},
      {"A", "QGX12YA4", false, false, "QGX12YA4"},
      {"A", "QGA1", false, false, "QGA1"},
  };
  for (const Row& row : rows) {
    CRunQG& run = MakeRun(row.variant, "10");
    std::string text = row.text;
    EXPECT_EQ(run.ExpandReference(text, row.nextSize), row.converted) << row.text;
    EXPECT_EQ(text, row.expected) << row.text;
  }
}

TEST_F(QGRunTest, NeutralLabelGoesBeforeTheParameters) {
  // The label of neutral 2 is the English file's.
  const CProgramTexts texts;
  struct Row {
    const char* neutral;
    const char* text;
    const char* expected;
  };
  const Row rows[] = {
      {"2", "QGA10YA", "QGA1000YAn=Reducedneutral"},
      {"2", "QGA10YA x a=5,b=6", "QGA1000YA x n=Reducedneutral,a=5,b=6"},
      {"2", "QGA10YA \nGroup", "QGA1000YAn=Reducedneutral \nGroup"},
      {"3", "QGA10YA", "QGA1000YA"},
      {"2", "QGA10YA", "QGA1000YAn=Reducedneutral"},
  };
  for (const Row& row : rows) {
    CRunQG& run = MakeRun("A", "10", row.neutral);
    std::string text = row.text;
    EXPECT_TRUE(run.ExpandReference(text, false)) << row.text;
    EXPECT_EQ(text, row.expected) << row.neutral << " " << row.text;
  }
}

// The label comes from the run's own catalogue as it was read: a run read after the texts
// changed shows the new label, not the one an earlier run showed for the same neutral.
TEST_F(QGRunTest, NeutralLabelFollowsTheTextsItsCatalogueWasReadWith) {
  for (const std::string prefix : {"T", "U", "T"}) {
    DropRuns();
    CRangeTableCache::Instance().Reset();
    CRangeContext::Instance().SetTextLookup(
        [prefix](int number) { return prefix + std::to_string(number); });
    CRunQG& run = MakeRun("A", "10", "4");
    std::string text = "QGA10YA";
    EXPECT_TRUE(run.ExpandReference(text, false));
    EXPECT_EQ(text, "QGA1000YAn=" + prefix + "9140");
  }
}

TEST_F(QGRunTest, RefPatternTakesTheNeutral) {
  CRunQG& run = MakeRun("A", "10", "5");
  std::string pattern(kRefWidth, ' ');
  run.FillRefPattern(pattern);
  EXPECT_EQ(pattern, Padded("QGA10  5"));
  std::string shortPattern(7, ' ');
  run.FillRefPattern(shortPattern);
  EXPECT_EQ(shortPattern, "QGA10  ");
  run.SetProp("Neutral", "");
  std::string plain(kRefWidth, ' ');
  run.FillRefPattern(plain);
  EXPECT_EQ(plain, Padded("QGA10"));
}

TEST_F(QGRunTest, DevicePatternsMarkTheSpecialShapes) {
  struct Row {
    int variant;
    int sub;
    const char* entrax;
    const char* expected;
  };
  // The sample's feed box row of kind group 0, variant 2 is "???##TP4?1".
  const Row rows[] = {
      {2, 1, "", "QGA##TP411"},
      {2, 1, "100", "QGA##TP421"},
      {2, 2, "", "QGA##TP431"},
      {2, 3, "", "QGA##TP471"},
  };
  CRunQG& run = MakeRun("A", "10");
  for (const Row& row : rows) {
    const CDev element = MakeStraight(CDev::kEnd, row.variant, row.sub, row.entrax);
    std::string pattern(kRefWidth, ' ');
    run.CompleteDeviceRef(element, pattern);
    EXPECT_EQ(pattern, Padded(row.expected)) << row.variant << "/" << row.sub;
  }
  // No device row: a part that does not exist.
  const CDev missing = MakeStraight(CDev::kEnd, 9, 0);
  std::string pattern(kRefWidth, ' ');
  run.CompleteDeviceRef(missing, pattern);
  EXPECT_EQ(pattern, Padded("ZZZZZZZZZZZZZZZZ"));
}

}  // namespace

namespace {

// Three elements in a line, the outer two 30000 long; from the last one the chain sums
// its own length and the middle one's, and side -1 tells whether that reaches 90 m.
TEST_F(QGRunTest, LongestPathTellsAChainOfNinetyMetres) {
  struct Row {
    int middle;
    int answer;
  };
  const Row rows[] = {{59999, 0}, {60000, 1}, {10, 0}};
  CRunQG& run = MakeRun("A", "10");
  for (const Row& row : rows) {
    CDev a, b, c;
    for (CDev* element : {&a, &b, &c}) element->SetDirection(1);
    a.SetBookedLength(30000);
    b.SetBookedLength(row.middle);
    c.SetBookedLength(30000);
    const int back = CDev::OppositeDirection(1);
    a.SetNeighbour(1, &b);
    b.SetNeighbour(back, &a);
    b.SetNeighbour(1, &c);
    c.SetNeighbour(back, &b);
    // Stepping forwards takes the next element's length, backwards the element's own.
    EXPECT_EQ(run.GetLongestPathLength(a, 1), row.middle + 30000) << row.middle;
    EXPECT_EQ(run.GetLongestPathLength(c, back), row.middle + 30000) << row.middle;
    EXPECT_EQ(run.GetLongestPathLength(c, -1), row.answer) << row.middle;
    a.SetNeighbour(1, nullptr);
    b.SetNeighbour(back, nullptr);
    b.SetNeighbour(1, nullptr);
    c.SetNeighbour(back, nullptr);
  }
}

}  // namespace

namespace {

// The sample's wall piece (kind 8, variant 15) has a 20 mm housing round the busbar; a
// mounted joint takes the 170 x 170 "10F" housing, 40 larger without wall pieces beside.
TEST_F(QGRunTest, HousingsWrapTheBusbarAndJointsTakeTheFHousing) {
  struct Row {
    int kind;
    int variant;
    int partsState;
    int active;
    bool wallBeside;
    bool mounted;  // a wall piece further back on the chain
    int width;
    int height;
  };
  const Row rows[] = {
      {CDev::kInLineVariant, 15, 0, 1, false, false, 170, 170},
      {CDev::kJoint, 0, 1, 1, false, true, 210, 210},
      {CDev::kJoint, 0, 1, 1, true, true, 170, 170},
      // Not built yet, not mounted, or not live: the range's catch-all device housing
      // ("QG*", 200 x 150), as any device without a row of its own. A laid joint is
      // active, which does not mount it.
      {CDev::kJoint, 0, 0, 1, false, true, 200, 150},
      {CDev::kJoint, 0, 1, 1, false, false, 200, 150},
      {CDev::kJoint, 0, 1, 0, false, true, 200, 150},
  };
  for (const Row& row : rows) {
    CRunQG& run = MakeRun("A", "10");
    run.SetPartsState(row.partsState);
    CDev element = MakeStraight(row.kind, row.variant, 0, "", "", &run);
    element.SetActive(row.active);
    element.SetDirection(1);
    CDev wall = MakeStraight(CDev::kInLineVariant, 15, 0);
    if (row.wallBeside) element.SetNeighbour(1, &wall);
    CDev straight = MakeStraight(CDev::kEnd, 2, 0);
    CDev backWall = MakeStraight(CDev::kInLineVariant, 15, 0);
    straight.SetDirection(1);
    straight.SetNeighbour(CDev::OppositeDirection(1), &backWall);
    if (row.mounted) element.SetNeighbour(CDev::OppositeDirection(1), &straight);
    const CHousingDims dims = run.GetHousingDims(element);
    const CHousingDims common = run.CRun::GetHousingDims(element);
    if (row.width == 0) {
      EXPECT_EQ(dims.width, common.width) << row.partsState << " " << row.active;
      EXPECT_EQ(dims.height, common.height) << row.partsState << " " << row.active;
      continue;
    }
    EXPECT_EQ(dims.width, row.width) << row.kind << "/" << row.variant << " " << row.active;
    EXPECT_EQ(dims.height, row.height) << row.kind << "/" << row.variant << " " << row.active;
    element.SetNeighbour(1, nullptr);
    element.SetNeighbour(CDev::OppositeDirection(1), nullptr);
  }
}

}  // namespace

namespace {

TEST_F(QGRunTest, WholeSpecialShapesGetTheirPages) {
  CRunQG& run = MakeRun("A", "10");
  auto page = [&run](int slot) { return run.GetElementPage(slot); };
  struct Row {
    int kind;
    int variant;
    std::vector<int> added;
  };
  const Row rows[] = {
      {CDev::kEnd, 2, {page(7), page(11), page(10), page(9), page(kSlotPhaseOrder)}},
      {CDev::kEnd, 6, {page(7), page(11), page(10), page(9), page(kSlotPhaseOrder)}},
      {CDev::kEnd, 7, {page(12), page(kSlotPhaseOrder)}},
      {CDev::kEnd, 0, {page(kSlotPhaseOrder)}},
      {CDev::kInLine, 0, {page(8)}},
      {CDev::kElbow, 0, {}},
  };
  for (const Row& row : rows) {
    CDev element = MakeStraight(row.kind, row.variant, 0, "", "", &run);
    CElementSelection::Of(element).Select(&element, CElementSelection::kWholeElement);
    std::vector<int> expected;
    for (const int base : run.CRun::GetSubObjects(element))
      if (base != page(kSlotElementName)) expected.push_back(base);
    if (!row.added.empty() && expected.size() >= 1 && expected.back() == page(kSlotFeedUnit) &&
        row.added.size() == 5) {
      expected.pop_back();
      expected.insert(expected.end(), row.added.begin(), row.added.begin() + 2);
      expected.push_back(page(kSlotFeedUnit));
      expected.insert(expected.end(), row.added.begin() + 2, row.added.end());
    } else {
      expected.insert(expected.end(), row.added.begin(), row.added.end());
    }
    expected.push_back(page(kSlotElementName));
    EXPECT_EQ(run.GetSubObjects(element), expected) << row.kind << "/" << row.variant;
    EXPECT_EQ(run.GetPageWord(element, expected.size() > 1 ? expected[1] : 0), 0);
    CElementSelection::Of(element).Clear();
  }
}

// A single face: the common pages only, the second one with the page word 1.
TEST_F(QGRunTest, SingleFaceMarksTheSecondPage) {
  CRunQG& run = MakeRun("A", "10");
  CDev element = MakeStraight(CDev::kEnd, 2, 1, "", "", &run);
  CElementSelection::Of(element).Select(&element, 2);
  const std::vector<int> pages = run.GetSubObjects(element);
  ASSERT_GE(pages.size(), 3u);
  EXPECT_EQ(pages.back(), run.GetElementPage(kSlotElementName));
  EXPECT_EQ(std::count(pages.begin(), pages.end(), run.GetElementPage(7)), 0);
  EXPECT_EQ(run.GetPageWord(element, pages[1]), 1);
  EXPECT_EQ(run.GetPageWord(element, pages[0]), 0);
  CElementSelection::Of(element).Clear();
}

}  // namespace

namespace {

// A joint (direction 1) between a chosen element before it and one after it, mounted or
// not.
TEST_F(QGRunTest, JointsAreClassifiedByTheirNeighbours) {
  struct Row {
    int active;
    bool mounted;
    int beforeKind;
    int beforeVariant;
    int afterKind;
    int afterVariant;
    bool wallBehindRiser;
    int expected;
  };
  const Row rows[] = {
      {1, true, CDev::kEnd, 0, CDev::kEnd, 2, false, 0},
      {1, true, CDev::kEnd, 2, CDev::kEnd, 1, false, 0},
      {2, false, CDev::kEnd, 2, CDev::kEnd, 2, false, 1},
      {1, false, CDev::kEnd, 2, CDev::kInLineVariant, 15, false, 1},
      {1, true, CDev::kEnd, 2, CDev::kInLineVariant, 15, false, 2},
      {1, true, CDev::kInLine, 0, CDev::kEnd, 2, true, 2},
      {1, true, CDev::kInLine, 0, CDev::kEnd, 2, false, 6},
      {1, true, CDev::kEnd, 2, CDev::kInLineVariant, 7, false, 6},
      {0, true, CDev::kEnd, 2, CDev::kEnd, 2, false, 0},
  };
  CRunQG& run = MakeRun("A", "10");
  const int back = CDev::OppositeDirection(1);
  for (const Row& row : rows) {
    CDev joint = MakeStraight(CDev::kJoint, 0, 0);
    joint.SetActive(row.active);
    joint.SetDirection(1);
    CDev before = MakeStraight(row.beforeKind, row.beforeVariant, 0);
    CDev after = MakeStraight(row.afterKind, row.afterVariant, 0);
    CDev wall = MakeStraight(CDev::kInLineVariant, 15, 0);
    joint.SetNeighbour(back, &before);
    joint.SetNeighbour(1, &after);
    if (row.wallBehindRiser) before.SetNeighbour(back, &wall);
    EXPECT_EQ(run.ClassifyKind9Element(&joint, row.mounted), row.expected) << &row - rows;
    joint.SetNeighbour(back, nullptr);
    joint.SetNeighbour(1, nullptr);
    before.SetNeighbour(back, nullptr);
  }
  EXPECT_EQ(run.ClassifyKind9Element(nullptr), 0);
}

// A laid joint is active but stands unmounted until a wall piece lies behind it; a second
// wall piece turns the mounting back.
TEST_F(QGRunTest, AJointIsMountedByTheWallPiecesBehindIt) {
  struct Row {
    int walls;
    bool mounted;
    int expected;
  };
  const Row rows[] = {{0, false, 1}, {1, true, 2}, {2, false, 1}, {3, true, 2}};
  CRunQG& run = MakeRun("A", "10");
  for (const Row& row : rows) {
    CDev joint = MakeStraight(CDev::kJoint, 0, 0);
    joint.SetActive(1);
    joint.SetDirection(4);
    CDev straight = MakeStraight(CDev::kEnd, 2, 0);
    std::vector<CDev> walls;
    walls.reserve(static_cast<std::size_t>(row.walls));
    for (int i = 0; i < row.walls; ++i) walls.push_back(MakeStraight(CDev::kInLineVariant, 15, 0));
    CDev* last = &joint;
    for (CDev& wall : walls) {
      wall.SetDirection(4);
      last->SetNeighbour(0, &wall);
      last = &wall;
    }
    joint.SetNeighbour(4, &straight);
    EXPECT_EQ(CRunQG::IsMountedByWalls(joint), row.mounted) << row.walls;
    EXPECT_EQ(run.ClassifyKind9Element(&joint), row.expected) << row.walls;
    for (CDev& wall : walls) wall.SetNeighbour(0, nullptr);
    joint.SetNeighbour(0, nullptr);
    joint.SetNeighbour(4, nullptr);
  }
}

}  // namespace

namespace {

TEST_F(QGRunTest, TwoAndFourMetreEndDevicesShowTheirOtherEnd) {
  struct Row {
    std::int32_t length;
    const char* reference;
    int side;
    const char* expected;
  };
  // Variant index 1: side 1 is the device's own side.
  const Row rows[] = {
      {2000, "QGA1000ET4", 1, "QGA1000ET4"},
      {2000, "QGA1000ET4", 0, "QGA1000ETS"},
      {4000, "QGA1000ET4", 0, "QGA1000ETS"},
      {3000, "QGA1000ET4", 0, ""},
      {2000, "QGA1000ER4", 0, ""},
      {2000, "QGA1000ET4", 2, ""},
      {2000, "QGA", 0, ""},
  };
  CRunQG& run = MakeRun("A", "10", "S");
  for (const Row& row : rows) {
    CDev device = MakeStraight(CDev::kEnd, 0, 0);
    device.SetStyle(1u << 8);
    device.SetBookedLength(row.length);
    device.SetReference(row.reference);
    std::string expected = row.expected;
    if (!expected.empty()) expected.resize(device.GetReference().size(), ' ');
    EXPECT_EQ(run.GetDeviceTextForSide(device, row.side), expected)
        << row.length << " " << row.reference << " " << row.side;
  }
}

}  // namespace

namespace {

// The price update names the options of a priced length record from the catalogue's
// formula of it, as it stands in the catalogue; references without one have none.
TEST_F(QGRunTest, OptionsOfAPricedReferenceAreItsCatalogueFormula) {
  CRunQG& run = MakeRun("A", "10");
  run.AddLengthToBOM("10", 3000, 0);
  ASSERT_FALSE(run.GetLengthRecords().empty());
  const std::string reference = run.GetLengthRecords().back()->GetReference();
  const std::optional<std::string> formula = run.GetPriceFormula(reference);
  ASSERT_TRUE(formula.has_value()) << reference;
  EXPECT_EQ(run.GetReferenceOptionSuffix(reference), formula);
  EXPECT_EQ(run.GetReferenceOptionSuffix("QGA10XX4"), std::nullopt);
}

}  // namespace
