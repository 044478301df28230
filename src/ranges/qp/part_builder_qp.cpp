#include "ranges/qp/part_builder_qp.h"

#include "model/element/dev.h"
#include "model/builder/length_solver.h"
#include "ranges/qp/run_qp.h"
#include "ranges/range_ref_text.h"
#include "ranges/range_rules_support.h"
#include "ranges/range_table_reader.h"

#include "platform/text_conversions.h"
#include "platform/wildcard.h"

#include <algorithm>
#include <unordered_set>

namespace {

constexpr std::int32_t kQPLengthStep = 5;
// The longest piece that a length takes besides the long standard pieces.
constexpr std::int32_t kShortLimit = 2000;

// The device pattern of a straight-line kind, as long as a reference: '?' where the
// pattern (padded with blanks as read) gives no character.
std::string DevicePattern(std::string_view pattern) {
  std::string result(pattern.substr(0, kRefWidth));
  result.erase(result.find_last_not_of(' ') + 1);
  result.resize(kRefWidth, '?');
  return result;
}

}  // namespace

CPartBuilderQP::CPartBuilderQP(CRunQP& run) : CPartBuilder(run), m_qp(run) {
  m_calibre = TextToInt(run.GetPropText("Calibre"));
  m_upperCase = run.IsUpperCase();
  m_a = run.IsA();
  m_riserUK = m_upperCase != 0 && m_a != 0 && CRunQP::ReadRiserUK() != 0 ? 1 : 0;
  m_stepMode = run.GetPropText("QP_STEP") != "0" && m_upperCase != 0 ? 1 : 0;
  // The split definitions are read again by every builder: a rebuild follows the run's
  // rating and step setting as they are now.
  AddSplitDefinitions();
  SetLengthStep(kQPLengthStep);
  const std::string elbows = run.GetPropText("ELBOWS");
  SetPlanningFlag(elbows == "ALL" || elbows == "JCT" ? 1 : 0);
}

void CPartBuilderQP::AddSplitDefinitions() {
  const std::vector<CPatternRow>* parts = m_qp.GetPatternTable();
  const std::vector<CCodeRow>* devices = m_qp.GetCodeTable();
  if (parts == nullptr || devices == nullptr) return;
  for (const CPatternRow& row : *parts) {
    for (auto device = devices->rbegin(); device != devices->rend(); ++device) {
      if (TextToInt(device->texts[0]) != 1) continue;
      std::string reference(kRefWidth, ' ');
      m_qp.FillRefPattern(reference);
      LayRefPattern(reference, row.texts[0]);
      // The pieces carry the rating code of the straight line they are cut from; the
      // families' own places (neutral, length code) are spelled out by the rows.
      m_qp.LayRatingCode(CDev::kStraight, 0, reference, m_calibre);
      if (!MatchWildcard(DevicePattern(device->texts[3]), reference)) continue;
      std::string first = row.texts[1];
      const std::string& list = device->texts[1];
      if (m_stepMode != 0 && TextToInt(list) == 0 && first == "500-1995") first = "500-1900";
      AddPartDef(reference, first, row.texts[2], list);
    }
  }
}

std::int32_t CPartBuilderQP::SplitLength(std::int32_t total,
                                         const std::vector<std::int32_t>& lengths,
                                         std::int32_t minRemainder, std::string& answer) {
  const std::int32_t length = RoundToStep(total);
  std::vector<std::int32_t> list;
  for (std::int32_t entry : lengths) {
    if (entry == 0) break;
    list.push_back(entry);
  }
  // A run repeats the same few lengths: each is solved once per rebuild.
  CSplitKey key{length, minRemainder, list};
  if (const auto known = m_splits.find(key); known != m_splits.end()) {
    answer += known->second.second;
    return known->second.first;
  }
  std::string pieces;
  const std::int32_t rest = SplitStandardLengths(length, list, minRemainder, pieces);
  m_splits.emplace(std::move(key), std::make_pair(rest, pieces));
  answer += pieces;
  return rest;
}

std::int32_t CPartBuilderQP::SplitStandardLengths(std::int32_t length,
                                                  const std::vector<std::int32_t>& list,
                                                  std::int32_t minRemainder, std::string& answer) {
  CLengthSolver solver;
  std::string best;
  std::int32_t bestRest = solver.SolveLengthCombination(length, list, minRemainder, best);
  if (list.empty() || list.front() <= kShortLimit) {
    answer += best;
    return bestRest;
  }
  std::size_t j = 0;
  while (j < list.size() && list[j] > kShortLimit) ++j;
  const auto at = [&list](std::size_t i) { return i < list.size() ? list[i] : 0; };
  if (at(j) == kShortLimit && (at(j + 1) == 800 || (at(j + 1) != 0 && at(j + 2) == 800))) {
    ++j;
    const std::size_t p = at(j) == 800 ? j + 1 : j + 2;
    // Two 800 pieces where a 2000 piece and one more would do are not taken.
    const char eight = static_cast<char>('0' + p);
    if (bestRest == 0 && best.size() >= 2 && best[0] == eight && best[1] == eight) {
      best.clear();
      bestRest = length;
    }
  }
  const std::vector<std::int32_t> longer(list.begin(),
                                         list.begin() + static_cast<std::ptrdiff_t>(j));
  std::size_t bestCount = best.size() + (bestRest != 0 ? 1 : 0);
  for (std::size_t e = j; e <= list.size(); ++e) {
    const std::int32_t piece = e < list.size() ? list[e] : 0;
    if (std::int64_t{length} < std::int64_t{piece} + minRemainder) continue;
    std::string text;
    const std::int32_t rest =
        solver.SolveLengthCombination(length - piece, longer, minRemainder, text);
    const std::size_t count = text.size() + (rest != 0 ? 1 : 0) + (piece != 0 ? 1 : 0);
    if (count < bestCount || (count == bestCount && rest < bestRest)) {
      bestCount = count;
      bestRest = rest;
      // The one shorter piece comes last; the pass without one adds no piece.
      best = piece != 0 ? text + static_cast<char>('1' + e) : text;
    }
  }
  answer += best;
  return bestRest;
}

