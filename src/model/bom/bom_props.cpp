// The properties command of the bill-of-materials context menu in its seven modes: the
// dialog's fields read from the grid, and applied back.

#include <algorithm>
#include <string>

#include "app/message_text.h"
#include "platform/text_conversions.h"
#include "model/bom/bom_grid.h"
#include "model/bom/bom_texts.h"

namespace {

constexpr int kCentred = 1;

bool IsAutoWord(const std::string& text) { return text == StringText(kMsgBOMAutoSize); }

}  // namespace

CBOMCellProps CBOMGrid::GetCellProps(int mode, int row, int column) const {
  CBOMCellProps props;
  props.font = GetLogFont();
  props.color = GetTextColor();
  const std::string autoWord = StringText(kMsgBOMAutoSize);
  const CBOMColumn* record = GetColumn(column);
  const bool rowAuto = row >= 0 && row < GetRowCount() && LineAt(row).autoRowHeight;
  const std::string rowHeight = rowAuto ? autoWord : std::to_string(GetRowHeight(row));
  const std::string width =
      record != nullptr && record->autoWidth ? autoWord : std::to_string(GetColumnWidth(column));
  switch (mode) {
    case CBOMCellProps::kCell:
      props.rowHeight = rowHeight;
      props.columnWidth = width;
      props.font = GetCellLogFont(row, column);
      props.color = GetCellTextColor(row, column);
      props.text = GetCellText(row, column);
      props.alignment = ColumnAlignment(column);
      break;
    case CBOMCellProps::kRow:
    case CBOMCellProps::kRows:
      props.rowHeight = rowHeight;
      props.font = GetCellLogFont(row, column);
      break;
    case CBOMCellProps::kColumn:
      props.columnWidth = width;
      props.text = GetCellText(0, column);
      props.font = GetCellLogFont(0, column);
      props.color = GetCellTextColor(0, column);
      props.kind = ColumnKind(column);
      props.alignment = ColumnAlignment(column);
      break;
    case CBOMCellProps::kGrid: props.text = m_itemPrefix; break;
    default: break;
  }
  return props;
}

void CBOMGrid::ApplyFontAndColor(int row, int column, const CBOMCellProps& props) {
  if (!props.fontChosen || ColumnKind(column) == kBOMKindPicture) return;
  SetCellFont(row, column, props.font);
  SetCellTextColor(row, column, props.color);
}

void CBOMGrid::ApplyRowHeight(int row, const std::string& height) {
  if (height.empty() || row < 0 || row >= GetRowCount()) return;
  if (IsAutoWord(height)) {
    SetLineAutoHeight(row, true);
  } else if (const int pixels = TextToInt(height); pixels > 0) {
    LineAt(row).autoRowHeight = false;
    PutRowHeight(row, pixels);
  }
}

void CBOMGrid::ApplyColumnWidth(int column, const std::string& width) {
  CBOMColumn* record = GetColumn(column);
  if (width.empty() || record == nullptr) return;
  if (IsAutoWord(width)) {
    record->autoWidth = true;
    ForgetFitting(column);
  } else if (const int pixels = TextToInt(width); pixels > 0) {
    record->autoWidth = false;
    PutColumnWidth(column, pixels);
  }
}

void CBOMGrid::ApplyColumnProps(int column, const CBOMCellProps& props) {
  CBOMColumn* record = GetColumn(column);
  if (record == nullptr || column < 2) return;
  MarkCellsStale();
  record->kind = props.kind;
  if (props.kind == kBOMKindPicture) record->excelFlag = record->csvFlag = 0;
  record->title = props.text;
  record->alignment = props.alignment;
  SetCell(0, column, props.text, kCentred);
  if (props.fontChosen) {
    SetCellFont(0, column, props.font);
    SetCellTextColor(0, column, props.color);
    for (int row = 1; row < GetRowCount(); ++row) ApplyFontAndColor(row, column, props);
  }
  // The cells follow the new kind; the edit line takes what another column of the kind
  // shows there.
  FillColumnCells(column);
  ApplyColumnWidth(column, props.columnWidth);
}

void CBOMGrid::ApplyGridProps(const CBOMCellProps& props) {
  if (props.fontChosen) {
    SetDefaultLogFont(props.font);
    for (int row = 0; row < GetRowCount(); ++row) {
      for (int column = 0; column < GetColumnCount(); ++column) {
        if (GetTextCell(row, column) == nullptr || ColumnKind(column) == kBOMKindPicture) continue;
        SetCellFont(row, column, props.font);
        SetCellTextColor(row, column, GetTextColor());
      }
    }
  }
  const bool autoHeight = props.rowHeight.empty() || IsAutoWord(props.rowHeight);
  if (autoHeight) m_defaultAutoRowHeight = true;
  for (int row = 0; row < GetRowCount(); ++row)
    ApplyRowHeight(row, autoHeight ? StringText(kMsgBOMAutoSize) : props.rowHeight);
  const bool autoWidth = props.columnWidth.empty() || IsAutoWord(props.columnWidth);
  if (autoWidth) m_defaultAutoColumnWidth = true;
  for (int column = 0; column < GetColumnCount(); ++column) {
    ApplyColumnWidth(column, autoWidth ? StringText(kMsgBOMAutoSize) : props.columnWidth);
  }
  for (int column = 2; column < GetColumnCount(); ++column) {
    m_columns[static_cast<std::size_t>(column)].alignment = props.alignment;
    for (int row = 0; row < GetRowCount(); ++row) {
      if (GetTextCell(row, column) != nullptr)
        SetCellAlignment(row, column, row == 0 ? kCentred : props.alignment);
    }
  }
}

void CBOMGrid::ApplyCellProps(int mode, int top, int left, int bottom, int right,
                              const CBOMCellProps& props) {
  MarkCellsStale();
  top = std::max(top, 0);
  left = std::max(left, 0);
  bottom = std::min(bottom, GetRowCount() - 1);
  right = std::min(right, GetColumnCount() - 1);
  switch (mode) {
    case CBOMCellProps::kCell:
    case CBOMCellProps::kCells:
      for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) ApplyFontAndColor(row, column, props);
      }
      break;
    case CBOMCellProps::kRow:
    case CBOMCellProps::kRows:
      for (int row = top; row <= bottom; ++row) {
        for (int column = 0; column < GetColumnCount(); ++column)
          ApplyFontAndColor(row, column, props);
        ApplyRowHeight(row, props.rowHeight);
      }
      break;
    case CBOMCellProps::kColumn: ApplyColumnProps(left, props); break;
    case CBOMCellProps::kColumns:
      for (int column = std::max(left, 2); column <= right; ++column) {
        for (int row = 0; row < GetRowCount(); ++row) ApplyFontAndColor(row, column, props);
        ApplyColumnWidth(column, props.columnWidth);
        m_columns[static_cast<std::size_t>(column)].alignment = props.alignment;
        FillColumnCells(column);
      }
      break;
    case CBOMCellProps::kGrid: ApplyGridProps(props); break;
    default: return;
  }
  FinishCommand(mode == CBOMCellProps::kColumn || mode == CBOMCellProps::kColumns);
}
