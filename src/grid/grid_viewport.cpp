#include "grid/grid_viewport.h"

#include <algorithm>
#include <limits>

namespace {

int ToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

}  // namespace

void CGridViewport::SetClientSize(int width, int height) {
  m_clientWidth = std::max(width, 0);
  m_clientHeight = std::max(height, 0);
}

int CGridViewport::GetClientSize(EGridAxis axis) const {
  return axis == EGridAxis::Rows ? m_clientHeight : m_clientWidth;
}

void CGridViewport::UpdateScrollRanges(int availableWidth, int availableHeight,
                                       int verticalBarWidth, int horizontalBarHeight) {
  const std::int64_t totalWidth = m_model.GetTotalWidth();
  const std::int64_t totalHeight = m_model.GetTotalHeight();
  // Fixed rows alone may exceed the window: the maximum then stays 0, never -1.
  const int rowMax = std::max(0, m_model.GetRowCount() - m_model.GetFixedRowCount() - 1);
  const int columnMax = std::max(0, m_model.GetColumnCount() - m_model.GetFixedColumnCount() - 1);
  const bool rowsFit = totalHeight < availableHeight;
  const bool columnsFit = totalWidth < availableWidth;
  if (rowsFit && columnsFit) {
    m_rowMax = m_columnMax = 0;
  } else if (!rowsFit && columnsFit) {
    m_rowMax = rowMax;
    m_columnMax = totalWidth < availableWidth - verticalBarWidth ? 0 : columnMax;
  } else if (rowsFit && !columnsFit) {
    m_columnMax = columnMax;
    m_rowMax = totalHeight < availableHeight - horizontalBarHeight ? 0 : rowMax;
  } else {
    m_rowMax = rowMax;
    m_columnMax = columnMax;
  }
  m_rowPos = std::min(m_rowPos, m_rowMax);
  m_columnPos = std::min(m_columnPos, m_columnMax);
}

int CGridViewport::GetScrollPos(EGridAxis axis) const {
  return axis == EGridAxis::Rows ? m_rowPos : m_columnPos;
}

int CGridViewport::GetScrollMax(EGridAxis axis) const {
  return axis == EGridAxis::Rows ? m_rowMax : m_columnMax;
}

bool CGridViewport::SetScrollPos(EGridAxis axis, int position) {
  int& current = axis == EGridAxis::Rows ? m_rowPos : m_columnPos;
  const int clamped = std::clamp(position, 0, GetScrollMax(axis));
  if (clamped == current) return false;
  current = clamped;
  return true;
}

int CGridViewport::GetFirstShown(EGridAxis axis) const {
  return m_model.GetFixedCount(axis) + GetScrollPos(axis);
}

int CGridViewport::GetLastShown(EGridAxis axis) const {
  const int count = m_model.GetCount(axis);
  const int client = GetClientSize(axis);
  std::int64_t reach = m_model.GetFixedSize(axis);
  for (int index = GetFirstShown(axis); index < count; ++index) {
    reach += m_model.GetSize(axis, index);
    if (reach >= client) return index;
  }
  return count - 1;
}

CCellRange CGridViewport::GetVisibleCellRange() const {
  return {GetFirstShown(EGridAxis::Rows), GetFirstShown(EGridAxis::Columns),
          GetLastShown(EGridAxis::Rows), GetLastShown(EGridAxis::Columns)};
}

std::int64_t CGridViewport::GetStart(EGridAxis axis, int index) const {
  const int fixed = m_model.GetFixedCount(axis);
  std::int64_t start = 0;
  if (index < fixed) {
    for (int i = 0; i < index; ++i) start += m_model.GetSize(axis, i);
    return start;
  }
  start = m_model.GetFixedSize(axis);
  const int first = GetFirstShown(axis);
  for (int i = first; i < index; ++i) start += m_model.GetSize(axis, i);
  for (int i = index; i < first; ++i) start -= m_model.GetSize(axis, i);
  return start;
}

CRect CGridViewport::GetCellRect(int row, int column) const {
  return GetCellRangeRect({row, column, row, column});
}

