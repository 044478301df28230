#include "model/bom/bom_grid.h"
#include "model/element/chain_editor.h"
#include "model/element/dev.h"
#include "model/builder/part_builder.h"
#include "model/bom/ref_quantity_batch.h"
#include "model/run/run.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::int32_t kKitWatch = 1000;

int CalibreNumber(const CRun& run) {
  const std::string text = run.GetPropText("Calibre");
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// Least room between a cut and an in-line unit's kit, by range.
std::int32_t KitClearance(const CRun& run) {
  const std::string catalog = run.GetPropText("Catalog");
  const std::string code = catalog.substr(0, std::min<std::size_t>(2, catalog.size()));
  if (code == "QJ") return 600;
  if (code == "QM") return 360;
  if (code == "QG") return 300;
  if (code == "QW") return 280;
  if (code == "QP") return CalibreNumber(run) < 41 ? 180 : 275;
  if (code == "Qp") return CalibreNumber(run) < 26 ? 180 : 275;
  return 32;
}

std::int32_t Clamp32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

void SetVariantIndexBits(CDev& element, int index) {
  element.SetStyle((element.GetStyle() & ~0xF00u) |
                   ((static_cast<std::uint32_t>(index) & 0xFu) << 8));
}

// The element and the straights of variant 0 that follow it along its back face.
void SetVariantIndexAlongBack(CDev& element, int index) {
  SetVariantIndexBits(element, index);
  CDev* next = element.GetBackNeighbour();
  for (int guard = 0; next != nullptr && next->GetKind() == CDev::kInLine &&
                      next->GetVariant() == 0 && guard < 4096;
       ++guard) {
    SetVariantIndexBits(*next, index);
    next = next->GetBackNeighbour();
  }
}

// The in-line units with a kit ahead of a cut along the face, up to kKitWatch away. A
// unit's middle stands at the far end of the stretch it carries: walking along its
// direction the stretch comes before it, against it after it; its kit lies its offset
// ("KITCF") along its direction from there. A unit keeps half its own length, half the
// range's clearance and 15 from the cut; its kit keeps the kit's half length and
// clearance when that asks for more. The first unit too close is told and drawn in error
// (true).
bool KitTooCloseToCut(CPartBuilder& builder, CDev& current, int face, std::int64_t length) {
  const std::int32_t clearance = KitClearance(builder.GetRun());
  // The cut lies in the stretch of `current` (or, stopped at a joint, past it): walking
  // along it, its middle is ahead unless the cut is past it.
  const bool alongCurrent = face == current.GetDirection();
  std::int64_t d = std::int64_t{current.GetBookedLength()} - length;
  CDev* unit = &current;
  if (!alongCurrent || d < 0) {
    unit = current.GetNeighbour(face);
    if (alongCurrent && unit != nullptr) d += unit->GetBookedLength();
  }
  for (int guard = 0; unit != nullptr && d <= kKitWatch && guard < 4096; ++guard) {
    const bool along = face == unit->GetDirection();
    CKitLimits limits;
    if (unit->GetKind() == CDev::kInLine &&
        builder.GetChainEditor().ClampKitcf(*unit, limits) != 0) {
      const auto& [kitLength, margin, kitClearance, offset] = limits.values;
      (void)margin;
      const std::int64_t plain = unit->GetOffset() / 2 + clearance / 2 + 15;
      const std::int64_t byKit =
          kitLength / 2 + std::int64_t{kitClearance} - (along ? offset : -std::int64_t{offset});
      const std::int64_t required = std::max(plain, byKit);
      if (d < required) {
        if (byKit > plain) builder.FormatPartLabel(unit, 15, "CF", Clamp32(required - d), 1);
        else builder.FormatPartLabel(unit, 15, {}, clearance, 0);
        builder.MarkInError(unit);
        return true;
      }
    }
    CDev* next = unit->GetNeighbour(face);
    if (next == nullptr) break;
    d += along ? next->GetBookedLength() : unit->GetBookedLength();
    unit = next;
  }
  return false;
}

}  // namespace

void CPartBuilder::FlushPartsToBOM() {
  // Every booking of a cut would otherwise walk all the records of its reference.
  const CRefQuantityBatch batch(m_run);
  for (std::size_t i = m_parts.size(); i-- > 0;) ApplyCut(m_parts[i]);
}

