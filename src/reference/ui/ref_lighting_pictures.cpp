#include "reference/ui/ref_lighting_pictures.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const QColor kWall(90, 90, 90);
const QColor kFloor(200, 190, 170);
const QColor kPlane(40, 110, 200);
const QColor kBusbar(120, 120, 135);
const QColor kLight(255, 210, 60, 110);
const QColor kDimension(180, 40, 40);

void Arrow(QPainter& p, QPointF from, QPointF to) {
  p.setPen(QPen(kDimension, 1));
  p.drawLine(from, to);
  const QPointF d = to - from;
  const double length = std::max(1.0, std::hypot(d.x(), d.y()));
  const QPointF u = d / length, n(-u.y(), u.x());
  for (const auto& [tip, dir] : {std::pair{from, u}, std::pair{to, -u}})
    p.drawPolygon(QPolygonF({tip, tip + dir * 5 + n * 3, tip + dir * 5 - n * 3}));
}

void Label(QPainter& p, QPointF at, const QString& text) {
  p.setPen(kDimension);
  p.drawText(QRectF(at.x() - 20, at.y() - 8, 40, 16), Qt::AlignCenter, text);
}

// A room in perspective: the floor, the back walls and the work plane; the dimensions
// of the study on its edges.
void DrawRoom(QPainter& p, double w, double h) {
  const double dx = w * 0.22, dy = h * 0.18;
  const QPointF a(w * 0.18, h * 0.85), b(w * 0.68, h * 0.85), c = b + QPointF(dx, -dy),
                                                              d = a + QPointF(dx, -dy);
  const double height = h * 0.55;
  const QPointF up(0, -height);
  p.setPen(QPen(kWall, 1.5));
  p.setBrush(kFloor);
  p.drawPolygon(QPolygonF({a, b, c, d}));
  p.setBrush(Qt::NoBrush);
  p.drawPolygon(QPolygonF({d, c, c + up, d + up}));
  p.drawLine(a, a + up), p.drawLine(a + up, d + up);
  p.drawLine(b, b + up), p.drawLine(b + up, c + up);
  const QPointF plane(0, -height * 0.3);
  p.setPen(QPen(kPlane, 1, Qt::DashLine));
  p.drawPolygon(QPolygonF({a + plane, b + plane, c + plane, d + plane}));
  Arrow(p, a + QPointF(0, 10), b + QPointF(0, 10));
  Label(p, (a + b) / 2 + QPointF(0, 20), QStringLiteral("L"));
  Arrow(p, b + QPointF(10, 4), c + QPointF(10, 4));
  Label(p, (b + c) / 2 + QPointF(20, 6), QStringLiteral("W"));
  Arrow(p, a - QPointF(8, 0), a + up - QPointF(8, 0));
  Label(p, a + up / 2 - QPointF(16, 0), QStringLiteral("H"));
  Arrow(p, b + QPointF(-8, -2), b + plane + QPointF(-8, 0));
  Label(p, b + plane / 2 + QPointF(-22, 0), QStringLiteral("P"));
}

// A luminaire of two lamps, seen from the side.
void DrawLuminaire(QPainter& p, QRectF body) {
  p.setPen(QPen(kWall, 1));
  p.setBrush(QColor(235, 235, 240));
  p.drawRect(body);
  p.setBrush(QColor(255, 240, 170));
  const double lamp = body.height() / 3;
  p.drawRect(QRectF(body.left() + 4, body.bottom() - lamp, body.width() - 8, lamp * 0.8));
}

// The luminaire hung from a busbar run below the ceiling, the suspension height marked.
void DrawLuminaireOnRun(QPainter& p, double w, double h) {
  p.setPen(QPen(kWall, 2));
  p.drawLine(QPointF(w * 0.05, h * 0.12), QPointF(w * 0.95, h * 0.12));
  p.setPen(QPen(kBusbar, 1));
  for (double x : {w * 0.3, w * 0.7}) p.drawLine(QPointF(x, h * 0.12), QPointF(x, h * 0.45));
  p.setBrush(kBusbar);
  p.drawRect(QRectF(w * 0.1, h * 0.45, w * 0.8, h * 0.08));
  DrawLuminaire(p, QRectF(w * 0.25, h * 0.56, w * 0.5, h * 0.14));
  p.setBrush(kLight);
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygonF({QPointF(w * 0.27, h * 0.7), QPointF(w * 0.73, h * 0.7),
                           QPointF(w * 0.95, h * 0.95), QPointF(w * 0.05, h * 0.95)}));
  p.setBrush(Qt::NoBrush);
  Arrow(p, QPointF(w * 0.88, h * 0.12), QPointF(w * 0.88, h * 0.56));
  Label(p, QPointF(w * 0.8, h * 0.34), QStringLiteral("h'"));
}

