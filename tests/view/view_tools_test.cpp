#include <gtest/gtest.h>

#include <deque>

#include "geometry/box.h"
#include "geometry/element_pick.h"
#include "model/annotation/annotation_list.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "model/undo/undo_manager.h"
#include "support/temp_folder.h"
#include "model/tapoff/tap_off_choice.h"
#include "view/annotation_places.h"
#include "view/view_tools.h"
#include "app/message_text.h"

namespace {

class CFakeHost : public CViewToolHost {
 public:
  void Beep() override { ++beeps; }
  void Refresh() override {}
  void SetCursor(int value) override { cursor = value; }
  void SetPrompt(int message) override { prompt = message; }
  void Capture(bool on) override { captured = on; }
  bool HasCapture() const override { return captured; }
  std::optional<std::string> AskText(int, const std::string&) override { return answer; }
  CPoint ToLogical(CPoint device) const override { return device; }
  CPoint ToDevice(CPoint logical) const override { return logical; }
  CRect ClientRect() const override { return {0, 0, 800, 600}; }
  bool ZoomToRect(CPoint, CPoint) override { return ++zooms > 0; }
  void ExportViewImage(const CRect& rect) override { exported.push_back(rect); }
  void FindViewPreset() override {}
  void SetDistanceLayer(bool) override {}
  const CAnnotationPlaces& LabelPlaces() const override { return places; }
  int EditAnnotation(CAnnotationLabel&, bool) override { return 1; }
  int RunTapOffDialog(int& code) override {
    code = tapOffCode;
    return tapOffResult;
  }
  int PlaceTapOffUnit(CBox&, int, CDev*) override { return 0; }
  void Tell(const std::string& text) override { told.push_back(text); }

  int beeps = 0, cursor = 0, prompt = 0, zooms = 0;
  int tapOffResult = 0, tapOffCode = 0;
  std::vector<std::string> told;
  bool captured = false;
  std::optional<std::string> answer;
  std::vector<CRect> exported;
  CAnnotationPlaces places;
};

class ViewToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CDocEnvironment environment;
    environment.settingsFolder = m_folder.Folder();
    m_doc = std::make_unique<CDorneDoc>(environment);
    m_doc->OnNewDocument("d");
    // The generic run has no section of its own: give its start one to pick.
    Run().GetStartMarker()->SetBackOffsets({300, 200, 0});
    m_doc->PlaceRunMarker(Run());
    m_tools = std::make_unique<CViewTools>(*m_doc, m_host);
  }
  CRun& Run() const { return *m_doc->GetCurrentRun(); }
  // The window point that lies `length` units from the insertion point along the axis.
  CPoint Toward(int axis, double length) const {
    return m_doc->Projection().ProjectPoint(m_doc->GetCursorPoint() + RunMoveVector(axis, length));
  }
  void Click(CPoint point, int keys = 0) {
    m_tools->OnLButtonDown({point, point, keys});
    m_tools->OnLButtonUp({point, point, keys});
  }
  int LastAction() const {
    const CUndoManager& undo = m_doc->GetUndo();
    return undo.GetLast() > 0 ? undo.GetRecord(undo.GetLast()).action : 0;
  }
  // A run of a start and three straights toward +x, 2000 units each.
  void BuildRun() {
    m_tools->OnKeyDown(CViewTools::kKeyEnter, 0);
    for (int i = 0; i < 3; ++i) Click(Toward(1, 2000));
  }

  CTempFolder m_folder{"tools"};
  std::unique_ptr<CDorneDoc> m_doc;
  CFakeHost m_host;
  std::unique_ptr<CViewTools> m_tools;
};

TEST_F(ViewToolsTest, TypedLengthsMoveTheStartPointByMultiplesOfFour) {
  struct Row {
    std::optional<std::string> answer;
    std::optional<double> moved;  // none: the point stays
    int beeps;
  };
  const Row rows[] = {{"5", 8, 0}, {"-1", 4, 0},      {"8", 8, 0},    {"1m", 1000, 0},
                      {"0", 0, 0}, {"100001", {}, 1}, {"two", {}, 1}, {std::nullopt, {}, 0}};
  for (const Row& row : rows) {
    m_host.answer = row.answer;
    m_host.beeps = 0;
    const C3DPoint before = m_doc->GetCursorPoint();
    const int steps = m_doc->GetUndo().GetLast();
    Click(Toward(1, 3000), kToolKeyControl);
    EXPECT_EQ(m_doc->GetCursorPoint().x - before.x, row.moved.value_or(0)) << *row.answer;
    EXPECT_EQ(Run().GetStartMarker()->GetPosition(), m_doc->GetCursorPoint());
    EXPECT_EQ(m_host.beeps, row.beeps);
    // Steps of one action follow each other as one.
    if (row.moved) {
      EXPECT_EQ(LastAction(), 21069);
    } else {
      EXPECT_EQ(m_doc->GetUndo().GetLast(), steps);
    }
  }
}

