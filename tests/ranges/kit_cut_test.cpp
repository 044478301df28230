// Cuts of straight pieces next to in-line units, on the sample catalogue: a riser kit
// (variant 1, with "KITCF") keeps its kit clear of a cut, an end piece (variant 2) has no
// kit and is not checked. The QGA 1000 A kit is 1000 long with a clearance of 50, the QMA
// 2500 A kit 700 long with a clearance of 40; a kit lies its offset along its unit's
// direction from the unit's middle, which stands where the stretch it carries ends.

#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "range_test_support.h"
#include "ranges/qg/part_builder_qg.h"
#include "ranges/qg/run_qg.h"
#include "ranges/qm/part_builder_qm.h"
#include "ranges/qm/run_qm.h"
#include "samplewriter/sample_layout.h"

#include <memory>

namespace {

struct CutRow {
  const char* guards;
  const char* run;      // "run ..." and "start ..." lines
  int variant;          // of the in-line unit on a 6000 line
  int unitAt;           // its distance from the start
  const char* offset;   // its "KITCF"; empty for none
  bool along;           // the cut measured from the start (along the line) or the end
  std::int32_t length;  // of the cut from there
  std::int32_t told;    // the shortfall told with "CF"; 0 nothing; -1 the plain clearance
};

constexpr const char* kQG = "run QGA 10\nstart 0\n";
constexpr const char* kQM = "run QMA 25\nstart 1\n";

class KitCutTest : public RangeTest {
 protected:
  void TearDown() override {
    m_document.reset();
    RangeTest::TearDown();
  }

  // The state-15 record of a cut on a fresh layout, or none.
  const CCheckMessage* Cut(const CutRow& row) {
    m_document = std::make_unique<CDorneDoc>();
    m_document->OnNewDocument("");
    while (!m_document->GetRuns().empty()) m_document->RemoveRun(m_document->GetRuns().front());
    std::vector<CDev*> laid;
    std::string layout = std::string(row.run) + "go 4 6000\nend 4\nfrom 0\nkit 4 " +
                         std::to_string(row.unitAt) + "\nvariant " + std::to_string(row.variant) +
                         "\n";
    if (*row.offset != '\0') layout += "field KITCF " + std::string(row.offset) + "\n";
    EXPECT_EQ(LayOutSample(*m_document, layout, &laid), "");
    CRun& run = *m_document->GetRuns().front();
    m_unit = laid.at(0)->GetNeighbour(4);
    if (auto* qg = dynamic_cast<CRunQG*>(&run)) m_builder = std::make_unique<CPartBuilderQG>(*qg);
    if (auto* qm = dynamic_cast<CRunQM*>(&run)) m_builder = std::make_unique<CPartBuilderQM>(*qm);
    CPlannedPart part;
    part.element = row.along ? laid.at(0) : laid.at(1);
    part.face = row.along ? 4 : 0;
    part.length = row.length;
    part.mode = -1;
    m_joint = m_builder->ApplyCut(part);
    for (int i = 0; i < CCheckMessageTable::kSize; ++i) {
      const CCheckMessage& message = m_builder->GetMessages().At(i);
      if (message.state == 15) return &message;
    }
    return nullptr;
  }

