#include "app/ui/element_pictures.h"

#include <QPainter>
#include <QPainterPath>

#include <cstring>

#include "app/dorne_app.h"
#include "app/ui/icon_painting.h"
#include "platform/image.h"

namespace {

using namespace icon;

const QColor kHousing(150, 160, 172);
const QColor kHousingTop(196, 204, 214);
const QColor kCopper(200, 120, 60);
const QColor kCabinet(228, 226, 214);
constexpr const char* kBarsPicture = "BARS_QG";

// The housing of a straight length seen from above at an angle, from x0 to x1.
void Housing(QPainter& p, qreal x0, qreal x1, qreal y, qreal height = 12) {
  Pen(p, kInk);
  p.setBrush(kHousingTop);
  p.drawPolygon(QPolygonF{{x0, y}, {x0 + 6, y - 6}, {x1 + 6, y - 6}, {x1, y}});
  p.setBrush(kHousing);
  p.drawRect(QRectF(x0, y, x1 - x0, height));
  p.drawPolygon(QPolygonF{{x1, y}, {x1 + 6, y - 6}, {x1 + 6, y + height - 6}, {x1, y + height}});
}

// The same housing standing up, from y0 down to y1.
void Riser(QPainter& p, qreal x, qreal y0, qreal y1) {
  Pen(p, kInk);
  p.setBrush(kHousing);
  p.drawRect(QRectF(x, y0, 12, y1 - y0));
  p.setBrush(kHousingTop);
  p.drawPolygon(QPolygonF{{x, y0}, {x + 6, y0 - 6}, {x + 18, y0 - 6}, {x + 12, y0}});
}

// The variant code of the picture in its lower right corner.
void Code(QPainter& p, const QString& code) {
  Letter(p, QRectF(26, 50, 36, 12), code, kInk, 9, true);
}

void FeedUnit(QPainter& p, const QString& code) {
  Housing(p, 6, 36, 34);
  Box(p, QRectF(34, 18, 20, 30), kCabinet);
  const QPointF centre(44, 33);
  if (code == "AA") Arrow(p, {44, 2}, {44, 17}, kAccent);
  if (code == "AB") Arrow(p, {63, 33}, {55, 33}, kAccent);
  if (code == "AC") Arrow(p, {60, 62}, {52, 49}, kAccent);
  if (code == "AD") Arrow(p, {58, 8}, {50, 18}, kAccent);
  if (code == "AK") {
    Pen(p, kInk, 2);
    p.drawLine(QPointF(34, 14), QPointF(54, 14));  // flange to a transformer
    Arrow(p, {44, 2}, {44, 13}, kAccent);
  }
  if (code == "AL") {
    for (qreal x : {39.0, 49.0}) Arrow(p, {x, 2}, {x, 17}, kAccent);
  }
  Pen(p, kCopper, 2);
  p.drawPoint(centre);
}

void EndCap(QPainter& p, qreal x, qreal y, qreal height) {
  Pen(p, kInk);
  p.setBrush(kAccent);
  p.drawRect(QRectF(x, y - 3, 5, height + 3));
}

void EndPiece(QPainter& p, const QString& code) {
  if (code == "CHANT") {  // on its edge
    Riser(p, 20, 18, 46);
    EndCap(p, 18, 46, 6);
  } else if (code.startsWith("PLAT")) {
    Housing(p, 6, 44, 28);
    EndCap(p, 44, 28, 12);
    if (code.endsWith('2')) EndCap(p, 2, 28, 12);
  } else {  // an elbow end: the line turns before it ends
    const int turn = code.right(1).toInt();
    Housing(p, 6, 30, 34);
    if (turn == 1) Riser(p, 30, 12, 34);
    if (turn == 3) Riser(p, 30, 34, 52);
    if (turn == 4) Housing(p, 30, 46, 22);
    EndCap(p, 30, turn == 1 ? 12 : turn == 3 ? 52 : 22, 10);
  }
}

void QgEnd(QPainter& p, int variant, bool elbow) {
  Housing(p, 6, elbow ? 30 : 42, 30, 14);
  if (elbow) Riser(p, 30, variant == 1 ? 10 : 30, variant == 1 ? 30 : 50);
  // Variants differ in the bars they bring out: one tick per bar.
  Pen(p, kCopper, 2);
  for (int n = 0; n < std::min(variant, 7); ++n)
    p.drawLine(QPointF(46 + n * 2.5, 18), QPointF(46 + n * 2.5, 28));
}

void Transformer(QPainter& p) {
  Pen(p, kInk, 1.5);
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(26, 28), 14, 14);
  p.drawEllipse(QPointF(38, 28), 14, 14);
  Pen(p, kCopper, 2);
  for (qreal x : {22.0, 32.0, 42.0}) p.drawLine(QPointF(x, 2), QPointF(x, 12));
}

