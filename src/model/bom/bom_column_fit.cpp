// Columns of the bill-of-materials grid that fit their widest text.

#include <algorithm>

#include "model/bom/bom_grid.h"

namespace {

// A cell counts among a column's widest when it is as wide as the column's inside; an
// empty cell never does, so that empty rows come and go without a count.
bool IsWidest(int width, int inner) { return width > 0 && width >= inner; }

}  // namespace

void CBOMGrid::FitColumn(int row, int column, int oldWidth) {
  const CBOMColumn* record = GetColumn(column);
  const CGridTextMeasurer* measurer = GetTextMeasurer();
  if (record == nullptr || !record->autoWidth || measurer == nullptr) return;
  // A column is fitted to all its cells once; after that only the changed cell is
  // measured, so refreshing a line does not measure every row again.
  CColumnFit& fit = m_columnFits[static_cast<std::size_t>(column)];
  if (fit.measurer != measurer) {
    AutoSizeColumn(column);
    fit = {measurer, CColumnFit::kUncounted, 0};
    return;
  }
  const int inner = GetColumnWidth(column) - 2 * kMargin;
  const int width = GetCellTextExtent(row, column).cx;
  if (fit.inner != inner) {
    // Counted as the cells stood before this one changed.
    fit.inner = inner;
    fit.widest =
        CountWidestCells(column, inner) - IsWidest(width, inner) + IsWidest(oldWidth, inner);
  }
  fit.widest += IsWidest(width, inner) - IsWidest(oldWidth, inner);
  if (width > inner) {
    PutColumnWidth(column, std::min(width + 2 * kMargin, kMaxSize));
    NotifyLayoutChanged();
    // Alone as wide as the column now, unless the column could not grow as far.
    fit.inner = width + 2 * kMargin <= kMaxSize ? width : CColumnFit::kUncounted;
    fit.widest = 1;
  } else if (oldWidth >= inner && width < oldWidth && fit.widest <= 0) {
    // The widest cell became narrower and no other is as wide. (When another is, fitting
    // the column to all its cells would keep its width.)
    AutoSizeColumn(column);
    fit.inner = CColumnFit::kUncounted;
  }
}

void CBOMGrid::FitAutoWidthColumns() {
  const CGridTextMeasurer* measurer = GetTextMeasurer();
  if (measurer == nullptr) return;
  const CLayoutBatch batch(*this);
  for (int column = 0; column < GetColumnCount(); ++column) {
    const CBOMColumn* record = GetColumn(column);
    if (record == nullptr || !record->autoWidth) continue;
    AutoSizeColumn(column);
    if (column < static_cast<int>(m_columnFits.size()))
      m_columnFits[static_cast<std::size_t>(column)] = {measurer, CColumnFit::kUncounted, 0};
  }
}

int CBOMGrid::CountWidestCells(int column, int inner) const {
  int count = 0;
  for (int row = 0; row < GetRowCount(); ++row)
    count += IsWidest(GetCellTextExtent(row, column).cx, inner);
  return count;
}

void CBOMGrid::ForgetFitting(int column) {
  if (column < 0) {
    std::fill(m_columnFits.begin(), m_columnFits.end(), CColumnFit{});
  } else if (column < static_cast<int>(m_columnFits.size())) {
    m_columnFits[static_cast<std::size_t>(column)] = CColumnFit{};
  }
}

void CBOMGrid::ForgetWidestCount(int column) {
  if (column >= 0 && column < static_cast<int>(m_columnFits.size()))
    m_columnFits[static_cast<std::size_t>(column)].inner = CColumnFit::kUncounted;
}

void CBOMGrid::ForgetRowWidths(int row) {
  for (int column = 0; column < static_cast<int>(m_columnFits.size()); ++column) {
    CColumnFit& fit = m_columnFits[static_cast<std::size_t>(column)];
    if (fit.inner == CColumnFit::kUncounted || fit.inner != GetColumnWidth(column) - 2 * kMargin)
      continue;
    fit.widest -= IsWidest(GetCellTextExtent(row, column).cx, fit.inner);
  }
}
