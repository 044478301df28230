// Columns of the bill-of-materials grid and the layout shared between pages.

#include <algorithm>
#include <string>

#include "grid/grid_cell_format.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_source.h"
#include "model/run/run_factory.h"
#include "model/run/run_range_rules.h"

namespace {

constexpr int kCentred = 1;

bool IsWeightRange(std::string_view catalog) {
  return CRunFactory::Instance().RulesForCode(catalog).ShowsUnitWeights();
}

}  // namespace

int CBOMGrid::FindColumnOfKind(int kind, int except) const {
  for (int column = 0; column < static_cast<int>(m_columns.size()); ++column) {
    if (column != except && m_columns[static_cast<std::size_t>(column)].kind == kind) return column;
  }
  return -1;
}

void CBOMGrid::InsertColumnRecord(int at, const CBOMColumn& column) {
  m_columns.insert(m_columns.begin() + at, column);
  m_columnFits.insert(m_columnFits.begin() + at, CColumnFit{});
  for (std::size_t i = static_cast<std::size_t>(at); i < m_columns.size(); ++i) {
    m_columns[i].position = static_cast<int>(i);
  }
}

void CBOMGrid::EraseColumn(int column) {
  CGridModel::DeleteColumn(column);
  m_columns.erase(m_columns.begin() + column);
  m_columnFits.erase(m_columnFits.begin() + column);
  for (std::size_t i = static_cast<std::size_t>(column); i < m_columns.size(); ++i) {
    m_columns[i].position = static_cast<int>(i);
  }
}

bool CBOMGrid::InsertColumn(int after, int kind, std::string_view title) {
  if (after < 1 || after > GetColumnCount() - 1) return false;
  // Every line's cell of a new column becomes a text cell at once, unless it shows a
  // picture: made so here, each is made once. A grid that measures its texts fits its
  // columns to each cell as it turns into text, so there every cell turns in its own time.
  const bool lineTexts = kind != kBOMKindPicture && GetTextMeasurer() == nullptr;
  if (!(lineTexts ? InsertColumnOfTextCells(after, 1, EditRow() - 1, 0) : InsertColumnAfter(after)))
    return false;
  CBOMColumn column;
  column.title = std::string(title);
  column.kind = kind;
  column.alignment = 0;
  column.autoWidth = m_defaultAutoColumnWidth;
  column.excelFlag = kind == kBOMKindPicture ? 0 : 1;
  column.csvFlag = 0;
  column.exportWidth = 200;
  const int at = after + 1;
  InsertColumnRecord(at, column);
  SetCell(0, at, column.title, kCentred);
  FillColumnCells(at);
  NotifyInvalidated();
  return true;
}

bool CBOMGrid::DeleteColumn(int column) {
  if (column < 2 || column >= GetColumnCount()) return false;
  EraseColumn(column);
  MarkModified();
  NotifyInvalidated();
  return true;
}

void CBOMGrid::DeleteColumnsFrom(int first) {
  for (int column = GetColumnCount() - 1; column >= first; --column) EraseColumn(column);
}

void CBOMGrid::CopyLayoutFrom(const CBOMGrid& other) {
  if (&other == this) return;
  m_defaultAutoRowHeight = other.m_defaultAutoRowHeight;
  m_defaultAutoColumnWidth = other.m_defaultAutoColumnWidth;
  m_defaultFont = other.m_defaultFont;
  SetLogFont(other.GetLogFont());
  SetTextColor(other.GetTextColor());
  DeleteColumnsFrom(2);
  // Where each of the other grid's columns lands here (-1: a transient column, left out).
  std::vector<int> columnMap(static_cast<std::size_t>(other.GetColumnCount()), -1);
  for (int column = 0; column < std::min(2, other.GetColumnCount()); ++column) {
    columnMap[static_cast<std::size_t>(column)] = column;
  }
  for (int column = 2; column < other.GetColumnCount(); ++column) {
    const CBOMColumn& record = other.m_columns[static_cast<std::size_t>(column)];
    if (record.excelFlag < 0) continue;
    const int at = GetColumnCount();
    InsertColumn(at - 1, record.kind, record.title);
    m_columns[static_cast<std::size_t>(at)] = record;
    m_columns[static_cast<std::size_t>(at)].position = at;
    PutColumnWidth(at, other.GetColumnWidth(column));
    columnMap[static_cast<std::size_t>(column)] = at;
  }
  CopyRowFormats(other, columnMap);
  ForgetFitting(-1);
  NotifyLayoutChanged();
}

void CBOMGrid::CopyRowFormats(const CBOMGrid& other, const std::vector<int>& columnMap) {
  const int rows = std::min(GetRowCount(), other.GetRowCount());
  for (int row = 0; row < rows; ++row) {
    PutRowHeight(row, other.GetRowHeight(row));
    LineAt(row).autoRowHeight = other.LineAt(row).autoRowHeight;
    for (int column = 0; column < other.GetColumnCount(); ++column) {
      const int own = columnMap[static_cast<std::size_t>(column)];
      const CGridCellFormat* source = other.GetTextCell(row, column);
      if (own < 0 || source == nullptr) continue;
      CGridCellFormat* cell = MakeTextCell(row, own);
      if (cell == nullptr) continue;
      if (source->HasTextColor()) cell->SetTextColor(source->GetTextColor());
      if (source->HasFont()) cell->SetFont(source->GetLogFont());
    }
  }
}

void CBOMGrid::UpdateWeightColumn() {
  const bool wanted = m_source != nullptr && m_source->GetSupportSetting() >= 2 &&
                      IsWeightRange(m_source->GetCatalog());
  if (wanted) {
    if (FindColumnOfKind(kBOMKindUnitWeight, -1) >= 0) return;
    const int last = GetColumnCount() - 1;
    InsertColumn(last, kBOMKindUnitWeight, BOMDefaultTitle(kBOMKindUnitWeight));
    m_columns[static_cast<std::size_t>(last + 1)].excelFlag = -1;
    m_columns[static_cast<std::size_t>(last + 1)].csvFlag = 0;
    return;
  }
  // The transient column is no part of the document: removing it changes nothing there.
  for (int column = GetColumnCount() - 1; column >= 2; --column) {
    const CBOMColumn& record = m_columns[static_cast<std::size_t>(column)];
    if (record.kind == kBOMKindUnitWeight && record.excelFlag < 0) {
      EraseColumn(column);
      NotifyInvalidated();
    }
  }
}
