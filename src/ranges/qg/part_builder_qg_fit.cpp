#include "model/chain_editor.h"
#include "model/dev.h"
#include "ranges/qg/part_builder_qg.h"
#include "ranges/qg/run_qg.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <algorithm>

namespace {

bool IsElbowFamily(std::string_view family) {
  return family == "LC" || family == "LP" || family == "FC" || family == "FP";
}

bool IsDoubleFamily(std::string_view family) {
  return family == "ZC" || family == "ZP" || family == "CP";
}

// Whether the family's part carries the lengths of its legs in its name.
bool TakesLegLengths(std::string_view reference) {
  if (reference.size() < 9) return false;
  const std::string family = RefPairAt(reference, 5);
  const char v = reference[8];
  if (IsElbowFamily(family) || family == "TC" || family == "TD") return v != 'A';
  if (IsDoubleFamily(family)) return true;
  if (family == "ER" || family == "EL") return v != '1' && v != '9';
  return false;
}

std::int32_t Clamped(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
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
                                std::string_view reference) {
  CDev& element = *entry.element;
  const CPatternRow row = m_qg.FindPartRow(reference);
  const std::int64_t own = element.GetChainLength(-1, false);
  if (RefPairAt(reference, 8) == "CF") {
    std::int32_t f = -1, l = -1;
    ParseNumberList(row.texts[3], f, l);
    CKitLimits kit;
    if (GetChainEditor().ClampKitcf(element, kit) != 0)
      first = std::max(first, kit.values[0] / 2 + kit.values[2] + kit.values[3]);
    if (f >= 0 && first + own < f) first = Clamped(f - own);
    if (l >= 0 && (last == 0 || last + own > l)) last = Clamped(l - own);
  }
  if (element.GetKind() == CDev::kElbow) KeepElbowClearOfKit(element, first, last, reference);
  std::int32_t lo = -1, total = -1;
  ParseNumberList(row.texts[6], lo, total);
  if (total > 0) {
    const std::int64_t s = IsDoubleFamily(RefPairAt(reference, 5)) ? 0 : own;
    std::int32_t legLo = -1, legHi = -1;
    ParseNumberList(row.texts[1], legLo, legHi);
    if (s != 0 && last + s > total) last = std::max(Clamped(total - s), std::max(legLo, 0));
    if (first > last) first = last;
  }
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

// An elbow's leg reaches past the kit of the made-to-measure unit beside it (variant 0,
// the first neighbour other than the one behind the elbow): its half length, the unit's
// length, the kit's clearance and offset.
void CPartBuilderQG::KeepElbowClearOfKit(CDev& elbow, std::int32_t& first, std::int32_t last,
                                         std::string_view reference) {
  const char family = RefCharAt(reference, 5);
  if (family != 'L' && family != 'F') return;
  const int behind = CDev::OppositeDirection(elbow.GetDirection());
  CDev* unit = nullptr;
  for (int face = 0; face < CDev::kFaceCount && unit == nullptr; ++face)
    if (face != behind) unit = elbow.GetNeighbour(face);
  if (unit == nullptr || unit->GetKind() != CDev::kInLine || unit->GetVariant() != 0) return;
  CKitLimits kit;
  if (GetChainEditor().ClampKitcf(*unit, kit) == 0) return;
  const std::int64_t x =
      kit.values[0] / 2 + unit->GetBookedLength() + std::int64_t{kit.values[2]} + kit.values[3];
  if (x > first && x <= last) first = Clamped(x);
}

std::string CPartBuilderQG::GetPartParameters(const CPlannedPart& part) {
  // The text returned here is booked on the cut; an end piece's own parameters are
  // added to its name when the segment is flushed (MakeParameters).
  (void)part;
  return {};
}

std::string CPartBuilderQG::MakeParameters(const CPlannedPart& part, const CSegmentEntry& entry) {
  const std::string& reference = part.reference;
  CDev& element = *entry.element;
  std::string p;
  if (TakesLegLengths(reference)) {
    std::string values;
    const auto value = [&](int side) -> std::int64_t {
      return side == part.face ? part.length : element.GetChainLength(side, false);
    };
    const auto valid = [](int side) { return side >= 0 && side < CDev::kFaceCount; };
    if (valid(entry.inFace) && value(entry.inFace) != 0)
      values += std::to_string(value(entry.inFace));
    if (valid(entry.branchFace)) values += "," + std::to_string(value(entry.branchFace));
    if (valid(entry.outFace) && value(entry.outFace) != 0)
      values += (values.empty() ? "" : ",") + std::to_string(value(entry.outFace));
    p = "x=" + values;
    if (IsDoubleFamily(RefPairAt(reference, 5))) {
      const CDev* behind = element.GetNeighbour(entry.inFace);
      const std::int64_t back = behind != nullptr ? behind->GetChainLength(-1, false) : 0;
      p = "x=" + std::to_string(back) + "," + values;
    }
    const std::string family = RefPairAt(reference, 5);
    if ((family == "ER" || family == "EL") && RefCharAt(reference, 8) < '9' &&
        element.GetKind() == CDev::kEnd) {
      if (p.size() > 1) p[0] = 'z';
      if (!p.empty()) p += ",";
      p += FormatPartDimensions(element, '?');
    }
  }
  const std::string angle = element.GetFieldText("ELBOW_ANGL").value_or("");
  if (element.GetKind() == CDev::kElbow && !angle.empty() && TextToInt(angle) != 90)
    p += (p.empty() ? "w=" : ",w=") + angle;
  FormatPartCoords(p, entry.legSwap, 'R');
  return p;
}

// The end pieces take their parameter texts, worked out with the leg lengths as planned
// by now; an element that already holds its part (the second of a double elbow) keeps
// its name.
void CPartBuilderQG::FlushPartsToBOM() {
  std::vector<CPlannedPart>& parts = GetPlannedParts();
  for (std::size_t i = parts.size(); i-- > 0;) {
    CPlannedPart& part = parts[i];
    CDev* element = part.element;
    if (part.mode != -1 && !part.reference.empty() && element != nullptr) {
      if (element->GetBooked() != 0 && element->GetReference().starts_with(part.reference)) {
        part.reference.clear();
      } else if (const CSegmentEntry* entry = FindEntry(element)) {
        const std::string text = MakeParameters(part, *entry);
        if (!text.empty()) {
          part.reference.resize(std::max<std::size_t>(part.reference.size(), kRefWidth), ' ');
          part.reference += text;
        }
      }
    }
    ApplyCut(part);
  }
}

const CSegmentEntry* CPartBuilderQG::FindEntry(const CDev* element) const {
  const int index = GetSegmentIndex();
  if (index < 0 || index >= static_cast<int>(GetSegments().size())) return nullptr;
  const CSegment& segment = GetSegments()[static_cast<std::size_t>(index)];
  const auto found =
      std::find_if(segment.begin(), segment.end(),
                   [element](const CSegmentEntry& e) { return e.element == element; });
  return found != segment.end() ? &*found : nullptr;
}
