// What the element drawing hands to the drawing context, box by box, on the recorder.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "element_scene.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "view/draw_recorder.h"
#include "view/element_draw_cache.h"
#include "view/element_drawing.h"
#include "view/nominal_font_measurer.h"
#include "view/scene_drawing.h"

namespace {

constexpr CSize kSize{1000, 700};

struct Drawn {
  std::set<std::string> layers;
  std::set<std::string> texts;
  int polygons = 0;
  int screenOnly = 0;
  int supportBands = 0;  // polygons in the support colour
  int outlets = 0;       // grey polygons
};

Drawn DrawBox(const CElementScene& scene, const CBox& box, CElementDrawCache& cache,
              bool monochrome = false, int supportDisplay = 2) {
  CDrawRecorder recorder;
  CNominalFontMeasurer measurer;
  CDrawContext dc(recorder, measurer, kSize);
  FitSceneMapping(dc, *scene.document, kSize);
  CElementDrawOptions options = SceneDrawOptions(monochrome);
  options.supportDisplay = supportDisplay;
  DrawElementBox(dc, box, scene.document->GetToolMode(), cache, options);
  Drawn drawn;
  const CColor support = options.colors[kColorSupport];
  for (const CDrawRecorder::Call& call : recorder.Calls()) {
    if (call.kind.rfind("Screen", 0) == 0) ++drawn.screenOnly;
    if (call.kind == "Polygon") {
      ++drawn.polygons;
      drawn.layers.insert(call.layer);
      if (call.brush.color == support && call.pen.style == PenStyle::Null) ++drawn.supportBands;
      if (call.brush.color == CColor{128, 128, 128}) ++drawn.outlets;
    }
    if (call.kind == "Line") drawn.layers.insert(call.layer);
    if (call.kind == "Text") drawn.texts.insert(call.text);
  }
  return drawn;
}

class ElementDrawingTest : public ::testing::Test {
 protected:
  CElementScene scene = BuildElementKindsScene(330, 315, 0);
  CElementDrawCache cache;
  CBox& Body(std::size_t index) { return *scene.elements[index]->GetBox(CBoxOwner::kBodySlot); }
};

TEST_F(ElementDrawingTest, EachElementGoesToItsLayersWithItsMarks) {
  const struct {
    std::size_t element;
    int slot;
    std::set<std::string> layers;
    std::set<std::string> texts;
    bool supports;
    bool outlets;
    const char* guards;
  } rows[] = {
      {0,
       0,
       {"RUN", "NEUTRAL"},
       {"N"},
       false,
       false,
       "an end element carries the neutral marker and its text"},
      {1, 6, {"JOINTS"}, {}, false, false, "a joint's body goes to its own layer"},
      {2,
       6,
       {"RUN"},
       {},
       true,
       false,
       "a straight length shows the supports of its joint's SUPP text"},
      {4, 4, {"RUN"}, {}, false, false, "a branch stub of a junction is drawn on its own"},
      {14,
       7,
       {"RUN"},
       {},
       false,
       true,
       "the part box of a length with an outlet layout shows its outlets"},
      {10,
       6,
       {"RUN"},
       {},
       false,
       false,
       "the patterned body of an in-line unit carries no outlets"},
      {16, 6, {"RUN"}, {}, false, false, "a tap-off unit is an element box like any other"},
  };
  for (const auto& row : rows) {
    const CBox* box = scene.elements[row.element]->GetBox(row.slot);
    ASSERT_NE(box, nullptr) << row.guards;
    const Drawn drawn = DrawBox(scene, *box, cache);
    EXPECT_GT(drawn.polygons, 0) << row.guards;
    EXPECT_EQ(drawn.layers, row.layers) << row.guards;
    EXPECT_EQ(drawn.texts, row.texts) << row.guards;
    EXPECT_EQ(drawn.supportBands > 0, row.supports) << row.guards;
    EXPECT_EQ(drawn.outlets > 0, row.outlets) << row.guards;
  }
}

TEST_F(ElementDrawingTest, TheNeutralHatchingIsAScreenOnlyMarkInEveryOutput) {
  for (bool monochrome : {false, true}) {
    int onScreen = 0;
    for (CDev* e : scene.elements) {
      if (const CBox* body = e->GetBox(CBoxOwner::kBodySlot))
        onScreen += DrawBox(scene, *body, cache, monochrome).screenOnly;
    }
    EXPECT_GT(onScreen, 0) << monochrome;
  }
  scene.elements[0]->GetRun()->SetFlagsWord(0);
  EXPECT_EQ(DrawBox(scene, Body(2), cache).screenOnly, 0)
      << "the run does not show its neutral side";
}

TEST_F(ElementDrawingTest, SupportsAndOutletsAreComputedOnceUntilTheElementChanges) {
  DrawBox(scene, Body(2), cache);
  DrawBox(scene, *scene.elements[14]->GetBox(7), cache);
  const std::size_t first = cache.Computations();
  EXPECT_EQ(first, 2u);
  DrawBox(scene, Body(2), cache);
  DrawBox(scene, *scene.elements[14]->GetBox(7), cache);
  EXPECT_EQ(cache.Computations(), first);
  scene.elements[1]->SetPosition(scene.elements[1]->GetPosition() + C3DPoint(0, 0, 1));
  scene.elements[1]->SetPropValue("SUPP", "4:700");
  EXPECT_EQ(DrawBox(scene, Body(2), cache).supportBands > 0, true);
  EXPECT_EQ(cache.Computations(), first + 1);
}

TEST_F(ElementDrawingTest, TheSupportSettingHidesSupportsWithoutForgettingThem) {
  EXPECT_EQ(DrawBox(scene, Body(2), cache, false, 0).supportBands, 0);
  EXPECT_GT(DrawBox(scene, Body(2), cache, false, 2).supportBands, 0);
  EXPECT_EQ(cache.Computations(), 1u);
}

TEST_F(ElementDrawingTest, AStoredSupportTextThatDoesNotParseDrawsNoSupport) {
  for (const char* text : {"zz", "9:", "4:99999999999999999999", ":::://", "x4:700"}) {
    scene.elements[1]->SetPropValue("SUPP", text);
    cache.Clear();
    EXPECT_EQ(DrawBox(scene, Body(2), cache).supportBands, 0) << text;
  }
}

TEST_F(ElementDrawingTest, TheNeutralMarkerTextsByNeutralAndPhaseOrder) {
  using T = std::vector<std::string>;
  const struct {
    const char* catalog;
    const char* neutral;
    std::uint32_t flags;
    T texts;  // in drawing order, last character first
    const char* guards;
  } rows[] = {
      {"QM", "5", 0x2, {"N"}, "the run's own order is not written"},
      {"QM", "3", 0x2, {}, "neutral 3: the marker without text"},
      {"QM", "5", 0x2 | 0x8, {"1", "2", "3", "N"}, "flag bit 3 writes the run's own order"},
      {"QM", "5", 0x2 | 0x100, {"2", "3", "1", "N"}, "a changed order is written"},
      {"QG",
       "5",
       0x2 | 0x10 | 0x8,
       {"3", "2", "1", "N", "PE"},
       "QG with neutral 5 adds the protective conductor"},
      {"QG", "04", 0x2, {"4"}, "QG neutral reading 4 but not written 4"},
  };
  CDev& end = *scene.elements[0];
  for (const auto& row : rows) {
    end.GetRun()->SetCatalog(row.catalog);
    end.GetRun()->SetProp("Neutral", row.neutral);
    end.GetRun()->SetFlagsWord(row.flags);
    CDrawRecorder recorder;
    CNominalFontMeasurer measurer;
    CDrawContext dc(recorder, measurer, kSize);
    DrawElementBox(dc, *end.GetBox(0), 0, cache, SceneDrawOptions(false));
    T texts;
    int markerLines = 0;
    for (const CDrawRecorder::Call& call : recorder.Calls()) {
      if (call.kind == "Text") texts.push_back(call.text);
      if (call.kind == "Line" && call.layer == "NEUTRAL") ++markerLines;
    }
    EXPECT_EQ(texts, row.texts) << row.guards;
    EXPECT_EQ(markerLines, 4) << row.guards;
  }
}

TEST_F(ElementDrawingTest, TheQmaFlagStrokesShrinkOnAnElementWithABackNeighbourUnlessReversed) {
  CDev& end = *scene.elements[12];  // the run's last element, with a neighbour behind it
  end.GetRun()->SetCatalog("QMA");
  end.SetVariantBoth(9);
  const CBox* part = end.MakeBox(7);
  const_cast<CBox*>(part)->SetPlacement(end.GetBox(CBoxOwner::kBodySlot)->GetOrigin(), 200, 150,
                                        120);
  for (bool reversed : {false, true}) {
    end.SetStyle(reversed ? (end.GetStyle() | (1u << 14)) : (end.GetStyle() & ~(1u << 14)));
    CDrawRecorder recorder;
    CNominalFontMeasurer measurer;
    CDrawContext dc(recorder, measurer, kSize);
    DrawElementBox(dc, *part, 0, cache, SceneDrawOptions(false));
    std::vector<double> strokes;
    std::set<std::string> texts;
    for (const CDrawRecorder::Call& call : recorder.Calls()) {
      if (call.layer == "FLAGS" && call.kind == "Line") {
        strokes.push_back(
            std::hypot(call.points[1].x - call.points[0].x, call.points[1].y - call.points[0].y));
      }
      if (call.layer == "FLAGS" && call.kind == "Text") texts.insert(call.text);
    }
    ASSERT_GE(strokes.size(), 4u) << reversed;
    EXPECT_EQ(texts, std::set<std::string>{"N"});
    for (std::size_t i = 1; i < 4; ++i) {
      EXPECT_EQ(strokes[i] > strokes[i - 1], reversed)
          << "stroke " << i << (reversed ? " reversed" : "");
    }
  }
}

TEST_F(ElementDrawingTest, TheSceneIsDrawnByItsElementsWithTheCallersCache) {
  CSceneDrawOptions options;
  options.elements = SceneDrawOptions(false);
  options.cache = &cache;
  std::set<std::string> layers;
  std::vector<std::size_t> computations;
  for (int paint = 0; paint < 2; ++paint) {
    CDrawRecorder recorder;
    CNominalFontMeasurer measurer;
    CDrawContext dc(recorder, measurer, kSize);
    FitSceneMapping(dc, *scene.document, kSize);
    DrawScene(dc, *scene.document, options);
    for (const CDrawRecorder::Call& call : recorder.Calls()) layers.insert(call.layer);
    computations.push_back(cache.Computations());
  }
  EXPECT_EQ(layers, (std::set<std::string>{"RUN", "JOINTS", "NEUTRAL"}));
  EXPECT_GT(computations[0], 0u);
  EXPECT_EQ(computations[1], computations[0]) << "the second paint computes nothing again";
}

TEST_F(ElementDrawingTest, ABoxWithoutElementDrawsNothing) {
  CBox loose;
  loose.SetPlacement({0, 0, 0}, 100, 100, 100);
  CDrawRecorder recorder;
  CNominalFontMeasurer measurer;
  CDrawContext dc(recorder, measurer, kSize);
  DrawElementBox(dc, loose, 0, cache, SceneDrawOptions(false));
  EXPECT_TRUE(recorder.Calls().empty());
}

}  // namespace
