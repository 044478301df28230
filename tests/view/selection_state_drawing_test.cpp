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
