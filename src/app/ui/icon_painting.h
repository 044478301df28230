#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>

class QPainter;

// Small drawing steps shared by the toolbar pictures, all on a 16 by 16 grid.
namespace icon {

inline const QColor kInk(40, 40, 48);
inline const QColor kBusbar(70, 120, 200);
inline const QColor kAccent(220, 120, 20);
inline const QColor kGreen(40, 150, 70);
inline const QColor kRed(200, 40, 40);
inline const QColor kPaper(250, 250, 245);

void Pen(QPainter& p, const QColor& color, qreal width = 1.0);
void Page(QPainter& p, const QRectF& rect);
void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color, qreal width = 1.5);
// A busbar piece seen at an angle: a flat box from one point to another.
void Bar(QPainter& p, QPointF from, QPointF to, const QColor& color = kBusbar);
void Box(QPainter& p, const QRectF& rect, const QColor& fill);
void Cube(QPainter& p, QPointF origin, qreal size, const QColor& top, const QColor& left,
          const QColor& right);
void Magnifier(QPainter& p, QPointF centre, qreal radius);
void Letter(QPainter& p, const QRectF& rect, const QString& text, const QColor& color = kInk,
            int pixelSize = 9, bool bold = true);
void CurvedArrow(QPainter& p, bool clockwise, const QColor& color);
void Plus(QPainter& p, QPointF centre, qreal half, const QColor& color);

}  // namespace icon
