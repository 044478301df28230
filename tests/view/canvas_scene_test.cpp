// The scene of every primitive recorded as DXF, kept as build/test-output/canvas_scene.dxf
// and read back by an independent reader (Debian's python3-ezdxf).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/child_process.h"
#include "canvas_scene.h"
#include "view/dxf_writer.h"

namespace {

constexpr char kPython[] = "/usr/bin/python3";

// What the scene must give, in DXF units: lines at 10 x + 5000, 10 y + 3980.
constexpr char kExpected[] = R"({
  "layers": {"LINES": 1, "FILLS": 3, "TEXTS": 5},
  "absent_layers": ["EMPTY"],
  "counts": {"LINE": 62, "TEXT": 4},
  "lines": [[1000, 6980, 9000, 6980],
            [5000, 4980, 6000, 4980], [7000, 4980, 8000, 4980],
            [3500, 7680, 4000, 7680], [6000, 7680, 6500, 7680],
            [-1, 7981, 9981, 7981]],
  "texts": ["Canvas", "Line  break", "\u00c4 \u20ac \u03a9", "Bold"],
  "styles": 2
})";

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
  std::ofstream(folder / "canvas_scene.expected.json") << kExpected;

  if (RunPython({"-c", "import ezdxf"}) != 0) GTEST_SKIP() << "python3-ezdxf is not installed";
  EXPECT_EQ(RunPython({std::string(TVR_SOURCE_DIR) + "/tests/view/check_dxf.py", path,
                       (folder / "canvas_scene.expected.json").string()}),
            0);
}

}  // namespace
