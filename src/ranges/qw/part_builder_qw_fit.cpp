#include "model/bom/bom_grid.h"
#include "model/element/chain_editor.h"
#include "model/element/dev.h"
#include "model/run/run.h"
#include "ranges/qw/part_builder_qw.h"
#include "ranges/qw/qw_text.h"
#include "ranges/range_ref_text.h"
#include "ranges/qw/run_qw.h"

#include <algorithm>
#include <unordered_set>

using qw::HasAt;

namespace {

constexpr std::int32_t kStraightJointBase = 2000;
constexpr std::int32_t kVariableJointBase = 4000;
constexpr std::int32_t kLeastLeg = 330;
constexpr std::size_t kMaxJoints = 2;

// The extension base of a straight joint: "ET" 2000, "EV" 4000, 0 for any other.
std::int32_t JointBase(const CDev& joint) {
  const std::string& reference = joint.GetReference();
  if (joint.GetKind() != CDev::kJoint || RefCharAt(reference, 9) == '0') return 0;
  if (HasAt(reference, 5, "ET")) return kStraightJointBase;
  if (HasAt(reference, 5, "EV")) return kVariableJointBase;
  return 0;
}

std::int32_t Clamped(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 0, INT32_MAX));
}

// The reference of a joint cut again, for its new chain length.
std::string RecutReference(std::string reference, std::int64_t length) {
  if (HasAt(reference, 5, "EV") && length > 3000) {
    if (length <= 3500) {
      SetRefChar(reference, 9, 'E');
    } else {
      SetRefChar(reference, 8, '4');
      SetRefChar(reference, 9, 'F');
    }
  }
  const std::size_t equals = reference.find('=');
  if (equals == std::string::npos) return reference;
  // The key letter before "=" gives way to "x", which the coordinates turn back.
  const std::size_t key = equals > 0 ? equals - 1 : 0;
  reference = reference.substr(0, key) + "x=" + std::to_string(length);
  FormatPartCoords(reference, 0, ' ');
  return reference;
}

}  // namespace

CSpecialExtension CPartBuilderQW::FindExtension(CDev& element) const {
  CSpecialExtension found;
  const CDev* elbow = nullptr;
  CDev* walk = &element;
  std::unordered_set<const CDev*> seen;
  while (walk != nullptr && seen.insert(walk).second &&
         (walk->GetKind() == CDev::kElbow || walk->GetKind() == CDev::kInLine)) {
    if (walk->GetKind() == CDev::kElbow) elbow = walk;
    walk = walk->GetBackNeighbour();
  }
  if (walk == nullptr || elbow == nullptr) return found;
  const std::int32_t base = JointBase(*walk);
  if (base == 0) return found;
  std::int64_t extension = base - walk->GetChainLength(-1, false);
  found.joints.push_back(walk);
  if (base == kStraightJointBase) {
    CDev* behind = walk->GetBackNeighbour();
    while (behind != nullptr && seen.insert(behind).second && behind->GetKind() == CDev::kInLine)
      behind = behind->GetBackNeighbour();
    if (behind != nullptr && behind->GetKind() == CDev::kJoint &&
        HasAt(behind->GetReference(), 8, "2B")) {
      extension += kStraightJointBase - behind->GetChainLength(-1, false);
      found.joints.push_back(behind);
    }
  }
  extension = std::min<std::int64_t>(extension, elbow->GetChainLength(-1, false) - kLeastLeg);
  found.length = Clamped(extension);
  if (found.length == 0) found.joints.clear();
  return found;
}

std::int32_t CPartBuilderQW::FitPart(CPlannedPart& part, std::int32_t& leftover, std::int32_t min,
                                     std::int32_t max, bool first) {
  const std::int64_t own = part.length;
  if (min > own + leftover || own >= max) return 0;
  std::int64_t taken = std::min<std::int64_t>(own + leftover, max) - own;
  // The first piece leaves the next one at least the least remainder.
  if (first && taken < leftover && leftover - taken < kLeastRemainder)
    taken = std::max<std::int64_t>(std::int64_t{leftover} - kLeastRemainder, 0);
  const std::int32_t length = Clamped(taken);
  SetRemaining(GetRemaining() - length);
  leftover -= length;
  part.length += length;
  part.firstLength += length;
  return length;
}

