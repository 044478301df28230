#include "samplewriter/costing_columns.h"

#include "model/bom/bom_column_kind.h"
#include "model/bom/bom_grid.h"

#include <array>

bool AddCostingColumns(CBOMGrid& grid) {
  static constexpr std::array<int, 8> kKinds = {
      kBOMKindDesignation, kBOMKindQuantity,   kBOMKindUnitPrice,   kBOMKindTotalPrice,
      kBOMKindDiscount,    kBOMKindSalesPrice, kBOMKindTotalWeight, kBOMKindTotalTime};
  for (int kind : kKinds) {
    // Each after the last one; the titles are given anew in the program's language when
    // the document is read.
    if (!grid.InsertColumn(grid.GetColumnCount() - 1, kind, BOMDefaultTitle(kind))) return false;
  }
  return true;
}
