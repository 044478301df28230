#include "model/element/dev_placement_support.h"

#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "model/document/run_document.h"

#include <unordered_set>

namespace dev_placement {

C3DPoint Along(int direction, double distance) {
  C3DPoint step;
  SetCoordinate(step, AxisOf(direction), Positive(direction) ? distance : -distance);
  return step;
}

void TakeOut(const CDev& element, CBox* box) {
  C3DProjection* projection = element.GetProjection();
  if (box != nullptr && projection != nullptr && box->IsListed())
    projection->RemoveFromDisplayList(*box);
}

void PutBack(const CDev& element, CBox* box) {
  C3DProjection* projection = element.GetProjection();
  if (box != nullptr && projection != nullptr && !box->IsListed())
    projection->InsertInDisplayList(*box);
}

void PlaceBySizes(CBox& box, const C3DPoint& centre, double sx, double sy, double sz) {
  // CBox keeps its extents along z, x and y, in that order.
  box.SetPlacement(centre, TruncateSize(sz), TruncateSize(sx), TruncateSize(sy));
}

std::int32_t TruncateSize(double size) {
  if (!(size > -2147483647.0 && size < 2147483647.0)) return 0;
  return static_cast<std::int32_t>(size);
}

std::int64_t LowerBound(const CBox& box, int axis) {
  return static_cast<std::int64_t>(Coordinate(box.GetWorldMin(), axis));
}

std::int64_t UpperBound(const CBox& box, int axis) {
  return static_cast<std::int64_t>(Coordinate(box.GetWorldMax(), axis));
}

std::vector<CDev*> ChainFrom(CDev& start) {
  std::vector<CDev*> order;
  std::unordered_set<const CDev*> seen;
  std::vector<CDev*> pending{&start};
  while (!pending.empty()) {
    CDev* element = pending.back();
    pending.pop_back();
    if (!seen.insert(element).second) continue;
    order.push_back(element);
    const std::vector<int> faces = element->ForwardFaces();
    for (auto it = faces.rbegin(); it != faces.rend(); ++it)
      pending.push_back(element->GetNeighbour(*it));
  }
  return order;
}

void FollowCurrent(CDev& element) {
  CRun* run = element.GetRun();
  CRunDocument* document = element.GetDocument();
  if (run == nullptr || document == nullptr || run->GetCurrentElement() != &element) return;
  document->SetPlacementCursor(element.GetPosition());
  document->SetPlacementFaceMask(element.GetFreeFaceMask());
}

}  // namespace dev_placement
