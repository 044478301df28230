// A recording's index of its figures by strips of rows, which hands each band of the
// playback only the figures near it, against the same operations made at once on one
// painter: the same pixels for figures at the strips' edges, taller than the index keeps,
// outside the picture, texts, and settings (clips, compositions, pens and brushes) made
// between figures that a band leaves out.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <functional>
#include <vector>

#include "view/ui/qt_paint_recording.h"

namespace {

const QSize kSize(640, 517);  // rows that neither the strips nor the bands divide evenly

using Operations = std::function<void(CQtPaintRecording&)>;

QImage Blank() {
  QImage image(kSize, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

QImage MadeAtOnce(const Operations& operations) {
  QImage image = Blank();
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  CQtPaintRecording atOnce(painter);
  operations(atOnce);
  return image;
}

std::vector<QPoint> Square(int x, int y, int side) {
  return {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
}

// Small faces whose reach starts on each row around the strips' edges (every 16 rows).
void AtStripEdges(CQtPaintRecording& out) {
  out.SetPen(QPen(Qt::black, 0));
  int x = 10;
  for (int y = 10; y < 120; ++y, x += 5) {
    out.SetBrush(QBrush(y % 2 == 0 ? QColor(200, 60, 60) : QColor(60, 60, 200)));
    out.DrawPolygon(Square(x % 600, y, 3 + y % 5));
    out.DrawLine({x % 600, y + 20}, {x % 600 + 9, y + 24});
  }
}

// Lines, outlines and faces from the top of the picture to the bottom, over more strips
// than the index keeps a figure in, with small faces drawn over and under them.
void TallerThanTheIndexKeeps(CQtPaintRecording& out) {
  for (int x = 20; x < 620; x += 40) {
    out.SetPen(QPen(QColor(0, 150, 0), 0));
    out.SetBrush(QBrush(QColor(230, 230, 120)));
    out.DrawPolygon(Square(x + 5, 200, 8));
    out.DrawLine({x, 5}, {x + 13, 510});
    out.SetPen(QPen(Qt::black, 0));
    out.DrawPolygon(std::vector<QPoint>{{x + 2, 30}, {x + 12, 30}, {x + 8, 140 + x / 2}});
    out.DrawRect(QRect(x + 15, 100, 10, 300));
    out.SetBrush(QBrush(QColor(90, 90, 220)));
    out.DrawPolygon(Square(x + 3, 300, 6));
  }
}

// Faces from one strip tall to about as many as the index keeps a figure in, each filed in
// every strip it spans, laid over one another in turn: a band that meets one in several of
// its strips draws it once, in its place among the others.
void SpanningSeveralStrips(CQtPaintRecording& out) {
  out.SetPen(QPen(Qt::black, 0));
  const QColor colours[] = {QColor(220, 80, 80), QColor(80, 160, 80), QColor(80, 80, 220)};
  for (int i = 0; i < 60; ++i) {
    out.SetBrush(QBrush(colours[i % 3]));
    const int top = 3 + (i * 37) % 380;
    const int height = 14 + (i * 23) % 120;
    out.DrawPolygon(std::vector<QPoint>{
        {20 + i * 9, top}, {60 + i * 9, top + 5}, {45 + i * 9, top + height}, {15 + i * 9, top}});
  }
}

// Figures reaching above, below and beside the picture, or lying far outside it.
void OutsideThePicture(CQtPaintRecording& out) {
  out.SetPen(QPen(Qt::black, 0));
  out.SetBrush(QBrush(QColor(255, 180, 0)));
  out.DrawPolygon(Square(40, -30, 50));
  out.DrawPolygon(Square(100, 490, 60));
  out.DrawPolygon(Square(-20, 250, 40));
  out.DrawPolygon(Square(300, -500, 20));
  out.DrawPolygon(Square(300, 2000000, 20));
  out.DrawLine({0, -100000}, {639, 100000});
  out.DrawLine({600, 700}, {620, 5000});
  out.DrawEllipse(QRect(400, -200, 100, 300));
  out.FillPixel({639, 516}, Qt::red);
  out.FillPixel({0, 0}, Qt::blue);
  out.FillPixel({10, 517}, Qt::blue);
}

// Texts at points and in boxes across the strips, in fonts set between them, over an
// opaque background for some.
void Texts(CQtPaintRecording& out) {
  out.SetPen(QPen(Qt::black, 0));
  for (int i = 0; i < 24; ++i) {
    QFont font;
    font.setPixelSize(9 + i % 7);
    out.SetFont(font);
    out.SetBackgroundMode(i % 3 == 0 ? Qt::OpaqueMode : Qt::TransparentMode);
    out.SetBackground(QColor(200, 240, 255));
    const int y = 14 + i * 21;
    out.DrawText(QPoint(10 + i * 9, y), QStringLiteral("at %1").arg(i));
    out.DrawText(QRectF(300, y - 12, 200, 30), Qt::AlignCenter | Qt::TextWordWrap,
                 QStringLiteral("in a box, row %1 of them").arg(i));
  }
}

// Faces drawn through a clip, then with it off; and lines that invert what lies under
// them among faces painted over.
void ClipsAndCompositions(CQtPaintRecording& out) {
  out.SetPen(QPen(Qt::black, 0));
  out.SetBrush(QBrush(QColor(120, 200, 120)));
  out.DrawPolygon(Square(50, 50, 400));
  out.SetClipRegion(QRegion(100, 90, 300, 200) + QRegion(20, 400, 100, 60));
  for (int y = 0; y < 500; y += 12) out.DrawPolygon(Square(y, y, 11));
  out.SetClipping(false);
  for (int y = 0; y < 500; y += 12) out.DrawPolygon(Square(y + 60, y, 5));
  out.SetCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  out.SetPen(QPen(Qt::black, 0));
  for (int y = 0; y < 500; y += 25) out.DrawLine({0, y}, {639, y + 7});
  out.SetCompositionMode(QPainter::CompositionMode_SourceOver);
  out.SetBrush(QBrush(QColor(200, 100, 100)));
  for (int y = 3; y < 500; y += 25) out.DrawPolygon(Square(320, y, 6));
}

// Pens and brushes changed near the top while figures are drawn near the bottom: a band
// below takes each figure's own, though it leaves out the figures between them.
void ToolsChangedFarAway(CQtPaintRecording& out) {
  const QColor colours[] = {Qt::red, Qt::darkGreen, Qt::blue, Qt::darkYellow};
  for (int i = 0; i < 40; ++i) {
    out.SetPen(QPen(colours[i % 4], i % 5 == 0 ? 3 : 0, i % 7 == 0 ? Qt::DashLine : Qt::SolidLine));
    out.DrawLine({i * 15, 5}, {i * 15 + 10, 12});
    out.SetBrush(i % 6 == 0 ? QBrush(colours[(i + 1) % 4], Qt::Dense4Pattern)
                            : QBrush(colours[(i + 2) % 4]));
    out.DrawPolygon(Square(i * 15, 480, 9));
    out.SetBrush(Qt::NoBrush);
    out.DrawPolygon(Square(i * 15, 20, 4));
  }
}

TEST(PaintStripsTest, BandsPlayedFromTheIndexMakeThePixelsOfOnePainter) {
  const struct {
    const char* name;
    Operations operations;
  } cases[] = {{"figures at the strips' edges", AtStripEdges},
               {"figures taller than the index keeps", TallerThanTheIndexKeeps},
               {"figures spanning several strips", SpanningSeveralStrips},
               {"figures outside the picture", OutsideThePicture},
               {"texts", Texts},
               {"clips and compositions", ClipsAndCompositions},
               {"pens and brushes changed far from the figures", ToolsChangedFarAway}};
  for (const auto& c : cases) {
    const QImage expected = MadeAtOnce(c.operations);
    ASSERT_NE(expected, Blank()) << c.name;
    CQtPaintRecording recording(&expected);
    c.operations(recording);
    for (int bands : {2, 3, 8, 33, 100}) {
      QImage banded = Blank();
      recording.PlayInBands(banded, bands);
      EXPECT_TRUE(banded == expected) << c.name << " in " << bands << " bands";
    }
  }
}

// The same recordings split into parts, each from a fresh painter's state, played as one.
TEST(PaintStripsTest, PartsPlayedFromTheirIndexesMakeThePixelsOfOnePainter) {
  const Operations parts[] = {TallerThanTheIndexKeeps, AtStripEdges, OutsideThePicture,
                              ToolsChangedFarAway};
  const QImage expected = MadeAtOnce([&](CQtPaintRecording& out) {
    for (const Operations& part : parts) {
      out.SetPen(QPen());
      out.SetBrush(QBrush());
      part(out);
    }
  });
  std::vector<CQtPaintRecording> recordings(std::size(parts), CQtPaintRecording(&expected));
  std::vector<const CQtPaintRecording*> played;
  for (std::size_t i = 0; i < std::size(parts); ++i) {
    recordings[i].SetPen(QPen());
    recordings[i].SetBrush(QBrush());
    parts[i](recordings[i]);
    played.push_back(&recordings[i]);
  }
  for (int bands : {1, 4, 9}) {
    QImage banded = Blank();
    CQtPaintRecording::PlayInBands(banded, played, bands);
    EXPECT_TRUE(banded == expected) << bands << " bands";
  }
}

}  // namespace
