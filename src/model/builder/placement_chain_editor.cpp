#include "model/builder/placement_chain_editor.h"

#include "model/element/dev.h"
#include "model/element/element_selection.h"
#include "model/run/run.h"

CDev* CPlacementChainEditor::SplitAtLength(CDev& element, int face, std::int32_t length) {
  CDev* back = element.GetBackNeighbour();
  const std::int32_t stretch = element.GetBookedLength();
  if (back == nullptr || length <= 0 || length >= stretch) return nullptr;
  // Along the direction the length counts from the back neighbour; along the back face
  // from the element itself.
  const std::int32_t fromBack = face == element.GetBackFace() ? stretch - length : length;
  CDev* joint = back->SplitAtLength(element.GetDirection(), fromBack);
  if (joint == nullptr || joint == back || joint == &element || joint->GetKind() != CDev::kJoint)
    return nullptr;
  // A joint inserted here stays active: the next rebuild of the bill of materials takes
  // the active joints out (the builder makes them again) and keeps the user's, which
  // are not active.
  return joint;
}

void CPlacementChainEditor::RemoveFromRun(CDev& element, int face) {
  (void)face;
  if (element.RemoveFromRun(CElementSelection::kWholeElement, nullptr) != 0) return;
  for (int link = 0; link < CDev::kFaceCount; ++link) {
    CDev* other = element.GetNeighbour(link);
    if (other != nullptr && other->GetNeighbour(CDev::OppositeDirection(link)) == &element)
      other->SetNeighbour(CDev::OppositeDirection(link), nullptr);
    element.SetNeighbour(link, nullptr);
  }
  if (CRun* run = element.GetRun()) run->RemoveDevice(&element);
}
