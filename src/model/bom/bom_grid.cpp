#include "model/bom/bom_grid.h"

#include <algorithm>
#include <utility>

#include "model/bom/bom_page_host.h"
#include "model/bom/bom_source.h"
#include "model/bom/bom_texts.h"
#include "model/bom/bom_title_texts.h"

namespace {

constexpr int kCentred = 1;

CBOMColumn MakeColumn(std::string title, int position, int kind, int alignment, int excel, int csv,
                      int exportWidth) {
  CBOMColumn column;
  column.title = std::move(title);
  column.position = position;
  column.kind = kind;
  column.alignment = alignment;
  column.autoWidth = true;
  column.excelFlag = excel;
  column.csvFlag = csv;
  column.exportWidth = exportWidth;
  return column;
}

}  // namespace

CBOMGrid::CBOMGrid() : CGridModel(2, 3, 1, 2) {
  m_defaultFont = GetLogFont();
  for (int row = 0; row < 2; ++row) {
    auto line = std::make_unique<CBOMLine>();
    line->row = row;
    line->autoRowHeight = m_defaultAutoRowHeight;
    m_lines.push_back(std::move(line));
  }
  m_index.SetCutsGroupSuffix(true);
  m_index.Insert(LineAt(1));
  InitColumns();
}

CBOMGrid::~CBOMGrid() = default;

void CBOMGrid::InitColumns() {
  m_columns = {MakeColumn({}, 0, kBOMKindNone, kCentred, 0, 0, 0),
               MakeColumn(BOMTitleText(kMsgBOMTitleItem), 1, kBOMKindNone, 0, 1, 0, 40),
               MakeColumn(BOMTitleText(kMsgBOMTitleRef), 2, kBOMKindRef, 0, 1, 1, 200)};
  m_columnFits.assign(m_columns.size(), CColumnFit{});
  for (int column = 1; column < 3; ++column) SetCell(0, column, m_columns[column].title, kCentred);
  SetCell(1, 0, "*", ColumnAlignment(0));
  SetCell(1, 1, m_itemPrefix + ".1", ColumnAlignment(1));
}

void CBOMGrid::SetSource(CBOMSource* source) {
  if (source != m_ownedSource.get()) m_ownedSource.reset();
  m_source = source;
  m_run = nullptr;
  MarkCellsStale();
  m_index.SetCutsGroupSuffix(source == nullptr);
  ReindexLines();
}

CBOMGrid* CBOMGrid::GetTotalPage() const {
  return m_view != nullptr ? m_view->GetFirstPage() : nullptr;
}

void CBOMGrid::MarkTotalsStale() {
  MarkCellsStale();
  if (m_source == nullptr) return;
  m_source->MarkTotalsStale();
  if (m_view != nullptr) m_view->RecomputeTotals(0, 1);
}

void CBOMGrid::MarkModified() {
  MarkCellsStale();
  if (m_source != nullptr) m_source->SetDocumentModified();
}

void CBOMGrid::ReindexLines() {
  m_index.Clear();
  for (std::size_t row = 1; row < m_lines.size(); ++row) m_index.Insert(*m_lines[row]);
}

void CBOMGrid::SetLineReference(CBOMLine& line, std::string_view reference) {
  // A new reference may bring another group, and so other numbers below it; the one
  // exception, the line just appended, is numbered on from the last line.
  if (line.row != static_cast<int>(m_lines.size()) - 2 || line.row != m_numberedLines + 1)
    ForgetNumbering();
  MarkCellsStale();
  m_index.Erase(line);
  line.reference = std::string(reference);
  if (line.row >= 1) m_index.Insert(line);
}

void CBOMGrid::RenumberRecords(std::size_t from, bool resize) {
  for (std::size_t row = from; row < m_lines.size(); ++row) {
    m_lines[row]->row = static_cast<int>(row);
    if (resize) AutoSizeRowIfWanted(static_cast<int>(row));
  }
}

void CBOMGrid::AutoSizeRowIfWanted(int row) {
  if (row >= 0 && row < GetRowCount() && LineAt(row).autoRowHeight) AutoSizeRow(row);
}

CBOMLine* CBOMGrid::FindLineRecord(std::string_view reference) const {
  return m_index.Find(reference, 1, GetRowCount() - 2);
}

int CBOMGrid::FindLine(std::string_view reference) const {
  const CBOMLine* line = FindLineRecord(reference);
  return line != nullptr ? line->row : -1;
}

const CBOMLine* CBOMGrid::GetLine(int row) const {
  if (row < 0 || row >= static_cast<int>(m_lines.size())) return nullptr;
  return m_lines[static_cast<std::size_t>(row)].get();
}

std::int64_t CBOMGrid::GetLineQuantity(int row) const {
  return IsLineRow(row) ? LineAt(row).quantity : 0;
}

bool CBOMGrid::AddRefQuantity(std::string_view reference, std::int64_t quantity) {
  return AddQuantity(reference, quantity, true);
}

bool CBOMGrid::AddHeldQuantity(std::string_view reference, std::int64_t quantity) {
  return AddQuantity(reference, quantity, false);
}

