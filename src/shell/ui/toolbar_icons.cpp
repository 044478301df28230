#include "shell/ui/toolbar_icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <map>
#include <utility>

#include "app/ui/command_ids.h"
#include "app/ui/icon_painting.h"

using namespace icon;

namespace {

void PaintFolder(QPainter& p) {
  Pen(p, QColor(150, 110, 30), 0.9);
  p.setBrush(QColor(240, 200, 90));
  p.drawPolygon(QPolygonF() << QPointF(1.5, 4) << QPointF(6, 4) << QPointF(7.5, 5.5)
                            << QPointF(14.5, 5.5) << QPointF(14.5, 13.5) << QPointF(1.5, 13.5));
  p.setBrush(QColor(250, 220, 120));
  p.drawPolygon(QPolygonF() << QPointF(1.5, 13.5) << QPointF(4, 7.5) << QPointF(15.5, 7.5)
                            << QPointF(14.5, 13.5));
}

void PaintDisk(QPainter& p) {
  Box(p, QRectF(2, 2, 12, 12), QColor(60, 90, 160));
  Box(p, QRectF(4.5, 2.5, 7, 4.5), kPaper);
  Box(p, QRectF(4.5, 9, 7, 4.5), QColor(200, 200, 210));
}

void PaintSheet(QPainter& p) {
  Box(p, QRectF(1.5, 2.5, 11, 11), kPaper);
  Pen(p, kGreen, 0.8);
  for (qreal y = 5.5; y < 13; y += 2.5) p.drawLine(QPointF(1.5, y), QPointF(12.5, y));
  p.drawLine(QPointF(5.5, 2.5), QPointF(5.5, 13.5));
  Arrow(p, QPointF(9, 9), QPointF(15, 9), kAccent, 1.6);
}

void PaintBulb(QPainter& p, bool withList) {
  Pen(p, QColor(150, 120, 0), 0.9);
  p.setBrush(QColor(255, 230, 80));
  p.drawEllipse(QRectF(withList ? 1 : 4, 1.5, 8, 8));
  Box(p, QRectF(withList ? 3 : 6, 9.5, 4, 4), QColor(160, 160, 160));
  if (!withList) return;
  Pen(p, kInk, 1.0);
  for (qreal y = 4; y <= 13; y += 3) p.drawLine(QPointF(11, y), QPointF(15, y));
}

void PaintHelp(QPainter& p) {
  Pen(p, QColor(30, 80, 160), 1.0);
  p.setBrush(QColor(60, 120, 210));
  p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
  Letter(p, QRectF(1.5, 1.5, 13, 13), QStringLiteral("?"), Qt::white, 11);
}

void PaintPointer(QPainter& p) {
  Pen(p, kInk, 0.9);
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF() << QPointF(4, 1.5) << QPointF(4, 13) << QPointF(7, 10)
                            << QPointF(9.5, 15) << QPointF(11.5, 14) << QPointF(9, 9.5)
                            << QPointF(13, 9.5));
}

// The run tools: a busbar with a marker that tells the tools apart.
void PaintRunTool(QPainter& p, int commandId) {
  Bar(p, QPointF(1.5, 11), QPointF(10, 11));
  switch (commandId) {
    case kIdToolMode1: Plus(p, QPointF(12.5, 11), 2.5, kGreen); break;
    case kIdToolMode3: Bar(p, QPointF(10, 11), QPointF(10, 2)); break;
    case kIdToolMode2: Box(p, QRectF(4, 7.5, 4, 7), kAccent); break;
    case kIdToolMode4: Box(p, QRectF(10, 6, 5, 9), QColor(150, 150, 160)); break;
    case kIdToolMode5: Box(p, QRectF(10, 9, 3, 4), kRed); break;
    case kIdToolMode6:
      Pen(p, kInk, 1.2);
      p.drawLine(QPointF(6, 6), QPointF(6, 15));
      break;
    case kIdToolTapOff: Box(p, QRectF(4.5, 2, 5, 6.5), QColor(200, 200, 200)); break;
    case kIdNewRun: Letter(p, QRectF(8, 0, 8, 9), QStringLiteral("*"), kAccent, 12); break;
    default: break;
  }
}

