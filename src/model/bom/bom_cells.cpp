// Cells of the bill-of-materials grid: what each column shows and how.

#include <algorithm>
#include <charconv>
#include <string>

#include "app/message_text.h"
#include "grid/grid_cell_format.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_source.h"
#include "model/bom/bom_texts.h"
#include "model/run/run_factory.h"
#include "model/run/run_range_rules.h"

namespace {

constexpr int kCentred = 1;
const std::string kIndent(10, ' ');

// The range of the reference (its first letters name it) tells whether the line stands
// under its unit, on every page, the totals included.
bool IsAccessoryLine(std::string_view reference) {
  return CRunFactory::Instance().RulesForCode(reference).IsAccessoryLine(reference);
}

}  // namespace

int CBOMGrid::ColumnKind(int column) const {
  const CBOMColumn* record = GetColumn(column);
  return record != nullptr ? record->kind : kBOMKindNone;
}

int CBOMGrid::ColumnAlignment(int column) const {
  const CBOMColumn* record = GetColumn(column);
  return record != nullptr ? record->alignment : 0;
}

const CBOMColumn* CBOMGrid::GetColumn(int index) const {
  if (index < 0 || index >= static_cast<int>(m_columns.size())) return nullptr;
  return &m_columns[static_cast<std::size_t>(index)];
}

CBOMColumn* CBOMGrid::GetColumn(int index) {
  if (index < 0 || index >= static_cast<int>(m_columns.size())) return nullptr;
  return &m_columns[static_cast<std::size_t>(index)];
}

CBOMGrid::CLineMarks CBOMGrid::LineMarks(int row) const {
  if (row < 1 || row >= GetRowCount()) return {};
  const CBOMLine& line = LineAt(row);
  return LineMarks(line, ParseBOMGroup(line.reference));
}

CBOMGrid::CLineMarks CBOMGrid::LineMarks(const CBOMLine& line, CBOMGroup group) {
  return {group.flag >= 'a' && group.flag <= 'z', IsAccessoryLine(line.reference)};
}

std::string_view CBOMGrid::MarkedText(CLineMarks marks, int kind, std::string_view text,
                                      std::string& room) {
  const std::string_view shown = CutGroupSuffix(text);
  if ((kind != kBOMKindRef && kind != kBOMKindDesignation) || (!marks.subItem && !marks.accessory))
    return shown;
  room = marks.subItem ? kIndent : std::string();
  room += shown;
  if (marks.accessory) {
    if (kind == kBOMKindDesignation) {
      if (!room.empty()) room += "\n" + kIndent;
      room += StringText(kMsgBOMAccessoryNote);
    }
    room.insert(0, kIndent);
  }
  return room;
}

bool CBOMGrid::SetCell(int row, int column, std::string_view text, int alignment, bool repaint) {
  if (row < 0 || row >= GetRowCount() || column < 0 || column >= GetColumnCount()) return false;
  const int kind = ColumnKind(column);
  const bool setOff = kind == kBOMKindRef || kind == kBOMKindDesignation;
  std::string room;
  const bool changed = PutShownText(
      row, column, MarkedText(setOff ? LineMarks(row) : CLineMarks{}, kind, text, room), alignment);
  if (changed && repaint) NotifyInvalidated();
  return true;
}

bool CBOMGrid::PutShownText(int row, int column, std::string_view shown, int alignment) {
  // Most cells show what they showed: the text is compared where it stands, and copied
  // only when the cell changes.
  const CGridCellFormat* current = GetTextCell(row, column);
  if (current != nullptr && current->GetText() == shown &&
      current->GetItemData() == static_cast<unsigned>(alignment)) {
    return false;
  }
  const int oldWidth = GetCellTextExtent(row, column).cx;
  SetCellText(row, column, shown, static_cast<unsigned>(alignment), false);
  FitColumn(row, column, oldWidth);
  return true;
}

std::string CBOMGrid::GetCellText(int row, int column) const {
  const CGridCellFormat* cell = GetTextCell(row, column);
  return cell != nullptr ? cell->GetText() : std::string();
}

std::optional<std::string> CBOMGrid::GetTextCellText(int row, int column) const {
  const CGridCellFormat* cell = GetTextCell(row, column);
  if (cell == nullptr) return std::nullopt;
  return cell->GetText();
}