bool CBOMGrid::AddQuantity(std::string_view reference, std::int64_t quantity, bool tellSource) {
  if (quantity < 1 || quantity > kMaxQuantity) return false;
  CBOMLine* line = FindLineRecord(reference);
  if (line != nullptr ? line->quantity > kMaxQuantity - quantity : GetRowCount() >= kMaxRowCount) {
    return false;
  }
  MarkTotalsStale();
  if (line != nullptr) {
    line->quantity += quantity;
    if (tellSource && m_source != nullptr)
      m_source->SetRefQuantity(line->reference, line->quantity);
    UpdateLineCells(line->row);
  } else {
    // The totals merge a reference over all groups, so their lines keep no suffix.
    AppendLine(IsTotalPage() ? CutGroupSuffix(reference) : reference, quantity, tellSource);
  }
  if (m_numberingDeferred) {
    m_numberingOwed = true;
    return true;
  }
  NumberLines(2);
  NotifyInvalidated();
  return true;
}

CBOMGrid::CBookingRound::CBookingRound(CBOMGrid& grid) : m_grid(grid) {
  m_deferring = !grid.m_numberingDeferred && grid.GetTextMeasurer() == nullptr;
  if (m_deferring) grid.m_numberingDeferred = true;
}

CBOMGrid::CBookingRound::~CBookingRound() {
  if (!m_deferring) return;
  m_grid.m_numberingDeferred = false;
  if (!m_grid.m_numberingOwed) return;
  m_grid.m_numberingOwed = false;
  m_grid.NumberLines(2);
  m_grid.NotifyInvalidated();
}

void CBOMGrid::AppendEditLine() {
  const int oldEdit = EditRow();
  auto edit = std::make_unique<CBOMLine>();
  edit->row = oldEdit + 1;
  edit->autoRowHeight = LineAt(oldEdit).autoRowHeight;
  m_lines.push_back(std::move(edit));
  m_index.Insert(*m_lines.back());
  InsertRow(oldEdit);
  SetCell(oldEdit + 1, 0, "*", ColumnAlignment(0));
  SetCell(oldEdit + 1, 1, m_itemPrefix + ".?", ColumnAlignment(1));
  SetCell(oldEdit, 0, "", ColumnAlignment(0));
}

void CBOMGrid::AppendLine(std::string_view reference, std::int64_t quantity, bool tellSource) {
  const int row = EditRow();
  AppendEditLine();
  CBOMLine& line = LineAt(row);
  SetLineReference(line, reference);
  line.quantity = quantity;
  line.autoRowHeight = m_defaultAutoRowHeight;
  if (tellSource && m_source != nullptr) m_source->SetRefQuantity(line.reference, quantity);
  UpdateLineCells(row);
}

bool CBOMGrid::RemoveRefQuantity(std::string_view reference, std::int64_t quantity) {
  CBOMLine* line = FindLineRecord(reference);
  if (line == nullptr) return false;
  std::int64_t amount = TrimBOMBlanks(reference).empty() ? line->quantity + 1 : quantity;
  if (amount < 1) return false;
  MarkTotalsStale();
  amount = std::min(amount, line->quantity);
  line->quantity -= amount;
  if (line->quantity > 0) {
    UpdateLineCells(line->row);
  } else {
    DeleteLineRow(line->row);
    NumberLines(2);
  }
  NotifyInvalidated();
  return true;
}

void CBOMGrid::DeleteLineRow(int row) {
  const std::string reference = LineAt(row).reference;
  ForgetNumbering();
  m_index.Erase(LineAt(row));
  ForgetRowWidths(row);
  CGridModel::DeleteRow(row);
  m_lines.erase(m_lines.begin() + row);
  RenumberRecords(static_cast<std::size_t>(row), true);
  // Told last, so that the source finds the grid whole whatever it does in turn.
  if (m_source != nullptr) m_source->SetRefQuantity(reference, 0);
}

bool CBOMGrid::ClearLines() {
  bool all = true;
  if (GetRowCount() > 2) MarkTotalsStale();
  while (GetRowCount() > 2) {
    const int row = EditRow() - 1;
    if (LineAt(row).quantity < 1) all = false;
    DeleteLineRow(row);
  }
  NumberLines(2);
  NotifyInvalidated();
  MarkModified();
  return all;
}

bool CBOMGrid::RenameLine(std::string_view oldReference, std::string_view newReference) {
  CBOMLine* line = FindLineRecord(oldReference);
  if (line == nullptr) return false;
  CBOMLine* other = FindLineRecord(newReference);
  if (other != nullptr && other != line) {
    // Two lines of one reference would split its quantity: the line's quantity moves
    // to the line that has the reference already. Its records carry the new reference,
    // so the source holds the sum and is not told.
    MarkTotalsStale();
    other->quantity = std::min(other->quantity + line->quantity, kMaxQuantity);
    UpdateLineCells(other->row);
    ForgetNumbering();
    const int row = line->row;
    m_index.Erase(*line);
    ForgetRowWidths(row);
    CGridModel::DeleteRow(row);
    m_lines.erase(m_lines.begin() + row);
    RenumberRecords(static_cast<std::size_t>(row), true);
    NumberLines(2);
    MarkModified();
    NotifyInvalidated();
    return true;
  }
  SetLineReference(*line, newReference);
  UpdateLineCells(line->row);
  MarkTotalsStale();
  MarkModified();
  NotifyInvalidated();
  return true;
}

bool CBOMGrid::MoveLine(int from, int to) {
  // The edit line keeps the last row: moving it (or onto it) would turn a line into
  // the edit line and lose its quantity from every look-up.
  if (!IsLineRow(from) || !IsLineRow(to)) return false;
  if (from == to) return true;
  ForgetNumbering();
  const auto first = m_lines.begin();
  if (from < to) {
    std::rotate(first + from, first + from + 1, first + to + 1);
  } else {
    std::rotate(first + to, first + from, first + from + 1);
  }
  RenumberRecords(static_cast<std::size_t>(std::min(from, to)), false);
  return true;
}
