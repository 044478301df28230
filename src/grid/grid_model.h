#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "grid/bitmap_desc.h"
#include "grid/cell_range.h"
#include "grid/gap_vector.h"
#include "grid/grid_axis.h"
#include "grid/grid_cell.h"
#include "grid/grid_cell_format.h"
#include "grid/grid_cell_store.h"
#include "grid/grid_listener.h"
#include "grid/grid_selection.h"
#include "grid/grid_text_measurer.h"

// The data and rules of a grid: its cells, fixed header rows and columns, row heights
// and column widths, selection, font and colours. It lives without a window (the grid
// window shows one and is told of changes through a listener); classes that give the
// grid a meaning (the bill of materials, the price tables) derive from it and override
// the editing hooks.
//
// Every operation checks its indexes: out of range they return false (or 0, or a null
// cell) and change nothing.
class CGridModel {
 public:
  static constexpr int kMargin = 2;       // between a cell's border and its contents
  static constexpr int kMaxSize = 65535;  // a row height or column width, as files hold them

  // A grid of rows x columns missing cells, the first fixedRows rows and fixedColumns
  // columns being fixed headers (negative counts are 0, fixed counts are cut to the
  // counts). The grid font is the desktop's "System" font as the measurer (not owned,
  // may be null) measures it; it sets the default row height (text height plus two
  // margins) and column width (12 average characters plus four margins). Without a
  // measurer a text 16 pixels high and 7 wide on average stands in. Selects the first
  // non-fixed cell.
  CGridModel(int rows, int columns, int fixedRows, int fixedColumns,
             const CGridTextMeasurer* measurer = nullptr);
  virtual ~CGridModel();
  CGridModel(const CGridModel&) = delete;
  CGridModel& operator=(const CGridModel&) = delete;

  // Not owned; null detaches. A window sets itself while it shows the grid.
  void SetListener(CGridListener* listener) { m_listener = listener; }
  CGridListener* GetListener() const { return m_listener; }
  // Not owned; needed for auto-sizing and extents (nothing is measured without one).
  void SetTextMeasurer(const CGridTextMeasurer* measurer) { m_measurer = measurer; }
  const CGridTextMeasurer* GetTextMeasurer() const { return m_measurer; }

  int GetRowCount() const { return m_store.GetRowCount(); }
  int GetColumnCount() const { return m_store.GetColumnCount(); }
  int GetFixedRowCount() const { return m_fixedRows; }
  int GetFixedColumnCount() const { return m_fixedColumns; }
  int GetCount(EGridAxis axis) const;
  int GetFixedCount(EGridAxis axis) const;
  CGridCounts GetCounts() const;

  // Sizes in pixels; 0 for an index out of range.
  int GetRowHeight(int row) const { return GetSize(EGridAxis::Rows, row); }
  int GetColumnWidth(int column) const { return GetSize(EGridAxis::Columns, column); }
  int GetSize(EGridAxis axis, int index) const;
  std::int64_t GetTotalHeight() const { return m_totalHeight; }
  std::int64_t GetTotalWidth() const { return m_totalWidth; }
  std::int64_t GetTotalSize(EGridAxis axis) const;
  std::int64_t GetFixedRowsHeight() const { return GetFixedSize(EGridAxis::Rows); }
  std::int64_t GetFixedColumnsWidth() const { return GetFixedSize(EGridAxis::Columns); }
  std::int64_t GetFixedSize(EGridAxis axis) const;
  int GetDefaultRowHeight() const { return m_defaultRowHeight; }
  int GetDefaultColumnWidth() const { return m_defaultColumnWidth; }

  // Store a size (0..kMaxSize) without telling the window; false out of range.
  bool PutRowHeight(int row, int height) { return PutSize(EGridAxis::Rows, row, height); }
  bool PutColumnWidth(int column, int width) { return PutSize(EGridAxis::Columns, column, width); }
  bool PutSize(EGridAxis axis, int index, int size);