CGridCellFormat* CBOMGrid::MakeTextCell(int row, int column) {
  if (row < 0 || row >= GetRowCount() || column < 0 || column >= GetColumnCount()) return nullptr;
  CGridCell* cell = GetCell(row, column);
  if (cell != nullptr && cell->GetKind() == CGridCell::kBitmap) return nullptr;
  if (cell == nullptr || cell->GetKind() == CGridCell::kEmpty) {
    const int alignment = row == 0 ? kCentred : ColumnAlignment(column);
    SetCellText(row, column, "", static_cast<unsigned>(alignment), false);
  }
  return CGridCellFormat::Of(GetCell(row, column));
}

bool CBOMGrid::SetCellFont(int row, int column, const CLogFont& font) {
  MarkCellsStale();
  CGridCellFormat* cell = MakeTextCell(row, column);
  if (cell == nullptr) return false;
  cell->SetFont(font);
  ForgetFitting(column);
  NotifyInvalidated();
  return true;
}

bool CBOMGrid::SetCellTextColor(int row, int column, CColor color) {
  MarkCellsStale();
  CGridCellFormat* cell = MakeTextCell(row, column);
  if (cell == nullptr) return false;
  cell->SetTextColor(color);
  NotifyInvalidated();
  return true;
}

bool CBOMGrid::SetCellAlignment(int row, int column, int alignment) {
  MarkCellsStale();
  CGridCellFormat* cell = MakeTextCell(row, column);
  if (cell == nullptr) return false;
  cell->SetItemData(static_cast<unsigned>(alignment));
  NotifyInvalidated();
  return true;
}

void CBOMGrid::SetDefaultLogFont(const CLogFont& font) {
  m_defaultFont = font;
  SetLogFont(font);
  ForgetFitting(-1);
}

bool CBOMGrid::InsertRow(int after) {
  return InsertRowOfTextCells(
      after, 0, [this](int column) { return static_cast<unsigned>(ColumnAlignment(column)); });
}

bool CBOMGrid::UpdateCellBitmap(int row, int column) {
  if (row < 1 || row >= GetRowCount() || column < 0 || column >= GetColumnCount()) return false;
  if (row == EditRow()) return SetCell(row, column, "", ColumnAlignment(column));
  if (IsTotalPage()) return false;
  const int oldWidth = GetCellTextExtent(row, column).cx;
  const CBitmapDesc* bitmap = m_source->GetPartRecordFieldByRef(LineAt(row).reference);
  // No picture (or one that cannot be shown) leaves an empty cell, not a stale picture.
  if (bitmap == nullptr || !SetCellBitmap(row, column, *bitmap, false)) {
    CGridModel::SetCell(row, column, nullptr, false);
  }
  FitColumn(row, column, oldWidth);
  return true;
}

std::string_view CBOMGrid::QuantityText(const CBOMLine& line, std::string& room) {
  if (line.quantity == 0) return {};
  char digits[24];
  room.assign(digits, std::to_chars(digits, digits + sizeof digits, line.quantity).ptr);
  return room;
}

bool CBOMGrid::HasCellValue(const CBOMLine& line, int column, int kind) const {
  if (kind == kBOMKindRef || kind == kBOMKindQuantity) return true;
  // Other cells of the fixed columns, of lines without reference and of the total page
  // keep their text (typed on the edit line, written by the view on the total page).
  return column >= 2 && !line.reference.empty() && !IsTotalPage();
}

bool CBOMGrid::IsSourceColumn(int column, int kind) const {
  return kind != kBOMKindRef && kind != kBOMKindQuantity && kind != kBOMKindPicture &&
         column >= 2 && !IsTotalPage();
}

std::optional<std::string_view> CBOMGrid::CellValue(const CBOMLine& line, int column, int kind,
                                                    std::string& room) const {
  if (kind == kBOMKindRef) return line.reference;
  if (kind == kBOMKindQuantity) return QuantityText(line, room);
  if (!HasCellValue(line, column, kind)) return std::nullopt;
  if (IsBOMPriceAdjustmentKind(kind) && ParseBOMGroup(line.reference).flag == '!')
    return std::string_view();
  std::optional<std::string> value = m_source->GetDevicePropByRef(line.reference, ColumnKey(kind));
  room = value ? std::move(*value) : std::string();
  return room;
}

void CBOMGrid::ReadSourceCells(const CBOMLine& line, bool unpriced, CSourceCells& cells) const {
  cells.columns.clear();
  cells.keys.clear();
  if (line.reference.empty()) return;
  for (int column = 0; column < GetColumnCount(); ++column) {
    const int kind = ColumnKind(column);
    if (!IsSourceColumn(column, kind) || (unpriced && IsBOMPriceAdjustmentKind(kind))) continue;
    cells.columns.push_back(column);
    cells.keys.push_back(ColumnKey(kind));
  }
  cells.values.resize(cells.keys.size());
  if (!cells.keys.empty())
    m_source->GetDevicePropsByRef(line.reference, line.kept, cells.keys, cells.values);
}

