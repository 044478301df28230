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

TEST_F(DrawTabCtrlTest, TheLongestTextSetsTheWidthBetweenFifteenAndFiftyCharacters) {
  AddTabs({"A", "BB"});
  const QString rows[][2] = {
      {"C", QString(15, QLatin1Char(' '))},
      {"Reference costing of the lighting circuits", "Reference costing of the lighting circuits"},
      {QString(80, QLatin1Char('W')), QString(50, QLatin1Char('W'))}};
  for (const auto& row : rows) {
    m_tabs.setTabText(1, row[0]);
    m_tabs.FitTabWidth();
    EXPECT_EQ(m_tabs.DrawTabBar()->FixedTabWidth(), Width(row[1]) + 16) << row[0].toStdString();
    EXPECT_EQ(m_tabs.DrawTabBar()->tabRect(0).width(), Width(row[1]) + 16);
  }
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
  EXPECT_EQ(picture.pixelColor(first.left() + 4, first.bottom() - 1), page)
      << "behind the tab text";
  EXPECT_TRUE(SaveScreenshot(m_tabs, QStringLiteral("draw_tab_ctrl")));
  m_tabs.SetPageBrush(std::nullopt);
  QApplication::processEvents();
  picture = m_tabs.grab().toImage();
  EXPECT_NE(picture.pixelColor(m_tabs.PanelRect().center()), page)
      << "without a page brush nothing is filled";
  EXPECT_NE(picture.pixelColor(m_tabs.StripRect().center()), strip)
      << "the strip needs the page brush too";
}

}  // namespace
