#include <array>
#include <vector>

#include "linear/ref_coff_table.h"
#include "reference/ref_choice_captions.h"
#include "reference/ref_products.h"

namespace {

struct Family {
  int title;
  int number;
};

// The rating families by family index (1..7) and product column: kinds 4 and 8, 5 and
// 7, 3, 0 to 2, and 9 (the tap-off table). A title of 0: the product has no such family.
constexpr std::array<std::array<Family, 5>, 7> kFamilies = {{
    {{{32024, 1}, {32025, 2}, {32066, 1}, {32029, 5}, {32269, 9}}},
    {{{32025, 2}, {32258, 7}, {32067, 2}, {32030, 5}, {32270, 9}}},
    {{{32026, 30}, {32261, 8}, {32068, 3}, {32244, 6}, {0, 0}}},
    {{{32027, 4}, {32026, 3}, {32069, 4}, {32031, 5}, {0, 0}}},
    {{{32422, 10}, {32422, 10}, {32422, 10}, {32422, 10}, {32422, 10}}},
    {{{32432, 11}, {32432, 11}, {32432, 11}, {32432, 11}, {32432, 11}}},
    {{{32433, 12}, {32433, 12}, {32433, 12}, {32433, 12}, {32433, 12}}},
}};

int Column(int productKind) {
  switch (productKind) {
    case 4:
    case 8: return 0;
    case 5:
    case 7: return 1;
    case 3: return 2;
    case 0:
    case 1:
    case 2: return 3;
    case 9: return 4;
    default: return -1;
  }
}

Family FamilyOf(int productKind, int familyIndex) {
  const int column = Column(productKind);
  if (column < 0 || familyIndex < 1 || familyIndex > 7) return {0, 0};
  return kFamilies[static_cast<std::size_t>(familyIndex - 1)][static_cast<std::size_t>(column)];
}

int GroupCaption(int key, int productKind, int familyIndex, int specialMode) {
  const bool boxes = productKind == 4 || productKind == 8;
  const bool wide = familyIndex >= 4 || specialMode == 1 || specialMode == 2;
  if (key >= 11 && key <= 13) return 31056 + key - 11;
  if (key >= 14 && key <= 16) return 31142 + key - 14;
  if (key == 17) return 31157;
  if (key == 21 || key == 22) return 32076 + key - 21;
  if (key >= 41 && key <= 43) return (boxes ? 32052 : 32055) + key - 41;
  if (key == 51 || key == 61) return wide ? 32078 : 32236;
  if (key == 52 || key == 62) return wide ? 32079 : 32237;
  if (key == 53 || key == 63) return familyIndex < 4 ? 32243 : 32069;
  if (key == 71 || key == 72) return 32259 + key - 71;
  if (key >= 81 && key <= 83) return 32262 + key - 81;
  if (key == 91 || key == 92) return 32271 + key - 91;
  if (key == 101 || key == 102) return 32423 + key - 101;
  if (key >= 111 && key <= 113) return 32434 + key - 111;
  if (key >= 301 && key <= 304) return 31153 + key - 301;
  return 0;
}

bool BeginsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::uint32_t GetRatingCaptionId(int productKind, int familyIndex, int& code, int specialMode) {
  const Family family = FamilyOf(productKind, familyIndex);
  if (code == 0) {
    const bool units = productKind == 3 || productKind == 4 || productKind == 5 ||
                       productKind == 7 || productKind == 8;
    const std::uint32_t header = productKind == 9 ? 32268 : units ? 32023 : 32028;
    code = family.number;
    return (header << 16) | static_cast<std::uint32_t>(family.title);
  }
  const int group = GroupCaption(family.number * 10 + code, productKind, familyIndex, specialMode);
  return static_cast<std::uint32_t>(group ? group : family.title);
}

bool QueryParamTable(const std::string& catalogueFolder, int productKind,
                     std::array<int, 7>& states, std::array<int, 5>& connections,
                     std::array<int, 9>* connectors) {
  if (states[0] == 0 && states[1] == 0 && states[2] == 0 && states[3] == 0 && states[4] == 0)
    return true;
  const std::array<int, 7> saved = states;
  states.fill(0);
  if (connectors) connectors->fill(-1);
  CRefCoffTable table;
  if (!table.Load(catalogueFolder, false)) return false;
  const bool tapOffTable = productKind == 9;
  const std::string range{'Q', tapOffTable ? 'Y' : RefRangeLetter(productKind), ' '};
  for (const CRefCoffTable::Row& row : table.Rows()) {
    const bool selected = tapOffTable ? BeginsWith(row.prod, "QYL")
                                      : BeginsWith(row.prod, range) ||
                                            (productKind <= 2 && BeginsWith(row.prod, "QYQF"));
    if (!selected || (!row.param.empty() && row.param.find('R') == std::string::npos)) continue;
    if (row.fct < 1 || row.fct > 200 || row.pos.size() < 2) continue;
    if (row.pos[0] < '1' || row.pos[0] > '7') continue;
    const int p = row.pos[0] - '1';
    if (p == 5 && productKind == 8) continue;
    states[static_cast<std::size_t>(p)] = saved[static_cast<std::size_t>(p)];
    int& connection = connections[static_cast<std::size_t>(p) + 1];
    if (p < 4 && connection == 0) connection = (row.fct - 1) | ((tapOffTable ? 1 : 54) << 16);
    if (connectors && row.ip2.size() >= 2 && row.ip2[0] == 'C' && row.ip2[1] >= '0' &&
        row.ip2[1] <= '8')
      (*connectors)[static_cast<std::size_t>(row.ip2[1] - '0')] = row.fct - 1;
  }
  return true;
}
