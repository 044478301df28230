// The selection states a box is drawn in: not selected, selected (the highlight colour),
// and selected in the lighter colour (the highlight's channels times 1.5, at most 250).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "element_scene.h"
#include "geometry/box.h"
#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "model/run/run.h"
#include "view/draw_recorder.h"
#include "view/element_draw_cache.h"
#include "view/element_drawing.h"
#include "view/nominal_font_measurer.h"

namespace {

constexpr CSize kSize{1000, 700};
constexpr std::size_t kStraight = 2;
constexpr CColor kHighlight{0, 120, 215};
constexpr CColor kLighter{0, 180, 250};

// The colours the box's faces are filled with.
std::vector<CColor> Fills(const CElementScene& scene, const CBox& box) {
  CDrawRecorder recorder;
  CNominalFontMeasurer measurer;
  CDrawContext dc(recorder, measurer, kSize);
  FitSceneMapping(dc, *scene.document, kSize);
  CElementDrawOptions options = SceneDrawOptions(false);
  options.highlight = kHighlight;
  CElementDrawCache cache;
  DrawElementBox(dc, box, scene.document->GetToolMode(), cache, options);
  std::vector<CColor> fills;
  for (const CDrawRecorder::Call& call : recorder.Calls())
    if (call.kind == "Polygon" && call.brush.style == BrushStyle::Solid)
      fills.push_back(call.brush.color);
  return fills;
}

bool Holds(const std::vector<CColor>& fills, CColor colour) {
  return std::find(fills.begin(), fills.end(), colour) != fills.end();
}

TEST(SelectionStateDrawingTest, ABoxShowsTheStateItIsMarkedWith) {
  CElementScene scene = BuildElementKindsScene(330, 315, 0);
  CDev& straight = *scene.elements[kStraight];
  CRunDocument* document = scene.document.get();
  const struct {
    const char* name;
    std::function<void()> mark;
    bool highlighted;
    bool lighter;
  } rows[] = {
      {"nothing selected", [] {}, false, false},
      {"the element selected",
       [&] { straight.SelectElement(true, straight.GetBox(CDev::kBodySlot)); }, true, false},
      {"the selection marked in the lighter colour", [&] { MarkCurrentSelection(document, 2); },
       false, true},
      {"the selection's marks cleared: its own marks shown again",
       [&] { MarkCurrentSelection(document, 0); }, true, false},
      {"the selection cleared", [&] { straight.SelectElement(false, nullptr); }, false, false},
      {"an element not selected, marked in the lighter colour",
       [&] { straight.MarkSelected(CElementSelection::kWholeElement, 2); }, false, true},
      {"its marks cleared", [&] { straight.MarkSelected(CElementSelection::kWholeElement, 0); },
       false, false},
  };
  for (const auto& row : rows) {
    row.mark();
    const std::vector<CColor> fills = Fills(scene, *straight.GetBox(CDev::kBodySlot));
    ASSERT_FALSE(fills.empty()) << row.name;
    EXPECT_EQ(Holds(fills, kHighlight), row.highlighted) << row.name;
    EXPECT_EQ(Holds(fills, kLighter), row.lighter) << row.name;
  }
}

// A further box of the element at a face, a tenth of its length deep.
CBox* AddFaceBox(CDev& element, int face) {
  const CBox& body = *element.GetBox(CDev::kBodySlot);
  CBox* box = element.MakeBox(face);
  box->SetPlacement(body.GetOrigin(), body.GetExtent(0) / 10 + 1, body.GetExtent(1) / 10 + 1,
                    body.GetExtent(2) / 10 + 1);
  return box;
}

CDev* AddUnit(CRun& run, const C3DPoint& at) {
  CDev* unit = run.NewElement();
  unit->SetKind(CDev::kTapOff);
  unit->SetActive(1);
  unit->SetDirection(4);
  unit->SetPosition(at);
  run.AddDevice(unit);
  unit->MakeBox(CDev::kBodySlot)->SetPlacement(at, 200, 250, 300);
  return unit;
}

// 0, 1 or 2 as the box's faces show it: plain, in the highlight, in the lighter colour.
int DrawnState(const CElementScene& scene, const CBox& box) {
  const std::vector<CColor> fills = Fills(scene, box);
  EXPECT_FALSE(fills.empty());
  return Holds(fills, kLighter) ? 2 : Holds(fills, kHighlight) ? 1 : 0;
}

// The view drew every box of the selected element and nothing of the units marked in
// turn: a selected joint looked like its whole element.
TEST(SelectionStateDrawingTest, EachBoxIsDrawnAsItsMarkSays) {
  CElementScene scene = BuildElementKindsScene(330, 315, 0);
  CDev& joint = *scene.elements[1];
  CDev& straight = *scene.elements[kStraight];
  CDev& elbow = *scene.elements[3];
  CDev& qpUnit = *scene.elements[16];
  CBox& behind = *AddFaceBox(straight, straight.GetBackFace());
  CBox& ahead = *AddFaceBox(joint, CDev::OppositeDirection(straight.GetBackFace()));
  CDev& secondUnit = *AddUnit(*qpUnit.GetRun(), qpUnit.GetPosition() + C3DPoint(600, 0, 0));
  CDev& qmUnit = *AddUnit(*straight.GetRun(), straight.GetPosition() + C3DPoint(0, 400, 0));
  scene.document->RebuildScene();
  const std::vector<const CBox*> boxes = {straight.GetBox(CDev::kBodySlot),
                                          &behind,
                                          &ahead,
                                          elbow.GetBox(CDev::kBodySlot),
                                          qpUnit.GetBox(CDev::kBodySlot),
                                          secondUnit.GetBox(CDev::kBodySlot),
                                          qmUnit.GetBox(CDev::kBodySlot)};
  const auto select = [](CDev& element, CBox* box) {
    return [&element, box] { ASSERT_EQ(element.SelectElement(true, box), 1); };
  };
  const struct {
    const char* name;
    std::function<void()> then;
    std::vector<int> states;  // straight, its joint's two face boxes, elbow, the three units
  } rows[] = {
      {"nothing selected", [] {}, {0, 0, 0, 0, 0, 0, 0}},
      {"an element", select(elbow, elbow.GetBox(CDev::kBodySlot)), {0, 0, 0, 1, 0, 0, 0}},
      {"a joint: its two face boxes, not the element",
       select(straight, &behind),
       {0, 1, 1, 0, 0, 0, 0}},
      {"a tap-off unit", select(qpUnit, qpUnit.GetBox(CDev::kBodySlot)), {0, 0, 0, 0, 1, 0, 0}},
      {"a second unit of the run: the first in the lighter colour",
       select(secondUnit, secondUnit.GetBox(CDev::kBodySlot)),
       {0, 0, 0, 0, 2, 1, 0}},
      {"a unit of another run: the marks of the first run go",
       select(qmUnit, qmUnit.GetBox(CDev::kBodySlot)),
       {0, 0, 0, 0, 0, 0, 1}},
      {"cleared", [&] { qmUnit.SelectElement(false, nullptr); }, {0, 0, 0, 0, 0, 0, 0}},
  };
  for (const auto& row : rows) {
    row.then();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_EQ(boxes[i]->GetSelectionState(), row.states[i]) << row.name << ", box " << i;
      EXPECT_EQ(DrawnState(scene, *boxes[i]), row.states[i]) << row.name << ", box " << i;
    }
  }
}

TEST(SelectionStateDrawingTest, AMarkOutsideTheStatesCountsAsSelected) {
  CBox box;
  const struct {
    int state;
    int kept;
  } rows[] = {{0, 0}, {1, 1}, {2, 2}, {3, 1}, {-1, 1}};
  for (const auto& row : rows) {
    box.SetSelectionState(row.state);
    EXPECT_EQ(box.GetSelectionState(), row.kept) << row.state;
    EXPECT_EQ(box.IsSelected(), row.kept != 0) << row.state;
  }
}

}  // namespace
