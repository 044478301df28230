// Starts the real program under a virtual X server on the QD sample (the TVR_SCRIPT_FILE
// hook of main.cpp) and prints its view before and after the round trips that rebuild
// the design from its stored form: saved, closed and opened again; a bill tab clicked and
// the step undone (the totals tab then shows every run again). The position marks that
// pdftotext reads off each page are the same, one for each, numbered alike: none is added
// on top of another.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <memory>
#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

constexpr int kCmdClose = 57602;
constexpr int kCmdUndo = 57643;

// The marks of a printed page ("B.9"), sorted.
QStringList PrintedMarks(const std::string& pdf) {
  const std::string command = "pdftotext '" + pdf + "' - 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  char buffer[1024];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) output += buffer;
  static const QRegularExpression mark(QStringLiteral("\\b[B-E]\\.[0-9]+\\b"));
  QStringList marks;
  auto matches = mark.globalMatch(QString::fromStdString(output));
  while (matches.hasNext()) marks << matches.next().captured(0);
  marks.sort();
  return marks;
}

TEST(PositionMarksEndToEndTest, RoundTripsKeepOneMarkEach) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNoRF=1\n[Design]\nInfos=0\n[Language]\nID=044\n");
  const std::string saved = folder.Path("saved.run");
  const std::string script =
      "open " TVR_PROGRAM_DIR "/examples/qd_sample.run\nprint " + folder.Path("first.pdf") +
      "\nsave " + saved + "\ncommand " + std::to_string(kCmdClose) + "\nopen " + saved +
      "\nprint " + folder.Path("reopened.pdf") + "\nbomtab 1\ncommand " + std::to_string(kCmdUndo) +
      "\nbomtab 0\nprint " + folder.Path("undone.pdf") + "\nsave " + folder.Path("again.run") +
      "\ncommand " + std::to_string(kCmdClose) + "\nopen " + folder.Path("again.run") + "\nprint " +
      folder.Path("twice.pdf") + "\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script);
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_TRUE(run.dump.contains("\nfailed=\n")) << run.dump.toStdString();
  const QStringList first = PrintedMarks(folder.Path("first.pdf"));
  ASSERT_GT(first.size(), 10) << first.join(' ').toStdString();
  for (const char* page : {"reopened.pdf", "undone.pdf", "twice.pdf"})
    EXPECT_EQ(PrintedMarks(folder.Path(page)), first) << page;
}

}  // namespace
