#pragma once

#include <QFont>

#include "platform/text_conversions.h"

// Label fonts keep their size in points in the height of their CLogFont.

// The font of a label: face, point size (at least 1), weight (0 is normal), italic,
// underline and strike-out.
QFont LabelQFont(const CLogFont& font);

// The CLogFont of a chosen font: base with the face (cut to 31 characters), point size,
// weight, italic, underline and strike-out of the font. A normal weight stays 0 when
// base had none.
CLogFont LabelLogFont(const QFont& font, const CLogFont& base);
