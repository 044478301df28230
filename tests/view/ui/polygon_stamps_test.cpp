// Stamps of small polygons kept from one playback to the next: what they take from pens and
// brushes, the pixels of a shape stamped from the library against those of a painter, and
// a library that stays bounded.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <functional>
#include <vector>

#include "view/ui/polygon_stamps.h"
#include "view/ui/qt_paint_recording.h"

namespace {

QImage Blank(QSize size = QSize(640, 480)) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

TEST(PolygonStampsTest, PensAndBrushesOfPlainOpaqueColoursAloneAreStamped) {
  QBrush turned(QColor(10, 20, 30));
  turned.setTransform(QTransform::fromTranslate(1, 0));
  const struct {
    QPen pen;
    QBrush brush;
    bool usable, hasPen, hasBrush;
    const char* guards;
  } rows[] = {
      {QPen(QColor(1, 2, 3), 0), QBrush(QColor(4, 5, 6)), true, true, true, "cosmetic and solid"},
      {QPen(Qt::NoPen), QBrush(QColor(4, 5, 6)), true, false, true, "a fill alone"},
      {QPen(Qt::black, 0), QBrush(Qt::NoBrush), true, true, false, "an outline alone"},
      {QPen(Qt::black, 2), QBrush(Qt::gray), false, true, true, "a wide pen stays with Qt"},
      {QPen(Qt::black, 0, Qt::DotLine), QBrush(Qt::gray), false, true, true, "a dotted pen too"},
      {QPen(QColor(0, 0, 255, 128), 0), QBrush(Qt::gray), false, true, true, "a translucent pen"},
      {QPen(Qt::black, 0), QBrush(QColor(255, 0, 0, 100)), false, true, true, "a see-through fill"},
      {QPen(Qt::black, 0), QBrush(Qt::red, Qt::BDiagPattern), false, true, true, "a hatch"},
      {QPen(Qt::black, 0), turned, false, true, true, "a brush with a transformation"},
  };
  for (const auto& row : rows) {
    const CPolygonStamps::Tools apart = CPolygonStamps::Together(
        CPolygonStamps::PenTools(row.pen), CPolygonStamps::BrushTools(row.brush));
    EXPECT_EQ(apart.usable, row.usable) << row.guards;
    if (!row.usable) continue;
    EXPECT_EQ(apart.hasPen, row.hasPen) << row.guards;
    EXPECT_EQ(apart.hasBrush, row.hasBrush) << row.guards;
    EXPECT_EQ(apart.pen, row.hasPen ? row.pen.color().rgba() : 0u) << row.guards;
    EXPECT_EQ(apart.brush, row.hasBrush ? row.brush.color().rgba() : 0u) << row.guards;
  }
}

// Small faces of a few shapes in a few shades, outlined or not, placed at `shift`.
void Faces(CQtPaintRecording& out, QPoint shift) {
  const std::vector<std::vector<QPoint>> shapes = {{{0, 0}, {3, -1}, {3, 0}, {0, 1}},
                                                   {{0, 0}, {5, 5}, {5, 0}, {0, 5}},
                                                   {{0, 0}, {16, 3}, {9, 16}},
                                                   {{2, 0}, {0, 3}, {4, 4}, {7, 1}, {5, 0}}};
  const QPen pens[] = {QPen(Qt::black, 0), QPen(Qt::NoPen), QPen(QColor(0, 94, 117), 0)};
  const QBrush brushes[] = {QBrush(QColor(200, 100, 40)), QBrush(QColor(101, 51, 21)),
                            QBrush(Qt::NoBrush), QBrush(Qt::red, Qt::DiagCrossPattern)};
  int figure = 0;
  for (int y = 5; y < 460; y += 9) {
    for (int x = 5; x < 610; x += 19, ++figure) {
      std::vector<QPoint> placed;
      for (const QPoint& corner : shapes[static_cast<std::size_t>(figure) % std::size(shapes)])
        placed.push_back(corner + QPoint(x, y) + shift);
      out.SetPen(pens[static_cast<std::size_t>(figure / 4) % std::size(pens)]);
      out.SetBrush(brushes[static_cast<std::size_t>(figure / 3) % std::size(brushes)]);
      out.DrawPolygon(placed);
    }
  }
}

QImage PaintedAtOnce(QPoint shift) {
  QImage image = Blank();
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  CQtPaintRecording atOnce(painter);
  Faces(atOnce, shift);
  return image;
}

TEST(PolygonStampsTest, StampsKeptFromOtherPicturesLeaveThePixelsOfOnePainter) {
  CPolygonStamps::CLibrary library;
  const struct {
    QPoint shift;
    int bands;
    const char* guards;
  } rows[] = {
      {{0, 0}, 1, "the first playback fills the library"},
      {{0, 0}, 1, "the same picture again, every shape from the library"},
      {{3, 2}, 5, "the same shapes elsewhere, in bands"},
      {{-2, 7}, 40, "many bands, shapes cut by their edges"},
  };
  for (const auto& row : rows) {
    CQtPaintRecording recording;
    Faces(recording, row.shift);
    QImage played = Blank();
    const CQtPaintRecording* parts[] = {&recording};
    CQtPaintRecording::PlayInBands(played, parts, row.bands, &library);
    EXPECT_TRUE(played == PaintedAtOnce(row.shift)) << row.guards;
    EXPECT_GT(library.Size(), 0u) << row.guards;
  }
}

TEST(PolygonStampsTest, ShapesInTheLibraryAreNotDrawnAgain) {
  QImage image = Blank();
  const QPen pen(Qt::black, 0);
  const QBrush brush(QColor(200, 100, 40));
  const CPolygonStamps::Tools tools = CPolygonStamps::ToolsOf(pen, brush);
  const std::vector<std::vector<QPoint>> shapes = {{{20, 20}, {24, 20}, {24, 25}},
                                                   {{40, 40}, {41, 40}, {41, 41}, {40, 41}},
                                                   {{60, 20}, {70, 30}, {60, 30}}};
  CPolygonStamps::CLibrary library;
  CPolygonStamps first(image.bits(), image.width(), image.height(), image.bytesPerLine(), &library);
  for (const auto& shape : shapes) EXPECT_TRUE(first.Stamp(shape, tools, pen, brush, QRect()));
  EXPECT_EQ(first.Drawn(), shapes.size());
  library.Take(first);
  EXPECT_EQ(first.Drawn(), 0u);
  EXPECT_EQ(library.Size(), shapes.size());
  CPolygonStamps again(image.bits(), image.width(), image.height(), image.bytesPerLine(), &library);
  for (const auto& shape : shapes) {
    std::vector<QPoint> moved;
    for (const QPoint& corner : shape) moved.push_back(corner + QPoint(100, 50));
    EXPECT_TRUE(again.Stamp(moved, tools, pen, brush, QRect()));
  }
  EXPECT_EQ(again.Drawn(), 0u);
  // Another colour is another stamp.
  const QBrush other(QColor(101, 51, 21));
  EXPECT_TRUE(again.Stamp(shapes[0], CPolygonStamps::ToolsOf(pen, other), pen, other, QRect()));
  EXPECT_EQ(again.Drawn(), 1u);
}

TEST(PolygonStampsTest, TheLibraryStartsOverRatherThanGrowWithoutEnd) {
  QImage image = Blank(QSize(64, 64));
  const QPen pen(Qt::NoPen);
  CPolygonStamps::CLibrary library;
  std::size_t most = 0;
  // Shapes of every colour, a batch at a time, more than the library keeps.
  for (int batch = 0; batch * 4096 < static_cast<int>(CPolygonStamps::CLibrary::kMaxShapes) + 8192;
       ++batch) {
    CPolygonStamps stamps(image.bits(), image.width(), image.height(), image.bytesPerLine(),
                          &library);
    for (int i = 0; i < 4096; ++i) {
      const QBrush brush(QColor::fromRgb(static_cast<QRgb>(batch * 4096 + i)));
      const std::vector<QPoint> square = {{10, 10}, {11, 10}, {11, 11}, {10, 11}};
      ASSERT_TRUE(stamps.Stamp(square, CPolygonStamps::ToolsOf(pen, brush), pen, brush, QRect()));
    }
    library.Take(stamps);
    EXPECT_LE(library.Size(), CPolygonStamps::CLibrary::kMaxShapes) << "batch " << batch;
    most = std::max(most, library.Size());
  }
  EXPECT_EQ(most, CPolygonStamps::CLibrary::kMaxShapes);
}

// Figures whose shapes or colours differ in a single corner's offset or a single setting:
// each must have a stamp of its own, or the second would show the first one's pixels.
TEST(PolygonStampsTest, FiguresThatDifferInOneCornerOrOneColourHaveStampsOfTheirOwn) {
  const QPen black(Qt::black, 0), red(QColor(255, 0, 0), 0), none(Qt::NoPen);
  const QBrush blue(QColor(0, 0, 255)), green(QColor(0, 255, 0)), empty(Qt::NoBrush);
  const struct {
    std::vector<QPoint> shape;
    QPen pen;
    QBrush brush;
    const char* guards;
  } rows[] = {
      {{{0, 0}, {15, 0}, {15, 15}, {0, 15}}, black, blue, "the widest shape stamped"},
      {{{0, 0}, {15, 0}, {15, 14}, {0, 15}}, black, blue, "its third corner a pixel up"},
      {{{0, 0}, {15, 0}, {14, 15}, {0, 15}}, black, blue, "its third corner a pixel left"},
      {{{0, 0}, {6, 0}, {0, 6}}, black, blue, "a triangle"},
      {{{0, 0}, {6, 0}, {0, 6}, {6, 6}}, black, blue, "a fourth corner at the far end"},
      {{{0, 2}, {2, 0}, {4, 0}, {6, 2}, {6, 4}, {4, 6}, {2, 6}, {0, 4}}, black, blue, "eight"},
      {{{0, 2}, {2, 0}, {4, 0}, {6, 2}, {6, 4}, {4, 6}, {2, 6}, {1, 4}}, black, blue, "the last"},
      {{{0, 0}, {9, 0}, {9, 9}, {0, 9}}, red, green, "red on green"},
      {{{0, 0}, {9, 0}, {9, 9}, {0, 9}},
       QPen(QColor(0, 255, 0), 0),
       QBrush(QColor(255, 0, 0)),
       "green on red"},
      {{{0, 0}, {9, 0}, {9, 9}, {0, 9}}, none, QBrush(Qt::black), "a black fill alone"},
      {{{0, 0}, {9, 0}, {9, 9}, {0, 9}}, black, empty, "a black outline alone"},
  };
  const auto draw = [&](CQtPaintRecording& out) {
    int x = 10;
    for (const auto& row : rows) {
      std::vector<QPoint> placed;
      for (const QPoint& corner : row.shape) placed.push_back(corner + QPoint(x, 20));
      out.SetPen(row.pen);
      out.SetBrush(row.brush);
      out.DrawPolygon(placed);
      x += 24;
    }
  };
  QImage expected = Blank();
  {
    QPainter painter(&expected);
    painter.setRenderHint(QPainter::Antialiasing, false);
    CQtPaintRecording atOnce(painter);
    draw(atOnce);
  }
  CQtPaintRecording recording;
  draw(recording);
  CPolygonStamps::CLibrary library;
  const CQtPaintRecording* parts[] = {&recording};
  for (const char* playback : {"drawn anew", "from the library"}) {
    QImage played = Blank();
    CQtPaintRecording::PlayInBands(played, parts, 1, &library);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
      const QRect area(10 + 24 * static_cast<int>(i) - 2, 18, 20, 20);
      EXPECT_TRUE(played.copy(area) == expected.copy(area)) << rows[i].guards << ", " << playback;
    }
  }
  EXPECT_EQ(library.Size(), std::size(rows));
}