void PaintCog(QPainter& p) {
  Pen(p, kInk, 2.6);
  for (int tooth = 0; tooth < 8; ++tooth) {
    QLineF ray = QLineF::fromPolar(6.5, tooth * 45).translated(QPointF(8, 8));
    p.drawLine(QLineF(ray.pointAt(0.55), ray.p2()));
  }
  Pen(p, kInk, 1.0);
  p.setBrush(QColor(170, 170, 180));
  p.drawEllipse(QPointF(8, 8), 4.5, 4.5);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(8, 8), 1.8, 1.8);
}

void PaintList(QPainter& p) {
  Page(p, QRectF(2, 1.5, 10, 13));
  Pen(p, kInk, 0.9);
  for (qreal y = 5; y <= 12; y += 2.3) p.drawLine(QPointF(4, y), QPointF(9.5, y));
  CurvedArrow(p, true, kGreen);
}

void PaintLifeRing(QPainter& p) {
  Pen(p, kInk, 0.8);
  for (int quarter = 0; quarter < 4; ++quarter) {
    p.setBrush(quarter % 2 ? Qt::white : kRed);
    p.drawPie(QRectF(1.5, 1.5, 13, 13), quarter * 90 * 16, 90 * 16);
  }
  p.setBrush(QColor(240, 240, 240));
  p.drawEllipse(QPointF(8, 8), 3, 3);
}

void PaintPriceTag(QPainter& p) {
  Pen(p, QColor(120, 90, 20), 0.9);
  p.setBrush(QColor(250, 210, 110));
  p.drawPolygon(QPolygonF() << QPointF(1.5, 8) << QPointF(7, 2.5) << QPointF(14.5, 2.5)
                            << QPointF(14.5, 13.5) << QPointF(7, 13.5));
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(5.5, 8), 1.2, 1.2);
  Letter(p, QRectF(7, 3, 8, 10), QStringLiteral("%"), kInk, 8);
}

void PaintZoom(QPainter& p, int commandId) {
  if (commandId == kIdZoomRect || commandId == kIdPictureRegion) {
    Pen(p, kInk, 0.9);
    p.setBrush(Qt::NoBrush);
    QPen dashed(kInk, 0.9, Qt::DashLine);
    p.setPen(dashed);
    p.drawRect(QRectF(1.5, 1.5, 11, 9));
  }
  if (commandId == kIdPictureRegion) {
    p.setBrush(kGreen);
    Pen(p, kGreen.darker(), 0.8);
    p.drawPolygon(QPolygonF() << QPointF(4, 13.5) << QPointF(8.5, 7.5) << QPointF(14.5, 13.5));
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(12.5, 4.5), 1.8, 1.8);
    return;
  }
  Magnifier(p, QPointF(6.5, 6.5), 4.5);
  if (commandId == kIdZoomIn) Plus(p, QPointF(6.5, 6.5), 2.3, kInk);
  if (commandId == kIdZoomOut) {
    Pen(p, kInk, 1.8);
    p.drawLine(QPointF(4.2, 6.5), QPointF(8.8, 6.5));
  }
  if (commandId == kIdZoomAll) Letter(p, QRectF(2, 2, 9, 9), QStringLiteral("A"), kInk, 7);
}

void PaintPan(QPainter& p) {
  const QPointF centre(8, 8);
  for (QPointF direction : {QPointF(1, 0), QPointF(-1, 0), QPointF(0, 1), QPointF(0, -1)})
    Arrow(p, centre + direction * 1.5, centre + direction * 7, kInk, 1.3);
}

