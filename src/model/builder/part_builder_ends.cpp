#include "model/bom/bom_grid.h"
#include "model/element/chain_editor.h"
#include "model/element/dev.h"
#include "model/builder/part_builder.h"
#include "model/run/run.h"

#include <algorithm>
#include <charconv>

namespace {

int WholeNumber(const std::optional<std::string>& text) {
  if (!text) return 0;
  int value = 0;
  std::from_chars(text->data(), text->data() + text->size(), value);
  return value;
}

char CharAt(const std::string& text, std::size_t index) {
  return index < text.size() ? text[index] : '\0';
}

}  // namespace

int CPartBuilder::BuildSegment(int segmentIndex) {
  if (m_backStep != 0 && m_backStep <= segmentIndex) m_backStep = 0;
  const CSegment& segment = m_segments.at(static_cast<std::size_t>(segmentIndex));
  const int lastEntry = static_cast<int>(segment.size()) - 1;
  m_remaining = PostSegmentLengths(segmentIndex, 0);
  m_firstEnd = segment.front().element;
  bool failed = PlanSegmentEnd(segmentIndex, 0) == 0;
  m_lastEnd = segment.back().element;
  failed = PlanSegmentEnd(segmentIndex, lastEntry) == 0 || failed;
  m_endsJoined = false;
  const int elbow = GetElbowReference(segment);
  if (m_endsJoined) failed = false;
  if (m_remaining != 0 && elbow != 0) PlanStraightLengths(segmentIndex, lastEntry);
  if (m_backStep < 0 && m_backStepsTaken < kMaxBackSteps && segmentIndex > 0) {
    UndoSegments(segmentIndex);
  } else {
    if (m_backStep < 0) m_backStep = 0;
    FlushPartsToBOM();
    if (failed) {
      for (CDev* end : {segment.front().element, segment.back().element}) {
        FormatPartLabel(end, 16, {}, 0, 0);
        MarkInError(end);
      }
    }
  }
  m_parts.clear();
  return failed ? 0 : 1;
}

void CPartBuilder::UndoSegments(int segmentIndex) {
  ++m_backStepsTaken;
  ResetStateTable(false);
  // At most every segment before the current one can be undone.
  const int undo = std::min(-m_backStep - 1, segmentIndex);
  for (int k = segmentIndex - 1; k >= segmentIndex - undo; --k) UndoSegment(k);
  PostSegmentLengths(segmentIndex, 1);
  m_segmentIndex = segmentIndex - undo - 1;
  m_backStep = segmentIndex + 1;
}

void CPartBuilder::UndoSegment(int segmentIndex) {
  PostSegmentLengths(segmentIndex, 1);
  const CSegment& segment = m_segments[static_cast<std::size_t>(segmentIndex)];
  CDev* first = segment.front().element;
  CDev* last = segment.back().element;
  // The elements between the two ends, joints inserted by the cuts included.
  std::vector<CDev*> between;
  CDev* walk = segment.front().outElement;
  for (std::size_t guard = 0; walk != nullptr && walk != last && walk != first && guard < 4096;
       ++guard) {
    between.push_back(walk);
    walk = walk->GetNeighbour(walk->GetDirection());
  }
  for (CDev* element : between) ResetPlannedElement(*element);
  for (CDev* end : {first, last}) {
    if (end->GetKind() != CDev::kElbow) continue;
    const std::string& reference = end->GetReference();
    if (CharAt(reference, 5) != 'L' && CharAt(reference, 5) != 'F' && CharAt(reference, 8) != 'A')
      continue;
    const std::string rebuilt = m_run.GetElementRef(CDev::kElbow);
    if (rebuilt.empty()) continue;
    m_run.GetBOM().RemoveRefQuantity(reference, 1);
    end->SetReference(rebuilt);
    m_run.GetBOM().AddRefQuantity(rebuilt, 1);
  }
}

void CPartBuilder::ResetPlannedElement(CDev& element) {
  const int kind = element.GetKind();
  if ((kind == CDev::kJoint || kind == CDev::kAccessory) && element.GetActive() != 0) {
    if (kind == CDev::kAccessory) {
      m_run.RemoveDevice(&element);
    } else {
      GetChainEditor().RemoveFromRun(element, 6);
    }
    m_run.DeleteElement(&element);
    return;
  }
  if (element.GetActive() < 0) element.SetActive(0);
  if (element.GetActive() > 1) {
    element.SetActive(1);
    if (kind == CDev::kInLine) element.SetVariantBoth(1);
  }
  if (kind == CDev::kStraight && element.GetVariant() == 123) element.SetKind(CDev::kJoint);
}

