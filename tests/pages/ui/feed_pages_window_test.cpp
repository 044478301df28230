// The feed unit page, its dimensions dialog and the accessory page in the property
// window off screen, on QM runs laid into the QD sample: a list choice applies, the
// dialog writes its clamped values, and each window is written to build/test-output/.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>

#include "feed_test_support.h"
#include "model/props/page_kinds.h"
#include "pages/ui/feed_dimensions_dlg.h"
#include "pages/ui/prop_page_dialog.h"
#include "pages/ui/prop_window_host.h"
#include "prop_window_fixture.h"
#include "ranges/range_pages.h"
#include "support/test_output.h"

namespace {

class FeedPagesWindowTest : public PropWindowFixture<LaidRunPageTest> {
 protected:
  static void Shot(QWidget& window, const std::string& name) {
    QApplication::processEvents();
    window.repaint();
    EXPECT_TRUE(window.grab().save(QString::fromStdString(TestOutputPath(name))));
  }
};

TEST_F(FeedPagesWindowTest, TheFeedPageEquipsAQMFeedUnit) {
  CDev& unit = *Lay(kQMFeedLayout).front();
  SelectWhole(unit);
  CPropDialog& window = Show(&unit, kPageFeedUnit);
  EXPECT_EQ(window.TabStrip()->tabText(0).trimmed(), QStringLiteral("Feed unit"));
  auto* pictures = Control<QListWidget>(window, "1003");
  ASSERT_NE(pictures, nullptr);
  ASSERT_EQ(pictures->count(), 1);
  emit pictures->itemClicked(pictures->item(0));
  EXPECT_EQ((unit.GetStyle() >> 24) & 3, 1u);
  auto* breaker = Control<QComboBox>(window, "1675");
  ASSERT_NE(breaker, nullptr);
  EXPECT_TRUE(breaker->isVisibleTo(&window));
  EXPECT_EQ(breaker->currentText(), QStringLiteral("HK25"));
  const int hk32 = breaker->findText(QStringLiteral("HK32"));
  ASSERT_GE(hk32, 0);
  breaker->setCurrentIndex(hk32);
  emit breaker->activated(hk32);
  EXPECT_EQ(unit.GetFieldText("DISJ").value_or(""), "HK32_D");
  EXPECT_TRUE(Control<QCheckBox>(window, "1603")->isVisibleTo(&window));
  EXPECT_TRUE(Control<QPushButton>(window, "1472")->isVisibleTo(&window));
  Shot(window, "feed_page.png");
}

TEST_F(FeedPagesWindowTest, TheDimensionsDialogWritesClampedValues) {
  CDev& unit = *Lay(kQMFeedLayout).front();
  SelectWhole(unit);
  CPropDialog& window = Show(&unit, kPageFeedUnit);
  auto* pictures = Control<QListWidget>(window, "1003");
  ASSERT_NE(pictures, nullptr);
  emit pictures->itemClicked(pictures->item(0));
  CFeedDimensionsDlg dialog(unit, "ULM" + std::string("HK25_D") + "0", &window);
  dialog.show();
  // The catalogue's three sets of the HK25 switchboard connection, and the user's own.
  auto* sets = dialog.findChild<QComboBox*>(QStringLiteral("1679"));
  ASSERT_NE(sets, nullptr);
  EXPECT_TRUE(sets->isVisible());
  EXPECT_EQ(sets->count(), 4);
  Shot(dialog, "feed_dimensions_dialog.png");
  auto* width = dialog.findChild<QLineEdit*>(QStringLiteral("1490"));
  auto* depth = dialog.findChild<QLineEdit*>(QStringLiteral("1494"));
  ASSERT_NE(width, nullptr);
  ASSERT_NE(depth, nullptr);
  width->setEnabled(true);
  depth->setEnabled(true);
  width->setText(QStringLiteral("50"));
  depth->setText(QStringLiteral("30000"));
  dialog.accept();
  EXPECT_TRUE(document->IsModified());
  const auto values = document->GetEquipmentValues(unit);
  ASSERT_TRUE(values.has_value());
  EXPECT_EQ((*values)[0], 100);
  EXPECT_EQ((*values)[2], 20000);
  EXPECT_EQ(width->text().toStdString(), document->GetUnits().FormatLength(100));
}

TEST_F(FeedPagesWindowTest, TheAccessoryPageSetsTheAdapter) {
  CDev& adapter = *Lay(kQMAdapterLayout).back();
  SelectWhole(adapter);
  CPropDialog& window = Show(&adapter, kPageAccessory);
  auto* adapters = Control<QComboBox>(window, "1167");
  ASSERT_NE(adapters, nullptr);
  ASSERT_EQ(adapters->count(), 2);
  EXPECT_EQ(adapters->itemText(0), QStringLiteral("QJF 28 : 2500 A"));
  adapters->setCurrentIndex(1);
  emit adapters->activated(1);
  EXPECT_EQ(adapter.GetFieldText("QGACC").value_or(""), "QJ26");
  Shot(window, "accessory_page.png");
}

}  // namespace
