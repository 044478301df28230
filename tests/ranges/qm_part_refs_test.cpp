#include "qm_test_support.h"

#include "model/element/chain_editor.h"
#include "ranges/qm/qm_part_refs.h"

#include <algorithm>
#include <vector>

namespace {

// A builder of the QM references alone: the walk of the base cuts the run into
// segments, the references are asked entry by entry.
class QMReferenceBuilder : public CPartBuilder {
 public:
  explicit QMReferenceBuilder(CRunQM& run) : CPartBuilder(run), references(*this, run) {
    CollectSegments();
  }
  std::string GetPartReference(const CSegment&, int, int) override { return {}; }
  std::string GetPartParameters(const CPlannedPart&) override { return {}; }
  int GetElbowReference(const CSegment&) override { return 0; }
  int SelectCandidate(const CSegment&, int) override { return 0; }

  // The reference of the element where it ends a segment (or its first entry).
  std::string ReferenceOf(const CDev* element, bool finalPass) {
    const std::vector<CSegment>& segments = GetSegments();
    for (int pass = 0; pass < 2; ++pass) {
      for (std::size_t s = 0; s < segments.size(); ++s) {
        for (std::size_t i = 0; i < segments[s].size(); ++i) {
          const bool last = i + 1 == segments[s].size();
          if (segments[s][i].element == element && (pass == 1 || last))
            return references.GetPartReference(static_cast<int>(s), static_cast<int>(i), finalPass);
        }
      }
    }
    return "not in a segment";
  }
  // The design-check reports recorded so far: "state:value1:value2" each.
  std::vector<std::string> Reports() const {
    std::vector<std::string> reports;
    for (int i = 0; i < CCheckMessageTable::kSize; ++i) {
      const CCheckMessage& message = GetMessages().At(i);
      if (message.state == CCheckMessage::kEmpty) continue;
      reports.push_back(std::to_string(message.state) + ":" + std::to_string(message.value1) + ":" +
                        std::to_string(message.value2));
    }
    return reports;
  }

