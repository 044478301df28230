#include "app/ui/pictures.h"

#include <QFileInfo>
#include <QFont>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>

#include "app/frame_rules.h"

namespace {

const QColor kNavy(18, 42, 86);
const QColor kSteel(120, 150, 190);
const QColor kCopper(205, 120, 60);

// A busbar piece in an isometric view: a long box along x or along a rising axis.
void DrawBusbarBox(QPainter& p, QPointF start, QPointF along, qreal thickness,
                   const QColor& colour) {
  QPointF up(0, -thickness);
  QPointF depth(thickness * 0.9, -thickness * 0.5);
  QPolygonF top, side, front;
  front << start << start + along << start + along + up << start + up;
  top << start + up << start + along + up << start + along + up + depth << start + up + depth;
  side << start + along << start + along + depth << start + along + depth + up
       << start + along + up;
  p.setPen(QPen(colour.darker(180), 1));
  p.setBrush(colour);
  p.drawPolygon(front);
  p.setBrush(colour.lighter(130));
  p.drawPolygon(top);
  p.setBrush(colour.darker(120));
  p.drawPolygon(side);
}

// A run: a straight length, an elbow and a rise, with a tap-off box.
void DrawRun(QPainter& p, QPointF origin, qreal scale) {
  p.setRenderHint(QPainter::Antialiasing);
  DrawBusbarBox(p, origin, QPointF(160, -80) * scale, 22 * scale, kSteel);
  DrawBusbarBox(p, origin + QPointF(160, -80) * scale, QPointF(0, -90) * scale, 22 * scale, kSteel);
  DrawBusbarBox(p, origin + QPointF(60, -30) * scale, QPointF(16, -8) * scale, 40 * scale, kCopper);
}

void DrawTitle(QPainter& p, const QRect& area, const QString& text, int pixelSize) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(pixelSize);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text);
}

QPixmap Backdrop(QSize size) {
  QPixmap pixmap(size);
  QPainter p(&pixmap);
  QLinearGradient gradient(0, 0, size.width(), size.height());
  gradient.setColorAt(0, kNavy);
  gradient.setColorAt(1, kNavy.lighter(180));
  p.fillRect(pixmap.rect(), gradient);
  p.setPen(QPen(QColor(255, 255, 255, 30), 1));
  for (int x = -size.height(); x < size.width(); x += 18)
    p.drawLine(x, size.height(), x + size.height() / 2, 0);
  return pixmap;
}

}  // namespace

QPixmap SplashPicture(const QString& applicationName) {
  QPixmap pixmap = Backdrop(QSize(kSplashWidth, kSplashHeight));
  QPainter p(&pixmap);
  DrawRun(p, QPointF(150, 300), 1.2);
  DrawTitle(p, QRect(24, 20, kSplashWidth - 48, 60), applicationName, 40);
  p.setPen(QPen(kCopper, 3));
  p.drawLine(24, 84, 210, 84);
  return pixmap;
}

QPixmap InfoPicture(const QString& applicationName) {
  QPixmap pixmap = Backdrop(QSize(380, 120));
  QPainter p(&pixmap);
  DrawRun(p, QPointF(250, 110), 0.45);
  DrawTitle(p, QRect(16, 10, 220, 60), applicationName, 30);
  return pixmap;
}

QPixmap StatusBarPicture() {
  QPixmap pixmap(43, 18);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  DrawBusbarBox(p, QPointF(3, 15), QPointF(26, -6), 5, kSteel);
  DrawBusbarBox(p, QPointF(29, 9), QPointF(0, -6), 5, kSteel);
  DrawBusbarBox(p, QPointF(12, 13), QPointF(4, -1), 8, kCopper);
  return pixmap;
}

QPixmap StartModePicture(int startMode) {
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  if (startMode == kStartGraphical) {
    DrawRun(p, QPointF(6, 56), 0.28);
  } else if (startMode == kStartLinear) {
    DrawBusbarBox(p, QPointF(4, 40), QPointF(56, 0), 10, kSteel);
    p.setPen(QPen(kNavy, 2));
    p.drawLine(4, 50, 60, 50);
    p.drawLine(4, 46, 4, 54);
    p.drawLine(60, 46, 60, 54);
  } else {
    p.setPen(QPen(kNavy, 1));
    p.setBrush(Qt::white);
    p.drawRect(10, 6, 44, 52);
    for (int row = 0; row < 5; ++row) {
      p.setBrush(row % 2 ? kSteel : kCopper);
      p.drawRect(14, 12 + row * 9, 8, 5);
      p.drawLine(26, 14 + row * 9, 50, 14 + row * 9);
    }
  }
  return pixmap;
}

QPixmap PictureFileOr(const QString& path, const std::function<QPixmap()>& draw) {
  // Without a file the reader would still look through every image format it knows.
  if (!QFileInfo::exists(path)) return draw();
  QImageReader reader(path);
  QImage image = reader.read();
  return image.isNull() ? draw() : QPixmap::fromImage(image);
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 64}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kNavy);
    p.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
    qreal scale = size / 64.0;
    DrawBusbarBox(p, QPointF(8, 50) * scale, QPointF(34, -17) * scale, 9 * scale, kSteel);
    DrawBusbarBox(p, QPointF(42, 33) * scale, QPointF(0, -22) * scale, 9 * scale, kSteel);
    DrawBusbarBox(p, QPointF(20, 44) * scale, QPointF(6, -3) * scale, 15 * scale, kCopper);
    icon.addPixmap(pixmap);
  }
  return icon;
}
