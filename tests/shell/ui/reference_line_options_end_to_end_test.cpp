// Starts the real program in costing by reference and uses the option buttons and the
// connection controls of the line page: the fixing spacing chosen before validation, the
// tap-off count of a connection with outlets (a count of 0 refused first), the extra
// code of a three-slot lighting connection and the position box that spreads the
// luminaires over the slots.

#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <QSettings>

#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/test_output.h"

namespace {

// Takes the counts (the question answered OK) and names the line.
std::string TakeAndCommit(const std::string& name) {
  return "answer - 1\nrefbutton ref_take_counts\nanswer - accept text_entry_edit=" + name +
         "\nrefbutton ref_commit\n";
}

TEST(ReferenceLineOptionsEndToEndTest, OptionButtonsAndConnectionCountsReachTheLines) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNo3D=1\n[Design]\nInfos=0\nCopper=1\n[Ref]\nHlp=1\nHlp2=1\n"
               "[Language]\nID=044\n");
  const std::string report = folder.Path("report.txt");
  const std::string pitchShot = TestOutputPath("reference_spacing_end_to_end.png");
  const std::string ratingShot = TestOutputPath("reference_rating_end_to_end.png");
  const std::string pageShot = TestOutputPath("reference_line_options_end_to_end.png");
  const std::string extraShot = TestOutputPath("reference_extra_code_end_to_end.png");
  const std::string spreadShot = TestOutputPath("reference_positions_end_to_end.png");
  // A QDA line of 30 m fixed every 1.5 m: 21 fixings; two tap-off units of the first
  // rating table.
  const std::string spaced =
      "refnew 2 3\nrefchoose ref_rating 63\nreftype ref_length 30\nanswer " + pitchShot +
      " accept ref_pitch=1.5\nrefbutton ref_choose_1205\nrefbutton ref_validate\nanswer " +
      ratingShot + " accept ref_rating_value_1=2\nrefbutton ref_choose_1200\n" +
      TakeAndCommit("Spaced");
  // A QPA line of 30 m on connection 6: its tap-off count must be typed (0 is refused).
  const std::string outlets =
      "refnew 2 4\nrefchoose ref_rating 250\nreftype ref_length 30\nrefchoose ref_connection "
      "6\nshot " +
      pageShot +
      "\nanswer - 1\nrefbutton ref_validate\nreftype ref_connection_count 12\n"
      "refbutton ref_validate\n" +
      TakeAndCommit("Outlets");
  // A QYA line of four conductors: the extra code, then six luminaires on position 1.
  const std::string spread =
      "refnew 3 1\nrefchoose ref_conductors 1\nreftype ref_length 20\n"
      "reftype ref_count 6\nanswer " +
      extraShot +
      " accept ref_choice_box_1=1\nrefbutton ref_choose_1206\n"
      // The QYA line offers the comparison of its solutions first: No.
      "answer - 7\nrefbutton ref_validate\nrefbutton ref_check_1476\nshot " +
      spreadShot + "\n" + TakeAndCommit("Spread");
  const std::string script = spaced + outlets + spread + "refreport " + report + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, QStringLiteral("1400x900x24"));
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  QSettings values(QString::fromStdString(report), QSettings::IniFormat);
  ASSERT_EQ(values.value("lines").toInt(), 3) << run.dump.toStdString();
  EXPECT_EQ(values.value("spacing1").toInt(), 150);
  EXPECT_EQ(
      values.value("components1").toString().split(' ').filter(QRegularExpression(":21$")).size(),
      1)
      << values.value("components1").toString().toStdString();
  EXPECT_EQ(values.value("units1").toInt(), 2);
  EXPECT_EQ(values.value("count2").toInt(), 12);
  EXPECT_EQ(values.value("components2")
                .toString()
                .split(' ')
                .filter(QRegularExpression("^39:[1-9]"))
                .size(),
            1)
      << values.value("components2").toString().toStdString();
  EXPECT_EQ(values.value("extra3").toInt(), 1);
  EXPECT_EQ(values.value("units3").toInt(), 6);
  const QString dialogs = run.values.value("dialogs");
  EXPECT_TRUE(dialogs.contains("ref_rating_panel")) << dialogs.toStdString();
  EXPECT_TRUE(dialogs.contains("between 1 and 30")) << dialogs.toStdString();
  for (const std::string& shot : {pitchShot, ratingShot, pageShot, extraShot, spreadShot})
    EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull()) << shot;
}

}  // namespace
