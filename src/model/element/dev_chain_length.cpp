#include "model/element/dev.h"

#include <unordered_set>

namespace {

bool ExtendsChain(const CDev& element) {
  return (element.GetKind() == CDev::kInLine && element.GetVariant() == 0) ||
         (element.GetKind() == CDev::kStraight && element.GetVariant() == 123);
}

std::int64_t OwnLength(const CDev& element, bool drawn) {
  return drawn ? element.GetDrawnLength() : element.GetBookedLength();
}

}  // namespace

std::int64_t CDev::GetChainLength(int face, bool drawn) const {
  const int along = face < 0 ? GetBackFace() : face;
  std::int64_t length = OwnLength(*this, drawn);
  std::unordered_set<const CDev*> visited{this};
  for (const CDev* next = GetNeighbour(along);
       next != nullptr && ExtendsChain(*next) && visited.insert(next).second;
       next = next->GetNeighbour(along)) {
    length += OwnLength(*next, drawn);
  }
  return length;
}