void Switchboard(QPainter& p) {
  Box(p, QRectF(10, 6, 44, 44), kCabinet);
  Pen(p, kInk);
  p.drawLine(QPointF(32, 6), QPointF(32, 50));
  for (qreal y : {16.0, 26.0, 36.0}) {
    Box(p, QRectF(14, y, 14, 6), kGreen);
    Box(p, QRectF(36, y, 14, 6), kGreen);
  }
}

// A hood over a connection; the digit says which sides it closes.
void Hood(QPainter& p, const QString& code, bool qg) {
  Housing(p, 6, 50, 38);
  const int sides = code.right(1).toInt();
  QPainterPath hood;
  hood.moveTo(14, 38);
  hood.lineTo(20, 14);
  hood.lineTo(44, 14);
  hood.lineTo(50, 38);
  hood.closeSubpath();
  Pen(p, kInk);
  p.setBrush(qg ? kAccent.lighter(130) : kHousingTop.darker(110));
  p.drawPath(hood);
  Pen(p, kRed, 2);
  if (sides & 1) p.drawLine(QPointF(20, 14), QPointF(14, 38));
  if (sides & 2) p.drawLine(QPointF(44, 14), QPointF(50, 38));
  if (sides & 4) p.drawLine(QPointF(20, 14), QPointF(44, 14));
  if (sides == 8 || code.startsWith("CS")) p.drawLine(QPointF(14, 38), QPointF(50, 38));
}

// Clips that hold a tap-off fitting on the bars; the digit is the number of clips.
void Clips(QPainter& p, const QString& code, bool qg) {
  Housing(p, 6, 50, 34, qg ? 16 : 12);
  const int clips = code.right(1).toInt();
  const bool tee = code.startsWith("YT");
  Pen(p, kCopper, 2);
  for (int n = 0; n < std::max(clips, 1); ++n) {
    const qreal x = 12 + n * 7;
    p.drawLine(QPointF(x, 12), QPointF(x, 30));
    p.drawLine(QPointF(x - 2, 12), QPointF(x + 2, 12));
  }
  if (tee) p.drawLine(QPointF(12, 12), QPointF(40, 12));
  if (clips == 0) {
    Pen(p, kRed, 2);
    p.drawLine(QPointF(8, 10), QPointF(20, 28));
  }
}

// A dimension line between two points with its letter beside it.
void Measure(QPainter& p, QPointF from, QPointF to, const QString& letter, QPointF at) {
  Arrow(p, from, to, kInk, 1);
  Arrow(p, to, from, kInk, 1);
  Letter(p, QRectF(at.x() - 6, at.y() - 6, 12, 12), letter, kAccent, 9, true);
}

