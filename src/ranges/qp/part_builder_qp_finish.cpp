#include "model/bom/bom_grid.h"
#include "model/element/dev.h"
#include "ranges/qp/part_builder_qp.h"
#include "ranges/qp/run_qp.h"
#include "ranges/range_context.h"

#include "platform/text_conversions.h"

#include <algorithm>
#include <unordered_set>

namespace {

constexpr int kEndWithoutPart = 30025;
constexpr std::int64_t kRiserStretch = 3500;

bool IsRightAngleElbow(const CDev* element) {
  if (element == nullptr || element->GetKind() != CDev::kElbow) return false;
  const std::string angle = element->GetFieldText("ELBOW_ANGL").value_or("");
  return angle.empty() || TextToInt(angle) == 90;
}

CDev* FrontOf(const CDev& element) { return element.GetNeighbour(element.GetDirection()); }

// A riser's first piece of a standard length stays booked as the length it is.
bool KeepsStandardLength(const CDev& piece, int calibre) {
  if (piece.GetVariant() != 1) return false;
  const std::int32_t length = piece.GetBookedLength();
  return length == 2500 || length == 2000 || length == 800 || (length == 1500 && calibre >= 50);
}

}  // namespace

CDev* CPartBuilderQP::TakePending() {
  CDev* pending = m_pending;
  m_pending = nullptr;
  return pending;
}

void CPartBuilderQP::Rebook(CDev& element, const std::string& reference) {
  if (element.GetReference() == reference) return;
  CBOMGrid& bom = GetRun().GetBOM();
  const bool booked = element.GetBooked() != 0;
  if (booked) bom.RemoveRefQuantity(element.GetReference(), 1);
  element.SetReference(reference);
  if (booked) bom.AddRefQuantity(reference, 1);
}

namespace {

void CountMove(std::vector<std::pair<std::string, std::int64_t>>& moves,
               std::unordered_map<std::string, std::size_t>& at, const std::string& reference) {
  const auto [found, added] = at.emplace(reference, moves.size());
  if (added) moves.emplace_back(reference, 0);
  ++moves[found->second].second;
}

}  // namespace

void CPartBuilderQP::RebookAtPassEnd(CDev& element, std::string reference) {
  if (element.GetReference() == reference) return;
  if (element.GetBooked() != 0) {
    CountMove(m_passMoves.removed, m_passMoves.removedAt, element.GetReference());
    CountMove(m_passMoves.added, m_passMoves.addedAt, reference);
  }
  element.SetReference(std::move(reference));
}

// Every old text leaves before any new one arrives: a new text (rating in amperes) is
// never an old one, so the lines end as one move at a time would leave them.
void CPartBuilderQP::ApplyPassMoves() {
  CBOMGrid& bom = GetRun().GetBOM();
  for (const auto& [reference, count] : m_passMoves.removed)
    bom.RemoveRefQuantity(reference, count);
  for (const auto& [reference, count] : m_passMoves.added) bom.AddRefQuantity(reference, count);
  m_passMoves = {};
}

// The element's bill line follows its new variant: the generic text of its kind.
void CPartBuilderQP::SetVariantRebooked(CDev& element, int variant) {
  if (element.GetVariant() == variant) return;
  element.SetVariantBoth(variant);
  Rebook(element, GetRun().GetKindText(element.GetKind(), variant));
}

void CPartBuilderQP::PrepareRiserAtElbow(CDev& element) {
  const std::int32_t limit = m_stepMode != 0 ? 800 : 750;
  CDev* behind = element.GetBackNeighbour();
  if (IsRightAngleElbow(behind) && GetState(*behind) < 2 && element.GetBookedLength() <= limit) {
    SetState(element, kRiserAtElbow);
    SetVariantRebooked(element, 0);
    SetState(*behind, kElbowBehindRiser);
  }
  CDev* front = FrontOf(element);
  if (GetState(element) != kRiserAtElbow && IsRightAngleElbow(front) &&
      front->GetBookedLength() <= limit) {
    SetState(element, kRiserAtElbow);
    SetVariantRebooked(element, 0);
    SetState(*front, kElbowBeforeRiser);
  }
}

// The piece stays where it is; only its bill length is counted under the riser pieces'
// straight type.
void CPartBuilderQP::MoveLengthToIndexOne(const CDev& piece) {
  const int from = piece.GetVariantIndex();
  const std::int64_t length = piece.GetBookedLength();
  if (from == 1 || length == 0) return;
  GetRun().AddLengthToBOM(piece.GetCalibre(), -length, from);
  GetRun().AddLengthToBOM(piece.GetCalibre(), length, 1);
}

void CPartBuilderQP::AddRiserAccessories(const CDev& element) {
  std::int64_t sum = 0;
  std::unordered_set<const CDev*> seen{&element};
  for (const CDev* at = FrontOf(element); at != nullptr && seen.insert(at).second;
       at = FrontOf(*at)) {
    sum += std::max<std::int64_t>(at->GetBookedLength(), 0);
    if (at->GetKind() == CDev::kInLine) break;
  }
  if (sum <= kRiserStretch) return;
  const std::int64_t count = std::min((sum - 1) / kRiserStretch, kMaxRiserAccessories);
  GetRun().AddAccessoryParts(21, static_cast<int>(count), {});
}

