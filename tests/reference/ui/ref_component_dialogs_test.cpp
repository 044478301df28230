// The dialogs of a line's components, opened from the "..." buttons of the schematic
// (or on their own where the sample offers no product that reaches them): what each
// changes in the line, that Cancel changes nothing, and a picture of each.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QKeyEvent>
#include <QTimer>

#include <functional>

#include "linear/ui/help_hint_dlg.h"
#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_equip_dlg.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_item_tabs_dlg.h"
#include "reference/ui/ref_line_area.h"
#include "reference/ui/ref_line_page_view.h"
#include "reference/ui/ref_option_dlgs.h"
#include "reference/ui/ref_wnd.h"
#include "ref_ui_test_support.h"
#include "support/test_output.h"

namespace {

// Runs an action on the next modal dialog, once it shows.
void OnNextModal(std::function<void(QDialog&)> action) {
  QTimer::singleShot(0, [action] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) action(*dialog);
  });
}

void Shoot(QWidget& widget, const char* name) {
  widget.adjustSize();
  EXPECT_TRUE(widget.grab().save(QString::fromStdString(TestOutputPath(name))));
}

class RefComponentDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<CRefWnd>(setup.environment);
    ASSERT_TRUE(window->CheckConfig());
    window->resize(1280, 820);
    window->show();
    ProcessEvents();
  }
  CRefConfigDlg& Dialog() { return window->Dialog(); }
  CRefProject& Project() { return window->Project(); }
  // A QDA line of 30 m on its component page.
  void BeginQdaLine() {
    ASSERT_TRUE(Dialog().AddNewLineItem(RefProductNodeCode(2, 3)));
    QComboBox* ratings = Dialog().LinePage().RatingCombo();
    ratings->setCurrentIndex(ratings->findData(63));
    Dialog().LinePage().LengthEdit()->setText(QStringLiteral("30"));
    ASSERT_TRUE(Dialog().Validate());
    ProcessEvents();
  }
  QPushButton* Choose(int button) { return Dialog().LineArea().ChooseButton(button); }

  CRefTestSetup setup;
  std::unique_ptr<CRefWnd> window;
};

TEST_F(RefComponentDialogsTest, TheFixingPanelChangesTheFixingOnlyOnOk) {
  BeginQdaLine();
  QPushButton* button = Choose(1228);
  ASSERT_NE(button, nullptr) << "the sample offers more than one QDA fixing";
  const QString before = Dialog().LineArea().Caption(kCaptionFixing)->text();
  // Cancel: nothing changes.
  OnNextModal([](QDialog& dialog) { dialog.reject(); });
  button->click();
  EXPECT_EQ(Dialog().LineArea().Caption(kCaptionFixing)->text(), before);
  // Another option, with a picture of the panel.
  QString chosen;
  OnNextModal([&chosen](QDialog& dialog) {
    for (QRadioButton* box : dialog.findChildren<QRadioButton*>())
      if (!box->isChecked() && box->isVisible()) {
        box->click();
        chosen = box->text();
        break;
      }
    Shoot(dialog, "reference_choice_panel.png");
    dialog.accept();
  });
  Choose(1228)->click();
  ProcessEvents();
  ASSERT_FALSE(chosen.isEmpty());
  EXPECT_NE(Dialog().LineArea().Caption(kCaptionFixing)->text(), before);
  EXPECT_TRUE(chosen.startsWith(Dialog().LineArea().Caption(kCaptionFixing)->text().left(4)));
}

TEST_F(RefComponentDialogsTest, AnUnchangedPanelDoesNotCountAsAChange) {
  BeginQdaLine();
  ASSERT_NE(Choose(1228), nullptr);
  int result = -1;
  OnNextModal([&result](QDialog& dialog) {
    dialog.accept();
    result = dialog.result();
  });
  Choose(1228)->click();
  EXPECT_EQ(result, QDialog::Rejected);
}

TEST_F(RefComponentDialogsTest, EquipmentCountsReachTheLineAndCancelKeepsIt) {
  BeginQdaLine();
  QPushButton* button = Choose(1227);
  ASSERT_NE(button, nullptr) << "the sample offers QDA equipment";
  const CRefLine before = Project().lines[0];
  OnNextModal([](QDialog& dialog) {
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
      if (edit->isVisible() && edit->isEnabled()) edit->setText(QStringLiteral("6"));
    dialog.reject();
  });
  button->click();
  EXPECT_EQ(Project().lines[0].components, before.components);
  QString typed;
  OnNextModal([&typed](QDialog& dialog) {
    // A count out of range keeps the page, then a good one is taken.
    auto* pages = dialog.findChild<QComboBox*>(QStringLiteral("ref_equip_pages"));
    ASSERT_NE(pages, nullptr);
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
      if (edit->isVisible() && edit->isEnabled()) {
        edit->setText(QStringLiteral("7"));
        typed = edit->objectName();
        break;
      }
    Shoot(dialog, "reference_equipment_dialog.png");
    dialog.accept();
  });
  Choose(1227)->click();
  ProcessEvents();
  ASSERT_FALSE(typed.isEmpty());
  int sevens = 0;
  for (int c = 16; c <= 44; ++c)
    sevens += Project().lines[0].components[static_cast<std::size_t>(c)] == 7;
  EXPECT_EQ(sevens, 1);
  // The supplementary total of the schematic follows.
  EXPECT_EQ(Dialog().LineArea().Caption(1369)->text().toInt(),
            RefSupplementaryTotal(Project().lines[0]));
}

