// Starts the real program in costing by reference, begins a QYA 25 A lighting line and
// validates it: the comparison of its installation solutions is offered and opened; the
// cable price and the labour rate are applied, one solution shown in detail, the
// comparison printed to PDF, an item's price edited; the settings keep what was applied.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "shell_test_support.h"
#include "support/command_output.h"
#include "support/program_run.h"
#include "support/test_output.h"

namespace {

std::string Answer(const std::string& shot, const std::string& rest) {
  return "answer " + (shot == "-" ? shot : TestOutputPath(shot)) + " " + rest + "\n";
}

TEST(ReferenceComparisonEndToEndTest, ValidatingALineOpensTheComparisonThatAppliesAndPrints) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNo3D=1\n[Design]\nInfos=0\nCopper=1\n[Ref]\nHlp=1\nHlp2=1\n"
               "[Language]\nID=044\n[Comp]\nIT07=200,00;25\n");
  const std::string pdf = folder.Path("comparison.pdf");
  const std::string script =
      Answer("-", "6") +  // the question: compare first? Yes
      Answer("e2e_comparison.png", "+1 1175=1,5 1351=42,5") +
      Answer("e2e_comparison_detail.png", "+1453 1059=Solution_3") +
      Answer("-", "accept pdf=" + pdf) + Answer("-", "+1377") +
      Answer("e2e_complementary_items.png", "accept 1391=3") + Answer("-", "2") +
      "refnew 3 1\nrefchoose ref_rating 25\nreftype ref_length 30\nreftype ref_count 6\n"
      "refbutton ref_validate\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, QStringLiteral("1400x900x24"));
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  const QString dialogs = run.values.value("dialogs");
  for (const char* seen : {"Compare the installation solutions", "265:", "QPrintDialog", "266:"})
    EXPECT_TRUE(dialogs.contains(QLatin1String(seen))) << seen << "\n" << dialogs.toStdString();
  EXPECT_FALSE(dialogs.contains(QLatin1Char('!'))) << dialogs.toStdString();
  std::ifstream file(folder.Path("settings/TVR73/TVR.INI"));
  std::stringstream stored;
  stored << file.rdbuf();
  // The single-phase line's cable is item 1; the labour rate in hundredths.
  for (const char* line : {"MO=4250", "IT01=150,00;0", "IT07=300,00;25", "IT02=0,00;0"})
    EXPECT_NE(stored.str().find(line), std::string::npos) << line << "\n" << stored.str();
  for (const char* shot :
       {"e2e_comparison.png", "e2e_comparison_detail.png", "e2e_complementary_items.png"})
    EXPECT_FALSE(QImage(QString::fromStdString(TestOutputPath(shot))).isNull()) << shot;
  if (!std::filesystem::exists("/usr/bin/pdftotext")) return;
  const std::string text = CommandOutput("/usr/bin/pdftotext -layout '" + pdf + "' -");
  // Solution 3 in detail at 42.50 an hour: 6.51 h of labour cost 276.68.
  for (const char* part : {"Additional item 7", "Luminaire items", "276"})
    EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
  EXPECT_TRUE(text.find("276,68") != std::string::npos || text.find("276.68") != std::string::npos)
      << text;
}

}  // namespace
