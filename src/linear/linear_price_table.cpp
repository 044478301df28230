#include "linear/linear_price_table.h"

#include <cstdio>

#include "app/message_text.h"
#include "linear/component_chooser.h"
#include "linear/linear_formula.h"
#include "linear/linear_line_list.h"
#include "linear/linear_slots.h"

namespace {

constexpr int kMsgHeaderDesignation = 31059, kMsgHeaderQuantity = 31456, kMsgHeaderGross = 31515;
constexpr int kMsgHeaderSale = 31538, kMsgHeaderTime = 31519, kMsgTotal = 31065,
              kMsgTotalTimes = 31132, kMsgTotalOneLine = 62401;
constexpr int kMsgFloorsLabel = 31070, kMsgTapOffUnit = 32024;

std::string CutLabel(std::string text) {
  const std::size_t cut = text.find_first_of("(,");
  if (cut != std::string::npos) text.resize(cut);
  return text;
}

std::string ReplaceFirst(std::string text, const std::string& what, const std::string& by) {
  const std::size_t at = text.find(what);
  if (at != std::string::npos) text.replace(at, what.size(), by);
  return text;
}

std::string Hundredths(std::int64_t value, char decimal) {
  char text[48];
  std::snprintf(text, sizeof text, "%lld%c%02lld", static_cast<long long>(value / 100), decimal,
                static_cast<long long>(value % 100));
  return text;
}

bool IsLengthItem(int item) { return item == 5 || item == 6 || item == 10 || item == 14; }

}  // namespace

CLinearPriceTable::CLinearPriceTable(const CLinearLine& line, const Settings& settings,
                                     const CLinearLineList* lines, int filter)
    : m_line(line), m_settings(settings), m_lines(lines), m_filter(filter) {
  BuildRows();
}

void CLinearPriceTable::Add(int item, int label) {
  if (item >= 0)
    for (const Row& row : m_rows)
      if (row.item == item) return;
  m_rows.push_back({item, label});
}

std::array<bool, kLinearSlotCount> CLinearPriceTable::ShownItems(const CLinearLine& line) {
  std::array<bool, kLinearSlotCount> shown{};
  const CLinearPriceTable table(line, Settings{});
  for (const Row& row : table.Rows())
    if (row.item >= 0 && row.item < kLinearSlotCount)
      shown[static_cast<std::size_t>(row.item)] = true;
  return shown;
}

std::string CLinearPriceTable::FormatMoney(std::int64_t value) {
  const std::string digits = std::to_string(value < 0 ? -value : value);
  std::string grouped = value < 0 ? "-" : "";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ' ';
    grouped += digits[i];
  }
  return grouped;
}

std::string CLinearPriceTable::BoxLabel(int slot) const {
  const CBoxSlot box = UnpackBoxSlot(m_line.Slots[slot]);
  const bool qyl = m_line.Group == 3 && Set(125);
  const int product = qyl ? kProductQYL : m_line.Product;
  int code = box.group;
  std::string text =
      CutLabel(LookupText(ComponentGroupMessage(product, box.button + 1, code, m_settings.apod)));
  if (m_line.Group == 1 || m_line.Group == 2) {
    // Parts joined without a blank read as one word ("Coffrets à fusibles,160 A,IP40").
    if (box.rating > 0) text += ", " + std::to_string(box.rating) + " A";
    if (box.ip > 0 && box.ip < m_line.IpDegree) text += ", IP" + std::to_string(box.ip);
  } else if (qyl) {
    text = "IP" + std::to_string(box.button != 0 ? 55 : 20) + " - " + text;
    if (box.rating > 0) text += " - T" + std::to_string(box.rating);
  } else if (box.rating > 0) {
    text += " - " + LookupText(kMsgTapOffUnit);
  }
  return text;
}

std::string CLinearPriceTable::LabelText(const Row& row) const {
  if (row.item >= kLinearFirstBoxSlot && row.item < kLinearSlotCount) return BoxLabel(row.item);
  if (row.label == 0) return {};
  // The label is cut before the floor step goes in, whose decimal character may be ",".
  std::string text = CutLabel(LookupText(row.label));
  if (row.item == 9 && row.label == kMsgFloorsLabel) {
    const int step = std::max(m_line.Slots[10], 0);
    const std::string metres =
        step % 100 == 0 ? std::to_string(step / 100) : Hundredths(step, m_settings.decimal);
    text = ReplaceFirst(text, "%1", metres);
  }
  return text;
}

