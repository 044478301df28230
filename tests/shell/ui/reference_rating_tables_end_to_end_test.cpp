// Starts the real program in costing by reference and works the rating tables and the box
// kind of the lighting lines: the type list of a rating table offers the catalogue's
// types and the units typed for a type reach that type's slot; a lighting line starts on
// the tap-off boxes only when the catalogue has them.

#include <gtest/gtest.h>

#include <QImage>
#include <QSettings>

#include <filesystem>
#include <string>

#include "platform/dbf_table.h"
#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/test_output.h"

namespace {

constexpr const char* kSettings =
    "[Database]\nNoML=1\nNo3D=1\n[Design]\nInfos=0\nCopper=1\n[Ref]\nHlp=1\nHlp2=1\n"
    "[Language]\nID=044\n";

std::string TakeAndCommit(const std::string& name) {
  return "answer - 1\nrefbutton ref_take_counts\nanswer - accept text_entry_edit=" + name +
         "\nrefbutton ref_commit\n";
}

// A lighting line of 20 m with six luminaires; the comparison it offers is declined.
std::string LightingLine(const std::string& boxes, const std::string& name,
                         const std::string& shot) {
  return "refnew 3 1\nreftype ref_length 20\nreftype ref_count 6\n" + boxes + "shot " + shot +
         "\nanswer - 7\nrefbutton ref_validate\n" + TakeAndCommit(name);
}

QSettings Report(const std::string& path) {
  return QSettings(QString::fromStdString(path), QSettings::IniFormat);
}

TEST(ReferenceRatingTablesEndToEndTest, TheTypeListOffersTheCatalogueTypes) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI", kSettings);
  const std::string report = folder.Path("report.txt");
  const std::string panelShot = TestOutputPath("reference_rating_types_end_to_end.png");
  const std::string lightingShot = TestOutputPath("reference_lighting_boxes_sample.png");
  // Fused boxes of a QDA line: the two-pole type chosen, three units on its row.
  const std::string script =
      "refnew 2 3\nrefchoose ref_rating 63\nreftype ref_length 30\nrefbutton ref_validate\n"
      "answer " +
      panelShot +
      " accept ref_rating_type=2_poles_+_PE ref_rating_value_1=3\nrefbutton ref_choose_1200\n" +
      TakeAndCommit("Types") + LightingLine("", "Lights", lightingShot) + "refreport " + report +
      "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, QStringLiteral("1400x900x24"));
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  QSettings values = Report(report);
  ASSERT_EQ(values.value("lines").toInt(), 2) << run.dump.toStdString();
  // The two-pole row stands on the sixth slot; the four-pole row of the same group, the
  // first slot, stays empty.
  EXPECT_EQ(values.value("slots1").toString(), "5:3");
  // Without tap-off boxes in the catalogue the lighting line stays a luminaire line.
  EXPECT_EQ(values.value("mode2").toInt(), 1);
  for (const std::string& shot : {panelShot, lightingShot})
    EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull()) << shot;
}

// The sample catalogue with tap-off boxes for the lighting lines at positions 1 and 2.
std::string CatalogueWithTapOffBoxes(const CShellTestFolder& folder) {
  namespace fs = std::filesystem;
  const std::string copy = folder.Path("catalogue/");
  fs::create_directories(copy);
  fs::copy(TVR_PROGRAM_DIR "/DBF/", copy, fs::copy_options::recursive);
  tvr::platform::CDbfTable table;
  EXPECT_TRUE(table.Open(copy + "REF_COFF.DBF", tvr::platform::CDbfTable::Mode::ReadWrite));
  for (const char* position : {"1-1", "2-1"}) {
    EXPECT_TRUE(table.Append());
    table.Assign(table.FieldIndex("PROD"), "QYL");
    table.Assign(table.FieldIndex("PARAM"), "R");
    table.Assign(table.FieldIndex("POS"), position);
    table.Assign(table.FieldIndex("FCT"), position[0] == '1' ? "11" : "12");
    table.Assign(table.FieldIndex("CAL"), "T16");
    table.Assign(table.FieldIndex("IP1"), "IP40");
    table.Assign(table.FieldIndex("REF1"), "QYL016SE");
    table.Assign(table.FieldIndex("POL"), "4 poles+PE");
  }
  EXPECT_TRUE(table.Close());
  return copy;
}

TEST(ReferenceRatingTablesEndToEndTest, ANewLightingLineStartsOnTheTapOffBoxesItsCatalogueHas) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  const std::string catalogue = CatalogueWithTapOffBoxes(folder);
  folder.Write("settings/TVR73/TVR.INI",
               std::string(kSettings) + "[DBF Database]\nDirectory=" + catalogue + "\n");
  const std::string report = folder.Path("report.txt");
  const std::string tapOffShot = TestOutputPath("reference_tap_off_boxes_end_to_end.png");
  const std::string ownShot = TestOutputPath("reference_own_boxes_end_to_end.png");
  // The first line keeps the tap-off boxes it starts on, and shows them again when it is
  // opened; the second goes back to its own.
  const std::string script =
      LightingLine("refshows ref_boxes Standard boxes\n", "Boxes", tapOffShot) +
      LightingLine("refchoose ref_boxes 0\nrefshows ref_boxes Lighting boxes\n", "Own", ownShot) +
      "refreport " + report +
      "\nrefselect 1\nreftab 0\nrefshows ref_boxes Standard boxes\nrefbutton ref_back\n"
      "answer - 1\nrefbutton ref_cancel\n"
      // Looked at on the prices page, the line on its own boxes shows no box kind.
      "refselect 2\nreftab 2\nrefshows ref_length 20\nrefhidden ref_boxes\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, QStringLiteral("1400x900x24"));
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  QSettings values = Report(report);
  ASSERT_EQ(values.value("lines").toInt(), 2) << run.dump.toStdString();
  EXPECT_EQ(values.value("mode1").toInt(), 3);
  EXPECT_EQ(values.value("mode2").toInt(), 1);
  for (const std::string& shot : {tapOffShot, ownShot})
    EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull()) << shot;
}

}  // namespace
