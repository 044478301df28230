#include "model/element/dev.h"
#include "ranges/qp/part_builder_qp.h"
#include "ranges/qp/run_qp.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"

#include <array>

namespace {

constexpr std::string_view kNotOffered = "YENAPAS";
constexpr std::string_view kNoPart = "ZZZZZZZZZZZ";
constexpr std::string_view kSpecialAngle = "ANGLESPECIAL";
constexpr int kFeedJoin = -1;

// An elbow whose angle is given and is not a right angle.
bool HasSpecialAngle(const CDev& element) {
  const std::string angle = element.GetFieldText("ELBOW_ANGL").value_or("");
  return !angle.empty() && TextToInt(angle) != 90;
}

bool IsPlainElbow(const CDev* element) {
  return element != nullptr && element->GetKind() == CDev::kElbow && !HasSpecialAngle(*element);
}

// One row of the combination tables: the last reference's letter (or letters), the
// last turn (0 any), the previous reference's family, the previous turn (0 any, a
// negative value "not that turn"), the code and the join value.
struct CCombinationRow {
  std::string_view last;
  int lastTurn;
  std::string_view previous;
  int previousTurn;
  std::string_view code;
  int join;
};

constexpr std::array<CCombinationRow, 12> kUpperRows{{
    {"F", 0, "DLE", 0, "ZE4A", 0},
    {"F", 0, "DLC", 1, "MBK4A", 1},
    {"F", 0, "DLC", -1, "MCK4A", 1},
    {"E", 0, "DLF", 0, "ZE4A", 1},
    {"E", 0, "DLC", 1, "MBL4A", 1},
    {"E", 0, "DLC", -1, "MCL4A", 1},
    {"C", 2, "DLF", 0, "MBK4A", 0},
    {"C", 2, "DLE", 0, "MBL4A", 0},
    {"C", 2, "DLC", 1, "ZCG4A", kFeedJoin},
    {"C", 1, "DLE", 0, "MCL4A", 0},
    {"C", 1, "DLF", 0, "MCK4A", 0},
    {"C", 1, "DLC", 2, "ZCH4A", kFeedJoin},
}};

constexpr std::array<CCombinationRow, 12> kLowerRows{{
    {"P1", 0, "LP42", 0, "ZP40A", 1},
    {"P1", 0, "LC40", 1, "CP413A", 1},
    {"P1", 0, "LC40", -1, "CP414A", 1},
    {"P2", 0, "LP41", 0, "ZP40A", 0},
    {"P2", 0, "LC40", 1, "CP424A", 1},
    {"P2", 0, "LC40", -1, "CP423A", 1},
    {"C", 2, "LP42", 0, "CP424A", 0},
    {"C", 2, "LP41", 0, "CP413A", 0},
    {"C", 2, "LC40", 1, "ZC41A", kFeedJoin},
    {"C", 1, "LP41", 0, "CP414A", 0},
    {"C", 1, "LP42", 0, "CP423A", 0},
    {"C", 1, "LC40", 2, "ZC42A", kFeedJoin},
}};

bool TurnFits(int wanted, int turn) {
  if (wanted == 0) return true;
  return wanted > 0 ? turn == wanted : turn != -wanted;
}

std::string_view Slice(std::string_view text, std::size_t at, std::size_t count) {
  return at < text.size() ? text.substr(at, count) : std::string_view();
}

}  // namespace

CElbowCombination CombineElbows(bool upperCase, std::string_view last, int lastTurn,
                                std::string_view previous, int previousTurn) {
  std::string key;
  std::string_view previousFamily;
  const std::array<CCombinationRow, 12>* rows = nullptr;
  if (upperCase) {
    if (Slice(last, 5, 2) != "DL") return {};
    key = std::string(1, RefCharAt(last, 7));
    previousFamily = Slice(previous, 5, 3);
    rows = &kUpperRows;
  } else {
    if (RefCharAt(last, 5) != 'L') return {};
    key = RefCharAt(last, 6) == 'P' ? std::string{'P', RefCharAt(last, 8)}
                                    : std::string(1, RefCharAt(last, 6));
    previousFamily = Slice(previous, 5, 4);
    rows = &kLowerRows;
  }
  for (const CCombinationRow& row : *rows) {
    if (row.last == key && TurnFits(row.lastTurn, lastTurn) && row.previous == previousFamily &&
        TurnFits(row.previousTurn, previousTurn)) {
      return {std::string(row.code), row.join};
    }
  }
  return {};
}

std::string CPartBuilderQP::GetPartReference(const CSegment& segment, int entryIndex,
                                             int alternative) {
  (void)alternative;
  return MakeElementReference(segment.at(static_cast<std::size_t>(entryIndex)));
}

