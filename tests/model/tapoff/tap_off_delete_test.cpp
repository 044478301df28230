#include "model/element/element_selection.h"
#include "model/tapoff/tap_off_choice.h"
#include "model/tapoff/tap_off_delete.h"
#include "model/tapoff/tap_off_place.h"
#include "model/tapoff/outlet_run_support.h"

#include <functional>

namespace {

// Units on J1 (points 10 and 11) and J2 (point 12) of the outlet run, all booked.
class TapOffDeleteTest : public OutletRunTest {
 protected:
  void SetUp() override {
    OutletRunTest::SetUp();
    m_run->SetPartsState(2);
    CTapOffChoice& choice = RememberedTapOffChoice();
    choice.reference = "QDB0016SE";
    choice.record.mask = 128;
    choice.record.ratings = {60, 50, 80, 0, 0, 0};
    ASSERT_EQ(PlaceTapOffUnit(*m_j1, 10, nullptr, true), 1);
    ASSERT_EQ(PlaceTapOffUnit(*m_j1, 12, nullptr, true), 1);
    ASSERT_EQ(PlaceTapOffUnit(*m_j2, 12, nullptr, true), 1);
  }
  void TearDown() override {
    ResetMarkedTapOffUnits(nullptr, false);
    ResetRememberedTapOffChoice();
    OutletRunTest::TearDown();
  }
  std::vector<CDev*> Units() const {
    std::vector<CDev*> units;
    for (CDev* device : m_run->GetDevices())
      if (device->GetKind() == CDev::kTapOff) units.push_back(device);
    return units;
  }
  int Quantity() const {
    const int line = m_run->GetBOM().FindLine("QDB0016SE");
    return line < 0 ? 0 : m_run->GetBOM().GetLineQuantity(line);
  }
  static int Mark(const CDev* unit) { return unit->GetBox(CDev::kBodySlot)->GetSelectionState(); }
};

TEST_F(TapOffDeleteTest, DeletingAtAJointTakesOnlyItsUnitsAndTheirLines) {
  struct Row {
    const char* name;
    int partsState;
    int element;  // 1: J1, 2: J2, 0: the in-line unit between them
    int deleted;
  };
  const Row rows[] = {
      {"first joint", 2, 1, 2},
      {"second joint", 1, 2, 1},
      {"a piece of line is no joint", 2, 0, 0},
      {"parts never built", 0, 1, 0},
  };
  for (const Row& row : rows) {
    TearDown();
    SetUp();
    m_run->SetPartsState(row.partsState);
    CDev* element = row.element == 1 ? m_j1 : row.element == 2 ? m_j2 : m_unit;
    EXPECT_EQ(DeleteTapOffUnitsAt(*element), row.deleted) << row.name;
    EXPECT_EQ(Units().size(), 3u - static_cast<std::size_t>(row.deleted)) << row.name;
    EXPECT_EQ(Quantity(), 3 - row.deleted) << row.name;
  }
}

TEST_F(TapOffDeleteTest, MarkingAUnitResetsTheOnesMarkedBefore) {
  const std::vector<CDev*> units = Units();
  ASSERT_EQ(units.size(), 3u);
  EXPECT_EQ(ResetMarkedTapOffUnits(units[0], false), 1);
  EXPECT_EQ(Mark(units[0]), 1);
  // The next mark resets the first one on the same run (2) and marks its own unit.
  EXPECT_EQ(ResetMarkedTapOffUnits(units[1], false), 2);
  EXPECT_EQ(Mark(units[0]), 2);
  EXPECT_EQ(Mark(units[1]), 1);
  // Without an element the marks of the run are cleared again: every box with a mark.
  EXPECT_EQ(ResetMarkedTapOffUnits(nullptr, false), 2);
  EXPECT_EQ(Mark(units[0]), 0);
  EXPECT_EQ(Mark(units[1]), 0);
  // The run is forgotten: nothing further is touched.
  EXPECT_EQ(ResetMarkedTapOffUnits(nullptr, false), 0);
  EXPECT_EQ(Quantity(), 3);
}

TEST_F(TapOffDeleteTest, ResettingWithDeleteRemovesTheMarkedUnitsButTheNewOne) {
  const std::vector<CDev*> units = Units();
  ResetMarkedTapOffUnits(units[0], false);
  ResetMarkedTapOffUnits(units[1], false);
  EXPECT_EQ(ResetMarkedTapOffUnits(units[2], true), 3);
  ASSERT_EQ(Units().size(), 1u);
  EXPECT_EQ(Units().front(), units[2]);
  EXPECT_EQ(Mark(units[2]), 1);
  EXPECT_EQ(Quantity(), 1);
}

TEST_F(TapOffDeleteTest, ARunThatGoesIsNoLongerTheMarkedRun) {
  ResetMarkedTapOffUnits(Units().front(), false);
  m_run.reset();
  // Would reach into the freed run if the mark had kept it.
  EXPECT_EQ(ResetMarkedTapOffUnits(nullptr, true), 0);
}

}  // namespace

