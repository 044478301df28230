// Starts the real program in costing by reference (the only mode offered), adds two lines
// through the line page, shows the prices of the project and reads the total the window
// shows; closing the modified project asks to save it, and Cancel keeps it open.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QSettings>

#include <string>

#include "reference/ui/ref_core.h"
#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/test_output.h"

namespace {

// The script of one line: product, rating and length, the counts taken (the question
// answered OK), the name given.
std::string AddLine(int kind, int rating, int length, const std::string& name) {
  return "refnew 2 " + std::to_string(kind) + "\nrefchoose ref_rating " + std::to_string(rating) +
         "\nreftype ref_length " + std::to_string(length) +
         "\nrefbutton ref_validate\nanswer - 1\nrefbutton ref_take_counts\nanswer - accept "
         "text_entry_edit=" +
         name + "\nrefbutton ref_commit\n";
}

TEST(ReferenceEndToEndTest, TwoLinesAddedThroughTheWindowAddUpInItsTotal) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNo3D=1\n[Design]\nInfos=0\nCopper=1\n[Ref]\nHlp=1\nHlp2=1\n"
               "[Language]\nID=044\n");
  const std::string report = folder.Path("report.txt");
  const std::string shot = TestOutputPath("reference_end_to_end.png");
  const std::string script =
      AddLine(3, 63, 30, "Workshop") + AddLine(4, 250, 25, "Store") +
      "refselect -999\nreftab 2\nrefreport " + report + "\nshot " + shot +
      "\nanswer - 2\ncommand 57602\nrefbutton ref_commit\nrefnew 2 3\nanswer - 2\ncommand 57602\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, QStringLiteral("1400x900x24"));
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.values.value("mode"), "4");  // costing by reference
  EXPECT_EQ(run.values.value("child"), "reference_window");
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  QSettings values(QString::fromStdString(report), QSettings::IniFormat);
  ASSERT_EQ(values.value("lines").toInt(), 2) << run.dump.toStdString();
  EXPECT_EQ(values.value("name1").toString(), "Workshop");
  EXPECT_EQ(values.value("name2").toString(), "Store");
  const std::int64_t first = values.value("amount1").toLongLong();
  const std::int64_t second = values.value("amount2").toLongLong();
  EXPECT_GT(first, 0);
  EXPECT_GT(second, 0);
  const char decimal = values.value("decimal").toString().toLatin1().at(0);
  EXPECT_EQ(values.value("total").toString().toStdString(),
            RefHundredthsText(first + second, decimal, true));
  // Closing asks to save the modified project, and while a line is edited first whether
  // its changes may go; Cancel keeps the window each time.
  const QString dialogs = run.values.value("dialogs");
  EXPECT_TRUE(dialogs.contains("Save changes to Untitled?")) << dialogs.toStdString();
  EXPECT_TRUE(dialogs.contains("The changes of this line will be lost")) << dialogs.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

}  // namespace
