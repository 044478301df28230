#include "app/ui/flag_sheet.h"

#include <QPainter>
#include <QPolygonF>

#include <functional>
#include <initializer_list>
#include <map>

#include "app/info_dialog_rules.h"

namespace {

using FlagPainter = std::function<void(QPainter&, const QRectF&)>;

const QColor kRed(206, 17, 38), kWhite(255, 255, 255), kBlue(0, 56, 168), kGreen(0, 122, 61),
    kYellow(252, 209, 22), kBlack(0, 0, 0), kSky(116, 172, 223), kOrange(255, 130, 0);

void Bands(QPainter& p, const QRectF& r, std::initializer_list<QColor> colours, bool vertical) {
  qreal step = (vertical ? r.width() : r.height()) / static_cast<qreal>(colours.size());
  int index = 0;
  for (const QColor& colour : colours) {
    QRectF band = vertical ? QRectF(r.left() + index * step, r.top(), step, r.height())
                           : QRectF(r.left(), r.top() + index * step, r.width(), step);
    p.fillRect(band, colour);
    ++index;
  }
}

void Horizontal(QPainter& p, const QRectF& r, std::initializer_list<QColor> c) {
  Bands(p, r, c, false);
}
void Vertical(QPainter& p, const QRectF& r, std::initializer_list<QColor> c) {
  Bands(p, r, c, true);
}

void NordicCross(QPainter& p, const QRectF& r, const QColor& field, const QColor& cross,
                 const QColor& inner) {
  p.fillRect(r, field);
  const qreal x = r.left() + r.width() * 0.30, y = r.top() + r.height() * 0.5;
  p.fillRect(QRectF(x - 2, r.top(), 4, r.height()), cross);
  p.fillRect(QRectF(r.left(), y - 2, r.width(), 4), cross);
  if (inner == cross) return;
  p.fillRect(QRectF(x - 1, r.top(), 2, r.height()), inner);
  p.fillRect(QRectF(r.left(), y - 1, r.width(), 2), inner);
}

void Disc(QPainter& p, QPointF centre, qreal radius, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(centre, radius, radius);
}

void UnitedStates(QPainter& p, const QRectF& r) {
  for (int stripe = 0; stripe < 7; ++stripe)
    p.fillRect(QRectF(r.left(), r.top() + stripe * r.height() / 6.5, r.width(), r.height() / 13),
               kRed);
  p.fillRect(QRectF(r.topLeft(), QSizeF(8, 7)), QColor(60, 59, 110));
  for (int star = 0; star < 6; ++star)
    p.fillRect(QRectF(r.left() + 1.5 + (star % 3) * 2.5, r.top() + 1.5 + (star / 3) * 3, 1, 1),
               kWhite);
}

void UnitedKingdom(QPainter& p, const QRectF& r) {
  p.fillRect(r, QColor(1, 33, 105));
  p.setPen(QPen(kWhite, 3));
  p.drawLine(r.topLeft(), r.bottomRight());
  p.drawLine(r.bottomLeft(), r.topRight());
  p.setPen(QPen(kRed, 1));
  p.drawLine(r.topLeft(), r.bottomRight());
  p.drawLine(r.bottomLeft(), r.topRight());
  p.fillRect(QRectF(r.center().x() - 2.5, r.top(), 5, r.height()), kWhite);
  p.fillRect(QRectF(r.left(), r.center().y() - 2.5, r.width(), 5), kWhite);
  p.fillRect(QRectF(r.center().x() - 1.5, r.top(), 3, r.height()), kRed);
  p.fillRect(QRectF(r.left(), r.center().y() - 1.5, r.width(), 3), kRed);
}

void Greece(QPainter& p, const QRectF& r) {
  for (int stripe = 0; stripe < 9; ++stripe)
    p.fillRect(QRectF(r.left(), r.top() + stripe * r.height() / 9, r.width(), r.height() / 9 + 0.5),
               stripe % 2 ? kWhite : QColor(13, 94, 175));
  p.fillRect(QRectF(r.topLeft(), QSizeF(7, 7)), QColor(13, 94, 175));
  p.fillRect(QRectF(r.left() + 2.7, r.top(), 1.6, 7), kWhite);
  p.fillRect(QRectF(r.left(), r.top() + 2.7, 7, 1.6), kWhite);
}

void Turkey(QPainter& p, const QRectF& r) {
  p.fillRect(r, kRed);
  Disc(p, r.center() - QPointF(2.5, 0), 3.6, kWhite);
  Disc(p, r.center() - QPointF(1.6, 0), 2.9, kRed);
  Disc(p, r.center() + QPointF(2.8, 0), 1.2, kWhite);
}

void Brazil(QPainter& p, const QRectF& r) {
  p.fillRect(r, QColor(0, 151, 57));
  p.setPen(Qt::NoPen);
  p.setBrush(kYellow);
  QPointF c = r.center();
  p.drawPolygon(QPolygonF() << QPointF(r.left() + 1.5, c.y()) << QPointF(c.x(), r.top() + 1.2)
                            << QPointF(r.right() - 1.5, c.y()) << QPointF(c.x(), r.bottom() - 1.2));
  Disc(p, c, 3, QColor(0, 39, 118));
}

void Czechia(QPainter& p, const QRectF& r) {
  Horizontal(p, r, {kWhite, QColor(215, 20, 26)});
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(17, 69, 126));
  p.drawPolygon(QPolygonF() << r.topLeft() << QPointF(r.left() + r.width() / 2, r.center().y())
                            << r.bottomLeft());
}

