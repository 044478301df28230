#include <gtest/gtest.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "app/message_box_codes.h"
#include "linear/ui/linear_dlg.h"
#include "linear/ui/linear_line_editor.h"
#include "linear/ui/linear_price_dlg.h"
#include "linear/ui/linear_wnd.h"
#include "linear/ui/text_entry_dlg.h"
#include "linear_ui_test_support.h"

// What a user prices and types is kept, or they are told why not.

namespace {

class LinearUserWalkTest : public testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<CLinearWnd>(setup.environment);
    window->resize(1000, 700);
    ASSERT_TRUE(window->CheckConfig());
    window->show();
  }
  CLinearDlg& Dialog() { return window->Dialog(); }
  void PressEscape() {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &Dialog();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    ProcessEvents();
  }

  CLinearTestSetup setup;
  std::unique_ptr<CLinearWnd> window;
};

TEST_F(LinearUserWalkTest, TheProjectViewIsLeftByItsTabsAndByEscape) {
  ASSERT_EQ(AddLine(*window, 0, 800, {{5, "25"}}, "A"), 0);
  auto* button = Dialog().findChild<QPushButton*>(QStringLiteral("linear_save_line"));
  ASSERT_NE(button, nullptr);
  Dialog().ShowTabPage(2);
  ASSERT_EQ(Dialog().ViewMode(), CLinearDlg::kViewProject);
  EXPECT_EQ(button->text(), QStringLiteral("Close"));
  Dialog().setFocus();
  PressEscape();
  EXPECT_EQ(Dialog().ViewMode(), CLinearDlg::kViewNone);

  Dialog().ShowTabPage(2);
  auto* tabs = Dialog().findChild<QTabBar*>(QStringLiteral("linear_tabs"));
  ASSERT_NE(tabs, nullptr);
  emit tabs->tabBarClicked(1);
  ProcessEvents();
  EXPECT_EQ(Dialog().ViewMode(), CLinearDlg::kViewPanel) << "the name panel of line A";
  PressEscape();
  EXPECT_EQ(Dialog().ViewMode(), CLinearDlg::kViewNone) << "Escape cancels a panel too";
  Dialog().ShowTabPage(2);
  emit tabs->tabBarClicked(0);
  EXPECT_EQ(Dialog().ViewMode(), CLinearDlg::kViewEditor);
}

TEST_F(LinearUserWalkTest, AReopenedProjectKeepsItsPricesUnlessTheUserTakesTheNewOnes) {
  ASSERT_EQ(AddLine(*window, 0, 800, {{5, "25"}}, "Main run"), 0);
  CLinearLine& line = window->Project().lines.Line(0);
  const std::int32_t priced = line.TotalValues[1];
  line.TotalValues[1] = priced + 2700;  // as saved when the tables gave other prices
  const std::string path = setup.folder.File("job.lin");
  setup.dialogs.filesToSave.push_back(QString::fromStdString(path));
  ASSERT_TRUE(window->Save());
  for (int answer : {kIdNo, kIdYes}) {
    setup.dialogs.messages.clear();
    setup.dialogs.answers = {answer};
    CLinearWnd reopened(setup.environment);
    ASSERT_TRUE(reopened.CheckConfig());
    ASSERT_TRUE(reopened.LoadFile(QString::fromStdString(path)));
    EXPECT_TRUE(setup.dialogs.messages.empty()) << "asked once the window shows";
    QCoreApplication::processEvents();
    ASSERT_EQ(setup.dialogs.messages.size(), 1) << "the user is asked";
    EXPECT_TRUE(setup.dialogs.messages[0].contains(QStringLiteral("Main run")));
    const bool taken = answer == kIdYes;
    EXPECT_EQ(reopened.Project().lines.Line(0).TotalValues[1], taken ? priced : priced + 2700);
    EXPECT_EQ(reopened.IsModified(), taken);
  }
}

TEST_F(LinearUserWalkTest, AnotherPriceListSaysItKeepsItsOwnDiscount) {
  Dialog().SelectItem(CLinearDlg::kPriceItem);
  Dialog().ShowEditPanel(true, 0);
  auto* panel = qobject_cast<CLinearPriceDlg*>(Dialog().Panel());
  ASSERT_NE(panel, nullptr);
  panel->DiscountEdit(CLinearPriceDlg::kRowList)->setText(QStringLiteral("12"));
  panel->PriceListCombo()->setCurrentIndex(1);
  panel->OnPriceListChange();
  EXPECT_FALSE(panel->ListNote()->isHidden());
  EXPECT_TRUE(panel->ListNote()->text().contains(QStringLiteral("12 %")));
  panel->PriceListCombo()->setCurrentIndex(0);
  panel->OnPriceListChange();
  EXPECT_EQ(panel->DiscountEdit(CLinearPriceDlg::kRowList)->text(), QStringLiteral("12"))
      << "the discount stays with its list";
}

