#include "reference/ref_rating_entries.h"

#include <algorithm>
#include <cstdlib>

#include "app/message_text.h"
#include "linear/ref_coff_table.h"
#include "reference/ref_products.h"

namespace {

constexpr std::size_t kMaxEntries = 200;

bool BeginsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool Selected(const CRefCoffTable::Row& row, const CRatingSetup& setup) {
  if (setup.lineMode == 3) return BeginsWith(row.prod, "QYL");
  const char letter = RefRangeLetter(setup.productKind);
  if (letter == '\0') return false;
  return BeginsWith(row.prod, std::string{'Q', letter, ' '}) ||
         (setup.productKind <= 2 && BeginsWith(row.prod, "QYQF"));
}

// "MSG" and a number of 30000..32999 stands for that message's text.
std::string MessageOrText(const std::string& text) {
  if (!BeginsWith(text, "MSG")) return text;
  const int number = std::atoi(text.c_str() + 3);
  return number >= 30000 && number < 33000 ? StringText(number) : text;
}

std::string FamilyFiveType(const std::string& typ1) {
  if (typ1.empty() || typ1.front() != '-') return typ1;
  const std::string text = typ1.substr(1);
  const std::string inserted = StringText(32237).substr(0, StringText(32237).find('('));
  const std::size_t paren = text.find('(');
  if (paren == std::string::npos) return StringText(32180) + text + inserted;
  return StringText(32180) + text.substr(0, paren) + inserted + text.substr(paren);
}

CRatingEntry MakeEntry(const CRefCoffTable::Row& row, const CRefLine& line,
                       const CRatingSetup& setup) {
  CRatingEntry entry;
  const char last = row.pos.back();
  entry.group =
      last == '?' ? CRatingEntry::kEveryGroup : (last >= '0' && last <= '9' ? last - '0' : 0);
  entry.slot = row.fct - 1;
  entry.typeLabel = MessageOrText(row.pol);
  if (setup.specialMode == 2 && (row.pol == "2 poles+PE" || row.pol == "MSG32471"))
    entry.typeLabel = StringText(32007) + " + PE";  // as the language files write "4 poles + PE"
  entry.rating = row.cal;
  entry.ip = {row.ip1, row.ip2};
  const bool refTypes = setup.family == 5 || setup.family == 6;
  entry.type = {setup.family == 5 ? FamilyFiveType(row.typ1) : row.typ1,
                refTypes ? row.ref2 : row.typ2};
  const std::int32_t stored = line.slots[static_cast<std::size_t>(entry.slot)];
  if (stored > 0) {
    entry.value = stored & 0xFFFF;
    if (!refTypes) {
      const bool qyl = setup.lineMode == 3;
      const int code = (stored >> 16) & 63;
      const int p1 = RefProtectionNumber(row.ip1, qyl ? 1 : 0);
      const int p2 = RefProtectionNumber(row.ip2, qyl ? 2 : 0);
      entry.variant = std::abs(code - p2) < std::abs(code - p1) ? 1 : 0;
    }
  }
  return entry;
}

bool InGroup(const CRatingEntry& entry, int group) {
  return entry.group == CRatingEntry::kEveryGroup || entry.group == group;
}

}  // namespace

int RefProtectionNumber(const std::string& ip, int otherwise) {
  return ip.size() > 2 ? std::atoi(ip.c_str() + 2) : otherwise;
}

std::vector<CRatingEntry> RefLoadRatingEntries(const CRefCoffTable& table, const CRefLine& line,
                                               const CRatingSetup& setup) {
  std::vector<CRatingEntry> entries;
  for (const CRefCoffTable::Row& row : table.Rows()) {
    if (entries.size() >= kMaxEntries) break;
    if (!Selected(row, setup)) continue;
    if (!row.param.empty() && row.param.find('R') == std::string::npos) continue;
    if (row.pos.size() < 2 || row.pos[0] != '1' + (setup.kind - 20)) continue;
    if (row.fct < 1 || row.fct > CRefLine::kSlotCount) continue;
    entries.push_back(MakeEntry(row, line, setup));
  }
  return entries;
}

std::vector<std::size_t> RefShownRatingEntries(const std::vector<CRatingEntry>& entries, int group,
                                               const std::string& type, int family) {
  const std::size_t most = family == 10 ? 4 : 10;
  std::vector<std::size_t> shown;
  for (std::size_t i = 0; i < entries.size() && shown.size() < most; ++i)
    if (InGroup(entries[i], group) && (entries[i].typeLabel == "?" || entries[i].typeLabel == type))
      shown.push_back(i);
  return shown;
}

std::vector<std::string> RefRatingTypes(const std::vector<CRatingEntry>& entries, int group) {
  std::vector<std::string> types;
  for (const CRatingEntry& entry : entries)
    if (InGroup(entry, group) && entry.typeLabel != "?" &&
        std::find(types.begin(), types.end(), entry.typeLabel) == types.end())
      types.push_back(entry.typeLabel);
  return types;
}

bool RefRatingHasSwitch(const CRatingEntry& entry, int family) {
  return (family < 5 || family > 6) && !entry.ip[0].empty() && !entry.ip[1].empty();
}

void RefResetVariant(CRatingEntry& entry, int family, bool ip54Connection) {
  if (!RefRatingHasSwitch(entry, family)) {
    entry.variant = 0;
    return;
  }
  if (entry.value == 0) entry.variant = 0;
  if (ip54Connection && RefProtectionNumber(entry.ip[1], 0) == 54) entry.variant = 1;
}

std::int32_t RefPackRatingEntry(const CRatingEntry& entry, int family) {
  if (entry.value <= 0) return 0;
  const std::string& ip = entry.ip[static_cast<std::size_t>(entry.variant != 0 ? 1 : 0)];
  const int code = ip.size() >= 3 ? RefProtectionNumber(ip, 0)
                   : family == 9  ? entry.variant + 1
                                  : 54;
  return std::min(entry.value, 0xFFFF) | ((code & 63) << 16);
}

void RefStoreRatingEntries(std::vector<CRatingEntry>& entries,
                           const std::vector<std::size_t>& shown, const std::vector<int>& values,
                           int family, CRefLine& line) {
  for (std::size_t row = 0; row < shown.size() && row < values.size(); ++row)
    if (shown[row] < entries.size()) entries[shown[row]].value = std::clamp(values[row], 0, 9999);
  for (const CRatingEntry& entry : entries)
    if (entry.slot >= 0 && entry.slot < CRefLine::kSlotCount)
      line.slots[static_cast<std::size_t>(entry.slot)] = RefPackRatingEntry(entry, family);
}
