// Starts the real program in French: each menu bar gives every menu a mnemonic of its
// own, Enter in the model dialog takes the model (OK, not Browse), and in the linear
// window the current takes digits only, a tab that cannot open leaves no tab current,
// and a one-line project shows one total row, in the singular.

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QStringList>

#include <string>

#include "shell_test_support.h"
#include "support/program_run.h"

namespace {

const char* const kSettings = "[Design]\nInfos=0\n[Linear]\nHlp=1\nHlp2=1\n[Language]\nID=033\n";

// The letters after "&" that are used by more than one title.
QStringList SharedMnemonics(const QStringList& titles) {
  QSet<QChar> seen;
  QStringList shared;
  for (const QString& title : titles) {
    const qsizetype mark = title.indexOf(QLatin1Char('&'));
    if (mark < 0 || mark + 1 >= title.size()) continue;
    const QChar letter = title[mark + 1].toLower();
    if (seen.contains(letter)) shared << title;
    seen.insert(letter);
  }
  return shared;
}

QStringList Lines(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TEST(MenusDialogsEndToEndTest, LayoutMenusHaveOwnMnemonicsAndEnterTakesTheModel) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI", kSettings);
  const std::string script = "answer - enter\ncommand 57600\n";
  const CProgramRun run = RunProgram(
      folder.Path(), {QStringLiteral(TVR_PROGRAM_DIR "/examples/qd_sample.run")}, script);
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  const QStringList menus = run.values.value("menus").split(QLatin1Char('|'));
  EXPECT_GE(menus.size(), 8) << run.dump.toStdString();
  EXPECT_EQ(SharedMnemonics(menus), QStringList()) << run.dump.toStdString();
  // Only the model dialog came up: Enter did not open the file dialog of Browse.
  const QStringList dialogs = run.values.value("dialogs").split(QLatin1Char('|'));
  ASSERT_EQ(dialogs.size(), 1) << run.dump.toStdString();
  EXPECT_TRUE(dialogs[0].startsWith("207:")) << dialogs[0].toStdString();
}

TEST(MenusDialogsEndToEndTest, CostingMenusHaveOwnMnemonics) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  for (const char* project : {"sample.lin", "sample.ref"}) {
    CShellTestFolder folder;
    folder.Write("settings/TVR73/TVR.INI", kSettings);
    const CProgramRun run =
        RunProgram(folder.Path(), {QStringLiteral(TVR_SOURCE_DIR "/data/examples/") + project}, "");
    ASSERT_TRUE(run.finished) << run.output.toStdString();
    const QStringList menus = run.values.value("menus").split(QLatin1Char('|'));
    EXPECT_GE(menus.size(), 4) << project << run.dump.toStdString();
    EXPECT_EQ(SharedMnemonics(menus), QStringList()) << project;
  }
}

TEST(MenusDialogsEndToEndTest, LinearTabsTotalsAndCurrent) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI", kSettings);
  const std::string rows = folder.Path("rows.txt");
  const std::string script =
      // The catalogue's prices are newer than the project's: it keeps its own.
      "answer - reject\n"
      // The second line goes: the project keeps one.
      "linselect 1\nlintab 1\nlinshows linear_tabs Nom et commentaire\n"
      "linpage name_comment_panel\nlinbutton name_comment_delete\nlinbutton name_comment_apply\n"
      "linshows linear_tabs -\nlinpage linear_price_view\n"
      // A group's root has no name to edit: the tab does not open and is not shown open.
      "linselect -1000\nlintab 1\nlinshows linear_tabs -\nlinpage linear_price_view\n"
      "linselect 0\nlintab 2\nlinshows linear_tabs Prix de l'affaire\nlinrows " +
      rows +
      "\nlinbutton linear_save_line\nlinshows linear_tabs -\n"
      // Letters typed into the current are refused.
      "linselect -1000\nlinbutton linear_new_line\nlinkeys linear_ampere 1a5b0\n"
      "linshows linear_ampere 150\n";
  const CProgramRun run =
      RunProgram(folder.Path(),
                 {QStringLiteral(TVR_SOURCE_DIR "/tests/data/linear/small_project.lin")}, script);
  ASSERT_TRUE(run.finished) << run.output.toStdString();
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  const QStringList table = Lines(rows);
  // The line's total, in the singular, and its total times its two copies; the total
  // over all lines would only repeat them.
  EXPECT_EQ(table.filter(QStringLiteral("Total")),
            QStringList({"Total pour 1 ligne", "Total fois 2"}))
      << table.join(" / ").toStdString();
}

}  // namespace
