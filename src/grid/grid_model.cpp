#include "grid/grid_model.h"

#include <algorithm>
#include <utility>

#include "grid/grid_bitmap.h"
#include "grid/grid_cell_format.h"

namespace {

// The classic system font, for grids built without a measurer.
constexpr CGridFontMetrics kFallbackMetrics{16, 7};

}  // namespace

CGridModel::CGridModel(int rows, int columns, int fixedRows, int fixedColumns,
                       const CGridTextMeasurer* measurer)
    : m_store(rows, columns), m_measurer(measurer) {
  m_fixedRows = std::clamp(fixedRows, 0, m_store.GetRowCount());
  m_fixedColumns = std::clamp(fixedColumns, 0, m_store.GetColumnCount());
  m_font.faceName = "System";
  CGridFontMetrics metrics = measurer ? measurer->MeasureFont(m_font) : kFallbackMetrics;
  metrics.height = std::clamp(metrics.height, 1, 1000);
  metrics.averageCharWidth = std::clamp(metrics.averageCharWidth, 1, 1000);
  m_font.height = metrics.height;
  m_defaultRowHeight = metrics.height + 2 * kMargin;
  m_defaultColumnWidth = 2 * (kMargin + 6 * metrics.averageCharWidth);
  m_rowHeights.assign(m_store.GetRowCount(), m_defaultRowHeight);
  m_columnWidths.assign(m_store.GetColumnCount(), m_defaultColumnWidth);
  m_totalHeight = static_cast<std::int64_t>(m_defaultRowHeight) * m_store.GetRowCount();
  m_totalWidth = static_cast<std::int64_t>(m_defaultColumnWidth) * m_store.GetColumnCount();
  m_selection.SetRange(CGridSelection::FirstCell(GetCounts()));
}

CGridModel::~CGridModel() = default;

int CGridModel::GetCount(EGridAxis axis) const {
  return axis == EGridAxis::Rows ? GetRowCount() : GetColumnCount();
}

int CGridModel::GetFixedCount(EGridAxis axis) const {
  return axis == EGridAxis::Rows ? m_fixedRows : m_fixedColumns;
}

CGridCounts CGridModel::GetCounts() const {
  return {GetRowCount(), GetColumnCount(), m_fixedRows, m_fixedColumns};
}

int CGridModel::GetSize(EGridAxis axis, int index) const {
  const CGapVector<int>& sizes = Sizes(axis);
  if (index < 0 || index >= static_cast<int>(sizes.size())) return 0;
  return sizes[index];
}

std::int64_t CGridModel::GetTotalSize(EGridAxis axis) const {
  return axis == EGridAxis::Rows ? m_totalHeight : m_totalWidth;
}

std::int64_t CGridModel::GetFixedSize(EGridAxis axis) const {
  const CGapVector<int>& sizes = Sizes(axis);
  std::int64_t total = 0;
  for (int i = 0; i < GetFixedCount(axis); ++i) total += sizes[i];
  return total;
}

bool CGridModel::PutSize(EGridAxis axis, int index, int size) {
  CGapVector<int>& sizes = Sizes(axis);
  if (index < 0 || index >= static_cast<int>(sizes.size())) return false;
  if (size < 0 || size > kMaxSize) return false;
  Total(axis) += size - sizes[index];
  sizes[index] = size;
  return true;
}

bool CGridModel::AutoSizeColumn(int column) {
  if (!AutoSize(EGridAxis::Columns, column)) return false;
  NotifyLayoutChanged();
  return true;
}

bool CGridModel::AutoSizeRow(int row) {
  if (!AutoSize(EGridAxis::Rows, row)) return false;
  NotifyLayoutChanged();
  return true;
}

bool CGridModel::AutoSizeColumns() {
  if (!m_measurer) return false;
  for (int column = 0; column < GetColumnCount(); ++column) AutoSize(EGridAxis::Columns, column);
  NotifyLayoutChanged();
  return true;
}

bool CGridModel::AutoSize(EGridAxis axis, int index) {
  if (!m_measurer || index < 0 || index >= GetCount(axis)) return false;
  const bool rows = axis == EGridAxis::Rows;
  int largest = 0;
  for (int other = 0; other < GetCount(rows ? EGridAxis::Columns : EGridAxis::Rows); ++other) {
    const CSize extent = rows ? GetCellTextExtent(index, other) : GetCellTextExtent(other, index);
    largest = std::max(largest, rows ? extent.cy : extent.cx);
  }
  return PutSize(axis, index, std::min(largest + 2 * kMargin, kMaxSize));
}

