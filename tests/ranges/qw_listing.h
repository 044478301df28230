#pragma once

#include "model/bom/bom_grid.h"
#include "model/run/run.h"

#include <optional>
#include <string>

// The bill of a run as the QW sample's golden listing keeps it: each line's reference,
// quantity and price formula.
inline std::string QWBillListing(CRun& run) {
  std::string listing =
      "run " + run.GetPropText("Catalog") + " " + run.GetPropText("Calibre") + "\n";
  const CBOMGrid& bom = run.GetBOM();
  for (int row = 1; row < bom.GetLineCount(); ++row) {
    const std::string& reference = bom.GetLine(row)->reference;
    listing += "  [" + reference + "] x" + std::to_string(bom.GetLineQuantity(row));
    const std::optional<std::string> formula = run.GetPriceFormula(reference);
    listing += formula ? " = " + *formula + "\n" : "\n";
  }
  return listing;
}
