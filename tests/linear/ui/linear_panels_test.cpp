#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "linear/linear_slots.h"
#include "linear/chooser_texts.h"
#include "linear/ui/component_chooser_dlg.h"
#include "linear/ui/help_hint_dlg.h"
#include "linear/ui/linear_dlg.h"
#include "linear/ui/linear_line_editor.h"
#include "linear/ui/linear_price_dlg.h"
#include "linear/ui/linear_wnd.h"
#include "linear/ui/name_comment_panel.h"
#include "linear/ui/text_entry_dlg.h"
#include "linear_ui_test_support.h"

namespace {

class LinearPanelTest : public testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<CLinearWnd>(setup.environment);
    window->resize(1000, 700);
    window->CheckConfig();
    window->show();
  }
  CLinearDlg& Dialog() { return window->Dialog(); }
  CLinearPriceDlg* OpenPricePanel() {
    Dialog().SelectItem(CLinearDlg::kPriceItem);
    Dialog().ShowEditPanel(true, 0);
    return qobject_cast<CLinearPriceDlg*>(Dialog().Panel());
  }
  CLinearTestSetup setup;
  std::unique_ptr<CLinearWnd> window;
};

// Coefficient and discount move together; ',' is read as the decimal character too.
struct SyncCase {
  bool typedDiscount;
  const char* typed;
  const char* partner;
};

class PriceSyncTest : public LinearPanelTest, public testing::WithParamInterface<SyncCase> {};