CRect CGridViewport::GetCellRangeRect(const CCellRange& range) const {
  const std::int64_t left = GetStart(EGridAxis::Columns, range.left);
  const std::int64_t top = GetStart(EGridAxis::Rows, range.top);
  const std::int64_t right =
      (range.right == range.left ? left : GetStart(EGridAxis::Columns, range.right)) +
      m_model.GetColumnWidth(range.right);
  const std::int64_t bottom =
      (range.bottom == range.top ? top : GetStart(EGridAxis::Rows, range.bottom)) +
      m_model.GetRowHeight(range.bottom);
  return {ToInt(left), ToInt(top), ToInt(right), ToInt(bottom)};
}

CCellPos CGridViewport::HitTestCell(CPoint point) const {
  const int row = HitTest(EGridAxis::Rows, point.y);
  const int column = HitTest(EGridAxis::Columns, point.x);
  return {row, column};
}

int CGridViewport::HitTest(EGridAxis axis, int coordinate) const {
  if (coordinate < 0) return -1;
  const int fixed = m_model.GetFixedCount(axis);
  std::int64_t reach = 0;
  for (int i = 0; i < fixed; ++i) {
    reach += m_model.GetSize(axis, i);
    if (reach > coordinate) return i;
  }
  const int count = m_model.GetCount(axis);
  for (int i = GetFirstShown(axis); i < count; ++i) {
    reach += m_model.GetSize(axis, i);
    if (reach > coordinate) return i;
  }
  return -1;
}

bool CGridViewport::IsCellVisible(int row, int column) const {
  return IsWhollyShown(EGridAxis::Rows, row) && IsWhollyShown(EGridAxis::Columns, column);
}

bool CGridViewport::IsWhollyShown(EGridAxis axis, int index) const {
  if (index < 0 || index >= m_model.GetCount(axis)) return false;
  const int client = GetClientSize(axis);
  const int fixed = m_model.GetFixedCount(axis);
  if (index < fixed) return GetStart(axis, index) + m_model.GetSize(axis, index) <= client;
  const int first = GetFirstShown(axis);
  if (index < first) return false;
  std::int64_t reach = m_model.GetFixedSize(axis);
  for (int i = first; i <= index; ++i) {
    reach += m_model.GetSize(axis, i);
    if (reach > client) return false;
  }
  return true;
}

int CGridViewport::GetPageBackPos(EGridAxis axis) const {
  int position = GetScrollPos(axis);
  if (position <= 0) return 0;
  const int fixed = m_model.GetFixedCount(axis);
  std::int64_t room = GetClientSize(axis) - m_model.GetFixedSize(axis);
  do {
    room -= m_model.GetSize(axis, fixed + position - 1);
    --position;
  } while (position > 0 && room - m_model.GetSize(axis, fixed + position - 1) >= 0);
  return position;
}

int CGridViewport::GetPageForwardPos(EGridAxis axis) const {
  const int position = GetScrollPos(axis);
  const int maximum = GetScrollMax(axis);
  if (position >= maximum) return position;
  // A page of one partly shown row would not move at all: move at least one.
  const int step = std::max(1, GetLastShown(axis) - GetFirstShown(axis));
  return std::min(position + step, maximum);
}

CGridBorderHit CGridViewport::HitTestBorder(CPoint point) const {
  const CCellPos cell = HitTestCell(point);
  if (!cell.IsCell()) return {};
  if (cell.row < m_model.GetFixedRowCount()) {
    const CGridBorderHit hit = BorderOn(EGridAxis::Columns, cell.column, point.x);
    if (hit.IsHit()) return hit;
  }
  if (cell.column < m_model.GetFixedColumnCount()) {
    return BorderOn(EGridAxis::Rows, cell.row, point.y);
  }
  return {};
}

CGridBorderHit CGridViewport::BorderOn(EGridAxis axis, int index, int coordinate) const {
  const std::int64_t start = GetStart(axis, index);
  const std::int64_t end = start + m_model.GetSize(axis, index);
  if (coordinate < start + kBorderGrip) {
    const int previous = PreviousShown(axis, index);
    if (previous >= 0) return {axis, previous};
  }
  if (end - coordinate < kBorderGrip) return {axis, index};
  return {};
}

int CGridViewport::PreviousShown(EGridAxis axis, int index) const {
  if (index <= 0) return -1;
  const int fixed = m_model.GetFixedCount(axis);
  const int first = GetFirstShown(axis);
  if (index - 1 < fixed || index - 1 >= first) return index - 1;
  // The first shown column sits right of the fixed ones: its left edge is theirs.
  if (index == first && fixed > 0) return fixed - 1;
  return -1;
}
