#include "grid/grid_cell.h"

std::unique_ptr<CGridCell> CGridCell::Clone() const {
  return std::unique_ptr<CGridCell>(new CGridCell(*this));
}

void CGridCell::Draw(CGridCanvas&, int, int, const CGridTextStyle&) const {}

void CGridCell::DrawFitted(CGridCanvas&, const CRect&, const CGridTextStyle&) const {}

CSize CGridCell::Measure(const CGridTextMeasurer&, const CGridTextStyle&) const { return {}; }