// A piece from a segment's first end (pass 0) and one to a later end narrow their
// windows apart: only the first end's feed piece reaches over the chain ahead, and an
// elbow beside a riser is fitted from the end it meets the riser at.
void CPartBuilderQP::AdjustPart(const CSegmentEntry& entry, std::int32_t& first, std::int32_t& last,
                                std::string_view reference, int pass) {
  CDev& element = *entry.element;
  const std::string family =
      std::string(reference.substr(std::min<std::size_t>(5, reference.size())));
  if (pass == 0 && (family.starts_with("ET4AF") || family.starts_with("EF4")))
    ReachPastChain(m_qp.FindPartRow(reference), element, last);
  FitElbowBesideRiser(element, first, last, pass);
}

// The elbow behind a riser (state 10) takes the riser ahead of it into its leg from the
// segment's first end; the elbow in front of one (state 11, or 12 once combined) is
// measured by its own length at the segment's last end.
void CPartBuilderQP::FitElbowBesideRiser(const CDev& elbow, std::int32_t& first, std::int32_t& last,
                                         int pass) const {
  if (elbow.GetKind() != CDev::kElbow) return;
  const int state = GetState(elbow);
  if (pass == 0 ? state != kElbowBehindRiser : state < kElbowBeforeRiser) return;
  const CDev* measured = &elbow;
  if (pass == 0) {
    const std::vector<int> faces = elbow.ForwardFaces();
    if (!faces.empty()) measured = elbow.GetNeighbour(faces.front());
  }
  const std::int64_t length = measured->GetBookedLength();
  const std::int64_t floor = m_stepMode != 0 ? 700 : 900;
  first = static_cast<std::int32_t>(
      std::min<std::int64_t>(std::max(length + (m_stepMode != 0 ? 400 : 450), floor), INT32_MAX));
  last = 1200;
}

int CPartBuilderQP::GetJoinKind(const CSegment& segment, int entryIndex) const {
  const int kind = CPartBuilder::GetJoinKind(segment, entryIndex);
  if (kind != 2 || entryIndex < 0 || entryIndex >= static_cast<int>(segment.size())) return kind;
  const std::string family =
      RefPairAt(segment[static_cast<std::size_t>(entryIndex)].element->GetReference(), 5);
  for (std::string_view combined : {"ZP", "ZC", "CP", "DZ", "DM"}) {
    if (family == combined) return 3;
  }
  return kind;
}

int CPartBuilderQP::SelectCandidate(const CSegment& segment, int flag) {
  return ::SelectCandidate(static_cast<int>(segment.size()), flag != 0);
}

int CPartBuilderQP::GetState(const CDev& element) const {
  const auto it = m_states.find(&element);
  return it == m_states.end() ? 0 : it->second;
}

void CPartBuilderQP::SetState(const CDev& element, int state) {
  if (state == 0) m_states.erase(&element);
  else m_states[&element] = state;
}

namespace {

bool IsFeedPoint(const CDev& element) {
  const int variant = element.GetVariant();
  if (element.GetKind() == CDev::kInLineVariant) return variant == 3;
  return element.GetKind() == CDev::kEnd &&
         (variant == 2 || variant == 3 || variant == 5 || variant == 7);
}

}  // namespace

// Each element's answer is kept for the rebuild: the walk back stops at the first
// element already answered, so a long run is walked once, not once per elbow.
int CPartBuilderQP::FindFeedElement(const CDev& element) const {
  if (m_anyFeed < 0) {
    const std::vector<CDev*>& devices = GetRun().GetDevices();
    m_anyFeed =
        std::any_of(devices.begin(), devices.end(), [](const CDev* d) { return IsFeedPoint(*d); })
            ? 1
            : 0;
  }
  // Without a feed point anywhere the answer is 0 whatever lies behind.
  if (m_anyFeed == 0) return 0;
  std::vector<const CDev*> walked;
  std::unordered_set<const CDev*> seen;
  bool behind = false;
  for (const CDev* at = element.GetBackNeighbour(); at != nullptr && seen.insert(at).second;
       at = at->GetBackNeighbour()) {
    if (const auto known = m_feedBehind.find(at); known != m_feedBehind.end()) {
      behind = known->second || IsFeedPoint(*at);
      break;
    }
    if (IsFeedPoint(*at)) {
      behind = true;
      break;
    }
    walked.push_back(at);
  }
  // Everything walked lies in front of the feed point found, or of none.
  for (const CDev* at : walked) m_feedBehind[at] = behind;
  return behind ? 0 : 1;
}
