// The line and column commands of the bill-of-materials context menu.

#include <algorithm>
#include <functional>
#include <string>

#include "app/message_text.h"
#include "platform/text_conversions.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_page_host.h"
#include "model/bom/bom_prompter.h"
#include "model/bom/bom_source.h"
#include "model/bom/bom_texts.h"

namespace {

// The part of a two-part message before its first line break, or after its last.
std::string MessagePart(const std::string& text, bool first) {
  if (first) return text.substr(0, text.find('\n'));
  const std::size_t last = text.rfind('\n');
  return last == std::string::npos ? text : text.substr(last + 1);
}

}  // namespace

bool CBOMGrid::DeleteLines(std::vector<int> rows) {
  std::sort(rows.begin(), rows.end(), std::greater<>());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  bool changed = false;
  for (int row : rows) {
    if (IsLineRow(row)) changed = DeleteLineForCommand(row) || changed;
  }
  if (!changed) return false;
  FinishCommand(false);
  return true;
}

bool CBOMGrid::DeleteLineForCommand(int row) {
  const std::string reference = LineAt(row).reference;
  const std::int64_t quantity = LineAt(row).quantity;
  const std::int64_t used = m_source != nullptr ? m_source->CountByRef(reference) : 0;
  if (used <= 0) return RemoveRefQuantity(reference, quantity);
  // Elements use the line: only what they do not use can go, and the user is told.
  const bool excess = quantity > used;
  const std::string text = MessagePart(StringText(kMsgBOMDeleteUsedLine), !excess);
  const std::string shown = FormatMessageTextSS(text, GetCellText(row, 1), std::to_string(used));
  const bool ok =
      m_prompter == nullptr
          ? !excess
          : m_prompter->ShowMessage(shown, StringText(kMsgBOMDeleteUsedLineCaption), excess);
  if (!excess || !ok) return false;
  m_source->SetRefQuantity(reference, used);
  return RemoveRefQuantity(reference, quantity - used);
}

int CBOMGrid::InsertColumnForEdit(int after) {
  if (!InsertColumn(after, kBOMKindRef, StringText(kMsgBOMTitleRef))) return -1;
  MarkModified();
  return after + 1;
}

bool CBOMGrid::DeleteColumns(std::vector<int> columns) {
  // From the last, so that the indexes of those still to go stay as selected.
  std::sort(columns.begin(), columns.end(), std::greater<>());
  columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
  bool changed = false;
  for (int column : columns) changed = (column >= 2 && DeleteColumn(column)) || changed;
  if (changed) FinishCommand(true);
  return changed;
}

bool CBOMGrid::ApplyColumnOptions(int column, std::string_view exportWidth, bool csv, bool excel) {
  CBOMColumn* record = GetColumn(column);
  if (record == nullptr || column < 1) return false;
  MarkCellsStale();  // which columns an export writes follows the options
  record->exportWidth = std::max(0, TextToInt(exportWidth));
  // A negative flag does not apply to the column and stays; pictures are never exported.
  if (record->kind != kBOMKindPicture) {
    if (record->csvFlag >= 0) record->csvFlag = column == 1 ? 0 : (csv ? 1 : 0);
    if (record->excelFlag >= 0) record->excelFlag = excel ? 1 : 0;
  }
  FinishCommand(true);
  return true;
}

void CBOMGrid::PropagateColumns() {
  if (m_view == nullptr) return;
  for (CBOMGrid* page : m_view->GetPages()) {
    if (page == nullptr || page == this) continue;
    page->DeleteColumnsFrom(2);
    for (int column = 2; column < GetColumnCount(); ++column) {
      const CBOMColumn& record = m_columns[static_cast<std::size_t>(column)];
      if (record.excelFlag < 0) continue;
      const int at = page->GetColumnCount();
      page->InsertColumn(at - 1, record.kind, record.title);
      CBOMColumn copy = record;
      copy.position = at;
      page->m_columns[static_cast<std::size_t>(at)] = copy;
      page->PutColumnWidth(at, GetColumnWidth(column));
    }
    page->NumberLines(1);
    page->NotifyLayoutChanged();
  }
}

void CBOMGrid::SetLineAutoHeight(int row, bool on) {
  if (row < 0 || row >= GetRowCount()) return;
  LineAt(row).autoRowHeight = on;
  if (on) AutoSizeRow(row);
}

void CBOMGrid::FinishCommand(bool propagate) {
  NumberLines(1);
  for (int column = 0; column < GetColumnCount(); ++column) {
    if (m_columns[static_cast<std::size_t>(column)].autoWidth) AutoSizeColumn(column);
  }
  for (int row = 0; row < GetRowCount(); ++row) AutoSizeRowIfWanted(row);
  if (propagate) PropagateColumns();
  MarkModified();
  NotifyLayoutChanged();
}
