#include "reference/ui/ref_line_picture.h"

#include <QPainter>
#include <QRect>

namespace {

const QColor kBar(120, 130, 145);
const QColor kBox(210, 150, 60);
const QColor kLight(250, 230, 120);

// The proportions of each picture: bar thickness, joints, and what hangs from the bar.
struct PictureStyle {
  int thickness = 10;
  int joints = 3;
  enum Hanging { kNothing, kLuminaires, kBoxes, kTapOffUnits } hanging = kNothing;
  bool elbow = false;
  bool twin = false;    // a second, parallel bar
  bool apod = false;    // the APOD marking
  bool inside = false;  // luminaires built into the trunking
};

PictureStyle StyleOf(int picture) {
  PictureStyle style;
  switch (picture) {
    case 31004: style.thickness = 14, style.hanging = PictureStyle::kLuminaires; break;
    case 31060: style.thickness = 16, style.inside = true; break;
    case 262:
    case 31032:
    case 31035: style.thickness = 8, style.hanging = PictureStyle::kLuminaires; break;
    case 31058:
      style.thickness = 8, style.hanging = PictureStyle::kLuminaires, style.twin = true;
      break;
    case 31057: style.thickness = 8, style.hanging = PictureStyle::kTapOffUnits; break;
    case 31063:
      style.thickness = 8, style.hanging = PictureStyle::kTapOffUnits, style.twin = true;
      break;
    case 31005: style.hanging = PictureStyle::kBoxes; break;
    case 31006:
      style.thickness = 18, style.hanging = PictureStyle::kBoxes, style.elbow = true;
      break;
    case 31065:
      style.thickness = 18, style.hanging = PictureStyle::kBoxes, style.elbow = true,
      style.apod = true;
      break;
    case 31059:
      style.thickness = 6, style.joints = 2, style.hanging = PictureStyle::kLuminaires;
      break;
    default: style.thickness = 0; break;
  }
  return style;
}

void PaintHanging(QPainter& painter, const PictureStyle& style, int left, int right, int y) {
  const int count = 4;
  const int step = (right - left) / (count + 1);
  for (int i = 1; i <= count; ++i) {
    const int x = left + i * step;
    painter.setPen(QPen(Qt::black, 1));
    if (style.hanging == PictureStyle::kLuminaires) {
      painter.drawLine(x, y, x, y + 14);
      painter.setBrush(kLight);
      painter.drawRect(x - 22, y + 14, 44, 8);
    } else if (style.hanging == PictureStyle::kBoxes) {
      painter.setBrush(kBox);
      painter.drawRect(x - 9, y, 18, 22);
    } else {
      painter.setBrush(kBox);
      painter.drawRect(x - 7, y, 14, 12);
      painter.drawLine(x, y + 12, x, y + 24);
    }
  }
}

}  // namespace

void PaintRefLinePicture(QPainter& painter, const QRect& band, int picture) {
  const PictureStyle style = StyleOf(picture);
  if (style.thickness == 0 || band.width() < 80 || band.height() < 40) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const int left = band.left() + band.width() / 6;
  const int right = band.right() - band.width() / 6;
  const int y = band.center().y() - style.thickness / 2;
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(kBox);
  painter.drawRect(left - 24, y - 10, 24, style.thickness + 20);  // feed unit
  painter.setBrush(kBar);
  painter.drawRect(left, y, right - left, style.thickness);
  if (style.twin) painter.drawRect(left, y - style.thickness - 4, right - left, style.thickness);
  if (style.inside) {
    painter.setBrush(kLight);
    for (int x = left + 10; x + 40 < right; x += 60)
      painter.drawRect(x, y + 3, 40, style.thickness - 6);
  }
  for (int i = 1; i <= style.joints; ++i) {
    const int x = left + i * (right - left) / (style.joints + 1);
    painter.drawLine(x, y - 4, x, y + style.thickness + 4);
  }
  painter.setBrush(Qt::darkGray);
  painter.drawRect(right, y - 2, 6, style.thickness + 4);  // end cover
  if (style.elbow) {
    painter.setBrush(kBar);
    painter.drawRect(right - style.thickness, y + style.thickness, style.thickness, 30);
  }
  PaintHanging(painter, style, left, right - (style.elbow ? style.thickness : 0),
               y + style.thickness);
  if (style.apod)
    painter.drawText(QRect(left, y - 24, right - left, 18), Qt::AlignCenter,
                     QStringLiteral("APOD"));
  painter.restore();
}
