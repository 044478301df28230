// Starts the real program in costing by reference, adds two lines and then only selects
// tree items, as a user browses a project: each item shows what it holds without a page
// being opened, a line its header and prices, the project its merged items and its total.

#include <gtest/gtest.h>

#include <QImage>
#include <QSettings>

#include <string>

#include "reference/ui/ref_core.h"
#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/test_output.h"

namespace {

std::string AddLine(int kind, int rating, int length, const std::string& name) {
  return "refnew 2 " + std::to_string(kind) + "\nrefchoose ref_rating " + std::to_string(rating) +
         "\nreftype ref_length " + std::to_string(length) +
         "\nrefbutton ref_validate\nanswer - 1\nrefbutton ref_take_counts\nanswer - accept "
         "text_entry_edit=" +
         name + "\nrefbutton ref_commit\n";
}

TEST(ReferencePagesEndToEndTest, ASelectedItemShowsItsPricesAndTheProjectItsTotal) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNo3D=1\n[Design]\nInfos=0\nCopper=1\n[Ref]\nHlp=1\nHlp2=1\n"
               "[Language]\nID=044\n");
  const std::string committed = folder.Path("committed.txt");
  const std::string first = folder.Path("first.txt");
  const std::string project = folder.Path("project.txt");
  const std::string lineShot = TestOutputPath("reference_pages_line.png");
  const std::string projectShot = TestOutputPath("reference_pages_project.png");
  const std::string script = AddLine(3, 63, 30, "Workshop") + AddLine(4, 250, 25, "Store") +
                             "refreport " + committed +
                             "\nrefselect 1\nrefshows ref_rating 63 A\n"
                             "refreport " +
                             first + "\nshot " + lineShot + "\nrefselect -999\nrefreport " +
                             project + "\nshot " + projectShot + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, QStringLiteral("1400x900x24"));
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  QSettings values(QString::fromStdString(project), QSettings::IniFormat);
  ASSERT_EQ(values.value("lines").toInt(), 2) << run.dump.toStdString();
  const std::int64_t workshop = values.value("amount1").toLongLong();
  const std::int64_t store = values.value("amount2").toLongLong();
  ASSERT_GT(workshop, 0);
  ASSERT_GT(store, 0);
  const char decimal = values.value("decimal").toString().toLatin1().at(0);
  // The line just committed stays selected and shows its prices; the first line when
  // selected shows its own; the project shows the total of both, no page opened.
  EXPECT_EQ(QSettings(QString::fromStdString(committed), QSettings::IniFormat)
                .value("total")
                .toString()
                .toStdString(),
            RefHundredthsText(store, decimal, true));
  EXPECT_EQ(QSettings(QString::fromStdString(first), QSettings::IniFormat)
                .value("total")
                .toString()
                .toStdString(),
            RefHundredthsText(workshop, decimal, true));
  EXPECT_EQ(values.value("total").toString().toStdString(),
            RefHundredthsText(workshop + store, decimal, true));
  EXPECT_FALSE(QImage(QString::fromStdString(lineShot)).isNull());
  EXPECT_FALSE(QImage(QString::fromStdString(projectShot)).isNull());
}

}  // namespace

namespace {

TEST(ReferencePagesEndToEndTest, ALengthTooLargeIsToldWhenValidating) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNo3D=1\n[Design]\nInfos=0\nCopper=1\n[Ref]\nHlp=1\nHlp2=1\n"
               "[Language]\nID=044\n");
  // 10000 m is beyond the field's 9999: Next stays usable and says so; 48 m then goes on.
  const CProgramRun run = RunProgram(
      folder.Path(), {},
      "refnew 2 3\nreftype ref_length 10000\nrefbutton ref_validate\nreftype ref_length 48\n"
      "refbutton ref_validate\n",
      QStringLiteral("1400x900x24"));
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  const QString dialogs = run.values.value("dialogs");
  EXPECT_TRUE(
      dialogs.contains(QStringLiteral("Length: please enter a whole number between 0 and 9999.")))
      << dialogs.toStdString();
}

}  // namespace