CSize CGridModel::GetCellTextExtent(int row, int column) const {
  const CGridCell* cell = GetCell(row, column);
  if (!cell || !m_measurer) return {};
  CGridTextStyle style;
  style.font = m_font;
  style.ignoreOwnFonts = m_ignoreOwnFonts;
  return cell->Measure(*m_measurer, style);
}

bool CGridModel::SetCell(int row, int column, const CGridCell* cell, bool repaint) {
  if (!m_store.IsInRange(row, column)) return false;
  m_store.SetCell(row, column, cell ? cell->Clone() : std::make_unique<CGridCell>());
  OnCellsChanged();
  if (repaint) NotifyInvalidated();
  return true;
}

bool CGridModel::SetCellText(int row, int column, std::string_view text, unsigned itemData,
                             bool repaint) {
  if (!m_store.IsInRange(row, column)) return false;
  auto* cell = CGridCellFormat::Of(m_store.GetCell(row, column));
  if (!cell) {
    auto created = std::make_unique<CGridCellFormat>();
    cell = created.get();
    m_store.SetCell(row, column, std::move(created));
  }
  cell->SetText(text);
  cell->SetItemData(itemData);
  OnCellsChanged();
  if (repaint) NotifyInvalidated();
  return true;
}

bool CGridModel::SetCellBitmap(int row, int column, const CBitmapDesc& bitmap, bool repaint) {
  if (!m_store.IsInRange(row, column)) return false;
  std::unique_ptr<CGridBitmap> cell = CGridBitmap::Create(bitmap);
  if (!cell) return false;
  m_store.SetCell(row, column, std::move(cell));
  OnCellsChanged();
  if (repaint) NotifyInvalidated();
  return true;
}

CLogFont CGridModel::GetCellLogFont(int row, int column) const {
  const CGridCellFormat* cell = GetTextCell(row, column);
  return cell && cell->HasFont() ? cell->GetLogFont() : m_font;
}

CColor CGridModel::GetCellTextColor(int row, int column) const {
  const CGridCellFormat* cell = GetTextCell(row, column);
  return cell && cell->HasTextColor() ? cell->GetTextColor() : m_textColor;
}

bool CGridModel::InsertAfter(EGridAxis axis, int index) {
  return Insert(axis, index, [](int) { return std::make_unique<CGridCell>(); });
}

bool CGridModel::InsertRowOfTextCells(int row, int firstText,
                                      const std::function<unsigned(int)>& itemData) {
  return Insert(EGridAxis::Rows, row, [&itemData, firstText](int column) {
    if (column < firstText) return std::make_unique<CGridCell>();
    std::unique_ptr<CGridCell> cell = std::make_unique<CGridCellFormat>();
    cell->SetItemData(itemData(column));
    return cell;
  });
}

bool CGridModel::InsertColumnOfTextCells(int column, int firstText, int lastText,
                                         unsigned itemData) {
  return Insert(EGridAxis::Columns, column, [firstText, lastText, itemData](int row) {
    if (row < firstText || row > lastText) return std::make_unique<CGridCell>();
    std::unique_ptr<CGridCell> cell = std::make_unique<CGridCellFormat>();
    cell->SetItemData(itemData);
    return cell;
  });
}

bool CGridModel::AppendRowsOfTextCells(int count, int firstText,
                                       const std::function<unsigned(int)>& itemData) {
  const int last = GetRowCount() - 1;
  if (count < 1 || last < GetFixedRowCount() - 1 || last < -1) return false;
  const int columns = GetColumnCount();
  std::vector<unsigned> items(static_cast<std::size_t>(std::max(columns, 0)));
  for (int column = std::max(firstText, 0); column < columns; ++column)
    items[static_cast<std::size_t>(column)] = itemData(column);
  for (int i = 0; i < count; ++i) {
    const int row = GetRowCount();
    if (!m_store.InsertRow(row)) return false;
    for (int column = 0; column < columns; ++column) {
      std::unique_ptr<CGridCell> cell;
      if (column < firstText) {
        cell = std::make_unique<CGridCell>();
      } else {
        cell = std::make_unique<CGridCellFormat>();
        cell->SetItemData(items[static_cast<std::size_t>(column)]);
      }
      m_store.SetCell(row, column, std::move(cell));
    }
    m_rowHeights.insert(static_cast<std::size_t>(row), m_defaultRowHeight);
    m_totalHeight += m_defaultRowHeight;
    OnCellsChanged();
  }
  if (!m_selection.GetRange().IsValid())
    m_selection.SetRange(CGridSelection::FirstCell(GetCounts()));
  NotifyLayoutChanged();
  return true;
}

