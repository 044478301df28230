#include "grid/grid_painter.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int kMargin = CGridModel::kMargin;

int ClampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min() / 2,
                                                   std::numeric_limits<int>::max() / 2));
}

}  // namespace

int CGridPainter::Paint(const CGridViewport& viewport) {
  const std::vector<Band> rows = ShownBands(viewport, EGridAxis::Rows);
  const std::vector<Band> columns = ShownBands(viewport, EGridAxis::Columns);
  if (rows.empty() || columns.empty()) return 0;
  FillShown(rows, columns, viewport);
  DrawGridLines(rows, columns);
  const int fixedRows = m_model.GetFixedRowCount();
  const int fixedColumns = m_model.GetFixedColumnCount();
  const CCellRange& selection = m_model.GetSelection();
  const CGridTextStyle normal = NormalStyle();
  CGridTextStyle selected = normal;
  selected.color = m_palette.highlightText;
  selected.selected = true;
  int visited = 0;
  for (const Band& row : rows) {
    for (const Band& column : columns) {
      const bool fixed = row.index < fixedRows || column.index < fixedColumns;
      if (fixed) DrawRaised(row, column);
      const bool inSelection = !fixed && selection.Contains(row.index, column.index);
      DrawCell(row.index, column.index, column.start + kMargin, row.start + kMargin,
               inSelection ? selected : normal);
      ++visited;
    }
  }
  return visited;
}

int CGridPainter::DrawCells(const CRect& area) {
  const std::vector<Band> rows = BandsMeeting(EGridAxis::Rows, area.top, area.bottom);
  const std::vector<Band> columns = BandsMeeting(EGridAxis::Columns, area.left, area.right);
  const int fixedRows = m_model.GetFixedRowCount();
  const int fixedColumns = m_model.GetFixedColumnCount();
  const CGridTextStyle normal = NormalStyle();
  int visited = 0;
  for (const Band& row : rows) {
    for (const Band& column : columns) {
      if (row.index < fixedRows || column.index < fixedColumns) {
        m_canvas.FillRect({column.start, row.start, column.End() + 1, row.End() + 1},
                          m_palette.headerBackground);
        DrawRaised(row, column);
      }
      DrawOutline(row, column);
      DrawCell(row.index, column.index, column.start + kMargin, row.start + kMargin, normal);
      ++visited;
    }
  }
  return visited;
}

void CGridPainter::DrawCell(int row, int column, int x, int y, const CGridTextStyle& style) {
  const CGridCell* cell = m_model.GetCell(row, column);
  if (!cell || cell->GetKind() == CGridCell::kEmpty) return;
  if (!m_model.GetFittedDrawing()) {
    cell->Draw(m_canvas, x, y, style);
    return;
  }
  const CRect rect{x, y, x + m_model.GetColumnWidth(column) - 2 * kMargin,
                   y + m_model.GetRowHeight(row) - 2 * kMargin};
  if (!rect.IsEmpty()) cell->DrawFitted(m_canvas, rect, style);
}

std::vector<CGridPainter::Band> CGridPainter::ShownBands(const CGridViewport& viewport,
                                                         EGridAxis axis) const {
  std::vector<Band> bands;
  int start = 0;
  for (int i = 0; i < m_model.GetFixedCount(axis); ++i) {
    bands.push_back({i, start, m_model.GetSize(axis, i)});
    start = ClampToInt(static_cast<std::int64_t>(start) + m_model.GetSize(axis, i));
  }
  const int last = viewport.GetLastShown(axis);
  for (int i = viewport.GetFirstShown(axis); i <= last; ++i) {
    bands.push_back({i, start, m_model.GetSize(axis, i)});
    start = ClampToInt(static_cast<std::int64_t>(start) + m_model.GetSize(axis, i));
  }
  return bands;
}

std::vector<CGridPainter::Band> CGridPainter::BandsMeeting(EGridAxis axis, int low,
                                                           int high) const {
  std::vector<Band> bands;
  std::int64_t start = 0;
  for (int i = 0; i < m_model.GetCount(axis) && start <= high; ++i) {
    const int size = m_model.GetSize(axis, i);
    if (start + size >= low) bands.push_back({i, ClampToInt(start), size});
    start += size;
  }
  return bands;
}

void CGridPainter::FillShown(const std::vector<Band>& rows, const std::vector<Band>& columns,
                             const CGridViewport& viewport) {
  const int fixedRows = m_model.GetFixedRowCount();
  const int fixedColumns = m_model.GetFixedColumnCount();
  // The shown non-fixed cells follow the fixed ones in each list.
  if (static_cast<int>(rows.size()) <= fixedRows ||
      static_cast<int>(columns.size()) <= fixedColumns) {
    return;
  }
  const Band& firstRow = rows[fixedRows];
  const Band& firstColumn = columns[fixedColumns];
  m_canvas.FillRect({firstColumn.start, firstRow.start, columns.back().End(), rows.back().End()},
                    m_palette.cellBackground);
  const CCellRange shown =
      CCellRange::Intersect(m_model.GetSelection(), viewport.GetVisibleCellRange());
  if (!shown.IsValid()) return;
  const Band& top = rows[fixedRows + shown.top - firstRow.index];
  const Band& bottom = rows[fixedRows + shown.bottom - firstRow.index];
  const Band& left = columns[fixedColumns + shown.left - firstColumn.index];
  const Band& right = columns[fixedColumns + shown.right - firstColumn.index];
  m_canvas.FillRect({left.start, top.start, right.End(), bottom.End()}, m_palette.highlight);
}

void CGridPainter::DrawGridLines(const std::vector<Band>& rows, const std::vector<Band>& columns) {
  const int right = columns.back().End();
  const int bottom = rows.back().End();
  m_canvas.DrawLine(0, 0, right + 1, 0, m_palette.line);
  m_canvas.DrawLine(0, 0, 0, bottom + 1, m_palette.line);
  for (const Band& column : columns) {
    m_canvas.DrawLine(column.End(), 0, column.End(), bottom + 1, m_palette.line);
  }
  for (const Band& row : rows)
    m_canvas.DrawLine(0, row.End(), right + 1, row.End(), m_palette.line);
}

void CGridPainter::DrawRaised(const Band& row, const Band& column) {
  const int left = column.start + 1;
  const int top = row.start + 1;
  if (column.size > 2 && row.size > 1)
    m_canvas.DrawLine(left, top, column.End() - 1, top, m_palette.raised);
  if (row.size > 2 && column.size > 1)
    m_canvas.DrawLine(left, top, left, row.End() - 1, m_palette.raised);
}

void CGridPainter::DrawOutline(const Band& row, const Band& column) {
  const int left = column.start;
  const int top = row.start;
  const int right = column.End();
  const int bottom = row.End();
  m_canvas.DrawLine(left, top, right, top, m_palette.line);
  m_canvas.DrawLine(right, top, right, bottom, m_palette.line);
  m_canvas.DrawLine(right, bottom, left, bottom, m_palette.line);
  m_canvas.DrawLine(left, bottom, left, top, m_palette.line);
}

CGridTextStyle CGridPainter::NormalStyle() const {
  return {m_model.GetLogFont(), m_model.GetTextColor(), false, m_model.GetIgnoreOwnFonts()};
}