TEST_F(RefComponentDialogsTest, EquipmentCountOutOfRangeIsRefused) {
  CRefLine line;
  line.Assign(nullptr);
  line.productKind = 3;
  CRefEquipSetup equip;
  equip.product = 3;
  equip.states = std::vector<int>(56, 2);
  QStringList told;
  CRefEquipDlg dialog(equip, line, [&told](const QString& text) { told << text; });
  auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("ref_equip_count_1"));  // component 20
  ASSERT_NE(edit, nullptr);
  edit->setText(QStringLiteral("10000"));
  const int page = dialog.findChild<QComboBox*>(QStringLiteral("ref_equip_pages"))->currentIndex();
  EXPECT_FALSE(dialog.ShowPage(page == 0 ? 1 : 0));
  ASSERT_EQ(told.size(), 1);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);  // still open: nothing written
  EXPECT_EQ(line.components[20], 0);
  edit->setText(QStringLiteral("12"));
  EXPECT_TRUE(dialog.ShowPage(page == 0 ? 1 : 0));
  EXPECT_TRUE(dialog.ShowPage(page));
  EXPECT_EQ(edit->text(), QStringLiteral("12"));  // kept across pages
  dialog.accept();
  EXPECT_TRUE(dialog.Changed());
  EXPECT_EQ(line.components[20], 12);
}

TEST_F(RefComponentDialogsTest, EquipmentSpinBoxesAreWideEnoughToShowTheirArrows) {
  CRefLine line;
  line.Assign(nullptr);
  line.productKind = 3;
  CRefEquipSetup equip;
  equip.product = 3;
  equip.states = std::vector<int>(56, 2);
  CRefEquipDlg dialog(equip, line, [](const QString&) {});
  dialog.show();
  QApplication::processEvents();
  int shown = 0;
  for (QSpinBox* spin : dialog.findChildren<QSpinBox*>()) {
    if (!spin->isVisible()) continue;
    ++shown;
    EXPECT_GE(spin->width(), spin->sizeHint().width()) << spin->objectName().toStdString();
  }
  EXPECT_GT(shown, 0);
  SaveScreenshot(dialog, QStringLiteral("reference_equipment_spins"));
}

// The dialogs made on their own read the English texts, as those of the window do.
class RefOptionDialogsTest : public ::testing::Test {
 protected:
  CLinearTestSetup texts;
};

TEST_F(RefOptionDialogsTest, FixingChooserReturnsChoiceAndRange) {
  std::vector<int> states(56, 0);
  for (int c : {9, 11, 12, 44}) states[static_cast<std::size_t>(c)] = 2;
  CRefOptionDlg dialog(states, 3, 4);
  auto* ranges = dialog.findChild<QComboBox*>(QStringLiteral("ref_fixing_range_2"));
  ASSERT_NE(ranges, nullptr);
  EXPECT_EQ(ranges->currentText(), QStringLiteral("17...22 mm"));
  dialog.show();
  EXPECT_FALSE(dialog.findChild<QRadioButton*>(QStringLiteral("ref_fixing_radio_1"))->isVisible());
  ranges->setCurrentIndex(1);
  emit ranges->activated(1);
  Shoot(dialog, "reference_fixing_chooser.png");
  dialog.accept();
  EXPECT_EQ(dialog.Choice(), 3);
  EXPECT_EQ(dialog.Range(), 2);
  CRefOptionDlg other(states, 3, 4);
  other.findChild<QRadioButton*>(QStringLiteral("ref_fixing_radio_4"))->click();
  other.accept();
  EXPECT_EQ(other.Choice(), 36);
  EXPECT_EQ(other.Range(), 1);
}

