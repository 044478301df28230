#include "model/bom/bom_grid.h"
#include "model/element/chain_editor.h"
#include "model/element/dev.h"
#include "ranges/qm/part_builder_qm.h"
#include "ranges/qm/run_qm.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {

constexpr std::int64_t kVariantTwoLength = 1900;
// A kit's fixing stands this far beyond its plug-in point and half its housing.
constexpr std::int64_t kFixingMargin = 400;
// The line a kit leaves free for the run's own fixing ahead of it.
constexpr std::int64_t kFixingStretch = 2000;
// Step 4 counts a kit's first cut as lying this much nearer than the length it needs.
constexpr std::int64_t kElbowLegMargin = 200;
constexpr std::int64_t kMostElbowLegExtra = 499;

bool IsConnectionUnit(const CDev* element) {
  if (element == nullptr || element->GetKind() != CDev::kEnd) return false;
  const int v = element->GetVariant();
  return v == 2 || v == 3 || v == 5 || v == 7 || v == 20;
}

int MountingClass(const CDev& element) { return static_cast<int>(element.GetStyle() & 0xF00); }

}  // namespace

// The kit's variant from its mounting: 2 (on a riser of two runs' height) only where the
// run rises that way, the neighbour is long enough and the run is single.
int CPartBuilderQM::ChooseKitVariant(CDev& element) const {
  const int mounting = MountingClass(element);
  if (m_edStepOff) return 1;
  if (m_qm.GetPropText("RISER") != "SOL2" || mounting != 0x300 || m_twin) return 1;
  const CDev* next = element.GetNeighbour(element.GetDirection());
  if (next != nullptr && next->GetBookedLength() < kVariantTwoLength) return 1;
  return 2;
}

void CPartBuilderQM::SetKitVariant(CDev& element, int variant) {
  if (element.GetVariant() == variant) return;
  element.SetVariantBoth(variant);
  Rebook(element, GetRun().GetKindText(CDev::kInLine, variant));
}

CDev* CPartBuilderQM::PrepareElement(CDev& element) {
  // Support texts are written afresh by this build.
  element.SetPropValue("SUPP", "");
  if (element.GetKind() != CDev::kInLine) return TakePendingSplit();
  const int mounting = MountingClass(element);
  int variant = element.GetVariant();
  if (variant < 2 && (mounting == 0x300 || (mounting == 0x200 && element.GetDirection() == 2)))
    variant = ChooseKitVariant(element);
  std::int64_t needed = -1;
  CDev* split = SplitBesideKit(element, variant, needed);
  SetKitVariant(element, variant);
  const std::int64_t extra =
      split != nullptr ? needed - kElbowLegMargin - element.GetOffset() / 2 : -1;
  CDev* back = element.GetBackNeighbour();
  if (back != nullptr && back->GetKind() == CDev::kElbow)
    CheckKitElbow(element, *back, true, extra >= 0 && extra <= kMostElbowLegExtra ? extra : 0);
  CDev* ahead = element.GetNeighbour(element.GetDirection());
  if (ahead != nullptr && ahead->GetKind() == CDev::kElbow)
    CheckKitElbow(element, *ahead, false, 0);
  return split != nullptr ? split : TakePendingSplit();
}

CDev* CPartBuilderQM::TakePendingSplit() { return std::exchange(m_pendingSplit, nullptr); }

CDev* CPartBuilderQM::SplitAhead(CDev& element, std::int64_t length) {
  CDev* next = element.GetNeighbour(element.GetDirection());
  if (next == nullptr || length <= 0 || length > INT32_MAX) return nullptr;
  return GetChainEditor().SplitAtLength(*next, element.GetDirection(),
                                        static_cast<std::int32_t>(length));
}

