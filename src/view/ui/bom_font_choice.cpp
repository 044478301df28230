#include "view/ui/bom_font_choice.h"

#include <QColorDialog>
#include <QFontDialog>

#include "grid/ui/grid_qt_convert.h"

CLogFont MergeChosenFont(const CLogFont& original, const QFont& chosen) {
  if (tvr::grid::ToQFont(original) == chosen) return original;
  const CLogFont picked = tvr::grid::FromQFont(chosen);
  CLogFont merged = original;
  merged.faceName = picked.faceName;
  merged.height = picked.height;
  merged.width = 0;
  merged.weight = picked.weight;
  merged.italic = picked.italic;
  merged.underline = picked.underline;
  merged.strikeOut = picked.strikeOut;
  return merged;
}

bool ChooseBOMFont(QWidget* parent, CLogFont& font, CColor& color) {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, tvr::grid::ToQFont(font), parent);
  if (!ok) return false;
  // Qt's font dialog has no colour: the colour follows in its own dialog, kept on Cancel.
  const QColor picked = QColorDialog::getColor(tvr::grid::ToQColor(color), parent);
  if (picked.isValid()) color = tvr::grid::FromQColor(picked);
  font = MergeChosenFont(font, chosen);
  return true;
}