  // Fit a column to its widest cell (a row to its highest) plus two margins, over every
  // row (column), fixed ones included. False without a measurer or out of range.
  bool AutoSizeColumn(int column);
  bool AutoSizeRow(int row);
  bool AutoSizeColumns();
  // Layout changes made while one lives reach the window once, as the last one ends:
  // fitting a page's rows and columns one at a time would lay out the window's scroll
  // bars again for each.
  class CLayoutBatch {
   public:
    explicit CLayoutBatch(CGridModel& model) : m_model(model) { ++model.m_layoutBatches; }
    ~CLayoutBatch();
    CLayoutBatch(const CLayoutBatch&) = delete;
    CLayoutBatch& operator=(const CLayoutBatch&) = delete;

   private:
    CGridModel& m_model;
  };
  // The size of a cell's contents in the grid font; (0, 0) for a missing cell or
  // without a measurer.
  CSize GetCellTextExtent(int row, int column) const;

  // Null for a slot never filled or a position out of range.
  const CGridCell* GetCell(int row, int column) const { return m_store.GetCell(row, column); }
  CGridCell* GetCell(int row, int column) { return m_store.GetCell(row, column); }
  // Puts a copy of the cell (an empty cell for null) at the position.
  bool SetCell(int row, int column, const CGridCell* cell, bool repaint);
  // Makes the cell a text cell (keeping the font and colour of an existing one) and sets
  // its text and item data.
  bool SetCellText(int row, int column, std::string_view text, unsigned itemData, bool repaint);
  // A new bitmap cell; false (nothing changed) for an invalid description.
  bool SetCellBitmap(int row, int column, const CBitmapDesc& bitmap, bool repaint);
  // The text cell at the position, null for other kinds.
  const CGridCellFormat* GetTextCell(int row, int column) const {
    return CGridCellFormat::Of(GetCell(row, column));
  }
  CGridCellFormat* GetTextCell(int row, int column) {
    return CGridCellFormat::Of(GetCell(row, column));
  }
  // The font and colour a cell is edited with: its own when it has them, else the grid's.
  CLogFont GetCellLogFont(int row, int column) const;
  CColor GetCellTextColor(int row, int column) const;

  // A new row (column) of empty cells after the given one, taking the size of the row
  // that moves down (the default size at the end). Allowed after the last fixed row up
  // to after the last row; after -1 (at the top) only in a grid without fixed rows.
  bool InsertRowAfter(int row) { return InsertAfter(EGridAxis::Rows, row); }
  bool InsertColumnAfter(int column) { return InsertAfter(EGridAxis::Columns, column); }
  bool InsertAfter(EGridAxis axis, int index);
  // InsertRowAfter with the new row's cells from column `firstText` on made as empty text
  // cells, each with the item data `itemData` gives for its column: a row that is filled
  // as soon as it is made has each cell made once, not an empty cell and then its text.
  bool InsertRowOfTextCells(int row, int firstText, const std::function<unsigned(int)>& itemData);
  // InsertColumnAfter with the new column's cells of rows firstText..lastText made as empty
  // text cells with the item data.
  bool InsertColumnOfTextCells(int column, int firstText, int lastText, unsigned itemData);
  // The same as `count` rows inserted one by one after the last row, with one notice of the
  // change: a grid filled from a file grows by many rows at once. False, with nothing
  // changed, for a count below 1 or where InsertRowOfTextCells would refuse.
  bool AppendRowsOfTextCells(int count, int firstText,
                             const std::function<unsigned(int)>& itemData);
  // Removes a non-fixed row (column); those below move up and the selection is kept
  // within the grid.
  bool DeleteRow(int row) { return Delete(EGridAxis::Rows, row); }
  bool DeleteColumn(int column) { return Delete(EGridAxis::Columns, column); }
  bool Delete(EGridAxis axis, int index);