TEST_F(LinearUserWalkTest, ARefusedNumberNamesItsField) {
  ASSERT_TRUE(Dialog().NewLine(1));
  CLinearLineEditor& editor = Dialog().Editor();
  editor.AmpereEdit()->setText(QStringLiteral("400"));
  editor.RefillProducts();
  ASSERT_TRUE(editor.ApplyLineHeader());
  qobject_cast<QLineEdit*>(editor.FieldOfSlot(9))->setText(QStringLiteral("3"));
  qobject_cast<QLineEdit*>(editor.FieldOfSlot(10))->setText(QStringLiteral("-3.5"));
  QString problem;
  EXPECT_EQ(editor.ValidateBody(problem), 8013);
  EXPECT_TRUE(problem.startsWith(QStringLiteral("Floor step (m)\n"))) << problem.toStdString();
}

TEST_F(LinearUserWalkTest, AnEmptyProjectsPriceViewSaysWhyItIsEmpty) {
  auto* empty = Dialog().findChild<QLabel*>(QStringLiteral("linear_price_empty"));
  ASSERT_NE(empty, nullptr);
  Dialog().ShowTabPage(2);
  ASSERT_EQ(Dialog().ViewMode(), CLinearDlg::kViewProject) << "the tab opens on no line";
  EXPECT_TRUE(empty->isVisible());
  EXPECT_TRUE(empty->text().contains(QStringLiteral("no line"))) << empty->text().toStdString();
  PressEscape();
  EXPECT_EQ(Dialog().ViewMode(), CLinearDlg::kViewNone);
  EXPECT_FALSE(empty->isVisible()) << "a line's empty table says nothing";
}

// A double click on the tree while a new line of group 1 is edited: where it lands, the
// answer to the question, and whether the edit goes on (with what was typed) or gives
// way to the item clicked.
TEST_F(LinearUserWalkTest, ADoubleClickElsewhereLeavesANewLineOnlyWithTheUsersLeave) {
  ASSERT_EQ(AddLine(*window, 0, 800, {{5, "25"}}, "Main run"), 0);
  struct Case {
    const char* fault;
    int target;  // tree item data
    int answer;
    bool asked;
    int groupAfter;  // the group of the new line edited after the click; -1 an existing line
  };
  const Case cases[] = {
      {"another group's root was ignored while a line was edited", -1000, kIdOk, true, 0},
      {"a cancelled question still dropped what was typed", -1000, kIdCancel, true, 1},
      {"a line of the project was ignored while a new one was edited", 0, kIdOk, true, -1},
      {"the edited line's own root asked to drop it", -1001, kIdOk, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    ASSERT_TRUE(Dialog().NewLine(1));
    Dialog().Editor().AmpereEdit()->setText(QStringLiteral("630"));
    setup.dialogs.messages.clear();
    setup.dialogs.answers = {c.answer};
    auto* tree = Dialog().findChild<QTreeWidget*>(QStringLiteral("linear_tree"));
    Dialog().SelectItem(c.target);
    emit tree->itemDoubleClicked(tree->currentItem(), 0);
    ProcessEvents();
    EXPECT_EQ(setup.dialogs.messages.size(), c.asked ? 1u : 0u);
    ASSERT_EQ(Dialog().ViewMode(), CLinearDlg::kViewEditor);
    const CLinearLine& working = window->Project().lines.Working();
    if (c.groupAfter >= 0) {
      EXPECT_EQ(working.Group, c.groupAfter);
    } else {
      EXPECT_EQ(working.Name, "Main run");
    }
    if (c.groupAfter == 1) {
      EXPECT_EQ(Dialog().Editor().AmpereEdit()->text(), QStringLiteral("630"));
    }
    Dialog().AbandonEdit();
  }
}

TEST(LinearNameTest, ANameIsOneLine) {
  EXPECT_EQ(OneLineText(QStringLiteral("Line\r\nA\tB")), QStringLiteral("Line  A B"));
  EXPECT_EQ(OneLineText(QStringLiteral("Plain")), QStringLiteral("Plain"));
}

}  // namespace
