#include "qg_listing.h"
#include "qm_test_support.h"

#include "model/bom/bom_group.h"
#include "ranges/qm/part_builder_qm.h"

#include <map>

namespace {

constexpr const char* kTwinRun =
    "run QMA 50\nstart 2\nentrax 1\ngo 4 6000\ngo 5 2000\ngo 2 4000\nfrom 3\ngo 4 3000\n"
    "end 2\nentrax 1\nfield CLINQ 4/0/2/0\n";

// A twin part becomes the parts of the two single runs: the rating halved, the straights
// of the stepped lengths plain, the legs of the second run's elbows shorter, and the
// pieces whose second half is an accessory of its own.
TEST(QMTwinSplitTest, CodesSplitIntoTheirSingleRuns) {
  struct Row {
    const char* code;
    int direction, variant;
    CQMTwinHalves::Outcome outcome;
    const char* first;
    const char* second;
    int secondKind;
  };
  using H = CQMTwinHalves;
  const std::string edStep = QMPadded("QMA2500ET420"), ebStep = QMPadded("QMC3200ET240");
  const std::string el1 = QMPadded("QMA5000EL41"), el5 = QMPadded("QMA5000EL45");
  const std::string el1Half = QMPadded("QMA2500EL41A"), el5Half = QMPadded("QMA2500EL45B");
  const Row rows[] = {
      {"QMA5000ED4SM3            l=1650", 4, 0, H::kSplit, "QMA2500ED4SM3            l=1650",
       "QMA2500ED4SM3            l=1650", 0},
      {"QMA5000ED4203", 4, 0, H::kSplit, edStep.c_str(), edStep.c_str(), 0},
      {"QMA5000ED4302", 4, 0, H::kSplit, "QMA2500ED4302", "QMA2500ED4302", 0},
      {"QMC6300EB2403", 4, 0, H::kSplit, ebStep.c_str(), ebStep.c_str(), 0},
      {"QMB0622CF9", 4, 0, H::kSplit, "QMB0244CF9", "QMB0244CF9", 81},
      {el1.c_str(), 4, 6, H::kSplit, el1Half.c_str(), el1Half.c_str(), 204},
      {el5.c_str(), 4, 6, H::kSplit, el5Half.c_str(), el5Half.c_str(), 203},
      {"QMA5000EL43", 4, 6, H::kSplit, "QMA2500EL43", "QMA2500EL43", 0},
      {"QMA5000ER41", 2, 2, H::kSplit, "QMA2500ER41", "QMA2500ER41", 202},
      {"QMA5000ER41", 3, 2, H::kSplit, "QMA2500ER41", "QMA2500ER41", 201},
      {"QMA5000ER41", 4, 2, H::kSplit, "QMA2500ER41", "QMA2500ER41", 0},
      {"QMA5000ER41", 2, 20, H::kSplit, "QMA2500ER41", "QMA2500ER41", 0},
      {"QMA5000ER45 a=500,b=300", 4, 2, H::kSplit, "QMA2500ER45 a=500,b=300",
       "QMA2500ER45 a=312,b=300", 0},
      {"QMA5000LC4B a=1200,b=800", 4, 0, H::kSplit, "QMA2500LC4B a=1200,b=800",
       "QMA2500LC4B a=1012,b=612", 0},
      {"QMA5000ZC41 a=1000,b=250,c=900", 4, 0, H::kSplit, "QMA2500ZC41 a=1000,b=250,c=900",
       "QMA2500ZC41 a=812,b=250,c=1088", 0},
      {"QMA5000LP4B a=1200", 4, 0, H::kSplit, "QMA2500LP4B a=1200", "QMA2500LP4B a=1200", 0},
      {"QMA5000HC4", 4, 0, H::kNotSplit, "", "", 0},
      {"QMA5000EH4203", 4, 0, H::kRefused, "", "", 0},
      {"QMA2500ED4302", 4, 0, H::kNotSplit, "", "", 0},
      {"QMA50", 4, 0, H::kNotSplit, "", "", 0},
      {"", 4, 0, H::kNotSplit, "", "", 0},
  };
  for (const Row& row : rows) {
    const CQMTwinHalves halves = SplitTwinCode(row.code, row.direction, row.variant);
    EXPECT_EQ(halves.outcome, row.outcome) << row.code;
    EXPECT_EQ(halves.first, row.first) << row.code;
    EXPECT_EQ(halves.second, row.second) << row.code;
    EXPECT_EQ(halves.secondKind, row.secondKind) << row.code << " " << row.direction;
  }
}

struct CGroupLines {
  std::int64_t twin = 0, first = 0, second = 0;
};

// The quantities of the twin part, the first and the second run's lines of each group.
std::map<int, CGroupLines> GroupLines(const CRun& run) {
  std::map<int, CGroupLines> groups;
  const CBOMGrid& bom = run.GetBOM();
  for (int row = 1; row < bom.GetLineCount(); ++row) {
    const CBOMGroup group = ParseBOMGroup(bom.GetLine(row)->reference);
    CGroupLines& lines = groups[group.number];
    const std::int64_t quantity = bom.GetLineQuantity(row);
    if (group.flag == '!') lines.twin += quantity;
    if (group.flag == 'a') lines.first += quantity;
    if (group.flag == 'b') lines.second += quantity;
  }
  return groups;
}

// Every twin part stands in a group with the parts of its two runs, as many of each; the
// same part is gathered in one group, so the numbers run without a gap; nothing keeps the
// twin rating outside a twin line.
TEST_F(QMRunTest, TwinRunPartsAreListedByTheirSingleRuns) {
  const CProgramTexts texts;
  CRunQM& run = LayOut(kTwinRun);
  ASSERT_EQ(run.RebuildParts(0), 1);
  const std::map<int, CGroupLines> groups = GroupLines(run);
  int expected = 1;
  int twinGroups = 0;
  for (const auto& [number, lines] : groups) {
    if (number == 0) continue;
    EXPECT_EQ(number, expected++) << QGBillListing(run);
    if (lines.twin == 0) continue;
    ++twinGroups;
    EXPECT_EQ(lines.first, lines.twin) << number << "\n" << QGBillListing(run);
    EXPECT_EQ(lines.second, lines.twin) << number << "\n" << QGBillListing(run);
  }
  EXPECT_GE(twinGroups, 6) << QGBillListing(run);
  const CBOMGrid& bom = run.GetBOM();
  for (int row = 1; row < bom.GetLineCount(); ++row) {
    const std::string& reference = bom.GetLine(row)->reference;
    if (reference.starts_with("QMA5000")) {
      EXPECT_EQ(ParseBOMGroup(reference).flag, '!') << reference;
    }
  }
  // The end accessory of the run is split as its parts are.
  EXPECT_NE(bom.FindLine(QMPadded("QMA5000YA4") + " \nGroup=" + std::to_string(expected - 1) + "!"),
            -1)
      << QGBillListing(run);
  const std::string bill = QGSampleListing(run);
  ASSERT_EQ(run.RebuildParts(0), 1);
  EXPECT_EQ(QGSampleListing(run), bill);
}

// Without groups each twin part books the first run's part and adds the second run's.
TEST_F(QMRunTest, TwinRunWithoutGroupsBooksTheSingleRunParts) {
  const CProgramTexts texts;
  CRunQM& run = LayOut(kTwinRun);
  run.SetProp("INDEXGRP", "0");
  ASSERT_EQ(run.RebuildParts(0), 1);
  const CBOMGrid& bom = run.GetBOM();
  std::int64_t elbows = 0;
  for (int row = 1; row < bom.GetLineCount(); ++row) {
    const std::string& reference = bom.GetLine(row)->reference;
    EXPECT_EQ(reference.find(kBOMGroupSuffix), std::string::npos) << reference;
    EXPECT_FALSE(reference.starts_with("QMA5000")) << reference;
    if (reference.starts_with("QMA2500LP4A1")) elbows += bom.GetLineQuantity(row);
  }
  EXPECT_EQ(elbows, 2) << QGBillListing(run);
}

// A single run's parts and an element without a line of its own are left as they are; a
// part already split is not split again.
TEST_F(QMRunTest, OnlyBookedTwinPartsAreSplitOnce) {
  struct Row {
    const char* rating;
    int booked;
    int lines;
  };
  for (const Row row : {Row{"25", 1, 1}, Row{"50", 0, 0}, Row{"50", 1, 3}}) {
    CRunQM& run = MakeRun("A", row.rating);
    auto straight = QMElement(run, CDev::kJoint, QMStyle(0));
    const std::string code = QMPadded(std::string("QMA") + row.rating + "00ED4302");
    straight->SetReference(code);
    straight->SetBooked(row.booked);
    if (row.booked != 0) run.GetBOM().AddRefQuantity(code, 1);
    CPartBuilderQM builder(run);
    int counter = 0;
    builder.AssignGroupLines(*straight, counter);
    builder.AssignGroupLines(*straight, counter);
    EXPECT_EQ(run.GetBOM().GetLineCount() - 1, row.lines) << row.rating << QGBillListing(run);
    EXPECT_EQ(counter, row.lines == 3 ? 1 : 0) << row.rating;
  }
}

// A transformer connection piece of a twin run cannot be split: it is reported with the
// twin rating and drawn in error with its neighbours.
TEST_F(QMRunTest, AnUnsplittableTwinPartIsReported) {
  CRunQM& run = MakeRun("A", "50");
  auto piece = QMElement(run, CDev::kJoint, QMStyle(0));
  auto ahead = QMElement(run, CDev::kJoint, QMStyle(0));
  piece->SetNeighbour(4, ahead.get());
  const std::string code = QMPadded("QMA5000EH4203");
  piece->SetReference(code);
  piece->SetBooked(1);
  run.GetBOM().AddRefQuantity(code, 1);
  CPartBuilderQM builder(run);
  int counter = 0;
  builder.AssignGroupLines(*piece, counter);
  EXPECT_EQ(builder.GetMessages().At(0).state, 3);
  EXPECT_EQ(builder.GetMessages().At(0).value1, 5000);
  EXPECT_TRUE(builder.IsMarkedInError(*piece));
  EXPECT_TRUE(builder.IsMarkedInError(*ahead));
  EXPECT_EQ(piece->GetReference(), code);
  EXPECT_EQ(counter, 0);
}

}  // namespace