namespace {

// Units were marked only by the tests, and a unit chosen before was then reset out of
// sight: the delete took the last unit alone, whatever the view had shown.
TEST_F(TapOffDeleteTest, DeletingTakesTheUnitsMarkedInTurn) {
  const std::vector<CDev*> units = Units();
  ASSERT_EQ(units[0]->SelectElement(true, units[0]->GetBox(CDev::kBodySlot)), 1);
  EXPECT_EQ(Mark(units[0]), 1);
  ASSERT_EQ(units[1]->SelectElement(true, units[1]->GetBox(CDev::kBodySlot)), 1);
  EXPECT_EQ(Mark(units[1]), 1);
  EXPECT_EQ(Mark(units[0]), 2) << "the unit marked before shows in the lighter colour";
  EXPECT_EQ(Mark(units[2]), 0);
  EXPECT_EQ(units[1]->DeleteCurrentSelection(), 1);
  EXPECT_FALSE(m_run->OwnsElement(units[0]));
  EXPECT_FALSE(m_run->OwnsElement(units[1]));
  ASSERT_EQ(Units().size(), 1u);
  EXPECT_EQ(Mark(units[2]), 0);
  EXPECT_EQ(Quantity(), 1);
  EXPECT_EQ(m_run->Selection().Element(), nullptr);
}

TEST_F(TapOffDeleteTest, AnyOtherSelectionOrAClearResetsTheMarks) {
  const std::vector<CDev*> units = Units();
  struct Row {
    const char* name;
    std::function<void()> then;
  };
  const Row rows[] = {
      {"a joint selected",
       [this] { ASSERT_EQ(m_j1->SelectElement(true, m_j1->GetBox(m_j1->GetBackFace())), 1); }},
      {"the selection cleared", [&units] { units[2]->SelectElement(false, nullptr); }},
  };
  for (const Row& row : rows) {
    ASSERT_EQ(units[2]->SelectElement(true, units[2]->GetBox(CDev::kBodySlot)), 1) << row.name;
    ASSERT_EQ(Mark(units[2]), 1) << row.name;
    row.then();
    EXPECT_EQ(Mark(units[2]), 0) << row.name;
    EXPECT_EQ(ResetMarkedTapOffUnits(nullptr, true), 0) << row.name << ": nothing left to delete";
  }
  EXPECT_EQ(Units().size(), 3u);
}

// A unit put into the selection without the select tool carries no mark: it stays, and
// the delete says so.
TEST_F(TapOffDeleteTest, AUnitWithoutItsMarkStays) {
  const std::vector<CDev*> units = Units();
  m_run->Selection().Select(units[2], CElementSelection::kWholeElement);
  EXPECT_EQ(units[2]->DeleteCurrentSelection(), 0);
  EXPECT_EQ(Units().size(), 3u);
  EXPECT_EQ(m_run->Selection().Element(), units[2]);
}

}  // namespace
