// Starts the real program on the sample linear project and begins a new line of the
// horizontal distribution with the window's new-line button: a typed current refills the
// product list, which chooses its first entry (QDA at 150 A, QJF alone above QMA's
// 4000 A), and the note beside it follows the product (none for QJF). The header
// accepted, the line's first group of tap-off boxes opens in the component chooser.

#include <gtest/gtest.h>

#include <QImage>

#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/test_output.h"

namespace {

TEST(LinearHeaderEndToEndTest, TheNewLineButtonOpensAHeaderThatFollowsTheCurrent) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Design]\nInfos=0\n[Linear]\nHlp=1\nHlp2=1\n[Language]\nID=044\n");
  const std::string shot = TestOutputPath("linear_new_line_header.png");
  const std::string boxes = TestOutputPath("linear_chooser_boxes_end_to_end.png");
  const std::string script =
      "linselect -999\nlinbutton linear_new_line\nlinselect -1002\nlinbutton linear_new_line\n"
      "lintype linear_ampere 4100\nlinshows linear_products QJF 4500 A\n"
      "linshows linear_product_note -\n"
      "lintype linear_ampere 150\nlinshows linear_products QDA 160 A\n"
      "linshows linear_product_note "
      "Prices for the rating chosen: check the tap-off units the range offers at this rating\n"
      "shot " +
      shot + "\nlinbutton linear_header_next\nanswer " + boxes +
      " reject\nlinbutton linear_chooser_20\n";
  const CProgramRun run =
      RunProgram(folder.Path(), {QStringLiteral(TVR_SOURCE_DIR "/data/examples/sample.lin")},
                 script, QStringLiteral("1400x900x24"));
  ASSERT_TRUE(run.finished);
  // The price item offers no new line: only that first click fails.
  EXPECT_EQ(run.values.value("failed"), "linbutton linear_new_line") << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
  // The first group of tap-off boxes opens in the chooser, under its column headers.
  EXPECT_TRUE(run.values.value("dialogs").startsWith("component_chooser_dlg"))
      << run.values.value("dialogs").toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(boxes)).isNull());
}

}  // namespace
