#include "model/element/dev.h"
#include "ranges/qg/run_qg.h"

#include <algorithm>
#include <set>

namespace {

// A chain this long (in millimetres) is reported as too long for one piece.
constexpr int kLongChain = 90000;

// The longest sum of step lengths from the element away from the side it was entered
// by. The elements of the path in hand are skipped, so a ring of links ends.
int LongestFrom(const CDev& element, int side, std::set<const CDev*>& onPath) {
  if (side >= 0 && element.GetKind() == CDev::kInLineVariant && element.GetVariant() == 13)
    return 0;
  onPath.insert(&element);
  int longest = 0;
  for (int face = 0; face < CDev::kFaceCount; ++face) {
    const CDev* next = element.GetNeighbour(face);
    if (next == nullptr || onPath.contains(next)) continue;
    if (side >= 0 && face == CDev::OppositeDirection(side)) continue;
    const int step =
        face == element.GetBackFace() ? element.GetBookedLength() : next->GetBookedLength();
    longest = std::max(longest, step + LongestFrom(*next, face, onPath));
  }
  onPath.erase(&element);
  return longest;
}

}  // namespace

int CRunQG::GetLongestPathLength(const CDev& element, int side) const {
  std::set<const CDev*> onPath;
  const int longest = LongestFrom(element, side, onPath);
  if (side >= 0) return longest;
  return longest >= kLongChain ? 1 : 0;
}
