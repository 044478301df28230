// Drawings exported as DXF, kept under build/test-output/ and read back by an independent
// reader (Debian's python3-ezdxf) against their expected layers, entities and
// coordinates.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/child_process.h"
#include "canvas_scene.h"
#include "element_scene.h"
#include "support/test_output.h"
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

// Writes the drawing and has ezdxf compare it with tests/data/view/<expected>.
void ExpectEzdxfReads(CDxfWriter& writer, const std::string& name, const std::string& expected) {
  const std::string path = TestOutputPath(name);
  std::string fault;
  ASSERT_TRUE(writer.WriteFile(path, fault)) << fault;
  if (RunPython({"-c", "import ezdxf"}) != 0) GTEST_SKIP() << "python3-ezdxf is not installed";
  const std::filesystem::path source = TVR_SOURCE_DIR;
  EXPECT_EQ(RunPython({(source / "tests/view/check_dxf.py").string(), path,
                       (source / "tests/data/view" / expected).string()}),
            0);
}

// The scene of every primitive; its points lie at (10 x + 5000, 10 y + 3980).
TEST(DxfInteropTest, TheCanvasScene) {
  CDxfWriter writer;
  CNominalFontMeasurer measurer;
  CDrawContext dc(writer, measurer, kCanvasSceneSize);
  SetCanvasSceneMapping(dc);
  DrawCanvasScene(dc);
  EXPECT_EQ(writer.ScreenOnlyMarks(), 6u);
  ExpectEzdxfReads(writer, "canvas_scene.dxf", "canvas_scene.expected.json");
}

TEST(DxfInteropTest, EveryElementKind) {
  const CElementScene scene = BuildElementKindsScene(330, 315, 0);
  constexpr CSize kSize{1200, 900};
  CDxfWriter writer;
  CNominalFontMeasurer measurer;
  CDrawContext dc(writer, measurer, kSize);
  FitSceneMapping(dc, *scene.document, kSize);
  CElementDrawCache cache;
  DrawElements(dc, *scene.document, cache, SceneDrawOptions(true));
  EXPECT_GT(writer.ScreenOnlyMarks(), 0u) << "the neutral hatching is counted, never written";
  ExpectEzdxfReads(writer, "element_kinds.dxf", "element_kinds.expected.json");
}

}  // namespace