// The cuts a kit of variant 1 or 2 needs in the line ahead of it, up to a kit or a unit
// there: the nearer one at the length its fixing needs (`needed`, the reach of its own kit
// for variant 1), the farther one 2 m beyond, where the run's own fixing goes. The
// length available is the line less the reach of a kit ahead, as the cut ranges of kits
// count it: half its length, its offset and its clearance to a cut. Returns the cut made
// at the needed length (for variant 2 its only cut); the farther cut of variant 1 waits.
CDev* CPartBuilderQM::SplitBesideKit(CDev& element, int& variant, std::int64_t& needed) {
  if (variant != 1 && variant != 2) return nullptr;
  const int face = element.GetDirection();
  CDev* next = element.GetNeighbour(face);
  if (next == nullptr || (next->GetKind() != CDev::kInLine && next->GetKind() != CDev::kEnd))
    return nullptr;
  const bool nextIsKit = next->GetKind() == CDev::kInLine;
  needed = std::int64_t{TextToInt(element.GetFieldText("PLUG1").value_or(""))} +
           element.GetOffset() / 2 + kFixingMargin;
  std::int64_t available = next->GetBookedLength();
  CKitLimits limits;
  if (nextIsKit && GetChainEditor().ClampKitcf(*next, limits) != 0)
    available -= std::int64_t{limits.values[0]} / 2 - limits.values[3] + limits.values[2];
  if (variant == 2) {
    if (available < kVariantTwoLength) {
      variant = 1;
      return nullptr;
    }
    if (needed + kFixingStretch <= available) return SplitAhead(element, needed + kFixingStretch);
    return nextIsKit ? SplitAhead(element, available) : nullptr;
  }
  if (GetChainEditor().ClampKitcf(element, limits) != 0)
    needed = std::max<std::int64_t>(
        needed, std::int64_t{limits.values[0]} / 2 + limits.values[3] + limits.values[2]);
  CDev* farther =
      needed + kFixingStretch <= available ? SplitAhead(element, needed + kFixingStretch) : nullptr;
  if (farther != nullptr) m_pendingSplit = farther;
  if (nextIsKit && farther == nullptr && MountingClass(element) == 0x300)
    FormatPartLabel(&element, 19, "", kKitRoomMessage, kKitRoomHintMessage);
  if (!nextIsKit && farther == nullptr) return nullptr;
  return SplitAhead(element, needed);
}

// A kit next to an elbow: the elbow carries it when its leg range leaves room for the
// kit's half width; the kit's clearance to the elbow is checked against its limits.
void CPartBuilderQM::CheckKitElbow(CDev& element, CDev& elbow, bool against, std::int64_t extra) {
  std::string pattern(kRefWidth, ' ');
  m_qm.ApplyRefPattern(elbow, pattern);
  const int face = against ? element.GetBackFace() : element.GetDirection();
  const int turn = m_qm.GetTurnCode(elbow, CDev::OppositeDirection(face), -1, 0);
  if (turn == 1 || turn == 2) {
    LayRefText(pattern, 5, "LP");
    LayRefText(pattern, 8, "D1");
  } else if (turn == 3 || turn == 4) {
    LayRefText(pattern, 5, "LC");
    SetRefChar(pattern, 8, 'D');
  }
  if (!IsRightAngle(elbow)) SetRefChar(pattern, 8, 'C');
  std::int32_t lo = -1, hi = -1;
  ParseNumberList(m_qm.FindPartRow(pattern).texts[2], lo, hi);
  const int width = m_qm.FindReference().Width();
  const std::int64_t distance =
      against ? element.GetBookedLength() + extra : elbow.GetBookedLength();
  if (hi >= 0 && distance + width / 2 + 200 <= hi && element.GetVariant() != 0) {
    SetKitVariant(element, 0);
    if (RefCharAt(pattern, 8) == 'D') elbow.SetFieldText("SURMESURE", against ? "2" : "1");
  }
  CKitLimits kit;
  if (GetChainEditor().ClampKitcf(element, kit) == 0) return;
  const std::string key{RefCharAt(pattern, 3), RefCharAt(pattern, 4)};
  const CReferenceRow row = m_qm.FindReference(key);
  const int w = RefCharAt(pattern, 6) == 'C' ? row.Height() : row.Width();
  const std::int64_t k = kit.values[0], c = kit.values[3];
  const std::int64_t clearance = against ? element.GetBookedLength() + c - k / 2 - w / 2
                                         : elbow.GetBookedLength() - c - k / 2 - w / 2;
  if (clearance < 20) {
    FormatPartLabel(&element, 15, "CF",
                    static_cast<std::int32_t>(std::max<std::int64_t>(clearance, INT32_MIN)),
                    static_cast<std::int32_t>(std::min<std::int64_t>(20 - clearance, INT32_MAX)));
    MarkInError(&element);
  }
}

