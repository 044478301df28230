#include "model/element/dev.h"
#include "platform/text_conversions.h"
#include "ranges/qw/part_builder_qw.h"
#include "ranges/qw/qw_text.h"
#include "ranges/range_ref_text.h"
#include "ranges/qw/run_qw.h"
#include "ranges/range_table_reader.h"

#include <algorithm>
#include <unordered_set>

namespace {

constexpr std::int32_t kPairLength = 2000;
constexpr std::int32_t kLeastLeg = 330;
constexpr std::uint32_t kElbowBits = 0x00FF0000u;

bool IsFlat(int turn) { return turn == 1 || turn == 2; }
bool IsEdgewise(int turn) { return turn == 3 || turn == 4; }

// The state of the walk over the short legs after an elbow.
struct CPairWalk {
  int turn = 0;      // T
  int flatTurn = 0;  // T1
  std::int64_t p = 0, q = 0, u = 0, v = 0, passed = 0;
  int state = 0;  // sigma
  int count = 0;
  std::int64_t first = 0, second = 0;

  // One elbow of turn t with the leg L before it, at k; true when the walk ends here.
  bool Step(int t, std::int64_t leg, int k);
};

bool CPairWalk::Step(int t, std::int64_t leg, int k) {
  bool stop = false;
  if (IsEdgewise(t) && state != 0) {
    stop = k != 2 || leg > 300 || (t == flatTurn && leg < 200);
    passed += leg;
    turn = 0;
    state = 2;
  } else if (IsEdgewise(t)) {
    stop = t == turn;
    if (IsEdgewise(turn)) {
      q += leg;
      stop = stop || q > 300;
      passed += leg;
      turn = flatTurn;
    } else {
      flatTurn = turn;
      turn = t;
      p += leg;
      passed += leg;
    }
  } else if (IsFlat(t) && IsEdgewise(turn)) {
    q += leg;
    stop = state != 0 || k > 2 || q > 300 || (k == 2 && ((t == flatTurn && p < 200) || p > 300));
    const int old = turn;
    turn = flatTurn == 0 ? t : 0;
    flatTurn = old;
    passed += leg;
    state = 1;
  } else if (IsFlat(t)) {
    const std::int64_t w = p + leg;
    stop = state != 0;
    if (turn == 0) {
      if (u != 0) v += w;
      turn = t;
    } else {
      u += w;
      stop = stop || u > 700;
      turn = 0;
    }
    stop = stop || (t == flatTurn && w < 200);
    flatTurn = t;
    p = 0;
    passed += leg;
  } else {
    passed += leg;
  }
  return stop;
}

}  // namespace

std::string CPartBuilderQW::GetPartReference(const CSegment& segment, int entryIndex,
                                             int alternative) {
  const CSegmentEntry& entry = segment.at(static_cast<std::size_t>(entryIndex));
  CDev& element = *entry.element;
  std::string buffer(kRefWidth, ' ');
  if (OverlayOwnRef(entry, buffer) != 0) {
    if (qw::IsSpecialLength(element.GetReference())) WriteSpecialLengths(element, buffer);
    return buffer;
  }
  element.OverlayRefCode(buffer);
  m_qw.BuildDevicePattern(element, buffer);
  switch (element.GetKind()) {
    case CDev::kStraight: LayRefText(buffer, 5, "##"); break;
    case CDev::kElbow:
      if (alternative != 0 || !WriteElbowPair(entry, buffer))
        WriteStandardElbow(element, entry, buffer);
      break;
    case CDev::kJunction2: {
      const int turn = m_qw.GetTurnCode(element, entry.outFace, -1, 0);
      if (IsFlat(turn)) {
        LayRefText(buffer, 5, "TP");
        LayRefText(buffer, 8, turn == 1 ? "092" : "091");
      } else if (IsEdgewise(turn)) {
        LayRefText(buffer, 5, "TC");
        LayRefText(buffer, 8, "07");
      } else {
        FormatPartLabel(&element, 1, "ZARBI", 0, 0);
      }
      break;
    }
    case CDev::kJunction3:
    case CDev::kJunction4:
    case CDev::kJunction5: FormatPartLabel(&element, 1, {}, 0, 0); break;
    case CDev::kInLineVariant:
      if (element.GetVariant() == 1 && RefCharAt(buffer, 7) == '4') SetRefChar(buffer, 7, '7');
      break;
    case CDev::kJoint: LayRefText(buffer, 5, "__"); break;
    default: break;
  }
  return buffer;
}

