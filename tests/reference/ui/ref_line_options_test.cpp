// The option controls of the line page and the schematic: the option buttons beside the
// header's fields, the tap-off count of a connection with outlets, the position boxes of
// the connections and the question on counts longer than the line.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QRadioButton>

#include <functional>

#include "app/typed_field.h"
#include "app/message_box_codes.h"
#include "app/message_text.h"
#include "app/ui/window_translation.h"
#include "reference/ui/ref_config_dlg.h"
#include "reference/ui/ref_core.h"
#include "reference/ui/ref_line_area.h"
#include "reference/ui/ref_line_page_view.h"
#include "reference/ui/ref_wnd.h"
#include "ref_ui_test_support.h"

namespace {

void OnNextModal(std::function<void(QDialog&)> action) {
  QTimer::singleShot(0, [action] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) action(*dialog);
  });
}

class RefLineOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<CRefWnd>(setup.environment);
    ASSERT_TRUE(window->CheckConfig());
    window->resize(1280, 820);
    window->show();
    ProcessEvents();
  }
  CRefConfigDlg& Dialog() { return window->Dialog(); }
  CRefLinePageView& Page() { return Dialog().LinePage(); }
  CRefLine& Work() { return window->Project().lines[0]; }
  QStringList& Messages() { return setup.common.dialogs.messages; }
  // Picks a combo's entry as the user does.
  static void Pick(QComboBox* combo, int data) {
    const int index = combo->findData(data);
    ASSERT_GE(index, 0) << data;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  bool Shown(int control) {
    QPushButton* button = Page().OptionButton(control);
    return button != nullptr && button->isVisible();
  }

  CRefTestSetup setup;
  std::unique_ptr<CRefWnd> window;
};

TEST_F(RefLineOptionsTest, TheSpacingButtonSetsTheSpacingBeforeValidation) {
  ASSERT_TRUE(Dialog().AddNewLineItem(RefProductNodeCode(2, 3)));
  EXPECT_TRUE(Shown(1205));
  EXPECT_FALSE(Shown(1206));  // no lighting line
  EXPECT_FALSE(Shown(1371));
  Pick(Page().RatingCombo(), 63);
  Page().LengthEdit()->setText(QStringLiteral("30"));
  OnNextModal([](QDialog& panel) {
    panel.findChild<QLineEdit*>(QStringLiteral("ref_pitch"))->setText(QStringLiteral("1.5"));
    panel.accept();
  });
  Page().OptionButton(1205)->click();
  EXPECT_EQ(Work().fixingSpacing, 150);
  ASSERT_TRUE(Dialog().Validate());
  EXPECT_EQ(Dialog().LineArea().CountEdit(kEditFixingCount)->text(), QStringLiteral("21"));
  EXPECT_TRUE(Page().OptionButton(1205)->isEnabled());  // still usable on the schematic
  setup.common.dialogs.answers = {kIdOk};
  ASSERT_TRUE(Dialog().TakeComponentCounts());
  EXPECT_FALSE(Page().OptionButton(1205)->isEnabled());  // not once the prices show
}

TEST_F(RefLineOptionsTest, ConnectionSixTakesItsTapOffCountWithinTheLength) {
  ASSERT_TRUE(Dialog().AddNewLineItem(RefProductNodeCode(2, 4)));
  EXPECT_FALSE(Page().ConnectionCountEdit()->isVisible());
  Page().LengthEdit()->setText(QStringLiteral("30"));
  Pick(Page().ConnectionCombo(), 6);
  ASSERT_TRUE(Page().ConnectionCountEdit()->isVisible());
  EXPECT_EQ(Page().ConnectionCountEdit()->text(), QStringLiteral("0"));
  EXPECT_TRUE(SaveScreenshot(*window, QStringLiteral("reference_connection_count")));
  EXPECT_FALSE(Dialog().Validate());
  EXPECT_EQ(Messages().back(),
            QString::fromStdString(FieldRangeMessage(StringText(31115), "1", "30", true)));
  Page().ConnectionCountEdit()->setText(QStringLiteral("31"));  // more outlets than metres
  EXPECT_FALSE(Dialog().Validate());
  Page().ConnectionCountEdit()->setText(QStringLiteral("12"));
  ASSERT_TRUE(Dialog().Validate());
  EXPECT_EQ(Work().count, 12);
  EXPECT_GT(Work().Component(39), 0);  // the outlets' joints, one per element step
  Dialog().CloseComponentPage();
  Pick(Page().ConnectionCombo(), 0);
  EXPECT_FALSE(Page().ConnectionCountEdit()->isVisible());
}

