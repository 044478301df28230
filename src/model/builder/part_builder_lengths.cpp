#include "model/element/dev.h"
#include "model/builder/length_solver.h"
#include "model/builder/part_builder.h"
#include "model/run/run.h"
#include "model/builder/straight_planner.h"

#include <algorithm>

std::int32_t CPartBuilder::SplitLength(std::int32_t total, const std::vector<std::int32_t>& lengths,
                                       std::int32_t minRemainder, std::string& answer) {
  const std::int32_t rounded = RoundToStep(total);
  if (const CLengthSplitMemo::CAnswer* known = m_splitMemo.Find(rounded, lengths, minRemainder)) {
    answer += known->pieces;
    return known->remainder;
  }
  CLengthSolver solver;
  std::string pieces;
  const std::int32_t remainder =
      solver.SolveLengthCombination(rounded, lengths, minRemainder, pieces);
  answer += pieces;
  m_splitMemo.Store(rounded, lengths, minRemainder, {remainder, std::move(pieces)});
  return remainder;
}

int CPartBuilder::PlanStraightLengths(int segmentIndex, int entryIndex) {
  CStraightPlanner planner(*this, segmentIndex, entryIndex);
  return planner.Run();
}

int CPartBuilder::GrowPart(const CSegment& segment, int entryIndex, std::int32_t& leftover) {
  CPlannedPart& part = entryIndex == 0 ? m_parts.front() : m_parts.back();
  const CSegmentEntry& entry = segment[static_cast<std::size_t>(entryIndex)];
  if (part.element != entry.element) return 0;
  const CPatternRow row = m_run.FindPartRow(part.reference);
  if (row.texts[0].empty()) return 0;
  const int join = std::clamp(GetJoinKind(segment, entryIndex), 1, 6);
  std::int32_t min = -1, max = -1;
  ParseNumberList(row.texts[static_cast<std::size_t>(join)], min, max);
  AdjustPart(entry, min, max, part.reference, entryIndex);
  if (max <= part.length) return 0;
  const std::int64_t wanted = std::min<std::int64_t>(std::int64_t{part.length} + leftover, max);
  const std::int32_t grown = std::min(RoundToStep(wanted), max);
  if (grown <= part.length) return 0;
  const std::int32_t taken = grown - part.length;
  part.length = grown;
  m_remaining -= taken;
  leftover -= taken;
  if (!part.parameters.empty()) part.parameters = GetPartParameters(part);
  return 1;
}

int CPartBuilder::AddElementParts(const CSegment& segment, std::int32_t leftover, int flag) {
  if (m_parts.empty()) return 0;
  const int candidate = SelectCandidate(segment, flag);
  if (candidate < 0 || candidate >= static_cast<int>(segment.size())) return 0;
  CPlannedPart& part = candidate == 0 ? m_parts.front() : m_parts.back();
  const CPlannedPart saved = part;
  const std::int32_t savedRemaining = m_remaining;
  GrowPart(segment, candidate, leftover);
  if (leftover <= 0 || leftover < m_lengthStep) return 1;
  if (flag != 0 && AddElementParts(segment, leftover, 0) != 0) return 1;
  // Nothing is half done: the part and the remaining length are as they came in.
  (candidate == 0 ? m_parts.front() : m_parts.back()) = saved;
  m_remaining = savedRemaining;
  return 0;
}
