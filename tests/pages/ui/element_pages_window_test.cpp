// The element detail pages in the property window off screen: each page shows what its
// rules loaded, applies through its controls (Enter, a list choice, a button), and is
// written to build/test-output/ for review.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "app/current_language.h"
#include "model/props/page_kinds.h"
#include "page_test_support.h"
#include "pages/ui/prop_page_dialog.h"
#include "pages/ui/prop_window_host.h"
#include "prop_window_fixture.h"
#include "ranges/range_pages.h"
#include "support/test_output.h"

namespace {

template <class Sample>
class PagesWindowTest : public PropWindowFixture<Sample> {
 protected:
  void Enter(CPropDialog& window) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(window.CurrentPage(), &press);
  }
  void Shot(CPropDialog& window, const std::string& name) {
    QApplication::processEvents();
    window.repaint();
    EXPECT_TRUE(window.grab().save(QString::fromStdString(TestOutputPath(name))));
  }
};

using QDPagesWindowTest = PagesWindowTest<SamplePageTest>;
using QJFPagesWindowTest = PagesWindowTest<QJFSamplePageTest>;
using QWPagesWindowTest = PagesWindowTest<QWSamplePageTest>;

TEST_F(QDPagesWindowTest, TheCharacteristicsPageChangesTheVariantFromItsList) {
  Run(0).RebuildParts(-1);
  CDev* end = Elements(0, CDev::kEnd).front();
  SelectWhole(*end);
  CPropDialog& window = Show(end, kPageCharacteristics);
  EXPECT_EQ(window.TabStrip()->tabText(0).trimmed(), QStringLiteral("Characteristics"));
  auto* list = Control<QComboBox>(window, "1020");
  ASSERT_NE(list, nullptr);
  ASSERT_GT(list->count(), 1);
  EXPECT_EQ(list->itemData(list->currentIndex()).toInt() % 100, end->GetVariant());
  Shot(window, "element_page_characteristics.png");
  const int other = list->currentIndex() == 0 ? 1 : 0;
  const int variant = list->itemData(other).toInt() % 100;
  list->setCurrentIndex(other);
  emit list->activated(other);
  EXPECT_EQ(end->GetVariant(), variant);
}

TEST_F(QJFPagesWindowTest, TheElbowPageTakesATypedAngleOnEnter) {
  // A built run keeps its elbows as built.
  Unbuild(0);
  CDev* elbow = Elements(0, CDev::kElbow).front();
  SelectWhole(*elbow);
  CPropDialog& window = Show(elbow, kPageElbow);
  auto* special = Control<QCheckBox>(window, "1019");
  auto* angle = Control<QLineEdit>(window, "1006");
  ASSERT_NE(special, nullptr);
  ASSERT_NE(angle, nullptr);
  EXPECT_FALSE(angle->isEnabled());
  special->click();
  EXPECT_TRUE(angle->isEnabled());
  angle->setText(QStringLiteral("200"));
  Enter(window);
  EXPECT_FALSE(elbow->GetFieldText("ELBOW_ANGL").has_value() &&
               !elbow->GetFieldText("ELBOW_ANGL")->empty());
  angle->setText(QStringLiteral("120"));
  Enter(window);
  EXPECT_EQ(elbow->GetFieldText("ELBOW_ANGL").value_or(""), "120");
  Shot(window, "element_page_elbow.png");
}

TEST_F(QWPagesWindowTest, AQWElbowNamesTheSpecialAngleCondition) {
  ASSERT_EQ(Run(0).GetCatalogueKnown(), 1);
  CDev* elbow = Elements(0, CDev::kElbow).front();
  SelectWhole(*elbow);
  CPropDialog& window = Show(elbow, kPageElbow);
  auto* special = Control<QCheckBox>(window, "1019");
  ASSERT_NE(special, nullptr);
  EXPECT_TRUE(special->text().contains(QStringLiteral("  ( "))) << special->text().toStdString();
  Shot(window, "element_page_elbow_qw.png");
}

TEST_F(QDPagesWindowTest, TheRiserPageInsertsTheFixingsFromItsButton) {
  CDev* unit = InsertUnit(0);
  ASSERT_NE(unit, nullptr);
  SelectWhole(*unit);
  CPropDialog& window = Show(unit, kPageRiser);
  const std::size_t units = Elements(0, CDev::kInLine).size();
  Control<QLineEdit>(window, "1066")->setText(QStringLiteral("1000"));
  Control<QLineEdit>(window, "1071")->setText(QStringLiteral("3"));
  Shot(window, "element_page_riser.png");
  Control<QPushButton>(window, "1074")->click();
  EXPECT_EQ(Elements(0, CDev::kInLine).size(), units + 2);
}

