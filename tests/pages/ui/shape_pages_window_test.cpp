// The made-to-measure pages of range QG in the property window off screen, and the
// dimension entry dialog: each takes what is typed through its controls, refuses values
// out of their limits with the limits in the message, and is written to
// build/test-output/ for review.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "model/props/dimension.h"
#include "pages/clinq_rules.h"
#include "pages/page_captions.h"
#include "pages/special_shape_page.h"
#include "pages/ui/dimension_entry_dlg.h"
#include "pages/ui/prop_window_host.h"
#include "prop_window_fixture.h"
#include "qg_sample_page_test.h"
#include "ranges/range_pages.h"
#include "support/test_output.h"

namespace {

class ShapePagesWindowTest : public PropWindowFixture<QGSamplePageTest> {
 protected:
  void Type(CPropDialog& window, const char* id, const char* text) {
    auto* edit = Control<QLineEdit>(window, id);
    ASSERT_NE(edit, nullptr) << id;
    edit->setText(QString::fromUtf8(text));
  }
  void Enter(CPropDialog& window) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(window.CurrentPage(), &press);
  }
  void Shot(QWidget& widget, const std::string& name) {
    QApplication::processEvents();
    widget.repaint();
    EXPECT_TRUE(widget.grab().save(QString::fromStdString(TestOutputPath(name))));
  }
  static void Click(QListWidget* list, int row) {
    ASSERT_NE(list, nullptr);
    ASSERT_LT(row, list->count());
    list->setCurrentRow(row);
    emit list->itemClicked(list->item(row));
  }
};

TEST_F(ShapePagesWindowTest, TheShapeDimensionsPageRefusesUOutOfRangeAndStoresTheBars) {
  CDev& element = Shape(2, 2);
  CPropDialog& window = Show(&element, kPageShapeDimensions);
  auto* sizes = Control<QComboBox>(window, "1627");
  ASSERT_NE(sizes, nullptr);
  EXPECT_TRUE(sizes->isEnabled());
  ASSERT_GT(sizes->count(), 1);
  Type(window, "1685", "89");
  Enter(window);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(QStringLiteral("250"))) << messages[0].toStdString();
  EXPECT_EQ(element.GetFieldText("BARS").value_or(""), "");
  Type(window, "1685", "120");
  Enter(window);
  EXPECT_EQ(messages.size(), 1);
  EXPECT_TRUE(element.GetFieldText("BARS").value_or("").starts_with("120/"));
  Shot(window, "shape_dimensions_page.png");
}

TEST_F(ShapePagesWindowTest, TheEndPiecePageTakesAPictureAndFreeDistances) {
  CDev& element = Shape(2, 0);
  CPropDialog& window = Show(&element, kPageSpecialShape);
  auto* pictures = Control<QListWidget>(window, "1003");
  ASSERT_NE(pictures, nullptr);
  EXPECT_EQ(pictures->count(), 3);
  Click(pictures, 1);
  EXPECT_EQ((element.GetStyle() >> 20) & 0xF, 2u);
  const std::string entrax = element.GetFieldText("ENTRAX").value_or("");
  EXPECT_FALSE(entrax.empty());
  auto* free = Control<QRadioButton>(window, "1467");
  ASSERT_NE(free, nullptr);
  free->click();
  Type(window, "1494", "10");
  Enter(window);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].startsWith(QStringLiteral("P - V < "))) << messages[0].toStdString();
  EXPECT_EQ(element.GetFieldText("ENTRAX").value_or(""), entrax);
  Type(window, "1494", "300");
  Enter(window);
  EXPECT_TRUE(element.GetFieldText("ENTRAX").value_or("").starts_with("300/"));
  Shot(window, "special_shape_page.png");
}