void CPartBuilder::BookRecordReference(CDev& element, const std::string& reference) {
  m_run.GetBOM().RemoveRefQuantity(element.GetReference(), 1);
  element.SetReference(reference);
  element.SetBooked(1);
  // What the element holds itself needs no count of the line's other holders: a line
  // of a reference that many pieces share is booked at the same cost as any other.
  if (m_run.HeldQuantity(element) > 0) m_run.GetBOM().AddHeldQuantity(reference, 1);
  else m_run.GetBOM().AddRefQuantity(reference, 1);
}

CDev* CPartBuilder::ApplyCut(const CPlannedPart& part) {
  CDev* current = part.element;
  const int face = part.face;
  if (current == nullptr) return nullptr;
  if (face != current->GetBackFace()) current = current->GetNeighbour(face);
  std::int64_t length = part.length;
  for (int guard = 0; current != nullptr && guard < 65536; ++guard) {
    CDev* next = current->GetNeighbour(face);
    if (length <= current->GetBookedLength() || next == nullptr || next->GetKind() != CDev::kInLine)
      break;
    length -= current->GetBookedLength();
    current = next;
  }
  const bool clearanceFault = current != nullptr && KitTooCloseToCut(*this, *current, face, length);
  CDev* joint = nullptr;
  if (part.length == 0 && part.element->GetKind() == CDev::kJoint) {
    // A joint the user placed where the segment ends is the cut itself.
    joint = part.element;
  } else if (current != nullptr && length > 0 && length <= INT32_MAX) {
    joint = GetChainEditor().SplitAtLength(*current, face, static_cast<std::int32_t>(length));
  }
  if (joint != nullptr) {
    if (joint->GetActive() == 0) joint->SetActive(-1);
    if (clearanceFault) MarkInError(joint);
  }
  CDev& element = *part.element;
  if (!part.reference.empty()) BookRecordReference(element, part.reference);
  if (!part.reference.empty() || part.mode == 0) SetVariantIndexAlongBack(element, part.mode);
  if (joint == nullptr) return nullptr;
  const std::string& text = part.parameters;
  if (!text.empty() && text.find("!!", 1) == std::string::npos &&
      text != m_run.GetKindText(CDev::kJoint, 0)) {
    BookRecordReference(*joint, text);
  }
  if (part.face == joint->GetDirection() && part.variant == 0) SetVariantIndexAlongBack(*joint, 0);
  if (part.face == element.GetBackFace()) m_lastEnd = joint;
  else m_firstEnd = joint;
  return joint;
}

int CPartBuilder::AssignPartRef(CDev* first, CDev* second, std::string_view reference, int flag) {
  if (first == nullptr || second == nullptr) return 0;
  if (reference.empty()) {
    if (flag == 0) return 1;
    for (CDev* end : {first, second}) {
      const bool planned = std::any_of(m_parts.begin(), m_parts.end(),
                                       [end](const CPlannedPart& p) { return p.element == end; });
      if (planned) continue;
      MarkInError(end);
      FormatPartLabel(end, 16, {}, 0, 0);
    }
    return 0;
  }
  std::erase_if(m_parts, [&](const CPlannedPart& p) {
    if (p.element != first && p.element != second) return false;
    m_remaining = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t{m_remaining} + p.length, INT32_MIN, INT32_MAX));
    return true;
  });
  m_run.GetBOM().RemoveRefQuantity(first->GetReference(), 1);
  first->SetReference(m_run.GetKindText(first->GetKind(), first->GetVariant()));
  first->SetBooked(0);
  BookRecordReference(*second, std::string(reference));
  if (m_lengthStep != 0) {
    const std::int32_t rounded = RoundToStep(second->GetBookedLength());
    if (rounded != second->GetBookedLength()) {
      if (second->GetDrawnLength() == second->GetBookedLength()) second->SetDrawnLength(rounded);
      second->SetBookedLength(rounded);
    }
  }
  m_remaining = 0;
  m_endsJoined = true;
  second->SetStyle(second->GetStyle() & ~0xF00u);
  m_errorElements.erase(second);
  if (!IsMarkedInError(*first) || first->GetBackNeighbour() == nullptr ||
      !IsMarkedInError(*first->GetBackNeighbour())) {
    m_errorElements.erase(first);
  }
  ResetStateTable(false);
  return 1;
}
