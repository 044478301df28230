#include "model/chain_editor.h"

#include "model/dev.h"
#include "model/run.h"

#include <memory>

namespace {

C3DPoint UnitVector(int direction) {
  switch (direction) {
    case 0: return C3DPoint(-1, 0, 0);
    case 1: return C3DPoint(0, 0, -1);
    case 2: return C3DPoint(0, 1, 0);
    case 3: return C3DPoint(0, -1, 0);
    case 4: return C3DPoint(1, 0, 0);
    case 5: return C3DPoint(0, 0, 1);
    default: return C3DPoint();
  }
}

void Link(CDev& back, int face, CDev& front) {
  back.SetNeighbour(face, &front);
  back.SetFreeFace(face, 0);
  front.SetNeighbour(CBoxOwner::OppositeDirection(face), &back);
  front.SetFreeFace(CBoxOwner::OppositeDirection(face), 0);
}

}  // namespace

CDev* CChainEditor::SplitAtLength(CDev& element, int face, std::int32_t length) {
  CRun* run = element.GetRun();
  const int direction = element.GetDirection();
  const std::int32_t total = element.GetBookedLength();
  if (run == nullptr || direction < 0 || direction > 5 || length <= 0 || length >= total)
    return nullptr;
  // A length along the direction counts from the element's start; along the back face
  // from its far end.
  const std::int32_t kept = face == direction ? length : total - length;
  CDev* beyond = element.GetNeighbour(direction);
  CDev* rest = run->AdoptElement(std::make_unique<CDev>(element));
  rest->SetBookedLength(total - kept);
  rest->SetDrawnLength(total - kept);
  rest->SetPosition(element.GetPosition() + UnitVector(direction) * kept);
  element.SetBookedLength(kept);
  element.SetDrawnLength(kept);
  CDev* joint = run->NewElement();
  joint->SetKind(CDev::kJoint);
  joint->SetActive(0);
  joint->SetDirection(direction);
  joint->SetRotation(element.GetRotation());
  joint->SetCalibre(element.GetCalibre());
  joint->SetPosition(rest->GetPosition());
  joint->SetReference(run->GetKindText(CDev::kJoint, 0));
  Link(element, direction, *joint);
  Link(*joint, direction, *rest);
  if (beyond != nullptr) Link(*rest, direction, *beyond);
  else rest->SetNeighbour(direction, nullptr);
  run->AddDevice(joint);
  run->AddDevice(rest);
  return joint;
}

void CChainEditor::RemoveFromRun(CDev& element, int face) {
  (void)face;
  CRun* run = element.GetRun();
  const int direction = element.GetDirection();
  if (run == nullptr || direction < 0 || direction > 5) return;
  CDev* back = element.GetBackNeighbour();
  CDev* front = element.GetNeighbour(direction);
  element.SetNeighbour(direction, nullptr);
  element.SetNeighbour(element.GetBackFace(), nullptr);
  run->RemoveDevice(&element);
  const int kind = element.GetKind();
  if (kind < CDev::kInLine || kind > CDev::kBend) return;
  // The joined neighbours take the element's length: a joint of length 0 gives none.
  if (back != nullptr && front != nullptr) {
    Link(*back, direction, *front);
  } else if (back != nullptr) {
    back->SetNeighbour(direction, nullptr);
    back->SetFreeFace(direction, 1);
  }
  if (back != nullptr && element.GetBookedLength() > 0) {
    back->SetBookedLength(back->GetBookedLength() + element.GetBookedLength());
    back->SetDrawnLength(back->GetDrawnLength() + element.GetDrawnLength());
  }
  // A joint that cut a straight in two leaves it whole again.
  if (kind == CDev::kJoint && back != nullptr && front != nullptr &&
      back->GetKind() == CDev::kStraight && front->GetKind() == CDev::kStraight &&
      back->GetReference() == front->GetReference()) {
    CDev* beyond = front->GetNeighbour(direction);
    back->SetBookedLength(back->GetBookedLength() + front->GetBookedLength());
    back->SetDrawnLength(back->GetDrawnLength() + front->GetDrawnLength());
    front->SetNeighbour(direction, nullptr);
    front->SetNeighbour(CBoxOwner::OppositeDirection(direction), nullptr);
    if (beyond != nullptr) {
      Link(*back, direction, *beyond);
    } else {
      back->SetNeighbour(direction, nullptr);
      back->SetFreeFace(direction, 1);
    }
    run->RemoveDevice(front);
    run->DeleteElement(front);
  }
}

int CChainEditor::ClampKitcf(CDev& element, CKitLimits& limits) {
  (void)element;
  limits = CKitLimits{};
  return 0;
}