// Brushes named by the caller are kept once each and found by their names: the faces that
// take turns between them show the brush each named, stamped or drawn by the painter.
TEST(PolygonStampsTest, NamedBrushesPlayAsTheBrushesTheyName) {
  const QBrush brushes[] = {QBrush(QColor(200, 100, 40)), QBrush(QColor(101, 51, 21)),
                            QBrush(QColor(151, 76, 31)), QBrush(Qt::blue, Qt::CrossPattern)};
  const auto draw = [&](CQtPaintRecording& out, bool named) {
    out.SetPen(QPen(Qt::black, 0));
    for (int i = 0; i < 120; ++i) {
      const auto which = static_cast<std::uint32_t>(i % 7 % 4);
      if (named) out.SetNamedBrush(brushes[which], which);
      else out.SetBrush(brushes[which]);
      const QPoint at(10 + (i % 12) * 50, 10 + (i / 12) * 45);
      // Small faces are stamped, large ones left to the painter.
      const int side = i % 2 == 0 ? 6 : 30;
      const std::vector<QPoint> face = {at, at + QPoint(side, 1), at + QPoint(side, side),
                                        at + QPoint(0, side - 2)};
      out.DrawPolygon(face);
    }
  };
  QImage expected = Blank();
  {
    QPainter painter(&expected);
    painter.setRenderHint(QPainter::Antialiasing, false);
    CQtPaintRecording atOnce(painter);
    draw(atOnce, false);
  }
  QImage direct = Blank();
  {
    QPainter painter(&direct);
    painter.setRenderHint(QPainter::Antialiasing, false);
    CQtPaintRecording atOnce(painter);
    draw(atOnce, true);
  }
  EXPECT_TRUE(direct == expected);
  CQtPaintRecording recording;
  draw(recording, true);
  for (int bands : {1, 4}) {
    QImage played = Blank();
    recording.PlayInBands(played, bands);
    EXPECT_TRUE(played == expected) << bands << " bands";
  }
}

}  // namespace

