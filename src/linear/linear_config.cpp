#include "linear/linear_config.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "app/option_list_files.h"
#include "platform/text_conversions.h"
#include "linear/component_chooser.h"
#include "linear/linear_slots.h"

namespace {

constexpr const char* kListName = "lin_conf";

// An option list value as its table entry: one above the slot's default, at least 1,
// held below the top of the range so that a huge value does not wrap around.
int OptionTableEntry(int value) {
  return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{value} + 1, 1, INT32_MAX));
}

constexpr const char* kRangePrefix[CLinearConfig::kRangeCount] = {"QM", "QW", "QP", "QJ",
                                                                  "QD", "QY", "QF", "QYX"};

// The products of each range.
std::vector<int> RangeProducts(int range) {
  switch (range) {
    case CLinearConfig::kRangeQM: return {kProductQMA, kProductQMC};
    case CLinearConfig::kRangeQW: return {kProductQWA, kProductQWC};
    case CLinearConfig::kRangeQP: return {kProductQPA, kProductQPC};
    case CLinearConfig::kRangeQJ: return {kProductQJF};
    case CLinearConfig::kRangeQD: return {kProductQDA};
    case CLinearConfig::kRangeQY: return {kProductQYA, kProductQYB};
    case CLinearConfig::kRangeQF: return {kProductQFP};
    default: return {kProductQYX};
  }
}

int VariantOf(int range, int group) {
  if (range == CLinearConfig::kRangeQM || range == CLinearConfig::kRangeQW) return group % 3;
  if (range == CLinearConfig::kRangeQP) return (group + 1) % 2;
  return 0;
}

// The product whose catalogue rows complete a range's tap-off entries (-1 none).
int QueryProductOf(int range) {
  switch (range) {
    case CLinearConfig::kRangeQM: return kProductQMA;
    case CLinearConfig::kRangeQW: return kProductQWA;
    case CLinearConfig::kRangeQP: return kProductQPA;
    case CLinearConfig::kRangeQJ: return kProductQJF;
    case CLinearConfig::kRangeQD: return kProductQDA;
    case CLinearConfig::kRangeQY: return kProductQYA;
    default: return -1;
  }
}

bool ForcedOff(int product, int copper, bool apod) {
  if (copper == 0 &&
      (product == kProductQMC || product == kProductQWC || (product == kProductQPC && !apod)))
    return true;
  if (apod && (product == kProductQWA || product == kProductQWC || product == kProductQJF))
    return true;
  return product == kProductQFP || product == kProductQYX;
}

// The CHOIXTRAP code of a file value, by range.
int ChoiceCode(int range, int value) {
  if (range == CLinearConfig::kRangeQD) return value == 2 ? 6 : 11;
  return value == 2 ? 11 : 16;
}

// The file value that maps to a default CHOIXTRAP code, by range.
int ChoiceFileValue(int range, int code) {
  if (range == CLinearConfig::kRangeQD) return code == 11 ? 1 : 2;
  return code == 16 ? 1 : 2;
}

}  // namespace

CLinearConfig::CLinearConfig() {
  for (int g = 0; g < kLinearGroupCount; ++g) m_entries[g] = linear_defaults::GroupEntries(g);
  for (int range = 0; range < kRangeCount; ++range)
    for (int variant = 0; variant < 3; ++variant)
      if (OptionTable* table = TableOf(range, variant))
        *table = linear_defaults::OptionTable(range, variant);
  m_qyList = {1, 1, 0, 1, 0};
}

void CLinearConfig::ResetRunFlag() { COptionListFiles::ResetRun(kListName); }

CLinearConfig::OptionTable* CLinearConfig::TableOf(int range, int variant) {
  switch (range) {
    case kRangeQM: return variant < 3 ? &m_qm[variant] : nullptr;
    case kRangeQW: return variant < 3 ? &m_qw[variant] : nullptr;
    case kRangeQP: return variant < 2 ? &m_qp[variant] : nullptr;
    case kRangeQJ: return variant == 0 ? &m_qj : nullptr;
    case kRangeQD: return variant == 0 ? &m_qd : nullptr;
    case kRangeQY: return variant == 0 ? &m_qy : nullptr;
    case kRangeQF: return variant == 0 ? &m_qf : nullptr;
    case kRangeQYX: return variant == 0 ? &m_qyx : nullptr;
    default: return nullptr;
  }
}