bool CGridModel::Insert(EGridAxis axis, int index, const CCellMaker& make) {
  const int count = GetCount(axis);
  const int fixed = GetFixedCount(axis);
  if (index < fixed - 1 || index < -1 || index >= count) return false;
  const int at = index + 1;
  const bool inserted = axis == EGridAxis::Rows ? m_store.InsertRow(at) : m_store.InsertColumn(at);
  if (!inserted) return false;
  FillWithCells(axis, at, make);
  OnCellsChanged();
  CGapVector<int>& sizes = Sizes(axis);
  const int size = at < count
                       ? sizes[at]
                       : (axis == EGridAxis::Rows ? m_defaultRowHeight : m_defaultColumnWidth);
  sizes.insert(static_cast<std::size_t>(at), size);
  Total(axis) += size;
  // A grid that had no non-fixed cell selects its first one as soon as it has one.
  if (!m_selection.GetRange().IsValid())
    m_selection.SetRange(CGridSelection::FirstCell(GetCounts()));
  NotifyLayoutChanged();
  return true;
}

void CGridModel::FillWithCells(EGridAxis axis, int index, const CCellMaker& make) {
  const bool row = axis == EGridAxis::Rows;
  const int others = row ? GetColumnCount() : GetRowCount();
  for (int other = 0; other < others; ++other) {
    m_store.SetCell(row ? index : other, row ? other : index, make(other));
  }
}

bool CGridModel::Delete(EGridAxis axis, int index) {
  if (index < 0 || index < GetFixedCount(axis) || index >= GetCount(axis)) return false;
  const bool removed =
      axis == EGridAxis::Rows ? m_store.RemoveRow(index) : m_store.RemoveColumn(index);
  if (!removed) return false;
  OnCellsChanged();
  CGapVector<int>& sizes = Sizes(axis);
  Total(axis) -= sizes[index];
  sizes.erase(static_cast<std::size_t>(index));
  m_selection.Clamp(GetCounts());
  NotifyLayoutChanged();
  return true;
}

bool CGridModel::SetSelection(const CCellRange& range, bool repaint) {
  if (!range.IsValid() || range.bottom >= GetRowCount() || range.right >= GetColumnCount()) {
    return false;
  }
  m_selection.SetRange(range);
  if (repaint) NotifyInvalidated();
  return true;
}

bool CGridModel::ExtendSelection(int mode, CCellPos pressed, CCellPos current) {
  return m_selection.Extend(GetCounts(), mode, pressed, current);
}

CCellPos CGridModel::MoveSelection(int rowStep, int columnStep) {
  return m_selection.Move(GetCounts(), rowStep, columnStep);
}

bool CGridModel::SelectCell(CCellPos cell) {
  if (!m_store.IsInRange(cell.row, cell.column)) return false;
  m_selection.SelectCell(cell);
  return true;
}

void CGridModel::SetLogFont(const CLogFont& font) {
  m_font = font;
  NotifyInvalidated();
}

void CGridModel::SetTextColor(CColor color) {
  m_textColor = color;
  NotifyInvalidated();
}

void CGridModel::SetFittedDrawing(bool fitted) {
  m_fittedDrawing = fitted;
  NotifyInvalidated();
}

bool CGridModel::CanEditCell(int, int) { return false; }

void CGridModel::OnCellEdited(int, int, bool) {}

void CGridModel::NotifyInvalidated() {
  if (m_listener) m_listener->GridInvalidated();
}

CGridModel::CLayoutBatch::~CLayoutBatch() {
  if (--m_model.m_layoutBatches == 0 && std::exchange(m_model.m_layoutPending, false))
    m_model.NotifyLayoutChanged();
}

void CGridModel::NotifyLayoutChanged() {
  if (m_layoutBatches > 0) {
    m_layoutPending = true;
  } else if (m_listener) {
    m_listener->GridLayoutChanged();
  }
}

CGapVector<int>& CGridModel::Sizes(EGridAxis axis) {
  return axis == EGridAxis::Rows ? m_rowHeights : m_columnWidths;
}

const CGapVector<int>& CGridModel::Sizes(EGridAxis axis) const {
  return axis == EGridAxis::Rows ? m_rowHeights : m_columnWidths;
}

std::int64_t& CGridModel::Total(EGridAxis axis) {
  return axis == EGridAxis::Rows ? m_totalHeight : m_totalWidth;
}
