#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "grid/ui/grid_qt_convert.h"
#include "grid/ui/qt_grid_canvas.h"
#include "grid/ui/qt_text_measurer.h"
#include "support/case_table.h"

namespace {

using namespace tvr::grid;

CLogFont Font(const char* face, int height, int weight = 0, bool italic = false) {
  CLogFont font;
  font.faceName = face;
  font.height = height;
  font.weight = weight;
  font.italic = italic ? 1 : 0;
  return font;
}

TEST(GridQtConvertTest, FontTable) {
  struct Case {
    const char* name;
    CLogFont font;
    QString family;  // empty: the desktop's default
    int pixelSize;   // 0: not checked
    QFont::Weight weight;
  };
  const Case cases[] = {
      {"system is the desktop font", Font("System", 0), QString(), 0, QFont::Normal},
      {"no face is the desktop font", Font("", 0), QString(), 0, QFont::Normal},
      {"Arial", Font("Arial", -13), QStringLiteral("Liberation Sans"), 13, QFont::Normal},
      {"MS Sans Serif, bold", Font("MS Sans Serif", -11, 700), QStringLiteral("Liberation Sans"),
       11, QFont::Bold},
      {"Times New Roman", Font("Times New Roman", -20), QStringLiteral("Liberation Serif"), 20,
       QFont::Normal},
      {"Courier New", Font("courier new", -12), QStringLiteral("Liberation Mono"), 12,
       QFont::Normal},
      {"other faces pass", Font("DejaVu Sans", -14, 300), QStringLiteral("DejaVu Sans"), 14,
       QFont::Light},
      {"absurd height is bounded", Font("Arial", -2000000000), QStringLiteral("Liberation Sans"),
       2000, QFont::Normal},
  };
  for (const Case& c : cases) {
    const QFont font = ToQFont(c.font);
    const QString expected = c.family.isEmpty() ? QGuiApplication::font().family() : c.family;
    EXPECT_EQ(font.family(), expected) << c.name;
    if (c.pixelSize) {
      EXPECT_EQ(font.pixelSize(), c.pixelSize) << c.name;
    }
    EXPECT_EQ(font.weight(), c.weight) << c.name;
  }
  EXPECT_TRUE(ToQFont(Font("Arial", -12, 400, true)).italic());
}

TEST(GridQtConvertTest, PositiveHeightIsALineHeight) {
  for (int height : {12, 16, 20, 30}) {
    const QFontMetrics metrics(ToQFont(Font("Arial", height)));
    EXPECT_NEAR(metrics.height(), height, 2) << height;
  }
}

TEST(GridQtConvertTest, ChosenFontComesBackAsADescription) {
  QFont font(QStringLiteral("Liberation Serif"));
  font.setPixelSize(17);
  font.setWeight(QFont::Bold);
  font.setUnderline(true);
  const CLogFont description = FromQFont(font);
  EXPECT_EQ(description.faceName, "Liberation Serif");
  EXPECT_EQ(description.height, -17);
  EXPECT_EQ(description.weight, 700);
  EXPECT_EQ(description.underline, 1);
  const QFont again = ToQFont(description);
  EXPECT_EQ(again.pixelSize(), 17);
  EXPECT_TRUE(again.underline());
}

CBitmapDesc OnePixel(std::uint16_t bitsPixel, std::vector<std::uint8_t> bits) {
  CBitmapDesc bitmap;
  bitmap.width = 1;
  bitmap.height = 1;
  bitmap.bitsPixel = bitsPixel;
  bitmap.widthBytes = 2;
  while (bitmap.widthBytes < static_cast<int>(bits.size())) bitmap.widthBytes += 2;
  bits.resize(bitmap.widthBytes, 0);
  bitmap.bits = bits;
  return bitmap;
}

TEST(GridQtConvertTest, BitmapFormatTable) {
  struct Case {
    const char* name;
    CBitmapDesc bitmap;
    QColor colour;  // invalid: no image
  };
  const Case cases[] = {
      {"32 bits blue-green-red", OnePixel(32, {0x10, 0x20, 0x30, 0}), QColor(0x30, 0x20, 0x10)},
      {"24 bits blue-green-red", OnePixel(24, {0x10, 0x20, 0x30}), QColor(0x30, 0x20, 0x10)},
      {"16 bits 5-5-5", OnePixel(16, {0x00, 0x7C}), QColor(0xFF, 0, 0)},
      {"1 bit set is white", OnePixel(1, {0x80}), QColor(Qt::white)},
      {"1 bit clear is black", OnePixel(1, {0x00}), QColor(Qt::black)},
      {"8 bits have no colours of their own", OnePixel(8, {0x10}), QColor()},
      {"invalid description", OnePixel(0, {0x10}), QColor()},
  };
  for (const Case& c : cases) {
    const QImage image = ToQImage(c.bitmap);
    if (!c.colour.isValid()) {
      EXPECT_TRUE(image.isNull()) << c.name;
      continue;
    }
    ASSERT_FALSE(image.isNull()) << c.name;
    EXPECT_EQ(image.pixelColor(0, 0).rgb(), c.colour.rgb()) << c.name;
  }
}

class QtGridCanvasTest : public ::testing::Test {
 protected:
  QtGridCanvasTest() : m_image(40, 30, QImage::Format_RGB32) { m_image.fill(Qt::white); }
  QImage m_image;
};

TEST_F(QtGridCanvasTest, LinesLeaveOutTheirEndPointAndFillsTheirRightAndBottom) {
  {
    QPainter painter(&m_image);
    CQtGridCanvas canvas(painter);
    canvas.DrawLine(2, 5, 10, 5, {0, 0, 0});
    canvas.DrawLine(20, 10, 20, 2, {0, 0, 0});
    canvas.DrawLine(30, 3, 30, 3, {0, 0, 0});
    canvas.FillRect({5, 15, 10, 18}, {255, 0, 0});
  }
  for (const CCaseRow& row : ReadCaseTable("grid/canvas_pixels.tsv", 4)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    EXPECT_EQ(m_image.pixelColor(static_cast<int>(row.Int(1)), static_cast<int>(row.Int(2))),
              QColor(QString::fromStdString(row[3])));
  }
}

TEST_F(QtGridCanvasTest, TextIsClippedToItsRectangle) {
  {
    QPainter painter(&m_image);
    CQtGridCanvas canvas(painter);
    canvas.DrawTextInRect({0, 0, 10, 30}, "WWWWWWWW", 0, Font("Arial", -20), {0, 0, 0});
  }
  int inkOutside = 0;
  int inkInside = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      if (m_image.pixelColor(x, y) != QColor(Qt::white)) ++(x < 10 ? inkInside : inkOutside);
    }
  }
  EXPECT_GT(inkInside, 0);
  EXPECT_EQ(inkOutside, 0);
}

