#include "app/ui/draw_tree_ctrl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include "app/owner_draw_rules.h"
#include "shell_test_support.h"

namespace {

// Images 0..3, each of one colour, so that pictures show which one was drawn.
std::vector<QPixmap> ColourImages() {
  std::vector<QPixmap> images;
  for (QColor color : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue), QColor(Qt::magenta)}) {
    QPixmap image(16, 16);
    image.fill(color);
    images.push_back(image);
  }
  return images;
}

class DrawTreeCtrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_tree.resize(300, 200);
    m_tree.SetImageList(ColourImages());
    m_root = new QTreeWidgetItem(&m_tree, {"Feeder A"});
    m_branch = new QTreeWidgetItem(m_root, {"Branch 1"});
    m_leaf = new QTreeWidgetItem(m_branch, {"Tap-off"});
    m_last = new QTreeWidgetItem(m_root, {"Branch 2"});
    for (QTreeWidgetItem* item : {m_root, m_branch, m_leaf, m_last})
      CDrawTreeCtrl::SetItemImages(item, 0, 0);
    CDrawTreeCtrl::SetItemImages(m_last, 3, 3);
    m_root->setExpanded(true);
    m_tree.show();
    QApplication::processEvents();
  }

  void Press(QTreeWidgetItem* item, int dx) {
    QPoint point(m_tree.TextRect(item).left() + dx, m_tree.TextRect(item).center().y());
    QMouseEvent press(QEvent::MouseButtonPress, point, m_tree.viewport()->mapToGlobal(point),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_tree.viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, point, m_tree.viewport()->mapToGlobal(point),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(m_tree.viewport(), &release);
  }

  QColor PixelAt(const QPoint& point) {
    return m_tree.viewport()->grab().toImage().pixelColor(point);
  }

  CDrawTreeCtrl m_tree;
  QTreeWidgetItem* m_root = nullptr;
  QTreeWidgetItem* m_branch = nullptr;
  QTreeWidgetItem* m_leaf = nullptr;
  QTreeWidgetItem* m_last = nullptr;
};

TEST_F(DrawTreeCtrlTest, ToggleImagesFollowTheItemsState) {
  // The rule itself is the owner-draw rules' table; here the tree feeds it its state.
  EXPECT_EQ(m_tree.ShownImage(m_root), 1) << "expanded parent";
  m_tree.SetHasButtons(false);
  EXPECT_EQ(m_tree.ShownImage(m_leaf), 2) << "leaf without buttons";
  // The image is drawn 19 pixels left of the text.
  QRect text = m_tree.TextRect(m_root);
  EXPECT_EQ(PixelAt(QPoint(text.left() - kTreeImageOffset + 8, text.center().y())),
            QColor(Qt::green));
}

TEST_F(DrawTreeCtrlTest, AClickOnTheImageOfACollapsedItemWithoutButtonsExpandsIt) {
  Press(m_branch, -kTreeImageOffset + 4);
  EXPECT_FALSE(m_branch->isExpanded()) << "with buttons the image is no toggle";
  m_tree.SetHasButtons(false);
  Press(m_branch, -kTreeImageOffset + 4);
  EXPECT_TRUE(m_branch->isExpanded());
  EXPECT_EQ(m_tree.currentItem(), m_branch);
  Press(m_branch, -kTreeImageOffset + 4);
  EXPECT_FALSE(m_branch->isExpanded()) << "a second click collapses it";
  Press(m_branch, 4);
  EXPECT_FALSE(m_branch->isExpanded()) << "a click on the text does not";
}

TEST_F(DrawTreeCtrlTest, TheBackgroundBrushFillsTheTree) {
  EXPECT_EQ(PixelAt(QPoint(290, 190)), QColor(Qt::white)) << "no brush: white";
  m_tree.SetBackgroundBrush(QBrush(QColor(255, 255, 224)));
  EXPECT_EQ(PixelAt(QPoint(290, 190)), QColor(255, 255, 224));
  EXPECT_TRUE(SaveScreenshot(m_tree, QStringLiteral("draw_tree_ctrl")));
}

TEST_F(DrawTreeCtrlTest, ACollapsedChildWithChildrenGetsAPlusBox) {
  QRect text = m_tree.TextRect(m_branch);
  int x = TreeConnectorEnd(text.left() - kTreeImageOffset - 1, m_tree.indentation());
  int y = text.center().y();
  EXPECT_EQ(PixelAt(QPoint(x, y - 2)), QColor(Qt::black)) << "the upright of the plus";
  m_branch->setExpanded(true);
  QApplication::processEvents();
  EXPECT_NE(PixelAt(QPoint(x, y - 2)), QColor(Qt::black)) << "a minus once expanded";
  EXPECT_EQ(PixelAt(QPoint(x - 2, y)), QColor(Qt::black)) << "the bar";
}

}  // namespace