int CPartBuilderQM::GetElbowReference(const CSegment& segment) {
  if (segment.size() < 2) return 0;
  const CSegmentEntry& first = segment.front();
  const CSegmentEntry& last = segment.back();
  if (last.element->GetKind() == CDev::kElbow) PropagatePartValue(last, GetSegmentIndex());
  int end = 0;
  if (IsConnectionUnit(first.element) && last.element->GetKind() == CDev::kElbow) end = 1;
  if (first.element->GetKind() == CDev::kElbow && IsConnectionUnit(last.element)) end = 2;
  if (end == 0) return AssignPartRef(first.element, last.element, {}, 0);
  const CSegmentEntry& unitEntry = end == 1 ? first : last;
  const CSegmentEntry& elbowEntry = end == 1 ? last : first;
  CDev& unit = *unitEntry.element;
  CDev& elbow = *elbowEntry.element;
  const std::string& elbowCode = elbow.GetReference();
  bool keep = IsRightAngle(elbow) && ((unit.GetStyle() >> 20) & 0xF) != 2;
  if (end == 2)
    keep = keep && elbowCode != GetRun().GetKindText(CDev::kElbow, elbow.GetVariant()) &&
           RefCharAt(elbowCode, 5) == 'L';
  if (end == 1) {
    const std::vector<CPlannedPart>& parts = GetPlannedParts();
    const bool lastIsElbow = !parts.empty() && parts.back().element == &elbow;
    keep = keep && lastIsElbow && RefCharAt(parts.back().reference, 5) == 'L';
  }
  if (!keep) return AssignPartRef(first.element, last.element, {}, 0);
  const int t = m_qm.GetTurnCode(elbow, elbowEntry.inFace, elbowEntry.outFace, 0);
  const int segmentIndex = SegmentIndexOf(segment);
  std::string reference = m_references.GetPartReference(
      segmentIndex, end == 1 ? 0 : static_cast<int>(segment.size()) - 1, true);
  if (t == 1) SetRefChar(reference, 8, '4');
  if (t == 2) SetRefChar(reference, 8, '3');
  if (t == 3 || t == 4) SetRefChar(reference, 8, (t == 3) == (end == 1) ? '5' : '6');
  const CPatternRow row = m_qm.FindPartRow(reference);
  if (!row.texts[0].empty()) {
    std::int32_t lo = -1, hi = -1;
    ParseNumberList(row.texts[1], lo, hi);
    const std::int64_t unitLength = last.element->GetChainLength(-1, false);
    // A unit that stands too far from the elbow is booked on its own: the walk asks
    // without reporting.
    if (unitLength < lo || unitLength > hi) {
      reference.clear();
    } else if (end == 2) {
      ParseNumberList(row.texts[2], lo, hi);
      const std::int64_t elbowLength = elbow.GetChainLength(-1, false);
      if (elbowLength < lo || elbowLength > hi) reference.clear();
    }
  }
  if (end == 2 && !reference.empty()) {
    std::string text = "x=" + std::to_string(unit.GetChainLength(-1, false)) + "," +
                       std::to_string(elbow.GetChainLength(-1, false)) + "," +
                       m_references.FormatPartParams(unit, '?');
    FormatPartCoords(text, 0, ' ');
    reference += text;
  }
  return AssignPartRef(first.element, last.element, reference, 0);
}