TEST_F(QtGridCanvasTest, BitmapWithoutColoursIsMarkedNotDropped) {
  CBitmapDesc grey = OnePixel(8, {0x10});
  grey.width = 12;
  grey.height = 12;
  grey.widthBytes = 12;
  grey.bits.assign(144, 0x10);
  {
    QPainter painter(&m_image);
    CQtGridCanvas canvas(painter);
    canvas.DrawBitmap(4, 4, grey, 12, 12);
  }
  EXPECT_EQ(m_image.pixelColor(4, 4), QColor(Qt::red));
  EXPECT_EQ(m_image.pixelColor(10, 10), QColor(Qt::red)) << "crossed";
}

TEST(QtTextMeasurerTest, MeasuresLinesInTheGivenFont) {
  CQtTextMeasurer measurer;
  const CLogFont small = Font("Arial", -10);
  const CLogFont large = Font("Arial", -20);
  EXPECT_LT(measurer.MeasureLine(small, "text").cx, measurer.MeasureLine(large, "text").cx);
  EXPECT_EQ(measurer.MeasureLine(small, "").cx, 0);
  EXPECT_GT(measurer.MeasureLine(small, "").cy, 0);
  EXPECT_EQ(measurer.MeasureFont(large).height, QFontMetrics(ToQFont(large)).height());
  EXPECT_GT(measurer.MeasureFont(small).averageCharWidth, 0);
}

// The widths are kept for every measurer: each must stay that of its own font, whichever
// measurer met the text first and in whichever font.
TEST(QtTextMeasurerTest, KeptWidthsAreThoseOfTheFontMeasured) {
  struct Case {
    const char* fault;
    CLogFont font;
  };
  const Case cases[] = {
      {"the font first measured", Font("Arial", -14)},
      {"bold taken for regular", Font("Arial", -14, 700)},
      {"italic taken for upright", Font("Arial", -14, 0, true)},
      {"one size taken for another", Font("Arial", -18)},
      {"one face taken for another", Font("Courier New", -14)},
      {"the desktop's font taken for a named one", Font("System", 0)},
  };
  const char* const texts[] = {"W", "WWW iii", "Réf. 1234", ""};
  const CQtTextMeasurer first;
  const CQtTextMeasurer second;
  for (const CQtTextMeasurer* measurer : {&first, &second, &first}) {
    for (const Case& row : cases) {
      const QFontMetrics metrics(ToQFont(row.font));
      for (const char* text : texts) {
        const CSize size = measurer->MeasureLine(row.font, text);
        EXPECT_EQ(size.cx, metrics.horizontalAdvance(QString::fromUtf8(text)))
            << row.fault << ": " << text;
        EXPECT_EQ(size.cy, metrics.height()) << row.fault << ": " << text;
      }
    }
  }
}

}  // namespace
