// Starts the real program in costing by reference, adds a line, opens the price panel of
// the project, types a discount for its range and applies it: the window's totals fall by
// that discount, and the project is marked changed.

#include <gtest/gtest.h>

#include <QImage>
#include <QSettings>

#include <string>

#include "reference/ui/ref_core.h"
#include "shell_test_support.h"
#include "support/program_run.h"
#include "support/test_output.h"

namespace {

TEST(ReferencePricePanelEndToEndTest, ADiscountTypedInThePanelLowersTheTotals) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNo3D=1\n[Design]\nInfos=0\nCopper=1\n[Ref]\nHlp=1\nHlp2=1\n"
               "[Language]\nID=044\n");
  const std::string before = folder.Path("before.txt");
  const std::string after = folder.Path("after.txt");
  const std::string shot = TestOutputPath("reference_price_panel_end_to_end.png");
  const std::string script =
      "refnew 2 3\nrefchoose ref_rating 63\nreftype ref_length 30\nrefbutton ref_validate\n"
      "answer - 1\nrefbutton ref_take_counts\nanswer - accept text_entry_edit=Workshop\n"
      "refbutton ref_commit\nrefselect -999\nreftab 2\nrefreport " +
      before +
      "\nrefbutton ref_commit\nrefselect -999\nreftab 1\nreftype ref_discount_2 20\nshot " + shot +
      "\nrefbutton ref_price_button_1303\nrefselect -999\nreftab 2\nrefreport " + after +
      "\nanswer - 2\ncommand 57602\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, QStringLiteral("1400x900x24"));
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  QSettings first(QString::fromStdString(before), QSettings::IniFormat);
  QSettings second(QString::fromStdString(after), QSettings::IniFormat);
  const std::int64_t full = first.value("amount1").toLongLong();
  const std::int64_t discounted = second.value("amount1").toLongLong();
  ASSERT_GT(full, 0) << run.dump.toStdString();
  // Unit prices are truncated after the coefficient: within a hundredth per item.
  EXPECT_NEAR(static_cast<double>(discounted), full * 0.8, 20.0) << run.dump.toStdString();
  EXPECT_LT(discounted, full);
  const char decimal = second.value("decimal").toString().toLatin1().at(0);
  EXPECT_EQ(second.value("total").toString().toStdString(),
            RefHundredthsText(discounted, decimal, true));
  EXPECT_TRUE(run.values.value("dialogs").contains("Save changes to Untitled?"));
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

}  // namespace
