#include "linear/linear_line.h"

void CLinearLine::Clear() {
  Name.clear();
  Comment.clear();
  Group = Product = Rating = Conductors = IpDegree = -1;
  Slots.fill(-1);
  SecondVariant = 0;
  for (SlotArray& column : ItemValues) column.fill(0);
  ExtraValues.fill(0);
  TotalValues.fill(0);
}

void CLinearLine::Assign(const CLinearLine& source) {
  const double weight = LineWeight;
  *this = source;
  LineWeight = weight;
}

int CLinearLine::Multiplier() const { return Slots[29] >= 1 ? Slots[29] : 1; }
