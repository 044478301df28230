#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <string>
#include <string_view>

#include "grid/bitmap_desc.h"
#include "platform/draw_types.h"
#include "platform/log_font.h"

// The boundary between the grid's plain values and Qt's.
namespace tvr::grid {

QColor ToQColor(CColor color);
CColor FromQColor(const QColor& color);

// The font a stored description stands for: "System" (or no face) is the desktop's
// default font, the usual Windows faces map to the metric-compatible Liberation fonts,
// a negative height is a pixel size, a positive one a cell height (the font is sized so
// that its line height comes to it), 0 keeps the default size.
QFont ToQFont(const CLogFont& font);
// A description of a chosen font (face, pixel height as a negative height, weight and
// styles), for storing.
CLogFont FromQFont(const QFont& font);

QString ToQString(std::string_view text);
std::string FromQString(const QString& text);

// An image over the bitmap's bits (not copied: the bitmap must outlive it). Null for an
// invalid description or a format without a colour table of its own (4 and 8 bits).
QImage ToQImage(const CBitmapDesc& bitmap);

}  // namespace tvr::grid
