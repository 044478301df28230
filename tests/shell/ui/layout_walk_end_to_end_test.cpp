// The real program on the QD sample layout, in French, walked as a new user would: each
// case a script of user actions whose dialogs are answered and pictured in the test
// output folder.

#include <gtest/gtest.h>

#include <QFile>
#include <QMap>

#include <filesystem>

#include "support/program_run.h"
#include "model/document/doc_props.h"
#include "model/document/dorne_doc.h"
#include "shell_test_support.h"

namespace {

const std::string kFrenchSettings =
    "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\nSplit=1\n[Language]\nID=033\n";

// The test output folder (made) followed by the file name given.
std::string TestOutputFile(const std::string& name) {
  std::filesystem::create_directories(TVR_TEST_OUTPUT_DIR);
  return std::string(TVR_TEST_OUTPUT_DIR) + "/" + name;
}

// What the program dumped: the value of one "key=value" line, and all of it.
struct CEndToEndRun {
  QString dump;
  QString output;
  QMap<QString, QString> values;
  QString Value(const QString& key) const { return values.value(key); }
};

class LayoutWalkEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  }
  // The sample layout copied into the test folder; its path.
  [[nodiscard]] std::string CopySample(const std::string& name) const {
    const std::string path = m_folder.Path(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::filesystem::copy_file(TVR_PROGRAM_DIR "/examples/qd_sample.run", path);
    return path;
  }
  // The real program, in French on a 1600 by 1000 screen, running the script.
  CEndToEndRun Run(const std::string& script) const {
    m_folder.Write("settings/TVR73/TVR.INI", kFrenchSettings);
    const CProgramRun run = RunProgram(m_folder.Path(), {}, script, "1600x1000x24");
    return {run.dump, run.output, run.values};
  }
  CShellTestFolder m_folder;
};

TEST_F(LayoutWalkEndToEndTest, AFailedSaveKeepsTheChangesAndQuitAsks) {
  const std::string path = CopySample("locked/design.run");
  const std::string script =
      "open " + path + "\nblock " + path + "\nanswer " + TestOutputFile("walk_project_info.png") +
      " accept 1010=Changed_comment\ncommand 32863\n" + "answer " +
      TestOutputFile("walk_save_failed.png") + " 1\ncommand 57603\n" + "answer " +
      TestOutputFile("walk_quit_asks.png") + " 2\ncommand 57665\n";
  const CEndToEndRun run = Run(script);
  ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
  EXPECT_EQ(run.Value("failed"), QString()) << run.dump.toStdString();
  const QStringList dialogs = run.Value("dialogs").split(QLatin1Char('|'));
  // The project information, the failed save, then the question of the Quit, cancelled.
  ASSERT_EQ(dialogs.size(), 3) << run.dump.toStdString();
  EXPECT_TRUE(dialogs[0].startsWith("232:"));
  EXPECT_TRUE(dialogs[1].startsWith("277:") && dialogs[1].contains("design.run"));
  EXPECT_TRUE(dialogs[2].startsWith("277:") && dialogs[2].contains("design.run"));
  EXPECT_TRUE(run.Value("state").startsWith("1 ")) << run.dump.toStdString();
}

TEST_F(LayoutWalkEndToEndTest, TheSampleLayoutCanBeEditedAndRebuilt) {
  const std::string path = CopySample("sample/design.run");
  // The select tool, two design tools, rebuild parts, rebuild the bill of materials, move
  // and copy the run.
  std::string script = "open " + path + "\n";
  for (const char* command : {"32780", "32781", "32776", "32790", "32791", "32988", "33029"})
    script += std::string("enabled ") + command + " 1\n";
  script += "shot " + TestOutputFile("walk_sample_layout.png") + "\n";
  const CEndToEndRun run = Run(script);
  ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
  EXPECT_EQ(run.Value("failed"), QString()) << run.dump.toStdString();
  // The new layout of the start is the first one.
  EXPECT_EQ(run.Value("childtitle"), "Sans titre1") << run.dump.toStdString();
}