  const CCellRange& GetSelection() const { return m_selection.GetRange(); }
  int GetSelectionKind() const { return m_selection.GetKind(); }
  // A valid range within the grid (fixed cells allowed); false otherwise, nothing changed.
  bool SetSelection(const CCellRange& range, bool repaint);
  // No cell selected.
  void ClearSelection() { m_selection.SetRange(CCellRange()); }
  // The rules of CGridSelection, applied with this grid's counts.
  int SelectForClick(CCellPos cell) {
    return m_selection.SelectForClick(GetCounts(), cell, m_rowSelection);
  }
  bool ExtendSelection(int mode, CCellPos pressed, CCellPos current);
  CCellPos MoveSelection(int rowStep, int columnStep);
  // Selects the cell alone (kind cells); false for a position out of range.
  bool SelectCell(CCellPos cell);
  int GetContextMenuIndex() const { return m_selection.GetContextMenuIndex(); }
  bool GetRowSelection() const { return m_rowSelection; }
  void SetRowSelection(bool wholeRows) { m_rowSelection = wholeRows; }

  const CLogFont& GetLogFont() const { return m_font; }
  void SetLogFont(const CLogFont& font);
  CColor GetTextColor() const { return m_textColor; }
  void SetTextColor(CColor color);
  // While on, text cells draw and measure in the grid's font, not their own. The bill
  // of materials turns it on once its font is the language font.
  bool GetIgnoreOwnFonts() const { return m_ignoreOwnFonts; }
  void SetIgnoreOwnFonts(bool ignore) { m_ignoreOwnFonts = ignore; }
  // While on (the default) cells draw fitted into their rectangle, else at natural size.
  bool GetFittedDrawing() const { return m_fittedDrawing; }
  void SetFittedDrawing(bool fitted);
  void EnableEdit(bool enable) { m_editEnabled = enable; }
  bool IsEditEnabled() const { return m_editEnabled; }

  // Whether the cell may be edited now; the plain grid edits nothing.
  virtual bool CanEditCell(int row, int column);
  // After an edit of the cell; result is the editor's (false when it could not run).
  virtual void OnCellEdited(int row, int column, bool result);

 protected:
  void NotifyInvalidated();
  void NotifyLayoutChanged();
  // A cell was set or a row or column of cells came or went (not called for formats
  // changed through a cell's own pointer).
  virtual void OnCellsChanged() {}

 private:
  CGapVector<int>& Sizes(EGridAxis axis);
  const CGapVector<int>& Sizes(EGridAxis axis) const;
  std::int64_t& Total(EGridAxis axis);
  bool AutoSize(EGridAxis axis, int index);
  // The cell at each place of the new row (column) by its column (row).
  using CCellMaker = std::function<std::unique_ptr<CGridCell>(int other)>;
  bool Insert(EGridAxis axis, int index, const CCellMaker& make);
  void FillWithCells(EGridAxis axis, int index, const CCellMaker& make);

  CGridCellStore m_store;
  int m_fixedRows = 0;
  int m_fixedColumns = 0;
  int m_defaultRowHeight = 0;
  int m_defaultColumnWidth = 0;
  CGapVector<int> m_rowHeights;  // kept around a gap, as the cells are
  CGapVector<int> m_columnWidths;
  std::int64_t m_totalHeight = 0;  // kept with every change, so that nothing sums all rows
  std::int64_t m_totalWidth = 0;
  CGridSelection m_selection;
  bool m_rowSelection = false;
  bool m_fittedDrawing = true;
  bool m_editEnabled = false;
  bool m_ignoreOwnFonts = false;
  CLogFont m_font;
  CColor m_textColor;
  CGridListener* m_listener = nullptr;
  int m_layoutBatches = 0;
  bool m_layoutPending = false;  // a change made during the batches, not yet told
  const CGridTextMeasurer* m_measurer = nullptr;
};