bool CPartBuilder::TryEndRange(int segmentIndex, int entryIndex, const std::string& reference,
                               int custom, std::int32_t& min, std::string& rowReference) {
  const CSegment& segment = m_segments[static_cast<std::size_t>(segmentIndex)];
  const CSegmentEntry& entry = segment[static_cast<std::size_t>(entryIndex)];
  CDev& element = *entry.element;
  CPatternRow row = m_run.FindPartRow(reference);
  rowReference = row.texts[0];
  if (rowReference.empty()) return true;
  const int ownLength =
      element.GetKind() == CDev::kInLineVariant ? WholeNumber(element.GetFieldText("LENGTH")) : 0;
  if (ownLength != 0) {
    row.texts[1] = std::to_string(ownLength / 2);
    row.texts[2] = std::to_string(ownLength - ownLength / 2);
  }
  const int join = std::clamp(GetJoinKind(segment, entryIndex), 1, 6);
  std::int32_t max = -1;
  ParseNumberList(row.texts[static_cast<std::size_t>(join)], min, max);
  AdjustPart(entry, min, max, reference, entryIndex);
  // A tee whose join has no range of its own gives its leg (row text 5) back to the
  // straight length; so does an edgewise elbow at a join of kind 4.
  const bool edgewise =
      join == 4 && element.GetKind() == CDev::kElbow && CharAt(element.GetReference(), 5) == 'L';
  if (edgewise || element.GetKind() == CDev::kJunction2) {
    std::int32_t min2 = -1, max2 = -1;
    ParseNumberList(row.texts[5], min2, max2);
    if (element.GetKind() == CDev::kJunction2 && static_cast<std::int64_t>(min) * max2 < -1) {
      m_remaining = static_cast<std::int32_t>(
          std::clamp<std::int64_t>(std::int64_t{m_remaining} + max2, INT32_MIN, INT32_MAX));
      min = 0;
    }
  }
  min = std::max(min, 0);
  if (min <= m_remaining) {
    // An end with a length of its own (a fixed in-line unit or a custom size) can give
    // a pending shortfall at the other end the length it has.
    const int own = ownLength != 0 ? ownLength : custom;
    if (own != 0) FormatPartLabel(&element, 17, {}, own, 0);
    else ResetStateTable(false);
    return true;
  }
  // The check keeps the length the end needs and the length there is: the missing
  // length is their difference, which the check dialog offers to add.
  const std::int64_t available = std::int64_t{m_remaining} + (custom != 0 ? custom : 0);
  FormatPartLabel(
      &element, custom == 0 ? 13 : 12, element.GetReference(), min,
      static_cast<std::int32_t>(std::clamp<std::int64_t>(available, INT32_MIN, INT32_MAX)));
  return false;
}

int CPartBuilder::PlanSegmentEnd(int segmentIndex, int entryIndex) {
  const CSegment& segment = m_segments.at(static_cast<std::size_t>(segmentIndex));
  const CSegmentEntry& entry = segment.at(static_cast<std::size_t>(entryIndex));
  CDev& element = *entry.element;
  element.RemoveHBv2Props();
  if (element.GetKind() == CDev::kStraight) FormatPartLabel(&element, 0, {}, 0, 0);
  if (element.GetKind() == CDev::kInLineVariant && element.GetVariant() == 0)
    FormatPartLabel(&element, 2, {}, 0, 0);
  const int custom = WholeNumber(element.GetFieldText("SURMESURE"));
  std::string reference = GetPartReference(segment, entryIndex, 0);
  // An end that needs no piece of its own, such as a joint the user placed between two
  // straights: the pieces on either side meet it. It is booked with the segment that
  // ends at it, so at the start of a segment its record books nothing.
  if (reference.size() >= 7 && reference[5] == '_' && reference[6] == '_') {
    CPlannedPart part;
    part.element = &element;
    part.face = entryIndex == 0 ? entry.outFace : entry.inFace;
    if (entryIndex != 0) part.reference = element.GetReference();
    // The joint's straight type is the layout of the length it ends (its outlets): the
    // cut writes the record's mode into it, so the mode is that type, kept as it was.
    part.mode = element.GetVariantIndex();
    part.variant = part.mode;
    m_parts.push_back(std::move(part));
    return 1;
  }
  std::int32_t min = 0;
  std::string rowReference;
  for (int round = 0; round < 2; ++round) {
    if (TryEndRange(segmentIndex, entryIndex, reference, custom, min, rowReference)) break;
    if (round == 0) reference = GetPartReference(segment, entryIndex, 1);
  }
  if (rowReference.empty()) {
    MarkInError(&element);
    FormatPartLabel(&element, 16, {}, 0, 0);
    return 0;
  }
  AddEndPart(segmentIndex, entryIndex, min, rowReference);
  return 1;
}

void CPartBuilder::AddEndPart(int segmentIndex, int entryIndex, std::int32_t min,
                              const std::string& rowReference) {
  const CSegment& segment = m_segments[static_cast<std::size_t>(segmentIndex)];
  const CSegmentEntry& entry = segment[static_cast<std::size_t>(entryIndex)];
  CDev& element = *entry.element;
  const int kind = element.GetKind();
  CPlannedPart part;
  part.element = &element;
  part.length = min;
  part.firstLength = min;
  part.reference = rowReference;
  std::erase(part.reference, '?');
  part.mode = kind == CDev::kInLine && element.GetVariant() == 2 ? 3 : 0;
  const bool first = entryIndex == 0;
  part.variant = first ? part.mode : element.GetVariantIndex();
  if (kind == CDev::kJunction2 || kind == CDev::kJunction3) {
    part.face = first ? (segment.size() > 1 ? segment[1].direction : 6) : entry.backFace;
    part.branch = 1;
  } else {
    part.face = first ? entry.outFace : entry.inFace;
    part.branch = kind == CDev::kElbow ? 1 : 0;
  }
  m_remaining = static_cast<std::int32_t>(std::int64_t{m_remaining} - min);
  if (first || kind == CDev::kEnd) part.parameters = GetPartParameters(part);
  m_parts.push_back(std::move(part));
}
