#include "model/element/chain_editor.h"
#include "qm_test_support.h"
#include "ranges/qm/part_builder_qm.h"

#include <vector>

namespace {

// Records the cuts asked for and hands out a fresh joint for each; with `known`, every
// in-line unit has a kit 200 long with clearance 30 and offset 10.
class CRecordingEditor : public CChainEditor {
 public:
  explicit CRecordingEditor(bool known) : m_known(known) {}
  CDev* SplitAtLength(CDev& element, int face, std::int32_t length) override {
    lengths.push_back(length);
    faces.push_back(face);
    targets.push_back(&element);
    joints.push_back(std::make_unique<CDev>(element.GetRun()));
    joints.back()->SetKind(CDev::kJoint);
    return joints.back().get();
  }
  void RemoveFromRun(CDev&, int) override {}
  int ClampKitcf(CDev&, CKitLimits& limits) override {
    limits.values = {200, 0, 30, 10};
    return m_known ? 1 : 0;
  }
  std::vector<std::int32_t> lengths;
  std::vector<int> faces;
  std::vector<CDev*> targets;
  std::vector<std::unique_ptr<CDev>> joints;

 private:
  bool m_known;
};

bool HasRecordOfState(const CPartBuilderQM& builder, int state) {
  for (int i = 0; i < CCheckMessageTable::kSize; ++i)
    if (builder.GetMessages().At(i).state == state) return true;
  return false;
}

// A riser kit (housing 200, plug-in point 100) needs 100 + 100 + 400 = 600 of line ahead
// for its fixing and 2 m beyond that for the run's own: cuts at 600 and 2600 from it.
// Known kit limits take 200 / 2 - 10 + 30 = 120 off a kit ahead, and give the kit's own
// reach 200 / 2 + 10 + 30 = 140, less than 600.
TEST_F(QMRunTest, KitsCutTheLineAheadForTheirFixings) {
  struct Row {
    const char* riser;
    int variant;
    bool kitAhead;  // else a unit ahead
    std::int32_t ahead;
    bool known;
    std::vector<std::int32_t> cuts;
    int variantAfter;
    bool noRoom;  // a state-19 record
  };
  const Row rows[] = {
      {"", 1, true, 5000, false, {2600, 600}, 1, false},
      {"", 1, true, 2500, false, {600}, 1, true},
      {"", 1, false, 2500, false, {}, 1, false},
      {"", 1, false, 5000, false, {2600, 600}, 1, false},
      {"", 0, false, 5000, false, {2600, 600}, 1, false},
      {"SOL2", 1, true, 5000, false, {2600}, 2, false},
      {"SOL2", 1, true, 2000, false, {2000}, 2, false},
      {"SOL2", 1, false, 2000, false, {}, 2, false},
      {"SOL2", 1, true, 1899, false, {600}, 1, true},
      {"", 1, true, 2800, true, {2600, 600}, 1, false},
      {"", 1, true, 2700, true, {600}, 1, true},
      {"SOL2", 1, true, 2000, true, {}, 1, false},
      {"SOL2", 1, true, 3000, true, {2600}, 2, false},
  };
  for (const Row& row : rows) {
    CRunQM& run = MakeRun("A", "25");
    run.SetProp("RISER", row.riser);
    CRecordingEditor editor(row.known);
    CPartBuilderQM builder(run);
    builder.SetChainEditor(&editor);
    auto kit = QMElement(run, CDev::kInLine, QMStyle(row.variant, 0, 0x300));
    kit->SetDirection(2);
    kit->SetOffset(200);
    kit->SetFieldText("PLUG1", "100");
    auto ahead = QMElement(run, row.kitAhead ? CDev::kInLine : CDev::kEnd, 0);
    ahead->SetBookedLength(row.ahead);
    kit->SetNeighbour(2, ahead.get());
    const std::string label = std::string(row.riser) + " " + std::to_string(row.ahead) +
                              (row.kitAhead ? " kit" : " unit") + (row.known ? " known" : "");
    CDev* made = builder.PrepareElement(*kit);
    EXPECT_EQ(editor.lengths, row.cuts) << label;
    for (std::size_t i = 0; i < editor.faces.size(); ++i) {
      EXPECT_EQ(editor.faces[i], 2) << label;
      EXPECT_EQ(editor.targets[i], ahead.get()) << label;
    }
    EXPECT_EQ(kit->GetVariant(), row.variantAfter) << label;
    EXPECT_EQ(HasRecordOfState(builder, 19), row.noRoom) << label;
    // The cut at the needed length is visited first, the farther one after it.
    const std::size_t count = editor.joints.size();
    EXPECT_EQ(made, count == 0 ? nullptr : editor.joints.back().get()) << label;
    if (count == 2) {
      EXPECT_EQ(builder.PrepareElement(*made), editor.joints.front().get()) << label;
    }
    EXPECT_EQ(builder.PrepareElement(*ahead), nullptr) << label;
    kit->SetNeighbour(2, nullptr);
  }
}

// Kits of no riser mounting and kits that the elbow beside them carries (variant 0) keep
// the line whole; so does a kit with nothing, a joint or an elbow ahead.
TEST_F(QMRunTest, KitsOfOtherVariantsOrNeighboursCutNothing) {
  struct Row {
    int variant;
    int aheadKind;  // -1 none
  };
  const Row rows[] = {{0, CDev::kEnd}, {3, CDev::kInLine}, {1, -1}, {1, CDev::kJoint}};
  for (const Row& row : rows) {
    CRunQM& run = MakeRun("A", "25");
    CRecordingEditor editor(false);
    CPartBuilderQM builder(run);
    builder.SetChainEditor(&editor);
    auto kit = QMElement(run, CDev::kInLine, QMStyle(row.variant));
    kit->SetDirection(2);
    auto ahead = QMElement(run, row.aheadKind < 0 ? CDev::kJoint : row.aheadKind, 0);
    ahead->SetBookedLength(8000);
    if (row.aheadKind >= 0) kit->SetNeighbour(2, ahead.get());
    EXPECT_EQ(builder.PrepareElement(*kit), nullptr) << row.variant << " " << row.aheadKind;
    EXPECT_TRUE(editor.lengths.empty()) << row.variant << " " << row.aheadKind;
    kit->SetNeighbour(2, nullptr);
  }
}

// A kit k from a flat elbow on a line of 4 m (housing 200, plug-in point 0): it needs 500
// of line ahead, so it cuts there and 2500 on when k is at most 1500, and the elbow step
// then counts its distance 200 (500 - 200 - 100) farther. The elbow's second leg reaches
// 1000: the elbow carries the kit (variant 0, "SURMESURE" 2) while distance + 100 + 200
// is at most 1000. With kit limits (200 long, offset 10) the kit stands k + 10 - 100 -
// 100 clear of the elbow's housing of width 200; below 20 that is a state-15 record.
TEST_F(QMRunTest, KitsBesideAnElbowAreCarriedByItAndKeepClearOfIt) {
  struct Row {
    int k;
    bool known;
    int variantAfter;
    const char* made;  // "SURMESURE" of the elbow
    bool tooClose;
  };
  const Row rows[] = {
      {300, false, 0, "2", false}, {500, false, 0, "2", false}, {600, false, 1, "", false},
      {1600, false, 1, "", false}, {200, true, 0, "2", true},   {300, true, 0, "2", false},
  };
  for (const Row& row : rows) {
    CRunQM& run = LayOut("run QMA 25\nstart 1\ngo 4 3000\ngo 5 4000\nend 1\nfrom 1\nkit 5 " +
                         std::to_string(row.k) + "\n");
    CDev* elbow = m_laid.at(1);
    ASSERT_EQ(elbow->GetKind(), CDev::kElbow);
    CDev* kit = elbow->GetNeighbour(5);
    ASSERT_NE(kit, nullptr);
    ASSERT_EQ(kit->GetKind(), CDev::kInLine);
    ASSERT_EQ(kit->GetBookedLength(), row.k);
    kit->SetVariantBoth(1);
    kit->SetOffset(200);
    kit->SetFieldText("PLUG1", "0");
    CRecordingEditor editor(row.known);
    CPartBuilderQM builder(run);
    builder.SetChainEditor(&editor);
    builder.PrepareElement(*kit);
    EXPECT_EQ(editor.lengths.size(), row.k <= 1500 ? 2u : 0u) << row.k;
    EXPECT_EQ(kit->GetVariant(), row.variantAfter) << row.k << " " << row.known;
    EXPECT_EQ(elbow->GetFieldText("SURMESURE").value_or(""), row.made) << row.k;
    EXPECT_EQ(HasRecordOfState(builder, 15), row.tooClose) << row.k << " " << row.known;
  }
}

// Every element carries the line behind it: the straight on a joint is measured from the
// joint behind it, not by the piece ahead. A joint carrying 3000 of straight, with 2000
// ahead: 300, 1500 and 2700 (not the 2000 piece's 300 and 1700). A flat elbow 400 past a
// joint, its second leg 700 on face 5, housing values 200/120/30: both legs less 60, 340
// and 640, so only the second leg's support 60 + 100 from the corner.
TEST_F(QMRunTest, PiecesAreSupportedAlongTheLineTheyCarry) {
  CRunQM& run = MakeRun("A", "25");
  CPartBuilderQM builder(run);
  auto behind = QMElement(run, CDev::kJoint, 0);
  auto straight = QMElement(run, CDev::kJoint, 0);
  auto ahead = QMElement(run, CDev::kJoint, 0);
  straight->SetRotation(32);
  straight->SetBookedLength(3000);
  straight->SetReference("QMA2500ED4302");
  ahead->SetBookedLength(2000);
  behind->SetNeighbour(4, straight.get());
  straight->SetNeighbour(0, behind.get());
  straight->SetNeighbour(4, ahead.get());
  ahead->SetNeighbour(0, straight.get());
  builder.SetSupportCodes(*straight);
  EXPECT_EQ(straight->GetPropValue("SUPP"), "4:300/4:1500/4:2700");
  EXPECT_EQ(builder.GetSupportCount(), 3);

  auto elbow = QMElement(run, CDev::kElbow, 0);
  auto leg = QMElement(run, CDev::kJoint, 0);
  elbow->SetBookedLength(400);
  elbow->SetReference("QMA2500LP4A1");
  leg->SetDirection(5);
  leg->SetBookedLength(700);
  ahead->SetNeighbour(4, elbow.get());
  elbow->SetNeighbour(0, ahead.get());
  elbow->SetNeighbour(5, leg.get());
  leg->SetNeighbour(1, elbow.get());
  builder.SetSupportCodes(*elbow);
  EXPECT_EQ(elbow->GetPropValue("SUPP"), "45:160");
  EXPECT_EQ(builder.GetSupportCount(), 4);
  for (CDev* element : {behind.get(), straight.get(), ahead.get(), elbow.get(), leg.get()})
    for (int face = 0; face < CDev::kFaceCount; ++face) element->SetNeighbour(face, nullptr);
}

// Two riser kits as the riser page lays them, 3500 apart on a riser of 6 m mounted as
// type 3; the lower one plugs in at 100. Rebuilt with the program's own chain edits, the
// lower kit cuts the line ahead at 100 + housing / 2 + 400 and 2000 beyond that (variant
// 1), or only at the farther place (variant 2, the riser rule "SOL2"); the rest of the
// line up to the upper kit stays one piece. (Every kit ends the rebuild as variant 0, so
// the cuts are what tells the variants apart.)
TEST_F(QMRunTest, RiserKitsCutTheLineBetweenThemWhenRebuilt) {
  for (const char* riser : {"SOL1", "SOL2"}) {
    CRunQM& run = LayOut(std::string("run QMA 25\nprop RISER ") + riser +
                         "\nstart 1\ngo 4 2000\ngo 2 6000\ntype 3\ngo 4 2000\nend 1\n"
                         "from 1\nkit 2 1000\nfield PLUG1 100\nkit 2 3500\n");
    CDev* lower = m_laid.at(1)->GetNeighbour(2);
    ASSERT_NE(lower, nullptr);
    ASSERT_EQ(lower->GetKind(), CDev::kInLine);
    CDev* upper = lower->GetNeighbour(2);
    ASSERT_NE(upper, nullptr);
    ASSERT_EQ(upper->GetKind(), CDev::kInLine);
    const std::int32_t needed = 100 + lower->GetOffset() / 2 + 400;
    ASSERT_EQ(run.RebuildParts(0), 1) << riser;
    std::vector<std::int32_t> stretches;
    for (CDev* at = lower->GetNeighbour(2); at != nullptr && at != upper && stretches.size() < 8;
         at = at->GetNeighbour(2))
      stretches.push_back(at->GetBookedLength());
    stretches.push_back(upper->GetBookedLength());
    const bool one = std::string_view(riser) == "SOL1";
    const std::vector<std::int32_t> expected =
        one ? std::vector<std::int32_t>{needed, 2000, 1500 - needed}
            : std::vector<std::int32_t>{needed + 2000, 1500 - needed};
    EXPECT_EQ(stretches, expected) << riser << " " << needed;
  }
}

}  // namespace
