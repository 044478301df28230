#include "app/ui/draw_list_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>

#include "shell_test_support.h"

namespace {

// A white square with a black bar across its middle.
QPixmap BarBitmap(int size) {
  QPixmap bitmap(size, size);
  bitmap.fill(Qt::white);
  QPainter painter(&bitmap);
  painter.fillRect(0, size / 2 - 1, size, 3, Qt::black);
  return bitmap;
}

class DrawListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { CDrawListBox::ResetSharedItemHeight(); }
  void TearDown() override { CDrawListBox::ResetSharedItemHeight(); }
};

TEST_F(DrawListBoxTest, EveryBitmapListSharesTheFirstItemHeight) {
  QWidget parent;
  CDrawListBox first(&parent);
  first.SetBitmaps({BarBitmap(40), BarBitmap(8)});
  int textHeight = QFontMetrics(parent.font()).height();
  EXPECT_EQ(first.ItemHeight(), std::max(40, textHeight));
  CDrawListBox second(&parent);
  second.SetBitmaps({BarBitmap(8)});
  EXPECT_EQ(second.ItemHeight(), first.ItemHeight()) << "computed once for the program";
  CDrawListBox::ResetSharedItemHeight();
  CDrawListBox small(&parent);
  small.SetBitmaps({BarBitmap(4)});
  EXPECT_EQ(small.ItemHeight(), textHeight) << "a small bitmap takes the text height";
}

TEST_F(DrawListBoxTest, WhiteTakesTheColourBehindTheItem) {
  QWidget parent;
  parent.resize(120, 120);
  CDrawListBox list(&parent);
  list.resize(120, 120);
  list.SetBitmaps({BarBitmap(32), BarBitmap(32)});
  list.addItem(QString());
  list.addItem(QString());
  QPalette palette = list.palette();
  palette.setColor(QPalette::Base, QColor(250, 250, 210));
  palette.setColor(QPalette::Highlight, QColor(0, 90, 160));
  list.setPalette(palette);
  list.setCurrentRow(1);
  parent.show();
  QApplication::processEvents();
  QImage shown = list.viewport()->grab().toImage();
  QRect unselected = list.visualItemRect(list.item(0));
  QRect selected = list.visualItemRect(list.item(1));
  EXPECT_EQ(shown.pixelColor(unselected.left() + 4, unselected.top() + 4), QColor(250, 250, 210));
  EXPECT_EQ(shown.pixelColor(unselected.left() + 4, unselected.top() + 16), QColor(Qt::black));
  EXPECT_EQ(shown.pixelColor(selected.left() + 4, selected.top() + 4), QColor(0, 90, 160));
  EXPECT_EQ(shown.pixelColor(selected.left() + 4, selected.top() + 16), QColor(Qt::black));
  EXPECT_TRUE(list.ItemBitmap(2).isNull()) << "no bitmap for that item";
  EXPECT_TRUE(SaveScreenshot(list, QStringLiteral("draw_list_box")));
}

}  // namespace