TEST_P(PriceSyncTest, CoefficientAndDiscountMoveTogether) {
  const SyncCase& c = GetParam();
  CLinearPriceDlg* panel = OpenPricePanel();
  ASSERT_NE(panel, nullptr);
  for (int row : {int(CLinearPriceDlg::kRowList), int(CLinearPriceDlg::kRowQM)}) {
    QLineEdit* typed = c.typedDiscount ? panel->DiscountEdit(row) : panel->CoefEdit(row);
    QLineEdit* partner = c.typedDiscount ? panel->CoefEdit(row) : panel->DiscountEdit(row);
    typed->setText(QString::fromLatin1(c.typed));
    EXPECT_EQ(partner->text(), QString::fromLatin1(c.partner)) << row;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PriceSyncTest,
                         testing::Values(SyncCase{true, "10.5", "0.895"},
                                         SyncCase{true, "10,5", "0.895"},
                                         SyncCase{true, "100", "0"}, SyncCase{false, "2", "-100"},
                                         SyncCase{false, "0.75", "25"}));

TEST_F(LinearPanelTest, ThePriceListCoefficientUpToFiveSurvivesASwitchOfList) {
  CLinearPriceDlg* panel = OpenPricePanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(SaveScreenshot(*window, QStringLiteral("linear_price_panel")));
  panel->CoefEdit(CLinearPriceDlg::kRowList)->setText(QStringLiteral("4.5"));
  EXPECT_EQ(panel->DiscountEdit(CLinearPriceDlg::kRowList)->text(), QStringLiteral("-350"));
  QComboBox* lists = panel->PriceListCombo();
  ASSERT_GE(lists->count(), 2);
  lists->setCurrentIndex(1);
  panel->OnPriceListChange();
  lists->setCurrentIndex(0);
  panel->OnPriceListChange();
  EXPECT_EQ(panel->CoefEdit(CLinearPriceDlg::kRowList)->text(), QStringLiteral("4.5"));
  panel->CoefEdit(CLinearPriceDlg::kRowList)
      ->setText(QStringLiteral("5.5"));  // beyond what Apply takes
  EXPECT_FALSE(panel->OnApply());
  panel->CoefEdit(CLinearPriceDlg::kRowList)->setText(QStringLiteral("4.5"));
  panel->ServicesEdit()->setText(QStringLiteral("12"));
  ASSERT_TRUE(panel->OnApply());
  ProcessEvents();
  EXPECT_EQ(Dialog().Panel(), nullptr);
  EXPECT_DOUBLE_EQ(window->Project().settings.listCoefs[0], 4.5);
  EXPECT_DOUBLE_EQ(window->Project().settings.services, 12.0);
  EXPECT_TRUE(window->IsModified());
}

// Every field a user can type in stands on a row that says what it is.
TEST_F(LinearPanelTest, EveryPriceFieldHasItsLabel) {
  CLinearPriceDlg* panel = OpenPricePanel();
  ASSERT_NE(panel, nullptr);
  auto* grid = qobject_cast<QGridLayout*>(panel->layout());
  ASSERT_NE(grid, nullptr);
  int fields = 0;
  for (int index = 0; index < grid->count(); ++index) {
    auto* edit = qobject_cast<QLineEdit*>(grid->itemAt(index)->widget());
    if (edit == nullptr || edit->isHidden()) continue;
    int row = 0, column = 0, rows = 0, columns = 0;
    grid->getItemPosition(index, &row, &column, &rows, &columns);
    QLayoutItem* first = grid->itemAtPosition(row, 0);
    auto* label = first ? qobject_cast<QLabel*>(first->widget()) : nullptr;
    ASSERT_NE(label, nullptr) << edit->objectName().toStdString();
    EXPECT_FALSE(label->text().trimmed().isEmpty()) << edit->objectName().toStdString();
    ++fields;
  }
  EXPECT_GE(fields, 3);  // the price list's coefficient and discount, the services
}

TEST_F(LinearPanelTest, SavingPriceSettingsAsksAndWritesTheDefaults) {
  CLinearPriceDlg* panel = OpenPricePanel();
  ASSERT_NE(panel, nullptr);
  panel->ServicesEdit()->setText(QStringLiteral("7.5"));
  setup.dialogs.answers = {kIdCancel};
  EXPECT_FALSE(panel->SavePriceSettings());
  EXPECT_EQ(setup.profile->ReadProfileText("Linear", "Services", ""), "");
  EXPECT_TRUE(panel->SavePriceSettings());
  EXPECT_EQ(setup.profile->ReadProfileText("Linear", "Services", ""), "7.500000");
  EXPECT_EQ(setup.profile->ReadProfileText("Linear", "QP", ""), "1.000000");
  EXPECT_DOUBLE_EQ(window->Project().settings.services, 10.0);  // the project keeps its value
}

TEST_F(LinearPanelTest, TheNamePanelRenamesDeletesAndKeepsComments) {
  window->Project().lines.BeginNewLine(0);
  window->Project().lines.SaveWorkingAsNew("First");
  window->Project().lines.BeginNewLine(0);
  window->Project().lines.SaveWorkingAsNew("Second");
  Dialog().FillTree(true);
  Dialog().SelectItem(0);
  Dialog().ShowEditPanel(true, 0);
  auto* panel = qobject_cast<CNameCommentPanel*>(Dialog().Panel());
  ASSERT_NE(panel, nullptr);
  panel->NameEdit()->setText(QStringLiteral("   "));
  panel->OnNameChange();
  EXPECT_EQ(panel->NameEdit()->text(), QString());
  EXPECT_FALSE(panel->ApplyButton()->isEnabled());
  panel->NameEdit()->setText(QStringLiteral("  Renamed  "));
  panel->OnNameChange();
  EXPECT_EQ(panel->NameEdit()->text(), QStringLiteral("Renamed  "));
  panel->CommentEdit()->setPlainText(QStringLiteral("note"));
  panel->OnApply();
  ProcessEvents();
  EXPECT_EQ(window->Project().lines.Line(0).Name, "Renamed");
  EXPECT_EQ(window->Project().lines.Line(0).Comment, "note");

  Dialog().SelectItem(0);
  Dialog().ShowEditPanel(true, 0);
  panel = qobject_cast<CNameCommentPanel*>(Dialog().Panel());
  ASSERT_NE(panel, nullptr);
  panel->NameEdit()->setText(QStringLiteral("Ignored"));
  panel->DeleteBox()->setChecked(true);
  panel->OnDeleteCheck();
  EXPECT_FALSE(panel->NameEdit()->isEnabled());
  panel->OnApply();
  ProcessEvents();
  ASSERT_EQ(window->Project().lines.LineCount(), 1);
  EXPECT_EQ(window->Project().lines.Line(0).Name, "Second");
}

TEST_F(LinearPanelTest, ACommentAloneMarksTheProjectModified) {
  window->Project().lines.BeginNewLine(0);
  window->Project().lines.SaveWorkingAsNew("Only");
  Dialog().FillTree(true);
  Dialog().SelectItem(0);
  Dialog().ShowEditPanel(true, 0);
  auto* panel = qobject_cast<CNameCommentPanel*>(Dialog().Panel());
  ASSERT_NE(panel, nullptr);
  panel->CommentEdit()->setPlainText(QStringLiteral("to keep"));
  panel->OnApply();
  ProcessEvents();
  EXPECT_TRUE(window->IsModified());
}

TEST(TextEntryTest, BlanksAreRefusedAndTrimmed) {
  CTextEntryDlg dialog;
  dialog.SetText(QStringLiteral("   "));
  EXPECT_FALSE(dialog.OkButton()->isEnabled());
  dialog.Edit()->setText(QStringLiteral("  Line A  "));
  emit dialog.Edit()->textEdited(dialog.Edit()->text());
  EXPECT_EQ(dialog.Edit()->text(), QStringLiteral("Line A  "));
  EXPECT_TRUE(dialog.OkButton()->isEnabled());
  dialog.accept();
  EXPECT_EQ(dialog.Text(), QStringLiteral("Line A"));
}

TEST_F(LinearPanelTest, TheChooserStoresTheBoxesOfAGroup) {
  ASSERT_TRUE(Dialog().NewLine(1));
  CLinearLineEditor& editor = Dialog().Editor();
  editor.AmpereEdit()->setText(QStringLiteral("400"));
  editor.RefillProducts();
  ASSERT_TRUE(editor.ApplyLineHeader());
  CComponentChooserDlg chooser(Dialog(), 20);
  ASSERT_TRUE(chooser.Prepare());
  chooser.resize(500, 300);
  chooser.show();
  EXPECT_TRUE(SaveScreenshot(chooser, QStringLiteral("linear_component_chooser")));
  // The headers stand in the row above the boxes.
  const CChooserHeaders headers = ChooserColumnHeaders(chooser.GroupKind());
  ASSERT_NE(chooser.ShownText(-1, 2), nullptr);
  EXPECT_EQ(chooser.ShownText(-1, 2)->text().toStdString(),
            ChooserHeaderText(StringText(headers.type)));
  QSpinBox* first = chooser.QuantityBox(0);
  ASSERT_NE(first, nullptr);
  first->setValue(3);
  chooser.accept();
  const CLinearLine& line = window->Project().lines.Working();
  int boxes = 0;
  for (int slot = kLinearFirstBoxSlot; slot < kLinearSlotCount; ++slot)
    boxes += BoxQuantity(line.Slots[slot]);
  EXPECT_EQ(boxes, 3);
}

// The fifth button's boxes show two bands: the box with its type and connection above,
// its short-circuit rating five rows below.
TEST_F(LinearPanelTest, TheFifthButtonShowsItsBoxesInTwoBands) {
  ASSERT_TRUE(Dialog().NewLine(1));
  CLinearLineEditor& editor = Dialog().Editor();
  editor.AmpereEdit()->setText(QStringLiteral("63"));
  editor.RefillProducts();
  const int qp = editor.ProductCombo()->findData(kProductQPA);
  if (qp < 0) GTEST_SKIP() << "no QPA line offered in this group";
  editor.ProductCombo()->setCurrentIndex(qp);
  ASSERT_TRUE(editor.ApplyLineHeader());
  CComponentChooserDlg chooser(Dialog(), 24);
  ASSERT_TRUE(chooser.Prepare());
  EXPECT_EQ(chooser.GroupKind(), 10);
  ASSERT_NE(chooser.ShownText(0, 0), nullptr);
  EXPECT_EQ(chooser.ShownText(0, 0)->text().toStdString(), ChooserSwitchTypeText("TYP1 CPF"));
  EXPECT_EQ(chooser.ShownText(0, 2)->text().toStdString(), ChooserSwitchConnectionText("TYP1 CPF"));
  ASSERT_NE(chooser.ShownText(5, 2), nullptr);
  EXPECT_EQ(chooser.ShownText(5, 2)->text().toStdString(), ChooserSwitchIccText("TYP1 CPF"));
  EXPECT_NE(chooser.findChild<QLabel*>(QStringLiteral("chooser_switch_band")), nullptr);
}

TEST_F(LinearPanelTest, OptionKindsWriteTheirSlots) {
  ASSERT_TRUE(Dialog().NewLine(0));
  CLinearLineEditor& editor = Dialog().Editor();
  editor.AmpereEdit()->setText(QStringLiteral("800"));
  editor.RefillProducts();
  ASSERT_TRUE(editor.ApplyLineHeader());
  for (int kind : {0, 2, 3, 7}) {
    CComponentChooserDlg chooser(Dialog(), kind);
    ASSERT_TRUE(chooser.Prepare()) << kind;
    chooser.accept();
  }
  EXPECT_GE(window->Project().lines.Working().Slots[4], 0);  // kind 7 always writes
  CComponentChooserDlg none(Dialog(), 9);
  EXPECT_FALSE(none.Prepare());  // no caption for kinds 8 to 19
}

// OK in a "..." chooser keeps what the body page showed and lays it out where it was,
// however often it is used.
TEST_F(LinearPanelTest, TheChooserKeepsTheTypedValuesAndThePlaceOfThePage) {
  ASSERT_TRUE(Dialog().NewLine(1));
  CLinearLineEditor& editor = Dialog().Editor();
  editor.AmpereEdit()->setText(QStringLiteral("400"));
  editor.RefillProducts();
  ASSERT_TRUE(editor.ApplyLineHeader());
  ProcessEvents();
  int edits = 0;
  for (const CLinearLineEditor::BodyRow& row : editor.Rows()) {
    if (auto* edit = qobject_cast<QLineEdit*>(row.field))
      edit->setText(QStringLiteral("12.5%1").arg(edits++));
    else if (auto* check = qobject_cast<QCheckBox*>(row.field); check && row.group == 0)
      check->setChecked(true);
  }
  ASSERT_GT(edits, 0);
  const CLinearLineEditor::Entries typed = editor.BodyEntries();
  QPushButton* button = editor.findChild<QPushButton*>(QStringLiteral("linear_chooser_20"));
  ASSERT_NE(button, nullptr) << "the sample QW line offers tap-off boxes";
  const int top = editor.Rows().front().field->mapTo(&editor, QPoint()).y();
  for (int round = 0; round < 3; ++round) {
    AcceptNextModal();
    editor.findChild<QPushButton*>(QStringLiteral("linear_chooser_20"))->click();
    ProcessEvents();
    EXPECT_EQ(editor.BodyEntries(), typed) << "round " << round;
    EXPECT_EQ(editor.Rows().front().field->mapTo(&editor, QPoint()).y(), top)
        << "the page slid down in round " << round;
  }
  EXPECT_TRUE(SaveScreenshot(*window, QStringLiteral("linear_body_after_chooser")));
}

}  // namespace

namespace {

// The hint's box silences only its own mode, and only when checked.
struct HintCase {
  int mode;
  bool checked;
  const char* hlp;
  const char* hlp2;
};

class HelpHintTest : public testing::TestWithParam<HintCase> {};

TEST_P(HelpHintTest, TheBoxSilencesItsOwnHint) {
  const HintCase& c = GetParam();
  CLinearTestSetup setup;
  setup.folder.WriteFile("TVR.INI", "");
  CHelpHintDlg hint(c.mode, setup.environment);
  hint.DontShowBox()->setChecked(c.checked);
  hint.accept();
  EXPECT_EQ(setup.profile->ReadProfileText("Linear", "Hlp", "unset"), c.hlp);
  EXPECT_EQ(setup.profile->ReadProfileText("Linear", "Hlp2", "unset"), c.hlp2);
}

INSTANTIATE_TEST_SUITE_P(Cases, HelpHintTest,
                         testing::Values(HintCase{1, false, "unset", "unset"},
                                         HintCase{1, true, "1", "unset"},
                                         HintCase{2, true, "unset", "1"}));

}  // namespace