void CBOMGrid::UpdateLineCells(int row) {
  if (row >= 0 && row < GetRowCount()) RefreshRows(row, row + 1);
}

void CBOMGrid::PrefetchHead() const {
  __builtin_prefetch(static_cast<const CGridModel*>(this));  // the cells' store
  __builtin_prefetch(&m_lines);
  __builtin_prefetch(&m_columns);
  __builtin_prefetch(&m_cellsFresh);
}

void CBOMGrid::PrefetchRecords() const {
  // Only a refresh reads the line records: the cells of a fresh bill are all there is.
  if (!AreCellsFresh()) {
    for (const std::unique_ptr<CBOMLine>& line : m_lines) {
      if (line != nullptr) __builtin_prefetch(line->reference.data());
    }
  }
  const int rows = GetRowCount();
  const int columns = GetColumnCount();
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      if (const CGridCellFormat* cell = GetTextCell(row, column))
        __builtin_prefetch(cell->GetText().data());
    }
  }
}

void CBOMGrid::RefreshRows(int first, int last) {
  // What the columns ask of a line is worked out once for all rows, each line's group and
  // marks once for all its cells, and a refresh that changes nothing allocates nothing.
  const int columns = GetColumnCount();
  bool setOff = false;
  bool fromSourceColumns = false;
  for (int column = 0; column < columns; ++column) {
    const int kind = ColumnKind(column);
    setOff = setOff || kind == kBOMKindRef || kind == kBOMKindDesignation;
    fromSourceColumns = fromSourceColumns || IsSourceColumn(column, kind);
  }
  // Rows are fitted to their cells only by a grid that measures its texts.
  const bool fitRows = GetTextMeasurer() != nullptr;
  const CLayoutBatch batch(*this);
  std::string value;
  std::string shown;
  CSourceCells fromSource;
  for (int row = first; row < last; ++row) {
    if (row == 0) {
      for (int column = 0; column < columns; ++column) {
        const CGridCellFormat* title = GetTextCell(0, column);
        if (title != nullptr && title->GetItemData() != static_cast<unsigned>(kCentred))
          SetCellAlignment(0, column, kCentred);
      }
      if (fitRows) AutoSizeRowIfWanted(row);
      continue;
    }
    const CBOMLine& line = LineAt(row);
    const CBOMGroup group = ParseBOMGroup(line.reference);
    const CLineMarks marks = setOff ? LineMarks(line, group) : CLineMarks{};
    // The record's fields that the line shows are read together: the record is found
    // once, and so is the line's quantity that its priced fields stand on.
    fromSource.columns.clear();
    if (fromSourceColumns) ReadSourceCells(line, group.flag == '!', fromSource);
    std::size_t next = 0;
    for (int column = 0; column < columns; ++column) {
      const int kind = ColumnKind(column);
      if (kind == kBOMKindPicture) {
        UpdateCellBitmap(row, column);
      } else if (next < fromSource.columns.size() && fromSource.columns[next] == column) {
        value = std::move(fromSource.values[next++]).value_or(std::string());
        PutShownText(row, column, MarkedText(marks, kind, value, shown), ColumnAlignment(column));
      } else if (const std::optional<std::string_view> cell =
                     CellValue(line, column, kind, value)) {
        PutShownText(row, column, MarkedText(marks, kind, *cell, shown), ColumnAlignment(column));
      }
    }
    if (fitRows) AutoSizeRowIfWanted(row);
  }
}

void CBOMGrid::FillColumnCells(int column) {
  const int kind = ColumnKind(column);
  const int alignment = ColumnAlignment(column);
  for (int row = 1; row < EditRow(); ++row) {
    if (kind == kBOMKindPicture) {
      UpdateCellBitmap(row, column);
    } else if (!m_lineValuesFollow || !HasCellValue(LineAt(row), column, kind)) {
      std::string room;
      SetCell(row, column, CellValue(LineAt(row), column, kind, room).value_or(std::string_view()),
              alignment);
    }
  }
  const int twin = FindColumnOfKind(kind, column);
  if (kind == kBOMKindPicture || twin < 0) {
    SetCell(EditRow(), column, "", alignment);
  } else {
    SetCell(EditRow(), column, GetCellText(EditRow(), twin), alignment);
  }
}