// The lengths of a special length after the joint behind its elbows: the elbow nearest
// the joint and the two numbers of the element's own text.
void CPartBuilderQW::WriteSpecialLengths(CDev& element, std::string& buffer) const {
  const CDev* elbow = nullptr;
  const CDev* walk = element.GetBackNeighbour();
  std::unordered_set<const CDev*> seen{&element};
  while (walk != nullptr && seen.insert(walk).second &&
         (walk->GetKind() == CDev::kElbow || walk->GetKind() == CDev::kInLine)) {
    if (walk->GetKind() == CDev::kElbow) elbow = walk;
    walk = walk->GetBackNeighbour();
  }
  if (walk == nullptr || walk->GetKind() != CDev::kJoint || elbow == nullptr) return;
  std::int32_t a = -1, b = -1;
  ParseNumberList(std::string_view(element.GetReference()).substr(10), a, b);
  if (a < 0 || b < 0) return;
  const std::int64_t chain = elbow->GetChainLength(-1, false);
  qw::WriteLengthPair(buffer, chain, std::int64_t{a} + b - chain);
}

void CPartBuilderQW::WriteStandardElbow(CDev& element, const CSegmentEntry& entry,
                                        std::string& buffer) {
  const int turn = m_qw.GetTurnCode(element, entry.outFace, -1, 0);
  const std::string angle = element.GetFieldText("ELBOW_ANGL").value_or("");
  const bool standard = angle.empty() || TextToInt(angle) == 90;
  if (IsFlat(turn) && standard) {
    LayRefText(buffer, 5, "LP");
    LayRefText(buffer, 8, turn == 2 ? "041" : "042");
    element.SetStyle(element.GetStyle() & ~kElbowBits);
  } else if (IsFlat(turn)) {
    LayRefText(buffer, 5, "EF");
    LayRefText(buffer, 8, "10");
    if (RefCharAt(buffer, 7) == '4') SetRefChar(buffer, 7, '7');
    MarkSpecialPiece(element);
  } else if (IsEdgewise(turn)) {
    LayRefText(buffer, 5, "LC");
    LayRefText(buffer, 8, "05");
  }
}

bool CPartBuilderQW::WriteElbowPair(const CSegmentEntry& entry, std::string& buffer) {
  const std::vector<CSegment>& segments = GetSegments();
  const int last = static_cast<int>(segments.size()) - 1;
  int own = -1;
  bool asFirst = false;
  for (int s = std::min(GetSegmentIndex(), last); s >= 0 && own < 0; --s) {
    const CSegment& saved = segments[static_cast<std::size_t>(s)];
    if (saved.empty()) continue;
    if (saved.front().element == entry.element || saved.back().element == entry.element) {
      own = s;
      asFirst = saved.front().element == entry.element;
    }
  }
  if (own < 0 || asFirst || own == last) return false;
  CPairWalk walk;
  walk.turn = m_qw.GetTurnCode(*entry.element, entry.outFace, -1, 0);
  walk.flatTurn = IsFlat(walk.turn) ? walk.turn : 0;
  for (int k = 1; own + k <= last; ++k) {
    const CSegmentEntry& end = segments[static_cast<std::size_t>(own + k)].back();
    const CDev& x = *end.element;
    const std::int64_t leg = x.GetChainLength(-1, false);
    const bool recompute = walk.turn == 0 || (IsFlat(walk.turn) && walk.u + walk.v <= 700) ||
                           (IsEdgewise(walk.turn) && k == 2 && walk.p + 400 <= 700);
    if (k >= 2 && leg >= kLeastLeg && recompute) {
      walk.first = std::max<std::int64_t>(kPairLength - leg - walk.passed, kLeastLeg);
      walk.second = kPairLength - walk.passed - walk.first;
      walk.count = k;
    }
    if (x.GetKind() != CDev::kElbow || walk.state >= 2 || kPairLength - leg - walk.passed < 660)
      break;
    if (walk.Step(m_qw.GetTurnCode(x, end.outFace, -1, 0), leg, k)) break;
  }
  if (walk.count == 0) return false;
  LayRefText(buffer, 5, "EF");
  LayRefText(buffer, 8, "20");
  if (RefCharAt(buffer, 7) == '4') SetRefChar(buffer, 7, '7');
  qw::WriteLengthPair(buffer, walk.first, walk.second);
  entry.element->SetFieldText("EF20nbc", std::to_string(walk.count));
  return true;
}