  CQMPartReferences references;
};

std::string Layout(const char* code, const char* rating, const std::string& statements) {
  return std::string("run ") + code + " " + rating + "\n" + statements;
}

// The elbow that turns at the end of the first straight, alone or with the elbows of the
// next two-entry segments; the flag marks the first elbow of the marked codes.
TEST_F(QMRunTest, ElbowCombinationCodes) {
  struct Row {
    const char* turns;  // after a first straight of 2000 mm along face 4
    const char* expected;
    int flag;
  };
  const Row rows[] = {
      {"go 5 1000\n", "QMA25LP4D1", 0},                              // 2
      {"go 1 1000\n", "QMA25LP4D2", 0},                              // 1
      {"go 2 1000\n", "QMA25LC4D", 0},                               // 3
      {"go 3 1000\n", "QMA25LC4D", 0},                               // 4
      {"go 5 500\ngo 4 600\n", "QMA25ZP4", 0},                       // 21
      {"go 1 500\ngo 4 600\n", "QMA25ZP4", 1},                       // 12
      {"go 2 500\ngo 4 600\n", "QMA25ZC41", 0},                      // 34
      {"go 3 500\ngo 4 600\n", "QMA25ZC42", 0},                      // 43
      {"go 5 500\ngo 2 600\ngo 4 700\n", "QMA25CP41", 0},            // 23 (231 is none)
      {"go 5 500\ngo 3 600\ngo 4 700\n", "QMA25CP43", 0},            // 24
      {"go 2 500\ngo 5 600\ngo 4 700\n", "QMA25CP43", 1},            // 32
      {"go 2 500\ngo 1 600\ngo 4 700\n", "QMA25CP42", 1},            // 31
      {"go 3 500\ngo 5 600\ngo 4 700\n", "QMA25CP41", 1},            // 42
      {"go 3 500\ngo 1 600\ngo 4 700\n", "QMA25CP44", 1},            // 41
      {"go 1 500\ngo 2 600\ngo 4 700\n", "QMA25CP44", 0},            // 13
      {"go 1 500\ngo 3 600\ngo 4 700\n", "QMA25CP42", 0},            // 14
      {"go 1 500\ngo 2 500\ngo 1 500\ngo 4 800\n", "QMA25ZL44", 1},  // 134
      {"go 1 500\ngo 3 500\ngo 1 500\ngo 4 800\n", "QMA25ZL42", 1},  // 143
      {"go 2 500\ngo 4 500\ngo 1 500\ngo 4 800\n", "QMA25ZL44", 0},  // 341
      {"go 2 500\ngo 4 500\ngo 5 500\ngo 4 800\n", "QMA25ZL41", 0},  // 342
      {"go 3 500\ngo 4 500\ngo 1 500\ngo 4 800\n", "QMA25ZL42", 0},  // 431
      {"go 3 500\ngo 4 500\ngo 5 500\ngo 4 800\n", "QMA25ZL43", 0},  // 432
      {"go 5 500\ngo 2 500\ngo 5 500\ngo 4 800\n", "QMA25ZL41", 1},  // 234
      {"go 5 500\ngo 3 500\ngo 5 500\ngo 4 800\n", "QMA25ZL43", 1},  // 243
  };
  for (const Row& row : rows) {
    CRunQM& run =
        LayOut(Layout("QMA", "25", std::string("start 1\ngo 4 2000\n") + row.turns + "end 1\n"));
    QMReferenceBuilder builder(run);
    EXPECT_EQ(builder.ReferenceOf(m_laid[1], true), QMPadded(row.expected)) << row.turns;
    EXPECT_EQ(builder.references.CombinationFlag(*m_laid[1]), row.flag) << row.turns;
  }
}

TEST_F(QMRunTest, SingleElbowsOutsideTheFinalPassKeepTheirRightAngleLetter) {
  CRunQM& run = LayOut(Layout("QMA", "25", "start 1\ngo 4 2000\ngo 5 1000\nend 1\n"));
  QMReferenceBuilder builder(run);
  EXPECT_EQ(builder.ReferenceOf(m_laid[1], false), QMPadded("QMA25LP4A1"));
  EXPECT_EQ(builder.ReferenceOf(m_laid[1], true), QMPadded("QMA25LP4D1"));
}

// Turn codes 2, 3, 4: the legs of the later elbows must fit the rows of "ZL", then "CP";
// a leg too short for a combination that starts in the current segment is reported.
TEST_F(QMRunTest, CombinedElbowsFallBackWhenTheirLegsDoNotFit) {
  struct Row {
    int second;
    int third;
    const char* expected;
    const char* report;
  };
  const Row rows[] = {
      {500, 500, "QMA25ZL41", ""},
      {500, 900, "QMA25CP41", ""},   // third leg beyond ZL's 300-800
      {850, 500, "QMA25LP4D1", ""},  // second leg beyond ZL's 300-700 and CP's 300-800
      // Too short for ZL (300-700) and then for CP (300-800): the last report stands.
      {200, 500, "QMA25LP4D1", "11:300:800"},
      {300, 800, "QMA25ZL41", ""},  // the ends of the ranges fit
  };
  for (const Row& row : rows) {
    CRunQM& run =
        LayOut(Layout("QMA", "25",
                      "start 1\ngo 4 2000\ngo 5 " + std::to_string(row.second) + "\ngo 2 " +
                          std::to_string(row.third) + "\ngo 5 500\ngo 4 800\nend 1\n"));
    QMReferenceBuilder builder(run);
    EXPECT_EQ(builder.ReferenceOf(m_laid[1], true), QMPadded(row.expected))
        << row.second << "/" << row.third;
    const std::vector<std::string> reports = builder.Reports();
    if (*row.report != '\0') {
      EXPECT_NE(std::find(reports.begin(), reports.end(), row.report), reports.end())
          << row.second << "/" << row.third;
    } else {
      EXPECT_TRUE(reports.empty()) << row.second << "/" << row.third;
    }
  }
}

TEST_F(QMRunTest, AnElbowOfAnotherAngleIsNeverCombined) {
  CRunQM& run = LayOut(Layout("QMA", "25", "start 1\ngo 4 2000\ngo 5 500\ngo 4 600\nend 1\n"));
  m_laid[1]->SetPropValue("ELBOW_ANGL", "45");
  QMReferenceBuilder builder(run);
  const std::string reference = builder.ReferenceOf(m_laid[1], true);
  EXPECT_EQ(reference, QMPadded("QMA25LP4C1"));
  EXPECT_EQ(builder.references.CombinationFlag(*m_laid[1]), 0);
  const CSegmentEntry& entry = builder.GetSegments()[0].back();
  const std::string parameters = builder.references.GetPartParameters(entry, -1, 0, reference);
  EXPECT_NE(parameters.find("w=45"), std::string::npos) << parameters;
}

// A connection unit standing within its row's range after the last elbow takes the elbow
// in: a single elbow is marked "#######" in the final pass, a combination is given up.
TEST_F(QMRunTest, AConnectionUnitAfterTheElbowAbsorbsIt) {
  struct Row {
    const char* statements;
    bool finalPass;
    const char* expected;
  };
  const Row rows[] = {
      {"go 5 300\nend 2\nentrax 1\n", true, "#######4A1"},
      {"go 5 300\nend 2\nentrax 1\n", false, "QMA25LP4A1"},
      {"go 5 800\nend 2\nentrax 1\n", true, "QMA25LP4D1"},            // beyond 100-600
      {"go 5 300\nend 2\nentrax 2\n", true, "QMA25LP4D1"},            // mode 2 keeps its elbow
      {"go 5 300\nend 1\n", true, "QMA25LP4D1"},                      // an end cover
      {"go 5 500\ngo 4 300\nend 2\nentrax 1\n", true, "QMA25LP4D1"},  // 21 given up
  };
  for (const Row& row : rows) {
    CRunQM& run = LayOut(Layout("QMA", "25", std::string("start 1\ngo 4 2000\n") + row.statements));
    QMReferenceBuilder builder(run);
    EXPECT_EQ(builder.ReferenceOf(m_laid[1], row.finalPass), QMPadded(row.expected))
        << row.statements << row.finalPass;
  }
}

TEST_F(QMRunTest, TeesByTheirBranch) {
  struct Row {
    const char* code;
    const char* rating;
    const char* branches;  // the first straight's end: its way on, then the branch
    const char* expected;
    const char* report;
  };
  const Row rows[] = {
      {"QMA", "25", "23", "QMA25TC4", ""},
      {"QMA", "25", "32", "QMA25TC4", ""},
      {"QMA", "25", "15", "YENAPAS4", "1:0:0"},
      {"QMA", "25", "12", "QMA25  4", "1:0:0"},
      {"QMC", "63", "23", "ZZZZZZZZZZZ", "3:6300:6300"},
  };
  for (const Row& row : rows) {
    CRunQM& run =
        LayOut(Layout(row.code, row.rating,
                      std::string("start 1\ngo 4 2000\ngo ") + row.branches[0] +
                          " 1000\nend 1\nfrom 1\ngo " + row.branches[1] + " 700\nend 1\n"));
    QMReferenceBuilder builder(run);
    EXPECT_EQ(builder.ReferenceOf(m_laid[1], true), QMPadded(row.expected)) << row.branches;
    const std::vector<std::string> reports = builder.Reports();
    EXPECT_EQ(reports.empty() ? "" : reports.front(), row.report) << row.code << row.branches;
  }
}

// Feed and connection units at the start of a run: connection mode, twin ratings,
// breaker frames, adapters and the neutral of the QMA 25 units.
TEST_F(QMRunTest, FeedAndConnectionUnitChecks) {
  struct Row {
    const char* code;
    const char* rating;
    const char* neutral;
    const char* start;  // statements after "run"
    const char* disj;
    bool finalPass;
    const char* expected;
    const char* report;
  };
  const Row rows[] = {
      {"QMA", "16", "4", "start 4\nstyle 1000000\n", "5", true, "QMA16AB44", ""},
      {"QMC", "16", "4", "start 4\nstyle 1000000\n", "5", true, "ZZZZZZZZZZZ", "5:0:0"},
      {"QMA", "25", "4", "start 4\nstyle 1000000\n", "", true, "QMA25AB44", ""},
      {"QMA", "25", "4", "start 4\nstyle 3000000\n", "7", true, "ZZZZZZZZZZZ", "5:0:0"},
      {"QMA", "25", "4", "start 4\n", "", true, "QMA25AB44", ""},  // no breaker
      {"QMA", "08", "4", "start 4\nstyle 1000000\n", "", true, "ZZZZZZZZZZZ", "3:-1000:0"},
      {"QMC", "63", "4", "start 4\nstyle 1000000\n", "", true, "ZZZZZZZZZZZ", "3:6300:6300"},
      {"QMA", "25", "4", "start 2\n", "", true, "ZZZZZZZZZZZ", "2:0:0"},
      {"QMA", "25", "4", "start 2\nentrax 1\n", "", true, "QMA25ER42", ""},
      {"QMA", "25", "4", "start 2\nentrax 1\n", "", false, "QMA25ER41", ""},
      {"QMA", "25", "4", "start 2\nentrax 2\n", "", true, "QMA25ER47", ""},
      {"QMC", "63", "4", "start 2\nentrax 2\n", "", true, "ZZZZZZZZZZZ", "3:6300:6300"},
      {"QMC", "63", "4", "start 5\n", "", false, "ZZZZZZZZZZZ", "3:6300:6300"},
      {"QMC", "63", "4", "start 5\n", "", true, "QMC63EC42", ""},  // the final pass comes first
      {"QMC", "25", "4", "start 7\n", "", false, "ZZZZZZZZZZZ", "3:2500:2500"},
      {"QMA", "25", "4", "start 7\n", "", false, "QMA25EA41", ""},
      {"QMA", "25", "6", "start 8\n", "", true, "QMA25AB62", ""},
      {"QMA", "25", "4", "start 8\n", "", true, "ZZZZZZZZZZZZZZZZ", "4:4:0"},
      // The end cabinet has adapters on QMA 25 only; that report comes first.
      {"QMA", "20", "6", "start 9\n", "", true, "ZZZZZZZZZZZ", "3:2000:2000"},
      {"QMA", "32", "7", "start 9\n", "", false, "ZZZZZZZZZZZ", "3:3200:3200"},
  };
  for (const Row& row : rows) {
    CRunQM& run =
        LayOut(Layout(row.code, row.rating, std::string(row.start) + "go 4 3000\nend 1\n"));
    run.SetProp("Neutral", row.neutral);
    // Laid out under the default neutral, a QMA 25 unit of variant 8 or 9 went back to
    // the plain unit when its boxes were built: it is set again.
    const int variant = std::string_view(row.start)[6] - '0';
    if (variant == 8 || variant == 9) {
      m_laid[0]->SetVariantBoth(variant);
      m_laid[0]->SetReference(run.GetKindText(CDev::kEnd, variant));
    }
    m_laid[0]->SetPropValue("DISJ", row.disj);
    QMReferenceBuilder builder(run);
    const std::string reference = builder.ReferenceOf(m_laid[0], row.finalPass);
    EXPECT_EQ(reference.substr(0, std::string_view(row.expected).size()), row.expected)
        << row.code << row.rating << " " << row.start;
    const std::vector<std::string> reports = builder.Reports();
    EXPECT_EQ(reports.empty() ? "" : reports.front(), row.report)
        << row.code << row.rating << " " << row.start;
  }
}

// The check text of a refused breaker names the run's rating or the lock, then the
// breaker without its suffix ("HR" breakers by their amperes).
TEST_F(QMRunTest, ARefusedBreakerIsNamedInTheReport) {
  struct Row {
    const char* code;
    const char* rating;
    const char* style;
    const char* disj;
    const char* text;
  };
  const Row rows[] = {
      {"QMC", "16", "style 1000000\n", "5", "QMC 1600 A / HK25"},
      {"QMA", "13", "style 1000000\n", "7", "QMA 1350 A / HK40"},  // frame 40: 32 to 40
      {"QMA", "32", "style 1000000\n", "7", ""},
      {"QMC", "13", "style 1000000\n", "7", "QMC 1350 A / HK40"},
      {"QMA", "16", "style 1000000\n", "5", ""},
      {"QMA", "16", "style 3000000\n", "7", "T2716 RDH HK40"},
      {"QMA", "16", "style 7000000\n", "7", "QMA 1600 A / HK40"},  // place 1: no lock
      {"QMA", "16", "style 3000000\n", "HR16ABCD_F", "T2716 RDH HR1600"},
      {"QMA", "16", "style 1000000\n", "HR06AB_D", ""},
      {"QMC", "25", "style 1000000\n", "HR06ABCD_D", "QMC 2500 A / HR630"},
  };
  for (const Row& row : rows) {
    CRunQM& run = LayOut(
        Layout(row.code, row.rating, std::string("start 4\n") + row.style + "go 4 3000\nend 1\n"));
    m_laid[0]->SetPropValue("DISJ", row.disj);
    QMReferenceBuilder builder(run);
    EXPECT_EQ(builder.references.BreakerCheckText(*m_laid[0]), row.text)
        << row.code << row.rating << " " << row.disj;
    builder.ReferenceOf(m_laid[0], true);
    EXPECT_EQ(builder.GetMessages().At(0).state, *row.text == '\0' ? CCheckMessage::kEmpty : 5)
        << row.code << row.rating << " " << row.disj;
  }
}

TEST_F(QMRunTest, JoinKindsOfCombinedAndLongElbows) {
  struct Row {
    int length;  // of the first elbow
    const char* reference;
    int expected;  // 0: the base kind
  };
  const Row rows[] = {
      {2000, "QMA25ZP4", 3},  {2000, "QMA25ZC41", 3}, {2000, "QMA25CP42", 3},
      {2000, "QMA25ZL41", 4}, {2500, "QMA25LC4D", 3}, {2050, "QMA25LC4D", 5},
      {1500, "QMA25LC4D", 4}, {1000, "QMA25LC4D", 0}, {2500, "QMA25LC4A", 0},
  };
  for (const Row& row : rows) {
    CRunQM& run = LayOut(
        Layout("QMA", "25",
               "start 1\ngo 4 " + std::to_string(row.length) + "\ngo 2 500\ngo 4 600\nend 1\n"));
    QMReferenceBuilder builder(run);
    const CSegment& segment = builder.GetSegments()[1];
    const int base = builder.CPartBuilder::GetJoinKind(segment, 0);
    EXPECT_EQ(base, 2);
    EXPECT_EQ(builder.references.GetJoinKind(segment, 0, QMPadded(row.reference)),
              row.expected == 0 ? base : row.expected)
        << row.length << " " << row.reference;
  }
}

TEST_F(QMRunTest, ConnectionParameterTexts) {
  struct Row {
    const char* neutral;
    std::uint32_t style;
    const char* entrax;
    const char* capot;
    char mode;
    const char* expected;
  };
  const Row rows[] = {
      {"4", QMStyle(2, 1), "120/130", "", '?', "j=120,k=130,m=120"},
      {"3", QMStyle(2, 1), "120/130", "", '?', "j=120,k=130"},
      {"4", QMStyle(2, 2), "120", "", '?', "p=180,q=60,r=60,s=180"},
      {"3", QMStyle(2, 2), "120", "", '?', "p=180,q=60,r=60"},
      {"4", QMStyle(5), "", "", '?', "j=115,k=115,m=115"},
      {"4", QMStyle(3, 1), "120", "", '?', "j/k/m=T30034"},
      {"3", QMStyle(3, 2), "120", "", '?', "p/q/r=T30034"},
      {"4", QMStyle(3, 0), "120", "", '?', "T30034"},
      {"4", QMStyle(3, 1), "120", "", 'C', "d/g/y/z=T30034"},
      {"4", QMStyle(2, 1), "100/200/300", "10/50", 'C', "d=500,g=300,z=400"},
      {"4", QMStyle(2, 1), "100/200/300", "13/80", 'C', "z=80"},
      {"4", QMStyle(2, 1), "100/200/300", "20/60", 'C', "c=60"},
      {"4", QMStyle(2, 1), "100/200/300", "16/5", 'C', ""},
      {"4", QMStyle(6, 1), "100/200/300", "", 'C', "z=0"},
      {"4", QMStyle(4), "100", "", '?', ""},
  };
  for (const Row& row : rows) {
    CRunQM& run = LayOut(Layout("QMA", "25", "start 1\ngo 4 3000\nend 1\n"));
    run.SetProp("Neutral", row.neutral);
    QMReferenceBuilder builder(run);
    auto element = QMElement(run, CDev::kEnd, row.style);
    element->SetPropValue("ENTRAX", row.entrax);
    element->SetPropValue("CAPOT", row.capot);
    EXPECT_EQ(builder.references.FormatPartParams(*element, row.mode), row.expected)
        << row.style << " " << row.entrax << " " << row.capot << row.mode;
  }
}

}  // namespace

