#include "app/ui/icon_painting.h"

#include <QFont>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace icon {

void Pen(QPainter& p, const QColor& color, qreal width) {
  QPen pen(color, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  p.setPen(pen);
}

void Page(QPainter& p, const QRectF& rect) {
  QPolygonF outline;
  const qreal fold = rect.width() * 0.35;
  outline << rect.topLeft() << QPointF(rect.right() - fold, rect.top())
          << QPointF(rect.right(), rect.top() + fold) << rect.bottomRight() << rect.bottomLeft();
  Pen(p, kInk);
  p.setBrush(kPaper);
  p.drawPolygon(outline);
  p.drawPolyline(QPolygonF() << QPointF(rect.right() - fold, rect.top())
                             << QPointF(rect.right() - fold, rect.top() + fold)
                             << QPointF(rect.right(), rect.top() + fold));
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color, qreal width) {
  Pen(p, color, width);
  p.drawLine(from, to);
  QLineF line(to, from);
  const qreal head = 3.5;
  QLineF left = QLineF::fromPolar(head, line.angle() + 30).translated(to);
  QLineF right = QLineF::fromPolar(head, line.angle() - 30).translated(to);
  p.setBrush(color);
  p.drawPolygon(QPolygonF() << to << left.p2() << right.p2());
}

void Bar(QPainter& p, QPointF from, QPointF to, const QColor& color) {
  QLineF axis(from, to);
  QLineF normal = axis.normalVector();
  normal.setLength(1.8);
  QPointF offset = normal.p2() - normal.p1();
  QPolygonF body;
  body << from + offset << to + offset << to - offset << from - offset;
  Pen(p, color.darker(160), 0.8);
  p.setBrush(color);
  p.drawPolygon(body);
}

void Box(QPainter& p, const QRectF& rect, const QColor& fill) {
  Pen(p, fill.darker(170), 0.8);
  p.setBrush(fill);
  p.drawRect(rect);
}

void Cube(QPainter& p, QPointF origin, qreal size, const QColor& top, const QColor& left,
          const QColor& right) {
  const qreal h = size * 0.5;
  QPointF a = origin, b = origin + QPointF(size, -h), c = origin + QPointF(2 * size, 0),
          d = origin + QPointF(size, h);
  QPointF down(0, size);
  Pen(p, kInk, 0.8);
  p.setBrush(top);
  p.drawPolygon(QPolygonF() << a << b << c << d);
  p.setBrush(left);
  p.drawPolygon(QPolygonF() << a << d << d + down << a + down);
  p.setBrush(right);
  p.drawPolygon(QPolygonF() << d << c << c + down << d + down);
}

void Magnifier(QPainter& p, QPointF centre, qreal radius) {
  Pen(p, kInk, 1.6);
  p.drawLine(centre + QPointF(radius * 0.7, radius * 0.7),
             centre + QPointF(radius * 1.9, radius * 1.9));
  Pen(p, kInk, 1.1);
  p.setBrush(QColor(210, 230, 250));
  p.drawEllipse(centre, radius, radius);
}

void Letter(QPainter& p, const QRectF& rect, const QString& text, const QColor& color,
            int pixelSize, bool bold) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  p.setFont(font);
  p.setPen(color);
  p.drawText(rect, Qt::AlignCenter, text);
}

void CurvedArrow(QPainter& p, bool clockwise, const QColor& color) {
  QPainterPath path;
  const QRectF circle(3, 4, 10, 10);
  if (clockwise) {
    path.arcMoveTo(circle, 200);
    path.arcTo(circle, 200, -220);
  } else {
    path.arcMoveTo(circle, -20);
    path.arcTo(circle, -20, 220);
  }
  Pen(p, color, 1.6);
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  QPointF end = path.currentPosition();
  QPointF tip = end + QPointF(0, 3.2);
  p.setBrush(color);
  Pen(p, color, 0.8);
  p.drawPolygon(QPolygonF() << end + QPointF(-2.6, -0.5) << end + QPointF(2.6, -0.5) << tip);
}

void Plus(QPainter& p, QPointF centre, qreal half, const QColor& color) {
  Pen(p, color, 1.8);
  p.drawLine(centre - QPointF(half, 0), centre + QPointF(half, 0));
  p.drawLine(centre - QPointF(0, half), centre + QPointF(0, half));
}

}  // namespace icon
