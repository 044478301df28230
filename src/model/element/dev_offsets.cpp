#include "model/element/dev.h"

#include "geometry/box.h"
#include "model/element/dev_placement_support.h"
#include "platform/text_conversions.h"

#include <unordered_set>

namespace {

std::int32_t WithSignOf(std::int32_t old, std::int32_t value) {
  const std::int32_t magnitude = value < 0 ? -value : value;
  return old < 0 ? -magnitude : magnitude;
}

}  // namespace

void CDev::SetConnectionOffsets(std::int32_t a, std::int32_t b) {
  const bool straight = m_rotation == 16 || m_rotation == 64;
  int first = 0;
  int second = 0;
  std::int32_t v1 = straight ? a : b;
  std::int32_t v2 = straight ? b : a;
  switch (m_direction) {
    case 0:
    case 4:
      first = 1;
      second = 2;
      std::swap(v1, v2);
      break;
    case 1:
    case 5:
      first = 0;
      second = 1;
      break;
    case 2:
    case 3:
      first = 0;
      second = 2;
      break;
    default: return;
  }
  m_frontOffsets[static_cast<std::size_t>(first)] =
      WithSignOf(m_frontOffsets[static_cast<std::size_t>(first)], v1);
  m_frontOffsets[static_cast<std::size_t>(second)] =
      WithSignOf(m_frontOffsets[static_cast<std::size_t>(second)], v2);
}

void CDev::TakeOffsetsFromBackNeighbour() {
  const CDev* back = GetBackNeighbour();
  if (back == nullptr) return;
  const auto& f = back->m_frontOffsets;
  switch (back->GetSideRole(m_direction)) {
    case 0: m_backOffsets = {f[2], f[1], -f[0]}; break;
    case 1: m_backOffsets = {-f[2], f[1], f[0]}; break;
    case 2: m_backOffsets = {f[0], f[2], -f[1]}; break;
    case 3: m_backOffsets = {f[0], -f[2], f[1]}; break;
    case 4: m_backOffsets = f; break;
    case 5: m_backOffsets = {-f[1], f[0], f[2]}; break;
    case 6: m_backOffsets = {f[1], -f[0], f[2]}; break;
    default: break;
  }
  m_frontOffsets = m_backOffsets;
  m_rotation = back->GetEffectiveSideRotation(m_direction);
  m_edited = 1;
}

void CDev::ApplyRatingDimensions(std::int32_t a, std::int32_t b, int mode) {
  SetConnectionOffsets(a, b);
  m_backOffsets = m_frontOffsets;
  m_edited = 1;
  BuildBoxes(0);
  dev_placement::FollowCurrent(*this);
  RemoveOptionsByMode(mode);
  ResetOptionsAlongChain(a, b, 1, mode + 1024);
}

void CDev::FollowNewOffsets(int flags) {
  if (HasMainBox()) BuildBoxes(1);
  CDev* back = GetBackNeighbour();
  if (back != nullptr) PlaceNextTo(back);
  if ((flags & 0x800) != 0) {
    // Fire barriers keep their colour while the run's parts are built.
    const std::uint32_t barrier = ColorOfIndex(13) + 0x8000000u;
    if (CBox* box = GetBox(GetBackFace())) box->SetColor(barrier);
    if (back != nullptr && back->GetBox(m_direction) != nullptr)
      back->GetBox(m_direction)->SetColor(barrier);
    if (m_kind >= kElbow && m_kind <= kJunction5 && HasMainBox())
      GetBox(kBodySlot)->SetColor(barrier);
  }
  dev_placement::FollowCurrent(*this);
}

void CDev::RemoveOptionsByMode(int mode) {
  if (mode == 1 || mode == 4) {
    SetPropValue("DISJ", "");
    SetPropValue("QWA", "");
    if (m_kind == kInLine) SetPropValue("PLUG1", "");
    if (TextToInt(GetPropValue("CAPOT")) >= 16) SetPropValue("CAPOT", "");
  }
  if (mode == 1 || mode == 2 || mode == 4) {
    SetPropValue("EH44", "");
    SetPropValue("ED31", "");
  }
  if (mode == 4 && m_kind == kEnd) {
    SetPropValue("ENTRAX", "");
    SetPropValue("BARS", "");
  }
}

void CDev::ResetOptionsAlongChain(std::int32_t a, std::int32_t b, int first, int flags) {
  // The kind that ends the walk is the call's own: -first, or the start-up kind 0. Kept
  // from one call to the next it would let an earlier, unrelated edit steer this one.
  const int stopKind = first < 0 ? -first : 0;
  CDev* start = this;
  if ((flags & 0x400) == 0) {
    CDev* element = first < 0 ? GetBackNeighbour() : this;
    // A walk that finds no element of the stop kind has no start: nothing changes.
    std::unordered_set<const CDev*> walked;
    while (element != nullptr && element->m_kind != stopKind && walked.insert(element).second) {
      element = element->GetBackNeighbour();
    }
    if (element == nullptr || element->m_kind != stopKind) return;
    start = element;
  }
  start->SetConnectionOffsets(a, b);
  start->m_edited = 1;
  std::vector<CDev*> pending;
  std::unordered_set<const CDev*> seen{start};
  const std::vector<int> startFaces = start->ForwardFaces();
  for (auto it = startFaces.rbegin(); it != startFaces.rend(); ++it)
    pending.push_back(start->GetNeighbour(*it));
  while (!pending.empty()) {
    CDev* element = pending.back();
    pending.pop_back();
    if (!seen.insert(element).second) continue;
    element->TakeOffsetsFromBackNeighbour();
    element->FollowNewOffsets(flags);
    element->RemoveOptionsByMode(flags & 0xFF);
    if (element->m_kind == stopKind) continue;
    const std::vector<int> faces = element->ForwardFaces();
    for (auto it = faces.rbegin(); it != faces.rend(); ++it)
      pending.push_back(element->GetNeighbour(*it));
  }
}
