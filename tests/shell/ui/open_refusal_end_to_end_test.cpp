// Starts the real program in French with work open (a layout changed, a linear project
// renamed) and opens files that can never be opened: a text renamed ".lin" or ".ref" and
// an empty ".lin". Each is refused with its name and the reason before anything is asked
// or closed: no question to save, the mode and the changed work stay.

#include <gtest/gtest.h>

#include <QImage>

#include <fstream>
#include <iterator>
#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/test_output.h"

namespace {

const char* const kSettings = "[Design]\nInfos=0\n[Linear]\nHlp=1\nHlp2=1\n[Language]\nID=033\n";

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The dialogs the script met, one a line.
QStringList Dialogs(const CProgramRun& run) {
  return run.values.value("dialogs").split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

// One refusal a file, in turn: the box names the file and says why; nothing else asked.
void ExpectRefusals(const CProgramRun& run, const QStringList& files) {
  const QStringList dialogs = Dialogs(run);
  ASSERT_EQ(dialogs.size(), files.size()) << run.dump.toStdString();
  for (qsizetype i = 0; i < files.size(); ++i) {
    EXPECT_TRUE(dialogs[i].startsWith(QStringLiteral("277:") + files[i]))
        << dialogs[i].toStdString();
    EXPECT_TRUE(dialogs[i].contains(QStringLiteral("Format de fichier inattendu.")))
        << dialogs[i].toStdString();
  }
}

TEST(OpenRefusalEndToEndTest, AChangedLayoutStaysWhenAFileCannotBeOpened) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI", kSettings);
  const QStringList files = {
      QString::fromStdString(folder.Write("documents/notes.lin", "Chantier : appeler lundi\n")),
      QString::fromStdString(folder.Write("documents/vide.lin", "")),
      QString::fromStdString(folder.Write("documents/notes.ref", "Chantier : appeler lundi\n"))};
  const std::string shot = TestOutputPath("open_refused_layout.png");
  std::string script = "command 32789\n";
  for (const QString& file : files) script += "answer - 1\nopen " + file.toStdString() + "\n";
  script += "shot " + shot + "\n";
  // A copy of the sample: a program that saved it on the way must not change the sample.
  const std::string sample =
      folder.Write("documents/qd_sample.run", FileBytes(TVR_PROGRAM_DIR "/examples/qd_sample.run"));
  const CProgramRun run = RunProgram(folder.Path(), {QString::fromStdString(sample)}, script);
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  // "open" succeeds only for a layout document: the three refused files fail.
  EXPECT_EQ(run.values.value("failed"), "open " + files.join("|open ")) << run.dump.toStdString();
  ExpectRefusals(run, files);
  EXPECT_EQ(run.values.value("mode"), "2");
  EXPECT_EQ(run.values.value("layout"), "5/0");  // the sample's runs and the new one
  EXPECT_TRUE(run.values.value("state").startsWith("1")) << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

TEST(OpenRefusalEndToEndTest, AChangedLinearProjectStaysWhenAFileCannotBeOpened) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI", kSettings);
  const QStringList files = {
      QString::fromStdString(folder.Write("documents/vide.lin", "")),
      QString::fromStdString(folder.Write("documents/notes.run", "Chantier : appeler lundi\n"))};
  const std::string shot = TestOutputPath("open_refused_linear.png");
  std::string script =
      "linselect 0\nlintab 1\nlintype name_comment_name Renamed\nlinbutton name_comment_apply\n";
  for (const QString& file : files) script += "answer - 1\nopen " + file.toStdString() + "\n";
  script += "shot " + shot + "\n";
  const CProgramRun run = RunProgram(
      folder.Path(), {QStringLiteral(TVR_SOURCE_DIR "/data/examples/sample.lin")}, script);
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "open " + files.join("|open ")) << run.dump.toStdString();
  const QStringList dialogs = Dialogs(run);
  ASSERT_EQ(dialogs.size(), 2) << run.dump.toStdString();
  EXPECT_TRUE(dialogs[0].startsWith(QStringLiteral("277:") + files[0])) << dialogs[0].toStdString();
  EXPECT_TRUE(dialogs[0].contains(QStringLiteral("Format de fichier inattendu.")));
  EXPECT_TRUE(dialogs[1].startsWith(QStringLiteral("277:") + files[1])) << dialogs[1].toStdString();
  EXPECT_EQ(run.values.value("mode"), "3");
  // The frame's caption names the project still open, with its change.
  EXPECT_TRUE(run.values.value("title").contains("sample.lin *")) << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

}  // namespace