TEST_F(ViewToolsTest, ClicksTowardTheChosenDirectionStepTheOrientationRoundAndBack) {
  Click(Toward(1, 2000));
  EXPECT_EQ(Run().GetStartMarker()->GetDirection(), 4);
  EXPECT_EQ(m_doc->GetFreeFaceMask(), 62);
  for (int expected : {32, 64, 128, 16}) {
    Click(Toward(1, 2000));
    EXPECT_EQ(Run().GetRotation(), expected);
  }
  m_tools->OnRButtonDown({Toward(1, 2000), Toward(1, 2000), 0});
  EXPECT_EQ(Run().GetRotation(), 128);
  // Toward a direction still free the right button has nothing to turn.
  m_tools->OnRButtonDown({Toward(4, 2000), Toward(4, 2000), 0});
  EXPECT_EQ(m_host.beeps, 1);
  EXPECT_EQ(Run().GetRotation(), 128);
}

TEST_F(ViewToolsTest, ElementToolsCommitOneUndoStepPerChangeAndNoneForAFailure) {
  Click(Toward(1, 2000));
  BuildRun();
  EXPECT_EQ(Run().GetFlagsWord(), 1u);
  EXPECT_EQ(Run().GetDevices().size(), 4u);
  EXPECT_EQ(LastAction(), 17494);
  const C3DPoint end = m_doc->GetCursorPoint();
  struct Row {
    int command;
    CPoint point;
    int action;  // 0: the click beeps and nothing is recorded
  };
  const CPoint nowhere = m_doc->Projection().ProjectPoint(end + C3DPoint(0, 0, 50000));
  const Row rows[] = {{32781, Toward(2, 2000), 0},  // back toward the run: not free
                      {32781, Toward(1, 0), 0},     // on the insertion point: no axis
                      {32776, nowhere, 0},         {32844, nowhere, 0},
                      {32779, nowhere, 0},         {32777, nowhere, 0},
                      {32782, nowhere, 0},         {32777, Toward(2, 1000), 17477}};
  for (const Row& row : rows) {
    m_host.beeps = 0;
    const int steps = m_doc->GetUndo().GetLast();
    ASSERT_TRUE(m_tools->OnCommand(row.command));
    Click(row.point);
    EXPECT_EQ(m_host.beeps, row.action == 0 ? 1 : 0) << row.command;
    EXPECT_EQ(m_doc->GetUndo().GetLast() - steps, row.action == 0 ? 0 : 1) << row.command;
    if (row.action != 0) {
      EXPECT_EQ(LastAction(), row.action);
    }
  }
  EXPECT_EQ(Run().GetCurrentElement()->GetKind(), CDev::kEnd);
}

TEST_F(ViewToolsTest, TheDistanceTextFollowsThePointerAlongFreeDirectionsOnly) {
  m_tools->OnMouseMove({Toward(1, 2000), Toward(1, 2000), 0});
  EXPECT_EQ(m_tools->DistanceText(), "");  // no start placed yet
  Click(Toward(1, 2000));
  BuildRun();
  const std::pair<int, bool> rows[] = {{1, true}, {4, true}, {32, true}, {2, false}};
  for (const auto& [axis, shown] : rows) {
    m_tools->OnMouseMove({Toward(axis, 2000), Toward(axis, 2000), 0});
    const std::string text = m_tools->DistanceText();
    EXPECT_EQ(!text.empty(), shown) << axis;
    if (shown) {
      EXPECT_NEAR(m_doc->GetUnits().Parse(text), 2000, 20) << text;
    }
  }
}

TEST_F(ViewToolsTest, DeletingTheSelectedEndIsOneUndoStep) {
  Click(Toward(1, 2000));
  BuildRun();
  Run().SetFlagsWord(Run().GetFlagsWord() | 2u);
  m_tools->OnCommand(32780);
  m_tools->OnCommand(32862);  // nothing selected
  EXPECT_EQ(m_host.beeps, 1);
  Click(Toward(2, 1000));
  ASSERT_NE(m_doc->Selection().Element(), nullptr);
  m_tools->OnCommand(32862);
  EXPECT_EQ(Run().GetDevices().size(), 3u);
  EXPECT_EQ(LastAction(), 17476);
  EXPECT_EQ(m_host.beeps, 1);
}