std::string CPartBuilderQP::MakeElementReference(const CSegmentEntry& entry) {
  CDev& element = *entry.element;
  std::string buffer(kRefWidth, ' ');
  if (OverlayOwnRef(entry, buffer) != 0) return buffer;
  element.OverlayRefCode(buffer);
  m_qp.CompleteDeviceRef(element, buffer);
  const bool upper = m_upperCase != 0;
  const int variant = element.GetVariant();
  switch (element.GetKind()) {
    case CDev::kEnd:
      if (!upper && Slice(buffer, 3, 5) == "25FA2") SetRefChar(buffer, 7, '3');
      if (upper && variant == 5) {
        const int pol = TextToInt(element.GetFieldText("POL").value_or(""));
        if (pol == 3 || pol == 5) SetRefChar(buffer, 9, '5');
      }
      if (upper && (variant == 8 || variant == 9) && m_calibre > 40) {
        LayRefText(buffer, 0, kNoPart);
        FormatPartLabel(&element, 3, {}, 0, 0);
      }
      break;
    case CDev::kStraight: LayRefText(buffer, 5, "##"); break;
    case CDev::kElbow: MarkElbow(entry, buffer); break;
    case CDev::kJunction2:
    case CDev::kJunction3:
      BuildTeeOrCross(element, m_qp.GetTurnCode(element, entry.inFace, entry.branchFace, 0),
                      buffer);
      break;
    case CDev::kJunction4:
    case CDev::kJunction5: FormatPartLabel(&element, 1, {}, 0, 0); break;
    case CDev::kInLineVariant:
      if (!upper) break;
      if (variant == 4 && m_calibre < 50) {
        LayRefText(buffer, 0, kNoPart);
        FormatPartLabel(&element, 3, {}, 0, 0);
      } else if (variant == 4) {
        const int pol = TextToInt(element.GetFieldText("POL").value_or(""));
        SetRefChar(buffer, 7, static_cast<char>('0' + (pol > 0 && pol < 10 ? pol : 4)));
      } else if (variant == 3 && m_a == 0 && m_calibre < 40) {
        LayRefText(buffer, 0, kNoPart);
        FormatPartLabel(&element, 3, {}, 0, 0);
      }
      break;
    case CDev::kJoint: LayRefText(buffer, 5, "__"); break;
    default: break;
  }
  return buffer;
}

void CPartBuilderQP::BuildTeeOrCross(CDev& element, int turn, std::string& buffer) {
  const bool tee = element.GetKind() == CDev::kJunction2;
  const bool offered = tee ? !(m_upperCase != 0 && m_a == 0) : m_a != 0;
  if (!offered) {
    LayRefText(buffer, 0, kNotOffered);
    FormatPartLabel(&element, 1, {}, 0, 0);
    return;
  }
  if (turn == 1 || turn == 2) {
    const std::string_view family = tee ? "TC40" : "XC40";
    LayRefText(buffer, 5, m_upperCase != 0 ? "D" + std::string(family) : std::string(family));
  } else if (turn == 3 || turn == 4) {
    if (tee) LayRefText(buffer, 0, kNotOffered);
    FormatPartLabel(&element, 1, "PLAT", 0, 0);
  } else {
    FormatPartLabel(&element, 1, "ZARBI", 0, 0);
  }
}

void CPartBuilderQP::MarkElbow(const CSegmentEntry& entry, std::string& buffer) {
  CDev& element = *entry.element;
  const bool upper = m_upperCase != 0;
  const bool special = HasSpecialAngle(element);
  int mark = GetState(element) > 1 ? 1 : 0;
  if (special) mark = 2;
  const int turn = m_qp.GetTurnCode(element, entry.outFace, -1, 0);
  if (turn == 1 || turn == 2) LayRefText(buffer, 5, upper ? "DLC40" : "LC40");
  else if (turn == 3) LayRefText(buffer, 5, upper ? "DLE40" : "LP41");
  else if (turn == 4) LayRefText(buffer, 5, upper ? "DLF40" : "LP42");
  if (m_a != 0 && (turn == 1 || turn == 2)) mark = special ? 2 : 0;
  if (mark == 0) {
    if (m_calibre <= 25 || (upper && m_calibre == 40)) {
      const std::vector<int> faces = element.ForwardFaces();
      const CDev* next = faces.empty() ? nullptr : element.GetNeighbour(faces.front());
      if (IsPlainElbow(next)) {
        const int nextTurn = m_qp.GetTurnCode(*next, next->GetDirection(), -1, 0);
        const std::int32_t length = next->GetBookedLength();
        const bool step = m_stepMode != 0;
        const bool flatPair = (turn == 1 && nextTurn == 2) || (turn == 2 && nextTurn == 1);
        if (flatPair && length >= (step ? 250 : 200) && length <= (step ? 750 : 395))
          SetRefChar(buffer, 9, 'Z');
        if ((nextTurn == 3 || nextTurn == 4) && length >= (step ? 250 : 200) &&
            length <= (step ? 750 : 445))
          SetRefChar(buffer, 9, 'M');
      }
    }
    return;
  }
  FinishElbowMark(buffer, mark, special);
}

