// The document holding every element kind exported as DXF, kept as
// build/test-output/element_kinds.dxf and read back by python3-ezdxf.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/child_process.h"
#include "element_scene.h"
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

TEST(ElementKindsDxfTest, EzdxfReadsTheLayersAndEntitiesOfEveryKind) {
  const CElementScene scene = BuildElementKindsScene(330, 315, 0);
  constexpr CSize kSize{1200, 900};
  CDxfWriter writer;
  CNominalFontMeasurer measurer;
  CDrawContext dc(writer, measurer, kSize);
  FitSceneMapping(dc, *scene.document, kSize);
  CElementDrawCache cache;
  DrawElements(dc, *scene.document, cache, SceneDrawOptions(true));
  EXPECT_GT(writer.ScreenOnlyMarks(), 0u) << "the neutral hatching is counted, never written";

  const std::filesystem::path folder = TVR_TEST_OUTPUT_DIR;
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "element_kinds.dxf").string();
  std::string fault;
  ASSERT_TRUE(writer.WriteFile(path, fault)) << fault;
  if (RunPython({"-c", "import ezdxf"}) != 0) GTEST_SKIP() << "python3-ezdxf is not installed";
  const std::filesystem::path source = TVR_SOURCE_DIR;
  EXPECT_EQ(RunPython({(source / "tests/view/check_dxf.py").string(), path,
                       (source / "tests/data/view/element_kinds.expected.json").string()}),
            0);
}

}  // namespace
