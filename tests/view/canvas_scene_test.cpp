// The scene of every primitive recorded as DXF, kept as build/test-output/canvas_scene.dxf
// and read back by an independent reader (Debian's python3-ezdxf).
#include <gtest/gtest.h>

#include <filesystem>

#include "app/child_process.h"
#include "canvas_scene.h"
#include "view/dxf_writer.h"
#include "view/nominal_font_measurer.h"

namespace {

constexpr char kPython[] = "/usr/bin/python3";

int RunPython(const std::vector<std::string>& arguments) {
  CChildProcess process;
  if (process.Start(kPython, arguments) != 0) return -1;
  return process.Wait();
}

TEST(CanvasSceneTest, EzdxfReadsTheLayersEntitiesAndCoordinatesOfTheScene) {
  CDxfWriter writer;
  CNominalFontMeasurer measurer;
  CDrawContext dc(writer, measurer, kCanvasSceneSize);
  SetCanvasSceneMapping(dc);
  DrawCanvasScene(dc);
  EXPECT_EQ(writer.ScreenOnlyMarks(), 6u);

  const std::filesystem::path folder = TVR_TEST_OUTPUT_DIR;
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "canvas_scene.dxf").string();
  std::string fault;
  ASSERT_TRUE(writer.WriteFile(path, fault)) << fault;

  if (RunPython({"-c", "import ezdxf"}) != 0) GTEST_SKIP() << "python3-ezdxf is not installed";
  // What the scene must give, in DXF units: points at (10 x + 5000, 10 y + 3980).
  const std::filesystem::path source = TVR_SOURCE_DIR;
  EXPECT_EQ(RunPython({(source / "tests/view/check_dxf.py").string(), path,
                       (source / "tests/data/view/canvas_scene.expected.json").string()}),
            0);
}

}  // namespace