// The room in section: luminaires hung (or set against the ceiling) light the work plane.
void DrawSection(QPainter& p, double w, double h, bool suspended) {
  const double ceiling = h * 0.1, floor = h * 0.9, plane = h * 0.7;
  const double lights = suspended ? h * 0.32 : ceiling + 3;
  p.setPen(QPen(kWall, 2));
  p.drawLine(QPointF(w * 0.05, ceiling), QPointF(w * 0.85, ceiling));
  p.drawLine(QPointF(w * 0.05, floor), QPointF(w * 0.85, floor));
  p.setPen(QPen(kPlane, 1, Qt::DashLine));
  p.drawLine(QPointF(w * 0.05, plane), QPointF(w * 0.85, plane));
  for (double x : {w * 0.2, w * 0.45, w * 0.7}) {
    if (suspended) {
      p.setPen(QPen(kBusbar, 1));
      p.drawLine(QPointF(x, ceiling), QPointF(x, lights));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kLight);
    p.drawPolygon(QPolygonF({QPointF(x - 8, lights + 6), QPointF(x + 8, lights + 6),
                             QPointF(x + 30, plane), QPointF(x - 30, plane)}));
    DrawLuminaire(p, QRectF(x - 12, lights, 24, 8));
  }
  p.setBrush(Qt::NoBrush);
  if (suspended) {
    Arrow(p, QPointF(w * 0.9, ceiling), QPointF(w * 0.9, lights));
    Label(p, QPointF(w * 0.9 - 14, (ceiling + lights) / 2), QStringLiteral("h'"));
  }
  Arrow(p, QPointF(w * 0.9, lights), QPointF(w * 0.9, plane));
  Label(p, QPointF(w * 0.9 - 14, (lights + plane) / 2), QStringLiteral("h"));
}

// The room's plan with three runs of luminaires along its length or across its width.
void DrawPlan(QPainter& p, double w, double h, bool across) {
  const QRectF room(w * 0.08, h * 0.08, w * 0.74, h * 0.68);
  p.setPen(QPen(kWall, 2));
  p.setBrush(kFloor.lighter(115));
  p.drawRect(room);
  for (int run = 0; run < 3; ++run) {
    const double t = (run + 0.5) / 3;
    const QPointF from = across ? QPointF(room.left() + room.width() * t, room.top() + 6)
                                : QPointF(room.left() + 6, room.top() + room.height() * t);
    const QPointF to =
        across ? QPointF(from.x(), room.bottom() - 6) : QPointF(room.right() - 6, from.y());
    p.setPen(QPen(kBusbar, 3));
    p.drawLine(from, to);
    p.setPen(QPen(kWall, 1));
    p.setBrush(QColor(255, 240, 170));
    for (int light = 0; light < 4; ++light) {
      const QPointF at = from + (to - from) * ((light + 0.5) / 4);
      p.drawRect(across ? QRectF(at.x() - 3, at.y() - 6, 6, 12)
                        : QRectF(at.x() - 6, at.y() - 3, 12, 6));
    }
  }
  p.setBrush(Qt::NoBrush);
  Arrow(p, QPointF(room.left(), room.bottom() + 8), QPointF(room.right(), room.bottom() + 8));
  Label(p, QPointF(room.center().x(), room.bottom() + 17), QStringLiteral("L"));
  Arrow(p, QPointF(room.right() + 8, room.top()), QPointF(room.right() + 8, room.bottom()));
  Label(p, QPointF(room.right() + 17, room.center().y()), QStringLiteral("W"));
}

}  // namespace

int LightingStepPicture(int step, std::int32_t suspension) {
  if (step == 1) return kLightingPictureRoom;
  if (step == 2) return kLightingPictureLuminaire;
  if (step == 3 || step == 4)
    return suspension != 0 ? kLightingPictureSuspended : kLightingPictureCeiling;
  return 0;
}

int LightingOrientationPicture(bool acrossWidth) {
  return acrossWidth ? kLightingPictureAcrossWidth : kLightingPictureAlongLength;
}

QPixmap DrawLightingPicture(int picture, QSize size) {
  if (size.isEmpty()) return {};
  QPixmap pixmap(size);
  pixmap.fill(Qt::white);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const double w = size.width(), h = size.height();
  switch (picture) {
    case kLightingPictureRoom: DrawRoom(p, w, h); break;
    case kLightingPictureLuminaire: DrawLuminaireOnRun(p, w, h); break;
    case kLightingPictureSuspended: DrawSection(p, w, h, true); break;
    case kLightingPictureCeiling: DrawSection(p, w, h, false); break;
    case kLightingPictureAlongLength: DrawPlan(p, w, h, false); break;
    case kLightingPictureAcrossWidth: DrawPlan(p, w, h, true); break;
    default: return {};
  }
  return pixmap;
}
