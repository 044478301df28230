// Starts the real program under a virtual X server on a sample of four runs that meet on
// screen and edits one run at a time with the move tool and Delete, undoing each: after
// every edit and every undo the layout view shows exactly the order and the picture of its
// scene built anew from an empty list, and the saved designs hold the edits. The
// screenshots are kept in the test output folder.

#include <gtest/gtest.h>

#include <QImage>

#include <string>
#include <vector>

#include "geometry/3d_point.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "sample_end_to_end_support.h"

namespace {

const std::string kSample = TVR_PROGRAM_DIR "/examples/qp_sample.run";

// The first element's position and the device count of every run of a saved design.
struct RunShape {
  C3DPoint first;
  std::size_t devices = 0;
};

std::vector<RunShape> ShapesOf(const std::string& path) {
  std::vector<RunShape> shapes;
  LookAtSaved(path, [&shapes](CDorneDoc& document) {
    for (const CRun* run : document.GetRuns()) {
      const CDev* first = run->GetFirstElement();
      shapes.push_back(
          {first != nullptr ? first->GetPosition() : C3DPoint(), run->GetDevices().size()});
    }
  });
  return shapes;
}

TEST(ToolEditsSceneEndToEndTest, EachEditAndUndoShowsTheSceneBuiltAnew) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  WriteSampleSettings(folder);
  const std::string moved = folder.Path("moved.run");
  const std::string deleted = folder.Path("deleted.run");
  const std::string undone = folder.Path("undone.run");
  const std::string shot = TestOutputPath("tool_edits_scene_moved.png");
  const std::string lastShot = TestOutputPath("tool_edits_scene_undone.png");
  const std::string script =
      "open " + kSample +
      "\nasbuilt\n"
      // Run 1 made current and moved toward +y by the length the tool's dialog offers.
      "runclick 1 1 6\ncommand " +
      std::to_string(kIdMoveRun) + "\nanswer - accept\ntoward 4 3000\nasbuilt\nshot " + shot +
      "\nsave " + moved + "\ncommand " + std::to_string(kIdEditUndo) +
      "\nasbuilt\n"
      // Run 2 made current, its element 3 selected and deleted.
      "command " +
      std::to_string(kIdToolSelect) +
      "\nrunclick 2 1 6\nrunclick 2 3 6\nanswer - accept\ncommand " +
      std::to_string(kIdDeleteElement) + "\nasbuilt\nsave " + deleted + "\ncommand " +
      std::to_string(kIdEditUndo) + "\nasbuilt\nshot " + lastShot + "\nsave " + undone + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, "1280x960x24");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  const std::vector<RunShape> before = ShapesOf(kSample);
  const std::vector<RunShape> afterMove = ShapesOf(moved);
  const std::vector<RunShape> afterDelete = ShapesOf(deleted);
  const std::vector<RunShape> afterUndo = ShapesOf(undone);
  ASSERT_EQ(before.size(), 4u);
  ASSERT_EQ(afterMove.size(), 4u);
  ASSERT_EQ(afterDelete.size(), 4u);
  ASSERT_EQ(afterUndo.size(), 4u);
  for (std::size_t r = 0; r < before.size(); ++r) {
    const C3DPoint shift = afterMove[r].first - before[r].first;
    EXPECT_EQ(shift.x, 0) << r;
    EXPECT_EQ(shift.z, 0) << r;
    if (r == 1) {
      EXPECT_GT(shift.y, 0);
    } else {
      EXPECT_EQ(shift.y, 0) << r;
    }
    if (r == 2) {
      EXPECT_LT(afterDelete[r].devices, before[r].devices);
    } else {
      EXPECT_EQ(afterDelete[r].devices, before[r].devices) << r;
    }
    EXPECT_EQ(afterUndo[r].devices, before[r].devices) << r;
    EXPECT_EQ(afterUndo[r].first, before[r].first) << r;
  }
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  EXPECT_FALSE(QImage(QString::fromStdString(lastShot)).isNull());
}

}  // namespace