namespace {

// Two feed boxes of a twin run without accessories (no group of their own yet) each get
// a group of their own; two equal straights share one.
TEST_F(QMRunTest, EachTwinFeedBoxKeepsItsOwnGroup) {
  struct Row {
    int kind;
    const char* code;
    int groups;
    const char* guards;
  };
  for (const Row& row : {Row{CDev::kEnd, "QMA5000ER41", 2, "feed boxes feed two places"},
                         Row{CDev::kJoint, "QMA5000ED4302", 1, "equal straights gather"}}) {
    CRunQM& run = MakeRun("A", "50");
    CPartBuilderQM builder(run);
    int counter = 0;
    std::vector<std::unique_ptr<CDev>> elements;
    for (int i = 0; i < 2; ++i) {
      elements.push_back(QMElement(run, row.kind, QMStyle(0)));
      CDev* element = elements.back().get();
      element->SetReference(QMPadded(row.code));
      element->SetBooked(1);
      run.GetBOM().AddRefQuantity(element->GetReference(), 1);
      builder.AssignGroupLines(*element, counter);
    }
    EXPECT_EQ(counter, row.groups) << row.guards << QGBillListing(run);
    EXPECT_EQ(run.GetBOM().GetLineCount() - 1, 3 * row.groups) << row.guards << QGBillListing(run);
  }
}

}  // namespace
