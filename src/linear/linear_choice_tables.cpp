#include "linear/linear_config.h"
#include "linear/linear_line.h"
#include "linear/linear_slots.h"

namespace {

int RangeOfProduct(int product) {
  switch (product) {
    case kProductQMA:
    case kProductQMC: return CLinearConfig::kRangeQM;
    case kProductQWA:
    case kProductQWC: return CLinearConfig::kRangeQW;
    case kProductQPA:
    case kProductQPC: return CLinearConfig::kRangeQP;
    case kProductQJF: return CLinearConfig::kRangeQJ;
    case kProductQDA: return CLinearConfig::kRangeQD;
    case kProductQYA:
    case kProductQYB: return CLinearConfig::kRangeQY;
    case kProductQFP: return CLinearConfig::kRangeQF;
    default: return CLinearConfig::kRangeQYX;
  }
}

}  // namespace

const CLinearConfig::OptionTable& CLinearConfig::OptionTableFor(int product, int group) const {
  return const_cast<CLinearConfig*>(this)->OptionTableFor(product, group);
}

CLinearConfig::OptionTable& CLinearConfig::OptionTableFor(int product, int group) {
  const int g = Clamp(group);
  const int range = RangeOfProduct(product);
  const int variant = range == kRangeQM || range == kRangeQW ? g % 3
                      : range == kRangeQP                    ? (g + 1) % 2
                                                             : 0;
  return *TableOf(range, variant);
}

CLinearConfig::OptionTable CLinearConfig::LineOptionTable(const CLinearLine& line) const {
  OptionTable table = OptionTableFor(line.Product, line.Group);
  const int p = line.Product;
  const int rating = line.Rating;
  const bool ipRule = IsQwProduct(p) || (IsQpProduct(p) && m_apod);
  if ((ipRule && line.IpDegree != 54) || (p == kProductQPC && !m_apod)) table[14] = 0;
  if ((p == kProductQMA && rating >= 4001) || (p == kProductQMC && rating > 5000))
    table[0] = table[3] = 0;
  if (p == kProductQMC && rating == 5000) table[0] = table[15] = table[27] = 0;
  if (p == kProductQJF && rating > 3400) table[3] = 0;
  if (p == kProductQYB || (p == kProductQYA && rating != 25))
    table[24] = WithSlot24Code(table[24], 11);
  if (p == kProductQPC && m_apod) table[4] = 0;
  if (line.Group == 3 && line.Slots[125] > 0)
    for (int i = 0; i < 3; ++i) table[30 + i] = m_qyList[i];
  return table;
}

std::vector<int> CLinearConfig::RatingsOf(int product, bool apod) {
  switch (product) {
    case kProductQMA: return {800, 1000, 1250, 1600, 2000, 2500, 3200, 4000};
    case kProductQMC: return {1000, 1350, 1600, 2000, 2500, 3200, 4000, 5000};
    case kProductQWA: return {200, 315, 400, 500, 630, 800};
    case kProductQWC: return {200, 315, 400, 630, 800};
    case kProductQPA:
      if (apod) return {100, 160, 250, 400, 500, 630, 800};
      return {100, 160, 250, 400, 500, 630, 800, 1000};
    case kProductQJF: return {1000, 1200, 1450, 2200, 2500, 3000, 3400, 4000, 4500};
    case kProductQDA: return {40, 63, 100, 160};
    case kProductQYA:
    case kProductQYB: return {25, 40};
    case kProductQFP: return {20};
    case kProductQPC:
      if (apod) return {100, 160, 250, 400, 500, 630, 800};
      return {160, 250, 400, 630, 800};
    case kProductQYX: return {25};
    default: return {};
  }
}

std::array<int, 8> CLinearConfig::SupportOf(int product, int group) {
  switch (product) {
    case kProductQMA:
    case kProductQMC: return {1, 1, 1, 0, 0, 0, 1, 1};
    case kProductQWA:
    case kProductQWC: return {group == 1 ? 0 : 1, 1, 1, 0, 0, 0, 1, 1};
    case kProductQPA:
    case kProductQDA:
    case kProductQPC: return {0, 1, 0, 0, 0, 0, 1, 1};
    case kProductQJF: return {1, 1, 0, 1, 0, 0, 1, 0};
    case kProductQYA:
    case kProductQFP: return {1, 1, 0, 0, 0, 0, 1, 0};
    case kProductQYB: return {1, 1, 1, 1, 1, 0, 1, 1};
    case kProductQYX: return {0, 1, 0, 0, 0, 0, 1, 0};
    default: return {};
  }
}

std::vector<int> CLinearConfig::GetChoiceTable(int kind, const CLinearLine& line) const {
  switch (kind) {
    case 0: {
      GroupEntries ranks = Ranks(line.Group);
      if (line.Group == 3) {
        if (ranks[18] == 0) ranks[12] = ranks[13] = 0;
        if (ranks[19] == 0) ranks[14] = ranks[15] = ranks[16] = 0;
      }
      return {ranks.begin(), ranks.end()};
    }
    case 1: {
      const OptionTable table = LineOptionTable(line);
      return {table.begin(), table.end()};
    }
    case 2: {
      std::vector<int> table(kLinearProductCount * 10, 0);
      for (int p = 0; p < kLinearProductCount; ++p) {
        const std::vector<int> ratings = RatingsOf(p, m_apod);
        for (std::size_t i = 0; i < ratings.size() && i < 10; ++i) table[p * 10 + i] = ratings[i];
      }
      return table;
    }
    case 3: {
      std::vector<int> table;
      for (int p = 0; p < kLinearProductCount; ++p) {
        const std::array<int, 8> support = SupportOf(p, line.Group);
        table.insert(table.end(), support.begin(), support.end());
      }
      return table;
    }
    default: return {};
  }
}