namespace {

TEST_F(QMRunTest, CutRangesOfKitsAndOfElbowsBesideThem) {
  struct Row {
    const char* reference;
    bool known;
    int mode;
    int frontJoint;  // booked length of an unmounted joint ahead, 0 none
    int kitAhead;    // booked length of a kit ahead of the elbow, 0 none
    int kitBehind;
    std::int32_t min;
    std::int32_t max;
  };
  const Row rows[] = {
      {"QMA25DL4CF", true, 1, 0, 0, 0, 120, 2860},
      {"QMA25DL4CF", true, 0, 0, 0, 0, 500, 2500},
      {"QMA25DL4CF", false, 0, 0, 0, 0, 500, 2500},     // the row alone
      {"QMA25DL4CF", false, 1, 0, 0, 0, 0, 5000},       // nothing known
      {"QMA25DL4CF", true, 0, 3500, 0, 0, 3500, 3500},  // a 4 m piece with the joint
      {"QMA25LP4D1", true, 0, 0, 300, 0, 440, 5000},
      {"QMA25LP4D1", true, 1, 0, 0, 300, 720, 5000},
      {"QMA25LP4D1", false, 0, 0, 300, 0, 0, 5000},
      {"QMA25LP4A1", true, 0, 0, 300, 0, 0, 5000},  // not the "D" form
  };
  for (const Row& row : rows) {
    QMKitRowRun kitRun;
    CRunQM* run = kitRun.run.get();
    CFixedKitLimits editor(row.known);
    QMReferenceBuilder builder(*run);
    builder.SetChainEditor(&editor);
    const bool kitPart = std::string_view(row.reference).substr(8, 2) == "CF";
    auto element = QMElement(*run, kitPart ? CDev::kInLine : CDev::kElbow, 0);
    element->SetBookedLength(kitPart ? 500 : 600);
    auto joint = QMElement(*run, CDev::kJoint, 0);
    joint->SetActive(0);
    joint->SetBookedLength(row.frontJoint);
    auto kit = QMElement(*run, CDev::kInLine, 0);
    kit->SetBookedLength(row.kitAhead + row.kitBehind);
    if (row.frontJoint != 0) element->SetNeighbour(4, joint.get());
    if (row.kitAhead != 0) element->SetNeighbour(4, kit.get());
    if (row.kitBehind != 0) element->SetNeighbour(0, kit.get());
    CSegmentEntry entry;
    entry.element = element.get();
    std::int32_t min = 0, max = 5000;
    if (!kitPart || row.mode != 0) {
      builder.references.AdjustPart(entry, QMPadded(row.reference), min, max, row.mode);
    } else {
      max = 0;  // the kit's own side: no upper bound yet
      builder.references.AdjustPart(entry, QMPadded(row.reference), min, max, row.mode);
    }
    EXPECT_EQ(min, row.min) << row.reference << " mode " << row.mode << " " << row.known;
    EXPECT_EQ(max, row.max) << row.reference << " mode " << row.mode << " " << row.known;
    element->SetNeighbour(4, nullptr);
    element->SetNeighbour(0, nullptr);
  }
}

}  // namespace

