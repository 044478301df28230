// Element details written into a DXF file and read back by an independent reader (Debian's
// python3-ezdxf): the phase labels and bar marks on the element's layer, and the picture
// of a feed unit that the file cannot hold given as an ellipse.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <vector>

#include "app/child_process.h"
#include "element_scene.h"
#include "model/element/dev.h"
#include "model/document/dorne_doc.h"
#include "support/test_output.h"
#include "view/draw_recorder.h"
#include "view/dxf_writer.h"
#include "view/element_draw_cache.h"
#include "view/element_drawing.h"
#include "view/nominal_font_measurer.h"

namespace {

int RunPython(const std::vector<std::string>& arguments) {
  CChildProcess process;
  if (process.Start("/usr/bin/python3", arguments) != 0) return -1;
  return process.Wait();
}

constexpr CSize kSize{1200, 900};

template <class Device>
void DrawDetailed(Device& device, const CElementScene& scene, bool dxf) {
  CNominalFontMeasurer measurer;
  CDrawContext dc(device, measurer, kSize);
  FitSceneMapping(dc, *scene.document, kSize);
  CElementDrawCache cache;
  CElementDrawOptions options = SceneDrawOptions(true);
  options.dxfRecording = dxf;
  DrawElements(dc, *scene.document, cache, options);
}

// What a drawing records when the view is fitted to the scene and then zoomed out that
// many times, for the screen or for a DXF file.
template <typename Draw>
std::vector<CDrawRecorder::Call> RecordZoomedOut(const CElementScene& scene, bool detailed,
                                                 bool dxf, int zoomOut, Draw draw) {
  CDrawRecorder recorder;
  CNominalFontMeasurer measurer;
  CDrawContext dc(recorder, measurer, kSize);
  FitSceneMapping(dc, *scene.document, kSize);
  dc.Mapping().SetWindowExtent(
      {dc.Mapping().WindowExtent().cx * zoomOut, dc.Mapping().WindowExtent().cy * zoomOut});
  CElementDrawCache cache;
  CElementDrawOptions options = SceneDrawOptions(detailed);
  options.dxfRecording = dxf;
  draw(dc, cache, options);
  return recorder.Calls();
}

// The elements of the scene drawn as the view draws them.
std::vector<CDrawRecorder::Call> RecordElementsZoomedOut(const CElementScene& scene, bool dxf,
                                                         int zoomOut) {
  return RecordZoomedOut(
      scene, true, dxf, zoomOut,
      [&](CDrawContext& dc, CElementDrawCache& cache, const CElementDrawOptions& options) {
        DrawElements(dc, *scene.document, cache, options);
      });
}

std::ptrdiff_t CountCalls(const std::vector<CDrawRecorder::Call>& calls, std::string_view kind) {
  return std::count_if(calls.begin(), calls.end(), [&](const auto& c) { return c.kind == kind; });
}

TEST(DetailDxfTest, LabelsAndBarsReachTheFileOnTheElementsLayer) {
  const CElementScene scene = BuildDetailedScene(1);
  CDxfWriter writer;
  DrawDetailed(writer, scene, true);
  const std::string path = TestOutputPath("detail_symbols.dxf");
  std::string fault;
  ASSERT_TRUE(writer.WriteFile(path, fault)) << fault;
  if (RunPython({"-c", "import ezdxf"}) != 0) GTEST_SKIP() << "python3-ezdxf is not installed";
  const std::filesystem::path source = TVR_SOURCE_DIR;
  EXPECT_EQ(RunPython({(source / "tests/view/check_detail_dxf.py").string(), path, "RUN", "N", "1",
                       "2", "3"}),
            0);
}

TEST(DetailDxfTest, TheSameDetailsReachEveryTarget) {
  // What the screen gets and what the file records differ only where the file cannot
  // follow: screen-only marks, and a picture that becomes an ellipse.
  const CElementScene scene = BuildDetailedScene(8);
  CDrawRecorder screen, file;
  DrawDetailed(screen, scene, false);
  DrawDetailed(file, scene, true);
  auto texts = [](const CDrawRecorder& r) {
    std::vector<std::string> t;
    for (const auto& c : r.Calls())
      if (c.kind == "Text") t.push_back(c.text);
    return t;
  };
  EXPECT_EQ(texts(screen), texts(file));
  EXPECT_FALSE(texts(screen).empty());
  auto lines = [](const CDrawRecorder& r) {
    return std::count_if(r.Calls().begin(), r.Calls().end(),
                         [](const auto& c) { return c.kind == "Line" || c.kind == "Polyline"; });
  };
  EXPECT_EQ(lines(screen), lines(file));
}

TEST(DetailDxfTest, AZoomedOutViewLeavesOutDetailsTheFileKeeps) {
  const CElementScene scene = BuildDetailedScene(1);
  auto texts = [&](bool dxf, int zoomOut) {
    // a hundred times further out: the element is a few pixels wide
    return CountCalls(RecordElementsZoomedOut(scene, dxf, zoomOut), "Text");
  };
  const auto near = texts(false, 1);
  EXPECT_GE(near, 4) << "the four bars labelled";
  EXPECT_EQ(texts(false, 100), 0);
  EXPECT_EQ(texts(true, 100), near);
}

// Further out the bar boxes themselves shrink to a dot inside the element: the view leaves
// them out whole, the file keeps them. Near enough to be told apart, their faces are drawn
// before their labels are legible.
TEST(DetailDxfTest, BarBoxesOfADotAreLeftOutOfTheView) {
  const CElementScene scene = BuildDetailedScene(1);
  const CElementScene bare = BuildDetailedScene(1);
  for (int slot = 10; slot <= 13; ++slot) bare.elements.front()->DeleteBox(slot);
  bare.document->RebuildScene();
  auto calls = [](const CElementScene& s, bool dxf, int zoomOut, const char* kind) {
    return CountCalls(RecordElementsZoomedOut(s, dxf, zoomOut), kind);
  };
  const struct {
    int zoomOut;
    bool dxf;
    bool barsDrawn;
    bool labels;
    const char* guards;
  } rows[] = {
      {1, false, true, true, "near: bars and labels"},
      {30, false, true, false, "a few pixels: the bars, no labels"},
      {400, false, false, false, "a dot: neither"},
      {400, true, true, true, "the file keeps both"},
  };
  for (const auto& row : rows) {
    const auto polygons = calls(scene, row.dxf, row.zoomOut, "Polygon");
    EXPECT_EQ(polygons != calls(bare, row.dxf, row.zoomOut, "Polygon"), row.barsDrawn)
        << row.guards;
    EXPECT_EQ(calls(scene, row.dxf, row.zoomOut, "Text") > 0, row.labels) << row.guards;
  }
}

// A box with edges of its own (the part box of a QG end) that is too small for its details
// is drawn face by face as one filled figure outlined in its pen, as a plain box is; near
// enough, and in the file, each edge is its own line.
TEST(DetailDxfTest, ADetailBoxTooSmallForItsDetailsIsDrawnAsPlainFaces) {
  const CElementScene scene = BuildDetailedScene(1);
  const CBox& part = *scene.elements.front()->GetBox(7);
  auto record = [&](bool dxf, int zoomOut) {
    return RecordZoomedOut(
        scene, false, dxf, zoomOut,
        [&](CDrawContext& dc, CElementDrawCache& cache, const CElementDrawOptions& options) {
          DrawElementBox(dc, part, 0, cache, options);
        });
  };
  const struct {
    bool dxf;
    int zoomOut;
    bool ownEdges;
  } rows[] = {{false, 1, true}, {false, 100, false}, {true, 100, true}};
  for (const auto& row : rows) {
    const auto calls = record(row.dxf, row.zoomOut);
    EXPECT_GT(CountCalls(calls, "Polygon"), 0) << row.zoomOut;
    EXPECT_EQ(CountCalls(calls, "Line") > 0, row.ownEdges) << row.dxf << " " << row.zoomOut;
    for (const auto& c : calls) {
      if (c.kind == "Polygon") {
        EXPECT_EQ(c.pen.style == PenStyle::Null, row.ownEdges) << "filled without a pen";
      }
    }
  }
}

}  // namespace
