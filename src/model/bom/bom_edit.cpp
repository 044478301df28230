// What the user types into the bill-of-materials grid.

#include <algorithm>
#include <string>

#include "app/message_text.h"
#include "grid/grid_cell_format.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_prompter.h"
#include "model/bom/bom_source.h"
#include "model/bom/bom_texts.h"

namespace {

// Codes beyond this many are a source that never ends, not a code table.
constexpr std::size_t kMaxPickListCodes = 100000;

// A quantity as typed: blanks, an optional sign and the leading digits; negative gives
// 0, too large the largest quantity.
std::int64_t ParseQuantity(std::string_view text) {
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string_view::npos) return 0;
  bool negative = false;
  if (text[i] == '-' || text[i] == '+') negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min(value * 10 + (text[i] - '0'), CBOMGrid::kMaxQuantity);
  }
  return negative ? 0 : value;
}

}  // namespace

bool CBOMGrid::IsEditAllowed() const {
  return m_source != nullptr && m_source->IsBOMEditable() && IsEditEnabled();
}

bool CBOMGrid::CanEditCell(int row, int column) {
  if (ColumnKind(column) == kBOMKindPicture) return false;
  MarkCellsStale();  // the editor writes into the cell
  const CGridCellFormat* cell = MakeTextCell(row, column);
  if (cell == nullptr) return false;
  m_editBuffer = cell->GetText();
  return true;
}

std::vector<std::string> CBOMGrid::GetPickListCodes() const {
  std::vector<std::string> codes;
  if (m_source == nullptr) return codes;
  for (auto code = m_source->GetNextCode(true); code && codes.size() < kMaxPickListCodes;
       code = m_source->GetNextCode(false)) {
    codes.push_back(std::move(*code));
  }
  return codes;
}

bool CBOMGrid::Ask(int message, int caption, bool cancel, std::string_view p1,
                   std::string_view p2) {
  if (m_prompter == nullptr) return !cancel;
  const std::string text = FormatMessageTextSS(message, p1, p2);
  return m_prompter->ShowMessage(text, StringText(caption), cancel);
}

void CBOMGrid::RestoreEditedCell(int row, int column) {
  const CGridCellFormat* cell = GetTextCell(row, column);
  const unsigned alignment = cell != nullptr ? cell->GetItemData() : 0;
  SetCellText(row, column, m_editBuffer, alignment, true);
  ForgetWidestCount(column);
}

void CBOMGrid::OnCellEdited(int row, int column, bool changed) {
  if (!changed || IsTotalPage() || row < 1 || row >= GetRowCount()) return;
  const CGridCellFormat* cell = GetTextCell(row, column);
  if (cell == nullptr || cell->GetText() == m_editBuffer) return;
  const std::string text = cell->GetText();
  ForgetWidestCount(column);
  AutoSizeRowIfWanted(row);
  if (const CBOMColumn* record = GetColumn(column); record != nullptr && record->autoWidth) {
    AutoSizeColumn(column);
  }
  const int kind = ColumnKind(column);
  EditOutcome outcome = EditOutcome::kApplied;
  if (row == EditRow()) {
    if (kind == kBOMKindRef) outcome = EditReferenceOnEditLine(text);
    if (kind == kBOMKindQuantity) LineAt(row).quantity = ParseQuantity(text);
  } else if (kind == kBOMKindRef) {
    outcome = EditReferenceOnLine(row, text);
  } else if (kind == kBOMKindQuantity) {
    outcome = EditQuantityOnLine(row, text);
  } else {
    m_source->SetDevicePropByRef(LineAt(row).reference, ColumnKey(kind), text);
  }
  if (outcome == EditOutcome::kCancelled) {
    RestoreEditedCell(row, column);
    return;
  }
  FinishEdit(outcome == EditOutcome::kRemoved ? -1 : row);
}

void CBOMGrid::FinishEdit(int row) {
  if (row >= 0) UpdateLineCells(row);
  MarkModified();
  MarkTotalsStale();
  NumberLines(1);
  m_source->UpdateDocumentViews();
}

void CBOMGrid::StoreTypedValues(int fromRow, std::string_view reference) {
  for (int column = 2; column < GetColumnCount(); ++column) {
    const int kind = ColumnKind(column);
    if (kind == kBOMKindRef || kind == kBOMKindQuantity || kind == kBOMKindPicture) continue;
    const std::string text = GetCellText(fromRow, column);
    if ((kind == kBOMKindGlobalDiscount || kind == kBOMKindGlobalCoefficient) && text.empty())
      continue;
    m_source->SetDevicePropByRef(reference, ColumnKey(kind), text);
  }
}