namespace {

// "x=" and the chain lengths on the entry, branch and exit faces (the neighbour before a
// combined elbow in front), keyed by the coordinate rule; a connection unit adds its
// connection parameters.
TEST_F(QMRunTest, PartParametersOfCombinedElbowsAndConnectionUnits) {
  struct Row {
    const char* statements;
    int element;  // index among the laid elements
    const char* expected;
  };
  const Row rows[] = {
      {"start 1\ngo 4 2000\ngo 5 500\ngo 4 600\nend 1\n", 1, "a=0,b=2000,c=2000"},
      {"start 1\ngo 4 2000\ngo 1 500\ngo 4 600\nend 1\n", 1, "a=2000,b=2000,c=0"},  // 12
      // The start unit has no length of its own: its connection parameters alone.
      {"start 2\nentrax 2\ngo 4 3000\nend 1\n", 0, "p=180,q=60,r=60,s=180"},
      {"start 2\nentrax 1\ngo 4 3000\nend 1\n", 0, "j=120,k=120,m=120"},
      {"start 1\ngo 4 3000\nend 1\n", 1, ""},
  };
  for (const Row& row : rows) {
    CRunQM& run = LayOut(Layout("QMA", "25", row.statements));
    CDev* element = m_laid[static_cast<std::size_t>(row.element)];
    element->SetPropValue("ENTRAX", "120");
    QMReferenceBuilder builder(run);
    const CSegmentEntry* entry = nullptr;
    for (const CSegment& segment : builder.GetSegments()) {
      for (const CSegmentEntry& candidate : segment) {
        if (candidate.element == element && entry == nullptr) entry = &candidate;
      }
    }
    ASSERT_NE(entry, nullptr) << row.statements;
    const std::string reference = builder.ReferenceOf(element, false);
    EXPECT_EQ(builder.references.GetPartParameters(*entry, -1, 0, reference), row.expected)
        << row.statements << reference;
  }
}

}  // namespace