IconPaint MainIconPaint(int commandId) {
  switch (commandId) {
    case kIdFileNew:
      return [](QPainter& p) {
        Page(p, QRectF(3, 1.5, 10, 13));
        Plus(p, QPointF(11.5, 11.5), 2.8, kGreen);
      };
    case kIdFileOpen: return PaintFolder;
    case kIdFileSave: return PaintDisk;
    case kIdExportExcelOpen: return PaintSheet;
    case kIdLightingCalc: return [](QPainter& p) { PaintBulb(p, false); };
    case kIdLightingRange: return [](QPainter& p) { PaintBulb(p, true); };
    case kIdEditUndo: return [](QPainter& p) { CurvedArrow(p, false, QColor(40, 90, 170)); };
    case kIdEditRedo: return [](QPainter& p) { CurvedArrow(p, true, QColor(40, 90, 170)); };
    case kIdHelpIndex: return PaintHelp;
    default: return {};
  }
}

IconPaint DesignIconPaint(int commandId) {
  switch (commandId) {
    case kIdToolSelect: return PaintPointer;
    case kIdToolMode1:
    case kIdToolMode2:
    case kIdToolMode3:
    case kIdToolMode4:
    case kIdToolMode5:
    case kIdToolMode6:
    case kIdToolTapOff:
    case kIdNewRun: return [commandId](QPainter& p) { PaintRunTool(p, commandId); };
    case kIdRotateRunForward:
    case kIdRotateRunBackward:
      return [forward = commandId == kIdRotateRunForward](QPainter& p) {
        Bar(p, QPointF(4, 8), QPointF(12, 8));
        CurvedArrow(p, forward, kAccent);
      };
    case kIdRebuildParts: return PaintCog;
    case kIdRebuildBom: return PaintList;
    case kIdHelpTroubleshooting: return PaintLifeRing;
    case kIdUpdatePrices: return PaintPriceTag;
    case kIdZoomRect:
    case kIdZoomIn:
    case kIdZoomOut:
    case kIdZoomAll:
    case kIdPictureRegion: return [commandId](QPainter& p) { PaintZoom(p, commandId); };
    case kIdPan: return PaintPan;
    default: return {};
  }
}

// The picture of a command at its size, painted when Qt first asks for that size: a
// toolbar shows only the small one, and a menu none.
class CToolbarIconEngine : public QIconEngine {
 public:
  explicit CToolbarIconEngine(IconPaint paint) : m_paint(std::move(paint)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
  }

  // As for pictures given to QIcon: the normal picture, the style's for the other modes.
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    const int side = std::min(size.width(), size.height());
    if (side <= 0) return {};
    QPixmap& painted = m_pixmaps[{side, mode}];
    if (!painted.isNull()) return painted;
    if (mode == QIcon::Normal) {
      painted = Painted(side);
      return painted;
    }
    QStyleOption option;
    option.palette = QGuiApplication::palette();
    painted = QApplication::style()->generatedIconPixmap(
        mode, pixmap(QSize(side, side), QIcon::Normal, QIcon::Off), &option);
    return painted;
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int side = std::min(size.width(), size.height());
    return QSize(side, side);
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    return {QSize(16, 16), QSize(32, 32)};
  }

  QIconEngine* clone() const override { return new CToolbarIconEngine(m_paint); }
  QString key() const override { return QStringLiteral("tvr_toolbar"); }

 private:
  QPixmap Painted(int side) const {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 16.0, side / 16.0);
    m_paint(painter);
    return pixmap;
  }

  IconPaint m_paint;
  std::map<std::pair<int, QIcon::Mode>, QPixmap> m_pixmaps;
};

}  // namespace

IconPaint CommandIconPaint(int commandId) {
  IconPaint paint = MainIconPaint(commandId);
  return paint ? paint : DesignIconPaint(commandId);
}

bool HasToolbarIcon(int commandId) {
  return CommandIconPaint(commandId) || ViewIconPaint(commandId);
}

QIcon ToolbarIcon(int commandId) {
  IconPaint paint = CommandIconPaint(commandId);
  if (!paint) paint = ViewIconPaint(commandId);
  if (!paint) return {};
  // Each painting keeps the painter's state to itself, as the shared drawing steps expect.
  return QIcon(new CToolbarIconEngine([paint = std::move(paint)](QPainter& painter) {
    painter.save();
    paint(painter);
    painter.restore();
  }));
}