TEST_F(LayoutWalkEndToEndTest, ADoubleClickEditsABillOfMaterialsCell) {
  const std::string path = CopySample("sample/design.run");
  // The sample's run pages show the reference column, whose cells offer the pick list;
  // the sample opens on its totals page, and the current run's tab is chosen.
  const std::string script = "open " + path + "\nbomtab current\nanswer " +
                             TestOutputFile("walk_bom_pick.png") +
                             " reject\nbomdouble 1 2\nanswer - reject\nbomdouble 2 2\n";
  const CEndToEndRun run = Run(script);
  ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
  EXPECT_EQ(run.Value("failed"), QString()) << run.dump.toStdString();
  const QStringList dialogs = run.Value("dialogs").split(QLatin1Char('|'));
  ASSERT_EQ(dialogs.size(), 2) << run.dump.toStdString();
  EXPECT_TRUE(dialogs[0].startsWith("CPickListDlg:")) << dialogs[0].toStdString();
  EXPECT_TRUE(dialogs[1].startsWith("CPickListDlg:")) << dialogs[1].toStdString();
}

// A tool chosen from its menu keeps its prompt once the menu has closed; the end tool is
// the one named so and prompts for an end.
TEST_F(LayoutWalkEndToEndTest, AToolChosenFromItsMenuKeepsItsPrompt) {
  const std::string path = CopySample("sample/design.run");
  const std::string script =
      "open " + path + "\nmenu 32781\nstatus Cliquez vers une face libre pour ajouter une " +
      "longueur droite\nmenu 32777\nstatus Cliquez sur une extrémité droite pour en faire un " +
      "élément d'extrémité\nshot " + TestOutputFile("walk_end_tool.png") + "\n";
  const CEndToEndRun run = Run(script);
  ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
  EXPECT_EQ(run.Value("failed"), QString()) << run.dump.toStdString();
}

// Zooming changes no design: no mark in the title, and Quit asks nothing. A real change
// shows the mark.
TEST_F(LayoutWalkEndToEndTest, ViewStepsLeaveTheDocumentUnmodified) {
  const std::string path = CopySample("sample/design.run");
  const CEndToEndRun zoomed = Run("open " + path + "\ncommand 32783\ncommand 32784\n");
  ASSERT_FALSE(zoomed.dump.isEmpty()) << zoomed.output.toStdString();
  EXPECT_EQ(zoomed.Value("failed"), QString()) << zoomed.dump.toStdString();
  EXPECT_TRUE(zoomed.Value("state").startsWith("0 ")) << zoomed.dump.toStdString();
  EXPECT_FALSE(zoomed.Value("title").contains("*")) << zoomed.dump.toStdString();
  const CEndToEndRun changed = Run("open " + path + "\nanswer " +
                                   TestOutputFile("walk_delete_run.png") + " 1\ncommand 32879\n");
  EXPECT_TRUE(changed.Value("title").contains("design.run*")) << changed.dump.toStdString();
}

// The first new layout of a start, its menus, its Save As and its project information
// afterwards.
TEST_F(LayoutWalkEndToEndTest, TheFirstNewLayoutIsSavedAsAndRemembered) {
  const std::string saved = m_folder.Path("walk.run");
  const std::string script =
      "checkable 32790 0\ncheckable 32791 0\ncheckable 32780 1\nanswer - accept fileNameEdit=" +
      saved + "\ncommand 57604\nanswer " + TestOutputFile("walk_project_info_saved.png") +
      " reject\ncommand 32863\n";
  const CEndToEndRun run = Run(script);
  ASSERT_FALSE(run.dump.isEmpty()) << run.output.toStdString();
  EXPECT_EQ(run.Value("failed"), QString()) << run.dump.toStdString();
  EXPECT_TRUE(run.Value("title").contains("walk.run")) << run.dump.toStdString();
  QFile settings(QString::fromStdString(m_folder.Path("settings/TVR73/TVR.INI")));
  ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
  EXPECT_TRUE(QString::fromUtf8(settings.readAll()).contains(QString::fromStdString(saved)));
  CDorneDoc document;
  ASSERT_TRUE(document.OnOpenDocument(saved).ok);
  EXPECT_FALSE(document.GetProps().GetPropValue("ModificationDate").empty());
}

}  // namespace
