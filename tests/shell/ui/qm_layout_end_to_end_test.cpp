// A QM run laid out by the placement edits, saved, opened in the program and drawn by its
// layout window: the boxes of the connection units, the feed unit with breaker, the
// elbows and the tee.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include <filesystem>

#include "app/ui/command_ids.h"
#include "model/document/dorne_doc.h"
#include "model/run/range_rules.h"
#include "model/run/run.h"
#include "model/run/run_factory.h"
#include "ranges/range_context.h"
#include "ranges/range_registry.h"
#include "samplewriter/sample_layout.h"
#include "sample_end_to_end_support.h"
#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/test_output.h"

namespace {

// A feed box in mode 1 at the start; a line with a flat jog of two elbows (code 12), an
// edgewise step of two (34), a flat turn back, a tee with a branch to a feed unit with
// breaker, and a connection box at the far end.
constexpr const char* kLayout =
    "run QMA 25\nstart 2\nentrax 1\n"
    "go 4 3000\ngo 1 500\ngo 4 2500\ngo 2 600\ngo 4 2000\ngo 5 1500\ngo 4 3000\nend 3\n"
    "entrax 2\nfrom 3\ngo 5 2000\nend 4\nstyle 5000000\n";

std::string WriteQMDocument(const std::string& path) { return WriteLaidDocument(path, kLayout); }

TEST(LayoutWindowEndToEndTest, AQMRunIsDrawnWithTheBoxesOfItsElements) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write(
      "settings/TVR73/TVR.INI",
      "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\nSplit=1\n[Language]\nID=044\n"
      "[Application Layout]\nShowCmd=1\nNormalPos=Left 0, Top 0, Right 1240, Bottom 920\n");
  std::filesystem::create_directories(folder.Path("documents"));
  const std::string layout = folder.Path("documents/qm_elements.run");
  ASSERT_EQ(WriteQMDocument(layout), "");
  const QString screenshot = QString::fromStdString(TestOutputPath("qm_elements.png"));
  QFile::remove(screenshot);
  qputenv("TVR_SCREENSHOT_FILE", screenshot.toUtf8());
  const std::string script = "command " + std::to_string(kIdZoomAll) + "\n";
  const CProgramRun dump =
      RunProgram(folder.Path(), {QString::fromStdString(layout)}, script, "1280x960x24");
  qunsetenv("TVR_SCREENSHOT_FILE");
  ASSERT_TRUE(dump.finished);
  EXPECT_EQ(dump.exitCode, 0);
  EXPECT_EQ(dump.values.value("failed"), "");
  EXPECT_EQ(dump.values.value("active"), "layout_document");
  const QImage picture(screenshot);
  ASSERT_FALSE(picture.isNull());
  EXPECT_GT(picture.width(), 1000);
}

}  // namespace
