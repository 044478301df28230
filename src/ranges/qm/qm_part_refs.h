#pragma once

#include "model/builder/part_builder.h"

#include <cstdint>
#include <string>
#include <unordered_map>

class CDev;
class CRunQM;

// The reference-making half of the QM part builder: the reference of each element of a
// segment (feed and connection units with their rating, breaker and adapter checks,
// elbows alone or combined over two or three segments, tees), the join kinds, the
// parameter texts and the connection-parameter text of connection units. It reports
// through the builder's design-check messages.
//
// References are 22 characters; every write stays inside them.
class CQMPartReferences {
 public:
  CQMPartReferences(CPartBuilder& builder, CRunQM& run);

  // The reference of the entry of the builder's segment; finalPass on the last pass of
  // a build.
  std::string GetPartReference(int segmentIndex, int entryIndex, bool finalPass);
  // The join kind of the entry, from the base kind and the reference.
  int GetJoinKind(const CSegment& segment, int entryIndex, const std::string& reference) const;
  // The parameter text of the part; a proposal face of 0..5 uses the proposal length on
  // that face.
  std::string GetPartParameters(const CSegmentEntry& entry, int proposalFace,
                                std::int64_t proposalLength, const std::string& reference) const;
  // Narrows the cut range of a part: kits by their limits and the parts row, elbows
  // beside a kit by the kit. Mode 0 for the element's own side, else the other.
  void AdjustPart(const CSegmentEntry& entry, const std::string& reference, std::int32_t& minLength,
                  std::int32_t& maxLength, int mode);
  // The connection-parameter text of a connection unit; mode 'C' the cover form.
  std::string FormatPartParams(const CDev& element, char mode) const;

  // Why the breaker of a feed unit cannot feed the run (the lock, or the run's rating
  // followed by the breaker); empty when it can.
  std::string BreakerCheckText(const CDev& element) const;

  // Set on the first elbow or tee of the combined families that the element starts.
  int CombinationFlag(const CDev& element) const;
  bool IsTwinRating() const { return m_twin; }

 private:
  struct CElbowChoice {
    int code = 0;
    const CDev* last = nullptr;  // the last elbow of the combination
  };
  void AdjustKit(CDev& element, const std::string& reference, std::int32_t& minLength,
                 std::int32_t& maxLength, int mode);
  void FeedUnitReference(CDev& element, bool finalPass, std::string& buffer);
  bool FeedUnitChecks(CDev& element, int variant, bool finalPass, std::string& buffer);
  void BreakerCheck(CDev& element, std::string& buffer);
  void InLineChecks(CDev& element, std::string& buffer);
  bool RatingAndNeutralChecks(CDev& element, std::string& buffer);
  void ElbowReference(int segmentIndex, const CSegmentEntry& entry, bool finalPass,
                      std::string& buffer);
  CElbowChoice CombineElbows(int segmentIndex, const CSegmentEntry& entry, int turn) const;
  bool WriteElbowFamily(int code, bool rightAngle, const CDev& element, std::string& buffer);
  bool LegsFit(int segmentIndex, int code, const CElbowChoice& choice, const std::string& buffer);
  int ConnectionAfterElbow(const CDev& last, int code) const;
  void TeeReference(const CSegmentEntry& entry, std::string& buffer);
  void Fail(CDev& element, std::string& buffer, int report, std::string_view text, int a, int b,
            bool wide = false);
  std::string ChainNumbers(const CSegmentEntry& entry, int proposalFace,
                           std::int64_t proposalLength) const;
  std::string ShapeParams(const CDev& element, const std::array<int, 4>& d, char mode) const;
  std::string PlainParams(const CDev& element, const std::array<int, 4>& d, char mode) const;

  CPartBuilder& m_builder;
  CRunQM& m_run;
  bool m_twin = false;
  std::unordered_map<const CDev*, int> m_combination;
};

// Whether an elbow turns at a right angle ("ELBOW_ANGL" absent, empty or 90).
bool IsRightAngle(const CDev& element);
