#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "grid/grid_cell.h"

// The text cell: a text with an optional own colour and font; its item data is the
// horizontal alignment (0 left, 1 centred, 2 right; any other value draws no text when
// fitted).
class CGridCellFormat final : public CGridCell {
 public:
  explicit CGridCellFormat(std::string_view text = {});

  // The cell as a text cell; null for any other cell or none. The text kind is this
  // class's alone, so the kind tells it without a run-time type search, which a bill of
  // materials would make for each of its hundreds of thousands of cells as it is read.
  static CGridCellFormat* Of(CGridCell* cell) {
    return cell != nullptr && cell->GetKind() == kText ? static_cast<CGridCellFormat*>(cell)
                                                       : nullptr;
  }
  static const CGridCellFormat* Of(const CGridCell* cell) {
    return cell != nullptr && cell->GetKind() == kText ? static_cast<const CGridCellFormat*>(cell)
                                                       : nullptr;
  }

  std::unique_ptr<CGridCell> Clone() const override;
  void Draw(CGridCanvas& canvas, int x, int y, const CGridTextStyle& style) const override;
  void DrawFitted(CGridCanvas& canvas, const CRect& rect,
                  const CGridTextStyle& style) const override;
  // The widest line by the sum of the line heights, lines cut at line feeds (an empty
  // text is one empty line), in the font the cell draws with.
  CSize Measure(const CGridTextMeasurer& measurer, const CGridTextStyle& style) const override;

  const std::string& GetText() const { return m_text; }
  void SetText(std::string_view text) { m_text = text; }

  void SetTextColor(CColor color);
  bool HasTextColor() const { return m_hasTextColor; }
  CColor GetTextColor() const { return m_textColor; }

  void SetFont(const CLogFont& font);
  bool HasFont() const { return m_font != nullptr; }
  // The cell's own font; meaningful only when HasFont (a default font otherwise).
  const CLogFont& GetLogFont() const;

  // The font and colour the cell draws with, given the grid's. The own colour gives way
  // to a selection's highlight; the own font gives way while the style ignores own fonts.
  const CLogFont& DrawingFont(const CGridTextStyle& style) const;
  CColor DrawingColor(const CGridTextStyle& style) const;

 private:
  CGridCellFormat(const CGridCellFormat& other);

  std::string m_text;
  // Few cells have a font of their own, and a bill of materials holds thousands of cells.
  std::unique_ptr<CLogFont> m_font;
  CColor m_textColor;
  bool m_hasTextColor = false;
};