TEST_F(ShapePagesWindowTest, TheClinqPageRefusesALengthOutOfItsRange) {
  CDev& element = Shape(2, 2, 1);
  CPropDialog& window = Show(&element, kPageClinq);
  auto* pictures = Control<QListWidget>(window, "1003");
  ASSERT_NE(pictures, nullptr);
  ASSERT_EQ(pictures->count(), 3);
  Click(pictures, 1);  // shape 8: L typed 310..500
  Type(window, "1492", "505");
  Enter(window);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_EQ(element.GetFieldText("CLINQ").value_or(""), "");
  Type(window, "1492", "400");
  Enter(window);
  EXPECT_TRUE(element.GetFieldText("CLINQ").value_or("").starts_with("9/400/1/"))
      << element.GetFieldText("CLINQ").value_or("");
  // The dimensions button names its dialog, and says why when it is disabled.
  auto* dimensions = Control<QPushButton>(window, "1690");
  ASSERT_NE(dimensions, nullptr);
  const QString tip = QString::fromStdString(ButtonTip(2743, dimensions->isEnabled() ? 0 : 30209));
  EXPECT_EQ(dimensions->toolTip(), tip);
  EXPECT_TRUE(tip.startsWith(QStringLiteral("Dimensions of the made-to-measure part")));
  Shot(window, "clinq_page.png");
}

TEST_F(ShapePagesWindowTest, TheDimensionEntryDialogChecksKFirstAndWritesTheText) {
  const CDimension units = CDimension::Metric();
  CDimensionEntryDlg clinq(units, EParamMode::kClinq, true, kDefaultClinqParameters);
  clinq.SetWidth(100);
  clinq.show();
  EXPECT_TRUE(clinq.Field(6)->text().startsWith(QStringLiteral("14")));
  EXPECT_TRUE(clinq.Field(7)->isVisible());
  Shot(clinq, "dimension_entry_dialog.png");
  clinq.accept();
  EXPECT_EQ(clinq.result(), QDialog::Accepted);
  EXPECT_EQ(clinq.Parameters(), kDefaultClinqParameters);
  CDimensionEntryDlg special(units, EParamMode::kSpecialShape, false,
                             ":e=20,f=40,g=3,h=25,l=60,j=4,k=12");
  special.Field(6)->setText(QStringLiteral("9"));
  special.Field(0)->setText(QStringLiteral("1"));
  special.accept();
  EXPECT_NE(special.result(), QDialog::Accepted);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(QStringLiteral("30"))) << messages[0].toStdString();
  special.OnClear();
  special.accept();
  EXPECT_EQ(special.result(), QDialog::Accepted);
  EXPECT_EQ(special.Parameters(), "");
}

// The feed unit page decides which covers the special-shape page offers: once a
// connection picture is chosen there, the cover page shows its covers when it is shown
// again, without the window being opened anew.
TEST_F(ShapePagesWindowTest, TheCoverListFollowsTheFeedPicture) {
  CDev& element = Shape(3, 1, 0);
  host->OpenPropDialog();
  CPropDialog& window = *host->Window();
  window.SetPinned(true);
  window.ShowPages(&element, {kPageFeedUnit, kPageSpecialShapeFlat});
  window.show();
  ASSERT_EQ(window.SelectPage(1), 1);
  auto* covers = Control<QListWidget>(window, "1003");
  ASSERT_NE(covers, nullptr);
  EXPECT_EQ(covers->count(), 0);
  ASSERT_EQ(window.SelectPage(0), 1);
  auto* feedPictures = Control<QListWidget>(window, "1003");
  ASSERT_NE(feedPictures, nullptr);
  ASSERT_GT(feedPictures->count(), 0);
  Click(feedPictures, 0);
  ASSERT_NE((element.GetStyle() >> 24) & 3u, 0u);
  ASSERT_EQ(window.SelectPage(1), 1);
  CSpecialShapePage fresh(false);
  fresh.SetObject(&element);
  ASSERT_TRUE(fresh.Load());
  EXPECT_GT(covers->count(), 0);
  EXPECT_EQ(covers->count(), static_cast<int>(fresh.GetPictures().size()));
}

}  // namespace
