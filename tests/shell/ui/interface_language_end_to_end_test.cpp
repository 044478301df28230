// Starts the real program in French and in English on a desktop whose locale is neither
// and saves a layout: the date it records is written in the interface language's form,
// and Qt's own texts (the file dialogs' kinds of entries among them) speak that language.

#include <gtest/gtest.h>

#include <QDate>
#include <QFile>

#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

// The file holds the text in one of the encodings our files keep texts in.
bool FileHolds(const std::string& path, const QString& text) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  QByteArray wide;
  for (const QChar character : text) {
    wide.append(static_cast<char>(character.unicode() & 0xFF));
    wide.append(static_cast<char>(character.unicode() >> 8));
  }
  return bytes.contains(text.toLatin1()) || bytes.contains(wide);
}

TEST(InterfaceLanguageEndToEndTest, DatesAndQtTextsFollowTheInterfaceLanguage) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  struct Row {
    const char* language;
    const char* qtTexts;
  };
  const Row rows[] = {
      {"033",
       "qttext QAbstractFileIconProvider Folder Dossier\n"
       "qttext QAbstractFileIconProvider Unknown Inconnu\nqttext QFileDialog Open Ouvrir\n"
       "mimetext application/octet-stream inconnu\n"},
      {"044",
       "qttext QAbstractFileIconProvider Folder Folder\nqttext QFileDialog Open Open\n"
       "mimetext application/octet-stream unknown\n"},
  };
  for (const Row& row : rows) {
    CShellTestFolder folder;
    folder.Write("settings/TVR73/TVR.INI",
                 std::string("[Design]\nInfos=0\n[Language]\nID=") + row.language + "\n");
    const std::string saved = folder.Path("saved.run");
    // A new project, from the model: it records today as its creation.
    const std::string script = "answer - 1\ncommand 57600\nsave " + saved + "\n" + row.qtTexts;
    // The desktop speaks neither language in its own way.
    qputenv("LC_ALL", "C");
    const CProgramRun run = RunProgram(
        folder.Path(), {QStringLiteral(TVR_PROGRAM_DIR "/examples/qd_sample.run")}, script);
    qunsetenv("LC_ALL");
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    EXPECT_EQ(run.values.value("failed"), "") << row.language << "\n" << run.dump.toStdString();
    // French and British English both write day, month and year in figures.
    const QString today = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    EXPECT_TRUE(FileHolds(saved, today)) << row.language << ": no " << today.toStdString();
  }
}

// A message box asked without a caption of its own (the question before an annotation
// is deleted) is titled with the program's name, not the executable's.
TEST(InterfaceLanguageEndToEndTest, MessageBoxesAreTitledWithTheProgramsName) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI", "[Design]\nInfos=0\n[Language]\nID=033\n");
  const CProgramRun run = RunProgram(
      folder.Path(), {QStringLiteral(TVR_PROGRAM_DIR "/examples/annotations_sample.run")},
      "answer - 1046\nanswer - accept\nannotation double 6\nboxtitles Tavrilon\n");
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
}

}  // namespace