// A brush set again by its name alone is the one first kept under that name, however many
// names there are and whichever of them were met in between (names that share the short
// memory of recent names among them); a name never kept, or a recording that paints at
// once, sets nothing and leaves the caller to give the brush.
TEST(PolygonStampsTest, BrushesSetAgainByNameAlonePlayAsTheBrushesTheyName) {
  constexpr int kNames = 40;
  std::vector<QBrush> brushes;
  for (int n = 0; n < kNames; ++n) brushes.emplace_back(QColor(6 * n, 255 - 5 * n, (n * 37) % 256));
  // Names far apart in value, and an order that comes back to each after the others.
  const auto nameOf = [](int n) { return static_cast<std::uint32_t>(n) * 0x10001u; };
  const auto draw = [&](CQtPaintRecording& out, bool named) {
    out.SetPen(QPen(Qt::black, 0));
    for (int i = 0; i < 160; ++i) {
      const int which = (i * 7 + i / kNames) % kNames;
      if (!named) out.SetBrush(brushes[static_cast<std::size_t>(which)]);
      else if (!out.SetNamedBrush(nameOf(which)))
        out.SetNamedBrush(brushes[static_cast<std::size_t>(which)], nameOf(which));
      const QPoint at(10 + (i % 16) * 38, 10 + (i / 16) * 38);
      const int side = i % 3 == 0 ? 7 : 24;
      const std::vector<QPoint> face = {at, at + QPoint(side, 2), at + QPoint(side, side),
                                        at + QPoint(1, side)};
      out.DrawPolygon(face);
    }
  };
  QImage expected = Blank();
  {
    QPainter painter(&expected);
    painter.setRenderHint(QPainter::Antialiasing, false);
    CQtPaintRecording atOnce(painter);
    EXPECT_FALSE(atOnce.SetNamedBrush(nameOf(0))) << "a recording that paints at once";
    draw(atOnce, false);
  }
  CQtPaintRecording recording;
  EXPECT_FALSE(recording.SetNamedBrush(nameOf(3))) << "a name never kept";
  draw(recording, true);
  EXPECT_FALSE(recording.SetNamedBrush(nameOf(kNames))) << "a name never kept, after others";
  CPolygonStamps::CLibrary library;
  const CQtPaintRecording* parts[] = {&recording};
  for (int bands : {1, 4}) {
    QImage played = Blank();
    CQtPaintRecording::PlayInBands(played, parts, bands, &library);
    EXPECT_TRUE(played == expected) << bands << " bands";
  }
}