  std::unique_ptr<CDorneDoc> m_document;
  std::unique_ptr<CPartBuilder> m_builder;
  CDev* m_unit = nullptr;
  CDev* m_joint = nullptr;
};

TEST_F(KitCutTest, KitsKeepTheirClearanceFromACutAndEndPiecesAreNotKits) {
  const CutRow rows[] = {
      // Seen from the end, the kit's middle lies its offset nearer the cut.
      {"QG from the end: 50 short", kQG, 1, 3000, "0", false, 2500, 50},
      {"QG from the end: just clear", kQG, 1, 3000, "0", false, 2450, 0},
      {"QG from the end: kit set back", kQG, 1, 3000, "-200", false, 2500, 0},
      {"QG from the end: kit set ahead", kQG, 1, 3000, "200", false, 2500, 250},
      {"QG from the end: too far to watch", kQG, 1, 3000, "0", false, 1900, 0},
      // Seen from the start the kit's middle lies its offset farther on.
      {"QG from the start: 50 short", kQG, 1, 3000, "0", true, 2500, 50},
      {"QG from the start: kit set back", kQG, 1, 3000, "-200", true, 2500, 250},
      {"QG from the start: kit set ahead", kQG, 1, 3000, "200", true, 2600, 0},
      {"QG from the start: kit set ahead, short", kQG, 1, 3000, "200", true, 2700, 50},
      {"QG from the start: the unit's own room", kQG, 1, 3000, "290", true, 2800, -1},
      {"QG end piece", kQG, 2, 3000, "", false, 2900, 0},
      {"QG end piece near the start, cut past it", kQG, 2, 400, "", false, 5500, 0},
      {"QG kit near the start, cut past it", kQG, 1, 400, "0", false, 5500, 450},
      {"QG end piece, from the start", kQG, 2, 3000, "", true, 2900, 0},
      {"QG unit without a kit", kQG, 1, 3000, "", true, 2900, 0},
      {"QM from the end: 40 short", kQM, 1, 3000, "0", false, 2650, 40},
      {"QM from the end: just clear", kQM, 1, 3000, "0", false, 2610, 0},
      {"QM from the start: kit set back", kQM, 1, 3000, "-50", true, 2600, 40},
      {"QM from the start: kit set ahead", kQM, 1, 3000, "50", true, 2650, 0},
      {"QM end piece", kQM, 2, 3000, "", false, 2900, 0},
  };
  for (const CutRow& row : rows) {
    SCOPED_TRACE(row.guards);
    const CCheckMessage* told = Cut(row);
    ASSERT_NE(m_unit, nullptr);
    ASSERT_EQ(m_unit->GetKind(), CDev::kInLine);
    EXPECT_EQ(m_unit->GetPropValue("KITCF"), row.offset);
    if (row.told == 0) {
      EXPECT_EQ(told, nullptr) << told->problem;
      EXPECT_FALSE(m_builder->IsMarkedInError(*m_unit));
    } else {
      EXPECT_NE(told, nullptr);
      if (told == nullptr) continue;
      EXPECT_EQ(told->element, m_unit);
      // The kit's shortfall with 1, or the range's clearance with 0.
      EXPECT_EQ(told->value1, row.told > 0 ? row.told : 300);
      EXPECT_EQ(told->value2, row.told > 0 ? 1 : 0);
      EXPECT_TRUE(m_builder->IsMarkedInError(*m_unit));
    }
    // The joint goes in all the same.
    ASSERT_NE(m_joint, nullptr);
    EXPECT_EQ(m_joint->GetKind(), CDev::kJoint);
  }
}

// A whole build of a kit d above an edgewise elbow (its "A" legs 300 to 1000): the elbow
// takes the kit's unit into its own piece (variant 0); its leg reaches past the kit when
// half the kit, d, the clearance and the offset fit in 1000, and otherwise stops at 300,
// where the cut falls inside the kit, short of its 550 less the offset by 850 - d less
// the offset (or, past an offset of 285, the unit's own room of 265 tells the range's
// clearance, 300). A kit too close to the elbow's housing (less than 20) is told by the
// walk.
class KitOverElbowTest : public KitCutTest {};

TEST_F(KitOverElbowTest, AKitThatTheElbowsCutFallsInIsTold) {
  const struct {
    int d;
    const char* offset;
    std::vector<std::int32_t> told;
  } rows[] = {
      {585, "0", {265}},
      {700, "0", {150}},
      {400, "0", {185}},
      {450, "0", {135}},
      {300, "300", {300}},
      {1700, "0", {}},
      // Set back 300 the kit clears the elbow's leg of 550, but the unit's own 200 stand
      // 150 from the straight's cut there, less than its 165: the clearance is told.
      {300, "-300", {585, 300}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.d);
    m_document = std::make_unique<CDorneDoc>();
    m_document->OnNewDocument("");
    while (!m_document->GetRuns().empty()) m_document->RemoveRun(m_document->GetRuns().front());
    std::vector<CDev*> laid;
    EXPECT_EQ(
        LayOutSample(*m_document,
                     "run QGA 10\nstart 0\ngo 4 3000\ngo 2 3000\nend 4\nfrom 1\nkit 2 " +
                         std::to_string(row.d) + "\nfield KITCF " + row.offset + "\nvariant 1\n",
                     &laid),
        "");
    auto& run = dynamic_cast<CRunQG&>(*m_document->GetRuns().front());
    CDev* kit = laid.at(1)->GetNeighbour(2);
    ASSERT_NE(kit, nullptr);
    run.CRun::RebuildParts(-1);
    CPartBuilderQG builder(run);
    builder.Build(0);
    std::vector<std::int32_t> told;
    for (int i = 0; i < CCheckMessageTable::kSize; ++i) {
      const CCheckMessage& message = builder.GetMessages().At(i);
      if (message.state == 15 && message.element == kit) told.push_back(message.value1);
    }
    EXPECT_EQ(told, row.told);
  }
}

}  // namespace