// A riser line longer than two standard pieces is cut once more ahead: the piece beyond
// the cut is handed back at the next call. Returns the limit piece of the riser's foot.
std::int32_t CPartBuilderQP::SplitLongRiserLine(CDev& element) {
  std::int32_t limit = 450;
  const CDev* front = FrontOf(element);
  if (front == nullptr || front->GetKind() != CDev::kInLine || m_pending != nullptr) return limit;
  const int face = element.GetDirection();
  std::int64_t counted = front->GetBookedLength();
  if (m_stepMode != 0 && counted < 2900) {
    limit = 400;
    counted += 100;
  }
  if (counted >= 2400 && counted < 2900) {
    m_pending = element.SplitAtLength(face, limit + 1500);
    if (m_pending != nullptr && m_calibre < 50) MoveLengthToIndexOne(*m_pending);
  } else if (counted >= 2900) {
    const bool solid = GetRun().GetPropText("RISER") == "SOL2";
    const bool long4 = counted > (solid ? 3399 : 4300);
    m_pending = element.SplitAtLength(face, limit + (long4 ? 2500 : 2000));
  }
  return limit;
}

int CPartBuilderQP::RiserVariant(const CDev& element) const {
  if (m_upperCase == 0 || m_riserUK == 0) return 1;
  std::unordered_set<const CDev*> seen{&element};
  for (const CDev* at = element.GetBackNeighbour(); at != nullptr && seen.insert(at).second;
       at = at->GetBackNeighbour()) {
    if (at->GetKind() == CDev::kInLine) return 1;
  }
  return 2;
}

CDev* CPartBuilderQP::PrepareElement(CDev& element) {
  const int kind = element.GetKind();
  if (m_upperCase != 0 && kind == CDev::kInLine && element.GetVariant() == 1)
    PrepareRiserAtElbow(element);
  if (kind != CDev::kInLine || element.GetVariant() > 1 || element.GetVariantIndex() != 3)
    return TakePending();
  AddRiserAccessories(element);
  const std::int32_t limit = SplitLongRiserLine(element);
  SetVariantRebooked(element, RiserVariant(element));
  CDev* front = FrontOf(element);
  // A riser piece ahead keeps its length under the riser type only when it is one of the
  // standard riser lengths; any other length is booked as plain line.
  const bool riserPiece = front != nullptr && front->GetKind() == CDev::kInLine &&
                          front->GetVariantIndex() == 3 && !KeepsStandardLength(*front, m_calibre);
  CDev* split = nullptr;
  if (front != nullptr && front->GetBookedLength() > limit)
    split = element.SplitAtLength(element.GetDirection(), limit);
  if (riserPiece) {
    MoveLengthToIndexOne(*front);
    if (split != nullptr && split != front) MoveLengthToIndexOne(*split);
  }
  if (split != nullptr && split != m_pending) return split;
  return TakePending();
}

void CPartBuilderQP::FinishPart(CDev& element, int position) {
  (void)position;
  const int kind = element.GetKind();
  const int variant = element.GetVariant();
  const bool upper = m_upperCase != 0;
  if (kind == CDev::kEnd) {
    if (variant == 1 && upper) {
      if (element.GetBooked() != 0) GetRun().GetBOM().RemoveRefQuantity(element.GetReference(), 1);
      element.SetReference(CRangeContext::Instance().LookupText(kEndWithoutPart));
      element.SetBooked(0);
      element.SetPartRecord(nullptr);
      --m_counterB;
    }
    if (variant == 0 || variant == 1) ++m_counterA;
    const bool tapOff =
        variant == 2 || variant == 3 || variant == 5 || variant == 8 || variant == 9;
    if (tapOff && upper) ++m_counterB;
  }
  if (kind == CDev::kInLineVariant && (variant == 3 || variant == 4) && upper) m_counterB += 2;
  if (m_qp.HasSpringPoint(element)) ++m_counterC;
  if (kind == CDev::kJunction2) m_counterA -= 1;
  if (kind == CDev::kJunction3) m_counterA -= 2;
  if (!upper || kind == CDev::kTapOff || element.GetBooked() == 0) return;
  std::string reference = element.GetReference();
  if (kind == CDev::kInLine && variant == 0 && element.GetVariantIndex() == 3 &&
      reference.size() > 10 && reference.compare(5, 5, "ET4AF") == 0) {
    if (m_stepMode != 0) reference.replace(5, 2, "CM");
    else if (m_calibre == 50 || m_calibre == 80) reference.replace(3, 2, std::to_string(m_calibre));
  }
  m_qp.ExpandRatingInRef(reference);
  if (m_stepMode != 0) {
    CStepPart step = MakeStepPart(reference);
    if (step.named) {
      element.SetPropValue("POS1", step.pos1);
      element.SetPropValue("CF", step.cf);
    }
    reference = std::move(step.reference);
  }
  RebookAtPassEnd(element, std::move(reference));
}

// The accessories that the whole run's counts call for, once the last part is finished.
void CPartBuilderQP::FinishSecondPass() {
  ApplyPassMoves();
  CRun& run = GetRun();
  if (m_counterA < 0) run.AddAccessoryParts(10, -m_counterA, {});
  if (m_counterB < 0) run.AddAccessoryParts(11, -m_counterB, {});
  if (m_counterC > 0) run.AddAccessoryParts(12, m_counterC, {});
  m_counterA = -1;
  m_counterB = 0;
  m_counterC = 0;
}