TEST_F(ViewToolsTest, MovingOrCopyingARunGoesTowardThePickedAxis) {
  Click(Toward(1, 2000));
  BuildRun();
  Run().SetFlagsWord(Run().GetFlagsWord() | 2u);
  m_host.answer = "400";
  for (int axis : {1, 2, 4, 8, 16, 32}) {
    ASSERT_TRUE(m_tools->OnCommand(32988));
    const C3DPoint before = Run().GetFirstElement()->GetPosition();
    // The ray under the pointer is the one the click takes.
    m_tools->OnMouseMove({Toward(axis, 3000), Toward(axis, 3000), 0});
    EXPECT_EQ(m_tools->HoveredAxis(), axis);
    Click(Toward(axis, 3000));
    EXPECT_EQ(Run().GetFirstElement()->GetPosition() - before, RunMoveVector(axis, 400)) << axis;
    EXPECT_EQ(LastAction(), 21069);
  }
  ASSERT_TRUE(m_tools->OnCommand(33029));
  CRun* source = &Run();
  for (int click = 0; click < 2; ++click) {
    Click(Toward(4, 3000));
    EXPECT_EQ(m_doc->GetRunCount(), 2);
    EXPECT_NE(&Run(), source);
  }
  EXPECT_EQ(Run().GetFirstElement()->GetPosition() - source->GetFirstElement()->GetPosition(),
            RunMoveVector(4, 800));
  for (const char* bad : {"0", "100001", "far"}) {
    m_host.answer = bad;
    m_host.beeps = 0;
    Click(Toward(4, 3000));
    EXPECT_EQ(m_host.beeps, 1) << bad;
  }
}

TEST_F(ViewToolsTest, ARunMovesWithoutItsNeutralSideShown) {
  Click(Toward(1, 2000));
  BuildRun();
  ASSERT_EQ(Run().GetFlagsWord() & 2u, 0u);  // the run as placed: its neutral side not shown
  m_host.answer = "400";
  ASSERT_TRUE(m_tools->OnCommand(32988));
  const C3DPoint before = Run().GetFirstElement()->GetPosition();
  Click(Toward(1, 3000));
  EXPECT_EQ(Run().GetFirstElement()->GetPosition() - before, RunMoveVector(1, 400));
  EXPECT_EQ(m_host.beeps, 0);
}

TEST_F(ViewToolsTest, CommandsEnterAndLeaveTheTemporaryModes) {
  struct Row {
    std::vector<int> commands;  // 27: Escape
    int mode;
    int beeps;
  };
  const Row rows[] = {{{32786}, 8, 0},        {{32786, 32786}, 10, 0},
                      {{33024}, 13, 0},       {{33024, 33024}, 10, 0},
                      {{32858}, 7, 0},        {{32858, 33061}, 7, 1},
                      {{33024, 27}, 10, 0},   {{33028}, 14, 0},
                      {{33028, 33028}, 0, 0}, {{32786, 33024}, 13, 0},
                      {{27}, 10, 0}};
  for (const Row& row : rows) {
    m_tools->OnCommand(32780);
    m_host.beeps = 0;
    for (int command : row.commands) {
      if (command == 27) m_tools->OnKeyDown(CViewTools::kKeyEscape, 0);
      else m_tools->OnCommand(command);
    }
    EXPECT_EQ(m_doc->GetToolMode(), row.mode) << row.commands.back();
    EXPECT_EQ(m_host.beeps, row.beeps) << row.commands.back();
    EXPECT_EQ(m_host.cursor, CViewTools::CursorOf(row.mode, m_tools->PickState()));
  }
}

