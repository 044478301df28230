#include "linear/component_chooser.h"

#include <cstdlib>

#include "app/message_text.h"
#include "platform/text_conversions.h"
#include "linear/linear_products.h"
#include "linear/linear_slots.h"
#include "linear/ref_coff_table.h"

namespace {

constexpr int kMsgNoBox = 32180;

bool IsQyOrFp(int product) { return IsQyProduct(product) || product == kProductQFP; }

int IpNumber(const std::string& ip, int fallback) {
  return ip.size() > 2 ? TextToInt(ip.substr(2)) : fallback;
}

// The button number and POS of a row as the chooser reads them.
int RowButton(std::string& pos, int product) {
  int button = pos[0] - '1';
  if (IsQyOrFp(product)) {
    int n = pos[0] - '0';
    if (n == 3 || (n == 2 && pos.size() > 2 && pos[2] > '1')) ++n;
    pos = "1-" + std::to_string(n);
    button = 0;
  }
  return button;
}

int RatingNumber(const std::string& text, int product) {
  if (product == kProductQYL) return text.size() > 1 ? TextToInt(text.substr(1)) : 0;
  const std::size_t dash = text.find('-');
  return TextToInt(dash == std::string::npos ? text : text.substr(dash + 1));
}

}  // namespace

CComponentChooser::CComponentChooser(int product, int kind, int groupKind)
    : m_product(product), m_kind(kind), m_groupKind(groupKind) {}

bool CComponentChooser::LoadBoxEntries(const CRefCoffTable* table,
                                       const CLinearLine::SlotArray& slots) {
  m_entries.clear();
  if (!table || !table->IsLoaded()) return false;
  const bool qyl = m_product == kProductQYL;
  for (const CRefCoffTable::Row* row : table->RowsFor(m_product)) {
    if (static_cast<int>(m_entries.size()) >= kMaxEntries) break;
    if (!CRefCoffTable::IsLinearRow(*row) || row->pos.size() < 2) continue;
    std::string pos = row->pos;
    if (RowButton(pos, m_product) != m_kind - 20) continue;
    if (row->fct < 1 || row->fct > 100) continue;
    SBoxEntry entry;
    const char last = pos.back();
    entry.group = last >= '0' && last <= '9' ? last - '0' : 0;
    if (entry.group == 1 && m_kind == 21 && m_product == kProductQDA) entry.group = 0;
    entry.slot = row->fct + 29;
    entry.rating = {row->cal, row->cal};
    entry.ip = {row->ip1, row->ip2};
    entry.type = {row->typ1, m_groupKind == 7 ? row->ref2 : row->typ2};
    if (m_groupKind == 7 && entry.type[0] == "-") entry.type[0] = LookupText(kMsgNoBox);
    const std::int32_t value = slots[static_cast<std::size_t>(entry.slot)];
    if (value > 0) {
      entry.quantity = BoxQuantity(value);
      const int code = BoxIpCode(value);
      const int ip1 = IpNumber(row->ip1, qyl ? 1 : 0), ip2 = IpNumber(row->ip2, qyl ? 2 : 0);
      entry.variant = std::abs(code - ip2) < std::abs(code - ip1) ? 1 : 0;
    }
    m_entries.push_back(std::move(entry));
  }
  return true;
}

std::int32_t CComponentChooser::PackEntry(const SBoxEntry& entry) const {
  const int v = entry.variant == 1 ? 1 : 0;
  CBoxSlot box;
  box.quantity = entry.quantity;
  const std::string& ip = entry.ip[v];
  box.ip = ip.size() >= 3 ? TextToInt(ip.substr(2)) : (m_groupKind == 0 ? v + 1 : 54);
  if (IsQyOrFp(m_product))
    box.rating = entry.type[0].empty() || entry.type[0] == LookupText(kMsgNoBox) ? 0 : 1;
  else box.rating = RatingNumber(entry.rating[v], m_product);
  box.group = entry.group;
  box.button = m_kind - 20;
  return PackBoxSlot(box);
}

void CComponentChooser::StoreBoxEntries(CLinearLine::SlotArray& slots) const {
  for (const SBoxEntry& entry : m_entries)
    slots[static_cast<std::size_t>(entry.slot)] = entry.quantity == 0 ? -1 : PackEntry(entry);
}

int QueryParamByProduct(const CRefCoffTable* table, int product, int mode,
                        std::array<int, 5>& values) {
  if (values == std::array<int, 5>{}) return 1;
  const std::array<int, 5> saved = values;
  values.fill(0);
  if (!table || !table->IsLoaded()) return 0;
  for (const CRefCoffTable::Row* row : table->RowsFor(product)) {
    if (!CRefCoffTable::IsLinearRow(*row) || row->fct < 1 || row->fct > 100 || row->pos.size() < 2)
      continue;
    int position = row->pos[0] - '1';
    if (mode == 3 && product != kProductQYL) position = 0;
    if (position < 0 || position > 4) continue;
    if (values[position] == 0) values[position] = saved[position];
  }
  return 1;
}