void Slovakia(QPainter& p, const QRectF& r) {
  Horizontal(p, r, {kWhite, kBlue, kRed});
  p.fillRect(QRectF(r.left() + 4, r.top() + 3, 5, 7), kRed);
  p.fillRect(QRectF(r.left() + 6, r.top() + 4, 1, 5), kWhite);
}

void Portugal(QPainter& p, const QRectF& r) {
  p.fillRect(r, kRed);
  p.fillRect(QRectF(r.topLeft(), QSizeF(r.width() * 0.4, r.height())), QColor(0, 102, 0));
  Disc(p, QPointF(r.left() + r.width() * 0.4, r.center().y()), 2.6, kYellow);
}

const std::map<int, FlagPainter>& FlagPainters() {
  static const std::map<int, FlagPainter> painters = {
      {1, UnitedStates},
      {33,
       [](QPainter& p, const QRectF& r) {
         Vertical(p, r, {QColor(0, 85, 164), kWhite, QColor(239, 65, 53)});
       }},
      {49,
       [](QPainter& p, const QRectF& r) {
         Horizontal(p, r, {kBlack, QColor(221, 0, 0), QColor(255, 206, 0)});
       }},
      {39,
       [](QPainter& p, const QRectF& r) {
         Vertical(p, r, {QColor(0, 146, 70), kWhite, QColor(206, 43, 55)});
       }},
      {34,
       [](QPainter& p, const QRectF& r) {
         Horizontal(
             p, r,
             {QColor(170, 21, 27), QColor(241, 191, 0), QColor(241, 191, 0), QColor(170, 21, 27)});
       }},
      {54,
       [](QPainter& p, const QRectF& r) {
         Horizontal(p, r, {kSky, kWhite, kSky});
         Disc(p, r.center(), 1.6, QColor(246, 180, 14));
       }},
      {45, [](QPainter& p,
              const QRectF& r) { NordicCross(p, r, QColor(200, 16, 46), kWhite, kWhite); }},
      {30, Greece},
      {47,
       [](QPainter& p, const QRectF& r) {
         NordicCross(p, r, QColor(186, 12, 47), kWhite, QColor(0, 32, 91));
       }},
      {31,
       [](QPainter& p, const QRectF& r) {
         Horizontal(p, r, {QColor(174, 28, 40), kWhite, QColor(33, 70, 139)});
       }},
      {7,
       [](QPainter& p, const QRectF& r) {
         Horizontal(p, r, {kWhite, QColor(0, 57, 166), QColor(213, 43, 30)});
       }},
      {46,
       [](QPainter& p, const QRectF& r) {
         NordicCross(p, r, QColor(0, 106, 167), QColor(254, 204, 0), QColor(254, 204, 0));
       }},
      {44, UnitedKingdom},
      {90, Turkey},
      {358,
       [](QPainter& p, const QRectF& r) {
         NordicCross(p, r, kWhite, QColor(0, 47, 108), QColor(0, 47, 108));
       }},
      {48,
       [](QPainter& p, const QRectF& r) {
         Horizontal(p, r, {kWhite, QColor(220, 20, 60)});
       }},
      {43,
       [](QPainter& p, const QRectF& r) {
         Horizontal(p, r, {QColor(237, 41, 57), kWhite, QColor(237, 41, 57)});
       }},
      {55, Brazil},
      {380,
       [](QPainter& p, const QRectF& r) {
         Horizontal(p, r, {QColor(0, 87, 183), QColor(255, 215, 0)});
       }},
      {421, Slovakia},
      {36,
       [](QPainter& p, const QRectF& r) {
         Horizontal(p, r, {QColor(205, 42, 62), kWhite, QColor(67, 111, 77)});
       }},
      {420, Czechia},
      {353,
       [](QPainter& p, const QRectF& r) {
         Vertical(p, r, {QColor(22, 155, 98), kWhite, kOrange});
       }},
      {351, Portugal},
      {86,
       [](QPainter& p, const QRectF& r) {
         p.fillRect(r, QColor(222, 41, 16));
         Disc(p, r.topLeft() + QPointF(4, 4), 2, kYellow);
       }},
      {81,
       [](QPainter& p, const QRectF& r) {
         p.fillRect(r, kWhite);
         Disc(p, r.center(), 3.5, QColor(188, 0, 45));
       }},
  };
  return painters;
}

}  // namespace

QImage FlagSheet() {
  const std::vector<int>& languages = FlagSheetLanguages();
  int rows = static_cast<int>((languages.size() + 4) / 5);
  QImage sheet(5 * kFlagWidth, rows * kFlagHeight, QImage::Format_ARGB32);
  sheet.fill(Qt::transparent);
  QPainter p(&sheet);
  p.setRenderHint(QPainter::Antialiasing);
  for (int language : languages) {
    std::optional<std::pair<int, int>> cell = FlagCell(language);
    QRectF rect(cell->first * kFlagWidth, cell->second * kFlagHeight, kFlagWidth - 1,
                kFlagHeight - 1);
    p.save();
    p.setClipRect(rect);
    FlagPainters().at(language)(p, rect);
    p.restore();
    p.setPen(QPen(QColor(90, 90, 90), 0.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect);
  }
  return sheet;
}

QPixmap LanguageFlag(int languageNumber) {
  std::optional<std::pair<int, int>> cell = FlagCell(languageNumber);
  if (!cell) return {};
  static const QImage sheet = FlagSheet();
  return QPixmap::fromImage(
      sheet.copy(cell->first * kFlagWidth, cell->second * kFlagHeight, kFlagWidth, kFlagHeight));
}
