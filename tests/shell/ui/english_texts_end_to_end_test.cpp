// Starts the real program in English on the sample catalogue: the Catalogue menu names
// the price lists as the article table holds them (no French left), and the Undo
// command names its step the English way.

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>

#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

QStringList Lines(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TEST(EnglishTextsEndToEndTest, NoFrenchInTheCatalogueMenuAndTheUndoCommand) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI", "[Design]\nInfos=0\n[Language]\nID=044\n");
  const std::string catalogue = folder.Path("catalogue.txt");
  const std::string edit = folder.Path("edit.txt");
  const std::string script =
      "command 32789\nmenutexts menu_0580 " + catalogue + "\nmenutexts menu_0520 " + edit + "\n";
  const CProgramRun run = RunProgram(
      folder.Path(), {QStringLiteral(TVR_PROGRAM_DIR "/examples/qd_sample.run")}, script);
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  const QStringList lists = Lines(catalogue);
  EXPECT_EQ(lists, QStringList({"Public 2026", "Distribution 2026", "UK 2026", "Export 2026",
                                "Volume 2026"}));
  const QStringList commands = Lines(edit);
  ASSERT_FALSE(commands.isEmpty());
  EXPECT_TRUE(commands[0].startsWith("Undo: ")) << commands[0].toStdString();
  EXPECT_FALSE(commands[0].contains(" : ")) << commands[0].toStdString();
}

}  // namespace
