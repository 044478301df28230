// Walks the linear window in French, with its line editor, every "..." chooser its
// sample lines offer and the price settings, and fails on a text that the French
// language file does not hold. Screenshots of the pages are kept.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "app/external_process.h"
#include "linear/ui/component_chooser_dlg.h"
#include "linear/ui/help_hint_dlg.h"
#include "linear/ui/linear_dlg.h"
#include "linear/ui/linear_line_editor.h"
#include "linear/ui/linear_wnd.h"
#include "linear/ui/text_entry_dlg.h"
#include "linear_ui_test_support.h"
#include "support/language_walk.h"

namespace {

std::string Joined(const QStringList& texts) {
  return texts.join(QStringLiteral("\n")).toStdString();
}

// A line of each group at a current the sample offers, and the kinds of chooser.
constexpr std::pair<int, int> kLines[] = {{0, 800}, {1, 400}, {2, 63}, {3, 25}};
constexpr int kChooserKinds[] = {0, 1, 2, 3, 4, 5, 6, 7, 20, 21, 22, 23, 24};

TEST(LinearFrenchWalkTest, TheWindowItsEditorAndItsChoosersAreFrench) {
  CLinearTestSetup setup("033");
  const CLanguageWords words;
  CLinearWnd window(setup.environment);
  window.resize(1000, 700);
  ASSERT_TRUE(window.CheckConfig());
  window.show();
  EXPECT_EQ(Joined(words.ForeignTexts(window)), "");
  EXPECT_TRUE(SaveScreenshot(window, QStringLiteral("fr_linear_window")));
  CLinearDlg& dialog = window.Dialog();
  int choosers = 0;
  for (const auto& [group, current] : kLines) {
    if (!dialog.NewLine(group)) continue;
    CLinearLineEditor& editor = dialog.Editor();
    EXPECT_EQ(Joined(words.ForeignTexts(window)), "") << "header of group " << group;
    editor.AmpereEdit()->setText(QString::number(current));
    editor.RefillProducts();
    if (editor.ApplyLineHeader()) {
      EXPECT_EQ(Joined(words.ForeignTexts(window)), "") << "body of group " << group;
      EXPECT_TRUE(SaveScreenshot(window, QStringLiteral("fr_linear_body_%1").arg(group)));
      for (int kind : kChooserKinds) {
        CComponentChooserDlg chooser(dialog, kind);
        if (!chooser.Prepare()) continue;
        ++choosers;
        chooser.show();
        EXPECT_EQ(Joined(words.ForeignTexts(chooser)), "")
            << "chooser " << kind << " of group " << group;
        SaveScreenshot(chooser, QStringLiteral("fr_linear_chooser_%1_%2").arg(group).arg(kind));
        chooser.reject();
      }
    }
    dialog.AbandonEdit();
  }
  EXPECT_GT(choosers, 3);
  ASSERT_EQ(AddLine(window, 0, 800, {{5, "25"}}, QStringLiteral("Ligne A")), 0);
  dialog.SelectItem(0);
  EXPECT_TRUE(SaveScreenshot(window, QStringLiteral("fr_linear_price_table")));
  dialog.ShowEditPanel(true, 0);
  EXPECT_EQ(Joined(words.ForeignTexts(window)), "") << "name and comment";
  EXPECT_TRUE(SaveScreenshot(window, QStringLiteral("fr_linear_name_panel")));
  dialog.ShowEditPanel(false, 0);
  dialog.SelectItem(CLinearDlg::kPriceItem);
  dialog.ShowEditPanel(true, 0);
  EXPECT_EQ(Joined(words.ForeignTexts(window)), "") << "price settings";
  EXPECT_TRUE(SaveScreenshot(window, QStringLiteral("fr_linear_prices")));
  for (int mode : {1, 2}) {
    CHelpHintDlg hint(mode, setup.environment);
    EXPECT_EQ(Joined(words.ForeignTexts(hint)), "") << "hint " << mode;
  }
  CTextEntryDlg entry;
  EXPECT_EQ(Joined(words.ForeignTexts(entry)), "");
}

// The file types the save dialogs offer: the project and the workbook, in French.
TEST(LinearFrenchWalkTest, TheSaveDialogsNameTheirFileTypesInFrench) {
  CLinearTestSetup setup("033");
  CPrintHelperLauncher launcher(TVR_PROGRAM_DIR);
  setup.environment.printHelper = &launcher;
  CLinearWnd window(setup.environment);
  ASSERT_TRUE(window.CheckConfig());
  EXPECT_FALSE(window.Save());  // cancelled
  window.Project().lines.BeginNewLine(0);
  window.Project().lines.SaveWorkingAsNew("P1");
  setup.dialogs.filesToOpen = {QStringLiteral(TVR_PROGRAM_DIR "/MODELS/Tavrilon_Lineaire.xlsx")};
  EXPECT_EQ(window.ExportToExcel(true, 0), 0);  // the name is cancelled
  EXPECT_EQ(setup.dialogs.saveFilters.join(QStringLiteral(" ; ")).toStdString(),
            "Chiffrages linéaires (*.lin)|*.lin|| ; Classeurs Excel (*.xlsx)|*.xlsx||");
}

// The upstream transformer option (dry type) read "Raccordement tableau" like the
// downstream switchboard connection, so the options page showed that label twice.
TEST(LinearFrenchWalkTest, TheOptionsPageNamesEachConnectionOnce) {
  CLinearTestSetup setup("033");
  CLinearWnd window(setup.environment);
  window.resize(1000, 700);
  ASSERT_TRUE(window.CheckConfig());
  window.show();
  CLinearDlg& dialog = window.Dialog();
  ASSERT_TRUE(dialog.NewLine(0));
  CLinearLineEditor& editor = dialog.Editor();
  editor.AmpereEdit()->setText(QStringLiteral("800"));
  editor.RefillProducts();
  ASSERT_TRUE(editor.ApplyLineHeader());
  QStringList shown;
  // Options are check boxes, values labels.
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    QString text;
    if (const auto* box = qobject_cast<const QCheckBox*>(widget)) text = box->text();
    else if (const auto* label = qobject_cast<const QLabel*>(widget)) text = label->text();
    if (widget->isVisible() && text.startsWith(QStringLiteral("Raccordement"))) shown << text;
  }
  EXPECT_EQ(shown.count(QStringLiteral("Raccordement tableau")), 1) << Joined(shown);
  EXPECT_EQ(shown.count(QStringLiteral("Raccordement transformateur sec")), 1) << Joined(shown);
  EXPECT_TRUE(SaveScreenshot(window, QStringLiteral("fr_linear_body_connections")));
  dialog.AbandonEdit();
}

}  // namespace
