// Starts the real program under a virtual X server on the QD sample, selects a joint of
// the run of straights with tap-off outlets and types a new costed length into the length
// page with the drawn length kept: the view shows the outlets where the new costed length
// puts them at once, the same picture as a view drawn anew from the rebuilt scene.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <string>

#include "app/ui/command_ids.h"
#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/test_output.h"

namespace {

// The run with outlets picked by a click on its first element and zoomed on; then a
// double click on the joint at the back of its first 3 m straight, whose length page
// edits both lengths (3 m each).
const char kPickRun[] = "runclick 2 1 6\nzoomrun\n";
const char kPickJoint[] = "pick 2 0\n";

// Pixels that differ in the layout view's part of two shots of the main window: right of
// the tool bars and below them (their buttons follow the steps and the focus), above the
// bill of materials.
int UnlikePixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return a.width() * a.height();
  int unlike = 0;
  for (int y = a.height() / 10; y < a.height() / 2; ++y)
    for (int x = a.width() / 8; x < a.width(); ++x)
      unlike += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
  return unlike;
}

TEST(CostedLengthEndToEndTest, OutletsMoveWithACostedLengthChangedAlone) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
  std::filesystem::create_directories(folder.Path("documents"));
  const std::string design = folder.Path("documents/lengths.run");
  std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qd_sample.run", design);
  const std::string before = TestOutputPath("costed_length_before.png");
  const std::string after = TestOutputPath("costed_length_after.png");
  const std::string redrawn = TestOutputPath("costed_length_redrawn.png");
  const std::string script = "open " + design + "\n" + kPickRun + kPickJoint + "shot " + before +
                             "\npropcheck 1019 0\nproptype 1006 2.4m\nshot " + after +
                             "\ncommand " + std::to_string(kIdRefresh) + "\nshot " + redrawn + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
  const QImage first(QString::fromStdString(before));
  const QImage changed(QString::fromStdString(after));
  const QImage fresh(QString::fromStdString(redrawn));
  ASSERT_FALSE(first.isNull() || changed.isNull() || fresh.isNull());
  EXPECT_GT(UnlikePixels(first, changed), 0) << "the outlets and the length's dimension moved";
  EXPECT_EQ(UnlikePixels(changed, fresh), 0) << "as a view drawn anew shows them";
}

}  // namespace