namespace {

// Many shapes in many colours, stamped in turn again and again so that the shapes found last
// keep displacing one another: each stamp leaves the pixels of its own shape and colour, as
// a painter does, and each shape is drawn once, from the library when it holds it.
TEST(PolygonStampsTest, ShapesMetAgainAmongManyOthersStampTheirOwnPixels) {
  const std::vector<std::vector<QPoint>> shapes = {{{0, 0}, {3, -1}, {3, 0}, {0, 1}},
                                                   {{0, 0}, {5, 5}, {5, 0}, {0, 5}},
                                                   {{0, 0}, {4, 0}, {4, 4}, {0, 4}}};
  const struct {
    int colours;
    int rounds;
    bool library;
  } rows[] = {{1, 3, false}, {40, 2, false}, {700, 2, false}, {700, 2, true}};
  const QPen pen(Qt::black, 0);
  for (const auto& row : rows) {
    const auto brushOf = [](int colour) {
      return QBrush(QColor::fromRgb(static_cast<QRgb>(0xFF000000u | (colour * 2654435761u))));
    };
    // The figures of a round, all on a grid, the last round's colours showing.
    const auto figures = [&](const std::function<void(const std::vector<QPoint>&, int)>& draw) {
      for (int round = 0; round < row.rounds; ++round) {
        int at = 0;
        for (int colour = 0; colour < row.colours; ++colour) {
          for (const auto& shape : shapes) {
            const QPoint place(8 + (at % 60) * 10, 8 + (at / 60) * 10);
            std::vector<QPoint> placed;
            for (const QPoint& corner : shape) placed.push_back(corner + place);
            draw(placed, (colour + round) % row.colours);
            ++at;
          }
        }
      }
    };
    QImage expected = Blank(QSize(640, 400));
    {
      QPainter painter(&expected);
      painter.setRenderHint(QPainter::Antialiasing, false);
      painter.setPen(pen);
      figures([&](const std::vector<QPoint>& placed, int colour) {
        painter.setBrush(brushOf(colour));
        painter.drawPolygon(placed.data(), static_cast<int>(placed.size()), Qt::OddEvenFill);
      });
    }
    QImage stamped = Blank(QSize(640, 400));
    CPolygonStamps::CLibrary library;
    if (row.library) {
      // A first picture fills the library with every shape.
      QImage first = Blank(QSize(640, 400));
      CPolygonStamps filling(first.bits(), first.width(), first.height(), first.bytesPerLine());
      figures([&](const std::vector<QPoint>& placed, int colour) {
        const QBrush brush = brushOf(colour);
        filling.Stamp(placed, CPolygonStamps::ToolsOf(pen, brush), pen, brush, QRect());
      });
      library.Take(filling);
    }
    CPolygonStamps stamps(stamped.bits(), stamped.width(), stamped.height(), stamped.bytesPerLine(),
                          row.library ? &library : nullptr);
    figures([&](const std::vector<QPoint>& placed, int colour) {
      const QBrush brush = brushOf(colour);
      ASSERT_TRUE(stamps.Stamp(placed, CPolygonStamps::ToolsOf(pen, brush), pen, brush, QRect()));
    });
    EXPECT_TRUE(stamped == expected) << row.colours << " colours";
    EXPECT_EQ(stamps.Drawn(),
              row.library ? 0u : static_cast<std::size_t>(row.colours) * shapes.size())
        << row.colours << " colours";
  }
}

}  // namespace
