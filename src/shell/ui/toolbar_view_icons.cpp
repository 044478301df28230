#include <QPainter>
#include <QPolygonF>

#include "app/ui/command_ids.h"
#include "app/ui/icon_painting.h"
#include "shell/ui/toolbar_icons.h"

using namespace icon;

namespace {

const QColor kTop(235, 235, 240);
const QColor kSide(180, 185, 200);
const QColor kFront(140, 150, 175);
const QColor kEye(220, 60, 40);

// A label on a busbar: the display layers show what they draw.
void PaintLayer(QPainter& p, const QString& letter, const QColor& color) {
  Bar(p, QPointF(1.5, 13), QPointF(14.5, 13));
  Box(p, QRectF(3, 1.5, 10, 8), kPaper);
  Letter(p, QRectF(3, 1.5, 10, 8), letter, color, 8);
  Pen(p, kInk, 0.8);
  p.drawLine(QPointF(8, 9.5), QPointF(8, 11));
}

void PaintDimensionLine(QPainter& p) {
  Pen(p, kInk, 0.9);
  p.drawLine(QPointF(1.5, 4), QPointF(1.5, 12));
  p.drawLine(QPointF(14.5, 4), QPointF(14.5, 12));
  Arrow(p, QPointF(8, 8), QPointF(2, 8), QColor(30, 60, 200), 1.0);
  Arrow(p, QPointF(8, 8), QPointF(14, 8), QColor(30, 60, 200), 1.0);
}

void PaintRuler(QPainter& p) {
  p.save();
  p.translate(8, 8);
  p.rotate(-35);
  Box(p, QRectF(-7.5, -2.5, 15, 5), QColor(245, 215, 120));
  Pen(p, kInk, 0.7);
  for (qreal x = -6; x <= 6; x += 2) p.drawLine(QPointF(x, -2.5), QPointF(x, x == 0 ? 1 : -0.5));
  p.restore();
}

void PaintSupport(QPainter& p) {
  Bar(p, QPointF(1.5, 5), QPointF(14.5, 5));
  Pen(p, kInk, 1.3);
  p.drawPolyline(QPolygonF() << QPointF(4, 2) << QPointF(4, 8) << QPointF(12, 8) << QPointF(12, 2));
  p.drawLine(QPointF(8, 8), QPointF(8, 14.5));
  p.drawLine(QPointF(5, 14.5), QPointF(11, 14.5));
}

void PaintTitleBlock(QPainter& p) {
  Box(p, QRectF(1.5, 3.5, 13, 10), kPaper);
  Pen(p, kInk, 0.8);
  p.drawLine(QPointF(1.5, 8.5), QPointF(14.5, 8.5));
  p.drawLine(QPointF(7, 8.5), QPointF(7, 13.5));
}

void PaintPictureLabel(QPainter& p) {
  Box(p, QRectF(1.5, 2.5, 13, 11), QColor(200, 225, 250));
  Pen(p, kGreen.darker(), 0.8);
  p.setBrush(kGreen);
  p.drawPolygon(QPolygonF() << QPointF(2, 13) << QPointF(7, 7) << QPointF(11, 11) << QPointF(14, 8)
                            << QPointF(14, 13));
}

// A cube seen from above; the mark shows from which corner the view looks.
void PaintPreset3D(QPainter& p, int index) {
  Cube(p, QPointF(2, 6), 6, kTop, kSide, kFront);
  const QPointF corners[4] = {QPointF(2, 6), QPointF(8, 3), QPointF(14, 6), QPointF(8, 9)};
  bool below = index >= 4;
  QPointF mark = corners[index % 4] + (below ? QPointF(0, 6) : QPointF(0, 0));
  Pen(p, kEye, 0.8);
  p.setBrush(kEye);
  p.drawEllipse(mark, 1.8, 1.8);
}

// A square face with the side it is seen from.
void PaintOrtho(QPainter& p, int index) {
  static const char* const kSides[6] = {"T", "B", "L", "R", "F", "K"};
  Box(p, QRectF(2.5, 2.5, 11, 11), kTop);
  Letter(p, QRectF(2.5, 2.5, 11, 11), QString::fromLatin1(kSides[index]), kInk, 9);
}

void PaintOrbit(QPainter& p) {
  Pen(p, kInk, 1.0);
  p.setBrush(kFront);
  p.drawEllipse(QPointF(8, 8), 2.2, 2.2);
  p.setBrush(Qt::NoBrush);
  Pen(p, kAccent, 1.3);
  p.drawEllipse(QRectF(1.5, 4.5, 13, 7));
  Arrow(p, QPointF(11, 11.4), QPointF(13.5, 10), kAccent, 1.2);
}

void PaintAngles(QPainter& p) {
  Cube(p, QPointF(1, 7), 5, kTop, kSide, kFront);
  Pen(p, kAccent, 1.2);
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(7, 1, 8, 8), 0, 120 * 16);
  Arrow(p, QPointF(11, 1.2), QPointF(8.5, 2), kAccent, 1.0);
}

IconPaint LayerIconPaint(int commandId) {
  switch (commandId) {
    case kIdLayerBranch: return [](QPainter& p) { PaintLayer(p, QStringLiteral("A"), kInk); };
    case kIdLayerDimension: return PaintDimensionLine;
    case kIdLayerPosition: return [](QPainter& p) { PaintLayer(p, QStringLiteral("1"), kRed); };
    case kIdLayerBom: return [](QPainter& p) { PaintLayer(p, QStringLiteral("\u2261"), kInk); };
    case kIdLayerRun: return [](QPainter& p) { PaintLayer(p, QStringLiteral("R"), kBusbar); };
    case kIdLayerBusbar: return [](QPainter& p) { PaintLayer(p, QStringLiteral("B"), kGreen); };
    case kIdLayerCartouche: return PaintTitleBlock;
    case kIdSupports: return PaintSupport;
    case kIdNewTextLabel:
      return [](QPainter& p) {
        Box(p, QRectF(1.5, 2.5, 13, 11), kPaper);
        Letter(p, QRectF(1.5, 2.5, 13, 11), QStringLiteral("T"));
      };
    case kIdNewImageLabel: return PaintPictureLabel;
    case kIdDimension: return PaintRuler;
    default: return {};
  }
}

}  // namespace

IconPaint ViewIconPaint(int commandId) {
  if (commandId >= kIdViewPresetFirst && commandId <= kIdViewPresetLast)
    return [index = commandId - kIdViewPresetFirst](QPainter& p) { PaintPreset3D(p, index); };
  if (commandId >= kIdViewOrthoFirst && commandId <= kIdViewOrthoLast)
    return [index = commandId - kIdViewOrthoFirst](QPainter& p) { PaintOrtho(p, index); };
  if (commandId == kIdOrbit) return PaintOrbit;
  if (commandId == kIdViewAngles) return PaintAngles;
  return LayerIconPaint(commandId);
}