TEST_F(ViewToolsTest, OrbitKeepsTheAnchorInPlaceAndEscapeCommitsTheStep) {
  Click(Toward(1, 2000));
  BuildRun();
  const C3DProjection& projection = m_doc->Projection();
  for (bool escape : {false, true}) {
    m_tools->OnCommand(32780);
    m_tools->OnCommand(33024);
    const CPoint at = projection.ProjectPoint(Run().GetFirstElement()->GetPosition());
    const int a0 = projection.GetViewAngle(0), a1 = projection.GetViewAngle(1);
    const C3DPoint anchor = *HitTestElements(projection, at).point;
    const auto offset = [&] {
      const CPoint p = projection.ProjectPoint(anchor);
      return std::pair(p.x - m_doc->GetViewCentre()[0], p.y - m_doc->GetViewCentre()[1]);
    };
    const auto before = offset();
    m_tools->OnLButtonDown({{100, 100}, at, 0});
    m_tools->OnMouseMove({{110, 105}, at, 0});
    EXPECT_EQ(offset(), before);
    EXPECT_EQ(projection.GetViewAngle(0), (a0 + 5) % 360);
    EXPECT_EQ(projection.GetViewAngle(1), (a1 + 10) % 360);
    if (escape) m_tools->OnKeyDown(CViewTools::kKeyEscape, 0);
    else m_tools->OnLButtonUp({{110, 105}, at, 0});
    EXPECT_EQ(LastAction(), 23122);
    EXPECT_FALSE(m_host.captured);
    EXPECT_EQ(m_doc->GetToolMode(), escape ? 0 : 13);
  }
  m_host.beeps = 0;
  m_tools->OnCommand(33024);
  m_tools->OnLButtonDown({{0, 0}, {-900000, -900000}, 0});
  EXPECT_EQ(m_host.beeps, 1);
  EXPECT_FALSE(m_tools->OrbitActive());
}

TEST_F(ViewToolsTest, TheMiddleButtonPansFromAnyModeAndReturnsToIt) {
  Click(Toward(1, 2000));
  BuildRun();
  const auto centre = m_doc->GetViewCentre();
  m_tools->OnMButtonDown({{0, 0}, {1000, 1000}, kToolKeyMiddle});
  EXPECT_EQ(m_doc->GetToolMode(), CViewTools::kPanDragging);
  m_tools->OnMouseMove({{0, 0}, {1300, 900}, kToolKeyMiddle});
  EXPECT_EQ(m_doc->GetViewCentre()[0], centre[0] - 300);
  EXPECT_EQ(m_doc->GetViewCentre()[1], centre[1] + 100);
  m_tools->OnMButtonUp({{0, 0}, {1000, 1000}, 0});
  EXPECT_EQ(m_doc->GetToolMode(), CViewTools::kAddStraight);
  EXPECT_EQ(LastAction(), 23120);
}

TEST_F(ViewToolsTest, RectanglesZoomOrExportAndReturnToTheSavedMode) {
  m_tools->OnCommand(32858);
  Click({0, 0});
  m_tools->OnCommand(33061);
  Click({5, 5});
  m_tools->OnCommand(33061);
  m_tools->OnLButtonDown({{0, 0}, {10, 10}, 0});
  m_tools->OnLButtonUp({{0, 0}, {30, 40}, 0});
  EXPECT_EQ(m_host.zooms, 1);
  EXPECT_EQ(LastAction(), 23127);
  ASSERT_EQ(m_host.exported.size(), 2u);
  EXPECT_EQ(m_host.exported[0].right, 0);  // the whole view
  EXPECT_EQ(m_host.exported[1].right - m_host.exported[1].left, 20);
  EXPECT_EQ(m_doc->GetToolMode(), CViewTools::kPlaceStart);
}

TEST_F(ViewToolsTest, AGrabbedTapOffUnitIsDraggedOnceThePointerLeavesIt) {
  Click(Toward(1, 2000));
  BuildRun();
  CDev* unit = Run().NewElement();
  unit->SetKind(CDev::kTapOff);
  // Its connection mask, with the distribution's mark.
  unit->SetBookedLength(static_cast<std::int32_t>(128 | kTapOffMarkBit));
  const C3DPoint centre = m_doc->GetCursorPoint() + C3DPoint(0, 0, 2000);
  CBox* body = unit->MakeBox(CDev::kBodySlot);
  body->SetPlacement(centre, 600, 600, 600);
  Run().AddDevice(unit);
  m_doc->RebuildScene();
  m_tools->OnCommand(32780);
  // Off the edge between two faces that the centre projects onto.
  const CPoint on = m_doc->Projection().ProjectPoint(centre + C3DPoint(0, 100, 0));
  const CPoint off = m_doc->Projection().ProjectPoint(centre + C3DPoint(0, 0, 9000));
  m_tools->OnLButtonDown({on, on, 0});
  ASSERT_EQ(m_tools->PickState(), -1);
  m_tools->OnMouseMove({on, on, 0});
  EXPECT_EQ(m_doc->GetToolMode(), 0);
  m_tools->OnMouseMove({off, off, kToolKeyControl});
  EXPECT_EQ(m_doc->GetToolMode(), CViewTools::kTapOff);
  // The outlets offered are those that take the unit's mask (search code 128 * 256 + 10).
  EXPECT_EQ(m_tools->SecondCode(), -128 * 256);
  EXPECT_TRUE(m_host.captured);
  for (int keys : {0, int{kToolKeyControl}}) {
    m_tools->OnKeyUp(keys);
    m_tools->OnKeyDown(0, keys);
    EXPECT_EQ(m_host.cursor, keys != 0 ? 1110 : 1113);
  }
  const int steps = m_doc->GetUndo().GetLast();
  m_tools->OnLButtonUp({off, off, 0});  // over no outlet: nothing placed
  EXPECT_EQ(m_doc->GetToolMode(), 0);
  EXPECT_FALSE(m_host.captured);
  EXPECT_EQ(m_doc->GetUndo().GetLast(), steps);
}

