// Item numbers and the fields of a line.

#include <array>
#include <charconv>
#include <string>

#include "model/bom/bom_grid.h"
#include "model/bom/bom_source.h"
#include "model/bom/item_numbering.h"

namespace {

// Item texts are made in one piece: every line of every bill read takes one.
void AppendPart(std::string& item, std::int64_t part) {
  char digits[24];
  item += '.';
  item.append(digits, std::to_chars(digits, digits + sizeof digits, part).ptr);
}

std::string ItemText(const std::string& prefix, std::int64_t number) {
  std::string item;
  item.reserve(prefix.size() + 8);
  item += prefix;
  AppendPart(item, number);
  return item;
}

std::string ItemText(const std::string& prefix, std::int64_t number, std::int64_t sub) {
  std::string item = ItemText(prefix, number);
  AppendPart(item, sub);
  return item;
}

}  // namespace

std::string CBOMItemCounter::Next(const std::string& prefix, const CBOMGroup& group) {
  if (group.number < 1 || group.number >= kGroupSlots) {
    std::string item = ItemText(prefix, m_next);
    Advance();
    return item;
  }
  std::int64_t& slot = m_slots[static_cast<std::size_t>(group.number)];
  if (slot == 0) {
    slot = m_base;
    Advance();
  } else {
    ++slot;
  }
  // A flagged line shares the number of the line before it in its group.
  if (group.flag != ' ' && slot % 100 > 1) --slot;
  return ItemText(prefix, slot / 100, slot % 100);
}

void CBOMGrid::NumberLines(int mode) {
  if (mode < 0) {
    CItemNumbering::Instance().Toggle();
    return;
  }
  if (mode == 1 && CItemNumbering::Instance().IsOn()) WriteItemNumbers();
  if (mode == 2 && CItemNumbering::Instance().IsOn()) NumberNewLines();
  if (mode <= 1) {
    for (int row = 0; row < GetRowCount(); ++row) UpdateLineCells(row);
  }
  NotifyInvalidated();
}

void CBOMGrid::WriteItemNumbers() {
  ForgetNumbering();
  NumberNewLines();
}

// Numbers the lines after those already numbered, and the edit line. Every line is
// numbered again when the numbers are not known to be current.
void CBOMGrid::NumberNewLines() {
  const int lines = GetRowCount() - 2;
  const bool current = m_numberedLines >= 0 && m_numberedLines <= lines;
  if (current && m_numberedLines == lines) return;  // nothing new: every number stands
  if (!current) {
    m_numberedTail = CBOMItemCounter();
    m_numberedLines = 0;
  }
  const int alignment = ColumnAlignment(1);
  for (int row = m_numberedLines + 1; row <= lines; ++row) {
    SetCell(row, 1, m_numberedTail.Next(m_itemPrefix, ParseBOMGroup(LineAt(row).reference)),
            alignment);
  }
  m_numberedLines = lines;
  CBOMItemCounter edit = m_numberedTail;
  SetCell(lines + 1, 1, edit.Next(m_itemPrefix, ParseBOMGroup(LineAt(lines + 1).reference)),
          alignment);
}

void CBOMGrid::SetItemPrefix(std::string_view prefix) {
  m_itemPrefix = std::string(prefix);
  ForgetNumbering();
  NumberLines(1);
}

std::optional<std::string> CBOMGrid::GetLineFieldText(int row, int kind) const {
  if (!IsLineRow(row) || kind == kBOMKindPicture) return std::nullopt;
  const CBOMLine& line = LineAt(row);
  switch (kind) {
    case kBOMKindRef: return line.reference;
    case kBOMKindQuantity: return std::to_string(line.quantity);
    case kBOMFieldGroup: return std::to_string(ParseBOMGroup(line.reference).number);
    case kBOMFieldBareRef: return std::string(CutGroupSuffix(line.reference));
    case kBOMFieldItem: return GetCellText(row, 1);
    case kBOMFieldGroupFlag: {
      const CBOMGroup group = ParseBOMGroup(line.reference);
      return std::to_string(group.number) + group.flag;
    }
    default: break;
  }
  if (kind < kBOMKindUnitPrice || kind > kBOMKindNone) return std::nullopt;
  if (line.reference.empty()) return std::string();
  if (IsTotalPage()) return TotalPageValue(row, kind);
  return m_source->GetDevicePropByRef(line.reference, ColumnKey(kind)).value_or(std::string());
}

std::optional<std::string> CBOMGrid::TotalPageValue(int row, int kind) const {
  // The total page has no records: its values are what the view wrote into its cells.
  for (int column = 2; column < GetColumnCount(); ++column) {
    if (ColumnKind(column) == kind) return GetCellText(row, column);
  }
  return std::string();
}
