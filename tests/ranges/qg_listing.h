#pragma once

#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "model/run/run.h"

#include <string>

// The bill of materials as a listing: one line a reference with its quantity; the line
// breaks of group texts shown as "|".
inline std::string QGBillListing(const CRun& run) {
  std::string listing;
  const CBOMGrid& bom = run.GetBOM();
  for (int row = 1; row < bom.GetLineCount(); ++row) {
    std::string reference = bom.GetLine(row)->reference;
    for (char& c : reference) {
      if (c == '\n') c = '|';
    }
    listing += "  " + reference + " x" + std::to_string(bom.GetLineQuantity(row)) + "\n";
  }
  return listing;
}

// The QG sample's golden listing of a built run: its code, rating, parts state and
// support count, its bill, and the support codes of its elements in chain order.
inline std::string QGSampleListing(const CRun& run) {
  // The run's weight, which the program adds after a "/" from its article table, is
  // left out.
  const std::string supports = run.GetPropText("SUPP");
  std::string listing = "run " + run.GetPropText("Catalog") + " " + run.GetPropText("Calibre") +
                        " state " + std::to_string(run.GetPartsState()) + " supports " +
                        supports.substr(0, supports.find('/')) + "\n" + QGBillListing(run);
  for (const CDev* element : run.GetChainOrder()) {
    const std::string supports = element->GetPropValue("SUPP");
    if (!supports.empty()) listing += "  SUPP " + supports + "\n";
  }
  return listing;
}
