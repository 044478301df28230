#include "pages/element_extents.h"

#include "geometry/box.h"
#include "model/element/dev.h"

#include <cstdlib>

std::int64_t HousingExtentAlong(const CDev* element, int direction) {
  const CBox* box = element != nullptr ? element->GetBox(CDev::kBodySlot) : nullptr;
  if (box == nullptr || direction < 0 || direction >= CDev::kFaceCount) return 0;
  // A box keeps its extents along z, x and y in that order.
  int index = 2;
  if (direction == 0 || direction == 4) index = 1;
  else if (direction == 1 || direction == 5) index = 0;
  return std::llabs(static_cast<std::int64_t>(box->GetExtent(index)));
}
