#include "model/element/chain_editor.h"
#include "model/element/dev.h"
#include "ranges/qg/part_builder_qg.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include <algorithm>

// The length window of an end piece. A piece planned from a segment's first end runs
// along its element's direction, one planned to its last end against it: a kit's offset
// ("KITCF", along its unit's direction) so counts for the first and against the second.

namespace {

bool IsDoubleFamily(std::string_view family) {
  return family == "ZC" || family == "ZP" || family == "CP";
}

std::int32_t Clamped(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

bool IsMadeToMeasureUnit(const CDev* element) {
  return element != nullptr && element->GetKind() == CDev::kInLine && element->GetVariant() == 0;
}

}  // namespace

CAllowance StraightAllowance(int type, int second, int third, int neutral, int housingHeight) {
  switch (type) {
    case 3: return {neutral < 5 ? third + 85 : third + 125, false};
    case 4: return {second + 85, true};
    case 5: return {neutral == 5 ? third + 140 : third + 100, true};
    case 6: return {std::min(housingHeight + third + 130, 480), true};
    case 7:
    case 8: return {std::min(housingHeight + 100, 370), false};
    default: return {0, true};
  }
}

void CPartBuilderQG::AdjustPart(const CSegmentEntry& entry, std::int32_t& first, std::int32_t& last,
                                std::string_view reference, int pass) {
  CDev& element = *entry.element;
  const CPatternRow row = m_qg.FindPartRow(reference);
  const bool later = pass != 0;
  if (RefPairAt(row.texts[0], 8) == "CF") NarrowKitWindow(element, row, first, last, later);
  if (element.GetKind() == CDev::kElbow)
    KeepElbowClearOfKit(element, first, last, reference, later);
  LimitLegTotal(element, row, reference, first, last, later);
  AllowMadeToMeasure(element, first, last);
}

// A kit unit's piece keeps the kit's clearance past its half length and, from the first
// end, makes with the unit a stretch within the row's kit lengths (LEG3).
void CPartBuilderQG::NarrowKitWindow(CDev& unit, const CPatternRow& row, std::int32_t& first,
                                     std::int32_t& last, bool later) {
  std::int32_t f = -1, l = -1;
  ParseNumberList(row.texts[3], f, l);
  CKitLimits kit;
  const bool found = GetChainEditor().ClampKitcf(unit, kit) != 0;
  const std::int64_t k = kit.values[0], v = kit.values[2], c = kit.values[3];
  if (later) {
    if (!found) return;
    first = Clamped(std::max<std::int64_t>(first, k / 2 - c + v));
    if (l >= 0) last = Clamped(std::min<std::int64_t>(last, l - k / 2 - v - c));
    return;
  }
  const std::int64_t own = unit.GetChainLength(-1, false);
  if (found) first = Clamped(std::max<std::int64_t>(first, k / 2 + v + c));
  if (f >= 0 && first + own < f) first = Clamped(f - own);
  if (l >= 0 && (last == 0 || last + own > l)) last = Clamped(l - own);
}

// An elbow's leg reaches past the kit of the made-to-measure unit beside it: ahead of the
// elbow (the first neighbour other than the one behind it) for a piece from the first
// end, behind it for one to the last end.
void CPartBuilderQG::KeepElbowClearOfKit(CDev& elbow, std::int32_t& first, std::int32_t last,
                                         std::string_view reference, bool later) {
  const char family = RefCharAt(reference, 5);
  if (family != 'L' && family != 'F') return;
  CDev* unit = later ? elbow.GetBackNeighbour() : nullptr;
  const int behind = elbow.GetBackFace();
  for (int face = 0; !later && face < CDev::kFaceCount && unit == nullptr; ++face)
    if (face != behind) unit = elbow.GetNeighbour(face);
  CKitLimits kit;
  if (!IsMadeToMeasureUnit(unit) || GetChainEditor().ClampKitcf(*unit, kit) == 0) return;
  const std::int64_t k = kit.values[0], v = kit.values[2], c = kit.values[3];
  const std::int64_t x =
      later ? elbow.GetBookedLength() + k / 2 - c + v : k / 2 + unit->GetBookedLength() + v + c;
  if (x > first && x <= last) first = Clamped(x);
}

// A part whose legs share one longest total (LEG6) leaves its leg the room that the
// lengths around it take: from the first end the element's own chain (a tee also the
// chain of a mounted joint beside it), to the last end the clearance of a kit behind it.
void CPartBuilderQG::LimitLegTotal(CDev& element, const CPatternRow& row,
                                   std::string_view reference, std::int32_t& first,
                                   std::int32_t& last, bool later) {
  std::int32_t lo = -1, total = -1;
  ParseNumberList(row.texts[6], lo, total);
  const std::string family = RefPairAt(reference, 5);
  if (total <= 0 || IsDoubleFamily(family)) return;
  std::int64_t s = 0;
  if (later) {
    s = std::max<std::int64_t>(KitClearanceBehind(element, reference), 0);
  } else {
    s = element.GetChainLength(-1, false);
    if (family == "TC" || family == "TD") s += MountedJointChain(element);
  }
  if (s == 0 || last + s <= total) return;
  std::int32_t legLo = -1, legHi = -1;
  ParseNumberList(row.texts[1], legLo, legHi);
  last = std::max(Clamped(total - s), std::max(legLo, 0));
  if (first > last) first = last;
}

std::int64_t CPartBuilderQG::KitClearanceBehind(const CDev& element, std::string_view reference) {
  CDev* unit = element.GetBackNeighbour();
  CKitLimits kit;
  if (!IsMadeToMeasureUnit(unit) || GetChainEditor().ClampKitcf(*unit, kit) == 0) return 0;
  return KitClearance(*unit, element, false, kit, reference);
}

std::int64_t CPartBuilderQG::MountedJointChain(const CDev& element) const {
  for (int face = 0; face < CDev::kFaceCount; ++face) {
    const CDev* joint = element.GetNeighbour(face);
    if (joint != nullptr && joint->GetKind() == CDev::kJoint && joint->GetActive() > 0)
      return joint->GetChainLength(-1, false);
  }
  return 0;
}

// The room a kit leaves to the element beside its unit, less half the housing's width
// across the turn of `pattern` (positions 4-5 its rating, 7 the turn): the unit's own
// length carries the kit's offset on its first side (the element behind it), the
// element's length on its second.
std::int64_t CPartBuilderQG::KitClearance(const CDev& unit, const CDev& beside, bool firstSide,
                                          const CKitLimits& kit, std::string_view pattern) const {
  const std::string key{RefCharAt(pattern, 3), RefCharAt(pattern, 4)};
  const CReferenceRow row = m_qg.FindReference(key);
  const std::int64_t w = RefCharAt(pattern, 6) == 'C' ? row.Height() : row.Width();
  const std::int64_t k = kit.values[0], c = kit.values[3];
  return firstSide ? unit.GetBookedLength() + c - k / 2 - w / 2
                   : beside.GetBookedLength() - c - k / 2 - w / 2;
}

// A special-shape straight made to measure: its allowance by its type.
void CPartBuilderQG::AllowMadeToMeasure(CDev& element, std::int32_t& first, std::int32_t& last) {
  if (element.GetKind() != CDev::kEnd || first != 0 || last <= 0) return;
  const int variant = element.GetVariant();
  const int sub = CRunQG::SubVariant(element);
  int type = sub + 1;
  if (variant == 3) type = sub + 3;
  if (variant == 2 && sub == 3) type = 7;
  int length = 0, second = 0, third = 0;
  m_qg.GetBarGeometry(length, second, third, &element);
  const CAllowance a =
      StraightAllowance(type, second, third, m_qg.ConductorCount(), m_qg.FindReference().Height());
  if (!a.sRule || second == 0) {
    first = a.allowance + 160;
  } else {
    first = 160;
    last -= a.allowance;
  }
  if (first > last) first = last;
}
