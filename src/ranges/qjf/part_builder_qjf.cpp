#include "ranges/qjf/part_builder_qjf.h"

#include "model/element/dev.h"
#include "ranges/qjf/run_qjf.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_rules_support.h"
#include "ranges/range_table_reader.h"

#include "platform/wildcard.h"

#include "platform/text_conversions.h"

#include <unordered_set>

namespace {

constexpr std::uint32_t kSideFlag = 1u << 12;
// Straight pieces made to a length carry '7' at place 10; they are no stock lengths.
constexpr char kMadeToLength = '7';

int StyleSide(const CDev& element) { return (element.GetStyle() & kSideFlag) != 0 ? 1 : 0; }

bool HasThroughPair(const CDev& element, int face) {
  return element.GetNeighbour(face) != nullptr &&
         element.GetNeighbour(CDev::OppositeDirection(face)) != nullptr;
}

// Bits 26-27 of the style equal binary 01 differs from a rotation of 64: the unit is
// turned over, so its left and right connections change places.
bool IsTurnedOver(const CDev& element) {
  const bool mounted = ((element.GetStyle() >> 26) & 3) == 1;
  return mounted != (element.GetRotation() == 64);
}

std::string_view ElbowFamily(int turn, int side) {
  switch (turn) {
    case 1: return "LC";
    case 2: return "LB";
    case 3: return side == 0 ? "LF" : "LE";
    case 4: return side == 0 ? "LE" : "LF";
    default: return {};
  }
}

std::string_view TeeFamily(int turn, int s0, int s1) {
  static constexpr std::string_view kThird[4] = {"TE", "TF", "TC", "TB"};
  static constexpr std::string_view kFourth[4] = {"TC", "TB", "TE", "TF"};
  const int index = (s0 != 0 ? 2 : 0) + (s1 != 0 ? 1 : 0);
  return turn == 3 ? kThird[index] : kFourth[index];
}

}  // namespace

CPartBuilderQJF::CPartBuilderQJF(CRunQJF& run) : CPartBuilder(run), m_qjf(run) {
  ReadStraightDefinitions();
}

void CPartBuilderQJF::ReadStraightDefinitions() {
  const std::vector<CPatternRow>* parts = m_qjf.GetPatternTable();
  const std::vector<CCodeRow>* devices = m_qjf.GetCodeTable();
  if (parts == nullptr || devices == nullptr) return;
  for (const CPatternRow& row : *parts) {
    const std::string& partRef = row.texts[0];
    if (RefCharAt(partRef, 10) == kMadeToLength) continue;
    for (auto device = devices->rbegin(); device != devices->rend(); ++device) {
      if (TextToInt(device->texts[0]) != 1) continue;
      std::string test(kRefWidth, ' ');
      LayRefText(test, 0, device->texts[3]);
      SetRefChar(test, 8, RefCharAt(partRef, 8));
      if (MatchWildcard(partRef, test))
        AddPartDef(partRef, row.texts[1], row.texts[2], device->texts[1]);
    }
  }
}

int CPartBuilderQJF::GetSideFlag(const CDev& element, int mode) const {
  if (mode != 0 || element.GetKind() != CDev::kJunction2) return StyleSide(element);
  int face = 3;
  for (int f = 0; f <= 2; ++f) {
    if (HasThroughPair(element, f)) {
      face = f;
      break;
    }
  }
  const CDev* reached = element.GetNeighbour(face);
  if (reached == nullptr) return 0;
  std::unordered_set<const CDev*> seen{&element, reached};
  for (;;) {
    const int kind = reached->GetKind();
    const CDev* next = reached->GetNeighbour(face);
    if ((kind != CDev::kJunction2 && kind != CDev::kJoint) || next == nullptr ||
        !seen.insert(next).second)
      break;
    reached = next;
  }
  return StyleSide(*reached);
}

std::string CPartBuilderQJF::GetPartReference(const CSegment& segment, int entryIndex,
                                              int alternative) {
  return GetEntryReference(segment.at(static_cast<std::size_t>(entryIndex)), alternative != 0);
}

std::string CPartBuilderQJF::GetEntryReference(const CSegmentEntry& entry, bool final) {
  CDev& element = *entry.element;
  std::string buffer(kRefWidth, ' ');
  if (OverlayOwnRef(entry, buffer) == 0) {
    element.OverlayRefCode(buffer);
    m_qjf.BuildElementPattern(element, buffer);
    const int s0 = GetSideFlag(element, 0);
    const int rating = m_qjf.GetRating();
    // The leg-swap flag belongs to the builder's own segment entry.
    auto& legSwap = const_cast<CSegmentEntry&>(entry).legSwap;
    switch (element.GetKind()) {
      case CDev::kEnd: {
        const int variant = element.GetVariant();
        if (variant == 1 && rating == 18) SetRefChar(buffer, 4, '8');
        if (variant == 2 && rating > 38) FormatPartLabel(&element, 3, {}, 3400, 0);
        if (variant == 3 || variant == 5) BuildFeedUnitReference(entry, buffer);
        if (variant == 4 && rating > 18) FormatPartLabel(&element, 3, {}, 1450, 0);
        break;
      }
      case CDev::kStraight: LayRefText(buffer, 5, "##"); break;
      case CDev::kElbow: {
        const int turn = m_qjf.GetTurnCode(element, entry.outFace, -1, 0);
        LayRefText(buffer, 5, ElbowFamily(turn, s0));
        legSwap = s0;
        SetRefChar(buffer, 8, '1');
        break;
      }
      case CDev::kJunction2: BuildTeeReference(entry, buffer); break;
      case CDev::kJunction3:
      case CDev::kJunction4:
      case CDev::kJunction5: FormatPartLabel(&element, 1, {}, 0, 0); break;
      case CDev::kInLineVariant:
        if (element.GetVariant() == 3 && rating == 14) FormatPartLabel(&element, 3, {}, -1200, 0);
        break;
      case CDev::kJoint: LayRefText(buffer, 5, "__"); break;
      default: break;
    }
  }
  if (final && RefCharAt(buffer, 8) == '1') SetRefChar(buffer, 8, 'X');
  return buffer;
}