TEST_F(RefLineOptionsTest, FourConductorsOfALightingLineOfferTheExtraCodeAndThePositions) {
  // Position 1 spreads over the three slots from 96 on, position 2 is one slot.
  Dialog().MutableConfig().Connection(1) = {0, 96 | (54 << 16), 2 | (54 << 16), 0, 0};
  Dialog().MutableConfig().Product(1).states[48] = 1;
  Dialog().MutableConfig().Product(1).states[49] = 1;
  ASSERT_TRUE(Dialog().AddNewLineItem(RefProductNodeCode(3, 1)));
  EXPECT_FALSE(Shown(1206));
  Pick(Page().ConductorCombo(), 1);
  EXPECT_TRUE(Shown(1206));
  OnNextModal([](QDialog& panel) {
    panel.findChild<QRadioButton*>(QStringLiteral("ref_choice_box_1"))->setChecked(true);
    panel.accept();
  });
  Page().OptionButton(1206)->click();
  EXPECT_EQ(Work().extraCode, 1);
  Pick(Page().ConductorCombo(), 0);  // one circuit: no spread, no extra code
  EXPECT_FALSE(Shown(1206));
  EXPECT_EQ(Work().extraCode, 0);
  Pick(Page().ConductorCombo(), 1);
  Page().LengthEdit()->setText(QStringLiteral("20"));
  Page().CountEdit()->setText(QStringLiteral("6"));
  ASSERT_TRUE(Dialog().Validate());
  QCheckBox* first = Dialog().LineArea().PositionCheck(kCheckPosition1);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(first->isChecked());
  first->click();
  first = Dialog().LineArea().PositionCheck(kCheckPosition1);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isChecked());
  EXPECT_EQ(RefSlotUnitTotal(Work()), 6);  // two on each of the three slots
  EXPECT_EQ(Dialog().LineArea().Caption(kStaticDistribution)->text(), QStringLiteral("6 / 6"));
  EXPECT_TRUE(SaveScreenshot(*window, QStringLiteral("reference_positions")));
  first->click();  // checked: the slots are emptied
  EXPECT_EQ(RefSlotUnitTotal(Work()), 0);
  EXPECT_FALSE(Dialog().LineArea().PositionCheck(kCheckPosition1)->isChecked());
}

TEST_F(RefLineOptionsTest, CountsLongerThanTheLineAskFirst) {
  ASSERT_TRUE(Dialog().AddNewLineItem(RefProductNodeCode(2, 3)));
  Pick(Page().RatingCombo(), 63);
  Page().LengthEdit()->setText(QStringLiteral("30"));
  ASSERT_TRUE(Dialog().Validate());
  Dialog().LineArea().CountEdit(kEditStraightCount)->setText(QStringLiteral("11"));
  setup.common.dialogs.answers = {kIdOk, kIdCancel};
  EXPECT_FALSE(Dialog().TakeComponentCounts());
  EXPECT_EQ(Messages().back(), StringQText(32235));
  EXPECT_EQ(Dialog().EditStep(), CRefConfigDlg::kStepComponents);
  setup.common.dialogs.answers = {kIdOk, kIdOk};
  EXPECT_TRUE(Dialog().TakeComponentCounts());
  Dialog().CloseComponentPage();
  Dialog().LineArea().CountEdit(kEditStraightCount)->setText(QStringLiteral("10"));
  const qsizetype asked = Messages().size();
  setup.common.dialogs.answers = {kIdOk};
  EXPECT_TRUE(Dialog().TakeComponentCounts());
  EXPECT_EQ(Messages().size(), asked + 1);  // only the counts question: 30 m are 30 m
}

TEST_F(RefLineOptionsTest, TheLinesPricesShowItsOptionsReadOnly) {
  const int index = AddRefLine(*window, 2, 3, 63, 30, 0, QStringLiteral("Shown"));
  ASSERT_GT(index, 0);
  ASSERT_TRUE(Dialog().SelectCode(index));
  ASSERT_TRUE(Dialog().ShowTabPage(2));
  ASSERT_TRUE(Shown(1205));
  EXPECT_FALSE(Page().OptionButton(1205)->isEnabled());
  EXPECT_FALSE(Shown(1206));
}

}  // namespace