CBOMGrid::EditOutcome CBOMGrid::EditReferenceOnEditLine(const std::string& text) {
  const int edit = EditRow();
  // A blank reference names nothing; a full grid takes no further line.
  if (TrimBOMBlanks(text).empty()) return EditOutcome::kCancelled;
  CBOMLine* existing = FindLineRecord(text);
  if (existing == nullptr) {
    if (GetRowCount() >= kMaxRowCount) return EditOutcome::kCancelled;
    CBOMLine& line = LineAt(edit);
    SetLineReference(line, text);
    line.quantity = std::max<std::int64_t>(line.quantity, 1);
    m_source->SetRefQuantity(line.reference, line.quantity);
    StoreTypedValues(edit, line.reference);
    AppendEditLine();
    return EditOutcome::kApplied;
  }
  if (!Ask(kMsgBOMMergeLines, kMsgBOMMergeLinesCaption, true, GetCellText(existing->row, 1))) {
    return EditOutcome::kCancelled;
  }
  CBOMLine& line = LineAt(edit);
  const std::int64_t added = std::max<std::int64_t>(line.quantity, 1);
  existing->quantity = std::min(existing->quantity + added, kMaxQuantity);
  m_source->SetRefQuantity(existing->reference, existing->quantity);
  StoreTypedValues(edit, existing->reference);
  for (int other = 2; other < GetColumnCount(); ++other)
    SetCell(edit, other, "", ColumnAlignment(other));
  SetLineReference(line, "");
  line.quantity = 0;
  UpdateLineCells(existing->row);
  return EditOutcome::kApplied;
}

CBOMGrid::EditOutcome CBOMGrid::EditReferenceOnLine(int row, const std::string& text) {
  CBOMLine& line = LineAt(row);
  const std::int64_t count = m_source->CountByRef(line.reference);
  if (count > 0) {
    Ask(kMsgBOMRenameRefused, kMsgBOMRenameRefusedCaption, false, GetCellText(row, 1),
        std::to_string(count));
    return EditOutcome::kCancelled;
  }
  if (TrimBOMBlanks(text).empty()) return EditOutcome::kCancelled;
  CBOMLine* other = FindLineRecord(text);
  if (other == nullptr || other == &line) {
    m_source->SetDevicePropByRef(line.reference, ColumnKey(kBOMKindRef), text);
    SetLineReference(line, text);
    return EditOutcome::kApplied;
  }
  if (!Ask(kMsgBOMMergeLines, kMsgBOMMergeLinesCaption, true, GetCellText(other->row, 1))) {
    return EditOutcome::kCancelled;
  }
  MergeInto(row, *other);
  return EditOutcome::kRemoved;
}

void CBOMGrid::MergeInto(int fromRow, CBOMLine& target) {
  const CBOMLine& from = LineAt(fromRow);
  target.quantity = std::min(target.quantity + from.quantity, kMaxQuantity);
  m_source->SetRefQuantity(target.reference, target.quantity);
  // The line's values are its records' properties (what the cells show may be indented).
  for (int column = 2; column < GetColumnCount(); ++column) {
    const int kind = ColumnKind(column);
    if (kind == kBOMKindRef || kind == kBOMKindQuantity || kind == kBOMKindPicture) continue;
    if (auto value = m_source->GetDevicePropByRef(from.reference, ColumnKey(kind))) {
      m_source->SetDevicePropByRef(target.reference, ColumnKey(kind), *value);
    }
  }
  UpdateLineCells(target.row);
  DeleteLineRow(fromRow);
}

CBOMGrid::EditOutcome CBOMGrid::EditQuantityOnLine(int row, const std::string& text) {
  CBOMLine& line = LineAt(row);
  const std::int64_t typed = ParseQuantity(text);
  const std::int64_t count = m_source->CountByRef(line.reference);
  if (typed < count) {
    if (!Ask(kMsgBOMQuantityBelowCount, kMsgBOMQuantityBelowCountCaption, true, GetCellText(row, 1),
             std::to_string(count))) {
      return EditOutcome::kCancelled;
    }
    line.quantity = std::min(count, kMaxQuantity);
  } else if (typed == 0) {
    DeleteLineRow(row);
    return EditOutcome::kRemoved;
  } else {
    line.quantity = typed;
  }
  m_source->SetRefQuantity(line.reference, line.quantity);
  return EditOutcome::kApplied;
}