int CPartBuilderQW::AddElementParts(const CSegment& segment, std::int32_t leftover, int flag) {
  std::vector<CPlannedPart>& parts = GetPlannedParts();
  if (parts.empty() || segment.empty()) return 0;
  const int index = SelectCandidate(segment, flag);
  const CSegmentEntry& candidate = segment[static_cast<std::size_t>(index)];
  CPlannedPart& part = index == 0 ? parts.front() : parts.back();
  if (part.element != candidate.element) return 0;
  const std::string reference = GetPartReference(segment, index, 0);
  const bool special =
      reference.size() > 10 && HasAt(reference, 5, "EF") && RefCharAt(reference, 8) == '2';
  const CPatternRow row = m_qw.FindPartRow(reference);
  std::int32_t min = -1, max = -1;
  const int join = GetJoinKind(segment, index);
  if (!row.texts[0].empty() && join >= 1 && join <= 6)
    ParseNumberList(row.texts[static_cast<std::size_t>(join)], min, max);
  CSpecialExtension extension;
  if (index == 0 && special) extension = FindExtension(*candidate.element);
  max = Clamped(std::int64_t{max} + extension.length);
  const std::int32_t taken =
      row.texts[0].empty() ? 0 : FitPart(part, leftover, std::max(min, 0), max, index == 0);
  if (taken > 0 && !extension.joints.empty()) CutJointsAgain(extension);
  if (leftover == 0) return 1;
  if (flag == 0) return 0;
  const int placed = AddElementParts(segment, leftover, 0);
  // A remainder the first piece could not take grows to the least remainder with what
  // the last piece gives back, down to its least length.
  if (placed == 0 && leftover < kLeastRemainder && min >= 0 && part.length > min) {
    const std::int32_t back = std::min(part.length - min, kLeastRemainder - leftover);
    part.length -= back;
    part.firstLength -= back;
    SetRemaining(GetRemaining() + back);
  }
  return placed;
}

void CPartBuilderQW::CutJointsAgain(const CSpecialExtension& extension) {
  std::vector<CDev*> joints = extension.joints;
  if (joints.size() > kMaxJoints) joints.resize(kMaxJoints);
  std::vector<std::int64_t> chains;
  for (const CDev* joint : joints) chains.push_back(joint->GetChainLength(-1, false));
  for (std::size_t i = 0; i < joints.size(); ++i) {
    CDev& old = *joints[i];
    CDev* back = old.GetBackNeighbour();
    if (back == nullptr) continue;
    CPlannedPart cut;
    cut.element = back;
    cut.face = old.GetDirection();
    cut.length = joints.size() == 2 && i == 0 ? Clamped(std::abs(chains[0] - chains[1]) / 2)
                                              : old.GetBookedLength();
    cut.mode = -1;
    cut.variant = old.GetVariantIndex();
    const std::uint32_t style = old.GetStyle(), style2 = old.GetStyle2();
    const std::string reference = old.GetReference();
    if (old.GetBooked() != 0) GetRun().GetBOM().RemoveRefQuantity(reference, 1);
    old.SetBooked(0);
    GetChainEditor().RemoveFromRun(old, 6);
    GetRun().DeleteElement(&old);
    CDev* joint = ApplyCut(cut);
    if (joint == nullptr) continue;
    joint->SetStyle(style);
    joint->SetStyle2(style2);
    const std::string recut = RecutReference(reference, joint->GetChainLength(-1, false));
    joint->SetReference(recut);
    GetRun().GetBOM().AddRefQuantity(recut, 1);
    joint->SetBooked(1);
  }
}