TEST_F(QDPagesWindowTest, TheNamePageRefusesAnEmptyReferenceWithItsMessage) {
  CDev* elbow = Elements(0, CDev::kElbow).front();
  SelectWhole(*elbow);
  CPropDialog& window = Show(elbow, kPageElementName);
  auto* reference = Control<QLineEdit>(window, "1073");
  ASSERT_NE(reference, nullptr);
  ASSERT_TRUE(reference->isEnabled());
  const std::string old = elbow->GetReference();
  reference->setText(QString());
  Enter(window);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_EQ(elbow->GetReference(), old);
  reference->setText(QStringLiteral("NAMED ELBOW"));
  Enter(window);
  EXPECT_EQ(elbow->GetReference(), "NAMED ELBOW");
  Shot(window, "element_page_name.png");
}

TEST_F(QDPagesWindowTest, TheNamePageOfATapOffUnitStartsTheTapOffTool) {
  std::vector<int> commands;
  const CPageCommandHandler previous = SetPageCommandHandler([&commands](int command) {
    commands.push_back(command);
    return true;
  });
  CDev* unit = Run(0).NewElement();
  unit->SetKind(CDev::kTapOff);
  CPropDialog& window = Show(unit, kPageElementName);
  auto* button = Control<QPushButton>(window, "1374");
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->isVisibleTo(&window));
  button->click();
  EXPECT_TRUE(commands.empty());  // once the click is over
  QApplication::processEvents();
  EXPECT_EQ(commands, std::vector<int>{33030});
  SetPageCommandHandler(previous);
  CDev* elbow = Elements(0, CDev::kElbow).front();
  window.ShowPages(elbow, {kPageElementName});
  EXPECT_FALSE(Control<QPushButton>(window, "1374")->isVisibleTo(&window));
}

TEST_F(QJFPagesWindowTest, TheCentreDistancePageAppliesAShapeChosenInItsList) {
  CDev* feed = Elements(0, CDev::kEnd).front();
  for (CDev* end : Elements(0, CDev::kEnd))
    if (end->GetVariant() == 3) feed = end;
  SelectWhole(*feed);
  CPropDialog& window = Show(feed, kPageEntrax);
  auto* shapes = Control<QListWidget>(window, "1003");
  ASSERT_NE(shapes, nullptr);
  EXPECT_EQ(shapes->count(), 6);
  shapes->setCurrentRow(3);
  EXPECT_EQ((feed->GetStyle() >> 20) & 0xF, 4u);
  Control<QRadioButton>(window, "1106")->click();
  auto* distance = Control<QLineEdit>(window, "1254");
  distance->setText(QStringLiteral("250"));
  Enter(window);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages.front().contains(QStringLiteral("121"))) << messages.front().toStdString();
  distance->setText(QStringLiteral("150"));
  Enter(window);
  EXPECT_EQ(feed->GetFieldText("ENTRAX").value_or(""), "150");
  Shot(window, "element_page_entrax.png");
}

TEST_F(QDPagesWindowTest, TheMountingPageFlipsTheDevice) {
  CDev* end = Elements(0, CDev::kEnd).front();
  SelectWhole(*end);
  end->SetVariantBoth(5);
  CPropDialog& window = Show(end, kPageMounting);
  EXPECT_TRUE(Control<QComboBox>(window, "1166")->isVisibleTo(&window));
  Control<QPushButton>(window, "1643")->click();
  EXPECT_EQ(end->GetFieldText("MOUNT").value_or(""), "INV");
  Shot(window, "element_page_mounting.png");
}

TEST_F(QDPagesWindowTest, TheOptionPageIsOffWhereTheRangeDoesNotDecide) {
  CDev* elbow = Elements(0, CDev::kElbow).front();
  SelectWhole(*elbow);
  CPropDialog& window = Show(elbow, kPageOptionCheck);
  auto* box = Control<QCheckBox>(window, "1019");
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(box->isEnabled());
  EXPECT_FALSE(box->isChecked());
  Shot(window, "element_page_option.png");
}

}  // namespace