void CPartBuilderQP::FinishElbowMark(std::string& buffer, int mark, bool special) const {
  if (m_upperCase != 0) {
    if (Slice(buffer, 5, 2) != "DL" || RefCharAt(buffer, 9) != '0') return;
    if (RefCharAt(buffer, 7) == 'C' && m_calibre <= 40 && special && mark == 1) return;
    if (m_a == 0 && m_stepMode == 0 && m_calibre < 40) LayRefText(buffer, 3, "25");
    SetRefChar(buffer, 9, mark == 1 ? 'A' : 'B');
    return;
  }
  if (m_a == 0 || RefCharAt(buffer, 5) != 'L' || RefCharAt(buffer, 8) != '0') return;
  if (special && RefCharAt(buffer, 6) == 'C' && m_calibre < 40) return;
  SetRefChar(buffer, 9, 'A');
}

// The walk asks for the window check only where the segment's two ends could not be
// planned apart in its length (the length left is negative): there the pair has to be one
// piece, and a pair outside that piece's window is a fault to tell. Elbows far enough
// apart to stand on their own are no fault, whatever the window.
int CPartBuilderQP::GetElbowReference(const CSegment& segment) {
  return GetElbowReference(segment, GetRemaining() < 0);
}

int CPartBuilderQP::GetElbowReference(const CSegment& segment, bool report) {
  if (segment.size() < 2) return 0;
  const CSegmentEntry* last = &segment.back();
  const CSegmentEntry* previous = &segment[segment.size() - 2];
  int riser = 0;
  bool hasRiser = false;
  if (last->element->GetKind() == CDev::kElbow && previous->element->GetKind() == CDev::kInLine &&
      segment.size() == 3 &&
      (GetState(*previous->element) > 1 || previous->element->GetVariant() == 0)) {
    previous = &segment.front();
    hasRiser = true;
    const CDev& first = *previous->element;
    riser = first.GetKind() == CDev::kElbow ? (GetState(first) < 2 ? -1 : 1) : 0;
  }
  // Only two elbows make a combined piece, and only in the A variants: any other pair
  // needs no reference built.
  if (m_a == 0 || last->element->GetKind() != CDev::kElbow ||
      previous->element->GetKind() != CDev::kElbow)
    return AssignPartRef(previous->element, last->element, {}, 0);
  const auto referenceOf = [this](const CSegmentEntry& entry) {
    return HasSpecialAngle(*entry.element) ? std::string(kSpecialAngle)
                                           : MakeElementReference(entry);
  };
  std::string combined = referenceOf(*last);
  const std::string before = referenceOf(*previous);
  const int lastTurn = m_qp.GetTurnCode(*last->element, last->outFace, -1, 0);
  const int previousTurn = m_qp.GetTurnCode(*previous->element, previous->outFace, -1, 0);
  CElbowCombination found =
      CombineElbows(m_upperCase != 0, combined, lastTurn, before, previousTurn);
  if (!found.code.empty()) {
    LayRefText(combined, 6, found.code);
    if (FitsCombinedWindow(*last, combined, riser, hasRiser, report)) {
      const int join = found.join == kFeedJoin ? FindFeedElement(*last->element) : found.join;
      const_cast<CSegmentEntry*>(last)->value = join;
      const_cast<CSegmentEntry*>(previous)->value = join;
      m_joins[last->element] = join;
      m_joins[previous->element] = join;
      // The part that follows the pair is measured with the same join.
      PropagatePartValue(*last, GetSegmentIndex());
      if (hasRiser) SetState(*last->element, kElbowWithRiser);
    } else {
      found.code.clear();
    }
  }
  if (found.code.empty()) combined.clear();
  return AssignPartRef(previous->element, last->element, combined, 0);
}

// The length of the pair's last element must lie in the combined piece's window (the
// riser's window next to a riser); a pair outside it stays two pieces, which the design
// check tells with the window when asked to: elbows far apart are no fault of their own.
bool CPartBuilderQP::FitsCombinedWindow(const CSegmentEntry& last, const std::string& combined,
                                        int riser, bool hasRiser, bool report) {
  const CPatternRow row = m_qp.FindPartRow(combined);
  if (row.texts[0].empty()) return false;
  std::int32_t low = -1, high = -1;
  ParseNumberList(row.texts[1], low, high);
  if (riser == 1) {
    low = m_stepMode != 0 ? 700 : 900;
    high = 1200;
  }
  const std::int64_t length = RoundToStep(hasRiser ? last.element->GetChainLength(-1, false)
                                                   : last.element->GetBookedLength());
  if (length >= low && length <= high) return true;
  if (!report) return false;
  std::string shown = combined;
  shown.erase(shown.find_last_not_of(' ') + 1);
  FormatPartLabel(last.element, 10, shown, low, high);
  return false;
}
