#include "model/bom/bom_grid.h"
#include "model/bom/bom_source.h"

bool CBOMGrid::IsDraggableLine(int row) const { return !IsTotalPage() && IsLineRow(row); }

bool CBOMGrid::DropLine(int from, int to) {
  if (from == to || !IsDraggableLine(from) || !IsDraggableLine(to)) return false;
  if (!MoveLine(from, to)) return false;
  SelectCell({to, 1});
  NumberLines(1);
  // The order of the lines is stored with the run.
  MarkModified();
  NotifyLayoutChanged();
  if (m_source != nullptr) m_source->UpdateDocumentViews();
  return true;
}

void CBOMGrid::FinishColumnResize(int column) {
  if (column < 0 || column >= GetColumnCount()) return;
  m_columns[static_cast<std::size_t>(column)].autoWidth = false;
  PropagateColumns();
  MarkModified();
}

void CBOMGrid::FinishRowResize(int row) {
  if (row < 1 || row >= GetRowCount()) return;
  SetLineAutoHeight(row, false);
  MarkModified();
}
