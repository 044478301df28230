// Item numbers and the fields of a line.

#include <array>
#include <atomic>
#include <charconv>
#include <string>

#include "model/bom/bom_grid.h"
#include "model/bom/bom_source.h"
#include "model/bom/item_numbering.h"

namespace {

// Item texts are written into one text that a numbering reuses: every line of every bill
// refreshed takes one. A sub-number below 0 is left out.
void PutItemText(std::string& item, const std::string& prefix, std::int64_t number,
                 std::int64_t sub = -1) {
  constexpr std::size_t kPartRoom = 24;  // a point and any 64-bit number
  char digits[2 * kPartRoom];
  char* end = digits;
  *end++ = '.';
  end = std::to_chars(end, digits + kPartRoom, number).ptr;
  if (sub >= 0) {
    *end++ = '.';
    end = std::to_chars(end, digits + sizeof digits, sub).ptr;
  }
  item.assign(prefix);
  item.append(digits, end);
}

}  // namespace

std::int64_t CBOMItemCounter::SlotAfter(const CBOMGroup& group) const {
  const std::int64_t taken = m_slots[static_cast<std::size_t>(group.number)];
  std::int64_t slot = taken == 0 ? m_base : taken + 1;
  // A flagged line shares the number of the line before it in its group.
  if (group.flag != ' ' && slot % 100 > 1) --slot;
  return slot;
}

std::string CBOMItemCounter::Next(const std::string& prefix, const CBOMGroup& group) {
  std::string item;
  Next(prefix, group, item);
  return item;
}

void CBOMItemCounter::Next(const std::string& prefix, const CBOMGroup& group, std::string& item) {
  if (!IsGrouped(group)) {
    PutItemText(item, prefix, m_next);
    Advance();
    return;
  }
  std::int64_t& slot = m_slots[static_cast<std::size_t>(group.number)];
  const bool opens = slot == 0;
  slot = SlotAfter(group);
  m_grouped = true;
  if (opens) Advance();
  PutItemText(item, prefix, slot / 100, slot % 100);
}

void CBOMItemCounter::Peek(const std::string& prefix, const CBOMGroup& group,
                           std::string& item) const {
  if (!IsGrouped(group)) return PutItemText(item, prefix, m_next);
  const std::int64_t slot = SlotAfter(group);
  PutItemText(item, prefix, slot / 100, slot % 100);
}

void CBOMItemCounter::Restart() {
  m_next = 1;
  m_base = 101;
  if (m_grouped) m_slots.fill(0);
  m_grouped = false;
}

namespace {

std::atomic<std::uint64_t> g_everyBillStale{0};
// Shared by every grid, so that no two grids' stamps meet: 0 is never taken.
std::atomic<std::uint64_t> g_nextChangeStamp{1};

}  // namespace

CBOMChangeStamp CBOMGrid::GetChangeStamp() const {
  if (m_changedSinceStamp) {
    m_changeStamp = g_nextChangeStamp.fetch_add(1, std::memory_order_relaxed);
    m_changedSinceStamp = false;
  }
  return {m_changeStamp, g_everyBillStale.load(std::memory_order_relaxed)};
}

void CBOMGrid::MarkEveryBillStale() { g_everyBillStale.fetch_add(1, std::memory_order_relaxed); }

bool CBOMGrid::AreCellsFresh() const {
  return m_cellsFresh && m_freshSinceBillsStale == g_everyBillStale.load(std::memory_order_relaxed);
}

std::optional<std::string_view> CBOMGrid::GetFreshExportText(std::uint32_t key) const {
  if (key == 0 || m_exportTextKey != key || !AreCellsFresh()) return std::nullopt;
  return m_exportText.View();
}

void CBOMGrid::KeepExportText(std::uint32_t key, std::string_view text) {
  if (key == 0 || !AreCellsFresh()) return;
  m_exportText.Assign(text);
  m_exportTextKey = key;
}

void CBOMGrid::NumberLines(int mode) {
  if (mode < 0) {
    CItemNumbering::Instance().Toggle();
    MarkEveryBillStale();
    return;
  }
  const std::uint64_t billsStale = g_everyBillStale.load(std::memory_order_relaxed);
  if (mode == 1 && CItemNumbering::Instance().IsOn()) WriteItemNumbers();
  if (mode == 2 && CItemNumbering::Instance().IsOn()) NumberNewLines();
  if (mode <= 1) {
    RefreshRows(0, GetRowCount());
  }
  if (mode == 1) {
    m_cellsFresh = true;
    m_freshSinceBillsStale = billsStale;
    m_exportTextKey = 0;  // the text kept showed the cells before this refresh
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
    m_numberedTail.Restart();
    m_numberedLines = 0;
  }
  const int alignment = ColumnAlignment(1);
  std::string item;
  for (int row = m_numberedLines + 1; row <= lines; ++row) {
    m_numberedTail.Next(m_itemPrefix, ParseBOMGroup(LineAt(row).reference), item);
    SetCell(row, 1, item, alignment);
  }
  m_numberedLines = lines;
  m_numberedTail.Peek(m_itemPrefix, ParseBOMGroup(LineAt(lines + 1).reference), item);
  SetCell(lines + 1, 1, item, alignment);
}

void CBOMGrid::SetItemPrefix(std::string_view prefix) {
  m_itemPrefix = std::string(prefix);
  m_cellsFresh = false;
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

void CBOMGrid::GetLineFieldTexts(int row, std::span<const int> kinds,
                                 std::span<std::optional<std::string>> texts) const {
  // Only the source's own fields are asked together; every other kind is answered alone.
  constexpr std::size_t kMostAskedTogether = 8;
  std::array<std::string_view, kMostAskedTogether> keys;
  std::array<std::size_t, kMostAskedTogether> at{};
  std::size_t asked = 0;
  const bool fromSource = IsLineRow(row) && !IsTotalPage() && !LineAt(row).reference.empty();
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    const int kind = kinds[i];
    const bool sourceField =
        kind >= kBOMKindUnitPrice && kind <= kBOMKindNone && kind != kBOMKindPicture;
    if (fromSource && sourceField && asked < kMostAskedTogether) {
      keys[asked] = ColumnKey(kind);
      at[asked++] = i;
    } else {
      texts[i] = GetLineFieldText(row, kind);
    }
  }
  if (asked == 0) return;
  std::array<std::optional<std::string>, kMostAskedTogether> values;
  const CBOMLine& line = LineAt(row);
  m_source->GetDevicePropsByRef(line.reference, line.kept, std::span(keys.data(), asked),
                                std::span(values.data(), asked));
  for (std::size_t k = 0; k < asked; ++k)
    texts[at[k]] = std::move(values[k]).value_or(std::string());
}

std::optional<std::string> CBOMGrid::TotalPageValue(int row, int kind) const {
  // The total page has no records: its values are what the view wrote into its cells.
  for (int column = 2; column < GetColumnCount(); ++column) {
    if (ColumnKind(column) == kind) return GetCellText(row, column);
  }
  return std::string();
}
