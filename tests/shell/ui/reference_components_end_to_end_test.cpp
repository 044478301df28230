// Starts the real program in costing by reference, adds the same line twice, the second
// time with an equipment count set through the "..." button of the schematic, and reads
// what the lines hold and cost. Cancel in the same dialog leaves a line as it was.

#include <gtest/gtest.h>

#include <QImage>
#include <QSettings>

#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/test_output.h"

namespace {

// A QDA line of 30 m: validated, the equipment dialog answered (when answer is not
// empty), the counts taken and the line named.
std::string AddQdaLine(const std::string& name, const std::string& equipment) {
  std::string script =
      "refnew 2 3\nrefchoose ref_rating 63\nreftype ref_length 30\nrefbutton ref_validate\n";
  if (!equipment.empty()) script += equipment + "refbutton ref_choose_1227\n";
  return script + "answer - 1\nrefbutton ref_take_counts\nanswer - accept text_entry_edit=" + name +
         "\nrefbutton ref_commit\n";
}

TEST(ReferenceComponentsEndToEndTest, EquipmentCountSetThroughTheDotsButtonReachesTheLine) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNo3D=1\n[Design]\nInfos=0\nCopper=1\n[Ref]\nHlp=1\nHlp2=1\n"
               "[Language]\nID=044\n");
  const std::string report = folder.Path("report.txt");
  const std::string shot = TestOutputPath("reference_equipment_end_to_end.png");
  const std::string script =
      AddQdaLine("Plain", "") + AddQdaLine("Cancelled", "answer - reject ref_equip_count_1=9\n") +
      AddQdaLine("Equipped", "answer " + shot + " accept ref_equip_count_1=7\n") + "refreport " +
      report + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, QStringLiteral("1400x900x24"));
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  QSettings values(QString::fromStdString(report), QSettings::IniFormat);
  ASSERT_EQ(values.value("lines").toInt(), 3) << run.dump.toStdString();
  const QString plain = values.value("components1").toString();
  EXPECT_EQ(values.value("components2").toString(), plain);  // Cancel changed nothing
  EXPECT_EQ(values.value("amount2").toLongLong(), values.value("amount1").toLongLong());
  const QString equipped = values.value("components3").toString();
  EXPECT_TRUE(equipped.split(' ').contains("20:7")) << equipped.toStdString();
  EXPECT_FALSE(plain.split(' ').contains("20:7"));
  EXPECT_GE(values.value("amount3").toLongLong(), values.value("amount1").toLongLong());
  EXPECT_TRUE(run.values.value("dialogs").contains("ref_equip_dlg"))
      << run.values.value("dialogs").toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

}  // namespace