TEST_F(ViewToolsTest, DimensionsNeedTwoDistinctPoints) {
  Click(Toward(1, 2000));
  BuildRun();
  const C3DProjection& projection = m_doc->Projection();
  const CPoint first = projection.ProjectPoint(Run().GetFirstElement()->GetPosition());
  const CPoint last = Toward(2, 2000);
  m_tools->OnCommand(33028);
  m_tools->OnLButtonDown({first, first, 0});
  EXPECT_EQ(m_host.beeps, 1);  // nothing hovered yet
  for (CPoint hover : {first, first}) {
    m_tools->OnMouseMove({hover, hover, 0});
    m_tools->OnLButtonDown({hover, hover, 0});
  }
  EXPECT_EQ(m_tools->PickState(), 2);
  EXPECT_EQ(m_host.beeps, 2);  // the same point twice
  m_tools->OnMouseMove({last, last, 0});
  ASSERT_EQ(m_tools->PickState(), 3);
  m_tools->OnLButtonDown({last, last, 0});
  EXPECT_EQ(m_doc->Annotations().Size(), 1u);
  EXPECT_EQ(LastAction(), 13134);
  EXPECT_EQ(m_doc->GetToolMode(), 0);
}

// A box an element draws over itself outside its slots (the equipment box of a feed unit)
// picks that element: a double click there selects it and opens its pages, where the
// run's pages opened before; a single click selects it as well.
TEST_F(ViewToolsTest, AClickOnAnElementsEquipmentBoxReachesTheElement) {
  Click(Toward(1, 2000));
  BuildRun();
  m_tools->OnCommand(32780);
  CDev& straight = *Run().GetDevices()[1];
  const CBox& body = *straight.GetBox(CDev::kBodySlot);
  C3DPoint middle;
  for (int corner = 0; corner < CBox::kCornerCount; ++corner)
    middle = middle + body.GetCorner(corner) * (1.0 / CBox::kCornerCount);
  // The box stands on the viewer's side of the element, as a feed unit's transformer does.
  const CPoint at = m_doc->Projection().ProjectPoint(middle);
  bool inFront = false;
  for (const C3DPoint side : {C3DPoint(0, 0, 1500), C3DPoint(0, 0, -1500), C3DPoint(0, 1500, 0),
                              C3DPoint(0, -1500, 0), C3DPoint(1500, 0, 0), C3DPoint(-1500, 0, 0)}) {
    const C3DPoint offset = middle + side - straight.GetPosition();
    m_doc->RemoveExtraBoxes(straight, false);
    m_doc->AddEquipmentBox(
        straight, {2000, 2000, 2000, static_cast<std::int32_t>(offset.x),
                   static_cast<std::int32_t>(offset.y), static_cast<std::int32_t>(offset.z)});
    m_doc->RebuildScene();
    const CElementPick pick = HitTestElements(m_doc->Projection(), at);
    inFront = pick.box != nullptr && straight.GetBoxSlot(*pick.box) == CDev::kSlotCount;
    if (inFront) break;
  }
  ASSERT_TRUE(inFront) << "the equipment box covers the element";
  for (const bool twice : {true, false}) {
    if (CDev* selected = m_doc->Selection().Element()) selected->SelectElement(false, nullptr);
    if (twice) m_tools->OnLButtonDblClk({at, at, 0});
    else Click(at);
    EXPECT_EQ(m_doc->Selection().Element(), &straight) << twice;
    EXPECT_EQ(m_doc->Selection().Face(), CDev::kBodySlot) << twice;
  }
  EXPECT_EQ(m_host.beeps, 0);
}