std::int64_t CLinearPriceTable::ValueOf(int item, int column) const {
  const int c = column - 1;
  const std::int64_t times = m_line.Multiplier();
  if (item >= 0 && item < kLinearSlotCount) return m_line.ItemValues[c][item] * times;
  if (item == kServicesItem) return m_line.ExtraValues[c] * times;
  if (item == kLineTotal) return m_line.TotalValues[c];
  if (item == kMultipliedTotal) return m_line.TotalValues[c] * times;
  if (item == kAllTotal && m_lines) {
    std::int64_t sum = 0;
    const int count = m_lines->FindLine(0, m_filter, m_settings.enabled);
    for (int n = 1; n <= count; ++n) {
      const CLinearLine& line = m_lines->Line(m_lines->FindLine(n, m_filter, m_settings.enabled));
      sum += static_cast<std::int64_t>(line.TotalValues[c]) * line.Multiplier();
    }
    return sum;
  }
  return -1;
}

int CLinearPriceTable::LinesOf(int totalItem) const {
  if (totalItem == kMultipliedTotal) return m_line.Multiplier();
  if (totalItem != kAllTotal || !m_lines) return 1;
  int lines = 0;
  const int count = m_lines->FindLine(0, m_filter, m_settings.enabled);
  for (int n = 1; n <= count; ++n)
    lines += m_lines->Line(m_lines->FindLine(n, m_filter, m_settings.enabled)).Multiplier();
  return lines;
}

std::string CLinearPriceTable::FormatValue(int item, int column, std::int64_t value,
                                           bool raw) const {
  const bool total = item == kLineTotal || item == kAllTotal || item == kMultipliedTotal;
  if (value < 0) return {};
  switch (column) {
    case 1:
      // A total of metres and pieces would mean nothing: the quantity stays per item.
      if (item == kServicesItem || total) return {};
      if (IsLengthItem(item))
        return (value % 100 == 0 ? std::to_string(value / 100)
                                 : Hundredths(value, m_settings.decimal)) +
               " m";
      return std::to_string(value);
    case 2:
    case 3:
      if (item == kServicesItem && column == 2) return {};
      return raw ? std::to_string(value) : FormatMoney(value);
    case 4: return total ? Hundredths(value, m_settings.decimal) : std::string();
    default: return item == kServicesItem ? std::string() : Hundredths(value, m_settings.decimal);
  }
}

int CLinearPriceTable::FormatDesignation(int row, int column, std::string& text, bool raw) const {
  text.clear();
  if (row == kCountRows) return static_cast<int>(m_rows.size());
  if (column < 0 || column > 7) return kNoRow;
  if (row == 0) {
    static constexpr int kHeader[5] = {kMsgHeaderDesignation, kMsgHeaderQuantity, kMsgHeaderGross,
                                       kMsgHeaderSale, kMsgHeaderTime};
    if (column < 5) text = LookupText(kHeader[column]);
    return kNoValue;
  }
  Row cell;
  if (row == -1) cell = {kLineTotal, kMsgTotal};
  else if (row == -2) cell = {kAllTotal, kMsgTotal};
  else if (row == -3) cell = {kMultipliedTotal, kMsgTotalTimes};
  else if (row < 0 || row > static_cast<int>(m_rows.size())) return kNoRow;
  else cell = m_rows[static_cast<std::size_t>(row - 1)];
  if (cell.item == kHeading && column != 0) return kNoValue;
  if (column == 0) {
    Row label = cell;
    const int lines = cell.item <= kLineTotal ? LinesOf(cell.item) : 0;
    // One line reads in the singular, which the plural's text cannot give.
    if (lines == 1 && cell.item != kMultipliedTotal) label.label = kMsgTotalOneLine;
    text = LabelText(label);
    if (cell.item <= kLineTotal) text = ReplaceFirst(text, "%1", std::to_string(lines));
    return cell.item;
  }
  if (cell.item == kEmptyRow || cell.item == kHeading) return kNoValue;
  const std::int64_t value = ValueOf(cell.item, column);
  text = FormatValue(cell.item, column, value, raw);
  if (text.empty()) return kNoValue;
  return SaturateToInt32(value);
}
