#pragma once

#include "model/builder/part_builder.h"

#include <string>
#include <string_view>
#include <vector>

class CRunQJF;

// The double-elbow family of two single elbows, the last one's family first ("LB" and
// "LC" give "MC"); "ZZ" for a pair the range does not make.
std::string DoubleElbowFamily(std::string_view last, std::string_view previous);
// Whether the family is one of the double elbows ("MB" ... "NL").
bool IsDoubleElbowFamily(std::string_view family);
// The same double elbow seen from the other side ("MB" and "MC", "NB" and "NG", ...);
// any other family unchanged.
std::string MirrorDoubleElbow(std::string_view family);
// A segment that ends at a tee taking no length of its own (the second planned part, at
// 0) has its straight pieces, the parts after the two ends, moved back by the first end's
// length less the tee's chain length; other segments are left as they are.
void ShiftPiecesBeforeFlushTee(std::vector<CPlannedPart>& parts);

// The part builder of range QJF: feed units by entrax type, elbows by turn, tees and
// flat feed boxes, double elbows from two single ones, straight pieces from the parts
// list, and the finishing of the references (options, earth, feed-box pieces and the
// cable-box accessory).
class CPartBuilderQJF : public CPartBuilder {
 public:
  explicit CPartBuilderQJF(CRunQJF& run);

  void FinishPart(CDev& element, int position) override;
  std::string GetPartReference(const CSegment& segment, int entryIndex, int alternative) override;
  int GetJoinKind(const CSegment& segment, int entryIndex) const override;
  std::string GetPartParameters(const CPlannedPart& part) override;
  // The build asks for a report where a segment of two elbows could not have its ends
  // planned apart: there the two elbows have to be one double elbow, and a pair that
  // makes none is a fault to tell. Elbows far enough apart to stand on their own are no
  // fault, whatever the double elbow's range; other segments keep their straight length
  // whatever their ends.
  int GetElbowReference(const CSegment& segment) override;
  // With the flag clear the candidates alternate between the first and the last; the
  // alternation starts afresh with every builder, so that a rebuild does not depend on
  // the rebuilds before it.
  int SelectCandidate(const CSegment& segment, int flag) override;
  void AdjustPart(const CSegmentEntry& entry, std::int32_t& first, std::int32_t& last,
                  std::string_view reference, int pass) override;
  void FlushPartsToBOM() override;

  // The double elbow of the segment's last two elbows, booked on the last one; with
  // `report`, a length outside the piece's range is told as a design-check message.
  int GetElbowReference(const CSegment& segment, bool report);
  // The reference of one segment entry, as the range builds it.
  std::string GetEntryReference(const CSegmentEntry& entry, bool final);
  // The side flag (bit 12 of the style) of an element; in mode 0 a tee takes it from the
  // element its through line meets first.
  int GetSideFlag(const CDev& element, int mode) const;
  // The parameter text of an entry's piece: lengths of its legs, entrax and angle. A
  // piece made to a length gets its length mark in the reference.
  std::string MakeParameters(const CSegmentEntry& entry, const CPlannedPart* part,
                             std::string& reference) const;
  // The double-elbow reference of two single-elbow references; empty when they make none
  // or the last element's length lies outside the piece's range.
  std::string MakeDoubleElbow(const CSegmentEntry& previous, const CSegmentEntry& last,
                              bool report);

 private:
  void ReadStraightDefinitions();
  void BuildFeedUnitReference(const CSegmentEntry& entry, std::string& buffer);
  void BuildTeeReference(const CSegmentEntry& entry, std::string& buffer);
  const CSegmentEntry* FindEntry(const CDev* element) const;
  void FinishFeedBox(CDev& element);
  void SplitFeedBoxBranch(CDev& element, int face);
  void Rebook(CDev& element, const std::string& reference);
  void ApplyParameters(CPlannedPart& part) const;
  void CopySideFromNeighbour(CDev& added, const CPlannedPart& part) const;
  static bool EndsElbowPair(const CSegment& segment);
  // Whether both ends of the segment got their pieces within its length.
  bool EndsStandApart(const CSegment& segment);
  CRunQJF& m_qjf;
  int m_lastCandidate = 0;
};
