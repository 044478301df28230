#include <QPainter>

#include "grid_ui_fixture.h"
#include "support/test_output.h"

namespace {

// 32-bit pixels of one colour.
CBitmapDesc Picture(int width, int height, QRgb colour) {
  CBitmapDesc bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.bitsPixel = 32;
  bitmap.widthBytes = width * 4;
  for (int i = 0; i < width * height; ++i) {
    bitmap.bits.insert(bitmap.bits.end(), {static_cast<std::uint8_t>(qBlue(colour)),
                                           static_cast<std::uint8_t>(qGreen(colour)),
                                           static_cast<std::uint8_t>(qRed(colour)), 0});
  }
  return bitmap;
}

class GridPaintTest : public GridWindowTest {
 protected:
  void Decorate() {
    m_model->SetCellText(0, 1, "Centred", 1, false);
    m_model->SetCellText(0, 2, "Right", 2, false);
    CGridCellFormat red("own colour");
    red.SetTextColor({200, 0, 0});
    m_model->SetCell(2, 2, &red, false);
    CGridCellFormat bold("bold\nfont");
    CLogFont font;
    font.faceName = "Arial";
    font.height = -13;
    font.weight = 700;
    bold.SetFont(font);
    m_model->SetCell(4, 1, &bold, false);
    m_model->PutRowHeight(4, 36);
    m_model->SetCellBitmap(5, 3, Picture(30, 12, qRgb(0, 160, 0)), false);
    m_model->SetSelection({6, 2, 7, 3}, true);
  }
  QColor PixelAt(const QImage& image, const QPoint& clientPoint) const {
    const QPoint inWindow = Client()->mapTo(m_grid.get(), clientPoint);
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(QPoint(qRound(inWindow.x() * ratio), qRound(inWindow.y() * ratio)));
  }
};

TEST_F(GridPaintTest, PaintsEveryKindOfCellAndWritesAScreenshot) {
  Decorate();
  const QImage image = m_grid->grab().toImage();
  ASSERT_FALSE(image.isNull());
  EXPECT_TRUE(image.save(QString::fromStdString(TestOutputPath("grid_control.png"))));

  const QColor highlight = m_grid->palette().color(QPalette::Highlight);
  EXPECT_EQ(PixelAt(image, CellRect(7, 3).bottomRight() - QPoint(1, 1)), highlight) << "selection";
  EXPECT_EQ(PixelAt(image, CellRect(8, 3).bottomRight() - QPoint(1, 1)), QColor(Qt::white))
      << "data cell";
  EXPECT_EQ(PixelAt(image, CellRect(0, 4).center() + QPoint(20, 0)), QColor(192, 192, 192))
      << "header";
  EXPECT_EQ(PixelAt(image, QPoint(CellRect(8, 3).left(), CellRect(8, 3).center().y())),
            QColor(Qt::black))
      << "grid line on the left edge of a cell";
  EXPECT_EQ(PixelAt(image, CellRect(0, 4).topLeft() + QPoint(3, 1)), QColor(Qt::white))
      << "raised header";
  const QRect picture = CellRect(5, 3);
  EXPECT_EQ(PixelAt(image, picture.topLeft() + QPoint(4, 4)), QColor(0, 160, 0)) << "bitmap cell";
  EXPECT_EQ(PixelAt(image, picture.topLeft() + QPoint(40, 4)), QColor(Qt::white))
      << "not stretched";
}

TEST_F(GridPaintTest, TrackingBarShowsWhileAColumnIsResized) {
  const QRect header = CellRect(0, 2);
  const QPoint grip(header.right() - 1, header.center().y());
  Press(grip);
  Move(QPoint(220, grip.y()));
  const QImage image = m_grid->grab().toImage();
  const QColor underBar = PixelAt(image, QPoint(220, CellRect(8, 4).center().y()));
  EXPECT_NE(underBar, QColor(Qt::white)) << "the white cell is inverted under the bar";
  Release(QPoint(220, grip.y()));
  EXPECT_EQ(m_model->GetColumnWidth(2), 120);
}

TEST_F(GridPaintTest, PrintingIgnoresScrollingAndDrawsOnlyTheArea) {
  m_grid->SetScrollPos(EGridAxis::Rows, 10);
  QImage page(400, 200, QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    QPainter painter(&page);
    m_grid->DrawCells(painter, 0, 0, 149, 59);
  }
  EXPECT_EQ(page.pixelColor(10, 10), QColor(192, 192, 192)) << "corner cell";
  EXPECT_EQ(page.pixelColor(75, 50), QColor(Qt::white)) << "cell 2,1 not scrolled away";
  EXPECT_EQ(page.pixelColor(100, 45), QColor(Qt::black)) << "outline";
  EXPECT_EQ(page.pixelColor(300, 100), QColor(Qt::white)) << "outside the area";
  EXPECT_EQ(page.pixelColor(250, 10), QColor(Qt::white)) << "header beyond the area";
}

}  // namespace