// The bars that leave a range QG end, with the letters of the shape dimensions page:
// U the height the bars stand out, V their width, T their thickness.
void Bars(QPainter& p) {
  Pen(p, kInk);
  p.setBrush(kCopper.lighter(140));  // the bar behind
  p.drawRect(QRectF(30, 12, 18, 30));
  p.setBrush(kCopper);
  p.drawRect(QRectF(18, 18, 18, 30));
  p.setBrush(kCopper.darker(120));
  p.drawPolygon(QPolygonF{{36, 18}, {42, 12}, {42, 42}, {36, 48}});
  p.setBrush(kCopper.lighter(120));
  p.drawPolygon(QPolygonF{{18, 18}, {24, 12}, {42, 12}, {36, 18}});
  Housing(p, 6, 48, 48, 8);
  Measure(p, {12, 18}, {12, 48}, QStringLiteral("U"), {6, 33});
  Measure(p, {18, 60}, {36, 60}, QStringLiteral("V"), {44, 59});
  Measure(p, {44, 20}, {50, 14}, QStringLiteral("T"), {56, 20});
}

void Paint(QPainter& p, const std::string& name) {
  if (name == kBarsPicture) {
    Bars(p);
    return;
  }
  const QString text = QString::fromStdString(name);
  const QString code = text.section('_', 1);
  if (text.startsWith("FEEDUNIT_")) FeedUnit(p, code);
  if (text.startsWith("EMBOUT_")) EndPiece(p, code);
  if (text.startsWith("ER") && text.endsWith("_QG")) QgEnd(p, text.mid(2, 1).toInt(), false);
  if (text.startsWith("EL") && text.endsWith("_QG")) QgEnd(p, text.mid(2, 1).toInt(), true);
  if (text == "ERACC_TRF") Transformer(p);
  if (text == "ERACC_TBL") Switchboard(p);
  if (text.startsWith("CAPOT_") || text.startsWith("CAPQG_")) Hood(p, code, text[3] == 'Q');
  if (text.startsWith("CLINQ_") || text.startsWith("CLQQG_")) Clips(p, code, text[2] == 'Q');
  const bool qg = text.endsWith("_QG");
  Code(p, qg ? text.left(3) : code);
}

}  // namespace

QImage DrawElementPicture(const std::string& name) {
  QImage picture(kElementPictureSize, kElementPictureSize, QImage::Format_ARGB32);
  picture.fill(Qt::white);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  const auto& names = CDorneApp::ElementImageNames();
  // The bars picture is a page's own drawing, not one of the element images.
  if (name == kBarsPicture || std::find(names.begin(), names.end(), name) != names.end())
    Paint(p, name);
  Pen(p, QColor(180, 180, 180));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, kElementPictureSize - 1, kElementPictureSize - 1));
  return picture;
}

CImage ToElementImage(const std::string& name, const QImage& picture) {
  const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32);
  CBitmapDescription description{0, pixels.width(), pixels.height(), pixels.width() * 4, 1, 32};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(description.bytesPerRow) *
                                  static_cast<std::size_t>(pixels.height()));
  for (int y = 0; y < pixels.height(); ++y) {
    std::memcpy(bytes.data() + static_cast<std::size_t>(y) * description.bytesPerRow,
                pixels.constScanLine(y), static_cast<std::size_t>(description.bytesPerRow));
  }
  CImage image(name);
  image.SetPicture(description, std::move(bytes));
  return image;
}

QImage ElementImageToPicture(const CImage& image) {
  const CBitmapDescription& d = image.Description();
  if (image.IsEmpty() || d.bitsPerPixel != 32 || d.bytesPerRow < d.width * 4) return {};
  QImage picture(d.width, d.height, QImage::Format_ARGB32);
  for (int y = 0; y < d.height; ++y) {
    std::memcpy(picture.scanLine(y),
                image.Pixels().data() + static_cast<std::size_t>(y) * d.bytesPerRow,
                static_cast<std::size_t>(d.width) * 4);
  }
  return picture;
}

void LoadElementImages(CDorneApp& app) {
  app.SetImageDrawer(
      [](const std::string& name) { return ToElementImage(name, DrawElementPicture(name)); });
}
