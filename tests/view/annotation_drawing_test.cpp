#include <gtest/gtest.h>

#include <algorithm>

#include "app/app_settings.h"
#include "layout_scene.h"
#include "model/annotation/annotation_label.h"
#include "model/annotation/annotation_list.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "model/run/run.h"
#include "view/annotation_drawing.h"
#include "view/annotation_places.h"
#include "view/annotation_update.h"
#include "view/display_layers.h"
#include "view/draw_context.h"
#include "view/draw_recorder.h"
#include "view/nominal_font_measurer.h"
#include "view/view_window.h"

namespace {

constexpr CSize kTarget{800, 600};

class AnnotationDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_document = BuildLayoutScene(2, 4);
    m_options = SceneOptionsFromSettings(CAppSettings(), false);
    m_options.annotationPlaces = &m_places;
  }

  CAnnotationLabel& AddLabel(int kind, const std::string& text) {
    auto label = std::make_unique<CAnnotationLabel>(kind);
    label->SetOwnerDocument();
    label->SetText(text);
    label->SetOffset(200, 200);
    return static_cast<CAnnotationLabel&>(m_document->Annotations().Append(std::move(label)));
  }

  CAnnotationLabel& AddDimension(CDev* first, CDev* second) {
    CAnnotationLabel& label = AddLabel(CAnnotation::kDistance, "<Length>");
    label.SetEnd(0, first);
    label.SetEnd(1, second);
    label.SetDimensionCodes({CDev::kBodySlot, 9, CDev::kBodySlot, 9});
    return label;
  }

  // The calls of one layered pass.
  std::vector<CDrawRecorder::Call> Draw() {
    CDrawRecorder recorder;
    CNominalFontMeasurer measurer;
    CDrawContext dc(recorder, measurer, kTarget);
    CViewWindow::FromDocument(*m_document).ApplyTo(dc.Mapping(), kTarget);
    DrawAnnotationLayers(dc, *m_document, m_options);
    return recorder.Calls();
  }

  // Drawn in the last pass on the screen: where the mouse finds it, and the flag the
  // design stores.
  bool Drawn(const CAnnotation& a) const {
    const bool flagged = (a.GetFlags() & CAnnotation::kFlagDrawn) != 0;
    EXPECT_EQ(flagged, m_places.Drawn(a));
    return m_places.Drawn(a);
  }

  static int OnLayer(const std::vector<CDrawRecorder::Call>& calls, const std::string& layer,
                     const std::string& kind) {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const auto& call) {
      return call.layer == layer && call.kind == kind;
    }));
  }

  std::unique_ptr<CDorneDoc> m_document;
  CAnnotationPlaces m_places;
  CSceneDrawOptions m_options;
};

TEST_F(AnnotationDrawingTest, WithEveryLayerOffNothingIsDrawnNorLeftToBeHit) {
  CAnnotationLabel& text = AddLabel(CAnnotation::kText, "Hello");
  Draw();
  EXPECT_TRUE(Drawn(text));
  m_options.layers.fill(false);
  EXPECT_TRUE(Draw().empty());
  EXPECT_FALSE(Drawn(text));
}

TEST_F(AnnotationDrawingTest, EachKindDrawsOnItsOwnLayerWhenItsLayerIsOn) {
  UpdateTitleBlock(*m_document, CAppSettings().labels);
  AddLabel(CAnnotation::kText, "Hello\tworld");
  const auto& chain = m_document->GetRuns().front()->GetChainOrder();
  AddDimension(chain.at(0), chain.at(3));
  m_options.layers.fill(true);
  const std::vector<CDrawRecorder::Call> calls = Draw();
  EXPECT_GT(OnLayer(calls, "TEXT", "Text"), 1);
  EXPECT_GT(OnLayer(calls, "CART", "Text"), 0);
  EXPECT_GT(OnLayer(calls, "CART", "Line"), 0);
  EXPECT_GT(OnLayer(calls, "DIMS1", "Line"), 0);
  EXPECT_EQ(OnLayer(calls, "DIMS3", "Line"), 3) << "two extension lines and the dimension line";
  const auto length = std::find_if(calls.begin(), calls.end(), [](const auto& call) {
    return call.layer == "DIMS3" && call.kind == "Text";
  });
  ASSERT_NE(length, calls.end());
  EXPECT_EQ(length->text.find("<Length>"), std::string::npos) << length->text;
  m_options.layers[CAnnotation::kText] = false;
  EXPECT_EQ(OnLayer(Draw(), "TEXT", "Text"), 0);
}