TEST_F(ViewToolsTest, EveryToolThatWaitsForAClickPromptsForIt) {
  const struct {
    int mode, pickState, prompt;
  } rows[] = {
      {CViewTools::kSelect, 0, 31472},     {CViewTools::kTurn, 0, 31475},
      {CViewTools::kMoveRun, 0, 62371},    {CViewTools::kMoveRun, 1, 62372},
      {CViewTools::kTapOff, 0, 62370},     {CViewTools::kDimension, 0, 62382},
      {CViewTools::kAnnotationDrag, 0, 0}, {-1, 0, 0},
      {CViewTools::kModeCount, 0, 0},
  };
  for (const auto& row : rows)
    EXPECT_EQ(CViewTools::PromptOf(row.mode, row.pickState), row.prompt) << row.mode;
  Click(Toward(1, 2000));
  BuildRun();
  for (const auto& [command, prompt] : {std::pair{32988, 62371}, std::pair{33029, 62372}}) {
    ASSERT_TRUE(m_tools->OnCommand(command));
    EXPECT_EQ(m_host.prompt, prompt) << command;
  }
}

TEST_F(ViewToolsTest, AClickThatChangesNothingSaysWhy) {
  Click(Toward(1, 2000));
  BuildRun();
  const CPoint offAxes =
      m_doc->Projection().ProjectPoint(m_doc->GetCursorPoint() + C3DPoint(1500, 1500, 0));
  struct Row {
    const char* name;
    int command;
    int partsState;
    CPoint point;
    std::string told;
  };
  const Row rows[] = {
      {"a move off the directions", 32988, 0, offAxes, StringText(62380)},
      {"a turn of a straight end", 32782, 0, offAxes, StringText(62379)},
      {"a turn of a built run", 32782, 2, offAxes,
       FormatMessageTextS(StringText(62378), Run().GetPropText("Name"))},
  };
  for (const Row& row : rows) {
    Run().SetPartsState(row.partsState);
    ASSERT_TRUE(m_tools->OnCommand(row.command)) << row.name;
    m_host.beeps = 0;
    m_host.told.clear();
    const int steps = m_doc->GetUndo().GetLast();
    Click(row.point);
    EXPECT_EQ(m_host.beeps, 1) << row.name;
    EXPECT_EQ(m_host.told, std::vector<std::string>{row.told}) << row.name;
    EXPECT_EQ(m_doc->GetUndo().GetLast(), steps) << row.name;
    m_tools->OnCommand(32780);
  }
}

TEST_F(ViewToolsTest, TheTapOffToolSaysWhenNoFreeOutletIsUnderThePointer) {
  Click(Toward(1, 2000));
  BuildRun();
  m_host.tapOffResult = 1;
  m_host.tapOffCode = 128 << 8;
  ASSERT_TRUE(m_tools->OnCommand(33030));
  ASSERT_EQ(m_doc->GetToolMode(), CViewTools::kTapOff);
  EXPECT_EQ(m_host.prompt, 62370);
  // The generic run has no joints, so no outlets to offer.
  EXPECT_TRUE(m_tools->OfferedOutlets().empty());
  const CPoint point = Toward(1, -3000);
  m_tools->OnMouseMove({point, point, 0});
  Click(point);
  EXPECT_EQ(m_host.beeps, 1);
  EXPECT_EQ(m_host.told, std::vector<std::string>{StringText(62373)});
}

TEST_F(ViewToolsTest, RotatingARunTurnsItsElementsInOneUndoStepEachWay) {
  Click(Toward(1, 2000));
  BuildRun();
  const int rotation = Run().GetRotation();
  ASSERT_NE(rotation, 0);
  for (const auto& [forward, action] : {std::pair{true, 32950}, std::pair{false, 32951}}) {
    const int steps = m_doc->GetUndo().GetLast();
    forward ? m_doc->RotateRunForward() : m_doc->RotateRunBackward();
    EXPECT_EQ(m_doc->GetUndo().GetLast(), steps + 1);
    EXPECT_EQ(LastAction(), action);
    // The start takes the run's turn: the drawing shows it.
    EXPECT_EQ(Run().GetFirstElement()->GetRotation(), Run().GetRotation());
  }
  EXPECT_EQ(Run().GetRotation(), rotation);
}

}  // namespace