void CPartBuilderQJF::BuildFeedUnitReference(const CSegmentEntry& entry, std::string& buffer) {
  CDev& element = *entry.element;
  const int rating = m_qjf.GetRating();
  if (EntraxType(element.GetStyle()) == 0) {
    LayRefText(buffer, 0, "ZZZZZZZZZZZ");
    FormatPartLabel(&element, 2, {}, 0, 0);
  }
  const std::string family = RefPairAt(buffer, 5);
  const bool wide = family == "AD" || family == "AL";
  if (wide && rating > 28) {
    LayRefText(buffer, 0, "ZZZZZZZZZ");
    FormatPartLabel(&element, 3, {}, 2500, 0);
    return;
  }
  if (!wide && family != "AA" && family != "AB" && family != "AC" && family != "AK") {
    LayRefText(buffer, 0, "ZZZZZZZZZ");
    FormatPartLabel(&element, 2, {}, 0, 0);
    return;
  }
  const bool custom =
      !element.GetFieldText("ENTRAX").value_or("").empty() || element.GetVariant() == 5;
  SetRefChar(buffer, 8, custom ? '2' : '1');
  const bool joined = element.GetNeighbour(element.GetDirection()) != nullptr;
  const bool side = GetSideFlag(element, 0) != 0;
  LayRefText(buffer, 9, joined ? (side ? "30" : "20") : (side ? "10" : "40"));
  const bool vertical = element.GetDirection() == 2 || element.GetDirection() == 3;
  if (!vertical && IsTurnedOver(element)) {
    static constexpr std::string_view kFrom = "1234";
    static constexpr std::string_view kTo = "2143";
    const std::size_t at = kFrom.find(RefCharAt(buffer, 9));
    if (at != std::string_view::npos) SetRefChar(buffer, 9, kTo[at]);
  }
  if (rating > 28) SetRefChar(buffer, 10, '5');
  if (family != "AA" && family != "AB") SetRefChar(buffer, 11, '1');
}

void CPartBuilderQJF::BuildTeeReference(const CSegmentEntry& entry, std::string& buffer) {
  CDev& element = *entry.element;
  const int turn = m_qjf.GetTurnCode(element, entry.inFace, entry.branchFace, 0);
  if (turn == 1 || turn == 2) {
    // A flat branch is a feed box, a fixed piece of its own.
    LayRefText(buffer, 9, std::string(12, ' '));
    LayRefText(buffer, 5, "PB");
    SetRefChar(buffer, 8, RefCharAt(buffer, 3));
    SetRefChar(buffer, 4, '6');
    SetRefChar(buffer, 9, '6');
    SetRefChar(buffer, 10, RefCharAt(buffer, 7));
    LayRefText(buffer, 0, "QJ0");
  } else if (turn == 3 || turn == 4) {
    const int s0 = GetSideFlag(element, 0);
    LayRefText(buffer, 5, TeeFamily(turn, s0, GetSideFlag(element, 1)));
    SetRefChar(buffer, 8, 'X');
    if (RefPairAt(buffer, 3) == "14") SetRefChar(buffer, 4, '6');
    const_cast<CSegmentEntry&>(entry).legSwap = s0;
  } else {
    FormatPartLabel(&element, 1, "ZARBI", 0, 0);
  }
}

int CPartBuilderQJF::GetJoinKind(const CSegment& segment, int entryIndex) const {
  const int kind = CPartBuilder::GetJoinKind(segment, entryIndex);
  if (kind != 2 || entryIndex < 0 || entryIndex >= static_cast<int>(segment.size())) return kind;
  const std::string family =
      RefPairAt(segment[static_cast<std::size_t>(entryIndex)].element->GetReference(), 5);
  return IsDoubleElbowFamily(family) ? 3 : kind;
}

int CPartBuilderQJF::SelectCandidate(const CSegment& segment, int flag) {
  const int last = segment.empty() ? 0 : static_cast<int>(segment.size()) - 1;
  if (flag != 0) {
    const std::vector<CPlannedPart>& parts = GetPlannedParts();
    const bool fitted =
        !parts.empty() && parts.front().reference.size() > 20 && parts.front().reference[8] == 'X';
    m_lastCandidate = fitted ? 0 : last;
  } else {
    m_lastCandidate = m_lastCandidate != 0 ? 0 : last;
  }
  return m_lastCandidate;
}

// A piece made to a length reaches over its element's chain from the segment's first end
// (pass 0) only: its longest length is the row's longest piece beyond that chain.
void CPartBuilderQJF::AdjustPart(const CSegmentEntry& entry, std::int32_t& first,
                                 std::int32_t& last, std::string_view reference, int pass) {
  (void)first;
  if (pass != 0 || RefCharAt(reference, 10) != kMadeToLength) return;
  ReachPastChain(m_qjf.FindPartRow(reference), *entry.element, last);
}
