#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

#include "app/message_text.h"
#include "reference/ref_catalogue.h"
#include "reference/ref_line.h"
#include "reference/ref_messages.h"

namespace {

bool BeginsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The protection number of an IP1/IP2 text: the integer from its third character on.
int ProtectionNumber(const std::string& ip, int otherwise) {
  if (ip.size() <= 2) return otherwise;
  return std::atoi(ip.c_str() + 2);
}

std::string Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

}  // namespace

std::vector<const CRefCoffTable::Row*> CRefCatalogue::TapOffRowsFor(const CRefLine& line) const {
  std::vector<const CRefCoffTable::Row*> rows;
  const char letter = RefRangeLetter(line.productKind);
  if (letter == '\0') return rows;
  const std::string range{'Q', letter, ' '};
  const bool withLuminaires = line.productKind >= 0 && line.productKind <= 2;
  for (const CRefCoffTable::Row& row : m_refCoff.Rows()) {
    const bool selected = line.lineMode == 3 ? BeginsWith(row.prod, "QYL")
                                             : BeginsWith(row.prod, range) ||
                                                   (withLuminaires && BeginsWith(row.prod, "QYQF"));
    if (selected) rows.push_back(&row);
  }
  return rows;
}

void CRefCatalogue::ExpandTapOffReferences(CRefLine& line) const {
  const int defaultIp1 = line.lineMode == 3 ? 1 : 0, defaultIp2 = line.lineMode == 3 ? 2 : 0;
  std::array<bool, CRefLine::kSlotCount> priced{};
  for (const CRefCoffTable::Row* row : TapOffRowsFor(line)) {
    if (!row->param.empty() && row->param.find('R') == std::string::npos) continue;
    if (row->fct < 1 || row->fct > CRefLine::kSlotCount) continue;
    const std::int32_t slot = line.slots[static_cast<std::size_t>(row->fct - 1)];
    const int units = CRefLine::SlotUnits(slot);
    if (units <= 0) continue;
    const int p = CRefLine::SlotProtection(slot);
    const int p1 = ProtectionNumber(row->ip1, defaultIp1),
              p2 = ProtectionNumber(row->ip2, defaultIp2);
    const bool second = p > 0 && std::abs(p - p2) < std::abs(p - p1);
    const std::string& formula = second ? row->ref2 : row->ref1;
    if (!formula.empty()) priced[static_cast<std::size_t>(row->fct - 1)] = true;
    std::size_t start = 0;
    while (!formula.empty() && start <= formula.size()) {
      std::size_t plus = formula.find('+', start);
      if (plus == std::string::npos) plus = formula.size();
      std::string term = Trimmed(std::string_view(formula).substr(start, plus - start));
      start = plus + 1;
      int kind = 3;
      if (term.size() > 2 && term[1] == '_' && term[0] >= '0' && term[0] <= '5') {
        kind = term[0] - '0';
        term = term.substr(2);
        if (!ResolveComponentReference(line, term)) continue;
      }
      if (!term.empty()) AddPricedItem(line, term, std::int64_t{units} * line.lineQuantity, kind);
    }
  }
  // Units on a slot that no row prices would vanish from the price without a word.
  for (int slot = 0; slot < CRefLine::kSlotCount; ++slot) {
    const int units = CRefLine::SlotUnits(line.slots[static_cast<std::size_t>(slot)]);
    if (units > 0 && !priced[static_cast<std::size_t>(slot)])
      Report(FormatMessageText(kMsgRefUnpricedSlot, "dds", units, slot + 1,
                               std::string(RefProductCode(line.productKind))));
  }
}
