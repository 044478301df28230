// Starts the real program in costing by reference, adds a line, opens the price panel of
// the project, types a discount for its range and applies it: the window's totals fall by
// that discount, and the project is marked changed. A second run starts from saved
// defaults: its new project prices with the saved coefficient, the panel captions the
// lighting rows of special mode 2 and shows the currency of a price list as it is chosen.

#include <gtest/gtest.h>

#include <QImage>
#include <QSettings>

#include <fstream>
#include <iterator>
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

TEST(ReferencePricePanelEndToEndTest, ANewProjectStartsFromTheSavedDefaults) {
  if (!CanRunProgram()) GTEST_SKIP() << "xvfb-run is not installed";
  CShellTestFolder folder;
  folder.Write("settings/TVR73/TVR.INI",
               "[Database]\nNoML=1\nNo3D=1\n[Design]\nInfos=0\nCopper=1\n"
               "[Ref]\nHlp=1\nHlp2=1\nQDA=0.800000\n[Language]\nID=044\n");
  // The user's option lists: the sample's, in special mode 2.
  std::ifstream sample(TVR_PROGRAM_DIR "/ref_conf.cfg", std::ios::binary);
  std::string lists((std::istreambuf_iterator<char>(sample)), std::istreambuf_iterator<char>());
  const std::size_t special = lists.find("Special=0");
  ASSERT_NE(special, std::string::npos);
  folder.Write("settings/TVR73/ref_conf.cfg", lists.replace(special, 9, "Special=2"));
  const std::string saved = folder.Path("saved.txt");
  const std::string plain = folder.Path("plain.txt");
  const std::string shot = TestOutputPath("reference_price_panel_defaults.png");
  const std::string script =
      "refnew 2 3\nrefchoose ref_rating 63\nreftype ref_length 30\nrefbutton ref_validate\n"
      "answer - 1\nrefbutton ref_take_counts\nanswer - accept text_entry_edit=Workshop\n"
      "refbutton ref_commit\nrefselect -999\nreftab 2\nrefreport " +
      saved +
      "\nrefbutton ref_commit\nrefselect -999\nreftab 1\n"
      "refshows ref_coef_2 0.8\nrefshows ref_discount_2 20\n"
      "refshows ref_price_caption_4 Lighting busbar QYA\n"
      "refshows ref_price_caption_3 Lighting busbar QYB\n"
      "refshows ref_price_currency EUR\nrefchoose ref_price_lists 2\n"
      "refshows ref_price_currency GBP\nshot " +
      shot +
      "\nrefchoose ref_price_lists 0\nrefshows ref_price_currency EUR\n"
      "reftype ref_coef_2 1\nrefbutton ref_price_button_1303\nrefselect -999\nreftab 2\n"
      "refreport " +
      plain + "\nanswer - 2\ncommand 57602\n";
  const CProgramRun run = RunProgram(folder.Path(), {}, script, QStringLiteral("1400x900x24"));
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.values.value("failed"), "") << run.dump.toStdString();
  QSettings first(QString::fromStdString(saved), QSettings::IniFormat);
  QSettings second(QString::fromStdString(plain), QSettings::IniFormat);
  const std::int64_t withDefault = first.value("amount1").toLongLong();
  const std::int64_t full = second.value("amount1").toLongLong();
  ASSERT_GT(full, 0) << run.dump.toStdString();
  EXPECT_NEAR(static_cast<double>(withDefault), full * 0.8, 20.0) << run.dump.toStdString();
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

}  // namespace