TEST_F(RefOptionDialogsTest, ArrowOverlayOffersTheModesAndIgnoresEnter) {
  std::vector<int> states(56, 0);
  states[45] = states[47] = 2;
  int chosen = 0, backs = 0;
  CRefArrowsDlg overlay(
      states, [&chosen](int mode) { chosen = mode; }, [&backs] { ++backs; });
  overlay.resize(640, 300);
  overlay.show();
  EXPECT_NE(overlay.findChild<QPushButton*>(QStringLiteral("ref_arrow_forward_1")), nullptr);
  EXPECT_EQ(overlay.findChild<QPushButton*>(QStringLiteral("ref_arrow_forward_10")), nullptr);
  EXPECT_TRUE(
      overlay.grab().save(QString::fromStdString(TestOutputPath("reference_arrow_overlay.png"))));
  for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&overlay, &press);
  }
  EXPECT_TRUE(overlay.isVisible());
  overlay.findChild<QPushButton*>(QStringLiteral("ref_arrow_forward_11"))->click();
  EXPECT_EQ(chosen, 11);
  overlay.findChild<QPushButton*>(QStringLiteral("ref_arrow_back"))->click();
  EXPECT_EQ(backs, 1);
  // The modes read as modes: no caption is a text of the reference hints.
  QString hints;
  for (int mode : {3, 4}) {
    CHelpHintDlg hint(mode, texts.environment);
    for (const QLabel* label : hint.findChildren<QLabel*>()) hints += label->text();
  }
  for (const QLabel* label : overlay.findChildren<QLabel*>()) {
    if (!label->text().isEmpty()) {
      EXPECT_FALSE(hints.contains(label->text())) << label->text().toStdString();
    }
  }
}

CRefLine QfpLineOfThreeSections() {
  CRefLine line;
  line.Assign(nullptr);
  line.productKind = 0;
  line.lineMode = 10;
  line.count = 6;
  line.sections.resize(3);
  for (CRefLineSection& section : line.sections) section.values[2] = 2;
  return line;
}

TEST_F(RefOptionDialogsTest, ItemTabsEditACopyUntilOk) {
  CRefLine line = QfpLineOfThreeSections();
  CRefItemTabsDlg::Setup tabsSetup;
  tabsSetup.lineMode = 1;
  tabsSetup.count = 6;
  tabsSetup.states = std::vector<int>(56, 2);
  tabsSetup.positions = {3, 4, 5, -1, -1, 9, -1, -1, -1};
  tabsSetup.decimal = ',';
  CRefItemTabsDlg dialog(line, tabsSetup);
  auto* tabs = dialog.findChild<QTabBar*>(QStringLiteral("ref_section_tabs"));
  ASSERT_EQ(tabs->count(), 3);
  auto* a = dialog.findChild<QLineEdit*>(QStringLiteral("ref_section_a"));
  a->setText(QStringLiteral("7"));
  emit a->textEdited(a->text());
  EXPECT_EQ(a->text(), QStringLiteral("5"));  // outside line mode 10 at most 5
  auto* position = dialog.findChild<QComboBox*>(QStringLiteral("ref_section_position"));
  position->setCurrentIndex(position->findData(3));
  emit position->activated(position->currentIndex());
  dialog.show();
  EXPECT_TRUE(dialog.findChild<QLineEdit*>(QStringLiteral("ref_section_b"))->isVisible());
  EXPECT_EQ(dialog.Copy().sections[0].values[1], 1);
  Shoot(dialog, "reference_item_tabs.png");
  dialog.reject();
  EXPECT_EQ(line.sections[0].values[0], 1);  // Cancel: the line as it was
  CRefItemTabsDlg again(line, tabsSetup);
  auto* a2 = again.findChild<QLineEdit*>(QStringLiteral("ref_section_a"));
  a2->setText(QStringLiteral("4"));
  emit a2->textEdited(a2->text());
  again.accept();
  EXPECT_EQ(line.sections[0].values[0], 4);
}

TEST_F(RefOptionDialogsTest, ItemTabsCountResizesTheSections) {
  CRefLine line = QfpLineOfThreeSections();
  CRefItemTabsDlg::Setup tabsSetup;
  tabsSetup.lineMode = 10;
  tabsSetup.count = 6;
  tabsSetup.states = std::vector<int>(56, 2);
  tabsSetup.positions = {3, 4, 5, -1, -1, 9, -1, -1, -1};
  CRefItemTabsDlg dialog(line, tabsSetup);
  auto* count = dialog.findChild<QSpinBox*>(QStringLiteral("ref_section_count"));
  count->setValue(6);  // the first section takes the whole count
  EXPECT_EQ(dialog.findChild<QTabBar*>(QStringLiteral("ref_section_tabs"))->count(),
            static_cast<int>(dialog.Copy().sections.size()));
  EXPECT_LT(dialog.Copy().sections.size(), 3u);
  auto* a = dialog.findChild<QLineEdit*>(QStringLiteral("ref_section_a"));
  a->setText(QStringLiteral("7"));
  emit a->textEdited(a->text());
  EXPECT_EQ(a->text(), QStringLiteral("7"));  // line mode 10 allows up to 10
}

}  // namespace