void CLinearConfig::ComputeRanks(int g) {
  static constexpr std::pair<int, int> kBlocks[] = {{0, 12}, {12, 18}, {18, 20}};
  GroupEntries& ranks = m_ranks[g];
  const GroupEntries& entries = m_entries[g];
  for (const auto& [begin, end] : kBlocks)
    for (int i = begin; i < end; ++i) {
      ranks[i] = 0;
      if (entries[i] == 0) continue;
      for (int j = begin; j < end; ++j)
        if (entries[j] >= 1 && entries[j] <= entries[i]) ++ranks[i];
    }
  for (int e = 12; e < 20; ++e) {
    bool supported = false;
    for (int p = 0; p < kLinearProductCount; ++p)
      if (ranks[p] != 0 && SupportOf(p, g)[e - 12] != 0) supported = true;
    if (!supported) ranks[e] = 0;
  }
  auto any = [&](int begin, int end) {
    return std::any_of(ranks.begin() + begin, ranks.begin() + end, [](int r) { return r != 0; });
  };
  m_available[g] = any(0, 12) && any(12, 18) && any(18, 20);
}

int CLinearConfig::ReadLinearConfig(const std::string& settingsFolder, int copper, int apod,
                                    const CRefCoffTable* refCoff, const std::string& sampleFile) {
  m_qyList = {1, 1, 0, 1, 0};
  m_apod = apod != 0;
  COptionListFiles lists(settingsFolder, kListName, sampleFile);
  for (int g = 0; g < kLinearGroupCount; ++g) {
    const GroupEntries& defaults = linear_defaults::GroupEntries(g);
    m_entries[g] = defaults;
    const std::string section = std::to_string(g);
    for (int p = 0; p < kLinearProductCount; ++p) {
      if (defaults[p] == 0) continue;
      const std::string code = LinearProductCode(p, m_apod);
      lists.RecordDefault(section, code, std::to_string(defaults[p]));
      std::string text = lists.Read(section, code).value_or("");
      if (ForcedOff(p, copper, m_apod)) text.clear();
      m_entries[g][p] = text.empty() ? 0 : TextToInt(text);
    }
    ComputeRanks(g);
  }
  for (int range = 0; range < kRangeCount; ++range)
    for (int g = 0; g < kLinearGroupCount; ++g) {
      const std::vector<int> products = RangeProducts(range);
      if (std::none_of(products.begin(), products.end(),
                       [&](int p) { return m_entries[g][p] != 0; }))
        continue;
      ReadRangeSection(lists, range, g, refCoff);
    }
  lists.Finish();
  return 1;
}

void CLinearConfig::ReadRangeSection(COptionListFiles& lists, int range, int g,
                                     const CRefCoffTable* refCoff) {
  const OptionTable defaults = linear_defaults::OptionTable(range, VariantOf(range, g));
  OptionTable& table = *TableOf(range, VariantOf(range, g));
  const std::string section = std::string(kRangePrefix[range]) + "-" + std::to_string(g);
  for (int o = 0; o < kOptionCount; ++o) {
    table[o] = defaults[o];
    if (defaults[o] == 0) continue;
    const std::string key = linear_defaults::OptionKey(range, g, o);
    if (key.empty()) continue;
    if (o == 24) {
      if (Slot24Step(defaults[o]) != 0)
        lists.RecordDefault(section, "PASFIX", std::to_string(Slot24Step(defaults[o]) - 1));
      lists.RecordDefault(section, key,
                          std::to_string(ChoiceFileValue(range, Slot24Code(defaults[o]))));
    } else {
      lists.RecordDefault(section, key, std::to_string(defaults[o] - 1));
    }
    const std::string text = lists.Read(section, key).value_or("");
    if (o == 24) {
      ReadChoiceOption(lists, section, range, text, table[o]);
    } else if (text.empty()) {
      if (o == 13 || o == 5) table[o] = 0;
    } else {
      table[o] = OptionTableEntry(TextToInt(text));
    }
  }
  std::array<int, 5> boxes{table[30], table[31], table[32], table[33], table[34]};
  const int product = QueryProductOf(range);
  if (product >= 0 && (range != kRangeQY || table[30] < 2)) {
    QueryParamByProduct(refCoff, product, g, boxes);
    std::copy(boxes.begin(), boxes.end(), table.begin() + 30);
    if (range == kRangeQY) QueryParamByProduct(refCoff, kProductQYL, g, m_qyList);
  }
}

void CLinearConfig::ReadChoiceOption(const COptionListFiles& lists, const std::string& section,
                                     int range, const std::string& text, int& entry) {
  const int step = Slot24Step(entry);
  if (text.empty()) {
    if (range == kRangeQY) {
      entry = WithSlot24Code(entry, 11);
      m_qyList[3] = 0;
    }
  } else {
    const int value = TextToInt(text);
    entry = WithSlot24Code(entry, ChoiceCode(range, value));
    if (range == kRangeQY && value == 7) m_qyList[3] = 0;
  }
  if (step == 0) return;
  const std::string pasfix = lists.Read(section, "PASFIX").value_or("");
  if (!pasfix.empty())
    entry =
        (entry & ~0xFF00) | static_cast<int>(((std::int64_t{TextToInt(pasfix)} + 1) & 0xFF) << 8);
}
