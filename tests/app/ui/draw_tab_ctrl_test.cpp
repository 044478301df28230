#include "app/ui/draw_tab_ctrl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>

#include "app/ui/draw_tab_bar.h"
#include "shell_test_support.h"

namespace {

class DrawTabCtrlTest : public ::testing::Test {
 protected:
  void AddTabs(std::initializer_list<const char*> texts) {
    for (const char* text : texts) m_tabs.addTab(new QWidget, QString::fromUtf8(text));
    m_tabs.resize(500, 200);
    m_tabs.show();
    QApplication::processEvents();
  }
  int Width(const QString& text) const {
    return QFontMetrics(m_tabs.DrawTabBar()->TextFont()).horizontalAdvance(text);
  }
  QColor PixelAt(const QPoint& point) { return m_tabs.grab().toImage().pixelColor(point); }

  CDrawTabCtrl m_tabs;
};

TEST_F(DrawTabCtrlTest, ShortTabTextsGetTheWidthOfFifteenBlanks) {
  AddTabs({"A", "BB", "C"});
  m_tabs.FitTabWidth();
  int expected = Width(QString(15, QLatin1Char(' '))) + 16;
  EXPECT_EQ(m_tabs.DrawTabBar()->FixedTabWidth(), expected);
  for (int index = 0; index < 3; ++index) EXPECT_EQ(m_tabs.DrawTabBar()->tabRect(index).width(), expected);
}

TEST_F(DrawTabCtrlTest, TheLongestTextSetsTheWidthUpToFiftyCharacters) {
  const QString longText = QStringLiteral("Reference costing of the lighting circuits");
  AddTabs({"Runs", "Reference costing of the lighting circuits"});
  m_tabs.FitTabWidth();
  EXPECT_EQ(m_tabs.DrawTabBar()->FixedTabWidth(), Width(longText) + 16);
  m_tabs.setTabText(0, QString(80, QLatin1Char('W')));
  m_tabs.FitTabWidth();
  EXPECT_EQ(m_tabs.DrawTabBar()->FixedTabWidth(), Width(QString(50, QLatin1Char('W'))) + 16);
}

TEST_F(DrawTabCtrlTest, ThePageBrushColoursThePanelAndTheStrip) {
  AddTabs({"Linear", "Options"});
  const QColor page(200, 230, 255);
  const QColor strip(255, 240, 200);
  m_tabs.SetPageBrush(QBrush(page));
  m_tabs.SetStripBrush(QBrush(strip));
  QApplication::processEvents();
  QImage picture = m_tabs.grab().toImage();
  EXPECT_EQ(picture.pixelColor(m_tabs.PanelRect().center()), page);
  ASSERT_TRUE(m_tabs.StripRect().isValid());
  EXPECT_EQ(picture.pixelColor(m_tabs.StripRect().center()), strip);
  QRect first = m_tabs.DrawTabBar()->tabRect(1).translated(m_tabs.DrawTabBar()->pos());
  EXPECT_EQ(picture.pixelColor(first.left() + 4, first.bottom() - 1), page) << "behind the tab text";
  EXPECT_TRUE(SaveScreenshot(m_tabs, QStringLiteral("draw_tab_ctrl")));
}

TEST_F(DrawTabCtrlTest, WithoutAPageBrushNothingIsFilled) {
  AddTabs({"Linear"});
  m_tabs.SetStripBrush(QBrush(Qt::red));
  QApplication::processEvents();
  EXPECT_NE(m_tabs.grab().toImage().pixelColor(m_tabs.PanelRect().center()), QColor(Qt::red));
  EXPECT_NE(m_tabs.grab().toImage().pixelColor(m_tabs.StripRect().center()), QColor(Qt::red))
      << "the strip needs the page brush too";
}

}  // namespace
