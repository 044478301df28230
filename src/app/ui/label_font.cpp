#include "app/ui/label_font.h"

#include <algorithm>

QFont LabelQFont(const CLogFont& font) {
  QFont result(QString::fromStdString(font.faceName));
  result.setPointSize(std::max(1, font.height));
  if (font.weight > 0)
    result.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
  result.setItalic(font.italic);
  result.setUnderline(font.underline);
  result.setStrikeOut(font.strikeOut);
  return result;
}

CLogFont LabelLogFont(const QFont& font, const CLogFont& base) {
  CLogFont result = base;
  result.faceName = font.family().left(static_cast<int>(kMaxFaceNameCharacters)).toStdString();
  result.height = std::max(1, font.pointSize());
  int weight = static_cast<int>(font.weight());
  result.weight = (weight == QFont::Normal && base.weight == 0) ? 0 : weight;
  result.italic = font.italic();
  result.underline = font.underline();
  result.strikeOut = font.strikeOut();
  return result;
}