TEST_F(AnnotationDrawingTest, AMissingPictureDrawsAFrameWithItsNameAndStays) {
  CAnnotationLabel& picture = AddLabel(CAnnotation::kImage, "C:\\nowhere\\plan.bmp");
  const std::vector<CDrawRecorder::Call> calls = Draw();
  EXPECT_EQ(OnLayer(calls, "IMAGE", "Rectangle"), 1);
  const auto name = std::find_if(calls.begin(), calls.end(),
                                 [](const auto& call) { return call.kind == "Text"; });
  ASSERT_NE(name, calls.end());
  EXPECT_EQ(name->text, "plan.bmp");
  EXPECT_TRUE(m_document->Annotations().Contains(&picture));
  EXPECT_TRUE(Drawn(picture));
}

TEST_F(AnnotationDrawingTest, ADimensionWhoseEndHasNoBoxIsSkippedAndKept) {
  const auto& chain = m_document->GetRuns().front()->GetChainOrder();
  CAnnotationLabel& dimension = AddDimension(chain.at(1), chain.at(3));
  dimension.SetDimensionCodes({7, 9, CDev::kBodySlot, 9});  // no element has a box 7 here
  const std::vector<CDrawRecorder::Call> calls = Draw();
  EXPECT_EQ(OnLayer(calls, "DIMS3", "Line"), 0);
  EXPECT_FALSE(Drawn(dimension));
  EXPECT_TRUE(m_document->Annotations().Contains(&dimension));
}

TEST_F(AnnotationDrawingTest, SingleRunDisplayShowsTheCurrentRunsAnnotationsOnly) {
  const std::vector<CRun*>& runs = m_document->GetRuns();
  CAnnotationLabel& first =
      AddDimension(runs[0]->GetChainOrder().at(0), runs[0]->GetChainOrder().at(2));
  CAnnotationLabel& second =
      AddDimension(runs[1]->GetChainOrder().at(0), runs[1]->GetChainOrder().at(2));
  CAnnotationLabel& linked = AddLabel(CAnnotation::kText, "only with run 0");
  linked.SetFlags(linked.GetFlags() | CAnnotation::kFlagWithRun);
  linked.SetLinkedRun(runs[0]);
  m_document->SetCurrentRun(runs[1]);
  Draw();
  EXPECT_TRUE(Drawn(first) && Drawn(second)) << "all runs shown";
  EXPECT_FALSE(Drawn(linked)) << "shown only in single-run display";
  m_document->SetCurrentRunOnly(true);
  Draw();
  EXPECT_FALSE(Drawn(first));
  EXPECT_TRUE(Drawn(second));
  EXPECT_FALSE(Drawn(linked));
  m_document->SetCurrentRun(runs[0]);
  Draw();
  EXPECT_TRUE(Drawn(first) && Drawn(linked));
}

TEST_F(AnnotationDrawingTest, PrintingLeavesTheScreenPlacesAsTheyWere) {
  CAnnotationLabel& text = AddLabel(CAnnotation::kText, "Hello");
  Draw();
  ASSERT_TRUE(Drawn(text));
  const CRect onScreen = m_places.Find(text)->screen;
  m_options.annotationPlaces = nullptr;
  m_options.annotationScale = 6.25;
  text.SetOffset(900, 900);
  Draw();
  ASSERT_TRUE(m_places.Drawn(text));
  EXPECT_EQ(m_places.Find(text)->screen, onScreen);
}

// On the screen a label that leaves no mark inside the view is not drawn, yet it is
// recorded where it would be; a label whose leader reaches into the view, a DXF file and
// a printed page draw it.
TEST_F(AnnotationDrawingTest, ALabelOutsideTheViewIsRecordedButDrawnOnlyWhereItShows) {
  const struct {
    const char* name;
    bool attached;
    bool record;
    bool dxf;
    bool drawn;
  } cases[] = {
      {"free, off the view, on the screen", false, true, false, false},
      {"attached, its leader into the view", true, true, false, true},
      {"free, off the view, into a DXF file", false, true, true, true},
      {"free, off the view, printed", false, false, false, true},
  };
  for (const auto& c : cases) {
    m_document = BuildLayoutScene(2, 4);
    CDev* element = m_document->GetRuns().front()->GetChainOrder().at(1);
    CAnnotationLabel& text = AddLabel(CAnnotation::kText, "Far away");
    // Free labels are placed in 1/2000 of the view: 2600 lies past its right edge.
    text.SetOffset(2600, 300);
    if (c.attached) {
      text.SetOwnerElement(element);
      text.SetFlags(CAnnotation::kFlagAttached | CAnnotation::kFlagUserAttached);
      text.SetOffset(1000000, 0);
    }
    m_options.annotationPlaces = c.record ? &m_places : nullptr;
    m_options.dxf = c.dxf;
    EXPECT_EQ(OnLayer(Draw(), "TEXT", "Text") > 0, c.drawn) << c.name;
    if (!c.record || c.dxf) continue;
    EXPECT_TRUE(Drawn(text)) << c.name;
    EXPECT_GT(m_places.Find(text)->screen.left, kTarget.cx) << c.name;
  }
}

}  // namespace
