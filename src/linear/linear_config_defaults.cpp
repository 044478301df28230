#include <initializer_list>
#include <utility>

#include "linear/linear_config.h"

namespace linear_defaults {

const CLinearConfig::GroupEntries& GroupEntries(int group) {
  static const CLinearConfig::GroupEntries kEntries[kLinearGroupCount] = {
      {3, 4, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 3, 1, 2, 0, 0, 0, 1, 2},
      {5, 6, 1, 2, 3, 0, 0, 0, 0, 0, 4, 0, 3, 1, 2, 0, 0, 0, 1, 2},
      {4, 5, 0, 0, 2, 6, 1, 0, 0, 0, 3, 0, 4, 1, 2, 3, 0, 0, 1, 2},
      {0, 0, 0, 0, 0, 0, 0, 3, 4, 1, 0, 1, 1, 2, 3, 4, 5, 0, 1, 2},
  };
  return kEntries[group < 0 ? 0 : group > 3 ? 3 : group];
}

namespace {

using Pairs = std::initializer_list<std::pair<int, int>>;

CLinearConfig::OptionTable Make(Pairs pairs) {
  CLinearConfig::OptionTable table{};
  for (const auto& [index, value] : pairs) table[static_cast<std::size_t>(index)] = value;
  return table;
}

}  // namespace

CLinearConfig::OptionTable OptionTable(int range, int variant) {
  switch (range) {
    case CLinearConfig::kRangeQM:
      if (variant == 0)
        return Make({{0, 1},
                     {1, 1},
                     {2, 1},
                     {5, 1},
                     {7, 1},
                     {11, 1},
                     {13, 1},
                     {15, 1},
                     {16, 1},
                     {18, 1},
                     {19, 1},
                     {20, 1},
                     {21, 1},
                     {22, 1},
                     {23, 1},
                     {26, 1},
                     {27, 1},
                     {28, 3}});
      if (variant == 1)
        return Make({{2, 1},
                     {3, 1},
                     {5, 1},
                     {7, 1},
                     {9, 1},
                     {10, 1},
                     {11, 1},
                     {12, 1},
                     {13, 1},
                     {18, 1},
                     {19, 1},
                     {20, 1},
                     {28, 3},
                     {30, 1},
                     {31, 1},
                     {32, 1}});
      return Make({{2, 1},
                   {3, 1},
                   {5, 1},
                   {6, 1},
                   {7, 1},
                   {11, 1},
                   {13, 1},
                   {18, 1},
                   {19, 1},
                   {20, 1},
                   {28, 3},
                   {30, 1},
                   {31, 1},
                   {32, 1}});
    case CLinearConfig::kRangeQW:
      if (variant == 0)
        return Make(
            {{2, 1}, {3, 1}, {5, 1}, {7, 1}, {8, 1}, {11, 1}, {13, 1}, {14, 1}, {16, 1}, {17, 1}});
      if (variant == 1)
        return Make({{2, 1},
                     {3, 1},
                     {5, 1},
                     {7, 1},
                     {8, 1},
                     {9, 1},
                     {10, 1},
                     {11, 1},
                     {12, 1},
                     {13, 1},
                     {14, 1},
                     {30, 1}});
      return Make(
          {{2, 1}, {3, 1}, {6, 1}, {7, 1}, {8, 1}, {11, 1}, {13, 1}, {14, 1}, {29, 2}, {30, 1}});
    case CLinearConfig::kRangeQP:
      if (variant == 0)
        return Make({{2, 1},
                     {3, 1},
                     {5, 1},
                     {7, 1},
                     {9, 1},
                     {10, 1},
                     {11, 1},
                     {12, 1},
                     {14, 1},
                     {30, 1},
                     {31, 1},
                     {32, 1},
                     {34, 1}});
      return Make({{2, 1},
                   {3, 1},
                   {4, 1},
                   {6, 1},
                   {7, 1},
                   {11, 1},
                   {14, 1},
                   {29, 2},
                   {30, 1},
                   {31, 1},
                   {32, 1},
                   {34, 1}});
    case CLinearConfig::kRangeQJ:
      return Make({{2, 1},
                   {3, 1},
                   {5, 1},
                   {6, 1},
                   {7, 1},
                   {11, 1},
                   {18, 1},
                   {25, 1},
                   {26, 1},
                   {30, 1},
                   {31, 1},
                   {32, 1}});
    case CLinearConfig::kRangeQD:
      return Make({{3, 1},
                   {4, 1},
                   {6, 1},
                   {7, 1},
                   {11, 1},
                   {24, 11},
                   {29, 2},
                   {30, 1},
                   {31, 1},
                   {32, 1},
                   {34, 1}});
    case CLinearConfig::kRangeQY:
      return Make({{3, 1}, {6, 1}, {11, 1}, {24, 16}, {29, 2}, {30, 1}, {32, 1}});
    case CLinearConfig::kRangeQF:
      return Make({{3, 1}, {6, 1}, {11, 1}, {24, 16}, {29, 2}, {30, 1}});
    case CLinearConfig::kRangeQYX: return Make({{3, 1}, {6, 1}, {11, 1}, {29, 2}});
    default: return {};
  }
}

std::string OptionKey(int range, int group, int option) {
  switch (option) {
    case 0: return "PACK";
    case 1: return "TRF";
    case 2: return range == CLinearConfig::kRangeQJ ? "TBLAC" : "TBL";
    case 3: return "CBL";
    case 4: return "CTRL";
    case 5: return range == CLinearConfig::kRangeQP && group == 1 ? "TRANSP" : "";
    case 13: return "CPF";
    case 15: return "PACK2";
    case 16: return "TBL2";
    case 17: return "CBL2";
    case 18: return "CAP";
    case 19: return "TRESS";
    case 20: return "CLINQ";
    case 21: return "CAP2";
    case 22: return "TRESS2";
    case 23: return "CLINQ2";
    case 24: return "CHOIXTRAP";
    case 25: return "TBLAK";
    case 26: return range == CLinearConfig::kRangeQM ? "TRF1" : "BARR";
    case 27: return "PACK1";
    default: return "";
  }
}

}  // namespace linear_defaults
