#include "grid/ui/grid_qt_convert.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace tvr::grid {
namespace {

QString MappedFamily(const QString& face) {
  const QString lower = face.toLower();
  if (lower == "ms sans serif" || lower == "microsoft sans serif" || lower == "arial" ||
      lower == "helvetica" || lower == "tahoma" || lower == "verdana") {
    return QStringLiteral("Liberation Sans");
  }
  if (lower == "times new roman" || lower == "times" || lower == "ms serif") {
    return QStringLiteral("Liberation Serif");
  }
  if (lower == "courier new" || lower == "courier") return QStringLiteral("Liberation Mono");
  return face;
}

// The pixel size whose line height comes to the cell height.
void SizeToCellHeight(QFont& font, int cellHeight) {
  if (QFontMetrics(font).height() == cellHeight) return;
  font.setPixelSize(cellHeight);
  const int height = QFontMetrics(font).height();
  if (height > 0 && height != cellHeight) {
    font.setPixelSize(
        std::max(1, static_cast<int>(std::lround(double(cellHeight) * cellHeight / height))));
  }
}

}  // namespace

QColor ToQColor(CColor color) { return QColor(color.red, color.green, color.blue); }

CColor FromQColor(const QColor& color) {
  return {static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
          static_cast<std::uint8_t>(color.blue())};
}

QFont ToQFont(const CLogFont& logFont) {
  QFont font = QGuiApplication::font();
  const QString face = ToQString(logFont.faceName).trimmed();
  if (!face.isEmpty() && face.compare(QStringLiteral("System"), Qt::CaseInsensitive) != 0) {
    font.setFamilies({MappedFamily(face)});
  }
  if (logFont.height < 0)
    font.setPixelSize(std::min(-static_cast<std::int64_t>(logFont.height), std::int64_t{2000}));
  if (logFont.height > 0) SizeToCellHeight(font, std::min(logFont.height, 2000));
  const int weight = logFont.weight <= 0 ? 400 : std::clamp(logFont.weight, 100, 900);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(logFont.italic != 0);
  font.setUnderline(logFont.underline != 0);
  font.setStrikeOut(logFont.strikeOut != 0);
  return font;
}

CLogFont FromQFont(const QFont& font) {
  CLogFont logFont;
  logFont.faceName = FromQString(font.family());
  int pixels = font.pixelSize();
  if (pixels <= 0) pixels = static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
  logFont.height = -std::max(pixels, 1);
  logFont.weight = static_cast<int>(font.weight());
  logFont.italic = font.italic() ? 1 : 0;
  logFont.underline = font.underline() ? 1 : 0;
  logFont.strikeOut = font.strikeOut() ? 1 : 0;
  return logFont;
}

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQString(const QString& text) { return text.toUtf8().toStdString(); }

QImage ToQImage(const CBitmapDesc& bitmap) {
  if (!bitmap.IsValid()) return {};
  const uchar* bits = bitmap.bits.data();
  switch (bitmap.bitsPixel) {
    case 32:
      return QImage(bits, bitmap.width, bitmap.height, bitmap.widthBytes, QImage::Format_RGB32);
    case 24:
      return QImage(bits, bitmap.width, bitmap.height, bitmap.widthBytes, QImage::Format_BGR888);
    case 16:
      return QImage(bits, bitmap.width, bitmap.height, bitmap.widthBytes, QImage::Format_RGB555);
    case 1: {
      QImage image(bits, bitmap.width, bitmap.height, bitmap.widthBytes, QImage::Format_Mono);
      image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
      return image;
    }
    default: return {};
  }
}

}  // namespace tvr::grid
