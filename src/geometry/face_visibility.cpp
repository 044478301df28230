#include "geometry/face_visibility.h"

#include "geometry/3d_projection.h"
#include "geometry/box.h"
#include "geometry/box_owner.h"

namespace {

constexpr double kFacingThreshold = 0.01;

bool HasPassBits(const CBox* box) {
  return box != nullptr && (box->GetPassWord() & CBox::kPassBitsMask) != 0;
}

// Whether the slot box is wider than the body in one of the two extents that lie across
// the slot's direction.
bool WiderAcross(const CBox& box, const CBox& main, int slot) {
  int first = 0, second = 0;
  switch (slot) {
    case 1:
    case 5:
      first = 1;
      second = 2;
      break;
    case 0:
    case 4:
      first = 0;
      second = 2;
      break;
    default:
      first = 1;
      second = 0;
      break;
  }
  return box.GetExtent(first) > main.GetExtent(first) ||
         box.GetExtent(second) > main.GetExtent(second);
}

struct ElementTraits {
  bool joinMain = false;
  bool keep = false;
};

ElementTraits TraitsOf(const CBoxOwner& element) {
  const int kind = element.GetKind();
  const std::uint32_t style = element.GetStyle();
  const std::uint32_t variant = style & 0xFF;
  const std::uint32_t shape = (style >> 20) & 0xF;
  ElementTraits traits;
  traits.joinMain =
      ((kind >= 1 && kind <= 6) || kind == 11) && element.GetBox(CBoxOwner::kBodySlot) != nullptr;
  traits.keep = kind == 0 && (variant == 7 || (variant == 6 && shape < 3));
  return traits;
}

void CloseBodyJoints(CBox& body, const CBoxOwner& element, const ElementTraits& traits) {
  for (int j = 0; j < CBox::kFaceCount; ++j) {
    CBox* slotBox = element.GetBox(j);
    if (slotBox == nullptr || !slotBox->IsListed()) continue;
    if (traits.joinMain) body.ClearFaceBits(j, CBox::kFaceOpen);
    if (!traits.keep && !HasPassBits(&body)) {
      slotBox->ClearFaceBits(CBoxOwner::OppositeDirection(j), CBox::kFaceOpen);
    }
  }
}

void CloseDirectionJoints(CBox& box, int slot, const CBoxOwner& element, ElementTraits traits) {
  CBox* main = element.GetBox(CBoxOwner::kBodySlot);
  if (element.GetKind() == 9 && main != nullptr && WiderAcross(box, *main, slot))
    traits.keep = true;
  box.ClearFaceBits(slot, CBox::kFaceOpen);
  if (!traits.keep && !HasPassBits(main))
    box.ClearFaceBits(CBoxOwner::OppositeDirection(slot), CBox::kFaceOpen);
  if (traits.joinMain) main->ClearFaceBits(slot, CBox::kFaceOpen);
  const CBoxOwner* next = slot == CBoxOwner::OppositeDirection(element.GetDirection())
                              ? &element
                              : element.GetNeighbour(slot);
  if (next != nullptr && next->GetLength() == 0) {
    for (int f = 0; f < CBox::kFaceCount; ++f) box.ClearFaceBits(f, CBox::kFaceOpen);
  }
}

}  // namespace

void UpdateFaceVisibility(const C3DProjection& projection, CBox& box) {
  box.ClearFaceNibbles();
  const C3DPoint view = projection.GetViewDirection();
  const std::array<C3DPoint, CBox::kFaceCount> normals = box.GetCornerNormals();
  for (int f = 0; f < CBox::kFaceCount; ++f) {
    if (DotProduct(view, normals[f]) > kFacingThreshold) {
      box.SetFaceBits(f, CBox::kFaceOpen | CBox::kFaceVisible);
    }
  }
  const CBoxOwner* element = box.GetOwner();
  if (element == nullptr) return;
  const int slot = element->GetBoxSlot(box);
  if (slot < 0 || slot > CBoxOwner::kBodySlot) return;
  const ElementTraits traits = TraitsOf(*element);
  if (slot == CBoxOwner::kBodySlot) {
    CloseBodyJoints(box, *element, traits);
  } else {
    CloseDirectionJoints(box, slot, *element, traits);
  }
}
